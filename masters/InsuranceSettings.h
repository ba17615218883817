#pragma once

#include "calc/SocialInsurance.h"

#include <QSqlDatabase>
#include <QString>

#include <optional>

// The office's social insurance settings, rows of the table 設定 like the
// payroll settings; an item without a row, or with a value that does not
// read, has its default.
//
//   項目               値                                           default
//   健康保険の保険者   "協会けんぽ" or "健康保険組合"                  "協会けんぽ"
//   協会けんぽ支部     the prefecture, as the rates file names it     none
//   組合健康保険料率   a 健康保険組合's own full rates, percent        none
//   組合介護保険料率
//   組合支援金率
//   社会保険料の徴収   "翌月徴収" or "当月徴収"                        "翌月徴収"
namespace pelmar::settings {

inline const QString k健康保険の保険者 = QStringLiteral("健康保険の保険者");
inline const QString k協会けんぽ支部 = QStringLiteral("協会けんぽ支部");
inline const QString k組合健康保険料率 = QStringLiteral("組合健康保険料率");
inline const QString k組合介護保険料率 = QStringLiteral("組合介護保険料率");
inline const QString k組合支援金率 = QStringLiteral("組合支援金率");
inline const QString k社会保険料の徴収 = QStringLiteral("社会保険料の徴収");

enum class Insurer {
    Kyokai, // 協会けんぽ: rates by its 支部 from the shipped file
    Society, // 健康保険組合: its own rates, typed
};

struct InsuranceSettings {
    Insurer insurer = Insurer::Kyokai;
    QString branch; // 協会けんぽ支部, the prefecture's name; empty until chosen
    std::optional<pay::PartsPerMillion> societyHealth, societyCare, societyChildSupport;
    pay::Collection collection = pay::Collection::NextMonth;

    bool operator==(const InsuranceSettings &) const = default;
};

// A rate as typed or stored, percent with up to four places: "9.85" is
// 98,500 millionths. Nothing for a text that is no such rate, or 100 % or more.
std::optional<pay::PartsPerMillion> rateFromText(const QString &text);
QString rateText(pay::PartsPerMillion rate);

// The stored settings; nothing when the table cannot be read.
std::optional<InsuranceSettings> loadInsurance(const QSqlDatabase &main);
// Stores every item in one transaction; false, with nothing changed, when
// the database refuses.
bool saveInsurance(const QSqlDatabase &main, const InsuranceSettings &settings);

// The rates of a premium month under these settings: 協会けんぽ's by its 支部
// from the shipped file; a 健康保険組合's typed ones, its 支援金 from the
// month the shipped file starts 支援金, and 厚生年金 from the shipped file.
// Nothing when a rate has no figure (no 支部 chosen, a rate not typed, a
// month no shipped figure covers).
std::optional<pay::MonthRates> monthRates(const InsuranceSettings &settings, const pay::SocialTables &tables,
                                          pay::YearMonth month);

} // namespace pelmar::settings
