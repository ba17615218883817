#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariant>

namespace pelmar {

// What the whole program shares while it runs: where the data lives, the two
// open databases, the company's name and details as last read, and the work
// pattern (shift type) last looked up. The main window owns it; the pages
// read and write it.
struct ProgramState {
    QString DataPath;
    QString MainDbPath;
    QString WorkDbPath;
    QSqlDatabase MainDb;
    QSqlDatabase WorkDb;
    QString CompanyName;
    QString CompanyInfo;

    // The shift type being looked up, and what the last lookup found: the
    // stored values (a null field stays null), or empty text for a type the
    // master does not hold.
    QString CurPatternType;
    QVariant PatternStart;
    QVariant PatternEnd;
    QVariant PatternBreak;
    QVariant PatternWorked;
};

} // namespace pelmar
