#pragma once

#include "calc/YearEndTable.h"

#include <QDate>
#include <QList>
#include <QString>

// 年末調整: from the year's pay and what the employee declared on the
// 申告書 to the 年調年税額 and the 過不足 against the tax withheld, every
// step kept for the worksheet. Pure arithmetic over the year's figures
// (calc/YearEndTable): no SQL, no widget.
namespace pelmar::yearend {

// 障害者 as declared: 一般の障害者, 特別障害者, and a 特別障害者 who lives
// with the employee, the spouse or a relative of the household (同居特別障害者).
enum class Disability { None, General, Special, SpecialLivingTogether };

// 寡婦 or ひとり親, as declared on the 扶養控除等申告書.
enum class Widowhood { None, Widow, SingleParent };

// One relative of the household on the 扶養控除等申告書 (扶養親族, 16歳未満
// included) or a 特定親族 on the 特定親族特別控除申告書: which of the two the
// relative is follows from the birth date and the income.
struct Relative {
    QString name;
    QDate birth;
    Yen income = 0; // 合計所得金額の見積額
    bool parentLivingTogether = false; // 直系尊属 living with the employee or spouse (同居老親等)
    Disability disability = Disability::None;
};

// The spouse of the 配偶者控除等申告書 (and of the 扶養控除等申告書).
struct Spouse {
    QString name;
    QDate birth;
    Yen income = 0; // 合計所得金額の見積額
    Disability disability = Disability::None;
};

// What the employee gave for the year, on the papers named.
struct Declarations {
    // 扶養控除等申告書
    std::optional<Spouse> spouse;
    QList<Relative> relatives;
    Disability selfDisability = Disability::None;
    Widowhood widowhood = Widowhood::None;
    bool workingStudent = false; // 勤労学生
    // 基礎控除申告書: 給与所得以外の所得の合計額の見積額
    Yen otherIncome = 0;
    // 保険料控除申告書
    Yen lifeNewGeneral = 0, lifeOldGeneral = 0, lifeCareMedical = 0, lifeNewPension = 0, lifeOldPension = 0;
    Yen earthquake = 0, oldLongTermDamage = 0;
    Yen socialOutsidePay = 0; // 社会保険料 the employee paid himself (国民年金 …)
    Yen smallBusinessMutualAid = 0; // 小規模企業共済等掛金
    // 住宅借入金等特別控除申告書: the amount on it
    Yen housingLoanCredit = 0;
    // 前職分, from the previous employer's 源泉徴収票
    Yen previousPay = 0, previousSocialInsurance = 0, previousTax = 0;
};

// The year's pay from this employer, as paid.
struct YearPay {
    Yen pay = 0; // 給与等の金額 (taxable: the non-taxable 通勤手当 apart)
    Yen socialInsurance = 0; // 社会保険料等 deducted from it
    Yen withheld = 0; // 源泉徴収税額
};

// How one relative counts.
enum class RelativeKind {
    Young, // 年少扶養親族 (under 16): no 扶養控除, but 障害者控除 and the rules that ask for one under 23
    General, // 一般の控除対象扶養親族
    Specified, // 特定扶養親族 (19–22)
    Elderly, // 老人扶養親族 (70 and over)
    ElderlyParent, // 同居老親等
    SpecificRelative, // 特定親族 (19–22, income above the 扶養親族's limit): 特定親族特別控除 only
    NotCounted, // neither: income too high, or no birth date
};

struct RelativeLine {
    QString name;
    RelativeKind kind = RelativeKind::NotCounted;
    Yen deduction = 0; // 扶養控除 or 特定親族特別控除
    Yen disability = 0; // 障害者控除
    bool underTwentyThree = false; // a 扶養親族 under 23 at the year's end
    bool specialDisability = false; // a 扶養親族 who is a 特別障害者
};

// Why the year cannot be settled by 年末調整 even though the employee is in.
enum class NotSettled {
    No,
    PayOverLimit, // 給与 over 2,000万円
    TaxableOverTable, // 課税給与所得金額 beyond the 速算表
};

struct YearEndResult {
    NotSettled notSettled = NotSettled::No;
    Yen pay = 0; // 給与等の金額, 前職分 included
    Yen afterEmploymentDeduction = 0; // 給与所得控除後の給与等の金額
    Yen incomeAdjustment = 0; // 所得金額調整控除
    Yen employmentIncome = 0; // 給与所得控除後の給与等の金額（調整控除後）
    Yen ownIncome = 0; // 合計所得金額: the above plus other income declared
    // 所得控除
    Yen socialInsurance = 0, smallBusinessMutualAid = 0;
    Yen lifeGeneral = 0, lifeCareMedical = 0, lifePension = 0, life = 0;
    bool lifeSpecialApplied = false; // the 扶養親族 under 23 rule for 新 一般
    Yen earthquake = 0;
    Yen spouse = 0, spouseSpecial = 0;
    bool elderlySpouse = false;
    Yen dependants = 0; // 扶養控除
    Yen specificRelatives = 0; // 特定親族特別控除
    Yen disability = 0, widowhood = 0, workingStudent = 0;
    Yen basic = 0; // 基礎控除
    Yen deductionTotal = 0; // 所得控除の額の合計額
    QList<RelativeLine> relatives;
    // 税額
    Yen taxable = 0; // 課税給与所得金額, 1,000 yen down
    Yen computedTax = 0; // 算出所得税額
    Yen housingCredit = 0; // 住宅借入金等特別控除額 used
    Yen taxAfterCredit = 0; // 年調所得税額
    Yen annualTax = 0; // 年調年税額 (102.1 %, 100 yen down)
    Yen withheld = 0; // 源泉徴収税額 of the year, 前職分 included
    // withheld − annualTax: more than 0 is 超過額 (refunded), less than 0 不足額 (collected).
    Yen balance = 0;
};

// 給与所得控除後の給与等の金額 for the year's pay, or nothing above the table.
std::optional<Yen> afterEmploymentDeduction(const YearEndTable &table, Yen pay);
// A premium under one formula, a fraction of a yen rounded up; 0 for none.
Yen premiumDeduction(const QList<PremiumFormula> &formula, Yen premium);
// 算出所得税額 for a 課税給与所得金額, or nothing beyond the 速算表.
std::optional<Yen> computedTax(const YearEndTable &table, Yen taxable);
// 年調年税額 from the 年調所得税額: the rate, then down to the unit.
Yen annualTax(const YearEndTable &table, Yen tax);
// How a relative counts, by the birth date and the income.
RelativeLine relativeLine(const YearEndTable &table, const Relative &relative);

YearEndResult computeYearEnd(const YearEndTable &table, const YearPay &pay, const Declarations &declared);

} // namespace pelmar::yearend
