#include "store/Database.h"

#include "store/Failure.h"
#include "store/Query.h"
#include "store/Reasons.h"

#include "store/SchemaText.h"

#include <QMutex>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace pelmar {

const char *schemaSql(SchemaKind kind)
{
    return kind == SchemaKind::Main ? kMainSchemaSql : kWorkSchemaSql;
}

QStringList sqlStatements(const QString &script)
{
    QString withoutComments;
    for (const QString &line : script.split(u'\n')) {
        const qsizetype dashes = line.indexOf(QLatin1String("--"));
        withoutComments += (dashes >= 0 ? line.left(dashes) : line) + u'\n';
    }
    QStringList statements;
    for (const QString &part : withoutComments.split(u';')) {
        const QString statement = part.trimmed();
        if (!statement.isEmpty())
            statements << statement;
    }
    return statements;
}

namespace {

struct TableColumns {
    QString table;
    QStringList columns;
};

QList<TableColumns> tablesOf(const QSqlDatabase &db)
{
    // Every table with its columns in one statement: opening runs this on
    // each file at every start.
    QList<TableColumns> result;
    // A file that does not read is told by the caller, as a missing table.
    Query columns(db, OnFailure::Answer);
    if (!columns.run(QStringLiteral("select m.name, c.name from sqlite_master m join pragma_table_info(m.name) c"
                                    " where m.type = 'table' order by m.rowid, c.cid")))
        return result;
    while (columns.next()) {
        const QString table = columns.value(0).toString();
        if (result.isEmpty() || result.last().table != table)
            result << TableColumns{table, {}};
        result.last().columns << columns.value(1).toString();
    }
    return result;
}

// What the schema files say each kind of file must hold, read once from an
// in-memory database built from the same DDL.
const QList<TableColumns> &expectedTables(SchemaKind kind)
{
    // Start-up checks the files on a thread of its own, and the check after
    // start-up on another: the first to need a layout builds it.
    static QMutex lock;
    const QMutexLocker locked(&lock);
    static QList<TableColumns> cache[2];
    static bool filled[2] = {false, false};
    const int slot = kind == SchemaKind::Main ? 0 : 1;
    if (!filled[slot]) {
        const QString name = QStringLiteral("pelmar-schema-") + QUuid::createUuid().toString();
        {
            QSqlDatabase memory = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            memory.setDatabaseName(QStringLiteral(":memory:"));
            if (memory.open()) {
                for (const QString &statement : sqlStatements(QString::fromUtf8(schemaSql(kind))))
                    Query(memory, OnFailure::Answer).run(statement);
                cache[slot] = tablesOf(memory);
                filled[slot] = true;
            }
            memory.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
    return cache[slot];
}

} // namespace

QString schemaProblem(const QSqlDatabase &db, SchemaKind kind)
{
    const QList<TableColumns> present = tablesOf(db);
    for (const TableColumns &wanted : expectedTables(kind)) {
        const auto found = std::find_if(present.begin(), present.end(), [&](const TableColumns &t) {
            return t.table.compare(wanted.table, Qt::CaseInsensitive) == 0;
        });
        if (found == present.end())
            return reasons::missingTable(wanted.table);
        for (const QString &column : wanted.columns) {
            const bool has = std::any_of(found->columns.begin(), found->columns.end(),
                                         [&](const QString &c) { return c.compare(column, Qt::CaseInsensitive) == 0; });
            if (!has)
                return reasons::missingColumn(wanted.table, column);
        }
    }
    return {};
}

void closeConnection(const QString &connectionName)
{
    if (!QSqlDatabase::contains(connectionName))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
}

bool execBound(const QSqlDatabase &db, const QString &sql, const QVariantList &values, QString *error)
{
    Query query(db);
    if (query.run(sql, values))
        return true;
    if (error)
        *error = query.error().text();
    return false;
}

QVariantList rowValues(const QSqlQuery &query, qsizetype count, qsizetype first)
{
    QVariantList values;
    for (qsizetype i = first; i < first + count; ++i)
        values << query.value(int(i));
    return values;
}

Transaction::Transaction(QSqlDatabase db, Lock lock) : m_db(std::move(db))
{
    // A failure kept from an earlier operation is not this one's.
    forgetFailure(m_db);
    if (lock == Lock::Writing) {
        // The driver's own begin() is a deferred BEGIN; its commit() and
        // rollback() end this one as well.
        m_started = m_db.isOpen() && Query(m_db).run(QStringLiteral("BEGIN IMMEDIATE"));
        return;
    }
    m_started = m_db.transaction();
    if (!m_started)
        noteFailure(m_db, m_db.lastError());
}

Transaction::~Transaction()
{
    if (m_started && !m_done)
        m_db.rollback();
}

bool Transaction::commit()
{
    if (!m_started || m_done)
        return false;
    m_done = m_db.commit();
    if (!m_done)
        noteFailure(m_db, m_db.lastError());
    return m_done;
}

} // namespace pelmar
