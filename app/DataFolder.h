#pragma once

#include <QString>

namespace pelmar {

// Where the data lives: the developer folder while the marker file exists,
// otherwise the program's own folder followed by the data sub-folder, the
// two texts joined exactly as they are.
struct DataFolderRule {
    QString markerFile; // empty: the marker rule is off
    QString developerFolder;
    QString subFolder;
};

// On Windows the marker "c:\qlxdevelop.txt" switches to the developer
// folder; elsewhere the marker rule is off and data/ sits beside the program.
DataFolderRule platformDataFolderRule();

QString DataFolder(const QString &programFolder, const DataFolderRule &rule);

} // namespace pelmar
