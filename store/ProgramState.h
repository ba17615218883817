#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace pelmar {

// What start-up got ready on a thread of its own while the window's pages
// were built: the work tables that already hold what their pages show first,
// and the pickers' lists as the main file gives them. The window hands them
// to each page's first load, which takes them instead of writing or reading
// again; anything not here a page does itself, as at any other time.
struct ReadyAtStart {
    bool lines = false; // w明細: the empty statement page
    bool history = false; // w履歴: empty
    bool patterns = false; // w勤務形態: the shift-type master
    bool reference = false; // w勤務形態参照: the shift types the pickers offer
    bool employees = false; // w従業員: the employee master
    std::optional<QStringList> names; // the employees, for cmb氏名
    std::optional<QStringList> types; // the shift types, for cmb勤務形態
};

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
