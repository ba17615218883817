#pragma once

#include "app/DataFolder.h"

#include <QString>

namespace pelmar {

// What a start does when it finds no data.
enum class FirstStart {
    Go, // there is data to open, or a file to refuse as opening does
    Created, // a new empty pair was made in the user folder; go on with it
    Declined, // the user said No: nothing was made and the program ends
    Failed, // the pair could not be made; the user was told, the program ends
};

// Runs before anything is opened. When the rule chose the user's own data
// folder and neither data file is there (so none was beside the program
// either), it says where it looked and offers to make a new empty pair in
// that folder, as pelmar-newdata does. A folder that holds either file is
// left to opening, which refuses what it cannot use; nothing is ever made
// beside an existing file. Asked through ShowMsg, so a test answers it.
FirstStart offerFirstStart(const QString &programFolder, const DataFolderRule &rule, const QString &dataPath);

} // namespace pelmar
