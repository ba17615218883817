// Backups through the real window: the day's first start, before the bulk
// delete and the master registrations, and the restore from the settings page.
#include "app/FrmPelmar.h"
#include "masters/EmployeePage.h"
#include "masters/PatternPage.h"
#include "masters/SettingsPage.h"
#include "payroll/MonthClose.h"
#include "statements/HistoryPage.h"
#include "statements/StatementPage.h"
#include "store/Backup.h"
#include "store/Database.h"
#include "widgets/DataGrid.h"

#include "../support/WindowFixture.h"

#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QUuid>

using namespace pelmar;
using test::Rows;

namespace {

enum class Operation { BulkDelete, Employees, ShiftTypes };
enum class Refusal { AnsweredNo, NothingChosen, DamagedBackup, BackupFails };

QByteArray hashOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// Reads a file on a connection of its own, so a replaced file is seen as it
// is now and not through a connection that still holds the old one.
Rows rowsOfFile(const QString &path, const QString &sql)
{
    const QString name = QUuid::createUuid().toString();
    Rows result;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (db.open())
            result = test::rows(db, sql);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

} // namespace

class TestBackups : public test::WindowFixture {
    Q_OBJECT
private slots:
    void dailyBackupOnTheFirstStartOnly();
    void failedDailyBackupIsToldAndTheProgramStarts();
    void damagedFileIsToldAfterTheWindowShows_data();
    void damagedFileIsToldAfterTheWindowShows();
    void backupBeforeChanges_data();
    void backupBeforeChanges();
    void bulkDeleteThenRestoreBringsEverythingBack();
    void oldestBackupCanBeRestored();
    void restoreOverAClosedMonthNamesIt();
    void refusedRestoreLeavesTheFile_data();
    void refusedRestoreLeavesTheFile();
    void leftoversOfCutOffWorkGoAtStart();

private:
    void seed() override;
    QStringList backupReasons() const;
    void blockBackupFolder();
    // Shows the settings page and picks the newest backup of this reason.
    bool chooseBackup(backup::Reason reason);
    const QString statementsSql = QStringLiteral("select 氏名, タイトル, 合計 from 時給ヘッダ order by 氏名, タイトル");
};

void TestBackups::seed()
{
    QVERIFY(execBound(mainDb(), QStringLiteral("insert into 勤務形態マスタ values (1, 'A', '0900', '1800', 1, 8)")));
    const QString employee = QStringLiteral("insert into 従業員 values (?, ?, ?, 'A', '0900', '1800', 1, 8)");
    QVERIFY(execBound(mainDb(), employee, {1, QStringLiteral("山田"), 1000.0}));
    QVERIFY(execBound(mainDb(), employee, {2, QStringLiteral("O'Brien"), 1200.0}));
    QVERIFY(execBound(mainDb(), QStringLiteral("insert into 自社情報 values ('有限会社ペルマー', '東京都')")));
    const QString header = QStringLiteral("insert into 時給ヘッダ (氏名, タイトル, 勤務タイプ, 時給, 休憩, 調整額, "
                                          "時間, 合計) values (?, ?, 'A', ?, 1, 0, 8, ?)");
    const QString line = QStringLiteral(
        "insert into 時給明細 (氏名, タイトル, 行番号, 日付, 開始時間, 終了時間, 休憩, 時間, 時給, 調整額, 金額)"
        " values (?, ?, 1, '20260401', '0900', '1800', 1, 8, ?, 0, ?)");
    const QList<QVariantList> statements{{QStringLiteral("山田"), QStringLiteral("4月"), 1000.0},
                                         {QStringLiteral("山田"), QStringLiteral("5月"), 1000.0},
                                         {QStringLiteral("O'Brien"), QStringLiteral("4月'分"), 1200.0}};
    for (const QVariantList &s : statements) {
        const double amount = s.at(2).toDouble() * 8;
        QVERIFY(execBound(mainDb(), header, {s.at(0), s.at(1), s.at(2), amount}));
        QVERIFY(execBound(mainDb(), line, {s.at(0), s.at(1), s.at(2), amount}));
    }
}

QStringList TestBackups::backupReasons() const
{
    QStringList reasons;
    for (const backup::Info &info : backup::list(window()->state().DataPath))
        reasons << backup::reasonTag(info.reason);
    return reasons;
}

// The backup folder becomes a file, so no backup can be written.
void TestBackups::blockBackupFolder()
{
    const QString folder = backup::folderOf(data().path());
    QVERIFY(QDir(folder).removeRecursively());
    QFile blocker(folder);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
}

bool TestBackups::chooseBackup(backup::Reason reason)
{
    SettingsPage *settings = window()->settingsPage();
    control<QTabWidget>("SSTab1")->setCurrentWidget(settings);
    for (int row = 0; row < control<QTableWidget>("lstBackup")->rowCount(); ++row) {
        if (control<QTableWidget>("lstBackup")->item(row, 1)->text() == backup::reasonText(reason)) {
            control<QTableWidget>("lstBackup")->selectRow(row);
            return true;
        }
    }
    return false;
}

void TestBackups::dailyBackupOnTheFirstStartOnly()
{
    QCOMPARE(backupReasons(), QStringList{QStringLiteral("daily")});
    QVERIFY2(asked().isEmpty(), qPrintable(asked().join(u' ')));
    const backup::Info daily = backup::list(data().path()).first();
    QCOMPARE(daily.taken.date(), QDate::currentDate());
    QCOMPARE(daily.employees, 2);
    QCOMPARE(daily.statements, 3);
    QVERIFY(openWindow());
    QCOMPARE(backupReasons(), QStringList{QStringLiteral("daily")});
}

// A backup, restore or renewal of the work file killed halfway leaves its
// temporary file; the next start removes exactly those, and counts them.
void TestBackups::leftoversOfCutOffWorkGoAtStart()
{
    closeWindow();
    const QDir folder(data().path());
    const QDir backups(backup::folderOf(data().path()));
    QVERIFY(backups.mkpath(QStringLiteral("old")));
    const auto id = [] {
        return QUuid::createUuid().toString(QUuid::WithoutBraces);
    };
    const QStringList leftovers{
        backups.filePath(QStringLiteral(".incomplete-%1.tmp").arg(id())),
        backups.filePath(QStringLiteral(".incomplete-%1.tmp-journal").arg(id())),
        folder.filePath(QStringLiteral("Pelmar.mdb.restore-%1.tmp").arg(id())),
        folder.filePath(QStringLiteral("PelmarWork.mdb.new-%1.tmp-journal").arg(id())),
    };
    // Look-alikes that are not Pelmar's, and its own files in a folder it
    // does not clean.
    const QStringList others{
        backups.filePath(QStringLiteral(".incomplete-notes.tmp")),
        backups.filePath(QStringLiteral("old/.incomplete-%1.tmp").arg(id())),
        backups.filePath(QStringLiteral("Pelmar-20260101-000000-daily.mdb")),
        folder.filePath(QStringLiteral("my-Pelmar.mdb.restore-%1.tmp").arg(id())),
        folder.filePath(QStringLiteral("Pelmar.mdb.restore-%1.tmp.txt").arg(id())),
        folder.filePath(QStringLiteral("memo.tmp")),
    };
    for (const QString &path : leftovers + others) {
        QFile file(path);
        QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
        file.write("12345");
    }
    QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("一時ファイル 4 個（20 バイト）を削除しました")));
    QVERIFY(openWindow());
    QTRY_VERIFY(window()->afterStartWorkDone());
    for (const QString &path : leftovers)
        QVERIFY2(!QFile::exists(path), qPrintable(path));
    for (const QString &path : others)
        QVERIFY2(QFile::exists(path), qPrintable(path));
}

void TestBackups::failedDailyBackupIsToldAndTheProgramStarts()
{
    closeWindow();
    blockBackupFolder();
    clearAsked();
    QVERIFY(openWindow());
    QCOMPARE(asked().size(), 1);
    QVERIFY2(asked().first().startsWith(QStringLiteral("エラー/起動時バックアップ/")), qPrintable(asked().first()));
    // The pages are filled as on any start.
    QCOMPARE(query(workDb(), "select 氏名 from w従業員 where 氏名 is not null order by No"),
             (Rows{{"山田"}, {"O'Brien"}}));
    QCOMPARE(control<QLineEdit>("txt自社名")->text(), QStringLiteral("有限会社ペルマー"));
}

void TestBackups::damagedFileIsToldAfterTheWindowShows_data()
{
    QTest::addColumn<bool>("mainFile");
    QTest::addColumn<QString>("told");
    QTest::addColumn<QStringList>("backupsAfter");
    // A damaged main file is not copied over the kept backups; here there
    // are none to offer in its place. A damaged work file is offered anew.
    QTest::newRow("main file") << true << "エラー/破損バックアップなし/" << QStringList{};
    QTest::newRow("work file") << false << "その他/作業ファイル破損確認/" << QStringList{QStringLiteral("daily")};
}

// Damage in the middle of a file passes the checks of opening; the window
// starts as usual, and the full read after it shows tells the user which
// file is damaged.
void TestBackups::damagedFileIsToldAfterTheWindowShows()
{
    QFETCH(bool, mainFile);
    QFETCH(QString, told);
    QFETCH(QStringList, backupsAfter);
    closeWindow();
    QVERIFY(QDir(backup::folderOf(data().path())).removeRecursively());
    const QString path = mainFile ? data().mainPath() : data().workPath();
    QVERIFY(mainFile ? test::damageMiddlePage(path, QStringLiteral("時給明細"), QStringLiteral("氏名"))
                     : test::damageMiddlePage(path, QStringLiteral("ClHint"), QStringLiteral("Contents")));
    clearAsked();
    answer(false);
    const QByteArray damaged = test::fileBytes(path);

    QVERIFY(openWindow());
    QCOMPARE(asked().size(), 1);
    QVERIFY2(asked().first().startsWith(told + QDir::toNativeSeparators(path) + u'\n'), qPrintable(asked().first()));
    // Never a word about deleting or replacing a file by hand.
    for (const QString &never : {QStringLiteral("削除して"), QStringLiteral("取り替え"), QStringLiteral("置き換えて")})
        QVERIFY2(!requests().first().prompt.contains(never), qPrintable(requests().first().prompt));
    // The pages write to the work file on every start; the main file is
    // left exactly as it was.
    if (mainFile)
        QCOMPARE(test::fileBytes(path), damaged);
    QCOMPARE(backupReasons(), backupsAfter);
    // The pages are filled as on any start.
    QCOMPARE(control<QLineEdit>("txt自社名")->text(), QStringLiteral("有限会社ペルマー"));
    QCOMPARE(control<QTableWidget>("lstBackup")->rowCount(), backupsAfter.size());
}

void TestBackups::backupBeforeChanges_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<bool>("backupWorks");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QString>("check");
    QTest::addColumn<Rows>("before");
    QTest::addColumn<Rows>("after");
    const QString statements = QStringLiteral("select count(*) from 時給ヘッダ");
    const QString wage = QStringLiteral("select 時給 from 従業員 where 氏名 = '山田'");
    const QString start = QStringLiteral("select 開始時間 from 勤務形態マスタ where タイプ = 'A'");
    QTest::newRow("bulk delete") << Operation::BulkDelete << true << "bulk-delete"
                                 << "" << statements << Rows{{"3"}} << Rows{{"0"}};
    QTest::newRow("bulk delete, no backup") << Operation::BulkDelete << false << ""
                                            << "エラー/削除前バックアップ/" << statements << Rows{{"3"}} << Rows{{"3"}};
    QTest::newRow("employees") << Operation::Employees << true << "employees"
                               << "" << wage << Rows{{"1000"}} << Rows{{"5000"}};
    QTest::newRow("employees, no backup") << Operation::Employees << false << ""
                                          << "エラー/登録前バックアップ/" << wage << Rows{{"1000"}} << Rows{{"1000"}};
    QTest::newRow("shift types") << Operation::ShiftTypes << true << "shift-types"
                                 << "" << start << Rows{{"0900"}} << Rows{{"1000"}};
    QTest::newRow("shift types, no backup")
        << Operation::ShiftTypes << false << ""
        << "エラー/登録前バックアップ/" << start << Rows{{"0900"}} << Rows{{"0900"}};
}

// Each change of the main file is preceded by a backup holding the data as
// it was; when the backup cannot be written, the change is refused.
void TestBackups::backupBeforeChanges()
{
    QFETCH(Operation, operation);
    QFETCH(bool, backupWorks);
    QFETCH(QString, reason);
    QFETCH(QString, refusal);
    QFETCH(QString, check);
    QFETCH(Rows, before);
    QFETCH(Rows, after);
    if (!backupWorks)
        blockBackupFolder();
    clearAsked();
    switch (operation) {
    case Operation::BulkDelete:
        QTest::mouseClick(control<QPushButton>("cmd一括削除7"), Qt::LeftButton);
        break;
    case Operation::Employees:
        QVERIFY(execBound(workDb(), QStringLiteral("update w従業員 set 時給 = 5000 where 氏名 = '山田'")));
        QTest::mouseClick(control<QPushButton>("cmd従業員登録"), Qt::LeftButton);
        break;
    case Operation::ShiftTypes:
        QVERIFY(execBound(workDb(), QStringLiteral("update w勤務形態 set 開始時間 = '1000' where タイプ = 'A'")));
        QTest::mouseClick(control<QPushButton>("cmd勤務登録"), Qt::LeftButton);
        break;
    }
    QCOMPARE(query(mainDb(), check), after);
    if (!backupWorks) {
        QVERIFY2(asked().last().startsWith(refusal), qPrintable(asked().join(u' ')));
        return;
    }
    QVERIFY2(!asked().join(u' ').contains(QStringLiteral("エラー")), qPrintable(asked().join(u' ')));
    QCOMPARE(backupReasons(), (QStringList{reason, QStringLiteral("daily")}));
    QCOMPARE(rowsOfFile(backup::list(data().path()).first().path, check), before);
}

// The whole way a shop owner would go: everything deleted by mistake, the
// backup taken before the delete chosen on the settings page, and every
// statement, employee and company detail back without a restart.
void TestBackups::bulkDeleteThenRestoreBringsEverythingBack()
{
    QTest::mouseClick(control<QPushButton>("cmd履歴読込"), Qt::LeftButton);
    const Rows listed = query(workDb(), "select 氏名, タイトル, 合計 from w履歴 order by 氏名, タイトル");
    QCOMPARE(listed.size(), 3);
    const Rows statements = query(mainDb(), statementsSql);
    const Rows lines = query(mainDb(), "select * from 時給明細 order by 氏名, タイトル");

    QTest::mouseClick(control<QPushButton>("cmd一括削除7"), Qt::LeftButton);
    QCOMPARE(test::rowCount(mainDb(), QStringLiteral("時給ヘッダ")), 0);
    QCOMPARE(control<QComboBox>("cmb氏名")->count(), 0);

    QVERIFY(chooseBackup(backup::Reason::BulkDelete));
    QCOMPARE(control<QTableWidget>("lstBackup")->rowCount(), 2);
    clearAsked();
    QTest::mouseClick(control<QPushButton>("cmdバックアップ復元"), Qt::LeftButton);
    QCOMPARE(asked().size(), 2);
    QVERIFY2(asked().at(0).startsWith(QStringLiteral("復元/確認/"))
                 && asked().at(0).endsWith(QStringLiteral("（一括削除前）")),
             qPrintable(asked().at(0)));
    QVERIFY2(asked().at(1).startsWith(QStringLiteral("復元/完了/")), qPrintable(asked().at(1)));

    const QString mainPath = data().mainPath();
    QCOMPARE(rowsOfFile(mainPath, statementsSql), statements);
    QCOMPARE(rowsOfFile(mainPath, QStringLiteral("select * from 時給明細 order by 氏名, タイトル")), lines);
    QCOMPARE(test::rows(window()->state().MainDb, statementsSql), statements);
    // The history page lists every statement again.
    QTest::mouseClick(control<QPushButton>("cmd履歴読込"), Qt::LeftButton);
    QCOMPARE(query(workDb(), "select 氏名, タイトル, 合計 from w履歴 order by 氏名, タイトル"), listed);
    QCOMPARE(control<DataGrid>("Grid履歴")->model()->rowCount(), 3);
    // So do the employee page, the statement page's picker and the company.
    QCOMPARE(query(workDb(), "select 氏名, 時給 from w従業員 where 氏名 is not null order by No"),
             (Rows{{"山田", "1000"}, {"O'Brien", "1200"}}));
    QCOMPARE(query(workDb(), "select タイプ from w勤務形態 where 開始時間 is not null"), (Rows{{"A"}}));
    QCOMPARE(control<QComboBox>("cmb氏名")->count(), 2);
    QCOMPARE(control<QLineEdit>("txt自社名")->text(), QStringLiteral("有限会社ペルマー"));
    // The emptied file was kept before it was replaced.
    QCOMPARE(backupReasons(), (QStringList{"restore", "bulk-delete", "daily"}));
    QCOMPARE(control<QTableWidget>("lstBackup")->rowCount(), 3);
    QCOMPARE(backup::list(data().path()).first().statements, 0);
    // A restored statement opens again.
    control<DataGrid>("Grid履歴")->setCurrentIndex(control<DataGrid>("Grid履歴")->model()->index(0, 0));
    QTest::mouseClick(control<QPushButton>("cmd履歴選択"), Qt::LeftButton);
    QCOMPARE(control<QLineEdit>("txtタイトル")->text(), listed.first().at(1));
}

// A backup from before a month was closed would take the close away and
// change the month's statements: the restore names the month and, on the
// default No, leaves the file as it is. A month the backup holds as it is
// now is not asked about.
void TestBackups::restoreOverAClosedMonthNamesIt()
{
    const QDateTime earlier(QDate(2026, 5, 1), QTime(9, 0));
    QVERIFY(backup::take(window()->state().MainDb, data().path(), backup::Reason::Employees, earlier).ok());
    QVERIFY(closing::setClosed(mainDb(), QStringLiteral("4月"), true, QDateTime::currentDateTime()));
    QVERIFY(execBound(mainDb(), QStringLiteral("update 時給ヘッダ set 合計 = 9000 where タイトル = '5月'")));
    const Rows before = query(mainDb(), statementsSql);
    const Rows closes = query(mainDb(), QStringLiteral("select タイトル, 締め from 締め"));

    QVERIFY(chooseBackup(backup::Reason::Employees));
    clearAsked();
    whenAsked([this](const MessageRequest &request) { answer(request.subKey != u"締め変更確認"); });
    QTest::mouseClick(control<QPushButton>("cmdバックアップ復元"), Qt::LeftButton);
    QCOMPARE(asked().size(), 2);
    QVERIFY2(asked().at(0).startsWith(QStringLiteral("復元/確認/")), qPrintable(asked().at(0)));
    QCOMPARE(asked().at(1), QStringLiteral("復元/締め変更確認/4月"));
    QVERIFY(!requests().at(1).yesIsDefault());
    QCOMPARE(query(mainDb(), statementsSql), before);
    QCOMPARE(query(mainDb(), QStringLiteral("select タイトル, 締め from 締め")), closes);
    QVERIFY(!backupReasons().contains(QStringLiteral("restore")));

    // A backup taken after the close holds the month as it is: only 5月 changes, and nothing more is asked.
    QVERIFY(backup::take(window()->state().MainDb, data().path(), backup::Reason::ShiftTypes, earlier.addDays(1)).ok());
    QVERIFY(execBound(mainDb(), QStringLiteral("update 時給ヘッダ set 合計 = 7000 where タイトル = '5月'")));
    control<QTabWidget>("SSTab1")->setCurrentIndex(0); // the list is read again when its page shows
    QVERIFY(chooseBackup(backup::Reason::ShiftTypes));
    clearAsked();
    QTest::mouseClick(control<QPushButton>("cmdバックアップ復元"), Qt::LeftButton);
    QCOMPARE(asked().size(), 2);
    QVERIFY2(asked().at(1).startsWith(QStringLiteral("復元/完了/")), qPrintable(asked().at(1)));
    QCOMPARE(test::rows(window()->state().MainDb, statementsSql), before);
}

// With a full set of backups taken before operations, the backup a restore
// takes first must not rotate away the one being restored.
void TestBackups::oldestBackupCanBeRestored()
{
    const QDateTime longAgo(QDate(2020, 1, 1), QTime(9, 0));
    for (int i = 0; i < backup::kKeptBeforeRegistration; ++i)
        QVERIFY(
            backup::take(window()->state().MainDb, data().path(), backup::Reason::Employees, longAgo.addSecs(60 * i))
                .ok());
    QVERIFY(execBound(mainDb(), QStringLiteral("delete from 時給ヘッダ")));
    SettingsPage *settings = window()->settingsPage();
    control<QTabWidget>("SSTab1")->setCurrentWidget(settings);
    QCOMPARE(control<QTableWidget>("lstBackup")->rowCount(), 1 + backup::kKeptBeforeRegistration);
    control<QTableWidget>("lstBackup")->selectRow(control<QTableWidget>("lstBackup")->rowCount() - 1);
    QVERIFY(settings->chosenBackup().contains(QStringLiteral("-20200101-090000-")));
    clearAsked();
    QTest::mouseClick(control<QPushButton>("cmdバックアップ復元"), Qt::LeftButton);
    QVERIFY2(asked().last().startsWith(QStringLiteral("復元/完了/")), qPrintable(asked().join(u' ')));
    QCOMPARE(rowsOfFile(data().mainPath(), QStringLiteral("select count(*) from 時給ヘッダ")), (Rows{{"3"}}));
    QCOMPARE(backupReasons().count(QStringLiteral("employees")), backup::kKeptBeforeRegistration);
    QCOMPARE(backupReasons().count(QStringLiteral("restore")), 1);
}

void TestBackups::refusedRestoreLeavesTheFile_data()
{
    QTest::addColumn<Refusal>("refusal");
    QTest::addColumn<QString>("told");
    QTest::newRow("answered No") << Refusal::AnsweredNo << "復元/確認/";
    QTest::newRow("nothing chosen") << Refusal::NothingChosen << "復元/未選択/";
    QTest::newRow("damaged backup") << Refusal::DamagedBackup << "エラー/復元/";
    QTest::newRow("no backup of the current file") << Refusal::BackupFails << "エラー/復元前バックアップ/";
}

void TestBackups::refusedRestoreLeavesTheFile()
{
    QFETCH(Refusal, refusal);
    QFETCH(QString, told);
    // The file differs from the daily backup, so a restore would show.
    QVERIFY(execBound(mainDb(), QStringLiteral("delete from 時給ヘッダ where タイトル = '5月'")));
    const QByteArray before = hashOf(data().mainPath());
    QVERIFY(chooseBackup(backup::Reason::Daily));
    if (refusal == Refusal::NothingChosen)
        control<QTableWidget>("lstBackup")->clearSelection();
    if (refusal == Refusal::AnsweredNo)
        answer(false);
    if (refusal == Refusal::DamagedBackup) {
        QFile damaged(backup::list(data().path()).first().path);
        QVERIFY(damaged.open(QIODevice::ReadWrite));
        damaged.write(QByteArray(100, '\0'));
    }
    // The program's connection in the middle of a transaction cannot be
    // snapshotted.
    QSqlDatabase program = window()->state().MainDb;
    if (refusal == Refusal::BackupFails)
        QVERIFY(program.transaction());
    clearAsked();
    QTest::mouseClick(control<QPushButton>("cmdバックアップ復元"), Qt::LeftButton);
    if (refusal == Refusal::BackupFails)
        QVERIFY(program.rollback());
    QVERIFY2(asked().last().startsWith(told), qPrintable(asked().join(u' ')));
    QCOMPARE(hashOf(data().mainPath()), before);
    QCOMPARE(test::rows(window()->state().MainDb, QStringLiteral("select count(*) from 時給ヘッダ")), (Rows{{"2"}}));
    // No copy is left beside the main file.
    QCOMPARE(QDir(data().path()).entryList(QDir::Files),
             (QStringList{QStringLiteral("Pelmar.mdb"), QStringLiteral("PelmarWork.mdb")}));
}

QTEST_MAIN(TestBackups)
#include "tst_backups.moc"
