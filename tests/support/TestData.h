#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
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

// The number of rows of a table, or -1 when the query fails.
int rowCount(const QSqlDatabase &db, const QString &table);

// Rows of a query as text, a null shown as "<null>", for whole-table compares.
using Rows = QList<QStringList>;
Rows rows(const QSqlDatabase &db, const QString &sql, const QVariantList &values = {});

} // namespace pelmar::test
