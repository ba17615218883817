#pragma once

#include <QSqlDatabase>
#include <QStringList>
#include <QVariant>

namespace pelmar::employees {

// The names offered in the statement page's picker, in name order.
QStringList names(const QSqlDatabase &main);

struct WageAndPattern {
    bool found = false;
    QVariant wage;        // 時給 as stored
    QVariant patternType; // 勤務形態 as stored
};

// The first employee of that name.
WageAndPattern find(const QSqlDatabase &main, const QString &name);

} // namespace pelmar::employees
