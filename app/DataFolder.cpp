#include "app/DataFolder.h"

#include "store/Database.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace pelmar {

namespace {

// The desktop's per-user data folder of the application "Pelmar". It follows
// the application's name, which at this point is still the program file's:
// the data folder's lock records that one, and a later start compares the
// running program with it. So the name is lent for the look-up and given back.
QString perUserDataFolder()
{
    if (!QCoreApplication::instance())
        return {};
    const QString programName = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QStringLiteral("Pelmar"));
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QCoreApplication::setApplicationName(programName);
    return folder;
}

bool markerPresent(const DataFolderRule &rule)
{
    // A file or a folder of that name counts, as a directory lookup would.
    return !rule.markerFile.isEmpty() && QFileInfo::exists(rule.markerFile);
}

// A data folder ends with a separator, as the one beside the program does.
QString asDataFolder(const QString &folder)
{
    if (folder.endsWith(u'/') || folder.endsWith(u'\\'))
        return folder;
    return folder + u'/';
}

} // namespace

DataFolderRule platformDataFolderRule()
{
#ifdef Q_OS_WIN
    return {QStringLiteral("c:\\qlxdevelop.txt"), QStringLiteral("c:\\develop4\\Pelmar\\data\\"),
            QStringLiteral("\\data\\"), perUserDataFolder()};
#else
    return {QString(), QString(), QStringLiteral("/data/"), perUserDataFolder()};
#endif
}

bool holdsDataFile(const QString &folder)
{
    const QDir dir(folder);
    return QFileInfo::exists(dir.filePath(kMainDbFileName)) || QFileInfo::exists(dir.filePath(kWorkDbFileName));
}

QString DataFolder(const QString &programFolder, const DataFolderRule &rule)
{
    if (markerPresent(rule))
        return rule.developerFolder;
    const QString beside = programFolder + rule.subFolder;
    if (rule.userFolder.isEmpty() || holdsDataFile(beside))
        return beside;
    return asDataFolder(rule.userFolder);
}

QStringList dataFolderCandidates(const QString &programFolder, const DataFolderRule &rule)
{
    if (markerPresent(rule))
        return {QDir::toNativeSeparators(rule.developerFolder)};
    QStringList folders{QDir::toNativeSeparators(programFolder + rule.subFolder)};
    if (!rule.userFolder.isEmpty())
        folders << QDir::toNativeSeparators(asDataFolder(rule.userFolder));
    return folders;
}

} // namespace pelmar
