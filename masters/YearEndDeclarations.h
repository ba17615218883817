#pragma once

#include "calc/YearEnd.h"

#include <QSqlDatabase>
#include <QString>

#include <optional>

// What each employee declared for a year's 年末調整, kept in the main file:
// one row of 年末調整申告 per 氏名 + 年 and the relatives in 年末調整親族. The
// rows follow their employee like the payroll details do: renamed with
// them, deleted with them, and emptied by the bulk delete.
namespace pelmar::yearend {

// Nothing when the read failed; the inner nothing: no 申告書 kept for that year.
std::optional<std::optional<Declarations>> readDeclarations(const QSqlDatabase &main, const QString &name, int year);

// Replaces the employee's 申告書 of the year in one transaction of its own.
// False, with nothing changed, when a figure does not hold (see isValid) or
// the database refuses.
bool writeDeclarations(const QSqlDatabase &main, const QString &name, int year, const Declarations &declared);

// No negative amount, a birth date for the spouse and every relative, and
// no relative without a name.
bool isValid(const Declarations &declared);

// The employee page's registration: each (old, new) rename carries the rows
// over, then every row whose name left the master goes. Inside the
// caller's transaction.
bool followMaster(const QSqlDatabase &main, const QList<std::pair<QString, QString>> &renames);

// How the papers' 障害者 and 寡婦・ひとり親 boxes are stored.
QString disabilityName(Disability disability);
Disability disabilityFromName(const QString &name);

} // namespace pelmar::yearend
