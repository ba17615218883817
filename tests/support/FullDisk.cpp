#include "FullDisk.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QSqlQuery>

#include <sqlite3.h>

#include <atomic>

namespace pelmar::test {

FileLimit::FileLimit(const QSqlDatabase &db) : m_db(db)
{
    QSqlQuery pages(m_db);
    if (!pages.exec(QStringLiteral("PRAGMA page_count")) || !pages.next())
        return;
    const qint64 count = pages.value(0).toLongLong();
    pages.finish();
    QSqlQuery limit(m_db);
    m_ok = limit.exec(QStringLiteral("PRAGMA max_page_count = %1").arg(count)) && limit.next()
        && limit.value(0).toLongLong() == count;
}

FileLimit::~FileLimit()
{
    if (m_db.isOpen())
        QSqlQuery(m_db).exec(QStringLiteral("PRAGMA max_page_count = 1073741823"));
}

namespace {

// The folder that is full, as SQLite names the files in it, with a
// trailing separator; empty while no folder is full.
QMutex g_lock;
QByteArray g_fullFolder;
std::atomic<int> g_refused{0};

sqlite3_vfs *g_real = nullptr;
sqlite3_vfs g_shim;

struct ShimFile {
    sqlite3_file base;
    sqlite3_file *real;
    const char *name; // valid until the file is closed, as SQLite promises
};

sqlite3_file *realOf(sqlite3_file *file)
{
    return reinterpret_cast<ShimFile *>(file)->real;
}

bool insideFullFolder(const char *name)
{
    if (!name)
        return false;
    const QMutexLocker locker(&g_lock);
    return !g_fullFolder.isEmpty() && QByteArray(name).startsWith(g_fullFolder);
}

int shimClose(sqlite3_file *f)
{
    return realOf(f)->pMethods->xClose(realOf(f));
}
int shimRead(sqlite3_file *f, void *buffer, int amount, sqlite3_int64 offset)
{
    return realOf(f)->pMethods->xRead(realOf(f), buffer, amount, offset);
}
int shimWrite(sqlite3_file *f, const void *buffer, int amount, sqlite3_int64 offset)
{
    sqlite3_file *real = realOf(f);
    if (insideFullFolder(reinterpret_cast<ShimFile *>(f)->name)) {
        sqlite3_int64 size = 0;
        if (real->pMethods->xFileSize(real, &size) != SQLITE_OK || offset + amount > size) {
            ++g_refused;
            return SQLITE_FULL;
        }
    }
    return real->pMethods->xWrite(real, buffer, amount, offset);
}
int shimTruncate(sqlite3_file *f, sqlite3_int64 size)
{
    return realOf(f)->pMethods->xTruncate(realOf(f), size);
}
int shimSync(sqlite3_file *f, int flags)
{
    return realOf(f)->pMethods->xSync(realOf(f), flags);
}
int shimFileSize(sqlite3_file *f, sqlite3_int64 *size)
{
    return realOf(f)->pMethods->xFileSize(realOf(f), size);
}
int shimLock(sqlite3_file *f, int level)
{
    return realOf(f)->pMethods->xLock(realOf(f), level);
}
int shimUnlock(sqlite3_file *f, int level)
{
    return realOf(f)->pMethods->xUnlock(realOf(f), level);
}
int shimCheckReservedLock(sqlite3_file *f, int *out)
{
    return realOf(f)->pMethods->xCheckReservedLock(realOf(f), out);
}
int shimFileControl(sqlite3_file *f, int op, void *arg)
{
    return realOf(f)->pMethods->xFileControl(realOf(f), op, arg);
}
int shimSectorSize(sqlite3_file *f)
{
    return realOf(f)->pMethods->xSectorSize(realOf(f));
}
int shimDeviceCharacteristics(sqlite3_file *f)
{
    return realOf(f)->pMethods->xDeviceCharacteristics(realOf(f));
}
int shimShmMap(sqlite3_file *f, int region, int size, int extend, void volatile **out)
{
    return realOf(f)->pMethods->xShmMap(realOf(f), region, size, extend, out);
}
int shimShmLock(sqlite3_file *f, int offset, int n, int flags)
{
    return realOf(f)->pMethods->xShmLock(realOf(f), offset, n, flags);
}
void shimShmBarrier(sqlite3_file *f)
{
    realOf(f)->pMethods->xShmBarrier(realOf(f));
}
int shimShmUnmap(sqlite3_file *f, int deleteFlag)
{
    return realOf(f)->pMethods->xShmUnmap(realOf(f), deleteFlag);
}
// No memory-mapped reads: every page goes through xRead and xWrite.
int shimFetch(sqlite3_file *, sqlite3_int64, int, void **out)
{
    *out = nullptr;
    return SQLITE_OK;
}
int shimUnfetch(sqlite3_file *, sqlite3_int64, void *)
{
    return SQLITE_OK;
}

const sqlite3_io_methods g_shimMethods = {
    3,
    shimClose,
    shimRead,
    shimWrite,
    shimTruncate,
    shimSync,
    shimFileSize,
    shimLock,
    shimUnlock,
    shimCheckReservedLock,
    shimFileControl,
    shimSectorSize,
    shimDeviceCharacteristics,
    shimShmMap,
    shimShmLock,
    shimShmBarrier,
    shimShmUnmap,
    shimFetch,
    shimUnfetch,
};

int shimOpen(sqlite3_vfs *, sqlite3_filename name, sqlite3_file *file, int flags, int *outFlags)
{
    auto *shim = reinterpret_cast<ShimFile *>(file);
    shim->real = reinterpret_cast<sqlite3_file *>(shim + 1);
    shim->name = name;
    const int rc = g_real->xOpen(g_real, name, shim->real, flags, outFlags);
    shim->base.pMethods = shim->real->pMethods ? &g_shimMethods : nullptr;
    return rc;
}
int shimDelete(sqlite3_vfs *, const char *name, int syncDir)
{
    return g_real->xDelete(g_real, name, syncDir);
}
int shimAccess(sqlite3_vfs *, const char *name, int flags, int *out)
{
    return g_real->xAccess(g_real, name, flags, out);
}
int shimFullPathname(sqlite3_vfs *, const char *name, int size, char *out)
{
    return g_real->xFullPathname(g_real, name, size, out);
}
void *shimDlOpen(sqlite3_vfs *, const char *name)
{
    return g_real->xDlOpen(g_real, name);
}
void shimDlError(sqlite3_vfs *, int size, char *out)
{
    g_real->xDlError(g_real, size, out);
}
void (*shimDlSym(sqlite3_vfs *, void *handle, const char *symbol))(void)
{
    return g_real->xDlSym(g_real, handle, symbol);
}
void shimDlClose(sqlite3_vfs *, void *handle)
{
    g_real->xDlClose(g_real, handle);
}
int shimRandomness(sqlite3_vfs *, int size, char *out)
{
    return g_real->xRandomness(g_real, size, out);
}
int shimSleep(sqlite3_vfs *, int microseconds)
{
    return g_real->xSleep(g_real, microseconds);
}
int shimCurrentTime(sqlite3_vfs *, double *now)
{
    return g_real->xCurrentTime(g_real, now);
}
int shimGetLastError(sqlite3_vfs *, int size, char *out)
{
    return g_real->xGetLastError(g_real, size, out);
}
int shimCurrentTimeInt64(sqlite3_vfs *, sqlite3_int64 *now)
{
    return g_real->xCurrentTimeInt64(g_real, now);
}

} // namespace

bool FullDisk::install()
{
    static bool installed = false;
    if (installed)
        return true;
    g_real = sqlite3_vfs_find(nullptr);
    if (!g_real || g_real->iVersion < 2)
        return false;
    g_shim = sqlite3_vfs{};
    g_shim.iVersion = 2;
    g_shim.szOsFile = int(sizeof(ShimFile)) + g_real->szOsFile;
    g_shim.mxPathname = g_real->mxPathname;
    g_shim.zName = "pelmar-test-full-disk";
    g_shim.xOpen = shimOpen;
    g_shim.xDelete = shimDelete;
    g_shim.xAccess = shimAccess;
    g_shim.xFullPathname = shimFullPathname;
    g_shim.xDlOpen = shimDlOpen;
    g_shim.xDlError = shimDlError;
    g_shim.xDlSym = shimDlSym;
    g_shim.xDlClose = shimDlClose;
    g_shim.xRandomness = shimRandomness;
    g_shim.xSleep = shimSleep;
    g_shim.xCurrentTime = shimCurrentTime;
    g_shim.xGetLastError = shimGetLastError;
    g_shim.xCurrentTimeInt64 = shimCurrentTimeInt64;
    installed = sqlite3_vfs_register(&g_shim, 1) == SQLITE_OK;
    return installed;
}

FullDisk::FullDisk(const QString &folder)
{
    const QMutexLocker locker(&g_lock);
    // SQLite names files by their full path with links resolved.
    QString path = QFileInfo(folder).canonicalFilePath();
    if (path.isEmpty())
        path = QDir::cleanPath(QDir(folder).absolutePath());
    g_fullFolder = path.toUtf8() + '/';
    g_refused = 0;
}

FullDisk::~FullDisk()
{
    const QMutexLocker locker(&g_lock);
    g_fullFolder.clear();
}

int FullDisk::refusedWrites() const
{
    return g_refused;
}

} // namespace pelmar::test
