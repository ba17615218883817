#include "payroll/StatementPay.h"

#include "store/Database.h"
#include "store/Query.h"
#include "store/Tables.h"

namespace pelmar::statements {

namespace {

const QString kDateFormat = QStringLiteral("yyyyMMdd");

constexpr const char16_t *kDeductionNames[pay::kDeductionCount] = {u"健康保険", u"介護保険", u"厚生年金",
                                                                   u"雇用保険", u"所得税",   u"住民税"};

QVariant yenOrNull(const std::optional<pay::Yen> &yen)
{
    return yen ? QVariant(*yen) : QVariant();
}

std::optional<pay::Yen> yenOf(const QVariant &value)
{
    if (value.isNull())
        return std::nullopt;
    bool ok = false;
    const qint64 yen = value.toLongLong(&ok);
    return ok ? std::optional<pay::Yen>(yen) : std::nullopt;
}

StatementPay payOfRow(const Query &query)
{
    // In the order of 時給支給's columns.
    StatementPay pay;
    pay.name = query.value(0).toString();
    pay.title = query.value(1).toString();
    pay.kept = true;
    pay.payDate = QDate::fromString(query.value(2).toString(), kDateFormat);
    pay::Yen *const items[] = {&pay.basic,      &pay.overtime, &pay.night, &pay.holiday,
                               &pay.adjustment, &pay.commute,  &pay.gross, &pay.nonTaxableCommute};
    int column = 3;
    for (pay::Yen *item : items)
        *item = query.value(column++).toLongLong();
    for (int d = 0; d < pay::kDeductionCount; ++d)
        pay.deductions[d] = yenOf(query.value(column++));
    pay.other = query.value(column++).toLongLong();
    pay.socialInsurance = yenOf(query.value(column++));
    pay.taxable = yenOf(query.value(column++));
    pay.deductionTotal = yenOf(query.value(column++));
    pay.netPay = yenOf(query.value(column++));
    const QStringList overridden = query.value(column++).toString().split(u',', Qt::SkipEmptyParts);
    for (int d = 0; d < pay::kDeductionCount; ++d)
        pay.overridden[d] = overridden.contains(QString::fromUtf16(kDeductionNames[d]));
    pay.column = columnFromName(query.value(column++).toString()).value_or(pay::TaxColumn::None);
    pay.dependants = query.value(column++).toInt();
    pay.employmentRate = yenOf(query.value(column++));
    return pay;
}

std::optional<QList<StatementPay>> paysWhere(const QSqlDatabase &main, const QString &tail, const QVariantList &values)
{
    Query query(main);
    if (!query.run(selectSql(tables::時給支給, tables::時給支給.columns, tail), values))
        return std::nullopt;
    QList<StatementPay> pays;
    while (query.next())
        pays << payOfRow(query);
    // A read that stops on an error is a failed read, not a short one.
    if (query.failed())
        return std::nullopt;
    return pays;
}

} // namespace

QString deductionName(pay::Deduction deduction)
{
    return QString::fromUtf16(kDeductionNames[pay::index(deduction)]);
}

QString columnName(pay::TaxColumn column)
{
    switch (column) {
    case pay::TaxColumn::Kou:
        return QStringLiteral("甲");
    case pay::TaxColumn::Otsu:
        return QStringLiteral("乙");
    case pay::TaxColumn::Unset:
        return QStringLiteral("未設定");
    case pay::TaxColumn::None:
        break;
    }
    return {};
}

std::optional<pay::TaxColumn> columnFromName(const QString &name)
{
    if (name == u"甲")
        return pay::TaxColumn::Kou;
    if (name == u"乙")
        return pay::TaxColumn::Otsu;
    if (name == u"未設定")
        return pay::TaxColumn::Unset;
    if (name.isEmpty())
        return pay::TaxColumn::None;
    return std::nullopt;
}

StatementPay fromComputed(const QString &name, const QString &title, const pay::PayInput &input,
                          const pay::PayResult &result, std::optional<pay::PartsPerMillion> employmentRate)
{
    StatementPay pay;
    pay.name = name;
    pay.title = title;
    pay.kept = true;
    pay.payDate = input.payDate;
    pay.basic = input.basic;
    pay.overtime = input.overtime;
    pay.night = input.night;
    pay.holiday = input.holiday;
    pay.adjustment = input.adjustment;
    pay.commute = result.commute;
    pay.gross = result.gross;
    pay.nonTaxableCommute = result.nonTaxableCommute;
    pay.deductions = result.deductions;
    pay.overridden = result.overridden;
    pay.other = result.other;
    pay.socialInsurance = result.socialInsurance;
    pay.taxable = result.taxable;
    pay.deductionTotal = result.deductionTotal;
    pay.netPay = result.netPay;
    pay.column = input.details.column;
    pay.dependants = input.details.dependants;
    pay.employmentRate = employmentRate;
    return pay;
}

std::optional<std::optional<StatementPay>> readStatementPay(const QSqlDatabase &main, const QString &name,
                                                            const QString &title)
{
    const auto pays =
        paysWhere(main, QStringLiteral("where 氏名 = ? and タイトル = ? order by rowid limit 1"), {name, title});
    if (!pays)
        return std::nullopt;
    if (pays->isEmpty())
        return std::optional<StatementPay>();
    return std::optional<StatementPay>(pays->first());
}

std::optional<QList<StatementPay>> statementPaysOfTitle(const QSqlDatabase &main, const QString &title)
{
    return paysWhere(main, QStringLiteral("where タイトル = ? order by 氏名, rowid"), {title});
}

std::optional<QList<StatementPay>> statementPaysOfYear(const QSqlDatabase &main, int year)
{
    // 支給日 is yyyymmdd text, so the year's dates lie between its first and last day as text.
    const QString yyyy = QStringLiteral("%1").arg(year, 4, 10, QLatin1Char('0'));
    return paysWhere(main, QStringLiteral("where 支給日 between ? and ? order by 支給日, 氏名, rowid"),
                     {yyyy + QStringLiteral("0101"), yyyy + QStringLiteral("1231")});
}

bool writeStatementPay(QSqlDatabase &main, const StatementPay &pay)
{
    if (!removeStatementPay(main, pay.name, pay.title))
        return false;
    QStringList overridden;
    for (int d = 0; d < pay::kDeductionCount; ++d)
        if (pay.overridden[d])
            overridden << QString::fromUtf16(kDeductionNames[d]);
    QVariantList values{pay.name,
                        pay.title,
                        pay.payDate.isValid() ? QVariant(pay.payDate.toString(kDateFormat)) : QVariant(),
                        pay.basic,
                        pay.overtime,
                        pay.night,
                        pay.holiday,
                        pay.adjustment,
                        pay.commute,
                        pay.gross,
                        pay.nonTaxableCommute};
    for (const auto &deduction : pay.deductions)
        values << yenOrNull(deduction);
    values << pay.other << yenOrNull(pay.socialInsurance) << yenOrNull(pay.taxable) << yenOrNull(pay.deductionTotal)
           << yenOrNull(pay.netPay) << overridden.join(u',');
    const QString column = columnName(pay.column);
    values << (column.isEmpty() ? QVariant() : QVariant(column)) << pay.dependants << yenOrNull(pay.employmentRate);
    return insertRow(main, tables::時給支給, tables::時給支給.columns, values);
}

bool removeStatementPay(const QSqlDatabase &main, const QString &name, const QString &title)
{
    return execBound(main, QStringLiteral("delete from 時給支給 where 氏名 = ? and タイトル = ?"), {name, title});
}

} // namespace pelmar::statements
