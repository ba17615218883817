#pragma once

#include "calc/NetPay.h"
#include "calc/Premium.h"

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QVariant>

#include <optional>

// The 支給 items of a statement, in whole yen, from its day lines: the
// premium yen of each kind, the adjustment, and the basic pay as the rest,
// so that the items always add up to the statement's 合計.
namespace pelmar::statements {

// What the items read of one stored line (one a save keeps: with a date and
// an amount). Premium values are null on lines worked out before premiums.
struct ItemLine {
    QVariant date; // yyyymmdd
    QVariant hours;
    QVariant wage;
    QVariant adjustment;
    QVariant amount;
    QVariant night, overtime, premium, restDay, over60;
};

struct PayItems {
    pay::Yen basic = 0; // 基本給: the rest of 合計
    pay::Yen overtime = 0; // 時間外手当, the part past 60 hours included
    pay::Yen night = 0; // 深夜手当
    pay::Yen holiday = 0; // 休日手当
    pay::Yen adjustment = 0; // 調整額
    pay::Yen total = 0; // 合計 in whole yen
    int daysWorked = 0; // days with hours, each once
    QDate lastDate; // the last line's date; invalid without lines
    friend bool operator==(const PayItems &, const PayItems &) = default;
};

// Each line's premium yen is split by kind as the rules pay them; when the
// line holds other premium yen than the rules give (it was worked out under
// earlier settings and kept), its own yen are shared out in the same
// proportions, so the split never changes what was paid. A line whose
// premium cannot be split keeps it in the basic pay. Each kind's month sum
// becomes whole yen once (pay::monthYen); nothing when a sum is no number.
std::optional<PayItems> payItems(const QList<ItemLine> &lines, const premium::Rules &rules);

// What the pay of a statement is worked out from: its items, the employee's
// details, the pay date (the tax table) and the last line's date as the
// closing day (the insurance rate: March's work paid in April keeps March's
// rate), the その他 typed and the figures typed over the computed ones.
pay::PayInput payInputOf(const PayItems &items, const pay::PayDetails &details, const QDate &payDate, pay::Yen other,
                         const pay::Deductions &typed);

// A line given as the values of columns::line.
ItemLine itemLineOf(const QVariantList &line);

// The pay worked out for the employee from the items, the way the statement
// page and every other save of a statement work it out.
struct ComputedPay {
    pay::PayInput input;
    pay::PayResult result;
    std::optional<pay::PartsPerMillion> employmentRate; // the rate used, if any
    QDate ruleDate; // the pay date the settings' rule gives the items
};
// `payDate` as typed (an invalid date for one that does not read), or
// nothing for the rule's. Nothing when the settings or the employee's
// details cannot be read: no pay is worked out without them.
std::optional<ComputedPay> computePayOf(const QSqlDatabase &main, const QString &name, const PayItems &items,
                                        const std::optional<QDate> &payDate, pay::Yen other,
                                        const pay::Deductions &typed);

// The stored lines of the statement on the page (w明細's lines with a date
// and an amount); nothing when the table cannot be read.
std::optional<QList<ItemLine>> pageItemLines(const QSqlDatabase &work);

} // namespace pelmar::statements
