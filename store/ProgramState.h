#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariant>

namespace pelmar {

// What the whole program shares while it runs: where the data lives, the two
// open databases, and the company's name and details as last read. The main
// window owns it; the pages read and write it.
struct ProgramState {
    QString DataPath;
    QString MainDbPath;
    QString WorkDbPath;
    QSqlDatabase MainDb;
    QSqlDatabase WorkDb;
    QString CompanyName;
    QString CompanyInfo;
};

} // namespace pelmar
