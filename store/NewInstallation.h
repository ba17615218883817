#pragma once

#include <QString>

namespace pelmar {

// Creates Pelmar.mdb and PelmarWork.mdb with every table in folder (created
// if missing); nothing is in them but the help texts of the hint buttons. Refuses, creating nothing, when either file
// is already there. On failure *error says why and nothing is left behind.
bool createNewInstallation(const QString &folder, QString *error);

} // namespace pelmar
