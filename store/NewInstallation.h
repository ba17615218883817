#pragma once

#include <QDateTime>
#include <QString>

namespace pelmar {

// Creates Pelmar.mdb and PelmarWork.mdb with every table in folder (created
// if missing); nothing is in them but the help texts of the hint buttons. Refuses, creating nothing, when either file
// is already there. On failure *error says why and nothing is left behind.
bool createNewInstallation(const QString &folder, QString *error);

// Creates PelmarWork.mdb alone in folder (created if missing), the same file
// a new installation gets. Refuses, creating nothing, when it is already
// there. On failure *error says why and nothing is left behind.
bool createWorkFile(const QString &folder, QString *error);

struct WorkFileRenewal {
    QString error; // empty when the new file is in place
    QString keptAside; // where the old file is kept; empty when there was none
    int hintsKept = 0; // hint texts taken over from the old file
    bool hintsLost = false; // the old file's hints could not all be read
    bool ok() const { return error.isEmpty(); }
};

// Puts a new, empty work file in the place of a missing or damaged one. The
// new file is made beside it under a temporary name, takes over every hint
// text the old file still gives, and then takes the old file's name in one
// rename; the old file is kept under a name that says it is damaged, never
// deleted. Nothing of the main file is touched. The work file must be
// closed. On failure the folder holds what it held before.
WorkFileRenewal renewWorkFile(const QString &workPath, const QDateTime &when);

} // namespace pelmar
