#pragma once

#include <QString>
#include <QStringList>

namespace pelmar {

// Where the data lives:
// 1. the developer folder while the marker file exists;
// 2. otherwise the program's own folder followed by the data sub-folder (the
//    two texts joined exactly as they are), when that folder holds a data
//    file: a portable copy keeps its data beside it;
// 3. otherwise the user's own data folder of the desktop, where an installed
//    program keeps its data;
// 4. without a user folder, the folder beside the program after all.
struct DataFolderRule {
    QString markerFile; // empty: the marker rule is off
    QString developerFolder;
    QString subFolder;
    QString userFolder; // empty: there is no user folder to fall back on
};

// On Windows the marker "c:\qlxdevelop.txt" switches to the developer
// folder; elsewhere the marker rule is off. The user folder is the desktop's
// per-user data folder of the application "Pelmar".
DataFolderRule platformDataFolderRule();

QString DataFolder(const QString &programFolder, const DataFolderRule &rule);

// The folders the rule looks in for the data files, in its order, as the
// user's system writes them: the developer folder while the marker exists,
// else the folder beside the program and then the user folder.
QStringList dataFolderCandidates(const QString &programFolder, const DataFolderRule &rule);

// Whether the folder holds either of the two data files. A folder with only
// one of them still holds data, and is never passed over for another one.
bool holdsDataFile(const QString &folder);

} // namespace pelmar
