#pragma once

#include "calc/PublicTables.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>

#include <optional>

// The payroll settings of the 設定・情報 page, rows of the table 設定 like
// the pay settings; an item without a row, or with a value that does not
// read, has its default.
//
//   項目         値                                              default
//   支給日ルール "当月", "翌月" or "翌々月", then a day "1日"…"31日"  "翌月25日"
//                or "末日"; a day past the month's end is its last day
//   事業の種類   "一般", "農林水産・清酒製造" or "建設"               "一般"
//   明細書式     slips on one A4 page, "1" or "2"                    "1"
namespace pelmar::settings {

inline const QString k支給日ルール = QStringLiteral("支給日ルール");
inline const QString k事業の種類 = QStringLiteral("事業の種類");
inline const QString k明細書式 = QStringLiteral("明細書式");

// When a statement is paid: `monthsAfter` months after the month of its
// last day line (0 the same month), on `day` (31 for the month's last day).
struct PayDateRule {
    int monthsAfter = 1;
    int day = 25;
    friend bool operator==(const PayDateRule &, const PayDateRule &) = default;
};
inline constexpr int kMaxMonthsAfter = 2;

// "翌月25日", "当月末日"; and back, nothing for a text that is no rule.
QString ruleText(const PayDateRule &rule);
std::optional<PayDateRule> ruleFromText(const QString &text);

// The pay date the rule gives a statement whose last line is dated `lastLine`;
// invalid when that date is.
QDate payDateFor(const PayDateRule &rule, const QDate &lastLine);

QString businessName(pay::BusinessKind kind);
std::optional<pay::BusinessKind> businessFromName(const QString &name);

struct PayrollSettings {
    PayDateRule payDate;
    pay::BusinessKind business = pay::BusinessKind::General;
    int slipsPerPage = 1; // 1 or 2
};

// The stored settings; nothing when the table cannot be read.
std::optional<PayrollSettings> loadPayroll(const QSqlDatabase &main);
// Stores the three items in one transaction; false, with nothing changed,
// when the database refuses or a value is out of range.
bool savePayroll(const QSqlDatabase &main, const PayrollSettings &settings);

} // namespace pelmar::settings
