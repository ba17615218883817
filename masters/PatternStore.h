#pragma once

#include <QSqlDatabase>

namespace pelmar::patternpage {

// The shift-type page always holds ten rows, "A" to "J".
inline constexpr int kPageRows = 10;

// Empties w勤務形態 and prepares rows 1..10 named "A".."J" with no times.
bool resetPage(const QSqlDatabase &work);

// Copies the master, in its order, over the page's rows from the top; the
// rows keep their numbers. A master longer than the page shows its first ten.
bool readMaster(const QSqlDatabase &main, const QSqlDatabase &work);

// Replaces the whole master by the page's rows, in one transaction: on any
// failure the master stays exactly as it was.
bool registerPage(const QSqlDatabase &main, const QSqlDatabase &work);

} // namespace pelmar::patternpage
