#pragma once

#include <QByteArray>
#include <QString>

// Where a report's file may be written, and writing it there. Every PDF and
// CSV the program writes, from the window or the command line, goes through
// here, so that one mistyped or mis-clicked name can never replace the data:
// no export goes into a data folder in use or its backup folder, onto a
// database file anywhere, onto a folder, a device, a pipe or a socket, or
// through a link that points nowhere. The path is resolved first (every link
// followed) and the file written at the place it resolved to.
namespace pelmar::exportfile {

// The name that stands for standard output.
inline const QString kStandardOutput = QStringLiteral("-");

// From now on no export goes into this data folder or its backup folder.
// The program's window and its command line call this for the folder they
// use; the list only grows.
void protectDataFolder(const QString &dataFolder);

// Why no export may be written at path, in the user's words; empty when one
// may. "-" is standard output and always allowed. A new name in a folder
// that is not there is not refused here: writing it fails and says so.
QString refusal(const QString &path);

// Writes bytes to path whole or not at all: to a file beside the place it
// resolved to, put there only when complete, so a failure leaves an existing
// file as it was. "-" writes them to standard output. Checks refusal() first
// and writes nothing when it refuses. On failure *error says why.
bool write(const QString &path, const QByteArray &bytes, QString *error = nullptr);

} // namespace pelmar::exportfile
