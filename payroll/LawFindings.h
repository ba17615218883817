#pragma once

#include "calc/Premium.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>

// What the labour law asks of a statement's lines, told before it is stored
// (登録 on the page, the import's preview and the command line alike); the
// statement is stored all the same.
namespace pelmar::statements {

// The findings, a line each: hours of a premium that is off, lines without
// times whose night hours cannot be known, wages below the minimum,
// overtime over the month's 45 or the year's 360 hours (the year's counted
// with the employee's statements stored under other titles). `lines` are
// the values of columns::line each; only those with a date and an amount
// count, as only those are stored.
QStringList lawFindings(const QSqlDatabase &main, const QString &name, const QString &title,
                        const QList<QVariantList> &lines, const premium::Rules &rules);

} // namespace pelmar::statements
