#include "calc/NetPay.h"

#include "calc/Premium.h"

#include <algorithm>
#include <cmath>

namespace pelmar::pay {

namespace {

constexpr qint64 kMillion = 1'000'000;

// amount × rate in millionths, as whole yen and the remaining millionths of
// a yen (0 to 999,999 for an amount of 0 or more). Split so that no product
// grows past a rate times a million.
struct RateProduct {
    Yen whole = 0;
    qint64 millionths = 0;
};

RateProduct rateProduct(Yen amount, PartsPerMillion rate)
{
    const Yen high = amount / kMillion;
    const Yen low = amount % kMillion;
    const qint64 lowProduct = low * rate;
    return {high * rate + lowProduct / kMillion, lowProduct % kMillion};
}

// The row or anchor figure of one column.
Yen columnFigure(const std::array<Yen, kKouColumns> &kou, Yen otsu, TaxColumn column, int dependants)
{
    return column == TaxColumn::Otsu ? otsu : kou[std::min(dependants, kKouColumns - 1)];
}

Yen tableFigure(const WithholdingTable &table, TaxColumn column, Yen amount, int dependants)
{
    if (amount < table.kouZeroBelow)
        return column == TaxColumn::Otsu ? rateOfDown(amount, table.otsuRateBelow) : 0;
    if (amount < table.anchors.first().amount) {
        const auto row = std::upper_bound(table.rows.cbegin(), table.rows.cend(), amount,
                                          [](Yen a, const WithholdingRow &r) { return a < r.to; });
        return columnFigure(row->kou, row->otsu, column, dependants);
    }
    // The last anchor at or below the amount that has a figure for the column.
    const WithholdingAnchor *anchor = nullptr;
    for (const auto &a : table.anchors) {
        if (a.amount > amount)
            break;
        if (column != TaxColumn::Otsu || a.otsu)
            anchor = &a;
    }
    const bool otsu = column == TaxColumn::Otsu;
    const Yen figure = columnFigure(anchor->kou, anchor->otsu.value_or(0), column, dependants);
    const PartsPerMillion rate = otsu ? anchor->otsuRate.value_or(0) : anchor->kouRate;
    return figure + rateOfDown(amount - anchor->amount, rate);
}

} // namespace

Yen rateOfDown(Yen amount, PartsPerMillion rate)
{
    return rateProduct(amount, rate).whole;
}

Yen withholdingTax(const WithholdingTable &table, TaxColumn column, Yen amount, int dependants)
{
    if (column == TaxColumn::None || column == TaxColumn::Unset || table.rows.isEmpty() || table.anchors.isEmpty())
        return 0;
    amount = std::max<Yen>(amount, 0);
    dependants = std::max(dependants, 0);
    const Yen figure = tableFigure(table, column, amount, dependants);
    if (column == TaxColumn::Otsu || dependants < kKouColumns)
        return figure;
    return std::max<Yen>(0, figure - table.perPersonBeyondSeven * (dependants - (kKouColumns - 1)));
}

Yen employmentInsurancePremium(Yen gross, PartsPerMillion rate)
{
    if (gross <= 0 || rate <= 0)
        return 0;
    const RateProduct product = rateProduct(gross, rate);
    return product.whole + (product.millionths > kMillion / 2 ? 1 : 0);
}

std::optional<Yen> monthYen(double amount)
{
    // Far beyond any pay, and still exact in a double.
    constexpr double kLargest = 1e15;
    const double whole = premium::roundYen(amount, premium::Rounding::HalfUp);
    if (!std::isfinite(whole) || std::abs(whole) > kLargest)
        return std::nullopt;
    return Yen(std::llround(whole));
}

Yen commuteAllowance(const Commute &commute, int daysWorked)
{
    switch (commute.basis) {
    case CommuteBasis::PerDay:
        return commute.amount * std::max(daysWorked, 0);
    case CommuteBasis::PerMonth:
        return commute.amount;
    case CommuteBasis::None:
        break;
    }
    return 0;
}

Yen nonTaxableCommute(Yen allowance, Yen limit)
{
    return std::clamp<Yen>(allowance, 0, std::max<Yen>(limit, 0));
}

namespace {

// A figure typed over the computed one wins; tells whether there was one.
bool takeOverride(const PayInput &input, Deduction which, PayResult &result)
{
    const auto &given = input.overrides[index(which)];
    if (given) {
        result.deductions[index(which)] = *given;
        result.overridden[index(which)] = true;
    }
    return given.has_value();
}

// The deductions the employee's details give as fixed amounts.
void fixedDeductions(const PayInput &input, PayResult &result)
{
    const PayDetails &details = input.details;
    Deductions &d = result.deductions;
    d[index(Deduction::HealthInsurance)] = details.healthInsurance;
    d[index(Deduction::CareInsurance)] = details.careInsurance;
    d[index(Deduction::Pension)] = details.pension;
    d[index(Deduction::ResidentTax)] = details.residentTax;
    for (const Deduction given :
         {Deduction::HealthInsurance, Deduction::CareInsurance, Deduction::Pension, Deduction::ResidentTax})
        takeOverride(input, given, result);
}

void employmentInsurance(const PayInput &input, const PublicTables &tables, PayResult &result)
{
    if (takeOverride(input, Deduction::EmploymentInsurance, result))
        return;
    const PayDetails &details = input.details;
    Deductions &d = result.deductions;
    const QDate rateDate = input.closingDate.isValid() ? input.closingDate : input.payDate;
    if (!details.employmentInsured)
        d[index(Deduction::EmploymentInsurance)] = 0;
    else if (!rateDate.isValid())
        result.employmentInsuranceGap = Gap::NoPayDate;
    else if (const auto rate = tables.employmentRateFor(rateDate, details.business))
        d[index(Deduction::EmploymentInsurance)] = employmentInsurancePremium(result.gross, *rate);
    else
        result.employmentInsuranceGap = Gap::NoInsuranceRate;
}

// The social insurance and the taxable pay, once every premium is known.
void taxablePay(PayResult &result)
{
    const Deductions &d = result.deductions;
    if (const auto employment = d[index(Deduction::EmploymentInsurance)]) {
        result.socialInsurance = *d[index(Deduction::HealthInsurance)] + *d[index(Deduction::CareInsurance)]
            + *d[index(Deduction::Pension)] + *employment;
        result.taxable = result.gross - result.nonTaxableCommute - *result.socialInsurance;
    }
}

void incomeTax(const PayInput &input, const PublicTables &tables, PayResult &result)
{
    if (takeOverride(input, Deduction::IncomeTax, result))
        return;
    const PayDetails &details = input.details;
    Deductions &d = result.deductions;
    const WithholdingTable *table = tables.withholdingFor(input.payDate);
    if (details.column == TaxColumn::None || details.column == TaxColumn::Unset)
        d[index(Deduction::IncomeTax)] = 0;
    else if (!input.payDate.isValid())
        result.incomeTaxGap = Gap::NoPayDate;
    else if (!table)
        result.incomeTaxGap = Gap::NoTaxTable;
    else if (!result.taxable)
        result.incomeTaxGap = result.employmentInsuranceGap;
    else {
        d[index(Deduction::IncomeTax)] = withholdingTax(*table, details.column, *result.taxable, details.dependants);
        result.taxTable = tableName(*table);
    }
}

// The total and the net pay, left empty while any deduction is unknown.
void totals(PayResult &result)
{
    Yen total = result.other;
    for (const auto &deduction : result.deductions) {
        if (!deduction)
            return;
        total += *deduction;
    }
    result.deductionTotal = total;
    result.netPay = result.gross - total;
}

} // namespace

PayResult computePay(const PayInput &input, const PublicTables &tables)
{
    const PayDetails &details = input.details;
    PayResult result;
    result.commute = commuteAllowance(details.commute, input.daysWorked);
    result.gross = input.basic + input.overtime + input.night + input.holiday + input.adjustment + result.commute;
    result.nonTaxableCommute = nonTaxableCommute(result.commute, details.commute.nonTaxableLimit);
    result.other = input.other;
    fixedDeductions(input, result);
    employmentInsurance(input, tables, result);
    taxablePay(result);
    incomeTax(input, tables, result);
    totals(result);
    return result;
}

} // namespace pelmar::pay
