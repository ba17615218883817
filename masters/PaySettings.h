#pragma once

#include "calc/Premium.h"

#include <QSqlDatabase>
#include <QString>

#include <optional>

// The pay settings of the 設定・情報 page, kept in the table 設定 of the main
// file as one row per item (項目, 値). An item without a row, or with a value
// that does not read, has its default, so a file from before the settings
// and a file where nobody touched them both pay exactly as before: no
// premium and no rounding. The settings survive the bulk delete.
//
//   項目           値                                          default
//   深夜割増       "1" on, "0" off                             "0"
//   深夜割増率     percent, a decimal number from 0 to 100      "25"
//   時間外割増     "1" on, "0" off                             "0"
//   時間外割増率   percent, a decimal number from 0 to 100      "25"
//   週の開始曜日   1 Monday … 7 Sunday (ISO 8601)               "7"
//   端数処理       "なし", "切り捨て", "四捨五入" or "切り上げ"  "なし"
//   月60時間超割増率 percent, 0 to 100                          "50"
//   法定休日       0 none, 1 Monday … 7 Sunday                  "0"
//   休日割増率     percent, 0 to 100                            "35"
//   最低賃金       yen an hour, 0 for none                      "0"
//   最低賃金適用日 yyyymmdd, empty for any date                 ""
// A new installation starts with 深夜割増 and 時間外割増 on (store/schema).
namespace pelmar::settings {

using PaySettings = premium::Rules;

inline const QString k深夜割増 = QStringLiteral("深夜割増");
inline const QString k深夜割増率 = QStringLiteral("深夜割増率");
inline const QString k時間外割増 = QStringLiteral("時間外割増");
inline const QString k時間外割増率 = QStringLiteral("時間外割増率");
inline const QString k週の開始曜日 = QStringLiteral("週の開始曜日");
inline const QString k端数処理 = QStringLiteral("端数処理");
inline const QString k月60時間超割増率 = QStringLiteral("月60時間超割増率");
inline const QString k法定休日 = QStringLiteral("法定休日");
inline const QString k休日割増率 = QStringLiteral("休日割増率");
inline const QString k最低賃金 = QStringLiteral("最低賃金");
inline const QString k最低賃金適用日 = QStringLiteral("最低賃金適用日");
// The minimum wages the settings accept, in yen an hour.
inline constexpr double kMaxMinimumWage = 100000;

// How the rounding is stored and named on the page: なし, 切り捨て, 四捨五入, 切り上げ.
QString roundingName(premium::Rounding rounding);
std::optional<premium::Rounding> roundingFromName(const QString &name);

// The stored settings; nothing when the table cannot be read.
std::optional<PaySettings> load(const QSqlDatabase &main);

// Stores every item in one transaction; false, with nothing changed, when
// the database refuses or a rate lies outside 0 to 100.
bool save(const QSqlDatabase &main, const PaySettings &settings);

} // namespace pelmar::settings
