#include "masters/ResidentTaxStore.h"

#include "masters/NamedValues.h"
#include "store/Database.h"
#include "store/Query.h"
#include "store/Tables.h"

namespace pelmar::employees {

namespace {

constexpr settings::NamedValue<pay::Remainder> kRemainderNames[] = {
    {pay::Remainder::Ordinary, u"普通徴収"},
    {pay::Remainder::Lump, u"一括徴収"},
};

constexpr int kFirstYear = 2000, kLastYear = 2200;
constexpr int kFirstAmount = 3; // the column of June's amount

ResidentTaxRow rowOf(const Query &query)
{
    // In the order of 住民税月額's columns.
    ResidentTaxRow row;
    row.name = query.value(0).toString();
    row.year.fiscalYear = query.value(1).toInt();
    row.year.municipality = query.value(2).toString();
    for (int m = 0; m < pay::kResidentTaxMonths; ++m)
        row.year.amounts[m] = std::max<qint64>(0, query.value(kFirstAmount + m).toLongLong());
    row.year.remainder =
        settings::valueNamed(kRemainderNames, query.value(kFirstAmount + pay::kResidentTaxMonths).toString())
            .value_or(pay::Remainder::Undecided);
    return row;
}

std::optional<QList<ResidentTaxRow>> rowsWhere(const QSqlDatabase &main, const QString &tail,
                                               const QVariantList &values)
{
    Query query(main);
    if (!query.run(selectSql(tables::住民税月額, tables::住民税月額.columns, tail), values))
        return std::nullopt;
    QList<ResidentTaxRow> rows;
    while (query.next())
        rows << rowOf(query);
    if (query.failed())
        return std::nullopt;
    return rows;
}

} // namespace

QString remainderName(pay::Remainder remainder)
{
    return remainder == pay::Remainder::Undecided ? QString() : settings::nameOf(kRemainderNames, remainder);
}

std::optional<std::optional<ResidentTaxRow>> readResidentTax(const QSqlDatabase &main, const QString &name,
                                                             int fiscalYear)
{
    const auto rows = rowsWhere(main, QStringLiteral("where 氏名 = ? and 年度 = ?"), {name, fiscalYear});
    if (!rows)
        return std::nullopt;
    return rows->isEmpty() ? std::optional<ResidentTaxRow>() : std::optional<ResidentTaxRow>(rows->first());
}

std::optional<QList<ResidentTaxRow>> residentTaxesOfYear(const QSqlDatabase &main, int fiscalYear)
{
    return rowsWhere(main, QStringLiteral("where 年度 = ? order by 氏名"), {fiscalYear});
}

bool writeResidentTax(const QSqlDatabase &main, const ResidentTaxRow &row)
{
    const pay::ResidentTaxYear &year = row.year;
    if (row.name.isEmpty() || year.fiscalYear < kFirstYear || year.fiscalYear > kLastYear
        || std::any_of(year.amounts.begin(), year.amounts.end(), [](pay::Yen a) { return a < 0; }))
        return false;
    QVariantList values{row.name, year.fiscalYear, year.municipality.trimmed()};
    for (const pay::Yen amount : year.amounts)
        values << amount;
    const QString remainder = remainderName(year.remainder);
    values << (remainder.isEmpty() ? QVariant() : QVariant(remainder));
    Transaction transaction(main);
    return transaction.started() && removeResidentTax(main, row.name, year.fiscalYear)
        && insertRow(main, tables::住民税月額, tables::住民税月額.columns, values) && transaction.commit();
}

bool removeResidentTax(const QSqlDatabase &main, const QString &name, int fiscalYear)
{
    return execBound(main, QStringLiteral("delete from 住民税月額 where 氏名 = ? and 年度 = ?"), {name, fiscalYear});
}

bool setRemainder(const QSqlDatabase &main, const QString &name, int fiscalYear, pay::Remainder remainder)
{
    const QString stored = remainderName(remainder);
    return execBound(main, QStringLiteral("update 住民税月額 set 退職後 = ? where 氏名 = ? and 年度 = ?"),
                     {stored.isEmpty() ? QVariant() : QVariant(stored), name, fiscalYear});
}

} // namespace pelmar::employees
