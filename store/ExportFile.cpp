#include "store/ExportFile.h"

#include "store/Backup.h"
#include "store/Reasons.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QSaveFile>
#include <QStringList>

#include <cstdio>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

namespace pelmar::exportfile {

namespace {

QMutex &protectedMutex()
{
    static QMutex mutex;
    return mutex;
}

QStringList &protectedFolders()
{
    static QStringList folders;
    return folders;
}

// A folder as the file system finally names it; as written when it is gone.
QString resolvedFolder(const QString &folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QFileInfo(folder).absoluteFilePath()) : canonical;
}

bool sameFolder(const QString &a, const QString &b)
{
#ifdef Q_OS_WIN
    return a.compare(b, Qt::CaseInsensitive) == 0;
#else
    return a == b;
#endif
}

// The data folder in use that holds the folder, as the user may look for
// it; empty when there is none.
QString protectedDataFolderHolding(const QString &folder)
{
    QStringList dataFolders;
    {
        const QMutexLocker lock(&protectedMutex());
        dataFolders = protectedFolders();
    }
    for (const QString &data : std::as_const(dataFolders))
        if (sameFolder(folder, resolvedFolder(data)) || sameFolder(folder, resolvedFolder(backup::folderOf(data))))
            return QFileInfo(data).absoluteFilePath();
    return {};
}

// SQLite's own mark at the start of every database file, whatever its name.
bool isDatabaseFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(16) == QByteArray("SQLite format 3", 16);
}

struct Place {
    QString target; // where the file goes, every link followed
    QString refusal; // why it may not; empty when it may
    QString missingFolder; // a new name whose folder is not there: it cannot be written
};

Place refused(const QString &why)
{
    Place place;
    place.refusal = why;
    return place;
}

Place placeOf(const QString &path)
{
    if (path.isEmpty())
        return refused(reasons::noExportName());
    const QFileInfo given(path);
    Place place;
    if (given.exists()) {
        place.target = given.canonicalFilePath();
        const QFileInfo resolved(place.target);
        if (resolved.isDir())
            return refused(reasons::exportIsFolder());
        if (!resolved.isFile())
            return refused(reasons::exportNotRegularFile());
    } else if (given.isSymLink()) {
        // The link would make a file wherever it points; it points nowhere now.
        return refused(reasons::exportLinkLeadsNowhere(QDir::toNativeSeparators(given.symLinkTarget())));
    } else {
        if (given.fileName().isEmpty() || path.endsWith(u'/') || path.endsWith(QDir::separator()))
            return refused(reasons::noExportName());
        const QFileInfo folder(given.absolutePath());
        if (!folder.isDir()) {
            place.missingFolder = given.absolutePath();
            return place;
        }
        place.target = QDir(folder.canonicalFilePath()).filePath(given.fileName());
    }
    const QString dataFolder = protectedDataFolderHolding(QFileInfo(place.target).absolutePath());
    if (!dataFolder.isEmpty())
        return refused(reasons::exportInDataFolder(QDir::toNativeSeparators(dataFolder)));
    if (given.exists() && isDatabaseFile(place.target))
        return refused(reasons::exportOverDatabase());
    return place;
}

bool writeStandardOutput(const QByteArray &bytes, QString *error)
{
#ifdef Q_OS_WIN
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    const bool written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size())
        && std::fflush(stdout) == 0;
    if (!written && error)
        *error = reasons::standardOutputFailed();
    return written;
}

} // namespace

void protectDataFolder(const QString &dataFolder)
{
    if (dataFolder.isEmpty())
        return;
    const QMutexLocker lock(&protectedMutex());
    if (!protectedFolders().contains(dataFolder))
        protectedFolders() << dataFolder;
}

QString refusal(const QString &path)
{
    if (path == kStandardOutput)
        return {};
    return placeOf(path).refusal;
}

bool write(const QString &path, const QByteArray &bytes, QString *error)
{
    if (path == kStandardOutput)
        return writeStandardOutput(bytes, error);
    const Place place = placeOf(path);
    if (!place.refusal.isEmpty() || !place.missingFolder.isEmpty()) {
        if (error)
            *error = !place.refusal.isEmpty()
                ? place.refusal
                : reasons::exportFolderMissing(QDir::toNativeSeparators(place.missingFolder));
        return false;
    }
    QSaveFile file(place.target);
    const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    if (!written && error)
        *error = file.errorString();
    return written;
}

} // namespace pelmar::exportfile
