#include "masters/EmployeeStore.h"

#include "masters/EmployeePayroll.h"

#include "store/Database.h"
#include "store/Failure.h"
#include "store/PageRows.h"
#include "store/Query.h"
#include "store/Tables.h"

#include <QSet>

#include <algorithm>

namespace pelmar::employees {

namespace {

const QString kInPageOrder = QStringLiteral("order by \"No\"");

// `count` numbered rows, none ticked, the employees given over them from the
// top.
PageRows pageRows(int count, const QList<QVariantList> &master)
{
    return numberedRows(tables::w従業員, count, [&master](int number) {
        QVariantList row{number, 0};
        if (number <= master.size())
            return row + master.at(number - 1);
        row.resize(tables::w従業員.columns.size());
        return row;
    });
}

} // namespace

QStringList names(const QSqlDatabase &main)
{
    QStringList result;
    Query query(main);
    if (!query.run(QStringLiteral("select 氏名 from 従業員 order by \"No\", rowid")))
        return result;
    while (query.next())
        if (!query.value(0).isNull())
            result << query.value(0).toString();
    return result;
}

std::optional<WageAndPattern> find(const QSqlDatabase &main, const QString &name)
{
    Query query(main);
    if (!query.run(selectSql(tables::従業員, {QStringLiteral("時給"), QStringLiteral("勤務形態")},
                             QStringLiteral("where 氏名 = ? order by rowid limit 1")),
                   {name})
        || !query.next())
        return std::nullopt;
    return WageAndPattern{query.value(0), query.value(1)};
}

bool resetPage(const QSqlDatabase &work, int rows)
{
    return holdRows(work, pageRows(rows, {}));
}

bool readMaster(const QSqlDatabase &main, const QSqlDatabase &work)
{
    Query master(main);
    if (!master.run(selectSql(tables::従業員, columns::employee, kInPageOrder)))
        return false;
    QList<QVariantList> employees;
    while (master.next())
        employees << master.values(columns::employee.size());
    if (master.failed())
        return false;
    return holdRows(work, pageRows(std::max(kPageRows, int(employees.size()) + kBlankRowsBelow), employees));
}

bool registerPage(const QSqlDatabase &main, const QSqlDatabase &work)
{
    Query page(work);
    if (!page.run(selectSql(tables::w従業員, columns::employee, kInPageOrder)))
        return false;
    // The page showed the master from its first row down; a row whose name
    // changed, to a name the master did not have, from one no row keeps, is
    // a rename, and the employee's payroll details go with it.
    Query before(main);
    if (!before.run(QStringLiteral("select 氏名 from 従業員 ") + kInPageOrder))
        return false;
    QStringList oldNames;
    while (before.next())
        oldNames << before.value(0).toString();
    QList<QVariantList> rows;
    QStringList newNames;
    while (page.next()) {
        rows << page.values(columns::employee.size());
        newNames << page.value(0).toString();
    }
    // A read that stops on an error must not register half the page.
    if (before.failed() || page.failed())
        return false;
    QList<std::pair<QString, QString>> renames;
    for (qsizetype row = 0; row < std::min(oldNames.size(), newNames.size()); ++row) {
        const QString &from = oldNames.at(row);
        const QString &to = newNames.at(row);
        if (!from.isEmpty() && !to.isEmpty() && from != to && !newNames.contains(from) && !oldNames.contains(to))
            renames.append({from, to});
    }
    Transaction transaction(main);
    if (!transaction.started() || !execBound(main, QStringLiteral("delete from 従業員")))
        return false;
    int number = 1;
    for (const QVariantList &row : std::as_const(rows)) {
        if (row.value(0).isNull())
            continue; // blank rows do not reach the master
        if (!insertRow(main, tables::従業員, tables::従業員.columns, QVariantList{number} + row))
            return false;
        ++number;
    }
    return followMaster(main, renames) && transaction.commit();
}

std::optional<int> namesLeavingMaster(const QSqlDatabase &main, const QSqlDatabase &work)
{
    Query page(work);
    if (!page.run(QStringLiteral("select 氏名 from w従業員 where 氏名 is not null")))
        return std::nullopt;
    QSet<QString> onPage;
    while (page.next())
        onPage.insert(page.value(0).toString());
    Query master(main);
    if (page.failed() || !master.run(QStringLiteral("select 氏名 from 従業員")))
        return std::nullopt;
    int leaving = 0;
    while (master.next())
        if (master.value(0).isNull() || !onPage.contains(master.value(0).toString()))
            ++leaving;
    if (master.failed())
        return std::nullopt;
    return leaving;
}

std::optional<TickedDeletion> tickedDeletion(const QSqlDatabase &main, const QSqlDatabase &work)
{
    Query page(work);
    if (!page.run(QStringLiteral("select distinct 氏名 from w従業員 where チェック = -1 and 氏名 is not null")))
        return std::nullopt;
    QStringList ticked;
    while (page.next())
        ticked << page.value(0).toString();
    if (page.failed())
        return std::nullopt;
    TickedDeletion deletion;
    for (const QString &name : std::as_const(ticked)) {
        const QVariant inMaster =
            Query(main).single(QStringLiteral("select count(*) from 従業員 where 氏名 = ?"), {name});
        const QVariant details =
            Query(main).single(QStringLiteral("select count(*) from 従業員給与 where 氏名 = ?"), {name});
        const QVariant statements =
            Query(main).single(QStringLiteral("select count(*) from 時給ヘッダ where 氏名 = ?"), {name});
        if (!inMaster.isValid() || !details.isValid() || !statements.isValid())
            return std::nullopt;
        if (inMaster.toInt() == 0)
            continue;
        deletion.names << name;
        if (details.toInt() > 0)
            deletion.withDetails << name;
        deletion.statements += statements.toInt();
    }
    return deletion;
}

bool deleteTicked(const QSqlDatabase &main, const QSqlDatabase &work)
{
    QStringList ticked;
    Query query(work);
    if (!query.run(QStringLiteral("select 氏名 from w従業員 where チェック = -1")))
        return false;
    while (query.next())
        if (!query.value(0).isNull())
            ticked << query.value(0).toString();
    if (query.failed())
        return false;
    if (!ticked.isEmpty()) {
        // Without its transaction each delete would stand on its own, and a
        // later failure would leave some of the ticked employees gone.
        Transaction transaction(main);
        if (!transaction.started())
            return false;
        for (const QString &name : std::as_const(ticked))
            if (!execBound(main, QStringLiteral("delete from 従業員 where 氏名 = ?"), {name}))
                return false;
        if (!followMaster(main, {}) || !transaction.commit())
            return false;
    }
    return execBound(work, QStringLiteral("delete from w従業員 where チェック = -1"));
}

bool addForStatement(const QSqlDatabase &main, const QString &name, const QVariant &wage, const QString &patternType,
                     const patterns::PatternTimes &times)
{
    Query last(main);
    if (!last.run(QStringLiteral("select \"No\" from 従業員 order by \"No\" desc limit 1")))
        return false;
    const int number = last.next() && !last.value(0).isNull() ? last.value(0).toInt() + 1 : 1;
    if (last.failed())
        return false;
    // In the order of columns::employee.
    const QVariantList values{name, wage, patternType, times.start, times.end, times.breakHours, times.worked};
    return insertRow(main, tables::従業員, tables::従業員.columns, QVariantList{number} + values);
}

bool setWage(const QSqlDatabase &main, const QString &name, const QVariant &wage)
{
    return execBound(main,
                     QStringLiteral("update 従業員 set 時給 = ? where rowid ="
                                    " (select rowid from 従業員 where 氏名 = ? order by rowid limit 1)"),
                     {wage, name});
}

} // namespace pelmar::employees
