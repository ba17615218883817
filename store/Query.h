#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <optional>

namespace pelmar {

// Whether a failed statement's error is also kept for its connection (see
// Failure.h), so that the message of the operation that ran it can say why.
// A check whose failure is its answer (is this file a database at all?)
// keeps nothing: its error would otherwise be told with a later message.
enum class OnFailure { Keep, Answer };

// Every statement a store runs goes through this: prepared, its values bound
// in order (text is never glued into the SQL), executed, its rows read.
// A failure at any of these steps is kept here with the statement that
// failed, and, unless told otherwise, for the connection.
class Query {
public:
    explicit Query(const QSqlDatabase &db, OnFailure onFailure = OnFailure::Keep);

    // Prepares and runs sql with values bound in order.
    bool run(const QString &sql, const QVariantList &values = {});

    // For a statement run for many rows: prepared once, then run with each
    // row's values.
    bool prepare(const QString &sql);
    bool runPrepared(const QVariantList &values);

    // The next row. False at the end and when reading failed; failed() tells
    // which.
    bool next();
    QVariant value(int column) const { return m_query.value(column); }
    // The values of `count` columns of the current row, from `first` on.
    QVariantList values(qsizetype count, qsizetype first = 0) const;

    // Runs sql and reads the first column of its first row: an invalid
    // value when it failed or gave no row.
    QVariant single(const QString &sql, const QVariantList &values = {});
    // Runs sql and reads the first column of every row as text; nothing when
    // it failed or stopped reading half-way.
    std::optional<QStringList> texts(const QString &sql, const QVariantList &values = {});

    bool failed() const { return m_error.isValid(); }
    QSqlError error() const { return m_error; }
    // The statement that failed, as it was given.
    QString failedStatement() const { return m_failedStatement; }

    // Lets go of the rows read so far, and of the lock reading them holds.
    void finish() { m_query.finish(); }

private:
    bool fail(const QString &statement);

    QSqlDatabase m_db;
    QSqlQuery m_query;
    OnFailure m_onFailure;
    QString m_statement;
    QString m_failedStatement;
    QSqlError m_error;
};

} // namespace pelmar
