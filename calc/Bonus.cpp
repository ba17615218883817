#include "calc/Bonus.h"

#include <algorithm>

namespace pelmar::pay {

namespace {

constexpr Yen kBonusUnit = 1000; // 標準賞与額 drops fractions of 1,000 yen

const QList<BonusRateRow> *rateColumn(const BonusWithholdingTable &table, TaxColumn column, int dependants)
{
    if (column == TaxColumn::Otsu)
        return &table.otsu;
    return dependants < kKouColumns ? &table.kou[std::max(dependants, 0)] : nullptr;
}

PartsPerMillion bandRate(const QList<BonusRateRow> &rows, Yen previous)
{
    for (const BonusRateRow &row : rows) {
        if (!row.to || previous < *row.to)
            return row.rate;
    }
    return rows.last().rate;
}

// The rate table does not apply: no pay the month before, pay not above its
// insurance, or a bonus more than ten times it.
bool needsMonthlyTable(const BonusTaxInput &input)
{
    constexpr Yen kTimesPreviousPay = 10;
    const auto &previous = input.previousPayAfterInsurance;
    return !previous || *previous <= 0 || input.bonusAfterInsurance > kTimesPreviousPay * *previous;
}

BonusTax byMonthlyTable(const BonusTaxInput &input, const PublicTables &tables)
{
    constexpr int kHalfYear = 6;
    constexpr int kYear = 12;
    BonusTax result;
    result.method = BonusTaxMethod::MonthlyTable;
    const WithholdingTable *monthly = tables.withholdingFor(input.payDate);
    if (!monthly)
        return result.gap = BonusTaxGap::NoMonthlyTable, result;
    const int divisor = input.periodOverSixMonths ? kYear : kHalfYear;
    const Yen previous = std::max<Yen>(input.previousPayAfterInsurance.value_or(0), 0);
    const Yen share = std::max<Yen>(input.bonusAfterInsurance, 0) / divisor;
    const Yen withShare = withholdingTax(*monthly, input.column, previous + share, input.dependants);
    const Yen alone = withholdingTax(*monthly, input.column, previous, input.dependants);
    result.tax = std::max<Yen>(withShare - alone, 0) * divisor;
    return result;
}

} // namespace

StandardBonus standardBonus(Yen bonus, const BonusCounted &counted, Yen healthCap, Yen pensionCap)
{
    const Yen truncated = std::max<Yen>(bonus, 0) / kBonusUnit * kBonusUnit;
    return {std::clamp<Yen>(truncated, 0, std::max<Yen>(healthCap - counted.healthThisYear, 0)),
            std::clamp<Yen>(truncated, 0, std::max<Yen>(pensionCap - counted.pensionThisMonth, 0))};
}

MonthPremium bonusPremium(const StandardBonus &standard, PremiumBasis basis, const MonthRates &rates)
{
    basis.healthStandard = standard.health;
    basis.pensionStandard = standard.pension;
    return monthPremium(basis, rates);
}

BonusTax bonusTax(const BonusTaxInput &input, const PublicTables &tables, const SocialTables &social)
{
    BonusTax result;
    if (input.column == TaxColumn::None)
        return result.tax = 0, result;
    if (!input.payDate.isValid())
        return result.gap = BonusTaxGap::NoPayDate, result;
    if (needsMonthlyTable(input))
        return byMonthlyTable(input, tables);
    result.method = BonusTaxMethod::RateTable;
    const BonusWithholdingTable *table = social.bonusWithholdingFor(input.payDate);
    if (!table)
        return result.gap = BonusTaxGap::NoRateTable, result;
    const QList<BonusRateRow> *rows = rateColumn(*table, input.column, input.dependants);
    if (!rows)
        return result.gap = BonusTaxGap::DependantsNotCovered, result;
    result.rate = bandRate(*rows, *input.previousPayAfterInsurance);
    result.tax = rateOfDown(std::max<Yen>(input.bonusAfterInsurance, 0), result.rate);
    return result;
}

namespace {

// The premiums on the bonus, or the gap that leaves them without a figure.
void bonusPremiums(const BonusInput &input, const SocialTables &social, BonusResult &result)
{
    const YearMonth month = YearMonth::of(input.payDate);
    if (!input.insured.healthInsured && !input.insured.pensionInsured) {
        result.premium = MonthPremium{};
        return;
    }
    const auto healthCap = social.healthBonusCap(month);
    const auto pensionCap = social.pensionBonusCap(month);
    if (!healthCap || !pensionCap)
        return void(result.gap = BonusGap::NoCaps);
    result.standard = standardBonus(input.amount, input.counted, *healthCap, *pensionCap);
    if (!input.rates)
        return void(result.gap = BonusGap::NoRates);
    result.premium = bonusPremium(result.standard, input.insured, *input.rates);
}

void bonusEmployment(const BonusInput &input, const PublicTables &tables, BonusResult &result)
{
    if (!input.employmentInsured)
        result.employment = 0;
    else if (const auto rate = tables.employmentRateFor(input.payDate, input.business))
        result.employment = employmentInsurancePremium(input.amount, *rate);
    else if (result.gap == BonusGap::None)
        result.gap = BonusGap::NoEmploymentRate;
}

} // namespace

BonusResult computeBonus(const BonusInput &input, const PublicTables &tables, const SocialTables &social)
{
    BonusResult result;
    if (!input.payDate.isValid()) {
        result.gap = BonusGap::NoPayDate;
        result.tax.gap = BonusTaxGap::NoPayDate;
        return result;
    }
    bonusPremiums(input, social, result);
    bonusEmployment(input, tables, result);
    if (!result.premium || !result.employment)
        return result; // the tax is on the bonus less its insurance: unknown too
    const Yen insurance = result.premium->total() + *result.employment;
    result.tax = bonusTax({input.payDate, input.column, input.dependants, input.amount - insurance,
                           input.previousPayAfterInsurance, input.periodOverSixMonths},
                          tables, social);
    if (result.tax.tax) {
        result.deductionTotal = insurance + *result.tax.tax;
        result.netPay = input.amount - *result.deductionTotal;
    }
    return result;
}

} // namespace pelmar::pay
