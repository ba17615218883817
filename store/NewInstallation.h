#pragma once

#include <QString>

namespace pelmar {

// Creates Pelmar.mdb and PelmarWork.mdb with every table and nothing in them
// in folder (created if missing). Refuses, creating nothing, when either file
// is already there. On failure *error says why and nothing is left behind.
bool createNewInstallation(const QString &folder, QString *error);

} // namespace pelmar
