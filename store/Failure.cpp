#include "store/Failure.h"

#include "store/Database.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QSqlQuery>
#include <QThread>
#include <QTimer>
#include <QUrl>

namespace pelmar {

namespace {

// SQLite's primary result codes, as the driver reports them.
constexpr int kSqlitePerm = 3;
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
constexpr int kSqliteReadOnly = 8;
constexpr int kSqliteIoErr = 10;
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteFull = 13;
constexpr int kSqliteCantOpen = 14;
constexpr int kSqliteNotADatabase = 26;

// Connections are used from more than one thread (the check after start-up
// has its own), so the kept errors are guarded.
QMutex &failuresLock()
{
    static QMutex lock;
    return lock;
}

QHash<QString, QSqlError> &failures()
{
    static QHash<QString, QSqlError> kept;
    return kept;
}

} // namespace

int sqliteCode(const QSqlError &error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? (code & 0xff) : -1;
}

namespace {

// A statement that met a file another program holds has waited the whole
// busy timeout. An operation runs several (a 読込 reads its tables one by
// one), and each would wait it again while the window stands still: the
// connection stops waiting until the program is back in its event loop, so
// that one operation waits once and then tells.
void stopWaitingForNow(const QSqlDatabase &db)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread() || !db.isOpen())
        return;
    QSqlQuery(db).exec(QStringLiteral("PRAGMA busy_timeout = 0"));
    QTimer::singleShot(0, app, [name = db.connectionName()] {
        if (!QSqlDatabase::contains(name))
            return;
        const QSqlDatabase again = QSqlDatabase::database(name, false);
        if (again.isOpen())
            QSqlQuery(again).exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(kBusyTimeoutMs));
    });
}

} // namespace

void noteFailure(const QSqlDatabase &db, const QSqlError &error)
{
    const int code = sqliteCode(error);
    if (code <= 0)
        return;
    if (code == kSqliteBusyCode || code == kSqliteLockedCode)
        stopWaitingForNow(db);
    const QMutexLocker locker(&failuresLock());
    failures().insert(db.connectionName(), error);
}

QSqlError takeFailure(const QSqlDatabase &db)
{
    const QMutexLocker locker(&failuresLock());
    return failures().take(db.connectionName());
}

void forgetFailure(const QSqlDatabase &db)
{
    const QMutexLocker locker(&failuresLock());
    failures().remove(db.connectionName());
}

QString failureReason(const QSqlError &error, const QString &filePath)
{
    const QFileInfo file(filePath);
    const QString folder = QDir::toNativeSeparators(file.absolutePath());
    const int code = sqliteCode(error);
    // A file made read-only while it was open fails as a write error; what
    // the user can mend is the file's state, so that is what is said.
    const bool writeRefused =
        code == kSqliteIoErr || code == kSqlitePerm || code == kSqliteReadOnly || code == kSqliteCantOpen;
    if (writeRefused && file.exists() && !file.isWritable())
        return QStringLiteral("ファイルが読み取り専用になっているため、書き込めません。ファイルのプロパティで読み取り"
                              "専用を外してから、もう一度操作してください。");
    if (writeRefused && !QFileInfo(file.absolutePath()).isWritable())
        return QStringLiteral("ファイルのあるフォルダー（%1）に書き込めません。フォルダーの読み取り専用を外すか、"
                              "書き込む権限を付けてから、もう一度操作してください。")
            .arg(folder);
    switch (code) {
    case kSqliteFull:
        return diskFullReason(filePath);
    case kSqliteIoErr:
        return QStringLiteral("ディスクへの読み書きに失敗しました。ディスクの故障や、USB メモリー・ネットワークの"
                              "ドライブが外れたことが考えられます。ドライブがつながっていることを確かめてから、"
                              "もう一度操作してください。続けて失敗するときは、パソコンに詳しい方にご相談ください。");
    case kSqliteBusy:
    case kSqliteLocked:
        return QStringLiteral("別のプログラムがこのファイルを使用中です。このファイルを開いているプログラム（表計算"
                              "ソフト、バックアップのソフトなど）を閉じてから、もう一度操作してください。");
    case kSqlitePerm:
    case kSqliteReadOnly:
    case kSqliteCantOpen:
        return QStringLiteral("ファイルか、ファイルのあるフォルダー（%1）に書き込めません。読み取り専用になって"
                              "いないか、書き込む権限があるかを確かめてから、もう一度操作してください。")
            .arg(folder);
    case kSqliteCorrupt:
    case kSqliteNotADatabase:
        if (QFileInfo(filePath).fileName().compare(kWorkDbFileName, Qt::CaseInsensitive) == 0)
            return QStringLiteral("作業用のファイルが壊れています。Pelmar を終了して起動し直すと、作業用のファイルを"
                                  "作り直すかどうかを尋ねます。");
        return QStringLiteral("ファイルが壊れています。これ以上入力や登録をせず、「設定・情報」ページのバックアップ"
                              "から復元してください。");
    default:
        return {};
    }
}

QString diskFullReason(const QString &filePath)
{
    return QStringLiteral("ディスクの空きがありません。このファイルのあるディスク（%1）の空きを増やしてから、"
                          "もう一度操作してください。空きを作るときも、Pelmar のデータファイルとバックアップ"
                          "フォルダーは消さないでください。")
        .arg(QDir::toNativeSeparators(QFileInfo(filePath).absolutePath()));
}

QString failureDetail(const QSqlError &error, const QString &filePath)
{
    if (sqliteCode(error) <= 0)
        return {};
    QString reason = failureReason(error, filePath);
    // Anything else is passed on as the database put it.
    if (reason.isEmpty())
        reason = QStringLiteral("データベースが処理を受け付けませんでした（%1）。").arg(error.text());
    return QStringLiteral("\n\nファイル: %1\n理由: %2").arg(QDir::toNativeSeparators(filePath), reason);
}

QString failureDetail(const QSqlDatabase &db, const QString &filePath)
{
    return failureDetail(takeFailure(db), filePath);
}

QString fileOf(const QSqlDatabase &db)
{
    const QString name = db.databaseName();
    if (name.startsWith(QLatin1String("file:")))
        return QUrl(name).toLocalFile();
    return name;
}

QString failureDetail(const QSqlDatabase &db)
{
    return failureDetail(db, fileOf(db));
}

QString failureDetail(const QSqlDatabase &first, const QSqlDatabase &second)
{
    const QString detail = failureDetail(first);
    const QString other = failureDetail(second);
    return detail.isEmpty() ? other : detail;
}

} // namespace pelmar
