// Disk faults met while the window runs: a full disk, a file another
// program holds, a read-only work file, a file found damaged after start-up.
// Each is made for real under the real window; what is stored must come
// through exactly as it was, and the user is told what happened, where and
// what to do.
#include "app/FrmPelmar.h"
#include "hints/HintStore.h"
#include "masters/EmployeePage.h"
#include "masters/SettingsPage.h"
#include "statements/HistoryPage.h"
#include "statements/StatementPage.h"
#include "store/Backup.h"
#include "store/Database.h"
#include "store/FileCheck.h"
#include "widgets/DataGrid.h"
#include "widgets/NumberBox.h"

#include "../support/FullDisk.h"
#include "../support/WindowFixture.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

using namespace pelmar;
using test::Rows;

namespace {

enum { kDate = 1 };
constexpr int kNameColumn = 2;
constexpr int kWageColumn = 3;

enum class Operation { SaveOverStored, RegisterEmployees, BulkDelete, GridCell, HistoryList };
enum class Fullness { FileCannotGrow, DiskFull, BackupFolderFull };
enum class CellFault { DiskFull, HeldByAnother, ReadOnlyFile };

const QString kEverythingStored =
    QStringLiteral("select 氏名, タイトル, 勤務タイプ, 時給, 休憩, 調整額, 時間, 合計, null, null, null from 時給ヘッダ"
                   " union all select * from 時給明細"
                   " union all select \"No\", 氏名, 時給, 勤務形態, 開始時間, 終了時間, 休憩時間, 実労時間, null, null,"
                   " null from 従業員 order by 1, 2, 3");

// The files of the folder whose name says they are kept damaged ones.
QStringList keptAside(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*-damaged-*")}, QDir::Files, QDir::Name);
}

} // namespace

Q_DECLARE_METATYPE(Operation)
Q_DECLARE_METATYPE(Fullness)
Q_DECLARE_METATYPE(CellFault)

class TestDiskFaults : public test::WindowFixture {
    Q_OBJECT
private slots:
    void initTestCase();
    void fullDiskLosesNothing_data();
    void fullDiskLosesNothing();
    void failedCellWriteIsToldAndUndone_data();
    void failedCellWriteIsToldAndUndone();
    void failedReadKeepsThePageFromBeingSaved_data();
    void failedReadKeepsThePageFromBeingSaved();
    void heldMainFileIsToldOnce_data();
    void heldMainFileIsToldOnce();
    void damagedMainFoundAfterStartIsRestored_data();
    void damagedMainFoundAfterStartIsRestored();
    void damagedWorkFileFoundAfterStartIsMadeNew();

private:
    void seed() override;
    // The stored statement 山田 / 4月 on the page, as 読込 puts it there.
    void reopenApril();
    // Every line of the page filled, more than the stored statement has.
    void fillEveryLine();
    const MessageRequest *told(const QString &subKey) const;
};

void TestDiskFaults::initTestCase()
{
    QVERIFY(test::FullDisk::install());
}

void TestDiskFaults::seed()
{
    QVERIFY(execBound(mainDb(), QStringLiteral("insert into 勤務形態マスタ values (1, 'A', '0900', '1800', 1, 8)")));
    const QString employee = QStringLiteral("insert into 従業員 values (?, ?, ?, 'A', '0900', '1800', 1, 8)");
    QVERIFY(execBound(mainDb(), employee, {1, QStringLiteral("山田"), 1000.0}));
    QVERIFY(execBound(mainDb(), employee, {2, QStringLiteral("田中一郎"), 1200.0}));
    QVERIFY(execBound(mainDb(), QStringLiteral("insert into 自社情報 values ('有限会社ペルマー', '東京都')")));
    // 山田's April: twenty days.
    QVERIFY(execBound(mainDb(),
                      QStringLiteral("insert into 時給ヘッダ (氏名, タイトル, 勤務タイプ, 時給, 休憩, 調整額, 時間, "
                                     "合計) values ('山田', '4月', 'A', 1000, 20, 0, 160, "
                                     "160000)")));
    QVERIFY(
        execBound(mainDb(),
                  QStringLiteral("with recursive d(n) as (select 1 union all select n + 1 from d where n < 20)"
                                 " insert into 時給明細 (氏名, タイトル, 行番号, 日付, 開始時間, 終了時間, 休憩, 時間, "
                                 "時給, 調整額, 金額) select '山田', '4月', n, printf('202604%02d', n), '0900',"
                                 " '1800', 1, 8, 1000, 0, 8000 from d")));
    // Forty months of 田中一郎 fill the pages around 山田's, as years of
    // statements do, so a longer 山田 / 4月 needs pages of its own.
    QVERIFY(execBound(mainDb(),
                      QStringLiteral("with recursive m(k) as (select 1 union all select k + 1 from m where k < 40),"
                                     " d(n) as (select 1 union all select n + 1 from d where n < 20)"
                                     " insert into 時給明細 (氏名, タイトル, 行番号, 日付, 開始時間, 終了時間, 休憩, "
                                     "時間, 時給, 調整額, 金額) select '田中一郎', printf('%03d月', k), n,"
                                     " printf('2026%02d%02d', (k - 1) % 12 + 1, n), '0900', '1800', 1, 8, 1200, 0,"
                                     " 9600 from m, d")));
    QVERIFY(execBound(mainDb(),
                      QStringLiteral("insert into 時給ヘッダ (氏名, タイトル, 勤務タイプ, 時給, 休憩, 調整額, 時間, "
                                     "合計) select distinct 氏名, タイトル, 'A', 1200, 20, 0,"
                                     " 160, 192000 from 時給明細 where 氏名 = '田中一郎'")));
    QVERIFY(hints::storeHint(workDb(), QStringLiteral("FrmPelmar"), QStringLiteral("cmdHint"), QStringLiteral("Pelmar"),
                             QStringLiteral("残したい説明")));
}

void TestDiskFaults::reopenApril()
{
    control<QComboBox>("cmb氏名")->setEditText(QStringLiteral("山田"));
    control<QLineEdit>("txtタイトル")->setText(QStringLiteral("4月"));
    QTest::mouseClick(control<QPushButton>("cmd読込"), Qt::LeftButton);
    QCOMPARE(query(workDb(), "select count(*) from w明細 where 日付 is not null"), (Rows{{"20"}}));
}

void TestDiskFaults::fillEveryLine()
{
    QVERIFY(execBound(workDb(),
                      QStringLiteral("update w明細 set 日付 = printf('202605%02d', (行番号 - 1) % 28 + 1),"
                                     " 開始時間 = '0900', 終了時間 = '1800', 休憩 = 1, 時間 = 8,"
                                     " 時給 = 1000, 調整額 = 0, 金額 = 8000")));
    control<DataGrid>("Grid明細")->refresh();
}

const MessageRequest *TestDiskFaults::told(const QString &subKey) const
{
    for (const MessageRequest &request : requests())
        if (request.subKey == subKey)
            return &request;
    return nullptr;
}

void TestDiskFaults::fullDiskLosesNothing_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<Fullness>("fullness");
    QTest::addColumn<QString>("message"); // the sub-key of the failure told
    QTest::addColumn<QString>("file"); // which file the message names: main, work or backups
    QTest::newRow("save over a stored statement, file cannot grow")
        << Operation::SaveOverStored << Fullness::FileCannotGrow << "明細登録"
        << "main";
    QTest::newRow("save over a stored statement, disk full")
        << Operation::SaveOverStored << Fullness::DiskFull << "明細登録"
        << "main";
    // The copy before 登録 goes to a file of its own; the master cannot grow.
    QTest::newRow("register employees, file cannot grow")
        << Operation::RegisterEmployees << Fullness::FileCannotGrow << "従業員登録"
        << "main";
    // On a full disk the copy before 登録 fails first, and nothing is registered.
    QTest::newRow("register employees, disk full")
        << Operation::RegisterEmployees << Fullness::DiskFull << "登録前バックアップ"
        << "backups";
    QTest::newRow("backup before the bulk delete, backup folder full")
        << Operation::BulkDelete << Fullness::BackupFolderFull << "削除前バックアップ"
        << "backups";
    QTest::newRow("history list, disk full") << Operation::HistoryList << Fullness::DiskFull << "履歴読込"
                                             << "work";
    QTest::newRow("grid cell, file cannot grow") << Operation::GridCell << Fullness::FileCannotGrow << "セル書込み"
                                                 << "work";
    QTest::newRow("grid cell, disk full") << Operation::GridCell << Fullness::DiskFull << "セル書込み"
                                          << "work";
}

// Whatever fills the disk, what was stored stays exactly as it was, and the
// user reads that the disk is full, which file it is, and to make room.
void TestDiskFaults::fullDiskLosesNothing()
{
    QFETCH(Operation, operation);
    QFETCH(Fullness, fullness);
    QFETCH(QString, message);
    QFETCH(QString, file);
    const bool inWorkFile = file == QLatin1String("work");
    if (operation == Operation::SaveOverStored) {
        reopenApril();
        fillEveryLine();
    }
    if (operation == Operation::HistoryList) {
        // The list as last read, and a statement saved since.
        QTest::mouseClick(control<QPushButton>("cmd履歴読込"), Qt::LeftButton);
        QCOMPARE(query(workDb(), "select count(*) from w履歴"), (Rows{{"41"}}));
        QVERIFY(execBound(mainDb(),
                          QStringLiteral("insert into 時給ヘッダ (氏名, タイトル, 合計) values ('山田', '5月', 0)")));
    }
    if (operation == Operation::RegisterEmployees)
        QVERIFY(execBound(workDb(),
                          QStringLiteral("update w従業員 set 氏名 = '新人' || \"No\" || hex(zeroblob(40)),"
                                         " 時給 = 1000 where 氏名 is null")));
    const Rows storedBefore = query(mainDb(), kEverythingStored);
    const Rows pageBefore = query(workDb(), "select * from w従業員");
    const Rows historyBefore = query(workDb(), "select * from w履歴");
    const int backupsBefore = int(backup::list(data().path()).size());
    const QString longName = QStringLiteral("山田") + QString(20000, u'長');
    clearAsked();

    {
        std::unique_ptr<test::FileLimit> limit;
        std::unique_ptr<test::FullDisk> full;
        switch (fullness) {
        case Fullness::FileCannotGrow:
            limit = std::make_unique<test::FileLimit>(inWorkFile ? window()->state().WorkDb : window()->state().MainDb);
            QVERIFY(limit->ok());
            break;
        case Fullness::DiskFull:
            full = std::make_unique<test::FullDisk>(data().path());
            break;
        case Fullness::BackupFolderFull:
            full = std::make_unique<test::FullDisk>(backup::folderOf(data().path()));
            break;
        }
        switch (operation) {
        case Operation::SaveOverStored:
            QTest::mouseClick(control<QPushButton>("cmd登録"), Qt::LeftButton);
            break;
        case Operation::RegisterEmployees:
            QTest::mouseClick(control<QPushButton>("cmd従業員登録"), Qt::LeftButton);
            break;
        case Operation::BulkDelete:
            window()->AllDelete();
            break;
        case Operation::HistoryList:
            QTest::mouseClick(control<QPushButton>("cmd履歴読込"), Qt::LeftButton);
            break;
        case Operation::GridCell:
            // A name too long for the room left in its page needs new pages.
            commitInto(control<DataGrid>("Grid従業員"), 0, kNameColumn, longName);
            QTRY_VERIFY(told(message));
            break;
        }
        if (full)
            QVERIFY(full->refusedWrites() > 0);
    }

    const MessageRequest *failure = told(message);
    QVERIFY2(failure, qPrintable(asked().join(u'\n')));
    QCOMPARE(failure->category, QStringLiteral("エラー"));
    QVERIFY2(failure->prompt.contains(QStringLiteral("ディスクの空きがありません")), qPrintable(failure->prompt));
    QVERIFY2(failure->prompt.contains(QStringLiteral("空きを増やしてから")), qPrintable(failure->prompt));
    const QString named = file == QLatin1String("backups") ? backup::folderOf(data().path())
        : inWorkFile                                       ? data().workPath()
                                                           : data().mainPath();
    QVERIFY2(failure->prompt.contains(QDir::toNativeSeparators(named)), qPrintable(failure->prompt));
    for (const QString &never : {QStringLiteral("削除して"), QStringLiteral("消して")})
        QVERIFY2(!failure->prompt.contains(never), qPrintable(failure->prompt));

    QCOMPARE(query(mainDb(), kEverythingStored), storedBefore);
    QCOMPARE(query(mainDb(), "select count(*) from 時給明細 where 氏名 = '山田'"), (Rows{{"20"}}));
    // A failed backup leaves no file behind, and a failed registration keeps
    // its copy.
    const int backupsAfter = int(backup::list(data().path()).size());
    QCOMPARE(backupsAfter,
             backupsBefore
                 + (operation == Operation::RegisterEmployees && fullness == Fullness::FileCannotGrow ? 1 : 0));
    QVERIFY(QDir(backup::folderOf(data().path()))
                .entryList({QStringLiteral("*.tmp")}, QDir::Files | QDir::Hidden)
                .isEmpty());
    if (operation == Operation::SaveOverStored) {
        // What was typed stays on the page, to be saved once there is room.
        QCOMPARE(query(workDb(), "select count(*) from w明細 where 日付 is not null"), (Rows{{"60"}}));
        QTest::mouseClick(control<QPushButton>("cmd登録"), Qt::LeftButton);
        QCOMPARE(query(mainDb(), "select count(*) from 時給明細 where タイトル = '4月'"), (Rows{{"60"}}));
    }
    if (operation == Operation::HistoryList) {
        // The list as it was stays; none of the new one is half shown.
        QCOMPARE(query(workDb(), "select * from w履歴"), historyBefore);
        QCOMPARE(control<DataGrid>("Grid履歴")->model()->rowCount(), int(historyBefore.size()));
    }
    if (operation == Operation::GridCell) {
        // The cell shows what is stored, and that is the name as it was.
        QCOMPARE(query(workDb(), "select * from w従業員"), pageBefore);
        QCOMPARE(control<DataGrid>("Grid従業員")->model()->index(0, kNameColumn).data().toString(),
                 QStringLiteral("山田"));
        // With room again, the next write of the row does not carry the
        // refused name along.
        typeInto(control<DataGrid>("Grid従業員"), 0, kWageColumn, QStringLiteral("1111"));
        QTRY_COMPARE(query(workDb(), "select 氏名, 時給 from w従業員 where \"No\" = 1"), (Rows{{"山田", "1111"}}));
    }
}

void TestDiskFaults::failedCellWriteIsToldAndUndone_data()
{
    QTest::addColumn<CellFault>("fault");
    QTest::addColumn<QString>("reasonPart");
    QTest::newRow("held by another program") << CellFault::HeldByAnother << "別のプログラムがこのファイルを使用中";
    QTest::newRow("read-only work file") << CellFault::ReadOnlyFile << "読み取り専用を外してから";
    QTest::newRow("statement line, disk full") << CellFault::DiskFull << "ディスクの空きがありません";
}

// A typed cell that cannot reach the work file is told, naming the file,
// and the grid shows what the file holds; nothing typed is half kept.
void TestDiskFaults::failedCellWriteIsToldAndUndone()
{
    QFETCH(CellFault, fault);
    QFETCH(QString, reasonPart);
    DataGrid *grid = fault == CellFault::DiskFull ? control<DataGrid>("Grid明細") : control<DataGrid>("Grid従業員");
    const int row = 0;
    const int column = fault == CellFault::DiskFull ? kDate : kWageColumn;
    const QString table = fault == CellFault::DiskFull ? QStringLiteral("w明細") : QStringLiteral("w従業員");
    const Rows before = query(workDb(), QStringLiteral("select * from ") + table);
    const QVariant shownBefore = grid->model()->index(row, column).data(Qt::EditRole);
    clearAsked();
    {
        std::unique_ptr<test::Holder> holder;
        std::unique_ptr<test::Immutable> frozen;
        std::unique_ptr<test::FullDisk> full;
        if (fault == CellFault::HeldByAnother) {
            holder = std::make_unique<test::Holder>(data().workPath());
            QVERIFY(holder->held);
        } else if (fault == CellFault::ReadOnlyFile) {
            frozen = std::make_unique<test::Immutable>(data().workPath());
            if (!frozen->ok)
                QSKIP("this file system has no immutable attribute");
        } else {
            full = std::make_unique<test::FullDisk>(data().path());
        }
        typeInto(grid, row, column, fault == CellFault::DiskFull ? QStringLiteral("20260401") : QStringLiteral("1500"));
        QTRY_VERIFY(told(QStringLiteral("セル書込み")));
    }
    const MessageRequest *failure = told(QStringLiteral("セル書込み"));
    QVERIFY2(failure->prompt.contains(QDir::toNativeSeparators(data().workPath())), qPrintable(failure->prompt));
    QVERIFY2(failure->prompt.contains(reasonPart), qPrintable(failure->prompt));
    QCOMPARE(grid->model()->index(row, column).data(Qt::EditRole), shownBefore);
    QCOMPARE(query(workDb(), QStringLiteral("select * from ") + table), before);
    // Nothing went on as if the value were there: no line was completed.
    QCOMPARE(asked().size(), 1);
}

void TestDiskFaults::failedReadKeepsThePageFromBeingSaved_data()
{
    QTest::addColumn<QString>("when");
    QTest::addColumn<bool>("refused");
    // 読込 of a statement named on the page: the page is not that statement.
    QTest::newRow("読込 while the file is held") << "before" << true;
    // The lines were emptied for the read that then failed.
    QTest::newRow("held after the page was emptied for the read") << "afterQuestion" << true;
    // A pick from the history that fails changes nothing on the page: the
    // statement being typed there can still be saved.
    QTest::newRow("history pick while the file is held") << "history" << false;
}

void TestDiskFaults::failedReadKeepsThePageFromBeingSaved()
{
    QFETCH(QString, when);
    QFETCH(bool, refused);
    const Rows stored = query(mainDb(), kEverythingStored);
    std::unique_ptr<test::Holder> holder;
    if (when == QLatin1String("afterQuestion")) {
        // The statement is on the page with an edit, so 読込 asks first;
        // the file is taken while the question is open.
        reopenApril();
        type(0, 3, QStringLiteral("1900"));
        whenAsked([this, &holder](const MessageRequest &request) {
            if (request.subKey == QStringLiteral("未保存確認") && !holder)
                holder = std::make_unique<test::Holder>(data().mainPath());
        });
        clearAsked();
        QTest::mouseClick(control<QPushButton>("cmd読込"), Qt::LeftButton);
        whenAsked({});
        QVERIFY2(holder && holder->held, qPrintable(asked().join(u'\n')));
    } else if (when == QLatin1String("history")) {
        QTest::mouseClick(control<QPushButton>("cmd履歴読込"), Qt::LeftButton);
        control<DataGrid>("Grid履歴")->setCurrentIndex(control<DataGrid>("Grid履歴")->model()->index(0, 0));
        chooseEmployee(QStringLiteral("田中一郎"));
        control<QLineEdit>("txtタイトル")->setText(QStringLiteral("5月"));
        type(0, kDate, QStringLiteral("20260501"));
        holder = std::make_unique<test::Holder>(data().mainPath());
        QVERIFY(holder->held);
        clearAsked();
        QTest::mouseClick(control<QPushButton>("cmd履歴選択"), Qt::LeftButton);
    } else {
        holder = std::make_unique<test::Holder>(data().mainPath());
        QVERIFY(holder->held);
        control<QComboBox>("cmb氏名")->setEditText(QStringLiteral("山田"));
        control<QLineEdit>("txtタイトル")->setText(QStringLiteral("4月"));
        clearAsked();
        QTest::mouseClick(control<QPushButton>("cmd読込"), Qt::LeftButton);
    }
    const MessageRequest *failure = told(QStringLiteral("明細行読込"));
    QVERIFY2(failure, qPrintable(asked().join(u'\n')));
    QVERIFY2(failure->prompt.contains(QDir::toNativeSeparators(data().mainPath())), qPrintable(failure->prompt));
    QVERIFY2(failure->prompt.contains(QStringLiteral("別のプログラム")), qPrintable(failure->prompt));
    holder.reset();

    clearAsked();
    QTest::mouseClick(control<QPushButton>("cmd登録"), Qt::LeftButton);
    if (!refused) {
        QCOMPARE(query(mainDb(), "select count(*) from 時給明細 where タイトル = '5月'"), (Rows{{"1"}}));
        return;
    }
    QCOMPARE(asked(), QStringList{QStringLiteral("登録/明細未読込/")});
    QCOMPARE(query(mainDb(), kEverythingStored), stored);
    // A read that succeeds lifts the refusal; so does クリア.
    QTest::mouseClick(control<QPushButton>("cmd読込"), Qt::LeftButton);
    QCOMPARE(query(workDb(), "select count(*) from w明細 where 日付 is not null"), (Rows{{"20"}}));
    clearAsked();
    QTest::mouseClick(control<QPushButton>("cmd登録"), Qt::LeftButton);
    QCOMPARE(asked().value(0), QStringLiteral("登録/上書き確認/山田（4月）"));
    QCOMPARE(query(mainDb(), kEverythingStored), stored);
}

void TestDiskFaults::heldMainFileIsToldOnce_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("told");
    QTest::addColumn<bool>("namesFile");
    const auto row = [](const char *button, const char *told, bool namesFile) {
        QTest::newRow(button) << QString::fromUtf8(button) << QString::fromUtf8(told) << namesFile;
    };
    row("cmd読込", "明細行読込", true);
    row("cmd履歴読込", "履歴読込", true); // copied inside the work file's connection
    row("cmd従業員読込", "従業員読込", true);
    row("cmd勤務読込", "勤務形態読込", true);
    row("cmd設定読込", "自社情報読込", true);
    // Its message says what the statements are worked out with instead.
    row("cmd割増読込", "割増設定読込", false);
}

// Each 読込 while another program holds the main file tells once, naming
// that file, and waits for it once: after the first statement that waited,
// the connection stops waiting until the window is back in its event loop.
void TestDiskFaults::heldMainFileIsToldOnce()
{
    QFETCH(QString, button);
    QFETCH(QString, told);
    QFETCH(bool, namesFile);
    control<QComboBox>("cmb氏名")->setEditText(QStringLiteral("山田"));
    control<QLineEdit>("txtタイトル")->setText(QStringLiteral("4月"));
    auto *read = window()->findChild<QPushButton *>(button);
    QVERIFY(read);
    const auto busyTimeout = [this] {
        return query(window()->state().MainDb, QStringLiteral("PRAGMA busy_timeout"));
    };
    test::Holder holder(data().mainPath());
    QVERIFY(holder.held);
    clearAsked();
    QTest::mouseClick(read, Qt::LeftButton);
    QCOMPARE(requests().size(), 1);
    QCOMPARE(requests().first().subKey, told);
    const QString prompt = requests().first().prompt;
    QVERIFY2(!prompt.contains(kWorkDbFileName), qPrintable(prompt));
    if (namesFile) {
        QVERIFY2(prompt.contains(QDir::toNativeSeparators(data().mainPath())), qPrintable(prompt));
        QVERIFY2(prompt.contains(QStringLiteral("別のプログラム")), qPrintable(prompt));
    }
    QCOMPARE(busyTimeout(), (Rows{{"0"}}));
    QTRY_COMPARE(busyTimeout(), (Rows{{QString::number(kBusyTimeoutMs)}}));
}

void TestDiskFaults::damagedMainFoundAfterStartIsRestored_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("restore") << true;
    QTest::newRow("not now") << false;
}

// Damage inside the main file shows only in the full read after start-up;
// the newest sound backup is then offered and restored through the same
// path as the settings page's 復元, every page refilled.
void TestDiskFaults::damagedMainFoundAfterStartIsRestored()
{
    QFETCH(bool, yes);
    closeWindow();
    const backup::Outcome sound =
        backup::take(mainDb(), data().path(), backup::Reason::Employees, QDateTime::currentDateTime().addSecs(-600));
    QVERIFY(sound.ok());
    QVERIFY(execBound(mainDb(), QStringLiteral("insert into 従業員 (\"No\", 氏名, 時給) values (3, '新しい人', 900)")));
    QVERIFY(test::damageMiddlePage(data().mainPath(), QStringLiteral("時給明細"), QStringLiteral("氏名")));
    const QByteArray damaged = test::fileBytes(data().mainPath());
    const qsizetype backupsBefore = backup::list(data().path()).size();
    clearAsked();
    answer(yes);

    QVERIFY(openWindow());
    const MessageRequest *question = told(QStringLiteral("破損確認"));
    QVERIFY2(question, qPrintable(asked().join(u'\n')));
    QCOMPARE(question->style, MessageStyle::ConfirmDefaultNo);
    QVERIFY2(question->prompt.contains(QStringLiteral("従業員 2 名、明細 41 件")), qPrintable(question->prompt));
    QVERIFY2(question->prompt.contains(QDir::toNativeSeparators(data().mainPath())), qPrintable(question->prompt));
    if (!yes) {
        QCOMPARE(test::fileBytes(data().mainPath()), damaged);
        QVERIFY(keptAside(data().path()).isEmpty());
        return;
    }
    QVERIFY(told(QStringLiteral("破損復元完了")));
    const QStringList aside = keptAside(data().path());
    QCOMPARE(aside.size(), 1);
    QCOMPARE(test::fileBytes(QDir(data().path()).filePath(aside.first())), damaged);
    // The pages show the restored file: the employee added after the
    // backup is gone from the page and from the picker.
    QCOMPARE(query(workDb(), "select 氏名 from w従業員 where 氏名 is not null order by \"No\""),
             (Rows{{"山田"}, {"田中一郎"}}));
    QCOMPARE(control<QComboBox>("cmb氏名")->findText(QStringLiteral("新しい人")), -1);
    QCOMPARE(control<QLineEdit>("txt自社名")->text(), QStringLiteral("有限会社ペルマー"));
    // The damaged file was not copied among the backups.
    QCOMPARE(backup::list(data().path()).size(), backupsBefore);
    // And the program works on it: a statement reopens and saves. The
    // test's own connection still reads the file that was replaced, so the
    // program's reopened one is asked.
    reopenApril();
    clearAsked();
    QTest::mouseClick(control<QPushButton>("cmd登録"), Qt::LeftButton);
    QCOMPARE(asked().value(0), QStringLiteral("登録/上書き確認/山田（4月）"));
    QCOMPARE(test::rows(window()->state().MainDb, QStringLiteral("select count(*) from 時給明細 where 氏名 = '山田'")),
             (Rows{{"20"}}));
}

// A damaged work file found after start-up is made new on the spot, its
// hints kept; the pages carry on with the new file.
void TestDiskFaults::damagedWorkFileFoundAfterStartIsMadeNew()
{
    closeWindow();
    QVERIFY(test::damageMiddlePage(data().workPath(), QStringLiteral("w履歴"), QStringLiteral("氏名")));
    const qint64 damagedSize = QFileInfo(data().workPath()).size();
    clearAsked();
    QVERIFY(openWindow());
    QVERIFY2(told(QStringLiteral("作業ファイル破損確認")), qPrintable(asked().join(u'\n')));
    const MessageRequest *done = told(QStringLiteral("作業ファイル作成完了"));
    QVERIFY2(done, qPrintable(asked().join(u'\n')));
    const QStringList aside = keptAside(data().path());
    QCOMPARE(aside.size(), 1);
    QVERIFY2(done->prompt.contains(aside.first()), qPrintable(done->prompt));
    // The old file is kept as it was found, damage and all.
    const QString kept = QDir(data().path()).filePath(aside.first());
    QCOMPARE(QFileInfo(kept).size(), damagedSize);
    QVERIFY(!soundnessProblem(kept).isEmpty());

    // The program's connection is on the new file, with the hint kept and
    // the pages refilled.
    QSqlDatabase work = window()->state().WorkDb;
    QCOMPARE(test::rows(work,
                        QStringLiteral("select Contents from ClHint where FormName = 'FrmPelmar' and"
                                       " CtlName = 'cmdHint'")),
             (Rows{{"残したい説明"}}));
    QCOMPARE(test::rows(work, QStringLiteral("select count(*) from w明細")), (Rows{{"60"}}));
    QCOMPARE(test::rows(work, QStringLiteral("select 氏名 from w従業員 where 氏名 is not null order by \"No\"")),
             (Rows{{"山田"}, {"田中一郎"}}));
    // The grids write to it: a statement typed now is saved.
    chooseEmployee(QStringLiteral("山田"));
    control<QLineEdit>("txtタイトル")->setText(QStringLiteral("5月"));
    type(0, kDate, QStringLiteral("20260501"));
    QTRY_COMPARE(control<NumberBox>("num合計")->value().toDouble(), 8000.0);
    QTest::mouseClick(control<QPushButton>("cmd登録"), Qt::LeftButton);
    QCOMPARE(query(mainDb(), "select 合計 from 時給ヘッダ where タイトル = '5月'"), (Rows{{"8000"}}));
}

QTEST_MAIN(TestDiskFaults)
#include "tst_diskfaults.moc"
