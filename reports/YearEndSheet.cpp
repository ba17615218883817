// The 年末調整 laid out: the worksheet of one employee (the 源泉徴収簿's
// 年末調整 part) and the list of the year's employees, in or out.
#include "reports/YearEndReports.h"

#include "calc/Formats.h"

namespace pelmar::reports {

namespace {

using pay::Yen;
using yearend::RelativeKind;

QString money(Yen yen)
{
    return fmt::formatNumber(double(yen), QStringLiteral("#,##0"));
}

// One line of the worksheet: the step, its figure, where it comes from.
struct Step {
    QString item;
    std::optional<Yen> amount;
    QString source;
};

QString kindText(RelativeKind kind)
{
    switch (kind) {
    case RelativeKind::Young:
        return QStringLiteral("16歳未満（扶養控除なし）");
    case RelativeKind::General:
        return QStringLiteral("一般の控除対象扶養親族");
    case RelativeKind::Specified:
        return QStringLiteral("特定扶養親族");
    case RelativeKind::Elderly:
        return QStringLiteral("老人扶養親族");
    case RelativeKind::ElderlyParent:
        return QStringLiteral("同居老親等");
    case RelativeKind::SpecificRelative:
        return QStringLiteral("特定親族（特定親族特別控除）");
    case RelativeKind::NotCounted:
        break;
    }
    return QStringLiteral("控除の対象外（所得が限度を超える）");
}

QList<Step> incomeSteps(const YearEndEmployee &e)
{
    const yearend::YearEndResult &r = e.result;
    const yearend::Declarations &d = e.declared;
    QList<Step> steps{
        {QStringLiteral("給料・手当等（本年の支給 %1 回）").arg(e.pays.size()), e.yearPay.pay,
         QStringLiteral("保存した明細の総支給額の計（非課税の通勤手当を除く）、支給日が本年のもの")},
        {QStringLiteral("前職分の支払金額"), d.previousPay, QStringLiteral("前の勤め先の源泉徴収票")},
        {QStringLiteral("給与の総額"), r.pay, QString()},
        {QStringLiteral("給与所得控除後の給与等の金額"), r.afterEmploymentDeduction,
         QStringLiteral("年末調整のための給与所得控除後の給与等の金額の表")},
        {QStringLiteral("所得金額調整控除"), r.incomeAdjustment,
         QStringLiteral("給与が 850万円 超で、23歳未満の扶養親族か特別障害者がいるとき")},
        {QStringLiteral("給与所得控除後の給与等の金額（調整控除後）"), r.employmentIncome, QString()},
        {QStringLiteral("合計所得金額（見積）"), r.ownIncome, QStringLiteral("上の金額 ＋ 基礎控除申告書の給与以外の所得")},
    };
    return steps;
}

QList<Step> deductionSteps(const YearEndEmployee &e)
{
    const yearend::YearEndResult &r = e.result;
    const yearend::Declarations &d = e.declared;
    QList<Step> steps{
        {QStringLiteral("社会保険料等控除額"), r.socialInsurance,
         QStringLiteral("給与から %1 ＋ 前職分 %2 ＋ 本人支払分 %3（保険料控除申告書）")
             .arg(money(e.yearPay.socialInsurance), money(d.previousSocialInsurance), money(d.socialOutsidePay))},
        {QStringLiteral("小規模企業共済等掛金控除"), r.smallBusinessMutualAid, QStringLiteral("保険料控除申告書")},
        {QStringLiteral("生命保険料控除"), r.life,
         QStringLiteral("保険料控除申告書：一般 %1・介護医療 %2・個人年金 %3（計 12万円 まで）")
             .arg(money(r.lifeGeneral), money(r.lifeCareMedical), money(r.lifePension))},
        {QStringLiteral("地震保険料控除"), r.earthquake, QStringLiteral("保険料控除申告書（5万円 まで）")},
        {QStringLiteral("配偶者控除"), r.spouse,
         r.elderlySpouse ? QStringLiteral("配偶者控除等申告書（老人控除対象配偶者）") : QStringLiteral("配偶者控除等申告書")},
        {QStringLiteral("配偶者特別控除"), r.spouseSpecial, QStringLiteral("配偶者控除等申告書")},
    };
    if (r.lifeSpecialApplied)
        steps.insert(3, Step{QStringLiteral("　一般の生命保険料の特例"), std::nullopt,
                             QStringLiteral("23歳未満の扶養親族がいるため、新・一般の上限は 6万円")});
    for (const yearend::RelativeLine &line : r.relatives)
        steps << Step{QStringLiteral("　扶養控除等申告書：%1").arg(line.name), line.deduction + line.disability,
                      kindText(line.kind)
                          + (line.disability ? QStringLiteral("、障害者控除 %1 を含む").arg(money(line.disability))
                                             : QString())};
    steps << Step{QStringLiteral("扶養控除"), r.dependants, QStringLiteral("扶養控除等申告書")}
          << Step{QStringLiteral("特定親族特別控除"), r.specificRelatives, QStringLiteral("扶養控除等申告書（特定親族）")}
          << Step{QStringLiteral("障害者控除"), r.disability, QStringLiteral("本人・配偶者・扶養親族の障害者の欄")}
          << Step{QStringLiteral("寡婦控除・ひとり親控除"), r.widowhood, QStringLiteral("扶養控除等申告書")}
          << Step{QStringLiteral("勤労学生控除"), r.workingStudent, QStringLiteral("扶養控除等申告書")}
          << Step{QStringLiteral("基礎控除"), r.basic, QStringLiteral("合計所得金額による（基礎控除申告書）")}
          << Step{QStringLiteral("所得控除の額の合計額"), r.deductionTotal, QString()};
    return steps;
}

QList<Step> taxSteps(const YearEndEmployee &e)
{
    const yearend::YearEndResult &r = e.result;
    QList<Step> steps{
        {QStringLiteral("課税給与所得金額"), r.taxable, QStringLiteral("調整控除後の金額 − 所得控除の合計、1,000円未満切捨て")},
        {QStringLiteral("算出所得税額"), r.computedTax, QStringLiteral("年末調整のための算出所得税額の速算表")},
        {QStringLiteral("住宅借入金等特別控除額"), r.housingCredit,
         QStringLiteral("住宅借入金等特別控除申告書 %1（算出所得税額まで）").arg(money(e.declared.housingLoanCredit))},
        {QStringLiteral("年調所得税額"), r.taxAfterCredit, QString()},
        {QStringLiteral("年調年税額"), r.annualTax, QStringLiteral("年調所得税額 × 102.1％、100円未満切捨て")},
        {QStringLiteral("源泉徴収税額"), r.withheld,
         QStringLiteral("本年の給与から %1 ＋ 前職分 %2").arg(money(e.yearPay.withheld), money(e.declared.previousTax))},
    };
    if (r.balance >= 0)
        steps << Step{QStringLiteral("差引超過額（還付）"), r.balance, QStringLiteral("源泉徴収税額 − 年調年税額")};
    else
        steps << Step{QStringLiteral("差引不足額（徴収）"), -r.balance, QStringLiteral("年調年税額 − 源泉徴収税額")};
    return steps;
}

QList<Step> stepsOf(const YearEndEmployee &e)
{
    QList<Step> steps = incomeSteps(e);
    if (e.standing == YearEndStanding::NoFigures || e.result.notSettled == yearend::NotSettled::PayOverLimit)
        return steps.mid(0, 3);
    return steps + deductionSteps(e) + taxSteps(e);
}

QString standingCaption(const YearEndEmployee &e)
{
    return e.standing == YearEndStanding::In ? QStringLiteral("年末調整をする") : QStringLiteral("年末調整をしない");
}

} // namespace

Table yearEndWorksheet(const YearEndEmployee &e, const QString &companyName, const QDate &printed)
{
    Table table;
    table.heading = QStringLiteral("年末調整 計算書");
    table.subheadings = {QStringLiteral("氏名　") + e.name,
                         QStringLiteral("%1年分（支給日が %1年 の給与）").arg(e.year),
                         standingCaption(e) + (e.reason.isEmpty() ? QString() : QStringLiteral("：") + e.reason)};
    if (e.settleDate.isValid() && e.standing == YearEndStanding::In)
        table.subheadings << QStringLiteral("精算する支給（既定）：%1 %2")
                                 .arg(e.settleDate.toString(QStringLiteral("yyyy/MM/dd")), e.settleTitle);
    table.companyName = companyName;
    table.printed = printed;
    // Landscape, so that the sources fit their column uncut.
    table.landscape = true;
    table.pointSize = 9;
    table.columns = {{QStringLiteral("項目"), 4200, Qt::AlignLeft, false},
                     {QStringLiteral("金額"), 1500},
                     {QStringLiteral("出所・計算"), 5600, Qt::AlignLeft, false}};
    for (const Step &step : stepsOf(e))
        table.rows << QStringList{step.item, step.amount ? money(*step.amount) : QString(), step.source};
    table.notes = e.warnings;
    return table;
}

QList<csv::Record> yearEndWorksheetRecords(const YearEndEmployee &e)
{
    QList<csv::Record> records{QStringLiteral("氏名 年分 項目 金額 出所・計算").split(u' ')};
    records << csv::Record{csv::text(e.name), QString::number(e.year), csv::text(standingCaption(e)), QString(),
                           csv::text(e.reason)};
    for (const Step &step : stepsOf(e))
        records << csv::Record{csv::text(e.name), QString::number(e.year), csv::text(step.item.trimmed()),
                               step.amount ? QString::number(*step.amount) : QString(), csv::text(step.source)};
    return records;
}

Table yearEndListTable(const QList<YearEndEmployee> &employees, int year, const QString &companyName,
                       const QDate &printed)
{
    Table table;
    table.heading = QStringLiteral("年末調整 一覧");
    table.subheadings = {QStringLiteral("%1年分（支給日が %1年 の給与）").arg(year)};
    table.companyName = companyName;
    table.printed = printed;
    table.landscape = true;
    table.pointSize = 8;
    table.columns = {{QStringLiteral("氏名"), 2000, Qt::AlignLeft, false}, {QStringLiteral("対象"), 800, Qt::AlignHCenter},
                     {QStringLiteral("給与の総額"), 1400},  {QStringLiteral("年調年税額"), 1300},
                     {QStringLiteral("源泉徴収税額"), 1400}, {QStringLiteral("超過額"), 1200},
                     {QStringLiteral("不足額"), 1200},      {QStringLiteral("理由・注意"), 6000, Qt::AlignLeft, false}};
    for (const YearEndEmployee &e : employees) {
        const bool in = e.standing == YearEndStanding::In;
        const Yen balance = e.result.balance;
        table.rows << QStringList{e.name,
                                  in ? QStringLiteral("する") : QStringLiteral("しない"),
                                  money(e.result.pay),
                                  in ? money(e.result.annualTax) : QString(),
                                  money(e.result.withheld),
                                  in && balance > 0 ? money(balance) : QString(),
                                  in && balance < 0 ? money(-balance) : QString(),
                                  (QStringList{e.reason} + e.warnings).join(u' ').trimmed()};
    }
    table.notes << QStringLiteral("超過額は本人へ還付し、不足額は給与から徴収します。年末調整をしない人は本人が確定申告で精算します。");
    return table;
}

QList<csv::Record> yearEndListRecords(const QList<YearEndEmployee> &employees)
{
    QList<csv::Record> records{QStringLiteral("氏名 年分 対象 給与の総額 年調年税額 源泉徴収税額 過不足 理由").split(u' ')};
    for (const YearEndEmployee &e : employees) {
        const bool in = e.standing == YearEndStanding::In;
        records << csv::Record{csv::text(e.name),
                               QString::number(e.year),
                               in ? QStringLiteral("する") : QStringLiteral("しない"),
                               QString::number(e.result.pay),
                               in ? QString::number(e.result.annualTax) : QString(),
                               QString::number(e.result.withheld),
                               in ? QString::number(e.result.balance) : QString(),
                               csv::text(e.reason)};
    }
    return records;
}

} // namespace pelmar::reports
