#include "reports/YearEndReports.h"

#include "masters/EmployeePayroll.h"
#include "masters/YearEndDeclarations.h"

namespace pelmar::reports {

namespace {

using pay::Yen;

std::optional<Yen> taxOf(const statements::StatementPay &p)
{
    return p.deductions[pay::index(pay::Deduction::IncomeTax)];
}

// The year's pay as this employer paid it; what cannot be counted is named.
yearend::YearPay sumPays(const QList<statements::StatementPay> &pays, QStringList *warnings)
{
    yearend::YearPay year;
    QStringList notKept, untaxed;
    for (const statements::StatementPay &p : pays) {
        year.pay += p.gross - p.nonTaxableCommute;
        year.socialInsurance += p.socialInsurance.value_or(0);
        year.withheld += taxOf(p).value_or(0);
        if (!p.kept)
            notKept << p.title;
        else if (!taxOf(p))
            untaxed << p.title;
    }
    if (!notKept.isEmpty())
        *warnings << QStringLiteral("支給額の記録がない明細（社会保険料・所得税を 0 として計算）：%1")
                         .arg(notKept.join(QStringLiteral("、")));
    if (!untaxed.isEmpty())
        *warnings << QStringLiteral("所得税の記録がない支給（0 円として計算）：%1").arg(untaxed.join(QStringLiteral("、")));
    return year;
}

YearEndEmployee computeEmployee(const QString &name, int year, QList<statements::StatementPay> pays, const QDate &left,
                                std::optional<yearend::Declarations> declared)
{
    YearEndEmployee e;
    e.name = name;
    e.year = year;
    e.pays = std::move(pays);
    e.left = left;
    e.declaredKept = declared.has_value();
    e.declared = declared.value_or(yearend::Declarations{});
    e.yearPay = sumPays(e.pays, &e.warnings);
    bool paidInDecember = false;
    for (const statements::StatementPay &p : std::as_const(e.pays)) {
        paidInDecember = paidInDecember || p.payDate.month() == 12;
        if (!e.settleDate.isValid() || p.payDate >= e.settleDate) {
            e.settleDate = p.payDate;
            e.settleTitle = p.title;
            e.lastColumn = p.column;
        }
    }
    const yearend::YearEndTable *table = yearend::shippedYearEnd().forYear(year);
    if (table) {
        e.result = yearend::computeYearEnd(*table, e.yearPay, e.declared);
    } else {
        // No figures to compute with: the pay and the tax of the year still show.
        e.result.pay = e.yearPay.pay + e.declared.previousPay;
        e.result.withheld = e.yearPay.withheld + e.declared.previousTax;
    }
    e.standing = standingOf(table, e.lastColumn, left, year, paidInDecember, e.result);
    if (e.standing != YearEndStanding::In)
        e.reason = standingText(e.standing, table);
    if (!e.declaredKept)
        e.warnings << QStringLiteral("この年分の申告書が入力されていません（控除は基礎控除と給与からの社会保険料だけ）。");
    return e;
}

// The payroll details' 退職日 by name; nothing when the read failed.
std::optional<QHash<QString, QDate>> leavingDates(const QSqlDatabase &main)
{
    const auto payrolls = employees::employeePayrolls(main);
    if (!payrolls)
        return std::nullopt;
    QHash<QString, QDate> left;
    for (const employees::EmployeePayroll &p : *payrolls)
        left.insert(p.name, p.left);
    return left;
}

} // namespace

YearEndStanding standingOf(const yearend::YearEndTable *table, pay::TaxColumn lastColumn, const QDate &left, int year,
                           bool paidInDecember, const yearend::YearEndResult &result)
{
    if (!table)
        return YearEndStanding::NoFigures;
    if (lastColumn != pay::TaxColumn::Kou)
        return YearEndStanding::NotKou;
    if (result.notSettled == yearend::NotSettled::PayOverLimit)
        return YearEndStanding::PayOverLimit;
    // A leaver is settled after the December pay, or as a part-timer whose
    // year's pay stays within the limit; the other leavers file a return.
    const bool leftInYear = left.isValid() && left < QDate(year, 12, 31);
    if (leftInYear && !paidInDecember && result.pay > table->limit(QStringLiteral("leaver_part_timer")))
        return YearEndStanding::Left;
    if (result.notSettled == yearend::NotSettled::TaxableOverTable)
        return YearEndStanding::TaxableOverTable;
    return YearEndStanding::In;
}

QString standingText(YearEndStanding standing, const yearend::YearEndTable *table)
{
    switch (standing) {
    case YearEndStanding::In:
        return {};
    case YearEndStanding::NoFigures:
        return QStringLiteral("この年分の年末調整の数値が Pelmar にありません。");
    case YearEndStanding::NotKou:
        return QStringLiteral("年最後の支給が甲欄ではありません（乙欄、または所得税を差し引いていない）。"
                              "扶養控除等申告書を出した人だけが年末調整の対象です。");
    case YearEndStanding::Left:
        return QStringLiteral("年の途中で退職し、12月の給与を受けておらず、本年の給与が %1 円を超えています。"
                              "確定申告で精算します。")
            .arg(table ? table->limit(QStringLiteral("leaver_part_timer")) : 0);
    case YearEndStanding::PayOverLimit:
        return QStringLiteral("本年の給与が 2,000万円 を超えています。確定申告で精算します。");
    case YearEndStanding::TaxableOverTable:
        return QStringLiteral("課税給与所得金額が速算表の範囲を超えています。確定申告で精算します。");
    }
    return {};
}

std::optional<YearEndEmployee> yearEndOf(const QSqlDatabase &main, const QString &name, int year)
{
    const auto all = yearEndOfYear(main, year);
    if (!all)
        return std::nullopt;
    for (const YearEndEmployee &e : *all) {
        if (e.name == name)
            return e;
    }
    // Not paid in the year: the papers alone (a newcomer's 前職分, say).
    const auto declared = yearend::readDeclarations(main, name, year);
    const auto left = leavingDates(main);
    if (!declared || !left)
        return std::nullopt;
    return computeEmployee(name, year, {}, left->value(name), *declared);
}

std::optional<QList<YearEndEmployee>> yearEndOfYear(const QSqlDatabase &main, int year)
{
    const auto pays = statements::statementPaysOfYear(main, year);
    const auto left = leavingDates(main);
    if (!pays || !left)
        return std::nullopt;
    QMap<QString, QList<statements::StatementPay>> byName;
    for (const statements::StatementPay &p : *pays)
        byName[p.name] << p;
    QList<YearEndEmployee> employees;
    for (auto it = byName.cbegin(); it != byName.cend(); ++it) {
        const auto declared = yearend::readDeclarations(main, it.key(), year);
        if (!declared)
            return std::nullopt;
        employees << computeEmployee(it.key(), year, it.value(), left->value(it.key()), *declared);
    }
    return employees;
}

} // namespace pelmar::reports
