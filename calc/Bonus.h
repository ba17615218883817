#pragma once

#include "calc/NetPay.h"
#include "calc/SocialInsurance.h"

#include <QDate>

#include <optional>

// A 賞与: its 標準賞与額 under the two caps, the premiums on it, and the
// income tax withheld from it, by the 算出率の表 or, where that table does
// not apply, by the 月額表. Pure arithmetic: no SQL, no widget.
namespace pelmar::pay {

// 標準賞与額 of one insurance.
struct StandardBonus {
    Yen health = 0;
    Yen pension = 0;
};

// The amounts of the 標準賞与額 already counted against the caps.
struct BonusCounted {
    Yen healthThisYear = 0; // 健康保険, earlier 賞与 of the same 年度 (April to March)
    Yen pensionThisMonth = 0; // 厚生年金, earlier 賞与 of the same month
};

// The bonus with fractions of 1,000 yen dropped; for 健康保険 no more than
// the 年度's cap leaves after the earlier ones, for 厚生年金 no more than
// the month's cap leaves. Nothing below 0.
StandardBonus standardBonus(Yen bonus, const BonusCounted &counted, Yen healthCap, Yen pensionCap);

// The premiums on a 賞与 at the rates of the month it is paid in, halved and
// rounded as a month's are. `basis` says who owes (a 賞与 paid in the month
// of the loss owes none, though it counts towards the 健康保険 cap); its
// standards are replaced by the 標準賞与額.
MonthPremium bonusPremium(const StandardBonus &standard, PremiumBasis basis, const MonthRates &rates);

// How the tax on a 賞与 was worked out, said with the result.
enum class BonusTaxMethod {
    None, // no 税区分: nothing withheld
    RateTable, // 賞与に対する源泉徴収税額の算出率の表
    MonthlyTable, // by the 月額表: no pay in the month before, or the bonus over ten times it
};

// Why the tax has no figure: the owner types it, told why.
enum class BonusTaxGap {
    None,
    NoPayDate, // the 賞与 has no 支給日
    NoRateTable, // no shipped 算出率の表 covers the 支給日
    NoMonthlyTable, // the 月額表 is needed and none covers the 支給日
    DependantsNotCovered, // 甲 with 8 or more 扶養親族等: the shipped rates do not carry the rule
};

struct BonusTaxInput {
    QDate payDate; // 支給日
    TaxColumn column = TaxColumn::None;
    int dependants = 0;
    Yen bonusAfterInsurance = 0; // 賞与 less the social insurance on it
    // The ordinary pay of the month before less its social insurance;
    // nothing when no pay was made in that month.
    std::optional<Yen> previousPayAfterInsurance;
    // The 賞与's 計算期間 is longer than six months: the 月額表 way divides by 12, not 6.
    bool periodOverSixMonths = false;
};

struct BonusTax {
    std::optional<Yen> tax;
    BonusTaxMethod method = BonusTaxMethod::None;
    BonusTaxGap gap = BonusTaxGap::None;
    PartsPerMillion rate = 0; // the 算出率 used, with RateTable
};

// The tax on a 賞与:
//   by the 算出率の表: the rate of the band of the month before's pay in the
//   employee's column, times the bonus less its insurance, fractions dropped;
//   by the 月額表 when there was no pay the month before, that pay did not
//   exceed its insurance, or the bonus (after insurance) is more than ten
//   times that pay: a sixth of the bonus (a twelfth for a period over six
//   months, fractions of a yen dropped) added to the month before's pay,
//   the 月額表's tax on that sum less its tax on that pay alone, times 6
//   (or 12).
BonusTax bonusTax(const BonusTaxInput &input, const PublicTables &tables, const SocialTables &social);

// A 賞与 statement worked out: the 標準賞与額, the premiums on it, 雇用保険
// at the rate in force on the 支給日, the tax, and 差引支給額.
struct BonusInput {
    QDate payDate; // 支給日
    Yen amount = 0; // 賞与の金額
    TaxColumn column = TaxColumn::None;
    int dependants = 0;
    bool employmentInsured = false;
    BusinessKind business = BusinessKind::General;
    PremiumBasis insured; // who owes in the month of the 支給日 (its standards are not used)
    std::optional<MonthRates> rates; // that month's rates under the office's settings
    BonusCounted counted;
    std::optional<Yen> previousPayAfterInsurance;
    bool periodOverSixMonths = false;
};

// Why the premiums or 雇用保険 have no figure.
enum class BonusGap {
    None,
    NoPayDate, // the 賞与 has no 支給日
    NoRates, // no social insurance rates for the month
    NoCaps, // no cap of the 標準賞与額 for the month
    NoEmploymentRate, // no 雇用保険 rate for the 支給日
};

struct BonusResult {
    StandardBonus standard;
    std::optional<MonthPremium> premium;
    std::optional<Yen> employment; // 雇用保険
    BonusGap gap = BonusGap::None;
    BonusTax tax;
    // Nothing while a deduction is missing.
    std::optional<Yen> deductionTotal;
    std::optional<Yen> netPay;
};

BonusResult computeBonus(const BonusInput &input, const PublicTables &tables, const SocialTables &social);

} // namespace pelmar::pay
