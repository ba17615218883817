#include "masters/EmployeePayroll.h"

#include "masters/EmployeeInsurance.h"
#include "masters/YearEndDeclarations.h"
#include "store/Database.h"
#include "store/Query.h"
#include "store/Tables.h"

namespace pelmar::employees {

namespace {

const QString kDateFormat = QStringLiteral("yyyyMMdd");

QVariant textOrNull(const QString &text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

QVariant dateOrNull(const QDate &date)
{
    return date.isValid() ? QVariant(date.toString(kDateFormat)) : QVariant();
}

QString basisName(pay::CommuteBasis basis)
{
    switch (basis) {
    case pay::CommuteBasis::PerDay:
        return QStringLiteral("日額");
    case pay::CommuteBasis::PerMonth:
        return QStringLiteral("月額");
    case pay::CommuteBasis::None:
        break;
    }
    return {};
}

EmployeePayroll payrollOfRow(const Query &query)
{
    // In the order of 従業員給与's columns.
    EmployeePayroll payroll;
    payroll.name = query.value(0).toString();
    const QString sex = query.value(1).toString();
    payroll.sex = sex == u"男" || sex == u"女" ? sex : QString();
    pay::PayDetails &details = payroll.details;
    const QString column = query.value(2).toString();
    details.column = column == u"甲" ? pay::TaxColumn::Kou
        : column == u"乙"            ? pay::TaxColumn::Otsu
        : column == u"未設定"        ? pay::TaxColumn::Unset
                                     : pay::TaxColumn::None;
    details.dependants = std::max(0, query.value(3).toInt());
    details.employmentInsured = query.value(4).toInt() == 1;
    details.healthInsurance = query.value(5).toLongLong();
    details.careInsurance = query.value(6).toLongLong();
    details.pension = query.value(7).toLongLong();
    details.residentTax = query.value(8).toLongLong();
    const QString basis = query.value(9).toString();
    details.commute.basis = basis == u"日額" ? pay::CommuteBasis::PerDay
        : basis == u"月額"                   ? pay::CommuteBasis::PerMonth
                                             : pay::CommuteBasis::None;
    details.commute.amount = query.value(10).toLongLong();
    details.commute.nonTaxableLimit =
        query.value(11).isNull() ? pay::kDefaultCommuteLimit : query.value(11).toLongLong();
    payroll.joined = QDate::fromString(query.value(12).toString(), kDateFormat);
    payroll.left = QDate::fromString(query.value(13).toString(), kDateFormat);
    return payroll;
}

std::optional<QList<EmployeePayroll>> payrollsWhere(const QSqlDatabase &main, const QString &tail,
                                                    const QVariantList &values)
{
    Query query(main);
    if (!query.run(selectSql(tables::従業員給与, tables::従業員給与.columns, tail), values))
        return std::nullopt;
    QList<EmployeePayroll> payrolls;
    while (query.next())
        payrolls << payrollOfRow(query);
    if (query.failed())
        return std::nullopt;
    return payrolls;
}

} // namespace

bool isValid(const EmployeePayroll &p)
{
    const pay::PayDetails &d = p.details;
    return !p.name.isEmpty() && d.dependants >= 0 && d.healthInsurance >= 0 && d.careInsurance >= 0 && d.pension >= 0
        && d.residentTax >= 0 && d.commute.amount >= 0 && d.commute.nonTaxableLimit >= 0
        && (!p.joined.isValid() || !p.left.isValid() || p.joined <= p.left);
}

std::optional<std::optional<EmployeePayroll>> readEmployeePayroll(const QSqlDatabase &main, const QString &name)
{
    const auto payrolls = payrollsWhere(main, QStringLiteral("where 氏名 = ?"), {name});
    if (!payrolls)
        return std::nullopt;
    if (payrolls->isEmpty())
        return std::optional<EmployeePayroll>();
    return std::optional<EmployeePayroll>(payrolls->first());
}

std::optional<QList<EmployeePayroll>> employeePayrolls(const QSqlDatabase &main)
{
    return payrollsWhere(main, QStringLiteral("order by 氏名"), {});
}

bool writeEmployeePayroll(const QSqlDatabase &main, const EmployeePayroll &p)
{
    if (!isValid(p))
        return false;
    const pay::PayDetails &d = p.details;
    const QString column = d.column == pay::TaxColumn::Kou ? QStringLiteral("甲")
        : d.column == pay::TaxColumn::Otsu                 ? QStringLiteral("乙")
        : d.column == pay::TaxColumn::Unset                ? QStringLiteral("未設定")
                                                           : QString();
    // In the order of 従業員給与's columns.
    const QVariantList values{p.name,
                              textOrNull(p.sex),
                              textOrNull(column),
                              d.dependants,
                              d.employmentInsured ? 1 : 0,
                              d.healthInsurance,
                              d.careInsurance,
                              d.pension,
                              d.residentTax,
                              textOrNull(basisName(d.commute.basis)),
                              d.commute.amount,
                              d.commute.nonTaxableLimit,
                              dateOrNull(p.joined),
                              dateOrNull(p.left)};
    Transaction transaction(main);
    return transaction.started() && removeEmployeePayroll(main, p.name)
        && insertRow(main, tables::従業員給与, tables::従業員給与.columns, values) && transaction.commit();
}

bool removeEmployeePayroll(const QSqlDatabase &main, const QString &name)
{
    return execBound(main, QStringLiteral("delete from 従業員給与 where 氏名 = ?"), {name});
}

bool followMaster(const QSqlDatabase &main, const QList<std::pair<QString, QString>> &renames)
{
    // The details and the 住民税 of each 年度 go the same way.
    for (const QString &table : {QStringLiteral("従業員給与"), QStringLiteral("住民税月額")}) {
        for (const auto &[from, to] : renames) {
            // A new name that already has rows of its own keeps them.
            if (!execBound(main,
                           QStringLiteral("update %1 set 氏名 = ? where 氏名 = ?"
                                          " and not exists (select 1 from %1 where 氏名 = ?)")
                               .arg(table),
                           {to, from, to}))
                return false;
        }
        if (!execBound(main,
                       QStringLiteral("delete from %1 where 氏名 is null"
                                      " or 氏名 not in (select 氏名 from 従業員 where 氏名 is not null)")
                           .arg(table)))
            return false;
    }
    return followMasterInsurance(main, renames) && yearend::followMaster(main, renames);
}

} // namespace pelmar::employees
