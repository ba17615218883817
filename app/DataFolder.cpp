#include "app/DataFolder.h"

#include <QFileInfo>

namespace pelmar {

DataFolderRule platformDataFolderRule()
{
#ifdef Q_OS_WIN
    return {QStringLiteral("c:\\qlxdevelop.txt"), QStringLiteral("c:\\develop4\\Pelmar\\data\\"),
            QStringLiteral("\\data\\")};
#else
    return {QString(), QString(), QStringLiteral("/data/")};
#endif
}

QString DataFolder(const QString &programFolder, const DataFolderRule &rule)
{
    // A file or a folder of that name counts, as a directory lookup would.
    if (!rule.markerFile.isEmpty() && QFileInfo::exists(rule.markerFile))
        return rule.developerFolder;
    return programFolder + rule.subFolder;
}

} // namespace pelmar
