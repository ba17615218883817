#pragma once

#include <QList>
#include <QSqlDatabase>
#include <QString>

namespace pelmar {

// One help text a new installation starts with: the text of one hint button
// of the main window, stored as the hint window would store it.
struct ShippedHint {
    QString formName; // the main window, "FrmPelmar"
    QString ctlName; // the page's hint button
    QString formTitle; // the main window's caption
    QString contents;
};

// The help text of every page's hint button: what the page is for, the
// order of work and its keys. The user may change or delete them like any
// hint text.
QList<ShippedHint> shippedHints();

// Adds them to the ClHint table of a new work file, inside the caller's
// transaction. Files already in use keep the texts they have.
bool addShippedHints(const QSqlDatabase &work, QString *error);

} // namespace pelmar
