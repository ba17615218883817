// What start-up does with a data file it cannot use as it is, decided
// without a window: the data files alone, the questions answered through
// the message answerer.
#include "app/DataFiles.h"
#include "messages/ShowMsg.h"
#include "store/Backup.h"
#include "store/Database.h"
#include "store/ProgramState.h"

#include "../support/TestData.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTest>

using namespace pelmar;
using test::Rows;

namespace {

enum class Damage { Garbage, Emptied, TableMissing, Missing };

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

void damage(const QString &path, Damage how, const QString &table, test::TestDataFolder &data)
{
    switch (how) {
    case Damage::Garbage:
        writeFile(path, QByteArray(8192, 'Z'));
        break;
    case Damage::Emptied:
        writeFile(path, QByteArray());
        break;
    case Damage::TableMissing: {
        QSqlDatabase db = path == data.mainPath() ? data.mainDb() : data.workDb();
        QVERIFY(execBound(db, QStringLiteral("drop table ") + table));
        db.close();
        break;
    }
    case Damage::Missing:
        QVERIFY(QFile::remove(path));
        break;
    }
}

// The files of the folder whose name says they are kept damaged ones.
QStringList keptAside(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*-damaged-*")}, QDir::Files, QDir::Name);
}

QStringList temporaryFiles(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*.tmp")}, QDir::Files | QDir::Hidden);
}

} // namespace

Q_DECLARE_METATYPE(Damage)

class TestStartRepair : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void damagedMainIsOfferedTheNewestSoundBackup_data();
    void damagedMainIsOfferedTheNewestSoundBackup();
    void damagedBackupsArePassedOver();
    void withoutSoundBackupNothingIsOffered_data();
    void withoutSoundBackupNothingIsOffered();
    void mainThatIsNotDamagedIsRefusedAsBefore_data();
    void mainThatIsNotDamagedIsRefusedAsBefore();
    void workFileIsOfferedAnew_data();
    void workFileIsOfferedAnew();
    void workFileAloneIsNeverAnInstallation();

private:
    bool openFiles();
    // Takes a backup of the main file as it is, stamped minutes before now.
    QString backupNow(int minutesAgo, backup::Reason reason);
    Rows employeesOf(const QString &path);

    std::unique_ptr<test::TestDataFolder> m_data;
    std::unique_ptr<ProgramState> m_state;
    std::unique_ptr<DataFiles> m_files;
    QList<MessageRequest> m_asked;
    bool m_yes = true;
};

void TestStartRepair::init()
{
    m_asked.clear();
    m_yes = true;
    setMessageAnswerer([this](const MessageRequest &request) {
        m_asked << request;
        return m_yes;
    });
    m_data = std::make_unique<test::TestDataFolder>();
    QVERIFY(m_data->isValid());
    QSqlDatabase main = m_data->mainDb();
    QVERIFY(execBound(main, QStringLiteral("insert into 従業員 (No, 氏名, 時給) values (1, '山田', 1000)")));
    QVERIFY(
        execBound(main, QStringLiteral("insert into 時給ヘッダ (氏名, タイトル, 合計) values ('山田', '3月', 8000)")));
    QVERIFY(!backupNow(120, backup::Reason::Daily).isEmpty());
    QVERIFY(execBound(main, QStringLiteral("insert into 従業員 (No, 氏名, 時給) values (2, '佐藤', 1100)")));
    QVERIFY(!backupNow(60, backup::Reason::Employees).isEmpty());
    QVERIFY(execBound(main, QStringLiteral("insert into 従業員 (No, 氏名, 時給) values (3, '最新', 1200)")));
    main.close();
    QVERIFY(execBound(m_data->workDb(),
                      QStringLiteral("insert into ClHint values ('FrmPelmar', 'cmdHint', '題', "
                                     "'残したい説明')")));
    m_state = std::make_unique<ProgramState>();
    m_files = std::make_unique<DataFiles>(*m_state);
}

void TestStartRepair::cleanup()
{
    if (m_files)
        m_files->close();
    m_files.reset();
    m_state.reset();
    m_data.reset();
    setMessageAnswerer({});
}

bool TestStartRepair::openFiles()
{
    return m_files->open(m_data->path());
}

QString TestStartRepair::backupNow(int minutesAgo, backup::Reason reason)
{
    const QString name = QStringLiteral("backup-source");
    QString path;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(m_data->mainPath());
        if (db.open())
            path =
                backup::take(db, m_data->path(), reason, QDateTime::currentDateTime().addSecs(-60 * minutesAgo)).path;
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return path;
}

Rows TestStartRepair::employeesOf(const QString &path)
{
    const QString name = QStringLiteral("employees-of");
    Rows result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (db.open())
            result = test::rows(db, QStringLiteral("select 氏名 from 従業員 order by \"No\""));
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

void TestStartRepair::damagedMainIsOfferedTheNewestSoundBackup_data()
{
    QTest::addColumn<Damage>("how");
    QTest::addColumn<bool>("yes");
    for (const bool yes : {true, false}) {
        const char *answer = yes ? "Yes" : "No";
        QTest::addRow("not a database, %s", answer) << Damage::Garbage << yes;
        QTest::addRow("emptied by a crash, %s", answer) << Damage::Emptied << yes;
        QTest::addRow("a table gone, %s", answer) << Damage::TableMissing << yes;
    }
}

// Yes puts the newest backup in place and starts on it, the damaged file
// kept byte for byte under its own name; No leaves everything as it was.
void TestStartRepair::damagedMainIsOfferedTheNewestSoundBackup()
{
    QFETCH(Damage, how);
    QFETCH(bool, yes);
    const QString main = m_data->mainPath();
    damage(main, how, QStringLiteral("時給明細"), *m_data);
    const QByteArray damaged = test::fileBytes(main);
    m_yes = yes;

    QCOMPARE(openFiles(), yes);
    QVERIFY(!m_asked.isEmpty());
    const MessageRequest &question = m_asked.first();
    QCOMPARE(question.subKey, QStringLiteral("起動時破損確認"));
    QCOMPARE(question.style, MessageStyle::ConfirmDefaultNo);
    // The question names the file, and the backup by when, why and what it holds.
    QVERIFY2(question.prompt.contains(QDir::toNativeSeparators(main)), qPrintable(question.prompt));
    QVERIFY2(question.prompt.contains(backup::reasonText(backup::Reason::Employees) + QStringLiteral("のバックアップ")),
             qPrintable(question.prompt));
    QVERIFY2(question.prompt.contains(QStringLiteral("従業員 2 名、明細 1 件")), qPrintable(question.prompt));
    for (const QString &never : {QStringLiteral("削除して"), QStringLiteral("消して"), QStringLiteral("置き換えて")})
        QVERIFY2(!question.prompt.contains(never), qPrintable(question.prompt));
    QVERIFY(temporaryFiles(m_data->path()).isEmpty());

    if (!yes) {
        QCOMPARE(m_asked.size(), 1);
        QCOMPARE(test::fileBytes(main), damaged);
        QVERIFY(keptAside(m_data->path()).isEmpty());
        QVERIFY2(m_files->openError().contains(QDir::toNativeSeparators(main)), qPrintable(m_files->openError()));
        return;
    }
    // The program runs on the backup's data.
    QCOMPARE(test::rows(m_state->MainDb, QStringLiteral("select 氏名 from 従業員 order by \"No\"")),
             (Rows{{"山田"}, {"佐藤"}}));
    const QStringList aside = keptAside(m_data->path());
    QCOMPARE(aside.size(), 1);
    QVERIFY2(aside.first().startsWith(QStringLiteral("Pelmar-damaged-")), qPrintable(aside.first()));
    QCOMPARE(test::fileBytes(QDir(m_data->path()).filePath(aside.first())), damaged);
    QCOMPARE(m_asked.size(), 2);
    QCOMPARE(m_asked.at(1).subKey, QStringLiteral("破損復元完了"));
    QVERIFY2(m_asked.at(1).prompt.contains(aside.first()), qPrintable(m_asked.at(1).prompt));
    // No backup was made of the damaged file, nor any removed.
    QCOMPARE(backup::list(m_data->path()).size(), 2);
}

// A backup that does not read back whole is no backup to start from.
void TestStartRepair::damagedBackupsArePassedOver()
{
    const QList<backup::Info> backups = backup::list(m_data->path());
    QCOMPARE(backups.size(), 2);
    QVERIFY(test::damageMiddlePage(backups.first().path, QStringLiteral("時給明細"), QStringLiteral("氏名"), 3000));
    damage(m_data->mainPath(), Damage::Garbage, {}, *m_data);
    QVERIFY(openFiles());
    QVERIFY2(
        m_asked.first().prompt.contains(backup::reasonText(backup::Reason::Daily) + QStringLiteral("のバックアップ")),
        qPrintable(m_asked.first().prompt));
    QVERIFY2(m_asked.first().prompt.contains(QStringLiteral("従業員 1 名")), qPrintable(m_asked.first().prompt));
    QCOMPARE(test::rows(m_state->MainDb, QStringLiteral("select 氏名 from 従業員")), (Rows{{"山田"}}));
}

void TestStartRepair::withoutSoundBackupNothingIsOffered_data()
{
    QTest::addColumn<bool>("damagedBackups");
    QTest::newRow("no backup folder") << false;
    QTest::newRow("every backup damaged") << true;
}

void TestStartRepair::withoutSoundBackupNothingIsOffered()
{
    QFETCH(bool, damagedBackups);
    const QString folder = backup::folderOf(m_data->path());
    if (damagedBackups) {
        for (const backup::Info &info : backup::list(m_data->path()))
            writeFile(info.path, QByteArray(4096, 'Z'));
    } else {
        QVERIFY(QDir(folder).removeRecursively());
    }
    damage(m_data->mainPath(), Damage::Garbage, {}, *m_data);
    const QByteArray damaged = test::fileBytes(m_data->mainPath());

    QVERIFY(!openFiles());
    QVERIFY(m_asked.isEmpty());
    const QString error = m_files->openError();
    QVERIFY2(error.contains(QStringLiteral("使えるバックアップが見つかりませんでした")), qPrintable(error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(m_data->mainPath())), qPrintable(error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(folder)), qPrintable(error));
    QCOMPARE(test::fileBytes(m_data->mainPath()), damaged);
    QVERIFY(keptAside(m_data->path()).isEmpty());
    const QStringList connections = QSqlDatabase::connectionNames();
    QVERIFY(std::none_of(connections.begin(), connections.end(),
                         [](const QString &name) { return name.startsWith(QLatin1String("pelmar-")); }));
}

void TestStartRepair::mainThatIsNotDamagedIsRefusedAsBefore_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("reasonPart");
    QTest::newRow("missing") << "missing"
                             << "ファイルがありません";
    QTest::newRow("held by another program") << "locked"
                                             << "別のプログラムが使用中";
    QTest::newRow("from a newer Pelmar") << "newer"
                                         << "新しい版の Pelmar";
}

// Only a damaged file is offered a backup: a locked, newer or missing one
// has nothing wrong inside that a backup would mend.
void TestStartRepair::mainThatIsNotDamagedIsRefusedAsBefore()
{
    QFETCH(QString, fault);
    QFETCH(QString, reasonPart);
    const QString main = m_data->mainPath();
    QSqlDatabase holder;
    if (fault == QLatin1String("missing")) {
        QVERIFY(QFile::remove(main));
    } else if (fault == QLatin1String("locked")) {
        holder = m_data->mainDb();
        QVERIFY(QSqlQuery(holder).exec(QStringLiteral("BEGIN EXCLUSIVE")));
    } else {
        QVERIFY(execBound(m_data->mainDb(), QStringLiteral("PRAGMA user_version = %1").arg(kMainSchemaVersion + 1)));
    }
    const QByteArray before = test::fileBytes(main);
    QVERIFY(!openFiles());
    QVERIFY(m_asked.isEmpty());
    QVERIFY2(m_files->openError().contains(reasonPart), qPrintable(m_files->openError()));
    QCOMPARE(test::fileBytes(main), before);
    QVERIFY(keptAside(m_data->path()).isEmpty());
    if (holder.isOpen())
        QSqlQuery(holder).exec(QStringLiteral("ROLLBACK"));
}

void TestStartRepair::workFileIsOfferedAnew_data()
{
    QTest::addColumn<Damage>("how");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<int>("hintsKept");
    for (const bool yes : {true, false}) {
        const char *answer = yes ? "Yes" : "No";
        QTest::addRow("missing, %s", answer) << Damage::Missing << yes << 0;
        QTest::addRow("not a database, %s", answer) << Damage::Garbage << yes << 0;
        QTest::addRow("a table gone, hints readable, %s", answer) << Damage::TableMissing << yes << 1;
    }
}

// Yes makes the work file new, keeping the hints it can still read and the
// old file under its own name; the main file is never touched. No leaves
// both files as they were.
void TestStartRepair::workFileIsOfferedAnew()
{
    QFETCH(Damage, how);
    QFETCH(bool, yes);
    QFETCH(int, hintsKept);
    const QString work = m_data->workPath();
    damage(work, how, QStringLiteral("w履歴"), *m_data);
    const QByteArray damaged = test::fileBytes(work);
    const QByteArray mainBefore = test::fileBytes(m_data->mainPath());
    m_yes = yes;

    QCOMPARE(openFiles(), yes);
    QVERIFY(!m_asked.isEmpty());
    QCOMPARE(m_asked.first().subKey, QStringLiteral("作業ファイル作成確認"));
    QCOMPARE(m_asked.first().style, MessageStyle::ConfirmDefaultNo);
    QVERIFY2(m_asked.first().prompt.contains(QDir::toNativeSeparators(work)), qPrintable(m_asked.first().prompt));
    QVERIFY(temporaryFiles(m_data->path()).isEmpty());
    if (!yes) {
        QCOMPARE(m_asked.size(), 1);
        QCOMPARE(test::fileBytes(work), damaged);
        QVERIFY(keptAside(m_data->path()).isEmpty());
        QCOMPARE(test::fileBytes(m_data->mainPath()), mainBefore);
        return;
    }
    // A work file with every table, and the hints that could be read.
    QCOMPARE(schemaProblem(m_state->WorkDb, SchemaKind::Work), QString());
    // The old file's text for its button, over the shipped help; the shipped
    // help for every button, each once.
    const Rows kept = test::rows(m_state->WorkDb,
                                 QStringLiteral("select Contents from ClHint where FormName ="
                                                " 'FrmPelmar' and CtlName = 'cmdHint'"));
    QCOMPARE(kept.size(), 1);
    QCOMPARE(kept.first().first() == QStringLiteral("残したい説明"), hintsKept > 0);
    QCOMPARE(test::rows(m_state->WorkDb,
                        QStringLiteral("select count(*) from (select 1 from ClHint group by"
                                       " FormName, CtlName having count(*) > 1)")),
             (Rows{{"0"}}));
    QVERIFY(test::rowCount(m_state->WorkDb, QStringLiteral("ClHint")) >= 5);
    QCOMPARE(test::rows(m_state->MainDb, QStringLiteral("select count(*) from 従業員")), (Rows{{"3"}}));
    const QStringList aside = keptAside(m_data->path());
    QCOMPARE(aside.size(), how == Damage::Missing ? 0 : 1);
    if (!aside.isEmpty()) {
        QVERIFY2(aside.first().startsWith(QStringLiteral("PelmarWork-damaged-")), qPrintable(aside.first()));
        QCOMPARE(test::fileBytes(QDir(m_data->path()).filePath(aside.first())), damaged);
    }
    QCOMPARE(m_asked.size(), 2);
    QCOMPARE(m_asked.at(1).subKey, QStringLiteral("作業ファイル作成完了"));
    QCOMPARE(m_asked.at(1).prompt.contains(QStringLiteral("引き継げませんでした")), how == Damage::Garbage);
}

// A work file without its main file is refused as it always was: nothing is
// offered and nothing is made.
void TestStartRepair::workFileAloneIsNeverAnInstallation()
{
    QVERIFY(QFile::remove(m_data->mainPath()));
    QVERIFY(QFile::remove(m_data->workPath()));
    QVERIFY(!openFiles());
    QVERIFY(m_asked.isEmpty());
    QVERIFY(!QFile::exists(m_data->mainPath()));
    QVERIFY(!QFile::exists(m_data->workPath()));
}

QTEST_GUILESS_MAIN(TestStartRepair)
#include "tst_startrepair.moc"
