#pragma once

#include <QSqlDatabase>
#include <QString>

namespace pelmar::test {

// Two ways to run out of disk space for real, as SQLite meets it.
//
// FileLimit caps the file of one connection at the pages it has now
// (PRAGMA max_page_count): the next page the connection needs fails with
// SQLITE_FULL, as on a disk with no room left for the file to grow.
//
// FullDisk makes every write that would grow a file inside a folder fail
// with SQLITE_FULL, as the operating system answers on a full disk: a new
// file (a journal, a backup) gets nothing, an existing one can still be
// overwritten where it already has room. It works through a file layer put
// under SQLite for the whole test program (install() once, before any
// connection opens), and the folder is full only while the object lives.
class FileLimit {
public:
    explicit FileLimit(const QSqlDatabase &db);
    ~FileLimit();
    FileLimit(const FileLimit &) = delete;
    FileLimit &operator=(const FileLimit &) = delete;
    bool ok() const { return m_ok; }

private:
    QSqlDatabase m_db;
    bool m_ok = false;
};

class FullDisk {
public:
    // Puts the file layer under SQLite; true when it is in place.
    static bool install();
    explicit FullDisk(const QString &folder);
    ~FullDisk();
    FullDisk(const FullDisk &) = delete;
    FullDisk &operator=(const FullDisk &) = delete;
    // How many writes were refused while this object lived.
    int refusedWrites() const;
};

} // namespace pelmar::test
