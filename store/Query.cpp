#include "store/Query.h"

#include "store/Failure.h"

namespace pelmar {

Query::Query(const QSqlDatabase &db, OnFailure onFailure) : m_db(db), m_query(db), m_onFailure(onFailure)
{
    // Every store reads its rows once, front to back.
    m_query.setForwardOnly(true);
}

bool Query::fail(const QString &statement)
{
    m_error = m_query.lastError();
    m_failedStatement = statement;
    if (m_onFailure == OnFailure::Keep)
        noteFailure(m_db, m_error);
    return false;
}

bool Query::prepare(const QString &sql)
{
    m_statement = sql;
    m_error = QSqlError();
    m_failedStatement.clear();
    return m_query.prepare(sql) || fail(sql);
}

bool Query::runPrepared(const QVariantList &values)
{
    m_error = QSqlError();
    m_failedStatement.clear();
    for (qsizetype i = 0; i < values.size(); ++i)
        m_query.bindValue(int(i), values.at(i));
    return m_query.exec() || fail(m_statement);
}

bool Query::run(const QString &sql, const QVariantList &values)
{
    return prepare(sql) && runPrepared(values);
}

bool Query::next()
{
    if (m_query.next())
        return true;
    if (m_query.lastError().isValid())
        fail(m_statement);
    return false;
}

QVariantList Query::values(qsizetype count, qsizetype first) const
{
    QVariantList row;
    for (qsizetype i = first; i < first + count; ++i)
        row << m_query.value(int(i));
    return row;
}

QVariant Query::single(const QString &sql, const QVariantList &values)
{
    if (!run(sql, values) || !next())
        return {};
    return value(0);
}

std::optional<QStringList> Query::texts(const QString &sql, const QVariantList &values)
{
    if (!run(sql, values))
        return std::nullopt;
    QStringList found;
    while (next())
        found << value(0).toString();
    if (failed())
        return std::nullopt;
    return found;
}

} // namespace pelmar
