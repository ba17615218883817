#pragma once

#include <QSqlDatabase>
#include <QStringList>
#include <QVariant>

namespace pelmar {

// Reads of the shift-type master 勤務形態マスタ that the statement and
// employee pages rely on.
namespace patterns {

struct PatternTimes {
    bool found = false;
    QVariant start;
    QVariant end;
    QVariant breakHours;
    QVariant worked;
};

// The first pattern of that type, its fields as stored; found is false when
// the master has none (or cannot be read).
PatternTimes find(const QSqlDatabase &main, const QString &type);

// The types offered in the statement page's picker: those with a start time,
// in the master's order.
QStringList offeredTypes(const QSqlDatabase &main);

// Rebuilds w勤務形態参照 as a copy of the whole master in its order, every
// pattern with or without times. Stops at the first failure and returns false.
bool copyToReference(const QSqlDatabase &main, const QSqlDatabase &work);

} // namespace patterns
} // namespace pelmar
