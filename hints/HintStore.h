#pragma once

#include <QSqlDatabase>
#include <QString>

namespace pelmar::hints {

// The hint texts kept in ClHint of the work database. A hint belongs to one
// window and one of its hint buttons; there is at most one row per pair.
// Both names are bound as values, so any name addresses exactly its own rows.

// Puts the stored text of the pair into *contents and returns true when the
// pair has a row. Without a row (or when the read fails) *contents is left
// as it was.
bool readHint(const QSqlDatabase &work, const QString &formName, const QString &ctlName, QString *contents);

// Replaces the pair's rows by one row holding the window caption and the
// text, all in one transaction: either the old text stays or the new one is
// stored, never both and never neither. Empty names store nothing.
bool storeHint(const QSqlDatabase &work, const QString &formName, const QString &ctlName, const QString &formTitle,
               const QString &contents);

// Removes the pair's rows. Empty names remove nothing.
bool deleteHint(const QSqlDatabase &work, const QString &formName, const QString &ctlName);

} // namespace pelmar::hints
