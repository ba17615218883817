#include "store/Tables.h"

#include "store/Database.h"

#include <QSqlQuery>

namespace pelmar {

namespace tables {

QList<const Table *> ofMainFile()
{
    return {&従業員, &勤務形態マスタ, &時給ヘッダ, &時給明細, &自社情報, &設定, &締め, &従業員給与, &時給支給, &従業員社会保険, &標準報酬月額,
            &住民税月額, &年末調整申告, &年末調整親族};
}

QList<const Table *> ofWorkFile()
{
    return {&w明細, &w従業員, &w勤務形態, &w勤務形態参照, &w履歴, &ClHint};
}

} // namespace tables

namespace {

QString quoted(const QString &name)
{
    return u'"' + name + u'"';
}

QString placeholders(qsizetype count)
{
    QStringList marks;
    for (qsizetype i = 0; i < count; ++i)
        marks << QStringLiteral("?");
    return marks.join(QStringLiteral(", "));
}

} // namespace

QString columnList(const QStringList &columns)
{
    QStringList names;
    for (const QString &column : columns)
        names << quoted(column);
    return names.join(QStringLiteral(", "));
}

QString selectSql(const Table &table, const QStringList &columns, const QString &tail)
{
    QString sql = QStringLiteral("select %1 from %2").arg(columnList(columns), quoted(table.name));
    if (!tail.isEmpty())
        sql += u' ' + tail;
    return sql;
}

QString insertSql(const Table &table, const QStringList &columns)
{
    return QStringLiteral("insert into %1 (%2) values (%3)")
        .arg(quoted(table.name), columnList(columns), placeholders(columns.size()));
}

QString updateSql(const Table &table, const QStringList &columns, const QString &tail)
{
    QStringList assignments;
    for (const QString &column : columns)
        assignments << quoted(column) + QStringLiteral(" = ?");
    return QStringLiteral("update %1 set %2 %3").arg(quoted(table.name), assignments.join(QStringLiteral(", ")), tail);
}

bool insertRow(const QSqlDatabase &db, const Table &table, const QStringList &columns, const QVariantList &values)
{
    if (values.size() != columns.size())
        return false;
    return execBound(db, insertSql(table, columns), values);
}

} // namespace pelmar
