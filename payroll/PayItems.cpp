#include "payroll/PayItems.h"

#include "calc/WorkTime.h"
#include "masters/EmployeePayroll.h"
#include "masters/PayrollSettings.h"
#include "masters/ResidentTaxStore.h"
#include "payroll/TableNotice.h"
#include "store/Database.h"
#include "store/Query.h"
#include "store/Tables.h"

#include <QSet>

#include <cmath>

namespace pelmar::statements {

namespace {

double number(const QVariant &value)
{
    bool ok = false;
    const double n = value.toDouble(&ok);
    return ok && std::isfinite(n) ? n : 0;
}

struct KindYen {
    double overtime = 0, night = 0, holiday = 0;
    double sum() const { return overtime + night + holiday; }
};

// The premium yen of each kind the rules give the line.
KindYen byRules(const ItemLine &line, const premium::Rules &rules)
{
    const double wage = number(line.wage);
    KindYen yen;
    if (rules.night)
        yen.night = wage * number(line.night) * rules.nightRate / 100;
    if (rules.overtime) {
        const double over60 = number(line.over60);
        yen.overtime = wage * ((number(line.overtime) - over60) * rules.overtimeRate + over60 * rules.over60Rate) / 100;
    }
    if (rules.restDay != 0)
        yen.holiday = wage * number(line.restDay) * rules.restDayRate / 100;
    return yen;
}

} // namespace

std::optional<PayItems> payItems(const QList<ItemLine> &lines, const premium::Rules &rules)
{
    double total = 0, adjustment = 0;
    KindYen kinds;
    QSet<QString> days;
    PayItems items;
    for (const ItemLine &line : lines) {
        total += number(line.amount);
        adjustment += number(line.adjustment);
        if (number(line.hours) > 0)
            days.insert(line.date.toString());
        if (const auto date = worktime::dateOfEntry(line.date.toString()))
            if (!items.lastDate.isValid() || *date > items.lastDate)
                items.lastDate = *date;
        const double premium = number(line.premium);
        if (premium == 0)
            continue;
        const KindYen ruled = byRules(line, rules);
        const double ruledSum = ruled.sum();
        if (ruledSum <= 0)
            continue; // no kind to give it: it stays in the basic pay
        // Noise below a millionth of a yen is float error, not another rule.
        const double share = std::abs(ruledSum - premium) < 1e-6 ? 1 : premium / ruledSum;
        kinds.overtime += ruled.overtime * share;
        kinds.night += ruled.night * share;
        kinds.holiday += ruled.holiday * share;
    }
    const auto totalYen = pay::monthYen(total);
    const auto adjustmentYen = pay::monthYen(adjustment);
    const auto overtime = pay::monthYen(kinds.overtime);
    const auto night = pay::monthYen(kinds.night);
    const auto holiday = pay::monthYen(kinds.holiday);
    if (!totalYen || !adjustmentYen || !overtime || !night || !holiday)
        return std::nullopt;
    items.total = *totalYen;
    items.adjustment = *adjustmentYen;
    items.overtime = *overtime;
    items.night = *night;
    items.holiday = *holiday;
    items.basic = items.total - items.adjustment - items.overtime - items.night - items.holiday;
    items.daysWorked = int(days.size());
    return items;
}

pay::PayInput payInputOf(const PayItems &items, const pay::PayDetails &details, const QDate &payDate, pay::Yen other,
                         const pay::Deductions &typed)
{
    pay::PayInput input;
    input.payDate = payDate;
    input.closingDate = items.lastDate;
    input.basic = items.basic;
    input.overtime = items.overtime;
    input.night = items.night;
    input.holiday = items.holiday;
    input.adjustment = items.adjustment;
    input.daysWorked = items.daysWorked;
    input.details = details;
    input.other = other;
    input.overrides = typed;
    return input;
}

ItemLine itemLineOf(const QVariantList &v)
{
    // In the order of columns::line: 日付 開始時間 終了時間 休憩 時間 時給 調整額 金額 深夜 時間外 割増額 休日
    // 時間外60超.
    return ItemLine{v.value(0), v.value(4), v.value(5),  v.value(6),  v.value(7),
                    v.value(8), v.value(9), v.value(10), v.value(11), v.value(12)};
}

std::optional<ComputedPay> computePayOf(const QSqlDatabase &main, const QString &name, const PayItems &items,
                                        const std::optional<QDate> &payDate, pay::Yen other,
                                        const pay::Deductions &typed)
{
    const std::optional<settings::PayrollSettings> settings = settings::loadPayroll(main);
    const auto payroll = name.isEmpty() ? std::optional(std::optional<employees::EmployeePayroll>())
                                        : employees::readEmployeePayroll(main, name);
    if (!settings || !payroll)
        return std::nullopt;
    ComputedPay computed;
    computed.ruleDate = settings::payDateFor(settings->payDate, items.lastDate);
    pay::PayDetails details;
    // Without details nobody chose a 税区分: unset, not なし.
    details.column = pay::TaxColumn::Unset;
    if (*payroll)
        details = (*payroll)->details;
    details.business = settings->business;
    const QDate paid = payDate.value_or(computed.ruleDate);
    // The 住民税 of the pay's month when the 年度 has its amounts; the single
    // figure of the details otherwise.
    if (!name.isEmpty() && paid.isValid()) {
        const auto year = employees::readResidentTax(main, name, pay::fiscalYearOf(paid));
        if (!year)
            return std::nullopt;
        if (*year)
            details.residentTax =
                pay::residentTaxOfPay((*year)->year, paid, *payroll ? (*payroll)->left : QDate(), items.lastDate);
    }
    computed.input = payInputOf(items, details, paid, other, typed);
    const auto inEffect = tablesOf(main);
    const pay::PublicTables &tables = inEffect->tables;
    computed.result = pay::computePay(computed.input, tables);
    if (details.employmentInsured && !typed[pay::index(pay::Deduction::EmploymentInsurance)])
        computed.employmentRate = tables.employmentRateFor(
            items.lastDate.isValid() ? items.lastDate : computed.input.payDate, details.business);
    return computed;
}

std::optional<QList<ItemLine>> pageItemLines(const QSqlDatabase &work)
{
    Query query(work);
    if (!query.run(selectSql(tables::w明細, columns::line,
                             QStringLiteral("where 日付 is not null and 金額 is not null order by 日付, 行番号"))))
        return std::nullopt;
    QList<ItemLine> lines;
    while (query.next())
        lines << itemLineOf(query.values(columns::line.size()));
    if (query.failed())
        return std::nullopt;
    return lines;
}

} // namespace pelmar::statements
