#include "app/FirstStart.h"

#include "messages/ShowMsg.h"
#include "store/NewInstallation.h"

#include <QDir>
#include <QStringList>

namespace pelmar {

FirstStart offerFirstStart(const QString &programFolder, const DataFolderRule &rule, const QString &dataPath)
{
    const bool userFolderChosen =
        !rule.userFolder.isEmpty() && QDir::cleanPath(dataPath) == QDir::cleanPath(rule.userFolder);
    if (!userFolderChosen || holdsDataFile(dataPath))
        return FirstStart::Go;

    const QStringList looked = dataFolderCandidates(programFolder, rule);
    if (!ShowMsg(msg::開始新規データ確認, looked.join(u'\n')))
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
