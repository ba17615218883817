#pragma once

#include "calc/PatternTimes.h"

#include <QSqlDatabase>
#include <QStringList>

#include <optional>

// The shift-type master 勤務形態マスタ: its page (ten rows "A" to "J"), the
// lookups the statement and employee pages rely on, and the reference copy
// behind the employee page's drop-down.
namespace pelmar::patterns {

// The shift-type page always holds ten rows, "A" to "J".
inline constexpr int kPageRows = 10;

// Empties w勤務形態 and prepares rows 1..10 named "A".."J" with no times.
bool resetPage(const QSqlDatabase &work);

// The page as reset, with the master, in its order, over its rows from the
// top; the rows keep their numbers. A master longer than the page shows its
// first ten. A page that already shows all this is not written again.
bool readMaster(const QSqlDatabase &main, const QSqlDatabase &work);

// Replaces the whole master by the page's rows, in one transaction: on any
// failure the master stays exactly as it was.
bool registerPage(const QSqlDatabase &main, const QSqlDatabase &work);

// The times of the first shift type of that name, as stored; nothing when
// the master holds no such type (or cannot be read).
std::optional<PatternTimes> find(const QSqlDatabase &main, const QString &type);

// The types offered in the statement page's picker: those with a start time,
// in the master's order.
QStringList offeredTypes(const QSqlDatabase &main);

// Rebuilds w勤務形態参照 as a copy of the whole master in its order, every
// pattern with or without times, unless it is one already. On failure the
// previous copy stays and the result is false.
bool copyToReference(const QSqlDatabase &main, const QSqlDatabase &work);

} // namespace pelmar::patterns
