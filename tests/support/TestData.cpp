#include "TestData.h"

#include <QProcess>

#include "store/Database.h"
#include "store/NewInstallation.h"
#include "store/Tables.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlError>
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

Holder::Holder(const QString &path) : m_name(QStringLiteral("holder-") + QString::number(quintptr(this)))
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(path);
    if (!db.open())
        return;
    QSqlQuery begin(db);
    held = begin.exec(QStringLiteral("BEGIN EXCLUSIVE"));
    if (!held)
        qWarning() << "the file could not be held:" << begin.lastError().text();
}

void Holder::release()
{
    if (!QSqlDatabase::contains(m_name))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

bool storeStatement(const QSqlDatabase &main, const QString &name, const QString &title, double wage,
                    const QList<SeedLine> &lines)
{
    double breaks = 0, hours = 0, adjustment = 0, amount = 0;
    QVariant night, overtime, premium, restDay, over60;
    const auto add = [](QVariant &total, const QVariant &value) {
        if (!value.isNull())
            total = total.toDouble() + value.toDouble();
    };
    for (const SeedLine &line : lines) {
        breaks += line.breakHours;
        hours += line.hours;
        adjustment += line.adjustment;
        amount += line.amount;
        add(night, line.night);
        add(overtime, line.overtime);
        add(premium, line.premium);
        add(restDay, line.restDay);
        add(over60, line.over60);
    }
    if (!insertRow(main, tables::時給ヘッダ, tables::時給ヘッダ.columns,
                   {name, title, QStringLiteral("A"), wage, breaks, adjustment, hours, amount, night, overtime, premium,
                    restDay, over60}))
        return false;
    int number = 1;
    for (const SeedLine &line : lines)
        if (!insertRow(main, tables::時給明細, tables::時給明細.columns,
                       {name, title, number++, line.date, line.start, line.end, line.breakHours, line.hours, line.wage,
                        line.adjustment, line.amount, line.night, line.overtime, line.premium, line.restDay,
                        line.over60}))
            return false;
    return true;
}

bool addEmployee(const QSqlDatabase &main, const QVariant &number, const QString &name, double wage)
{
    return insertRow(main, tables::従業員, {QStringLiteral("No"), QStringLiteral("氏名"), QStringLiteral("時給")},
                     {number, name, wage});
}

CsvReadBack readCsvWithPython(const QString &path)
{
    // strict: a stray quote is an error, not a guess.
    static const char *script = R"(import csv, io, json, sys
raw = open(sys.argv[1], 'rb').read()
text = raw.decode('utf-8-sig')
rows = list(csv.reader(io.StringIO(text, newline=''), strict=True))
again = io.StringIO(newline='')
csv.writer(again, lineterminator='\r\n').writerows(rows)
print(json.dumps({'bom': raw.startswith(b'\xef\xbb\xbf'), 'same': again.getvalue() == text, 'rows': rows}))
)";
    CsvReadBack back;
    QProcess python;
    python.start(QStringLiteral("python3"), {QStringLiteral("-c"), QString::fromUtf8(script), path});
    if (!python.waitForStarted()) {
        back.error = QStringLiteral("python3 is missing: scripts/deps installs it");
        return back;
    }
    python.waitForFinished(60000);
    if (python.exitStatus() != QProcess::NormalExit || python.exitCode() != 0) {
        back.error = QString::fromUtf8(python.readAllStandardError());
        return back;
    }
    const QJsonObject result = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    back.ok = true;
    back.bom = result.value(QStringLiteral("bom")).toBool();
    back.sameAsPythonWrites = result.value(QStringLiteral("same")).toBool();
    for (const QJsonValue &row : result.value(QStringLiteral("rows")).toArray()) {
        QStringList fields;
        for (const QJsonValue &field : row.toArray())
            fields << field.toString();
        back.rows << fields;
    }
    return back;
}

} // namespace pelmar::test
