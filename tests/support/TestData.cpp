#include "TestData.h"

#include <QProcess>

#include "store/Database.h"
#include "store/NewInstallation.h"
#include "store/Tables.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

namespace pelmar::test {

TestDataFolder::TestDataFolder()
{
    m_ok = m_dir.isValid() && createNewInstallation(m_dir.path(), nullptr);
}

TestDataFolder::~TestDataFolder()
{
    for (const QString &name : std::as_const(m_connections))
        closeConnection(name);
}

QString TestDataFolder::mainPath() const
{
    return QDir(m_dir.path()).filePath(kMainDbFileName);
}

QString TestDataFolder::workPath() const
{
    return QDir(m_dir.path()).filePath(kWorkDbFileName);
}

QSqlDatabase TestDataFolder::connection(const QString &file, const QString &tag)
{
    const QString name = QStringLiteral("test-%1-%2").arg(tag, QUuid::createUuid().toString());
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(file);
    db.open();
    m_connections << name;
    return db;
}

QSqlDatabase TestDataFolder::mainDb()
{
    return connection(mainPath(), QStringLiteral("main"));
}

QSqlDatabase TestDataFolder::workDb()
{
    return connection(workPath(), QStringLiteral("work"));
}

bool damageMiddlePage(const QString &path, const QString &table, const QString &textColumn, int rows)
{
    const QString connection = QStringLiteral("damage-") + QUuid::createUuid().toString();
    bool grown = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        grown = db.open()
            && execBound(db,
                         QStringLiteral("with recursive n(i) as (select 1 union all select i + 1 from n where i < ?)"
                                        " insert into %1 (%2) select hex(zeroblob(100)) || i from n")
                             .arg(columnList({table}), columnList({textColumn})),
                         {rows});
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    if (!grown)
        return false;

    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    // The page size is the big-endian 16-bit number at offset 16 of the header.
    const QByteArray header = file.read(100);
    if (header.size() < 100)
        return false;
    const int pageSize = (uchar(header.at(16)) << 8) | uchar(header.at(17));
    const qint64 pages = file.size() / pageSize;
    if (pageSize < 512 || pages < 20)
        return false;
    return file.seek((pages / 2) * pageSize) && file.write(QByteArray(pageSize, '\xff')) == pageSize;
}

int rowCount(const QSqlDatabase &db, const QString &table)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("select count(*) from \"%1\"").arg(table)) || !query.next())
        return -1;
    return query.value(0).toInt();
}

Rows rows(const QSqlDatabase &db, const QString &sql, const QVariantList &values)
{
    Rows result;
    QSqlQuery query(db);
    query.prepare(sql);
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec())
        return {{QStringLiteral("<query failed>")}};
    while (query.next()) {
        QStringList row;
        for (int i = 0; i < query.record().count(); ++i)
            row << (query.value(i).isNull() ? QStringLiteral("<null>") : query.value(i).toString());
        result << row;
    }
    return result;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return QByteArrayLiteral("<no file>");
    if (!file.open(QIODevice::ReadOnly))
        return QByteArrayLiteral("<unreadable>");
    return file.readAll();
}

Immutable::Immutable(const QString &p) : path(p)
{
    ok = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), path}) == 0;
}

Immutable::~Immutable()
{
    if (ok)
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), path});
}

} // namespace pelmar::test
