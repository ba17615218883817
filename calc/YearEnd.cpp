#include "calc/YearEnd.h"

#include <algorithm>

namespace pelmar::yearend {

namespace {

template<typename T>
const T *bandFor(const QList<T> &bands, Yen x, const Band T::*band)
{
    for (const T &b : bands) {
        if ((b.*band).contains(x))
            return &b;
    }
    return nullptr;
}

Yen ceilDivide(Yen numerator, Yen denominator)
{
    return (numerator + denominator - 1) / denominator;
}

Yen disabilityAmount(const YearEndTable &t, Disability disability)
{
    switch (disability) {
    case Disability::None:
        return 0;
    case Disability::General:
        return t.personalAmount(QStringLiteral("shogai_ippan"));
    case Disability::Special:
        return t.personalAmount(QStringLiteral("shogai_tokubetsu"));
    case Disability::SpecialLivingTogether:
        return t.personalAmount(QStringLiteral("shogai_dokyo_tokubetsu"));
    }
    return 0;
}

bool isSpecial(Disability disability)
{
    return disability == Disability::Special || disability == Disability::SpecialLivingTogether;
}

// A 同一生計配偶者: a spouse within the income limit of the household.
bool spouseOfHousehold(const YearEndTable &t, const Declarations &d)
{
    return d.spouse && d.spouse->income <= t.limit(QStringLiteral("doitsu_seikei_haigusha"));
}

// 新 and 旧 of one kind: the larger of each alone and both together within the cap.
Yen lifeKind(const YearEndTable &t, const QString &kind, Yen newPremium, Yen oldPremium)
{
    const LifeUse use = t.lifeUse.value(kind);
    const Yen fromNew = premiumDeduction(t.lifeFormulas.value(use.newFormula), newPremium);
    const Yen fromOld = use.oldFormula.isEmpty() ? 0 : premiumDeduction(t.lifeFormulas.value(use.oldFormula), oldPremium);
    return std::max({fromNew, fromOld, std::min(fromNew + fromOld, use.newPlusOldCap)});
}

void deductInsurance(const YearEndTable &t, const YearPay &pay, const Declarations &d, YearEndResult &r)
{
    r.socialInsurance = pay.socialInsurance + d.previousSocialInsurance + d.socialOutsidePay;
    r.smallBusinessMutualAid = d.smallBusinessMutualAid;
    const bool underTwentyThree =
        std::any_of(r.relatives.cbegin(), r.relatives.cend(), [](const RelativeLine &l) { return l.underTwentyThree; });
    r.lifeSpecialApplied = underTwentyThree && d.lifeNewGeneral > 0;
    r.lifeGeneral = lifeKind(t, underTwentyThree ? QStringLiteral("ippan_with_dependant_under_23") : QStringLiteral("ippan"),
                             d.lifeNewGeneral, d.lifeOldGeneral);
    r.lifeCareMedical = lifeKind(t, QStringLiteral("kaigo_iryo"), d.lifeCareMedical, 0);
    r.lifePension = lifeKind(t, QStringLiteral("kojin_nenkin"), d.lifeNewPension, d.lifeOldPension);
    r.life = std::min(r.lifeGeneral + r.lifeCareMedical + r.lifePension, t.lifeTotalCap);
    r.earthquake = std::min(premiumDeduction(t.earthquake.value(QStringLiteral("jishin")), d.earthquake)
                                + premiumDeduction(t.earthquake.value(QStringLiteral("kyu_choki")), d.oldLongTermDamage),
                            t.earthquakeTotalCap);
}

void deductSpouse(const YearEndTable &t, const Declarations &d, YearEndResult &r)
{
    if (!d.spouse)
        return;
    if (spouseOfHousehold(t, d))
        r.disability += disabilityAmount(t, d.spouse->disability);
    if (r.ownIncome > t.limit(QStringLiteral("haigu_honnin_upper")))
        return;
    if (spouseOfHousehold(t, d)) {
        r.elderlySpouse = t.dependantKinds.value(QStringLiteral("rojin")).contains(d.spouse->birth);
        if (const SpouseBand *band = bandFor(t.spouse, r.ownIncome, &SpouseBand::own))
            r.spouse = r.elderlySpouse ? band->elderly : band->general;
        return;
    }
    const SpecialSpouseBand *band = bandFor(t.specialSpouse, d.spouse->income, &SpecialSpouseBand::spouse);
    for (int i = 0; band && i < t.specialSpouseOwnUpto.size(); ++i) {
        if (r.ownIncome <= t.specialSpouseOwnUpto[i]) {
            r.spouseSpecial = band->byOwn.value(i);
            break;
        }
    }
}

void deductPeople(const YearEndTable &t, const Declarations &d, YearEndResult &r)
{
    for (const RelativeLine &line : std::as_const(r.relatives)) {
        if (line.kind == RelativeKind::SpecificRelative)
            r.specificRelatives += line.deduction;
        else
            r.dependants += line.deduction;
        r.disability += line.disability;
    }
    // The employee's own: a 特別障害者 is never 同居 with himself.
    r.disability += disabilityAmount(t, d.selfDisability == Disability::SpecialLivingTogether ? Disability::Special
                                                                                                : d.selfDisability);
    deductSpouse(t, d, r);
    if (d.widowhood != Widowhood::None && r.ownIncome <= t.limit(QStringLiteral("kafu_hitorioya")))
        r.widowhood = t.personalAmount(d.widowhood == Widowhood::Widow ? QStringLiteral("kafu") : QStringLiteral("hitorioya"));
    if (d.workingStudent && r.ownIncome <= t.limit(QStringLiteral("kinro_gakusei"))
        && d.otherIncome <= t.limit(QStringLiteral("kinro_gakusei_other")))
        r.workingStudent = t.personalAmount(QStringLiteral("kinro_gakusei"));
    if (const AmountBand *band = bandFor(t.basic, r.ownIncome, &AmountBand::band))
        r.basic = band->amount;
}

// 所得金額調整控除: pay above the line and a 特別障害者 in the household or a
// 扶養親族 under 23.
Yen incomeAdjustment(const YearEndTable &t, const Declarations &d, const YearEndResult &r)
{
    if (r.pay <= t.adjustmentPayOver)
        return 0;
    const bool qualifies = isSpecial(d.selfDisability) || (spouseOfHousehold(t, d) && isSpecial(d.spouse->disability))
        || std::any_of(r.relatives.cbegin(), r.relatives.cend(), [&](const RelativeLine &l) {
               return l.underTwentyThree || l.specialDisability;
           });
    if (!qualifies)
        return 0;
    const Yen over = std::min(r.pay, t.adjustmentPayCap) - t.adjustmentPayOver;
    return std::min(ceilDivide(over * t.adjustmentPercent, 100), t.adjustmentMax);
}

} // namespace

std::optional<Yen> afterEmploymentDeduction(const YearEndTable &table, Yen pay)
{
    if (pay < 0)
        pay = 0;
    for (const PayRow &row : table.payRows) {
        if (row.from <= pay && pay < row.to)
            return row.amount;
    }
    for (const PayFormula &f : table.payFormulas) {
        if (f.from <= pay && pay < f.to)
            return std::max<Yen>(0, pay * f.numerator / f.denominator - f.subtract);
    }
    return std::nullopt;
}

Yen premiumDeduction(const QList<PremiumFormula> &formula, Yen premium)
{
    if (premium <= 0)
        return 0;
    const PremiumFormula *band = bandFor(formula, premium, &PremiumFormula::band);
    return band ? ceilDivide(premium * band->numerator, band->denominator) + band->add : 0;
}

std::optional<Yen> computedTax(const YearEndTable &table, Yen taxable)
{
    if (taxable > table.limit(QStringLiteral("kazei_max")))
        return std::nullopt;
    const TaxBand *band = bandFor(table.rates, taxable, &TaxBand::band);
    if (!band)
        return std::nullopt;
    return std::max<Yen>(0, taxable * band->ratePercent / 100 - band->deduct);
}

Yen annualTax(const YearEndTable &table, Yen tax)
{
    const Yen unit = table.annualUnit;
    return tax * table.annualNumerator / (table.annualDenominator * unit) * unit;
}

RelativeLine relativeLine(const YearEndTable &t, const Relative &relative)
{
    RelativeLine line;
    line.name = relative.name;
    if (!relative.birth.isValid())
        return line;
    const BirthBand specified = t.dependantKinds.value(QStringLiteral("tokutei"));
    if (relative.income <= t.limit(QStringLiteral("fuyo_shinzoku"))) {
        static const std::pair<const char *, RelativeKind> kinds[] = {
            {"nensho", RelativeKind::Young},           {"ippan_16_18", RelativeKind::General},
            {"tokutei", RelativeKind::Specified},      {"ippan_23_69", RelativeKind::General},
            {"rojin", RelativeKind::Elderly},
        };
        for (const auto &[name, kind] : kinds) {
            const BirthBand band = t.dependantKinds.value(QLatin1String(name));
            if (band.contains(relative.birth)) {
                const bool parent = kind == RelativeKind::Elderly && relative.parentLivingTogether;
                line.kind = parent ? RelativeKind::ElderlyParent : kind;
                line.deduction = parent ? t.dependantKinds.value(QStringLiteral("dokyo_roshin")).amount : band.amount;
                break;
            }
        }
        line.disability = disabilityAmount(t, relative.disability);
        line.specialDisability = isSpecial(relative.disability);
        line.underTwentyThree = specified.bornFrom.isValid() && relative.birth >= specified.bornFrom;
        return line;
    }
    if (specified.contains(relative.birth)) {
        if (const AmountBand *band = bandFor(t.specificRelative, relative.income, &AmountBand::band)) {
            line.kind = RelativeKind::SpecificRelative;
            line.deduction = band->amount;
        }
    }
    return line;
}

YearEndResult computeYearEnd(const YearEndTable &t, const YearPay &pay, const Declarations &d)
{
    YearEndResult r;
    r.pay = pay.pay + d.previousPay;
    r.withheld = pay.withheld + d.previousTax;
    const std::optional<Yen> afterDeduction = afterEmploymentDeduction(t, r.pay);
    if (r.pay > t.limit(QStringLiteral("nencho_pay_max")) || !afterDeduction) {
        r.notSettled = NotSettled::PayOverLimit;
        return r;
    }
    for (const Relative &relative : d.relatives)
        r.relatives.append(relativeLine(t, relative));
    r.afterEmploymentDeduction = *afterDeduction;
    r.incomeAdjustment = incomeAdjustment(t, d, r);
    r.employmentIncome = r.afterEmploymentDeduction - r.incomeAdjustment;
    r.ownIncome = r.employmentIncome + d.otherIncome;
    deductInsurance(t, pay, d, r);
    deductPeople(t, d, r);
    r.deductionTotal = r.socialInsurance + r.smallBusinessMutualAid + r.life + r.earthquake + r.spouse + r.spouseSpecial
        + r.dependants + r.specificRelatives + r.disability + r.widowhood + r.workingStudent + r.basic;
    r.taxable = std::max<Yen>(0, r.employmentIncome - r.deductionTotal) / 1000 * 1000;
    const std::optional<Yen> tax = computedTax(t, r.taxable);
    if (!tax) {
        r.notSettled = NotSettled::TaxableOverTable;
        return r;
    }
    r.computedTax = *tax;
    r.housingCredit = std::min(d.housingLoanCredit, r.computedTax);
    r.taxAfterCredit = r.computedTax - r.housingCredit;
    r.annualTax = annualTax(t, r.taxAfterCredit);
    r.balance = r.withheld - r.annualTax;
    return r;
}

} // namespace pelmar::yearend
