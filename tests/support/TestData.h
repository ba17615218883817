#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>

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

} // namespace pelmar::test
