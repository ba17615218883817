#include "app/SupportPage.h"

#include "app/Version.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace pelmar {

namespace {
const QString kInstalledFolder = QStringLiteral("pelmar/help");
}

QStringList supportPageCandidates(const QString &programFolder)
{
    const QDir program(programFolder);
    QStringList places{
        program.filePath(kSupportPageFile),
        QDir::cleanPath(program.filePath(QStringLiteral("../share/") + kInstalledFolder + u'/' + kSupportPageFile))};
    for (const QString &shared : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        places << QDir(shared).filePath(kInstalledFolder + u'/' + kSupportPageFile);
    places.removeDuplicates();
    return places;
}

QString findSupportPage(const QString &programFolder)
{
    for (const QString &place : supportPageCandidates(programFolder))
        if (QFileInfo(place).isFile())
            return place;
    return {};
}

} // namespace pelmar
