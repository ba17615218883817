#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <QVariantList>

#include <memory>

namespace pelmar::test {

// A temporary data folder holding the two files of a new installation,
// created from the schema exactly as pelmar-newdata does.
class TestDataFolder {
public:
    TestDataFolder();
    bool isValid() const { return m_ok; }
    QString path() const { return m_dir.path(); }
    QString mainPath() const;
    QString workPath() const;

    // A separate connection to one of the files, for arranging and checking
    // data behind the program's back.
    QSqlDatabase mainDb();
    QSqlDatabase workDb();
    ~TestDataFolder();

private:
    QSqlDatabase connection(const QString &file, const QString &tag);
    QTemporaryDir m_dir;
    bool m_ok = false;
    QStringList m_connections;
};

// Grows `table` of the database at `path` by `rows` rows of long text, so that
// it fills most of the file, then overwrites one page in the middle of the
// file with garbage: the header and the table list stay readable, as a file
// damaged by a bad disk sector can be. The table's first text column gets
// the text; the others stay null. True when the file was damaged.
bool damageMiddlePage(const QString &path, const QString &table, const QString &textColumn, int rows = 20000);

// The number of rows of a table, or -1 when the query fails.
int rowCount(const QSqlDatabase &db, const QString &table);

// Rows of a query as text, a null shown as "<null>", for whole-table compares.
using Rows = QList<QStringList>;
Rows rows(const QSqlDatabase &db, const QString &sql, const QVariantList &values = {});

// The whole content of a file, or "<no file>" when there is none: for
// checking that a file was left exactly as it was.
QByteArray fileBytes(const QString &path);

// Makes a file or folder unchangeable for as long as it lives. The tests run
// as root, who ignores permission bits, but not the immutable attribute:
// with it SQLite meets the same refusals a read-only file or folder gives.
// ok is false where the file system has no such attribute.
struct Immutable {
    explicit Immutable(const QString &path);
    ~Immutable();
    Immutable(const Immutable &) = delete;
    Immutable &operator=(const Immutable &) = delete;
    QString path;
    bool ok = false;
};

// A connection of its own that holds the file with an exclusive lock, as
// another program can, until it is released or goes.
class Holder {
public:
    explicit Holder(const QString &path);
    ~Holder() { release(); }
    Holder(const Holder &) = delete;
    Holder &operator=(const Holder &) = delete;
    void release();
    bool held = false;

private:
    QString m_name;
};

// One day line of a stored statement, as a save writes it.
struct SeedLine {
    QString date; // yyyymmdd
    double hours = 8;
    double amount = 8000;
    double adjustment = 0;
    QVariant night; // null: saved before premiums
    QVariant overtime;
    QVariant premium;
    QVariant restDay; // null: saved before rest-day hours were kept
    QVariant over60;
    double wage = 1000;
    double breakHours = 1;
    QString start = QStringLiteral("0900");
    QString end = QStringLiteral("1800");
};

// Stores a statement as a save leaves it: the header with the wage and the
// lines' totals (a premium total is null when every line's is), and the
// lines numbered from 1 in the order given. False when the database refused.
bool storeStatement(const QSqlDatabase &main, const QString &name, const QString &title, double wage,
                    const QList<SeedLine> &lines);
bool addEmployee(const QSqlDatabase &main, const QVariant &number, const QString &name, double wage = 1000);

// A CSV file as Python's csv module reads it: a parser that is not ours.
struct CsvReadBack {
    bool ok = false;
    QString error; // why Python could not read it
    bool bom = false; // starts with the UTF-8 byte-order mark
    // Python's own RFC 4180 writer, quoting only what must be quoted and
    // ending each record in CRLF, writes the very same text back.
    bool sameAsPythonWrites = false;
    QList<QStringList> rows;
};
CsvReadBack readCsvWithPython(const QString &path);

} // namespace pelmar::test
