#pragma once

#include <QString>
#include <QStringList>

namespace pelmar {

// The places the help page is looked for, in order: beside the program file
// (a build or a portable copy), then the shared data of the installation the
// program belongs to (<prefix>/share/pelmar/help beside <prefix>/bin), then
// the desktop's shared data folders.
QStringList supportPageCandidates(const QString &programFolder);

// The first of them that exists; empty when there is none.
QString findSupportPage(const QString &programFolder);

} // namespace pelmar
