#include "store/Database.h"
#include "store/SchemaVersion.h"

#include "../support/TestData.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
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

// A file of today's layout from before versions counts as version 1. Opening
// it does not stamp it: opening changes a file only when it upgrades it.
void TestSchemaVersion::fileFromBeforeVersionsOpensUnchanged()
{
    QFETCH(bool, mainFile);
    test::TestDataFolder data;
    const QString path = mainFile ? data.mainPath() : data.workPath();
    QVERIFY(execBound(mainFile ? data.mainDb() : data.workDb(), QStringLiteral("PRAGMA user_version = 0")));
    const QByteArray before = bytesOf(path);
    int backups = 0;
    OpenResult opened = openExisting(path, mainFile ? SchemaKind::Main : SchemaKind::Work, QStringLiteral("before"),
                                     [&](const QSqlDatabase &, const QString &) { return ++backups > 0; });
    QVERIFY2(opened.ok(), qPrintable(opened.error));
    QCOMPARE(opened.upgradedFrom, 0);
    QCOMPARE(layoutVersion(storedSchemaVersion(opened.db)), 1);
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

QTEST_GUILESS_MAIN(TestSchemaVersion)
#include "tst_schemaversion.moc"
