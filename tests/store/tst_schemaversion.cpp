#include "app/DataFiles.h"
#include "store/Backup.h"
#include "store/Database.h"
#include "store/NewInstallation.h"
#include "store/ProgramState.h"
#include "store/SchemaVersion.h"

#include "../support/TestData.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace pelmar;

namespace {

using Outcome = UpgradeResult::Outcome;

// A history of the main file for the tests: a column in version 2, a table
// in version 3. Each step holds more than one statement, so a half-run step
// would show.
const QStringList toVersion2 = {QStringLiteral("alter table 従業員 add column 備考 TEXT"),
                                QStringLiteral("update 従業員 set 備考 = '移行済み'")};
const QStringList toVersion3 = {QStringLiteral("create table 控え履歴 (番号 INTEGER)"),
                                QStringLiteral("insert into 控え履歴 values (3)")};

QList<Upgrade> testSteps(const QString &variant)
{
    if (variant == QLatin1String("failing"))
        return {{2, toVersion2},
                {3,
                 {QStringLiteral("create table 控え履歴 (番号 INTEGER)"),
                  QStringLiteral("insert into 無い表 values (1)")}}};
    if (variant == QLatin1String("gap"))
        return {{3, toVersion3}};
    if (variant == QLatin1String("losing a table"))
        return {{2, toVersion2}, {3, {QStringLiteral("drop table 自社情報")}}};
    return {{2, toVersion2}, {3, toVersion3}};
}

constexpr int kTestCurrent = 3;

int versionIn(test::TestDataFolder &data)
{
    QSqlQuery query(data.mainDb());
    return query.exec(QStringLiteral("PRAGMA user_version")) && query.next() ? query.value(0).toInt() : -1;
}

bool hasColumn(test::TestDataFolder &data, const QString &table, const QString &column)
{
    QSqlQuery query(data.mainDb());
    query.prepare(QStringLiteral("select count(*) from pragma_table_info(?) where name = ?"));
    query.addBindValue(table);
    query.addBindValue(column);
    return query.exec() && query.next() && query.value(0).toInt() == 1;
}

bool hasTable(test::TestDataFolder &data, const QString &table)
{
    return test::rowCount(data.mainDb(), table) >= 0;
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// A main file at `version` with the layout of that version and one employee.
bool prepareMainFile(test::TestDataFolder &data, int version)
{
    QSqlDatabase db = data.mainDb();
    if (!execBound(db, QStringLiteral("insert into 従業員 (氏名) values (?)"), {QStringLiteral("O'Brien")}))
        return false;
    QStringList done;
    if (version >= 2)
        done << toVersion2;
    if (version >= 3)
        done << toVersion3;
    for (const QString &statement : std::as_const(done))
        if (!execBound(db, statement))
            return false;
    return execBound(db, QStringLiteral("PRAGMA user_version = %1").arg(version));
}

// Builds `file` from the layout files of `version` kept with the tests, with
// one saved statement (or one hint text) in it, stamped `stamp`.
bool makeOldFile(const QString &file, bool mainFile, int stamp, int version = 1)
{
    QFile layout(QStringLiteral(PELMAR_TEST_LAYOUTS "/%1-v%2.sql").arg(mainFile ? "main" : "work").arg(version));
    if (!layout.open(QIODevice::ReadOnly))
        return false;
    const QString name = QStringLiteral("version1");
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        ok = db.open();
        for (const QString &statement : sqlStatements(QString::fromUtf8(layout.readAll())))
            ok = ok && execBound(db, statement);
        if (mainFile)
            ok = ok
                && execBound(db,
                             QStringLiteral("insert into 時給ヘッダ (氏名, タイトル, 勤務タイプ, 時給, 休憩, 調整額,"
                                            " 時間, 合計) values ('山田', '4月分', 'A', 1000, 1, 0, 8, 8000)"))
                && execBound(db,
                             QStringLiteral("insert into 時給明細 (氏名, タイトル, 行番号, 日付, 開始時間, 終了時間,"
                                            " 休憩, 時間, 時給, 調整額, 金額) values ('山田', '4月分', 1,"
                                            " '20260401', '0900', '1800', 1, 8, 1000, null, 8000)"));
        else
            ok = ok
                && execBound(db,
                             QStringLiteral("insert into ClHint values ('FrmPelmar', 'cmdHint', 'Pelmar', '残す')"));
        ok = ok && execBound(db, QStringLiteral("PRAGMA user_version = %1").arg(stamp));
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

// Every table of the file with its columns and their types, in order.
QStringList layoutOf(const QSqlDatabase &db)
{
    QStringList layout;
    QSqlQuery tables(db);
    tables.exec(QStringLiteral("select name from sqlite_master where type = 'table' order by name"));
    while (tables.next()) {
        QSqlQuery columns(db);
        columns.prepare(QStringLiteral("select name, type, pk from pragma_table_info(?) order by cid"));
        columns.addBindValue(tables.value(0));
        columns.exec();
        QStringList described;
        while (columns.next())
            described << QStringLiteral("%1 %2%3").arg(columns.value(0).toString(), columns.value(1).toString(),
                                                       columns.value(2).toInt() ? QStringLiteral(" key") : QString());
        layout << tables.value(0).toString() + u'(' + described.join(QStringLiteral(", ")) + u')';
    }
    return layout;
}

} // namespace

class TestSchemaVersion : public QObject {
    Q_OBJECT
private slots:
    void newInstallationCarriesTheVersion();
    void fileFromBeforeVersionsOpensUnchanged_data();
    void fileFromBeforeVersionsOpensUnchanged();
    void newerFileIsRefusedUntouched_data();
    void newerFileIsRefusedUntouched();
    void upgradeSteps_data();
    void upgradeSteps();
    void openingUpgrades_data();
    void openingUpgrades();
    void failedUpgradeCopySaysWhy();
    void realUpgradeReachesTodaysLayout_data();
    void realUpgradeReachesTodaysLayout();
    void openingAFolderOfVersion1BacksUpBothFiles();
    void backupOfAnOlderLayoutIsRestoredUpgraded();
};

void TestSchemaVersion::newInstallationCarriesTheVersion()
{
    test::TestDataFolder data;
    QVERIFY(data.isValid());
    QCOMPARE(storedSchemaVersion(data.mainDb()), kMainSchemaVersion);
    QCOMPARE(storedSchemaVersion(data.workDb()), kWorkSchemaVersion);
}

void TestSchemaVersion::fileFromBeforeVersionsOpensUnchanged_data()
{
    QTest::addColumn<bool>("mainFile");
    QTest::newRow("main") << true;
    QTest::newRow("work") << false;
}

// A file of the current version opens unchanged: opening changes a file only
// when it upgrades it.
void TestSchemaVersion::fileFromBeforeVersionsOpensUnchanged()
{
    QFETCH(bool, mainFile);
    test::TestDataFolder data;
    const QString path = mainFile ? data.mainPath() : data.workPath();
    const QByteArray before = bytesOf(path);
    int backups = 0;
    OpenResult opened = openExisting(path, mainFile ? SchemaKind::Main : SchemaKind::Work, QStringLiteral("before"),
                                     [&](const QSqlDatabase &, const QString &) { return ++backups > 0; });
    QVERIFY2(opened.ok(), qPrintable(opened.error));
    QCOMPARE(opened.upgradedFrom, 0);
    opened.db = QSqlDatabase();
    closeConnection(QStringLiteral("before"));
    QCOMPARE(backups, 0);
    QCOMPARE(bytesOf(path), before);
}

void TestSchemaVersion::newerFileIsRefusedUntouched_data()
{
    QTest::addColumn<bool>("mainFile");
    QTest::addColumn<int>("version");
    QTest::newRow("main, one ahead") << true << kMainSchemaVersion + 1;
    QTest::newRow("work, one ahead") << false << kWorkSchemaVersion + 1;
    QTest::newRow("main, far ahead") << true << 1000;
}

void TestSchemaVersion::newerFileIsRefusedUntouched()
{
    QFETCH(bool, mainFile);
    QFETCH(int, version);
    test::TestDataFolder data;
    const QString path = mainFile ? data.mainPath() : data.workPath();
    QVERIFY(
        execBound(mainFile ? data.mainDb() : data.workDb(), QStringLiteral("PRAGMA user_version = %1").arg(version)));
    const QByteArray before = bytesOf(path);
    int backups = 0;
    const OpenResult opened =
        openExisting(path, mainFile ? SchemaKind::Main : SchemaKind::Work, QStringLiteral("newer"),
                     [&](const QSqlDatabase &, const QString &) { return ++backups > 0; });
    QVERIFY(!opened.ok());
    QVERIFY2(opened.error.contains(QDir::toNativeSeparators(path)), qPrintable(opened.error));
    QVERIFY2(opened.error.contains(QStringLiteral("新しい版の Pelmar で作られています（版 %1）").arg(version)),
             qPrintable(opened.error));
    QVERIFY(!QSqlDatabase::contains(QStringLiteral("newer")));
    QCOMPARE(backups, 0);
    QCOMPARE(bytesOf(path), before);
}

void TestSchemaVersion::upgradeSteps_data()
{
    QTest::addColumn<int>("startVersion");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<int>("backup"); // -1 none given, 0 fails, 1 succeeds
    QTest::addColumn<QString>("checkProblem");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("backupsAsked");
    QTest::addColumn<int>("versionAfter");

    const auto row = [](const char *name, int start, const char *steps, int backup, const char *problem,
                        Outcome outcome, int asked, int after) {
        QTest::newRow(name) << start << QString::fromUtf8(steps) << backup << QString::fromUtf8(problem) << int(outcome)
                            << asked << after;
    };
    row("from 1", 1, "good", 1, "", Outcome::Upgraded, 1, 3);
    row("from before versions", 0, "good", 1, "", Outcome::Upgraded, 1, 3);
    row("from 2", 2, "good", 1, "", Outcome::Upgraded, 1, 3);
    row("current", 3, "good", 1, "", Outcome::UpToDate, 0, 3);
    row("newer", 4, "good", 1, "", Outcome::TooNew, 0, 4);
    row("failing step", 1, "failing", 1, "", Outcome::Failed, 1, 1);
    row("failing backup", 1, "good", 0, "", Outcome::BackupFailed, 1, 1);
    row("no backup", 2, "good", -1, "", Outcome::NoBackup, 0, 2);
    row("step missing", 1, "gap", 1, "", Outcome::Failed, 0, 1);
    row("check refuses", 1, "good", 1, "表がありません", Outcome::Failed, 1, 1);
}

void TestSchemaVersion::upgradeSteps()
{
    QFETCH(int, startVersion);
    QFETCH(QString, steps);
    QFETCH(int, backup);
    QFETCH(QString, checkProblem);
    QFETCH(int, outcome);
    QFETCH(int, backupsAsked);
    QFETCH(int, versionAfter);

    test::TestDataFolder data;
    QVERIFY(prepareMainFile(data, startVersion));
    QSqlDatabase db = data.mainDb();
    int asked = 0;
    std::function<bool()> backupFirst;
    if (backup >= 0)
        backupFirst = [&] {
            ++asked;
            return backup == 1;
        };
    const UpgradeResult result = upgrade(db, testSteps(steps), kTestCurrent, backupFirst, [&] { return checkProblem; });
    QCOMPARE(int(result.outcome), outcome);
    QCOMPARE(result.ok(), outcome == int(Outcome::Upgraded) || outcome == int(Outcome::UpToDate));
    QCOMPARE(asked, backupsAsked);

    // What the file holds, read afresh: each version's layout exactly when
    // the file reached it, and the employee kept.
    QCOMPARE(versionIn(data), versionAfter);
    const int layout = layoutVersion(versionAfter);
    QCOMPARE(hasColumn(data, QStringLiteral("従業員"), QStringLiteral("備考")), layout >= 2);
    QCOMPARE(hasTable(data, QStringLiteral("控え履歴")), layout >= 3);
    QCOMPARE(test::rows(data.mainDb(), QStringLiteral("select 氏名 from 従業員")),
             test::Rows{{QStringLiteral("O'Brien")}});
    if (outcome == int(Outcome::Upgraded)) {
        QCOMPARE(result.fromVersion, layoutVersion(startVersion));
        QCOMPARE(test::rows(data.mainDb(), QStringLiteral("select count(*) from 控え履歴")), test::Rows{{"1"}});
        if (startVersion < 2)
            QCOMPARE(test::rows(data.mainDb(), QStringLiteral("select 備考 from 従業員")),
                     test::Rows{{QStringLiteral("移行済み")}});
    }
    if (outcome == int(Outcome::Failed))
        QVERIFY(!result.error.isEmpty());
}

void TestSchemaVersion::openingUpgrades_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<int>("backup"); // -1 none given, 0 fails, 1 succeeds
    QTest::addColumn<QString>("refusal"); // empty when the file opens upgraded
    QTest::newRow("upgraded after the copy") << "good" << 1 << "";
    QTest::newRow("no way to copy") << "good" << -1 << "控えを取る手段がない";
    QTest::newRow("copy fails") << "good" << 0 << "版 1 から版 3 に更新する前の控えを取れませんでした";
    QTest::newRow("step fails") << "failing" << 1 << "版 1 から版 3 に更新できませんでした";
    QTest::newRow("upgrade loses a table") << "losing a table" << 1 << "表「自社情報」がありません";
}

void TestSchemaVersion::openingUpgrades()
{
    QFETCH(QString, steps);
    QFETCH(int, backup);
    QFETCH(QString, refusal);
    test::TestDataFolder data;
    QVERIFY(prepareMainFile(data, 1));
    const QByteArray before = bytesOf(data.mainPath());

    QStringList reasons;
    bool sawOpenFile = false;
    BackupBeforeUpgrade hook;
    if (backup >= 0)
        hook = [&](const QSqlDatabase &db, const QString &reason) {
            reasons << reason;
            sawOpenFile = db.isOpen();
            return backup == 1;
        };
    OpenResult opened = openExisting(data.mainPath(), SchemaKind::Main, QStringLiteral("upgrading"),
                                     SchemaHistory{kTestCurrent, testSteps(steps)}, hook);
    if (refusal.isEmpty()) {
        QVERIFY2(opened.ok(), qPrintable(opened.error));
        QCOMPARE(opened.upgradedFrom, 1);
        QCOMPARE(storedSchemaVersion(opened.db), kTestCurrent);
        opened.db = QSqlDatabase();
        closeConnection(QStringLiteral("upgrading"));
        QVERIFY(hasTable(data, QStringLiteral("控え履歴")));
    } else {
        QVERIFY(!opened.ok());
        QVERIFY2(opened.error.contains(refusal), qPrintable(opened.error));
        QVERIFY(!QSqlDatabase::contains(QStringLiteral("upgrading")));
        QCOMPARE(bytesOf(data.mainPath()), before);
    }
    if (backup >= 0) {
        QCOMPARE(reasons, QStringList{QStringLiteral("Pelmar.mdb を版 1 から版 3 に更新する前の控え")});
        QVERIFY(sawOpenFile);
    }
}

// An upgrade refused because its copy could not be made says why, and
// leaves the file.
void TestSchemaVersion::failedUpgradeCopySaysWhy()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString mainPath = QDir(folder.path()).filePath(kMainDbFileName);
    QVERIFY(makeOldFile(mainPath, true, 0));
    QVERIFY(makeOldFile(QDir(folder.path()).filePath(kWorkDbFileName), false, 0));
    const QByteArray before = bytesOf(mainPath);
    // The backup folder's name is taken by a file.
    QFile blocker(backup::folderOf(folder.path()));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    ProgramState state;
    DataFiles files(state);
    QVERIFY(!files.open(folder.path()));
    const QString error = files.openError();
    QVERIFY2(error.contains(QStringLiteral("控えを取れませんでした")), qPrintable(error));
    QVERIFY2(error.contains(QStringLiteral("理由: バックアップの保存先")), qPrintable(error));
    QCOMPARE(bytesOf(mainPath), before);
}

void TestSchemaVersion::realUpgradeReachesTodaysLayout_data()
{
    QTest::addColumn<bool>("mainFile");
    QTest::addColumn<int>("stamp");
    QTest::newRow("main, version 1") << true << 1;
    QTest::newRow("main, from before versions") << true << 0;
    QTest::newRow("main, version 2") << true << 2;
    QTest::newRow("main, version 3") << true << 3;
    QTest::newRow("main, version 4") << true << 4;
    QTest::newRow("main, version 5") << true << 5;
    QTest::newRow("work, version 1") << false << 1;
    QTest::newRow("work, from before versions") << false << 0;
    QTest::newRow("work, version 2") << false << 2;
}

// Every older version is taken through the program's own steps to exactly
// the layout a new installation has, keeping what the file held.
void TestSchemaVersion::realUpgradeReachesTodaysLayout()
{
    QFETCH(bool, mainFile);
    QFETCH(int, stamp);
    test::TestDataFolder fresh;
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath(mainFile ? kMainDbFileName : kWorkDbFileName);
    QVERIFY(makeOldFile(path, mainFile, stamp, layoutVersion(stamp)));

    int backups = 0;
    OpenResult opened = openExisting(path, mainFile ? SchemaKind::Main : SchemaKind::Work, QStringLiteral("real"),
                                     [&](const QSqlDatabase &db, const QString &) { return db.isOpen() && ++backups; });
    QVERIFY2(opened.ok(), qPrintable(opened.error));
    QCOMPARE(opened.upgradedFrom, layoutVersion(stamp));
    QCOMPARE(backups, 1);
    QCOMPARE(storedSchemaVersion(opened.db), mainFile ? kMainSchemaVersion : kWorkSchemaVersion);
    QCOMPARE(layoutOf(opened.db), layoutOf(mainFile ? fresh.mainDb() : fresh.workDb()));
    if (mainFile) {
        QCOMPARE(
            test::rows(opened.db, QStringLiteral("select 氏名, タイトル, 合計, 深夜, 時間外, 割増額 from 時給ヘッダ")),
            (test::Rows{{"山田", "4月分", "8000", "<null>", "<null>", "<null>"}}));
        QCOMPARE(test::rows(opened.db, QStringLiteral("select 日付, 金額, 深夜, 時間外, 割増額 from 時給明細")),
                 (test::Rows{{"20260401", "8000", "<null>", "<null>", "<null>"}}));
        QCOMPARE(test::rows(opened.db,
                            QStringLiteral("select h.休日, h.時間外60超, l.休日, l.時間外60超"
                                           " from 時給ヘッダ h, 時給明細 l")),
                 (test::Rows{{"<null>", "<null>", "<null>", "<null>"}}));
        // An upgraded file keeps the settings it had: none, the premiums off.
        QCOMPARE(test::rows(opened.db, QStringLiteral("select count(*) from 設定")), (test::Rows{{"0"}}));
        // A statement saved before pay was kept has no pay row and nobody has details.
        QCOMPARE(test::rows(opened.db, QStringLiteral("select (select count(*) from 時給支給),"
                                                      " (select count(*) from 従業員給与)")),
                 (test::Rows{{"0", "0"}}));
    } else {
        QCOMPARE(test::rows(opened.db, QStringLiteral("select Contents from ClHint")), (test::Rows{{"残す"}}));
    }
    opened.db = QSqlDatabase();
    closeConnection(QStringLiteral("real"));
}

// The program's opening copies each file, as it was, into the backup folder
// before upgrading it; the work file's copy is not offered for a restore.
void TestSchemaVersion::openingAFolderOfVersion1BacksUpBothFiles()
{
    QTemporaryDir folder;
    QVERIFY(makeOldFile(QDir(folder.path()).filePath(kMainDbFileName), true, 0));
    QVERIFY(makeOldFile(QDir(folder.path()).filePath(kWorkDbFileName), false, 0));
    ProgramState state;
    {
        DataFiles files(state);
        QVERIFY2(files.open(folder.path()), qPrintable(files.openError()));
        QCOMPARE(files.upgradedFiles().size(), 2);
        files.close();
    }
    const QDir backups(backup::folderOf(folder.path()));
    const QStringList mainCopies = backups.entryList({QStringLiteral("Pelmar-*-upgrade.mdb")});
    const QStringList workCopies = backups.entryList({QStringLiteral("PelmarWork-*.mdb")});
    QCOMPARE(mainCopies.size(), 1);
    QCOMPARE(workCopies.size(), 1);
    QCOMPARE(backup::list(folder.path()).size(), 1);
    for (const QString &copy : {mainCopies.first(), workCopies.first()}) {
        const QString name = QStringLiteral("copy");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(backups.filePath(copy));
            QVERIFY(db.open());
            QCOMPARE(storedSchemaVersion(db), 0);
            // The layout before the upgrade: no premium column anywhere.
            QCOMPARE(test::rows(db,
                                QStringLiteral("select count(*) from sqlite_master m, pragma_table_info(m.name) c"
                                               " where m.type = 'table' and c.name = '深夜'")),
                     test::Rows{{"0"}});
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
}

// A backup taken before the upgrade holds the old layout; restoring it gives
// a copy with today's layout, and the backup stays as it was.
void TestSchemaVersion::backupOfAnOlderLayoutIsRestoredUpgraded()
{
    test::TestDataFolder data;
    const QString old = QDir(data.path()).filePath(QStringLiteral("old.mdb"));
    QVERIFY(makeOldFile(old, true, 1));
    const QByteArray before = bytesOf(old);
    const backup::Outcome prepared = backup::prepareRestore(old, data.mainPath());
    QVERIFY2(prepared.ok(), qPrintable(prepared.error));
    QCOMPARE(bytesOf(old), before);
    const QString name = QStringLiteral("restored");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(prepared.path);
        QVERIFY(db.open());
        QCOMPARE(storedSchemaVersion(db), kMainSchemaVersion);
        QCOMPARE(layoutOf(db), layoutOf(data.mainDb()));
        QCOMPARE(test::rows(db, QStringLiteral("select 合計 from 時給ヘッダ")), test::Rows{{"8000"}});
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    QFile::remove(prepared.path);
}

QTEST_GUILESS_MAIN(TestSchemaVersion)
#include "tst_schemaversion.moc"
