#pragma once

#include "calc/PublicTables.h"

#include <QDate>

#include <array>
#include <optional>

// Net pay: from a statement's pay items and the employee's payroll details
// to 総支給額, each deduction, 控除合計 and 差引支給額, in whole yen.
namespace pelmar::pay {

// 税区分: the 月額表 column the employee is taxed by. None withholds nothing,
// as chosen; Unset withholds nothing either, but nobody chose it: an
// employee whose details were never filled in, whom the pages then name.
enum class TaxColumn { None, Kou, Otsu, Unset };

// 源泉所得税 by the 月額表 for `amount`, the month's pay after social
// insurance (社会保険料等控除後の給与等の金額), and the 扶養親族等の数:
//   甲欄 below the first row: 0; in the rows: the row's figure for 0 to 7;
//   from the first anchor (740,000 yen) up: the anchor's figure plus its rate
//   of the excess, fractions of a yen dropped; 8 or more: the 7-person figure
//   less the table's amount for each person beyond 7, never below 0.
//   乙欄 below the first row: the table's rate of the amount, fractions
//   dropped; in the rows: the row's 乙 figure; above: as 甲 with the 乙
//   anchors. Dependants do not change 乙.
// An amount below 0 is taxed as 0.
Yen withholdingTax(const WithholdingTable &table, TaxColumn column, Yen amount, int dependants);

// amount × rate with the fraction of a yen dropped (toward zero).
Yen rateOfDown(Yen amount, PartsPerMillion rate);

// 雇用保険 deducted from wages: gross × the employee's rate, a fraction of
// 50 銭 or less dropped and one over 50 銭 rounded up. Nothing on a gross of
// 0 or less.
Yen employmentInsurancePremium(Yen gross, PartsPerMillion rate);

// A month's pay items may carry fractions of a yen when the shop rounds no
// line; a month's wages are paid in whole yen, a fraction under 50 銭
// dropped and 50 銭 or more rounded up. Nothing for a value that is no number.
std::optional<Yen> monthYen(double amount);

// 通勤手当.
enum class CommuteBasis {
    None,
    PerDay, // the amount for each day worked
    PerMonth, // the amount once a month
};
// The limit of the non-taxable part for public transport; the owner may set
// another (the limit for a car depends on the distance).
inline constexpr Yen kDefaultCommuteLimit = 150000;
struct Commute {
    CommuteBasis basis = CommuteBasis::None;
    Yen amount = 0;
    Yen nonTaxableLimit = kDefaultCommuteLimit; // a month's non-taxable part at most
};
// The month's allowance for the days worked.
Yen commuteAllowance(const Commute &commute, int daysWorked);
// The part of a month's allowance that is not taxed: up to the limit.
Yen nonTaxableCommute(Yen allowance, Yen limit);

// The employee's payroll details. All optional: the defaults deduct nothing.
struct PayDetails {
    TaxColumn column = TaxColumn::None;
    int dependants = 0; // 扶養親族等の数
    bool employmentInsured = false; // 雇用保険 加入
    BusinessKind business = BusinessKind::General;
    Yen healthInsurance = 0; // 健康保険料, monthly
    Yen careInsurance = 0; // 介護保険料, monthly
    Yen pension = 0; // 厚生年金保険料, monthly
    Yen residentTax = 0; // 住民税, monthly
    Commute commute;
};

// The deductions an owner may type over on a statement.
enum class Deduction {
    HealthInsurance, // 健康保険
    CareInsurance, // 介護保険
    Pension, // 厚生年金
    EmploymentInsurance, // 雇用保険
    IncomeTax, // 所得税
    ResidentTax, // 住民税
};
inline constexpr int kDeductionCount = 6;
using Deductions = std::array<std::optional<Yen>, kDeductionCount>;
inline constexpr int index(Deduction d)
{
    return int(d);
}

struct PayInput {
    QDate payDate; // 支給日: picks the 月額表
    // 賃金締切日, the last day of the pay period: picks the employment
    // insurance rate, which changes from the first closing day of a 年度.
    // When unknown, the pay date does.
    QDate closingDate;
    // 支給 (commuting allowance apart: it comes from the details)
    Yen basic = 0; // 基本給
    Yen overtime = 0; // 時間外手当
    Yen night = 0; // 深夜手当
    Yen holiday = 0; // 休日手当
    Yen adjustment = 0; // 調整額, may be negative
    int daysWorked = 0; // for a commuting allowance per day
    PayDetails details;
    Yen other = 0; // その他 控除, typed on the statement
    Deductions overrides; // a deduction given here is taken as it is
};

// Why a computed deduction has no figure: the owner then types it, told why.
enum class Gap {
    None,
    NoPayDate, // the statement has no 支給日
    NoTaxTable, // no shipped 月額表 covers the 支給日
    NoInsuranceRate, // no shipped 雇用保険 rate covers the date
};

struct PayResult {
    Yen commute = 0; // 通勤手当
    Yen gross = 0; // 総支給額
    Yen nonTaxableCommute = 0; // its non-taxable part
    // Every deduction, nothing where it could not be computed (see the gaps).
    Deductions deductions;
    std::array<bool, kDeductionCount> overridden{};
    Gap employmentInsuranceGap = Gap::None;
    Gap incomeTaxGap = Gap::None;
    QString taxTable; // the 月額表 the tax was read from (tableName), empty when none was
    std::optional<Yen> socialInsurance; // 健康保険 + 介護保険 + 厚生年金 + 雇用保険
    std::optional<Yen> taxable; // 総支給額 − 非課税通勤手当 − social insurance
    Yen other = 0;
    // Nothing while a deduction is missing: a total without it would be wrong.
    std::optional<Yen> deductionTotal; // 控除合計
    std::optional<Yen> netPay; // 差引支給額; may be negative when deductions exceed the pay

    std::optional<Yen> deduction(Deduction d) const { return deductions[index(d)]; }
    bool isOverridden(Deduction d) const { return overridden[index(d)]; }
};

// The whole computation, by the tables in force on the input's dates.
PayResult computePay(const PayInput &input, const PublicTables &tables);

} // namespace pelmar::pay
