#include "app/FirstStart.h"

#include "messages/ShowMsg.h"
#include "store/NewInstallation.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace pelmar {

namespace {

// The places the question names. A data folder beside an installed program
// (/usr/bin/data) is no place to keep data: it is named only when it is
// there, or when the program's folder is not a system's bin folder and can
// be written to, as a portable copy's can.
QStringList placesToName(const QString &programFolder, const DataFolderRule &rule)
{
    QStringList places = dataFolderCandidates(programFolder, rule);
    const QString beside = QDir::toNativeSeparators(programFolder + rule.subFolder);
    const QFileInfo program(programFolder);
    const bool installed = program.fileName() == QLatin1String("bin") || !program.isWritable();
    if (places.size() > 1 && places.constFirst() == beside && installed && !QFileInfo::exists(beside))
        places.removeFirst();
    return places;
}

} // namespace

FirstStart offerFirstStart(const QString &programFolder, const DataFolderRule &rule, const QString &dataPath)
{
    const bool userFolderChosen =
        !rule.userFolder.isEmpty() && QDir::cleanPath(dataPath) == QDir::cleanPath(rule.userFolder);
    if (!userFolderChosen || holdsDataFile(dataPath))
        return FirstStart::Go;

    if (!ShowMsg(msg::開始新規データ確認, placesToName(programFolder, rule).join(u'\n')))
        return FirstStart::Declined;

    QString error;
    if (createNewInstallation(dataPath, &error))
        return FirstStart::Created;
    // Another start made the files while this one asked: they are opened,
    // and the single-copy rule decides which start runs.
    if (holdsDataFile(dataPath))
        return FirstStart::Go;
    ShowMsg(msg::エラー新規データ作成, error);
    return FirstStart::Failed;
}

} // namespace pelmar
