#include "masters/EmployeeStore.h"
#include "masters/PatternStore.h"
#include "calc/DetailLine.h"
#include "calc/PatternRow.h"
#include "payroll/StatementStore.h"
#include "store/Database.h"
#include "store/Failure.h"
#include "store/FileCheck.h"
#include "store/NewInstallation.h"
#include "store/PageRows.h"
#include "store/Query.h"
#include "store/ShippedHints.h"
#include "store/Tables.h"

#include "../support/TestData.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

using namespace pelmar;

using StoreChange = std::function<bool(const QSqlDatabase &main, const QSqlDatabase &work)>;
Q_DECLARE_METATYPE(StoreChange)

namespace {

QStringList columnsOf(const QSqlDatabase &db, const QString &table)
{
    QStringList columns;
    QSqlQuery query(db);
    query.prepare(QStringLiteral("select name, type from pragma_table_info(?)"));
    query.addBindValue(table);
    query.exec();
    while (query.next())
        columns << query.value(0).toString() + u' ' + query.value(1).toString();
    return columns;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray fileHash(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

} // namespace

class TestDatabase : public QObject {
    Q_OBJECT
private slots:
    void schema_data();
    void schema();
    void everyTableIsListed();
    void gridColumnsNameTheirTablesColumns_data();
    void gridColumnsNameTheirTablesColumns();
    void holdingRowsWritesOnlyWhatDiffers_data();
    void holdingRowsWritesOnlyWhatDiffers();
    void holdingRowsThatFailLeavesThePage();
    void historyCopiesFromTheFolderItIsIn_data();
    void historyCopiesFromTheFolderItIsIn();
    void checkDefaultsToUnticked();
    void valuesKeepTheirKinds();
    void newInstallationRefusesToOverwrite_data();
    void newInstallationRefusesToOverwrite();
    void newDataTool();
    void newDataToolWorkOnly_data();
    void newDataToolWorkOnly();
    void openRefuses_data();
    void openRefuses();
    void openSucceedsAndNeverCreates();
    void openTellsWhyItCannotUseTheFile_data();
    void openTellsWhyItCannotUseTheFile();
    void damageInsideTheFileIsFoundAfterOpening_data();
    void damageInsideTheFileIsFoundAfterOpening();
    void interruptedWriteIsNoDamage();
    void transactionRollsBack();
    void storeWhoseTransactionCannotBeginChangesNothing_data();
    void storeWhoseTransactionCannotBeginChangesNothing();
    void failedQueryKeepsWhy_data();
    void failedQueryKeepsWhy();
};

void TestDatabase::schema_data()
{
    QTest::addColumn<bool>("mainFile");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("columns");
    for (const Table *table : tables::ofMainFile())
        QTest::addRow("%s", qPrintable(table->name)) << true << table->name << table->columns;
    for (const Table *table : tables::ofWorkFile())
        QTest::addRow("%s", qPrintable(table->name)) << false << table->name << table->columns;
}

// The column lists the code builds its statements from are the schema's,
// name for name and in order; a column that moved or was renamed on one side
// fails here rather than in a save.
void TestDatabase::schema()
{
    QFETCH(bool, mainFile);
    QFETCH(QString, table);
    QFETCH(QStringList, columns);
    test::TestDataFolder data;
    QVERIFY(data.isValid());
    QSqlDatabase db = mainFile ? data.mainDb() : data.workDb();
    QStringList names;
    for (const QString &column : columnsOf(db, table))
        names << column.section(u' ', 0, 0);
    QCOMPARE(names, columns);
    // A new installation holds nothing but the help texts of the hint buttons
    // and the two premiums the law asks for, switched on.
    const int held = table == tables::ClHint.name ? int(shippedHints().size()) : table == tables::設定.name ? 2 : 0;
    QCOMPARE(test::rowCount(db, table), held);
}

void TestDatabase::everyTableIsListed()
{
    test::TestDataFolder data;
    for (bool mainFile : {true, false}) {
        QStringList listed;
        for (const Table *table : mainFile ? tables::ofMainFile() : tables::ofWorkFile())
            listed << table->name;
        QSqlQuery query(mainFile ? data.mainDb() : data.workDb());
        QVERIFY(query.exec(QStringLiteral("select name from sqlite_master where type = 'table' order by rowid")));
        QStringList inFile;
        while (query.next())
            inFile << query.value(0).toString();
        QCOMPARE(inFile, listed);
    }
}

void TestDatabase::gridColumnsNameTheirTablesColumns_data()
{
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<QList<int>>("numbers");
    QTest::addColumn<QString>("names");
    using namespace daylines;
    QTest::newRow("w明細")
        << tables::w明細.columns << QList<int>{kLineNo,     kDate,   kStart, kEnd,      kBreak,   kHours,   kWage,
                                               kAdjustment, kAmount, kNight, kOvertime, kPremium, kRestDay, kOver60}
        << u"行番号 日付 開始時間 終了時間 休憩 時間 時給 調整額 金額 深夜 時間外 割増額 休日 時間外60超"_qs;
    namespace e = tables::employeeColumn;
    QTest::newRow("w従業員") << tables::w従業員.columns
                             << QList<int>{e::kNo,    e::kCheck, e::kName,  e::kWage,  e::kPatternType,
                                           e::kStart, e::kEnd,   e::kBreak, e::kWorked}
                             << u"No チェック 氏名 時給 勤務形態 開始時間 終了時間 休憩時間 実労時間"_qs;
    namespace p = patternrow;
    QTest::newRow("w勤務形態") << tables::w勤務形態.columns
                               << QList<int>{p::kNo, p::kType, p::kStart, p::kEnd, p::kBreak, p::kWorked}
                               << u"No タイプ 開始時間 終了時間 休憩時間 実労時間"_qs;
    namespace r = tables::referenceColumn;
    QTest::newRow("w勤務形態参照") << tables::w勤務形態参照.columns
                                   << QList<int>{r::kType, r::kStart, r::kEnd, r::kBreak, r::kWorked}
                                   << u"タイプ 開始時間 終了時間 休憩時間 実労時間"_qs;
    namespace h = tables::historyColumn;
    QTest::newRow("w履歴") << tables::w履歴.columns << QList<int>{h::kName, h::kTotal, h::kTitle}
                           << u"氏名 合計 タイトル"_qs;
}

// The grids address their columns by number; each number stands on the
// column of its work table it is named for, so a column added to a table or
// moved fails here rather than as a wage written into the hours.
void TestDatabase::gridColumnsNameTheirTablesColumns()
{
    QFETCH(QStringList, columns);
    QFETCH(QList<int>, numbers);
    QFETCH(QString, names);
    QStringList named;
    for (int number : numbers)
        named << columns.value(number);
    QCOMPARE(named, names.split(u' '));
}

void TestDatabase::holdingRowsWritesOnlyWhatDiffers_data()
{
    // The shift-type page holds rows 1 "A" and 2 "B" with times, written as
    // the master's values arrive (text times, real hours).
    QTest::addColumn<QList<QVariantList>>("wanted");
    QTest::addColumn<bool>("written");
    const QVariantList a{1, QStringLiteral("A"), QStringLiteral("0900"), QStringLiteral("1800"), 1.0, 8.0};
    const QVariantList b{2, QStringLiteral("B"), QVariant(), QVariant(), QVariant(), QVariant()};
    const auto with = [](QVariantList row, int column, const QVariant &value) {
        row[column] = value;
        return row;
    };
    QTest::newRow("the same rows") << QList<QVariantList>{a, b} << false;
    QTest::newRow("a whole number for a real one") << QList<QVariantList>{with(a, 5, 8), b} << false;
    QTest::newRow("one hour more") << QList<QVariantList>{with(a, 5, 8.5), b} << true;
    QTest::newRow("a number for text") << QList<QVariantList>{with(a, 2, 900), b} << true;
    QTest::newRow("empty text for nothing") << QList<QVariantList>{a, with(b, 2, QStringLiteral(""))} << true;
    QTest::newRow("nothing for a time") << QList<QVariantList>{with(a, 3, QVariant()), b} << true;
    QTest::newRow("a row fewer") << QList<QVariantList>{a} << true;
    QTest::newRow("a row more") << QList<QVariantList>{a, b, with(b, 0, 3)} << true;
    QTest::newRow("the rows swapped") << QList<QVariantList>{with(b, 0, 1), with(a, 0, 2)} << true;
    QTest::newRow("no rows") << QList<QVariantList>{} << true;
}

void TestDatabase::holdingRowsWritesOnlyWhatDiffers()
{
    QFETCH(QList<QVariantList>, wanted);
    QFETCH(bool, written);
    test::TestDataFolder data;
    QSqlDatabase work = data.workDb();
    QVERIFY(execBound(work,
                      QStringLiteral("insert into w勤務形態 values (1, 'A', '0900', '1800', 1, 8), "
                                     "(2, 'B', null, null, null, null)")));
    const auto changes = [&work] {
        return test::rows(work, QStringLiteral("select total_changes()"));
    };
    const test::Rows before = changes();
    QVERIFY(holdRows(work, {&tables::w勤務形態, wanted}));
    // A page that already shows the rows is not written, not even emptied
    // and refilled with the same.
    QCOMPARE(changes() != before, written);
    test::Rows expected;
    for (const QVariantList &row : wanted) {
        QStringList texts;
        for (const QVariant &value : row)
            texts << (value.isNull() ? QStringLiteral("<null>") : value.toString());
        expected << texts;
    }
    QCOMPARE(test::rows(work, QStringLiteral("select * from w勤務形態 order by \"No\"")), expected);
}

void TestDatabase::holdingRowsThatFailLeavesThePage()
{
    test::TestDataFolder data;
    QSqlDatabase work = data.workDb();
    QVERIFY(holdRows(work, numberedRows(tables::w明細, 3, [](int n) { return blankRow(tables::w明細, n); })));
    const QString table = QStringLiteral("select 行番号, 金額 from w明細 order by 行番号");
    const test::Rows before = test::rows(work, table);
    QCOMPARE(before.size(), 3);
    // A row the file refuses half-way: nothing of the new rows stays, and
    // the emptied page comes back.
    QVERIFY(execBound(work,
                      QStringLiteral("create temp trigger refuse before insert on w明細 when new.金額 = 13"
                                     " begin select raise(abort, 'refused'); end")));
    const auto line = [](int n) {
        QVariantList row = blankRow(tables::w明細, n);
        row[tables::w明細.columns.indexOf(QStringLiteral("金額"))] = n == 2 ? 13 : 100;
        return row;
    };
    QVERIFY(!holdRows(work, numberedRows(tables::w明細, 5, line)));
    QCOMPARE(test::rows(work, table), before);
    // Rows that do not give every column are refused before anything is written.
    QVERIFY(!holdRows(work, {&tables::w明細, {QVariantList{1, QStringLiteral("20260301")}}}));
    QCOMPARE(test::rows(work, table), before);
}

void TestDatabase::historyCopiesFromTheFolderItIsIn_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("mainFileGone");
    QTest::newRow("plain") << "data" << false;
    QTest::newRow("characters that mean something in a URI") << "a#b?c%d 名前" << false;
    QTest::newRow("main file gone since opening") << "data" << true;
}

void TestDatabase::historyCopiesFromTheFolderItIsIn()
{
    QFETCH(QString, folder);
    QFETCH(bool, mainFileGone);
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(folder);
    QVERIFY(QDir().mkpath(path));
    QVERIFY(createNewInstallation(path, nullptr));
    {
        OpenResult main =
            openExisting(QDir(path).filePath(kMainDbFileName), SchemaKind::Main, QStringLiteral("h-main"));
        OpenResult work =
            openExisting(QDir(path).filePath(kWorkDbFileName), SchemaKind::Work, QStringLiteral("h-work"));
        QVERIFY(main.ok() && work.ok());
        QVERIFY(execBound(main.db,
                          QStringLiteral("insert into 時給ヘッダ (氏名, タイトル, 合計) values"
                                         " ('渡辺', '3月', 8000), ('O''Brien', '4月', 1), ('伊藤', '3月', 5000)")));
        QVERIFY(execBound(work.db, QStringLiteral("insert into w履歴 values ('前の', 1, '一覧')")));
        if (mainFileGone)
            QVERIFY(QFile::remove(QDir(path).filePath(kMainDbFileName)));
        // The list is copied inside SQLite from the main file of the same
        // folder, whatever its name; a main file that is gone is neither
        // read nor made anew, and the list stays as it was.
        QCOMPARE(statements::fillHistory(main.db, work.db), !mainFileGone);
        const test::Rows before{{"前の", "1", "一覧"}};
        const test::Rows copied{{"O'Brien", "1", "4月"}, {"伊藤", "5000", "3月"}, {"渡辺", "8000", "3月"}};
        QCOMPARE(test::rows(work.db, QStringLiteral("select 氏名, 合計, タイトル from w履歴 order by rowid")),
                 mainFileGone ? before : copied);
        QCOMPARE(QFile::exists(QDir(path).filePath(kMainDbFileName)), !mainFileGone);
        // Nothing stays attached to the work file's connection.
        QCOMPARE(test::rows(work.db, QStringLiteral("select count(*) from pragma_database_list")), test::Rows{{"1"}});
        main.db = QSqlDatabase();
        work.db = QSqlDatabase();
    }
    closeConnection(QStringLiteral("h-main"));
    closeConnection(QStringLiteral("h-work"));
}

void TestDatabase::checkDefaultsToUnticked()
{
    test::TestDataFolder data;
    QSqlDatabase work = data.workDb();
    QVERIFY(execBound(work, QStringLiteral("insert into w従業員 (\"No\") values (?)"), {1}));
    QSqlQuery query(work);
    QVERIFY(query.exec(QStringLiteral("select チェック from w従業員")));
    QVERIFY(query.next());
    QCOMPARE(query.value(0).toInt(), 0);
}

void TestDatabase::valuesKeepTheirKinds()
{
    // Times keep their leading zero, dates stay text, money and hours keep
    // every fraction: nothing is rounded or reformatted by storing it.
    test::TestDataFolder data;
    QSqlDatabase main = data.mainDb();
    QVERIFY(execBound(main,
                      QStringLiteral("insert into 時給明細 (氏名, タイトル, 行番号, 日付, 開始時間, 時間, 金額)"
                                     " values (?, ?, ?, ?, ?, ?, ?)"),
                      {QStringLiteral("山田"), QStringLiteral("4月分"), 1, QStringLiteral("20070401"),
                       QStringLiteral("0900"), 8.333333333333334, 8333.333333333334}));
    QSqlQuery query(main);
    QVERIFY(query.exec(QStringLiteral("select 日付, 開始時間, 時間, 金額, typeof(開始時間) from 時給明細")));
    QVERIFY(query.next());
    QCOMPARE(query.value(0).toString(), QStringLiteral("20070401"));
    QCOMPARE(query.value(1).toString(), QStringLiteral("0900"));
    QCOMPARE(query.value(2).toDouble(), 8.333333333333334);
    QCOMPARE(query.value(3).toDouble(), 8333.333333333334);
    QCOMPARE(query.value(4).toString(), QStringLiteral("text"));
}

void TestDatabase::newInstallationRefusesToOverwrite_data()
{
    QTest::addColumn<QString>("existing");
    QTest::newRow("main there") << kMainDbFileName;
    QTest::newRow("work there") << kWorkDbFileName;
}

void TestDatabase::newInstallationRefusesToOverwrite()
{
    QFETCH(QString, existing);
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(existing);
    writeFile(path, "precious");
    QString error;
    QVERIFY(!createNewInstallation(dir.path(), &error));
    QVERIFY2(error.contains(existing), qPrintable(error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("precious"));
    // Nothing else was created either.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{existing});
}

void TestDatabase::newDataTool()
{
    QTemporaryDir dir;
    const QString target = QDir(dir.path()).filePath(QStringLiteral("新しいデータ"));
    QProcess tool;
    tool.start(QStringLiteral(PELMAR_NEWDATA_EXE), {target});
    QVERIFY(tool.waitForFinished(30000));
    QCOMPARE(tool.exitCode(), 0);
    for (const QString &name : {kMainDbFileName, kWorkDbFileName}) {
        const QString path = QDir(target).filePath(name);
        OpenResult opened = openExisting(path, name == kMainDbFileName ? SchemaKind::Main : SchemaKind::Work,
                                         QStringLiteral("tool-check"));
        QVERIFY2(opened.ok(), qPrintable(opened.error));
        // Each file says which layout it has.
        QCOMPARE(storedSchemaVersion(opened.db), name == kMainDbFileName ? kMainSchemaVersion : kWorkSchemaVersion);
        opened.db = QSqlDatabase();
        closeConnection(QStringLiteral("tool-check"));
    }
    // A second run refuses and says so.
    tool.start(QStringLiteral(PELMAR_NEWDATA_EXE), {target});
    QVERIFY(tool.waitForFinished(30000));
    QCOMPARE(tool.exitCode(), 1);
    QVERIFY(!tool.readAllStandardError().isEmpty());
    // No folder given: usage.
    tool.start(QStringLiteral(PELMAR_NEWDATA_EXE), {});
    QVERIFY(tool.waitForFinished(30000));
    QCOMPARE(tool.exitCode(), 2);
}

void TestDatabase::newDataToolWorkOnly_data()
{
    QTest::addColumn<QStringList>("before"); // files in the folder beforehand
    QTest::addColumn<int>("exitCode");
    QTest::newRow("beside a kept main file") << QStringList{kMainDbFileName} << 0;
    QTest::newRow("in an empty folder") << QStringList{} << 0;
    QTest::newRow("work file already there") << QStringList{kMainDbFileName, kWorkDbFileName} << 1;
    QTest::newRow("only a work file there") << QStringList{kWorkDbFileName} << 1;
}

// --work-only makes the work file alone and never touches another file:
// neither a main file beside it nor a work file already there.
void TestDatabase::newDataToolWorkOnly()
{
    QFETCH(QStringList, before);
    QFETCH(int, exitCode);
    QTemporaryDir dir;
    for (const QString &name : before)
        writeFile(QDir(dir.path()).filePath(name), "precious " + name.toUtf8());
    QProcess tool;
    tool.start(QStringLiteral(PELMAR_NEWDATA_EXE), {QStringLiteral("--work-only"), dir.path()});
    QVERIFY(tool.waitForFinished(30000));
    QCOMPARE(tool.exitCode(), exitCode);
    for (const QString &name : before) {
        if (exitCode == 0 && name == kWorkDbFileName)
            continue;
        QFile file(QDir(dir.path()).filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), "precious " + name.toUtf8());
    }
    QStringList after = before;
    if (exitCode == 0 && !after.contains(kWorkDbFileName))
        after << kWorkDbFileName;
    after.sort();
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name), after);
    if (exitCode != 0) {
        QVERIFY(!tool.readAllStandardError().isEmpty());
        return;
    }
    const QString work = QDir(dir.path()).filePath(kWorkDbFileName);
    OpenResult opened = openExisting(work, SchemaKind::Work, QStringLiteral("work-only-check"));
    QVERIFY2(opened.ok(), qPrintable(opened.error));
    QCOMPARE(storedSchemaVersion(opened.db), kWorkSchemaVersion);
    opened.db = QSqlDatabase();
    closeConnection(QStringLiteral("work-only-check"));
}

void TestDatabase::openRefuses_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("reasonPart");
    QTest::newRow("missing") << "missing"
                             << "ファイルがありません";
    QTest::newRow("a folder instead") << "folder"
                                      << "ファイルではありません";
    QTest::newRow("not a database") << "garbage"
                                    << "データベースとして読めません";
    QTest::newRow("empty file") << "empty"
                                << "ファイルの中身が空です";
    QTest::newRow("table missing") << "dropTable"
                                   << "表「w履歴」がありません";
    QTest::newRow("column missing") << "dropColumn"
                                    << "列「金額」";
}

void TestDatabase::openRefuses()
{
    QFETCH(QString, damage);
    QFETCH(QString, reasonPart);
    test::TestDataFolder data;
    const QString path = data.workPath();
    if (damage == QLatin1String("missing")) {
        QFile::remove(path);
    } else if (damage == QLatin1String("folder")) {
        QFile::remove(path);
        QDir().mkpath(path);
    } else if (damage == QLatin1String("garbage")) {
        QByteArray bytes(8192, '\x5a');
        writeFile(path, bytes);
    } else if (damage == QLatin1String("empty")) {
        writeFile(path, QByteArray());
    } else if (damage == QLatin1String("dropTable")) {
        QVERIFY(execBound(data.workDb(), QStringLiteral("drop table w履歴")));
    } else if (damage == QLatin1String("dropColumn")) {
        QVERIFY(execBound(data.workDb(), QStringLiteral("alter table w明細 drop column 金額")));
    }
    const QString connection = QStringLiteral("refuse-") + damage;
    const OpenResult result = openExisting(path, SchemaKind::Work, connection);
    QVERIFY(!result.ok());
    QVERIFY2(result.error.contains(QDir::toNativeSeparators(path)), qPrintable(result.error));
    QVERIFY2(result.error.contains(reasonPart), qPrintable(result.error));
    QVERIFY(!QSqlDatabase::contains(connection));
    if (damage == QLatin1String("missing"))
        QVERIFY(!QFile::exists(path));
}

void TestDatabase::openSucceedsAndNeverCreates()
{
    test::TestDataFolder data;
    OpenResult result = openExisting(data.mainPath(), SchemaKind::Main, QStringLiteral("ok-main"));
    QVERIFY2(result.ok(), qPrintable(result.error));
    QVERIFY(execBound(result.db, QStringLiteral("insert into 自社情報 values (?, ?)"),
                      {QStringLiteral("有限会社ペルマー"), QStringLiteral("東京都\n電話 03")}));
    result.db = QSqlDatabase();
    closeConnection(QStringLiteral("ok-main"));
    QCOMPARE(test::rowCount(data.mainDb(), QStringLiteral("自社情報")), 1);

    // A path with characters that mean something in a URI still opens the
    // named file, and a missing one is never created.
    QTemporaryDir dir;
    const QString odd = QDir(dir.path()).filePath(QStringLiteral("a#b?c%d 名前"));
    QVERIFY(QDir().mkpath(odd));
    QVERIFY(createNewInstallation(odd, nullptr));
    OpenResult oddResult =
        openExisting(QDir(odd).filePath(kWorkDbFileName), SchemaKind::Work, QStringLiteral("ok-odd"));
    QVERIFY2(oddResult.ok(), qPrintable(oddResult.error));
    oddResult.db = QSqlDatabase();
    closeConnection(QStringLiteral("ok-odd"));
    QCOMPARE(QDir(odd).entryList(QDir::Files).size(), 2);
}

void TestDatabase::openTellsWhyItCannotUseTheFile_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QStringList>("reasonParts");
    // The work file holds nothing kept: start-up offers a new one.
    const QString renewal = QStringLiteral("作業用のファイルを作り直すかどうかを尋ねます");
    QTest::newRow("read-only file") << "readOnlyFile"
                                    << QStringList{QStringLiteral("読み取り専用です"),
                                                   QStringLiteral("読み取り専用を外してから起動してください")};
    QTest::newRow("read-only folder") << "readOnlyFolder"
                                      << QStringList{QStringLiteral("フォルダー"), QStringLiteral("に書き込めません"),
                                                     QStringLiteral("読み取り専用を外すか")};
    QTest::newRow("locked by another program")
        << "locked" << QStringList{QStringLiteral("別のプログラムが使用中です"), QStringLiteral("閉じてから")};
    QTest::newRow("not a database") << "garbage"
                                    << QStringList{QStringLiteral("データベースとして読めません"), renewal};
}

// Each fault is told as what it is, with what to do, and opening leaves the
// file exactly as it was. No message sends the user to delete or replace it.
void TestDatabase::openTellsWhyItCannotUseTheFile()
{
    QFETCH(QString, fault);
    QFETCH(QStringList, reasonParts);
    test::TestDataFolder data;
    QVERIFY(data.isValid());
    const QString path = data.workPath();
    QVERIFY(execBound(data.workDb(), QStringLiteral("insert into w履歴 values (?, ?, ?)"),
                      {QStringLiteral("目印"), 1.0, QStringLiteral("そのまま")}));

    std::unique_ptr<test::Immutable> frozen;
    std::unique_ptr<test::Holder> holder;
    if (fault == QLatin1String("readOnlyFile") || fault == QLatin1String("readOnlyFolder")) {
        frozen = std::make_unique<test::Immutable>(fault == QLatin1String("readOnlyFile") ? path : data.path());
        if (!frozen->ok)
            QSKIP("this filesystem has no immutable attribute");
    } else if (fault == QLatin1String("locked")) {
        holder = std::make_unique<test::Holder>(path);
        QVERIFY(holder->held);
    } else if (fault == QLatin1String("garbage")) {
        writeFile(path, QByteArray(8192, '\x5a'));
    }
    const QByteArray before = fileHash(path);

    const QString connection = QStringLiteral("fault-") + fault;
    const OpenResult result = openExisting(path, SchemaKind::Work, connection);
    QVERIFY(!result.ok());
    QVERIFY(!QSqlDatabase::contains(connection));
    QVERIFY2(result.error.contains(QDir::toNativeSeparators(path)), qPrintable(result.error));
    for (const QString &part : reasonParts)
        QVERIFY2(result.error.contains(part), qPrintable(result.error));
    for (const QString &never :
         {QStringLiteral("削除"), QStringLiteral("消して"), QStringLiteral("置き換え"), QStringLiteral("journal")})
        QVERIFY2(!result.error.contains(never), qPrintable(result.error));
    QCOMPARE(fileHash(path), before);

    holder.reset();
    frozen.reset();
    // Once the fault is gone the same file opens, its rows intact.
    if (fault == QLatin1String("readOnlyFile") || fault == QLatin1String("readOnlyFolder")
        || fault == QLatin1String("locked")) {
        OpenResult again = openExisting(path, SchemaKind::Work, connection);
        QVERIFY2(again.ok(), qPrintable(again.error));
        QCOMPARE(test::rowCount(again.db, QStringLiteral("w履歴")), 1);
        again.db = QSqlDatabase();
        closeConnection(connection);
    }
}

// A write cut off halfway leaves its journal beside the file. Reading only
// (the exports) cannot play it back, and says so without calling the file
// damaged; opening to write plays it back and finds the file whole.
void TestDatabase::interruptedWriteIsNoDamage()
{
    test::TestDataFolder data;
    QVERIFY(data.isValid());
    QTemporaryDir crashed;
    QVERIFY(crashed.isValid());
    const QString copy = QDir(crashed.path()).filePath(kMainDbFileName);
    {
        // Pages spill to the file before the commit; a copy of the file and
        // its journal taken then is what a crash at that moment leaves.
        QSqlDatabase db = data.mainDb();
        QVERIFY(execBound(db, QStringLiteral("PRAGMA cache_size = 1")));
        QVERIFY(execBound(db, QStringLiteral("BEGIN")));
        QVERIFY(execBound(db, QStringLiteral("create table spill (v)")));
        for (int i = 0; i < 200; ++i)
            QVERIFY(execBound(db, QStringLiteral("insert into spill values (randomblob(1000))")));
        QVERIFY(QFile::copy(data.mainPath(), copy));
        QVERIFY(QFile::copy(data.mainPath() + QStringLiteral("-journal"), copy + QStringLiteral("-journal")));
        QVERIFY(execBound(db, QStringLiteral("ROLLBACK")));
    }
    const OpenResult read = openForReading(copy, SchemaKind::Main, QStringLiteral("interrupted-read"));
    QVERIFY(!read.ok());
    QVERIFY2(read.error.contains(QStringLiteral("書き込みの途中で止まった")), qPrintable(read.error));
    QVERIFY2(!read.error.contains(QStringLiteral("壊れています")), qPrintable(read.error));

    OpenResult opened = openExisting(copy, SchemaKind::Main, QStringLiteral("interrupted-open"));
    QVERIFY2(opened.ok(), qPrintable(opened.error));
    QVERIFY(!test::rows(opened.db, QStringLiteral("select name from sqlite_master where name = 'spill'")).size());
    opened.db = QSqlDatabase();
    closeConnection(QStringLiteral("interrupted-open"));
}

void TestDatabase::damageInsideTheFileIsFoundAfterOpening_data()
{
    QTest::addColumn<bool>("mainFile");
    QTest::addColumn<bool>("damaged");
    QTest::newRow("main, sound") << true << false;
    QTest::newRow("main, a page of its statements damaged") << true << true;
    QTest::newRow("work, sound") << false << false;
    QTest::newRow("work, a page of its hints damaged") << false << true;
}

// Opening reads only the file's header and table list, so a file damaged in
// the middle opens; the full read afterwards finds it, and a sound file
// grown as large reads back sound.
void TestDatabase::damageInsideTheFileIsFoundAfterOpening()
{
    QFETCH(bool, mainFile);
    QFETCH(bool, damaged);
    test::TestDataFolder data;
    const QString path = mainFile ? data.mainPath() : data.workPath();
    const QString table = mainFile ? QStringLiteral("時給明細") : QStringLiteral("ClHint");
    const QString column = mainFile ? QStringLiteral("氏名") : QStringLiteral("Contents");
    if (damaged) {
        QVERIFY(test::damageMiddlePage(path, table, column));
    } else {
        QVERIFY(
            execBound(mainFile ? data.mainDb() : data.workDb(),
                      QStringLiteral("with recursive n(i) as (select 1 union all select i + 1 from n where i < 20000)"
                                     " insert into %1 (%2) select hex(zeroblob(100)) || i from n")
                          .arg(table, column)));
    }

    const QString connection = QStringLiteral("damaged-inside");
    {
        OpenResult opened = openExisting(path, mainFile ? SchemaKind::Main : SchemaKind::Work, connection);
        QVERIFY2(opened.ok(), qPrintable(opened.error));
        opened.db = QSqlDatabase();
        closeConnection(connection);
    }
    const QString problem = soundnessProblem(path);
    QCOMPARE(!problem.isEmpty(), damaged);
    if (damaged)
        QVERIFY2(problem.contains(QStringLiteral("壊れています")) || problem.contains(QStringLiteral("読めません")),
                 qPrintable(problem));
}

void TestDatabase::transactionRollsBack()
{
    test::TestDataFolder data;
    QSqlDatabase main = data.mainDb();
    {
        Transaction transaction(main);
        QVERIFY(transaction.started());
        QVERIFY(execBound(main, QStringLiteral("insert into 従業員 (氏名) values (?)"), {QStringLiteral("O'Brien")}));
        // Leaves scope without commit.
    }
    QCOMPARE(test::rowCount(main, QStringLiteral("従業員")), 0);
    {
        Transaction transaction(main);
        QVERIFY(execBound(main, QStringLiteral("insert into 従業員 (氏名) values (?)"), {QStringLiteral("O'Brien")}));
        QVERIFY(transaction.commit());
    }
    QSqlQuery query(main);
    QVERIFY(query.exec(QStringLiteral("select 氏名 from 従業員")));
    QVERIFY(query.next());
    QCOMPARE(query.value(0).toString(), QStringLiteral("O'Brien"));
}

void TestDatabase::storeWhoseTransactionCannotBeginChangesNothing_data()
{
    QTest::addColumn<StoreChange>("change");
    QTest::newRow("employees: delete ticked") << StoreChange(employees::deleteTicked);
    QTest::newRow("employees: register page") << StoreChange(employees::registerPage);
    QTest::newRow("patterns: register page") << StoreChange(patterns::registerPage);
    QTest::newRow("statements: delete one") << StoreChange([](const QSqlDatabase &main, const QSqlDatabase &) {
        return statements::remove(main, QStringLiteral("A"), QStringLiteral("4月"));
    });
    QTest::newRow("statements: delete all") << StoreChange(
        [](const QSqlDatabase &main, const QSqlDatabase &) { return statements::removeEverything(main); });
}

// A change whose transaction does not begin must not go ahead statement by
// statement: a later failure would leave half of it done.
void TestDatabase::storeWhoseTransactionCannotBeginChangesNothing()
{
    QFETCH(StoreChange, change);
    test::TestDataFolder data;
    QSqlDatabase main = data.mainDb();
    QSqlDatabase work = data.workDb();
    for (const QString &name : {QStringLiteral("A"), QStringLiteral("B")})
        QVERIFY(execBound(main, QStringLiteral("insert into 従業員 (\"No\", 氏名) values (?, ?)"), {name, name}));
    QVERIFY(execBound(main, QStringLiteral("insert into 勤務形態マスタ (\"No\", タイプ) values (1, 'A')")));
    QVERIFY(execBound(main, QStringLiteral("insert into 時給ヘッダ (氏名, タイトル) values ('A', '4月')")));
    QVERIFY(employees::readMaster(main, work));
    QVERIFY(patterns::readMaster(main, work));
    // The page asks for A to go, and B is left off it.
    QVERIFY(execBound(work, QStringLiteral("update w従業員 set チェック = -1 where 氏名 = 'A'")));
    QVERIFY(execBound(work, QStringLiteral("update w従業員 set 氏名 = null where 氏名 = 'B'")));
    QVERIFY(execBound(work, QStringLiteral("delete from w勤務形態")));

    const QString everything =
        QStringLiteral("select 'e', 氏名 from 従業員 union all select 'p', タイプ from 勤務形態マスタ"
                       " union all select 'h', 氏名 from 時給ヘッダ");
    const test::Rows before = test::rows(main, everything);
    // A transaction already open on the connection makes the store's own
    // begin fail.
    QVERIFY(QSqlQuery(main).exec(QStringLiteral("BEGIN")));
    QVERIFY(!change(main, work));
    QCOMPARE(test::rows(main, everything), before);
    QVERIFY(QSqlQuery(main).exec(QStringLiteral("ROLLBACK")));
}

void TestDatabase::failedQueryKeepsWhy_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<bool>("keep");
    const QString unknownTable = QStringLiteral("select 氏名 from 従業員_none where 氏名 = ?");
    const QString doubleKey = QStringLiteral("insert into 設定 (項目, 値) values (?, ?)");
    QTest::newRow("cannot be prepared, kept") << unknownTable << QVariantList{QStringLiteral("A")} << true;
    QTest::newRow("cannot be prepared, an answer") << unknownTable << QVariantList{QStringLiteral("A")} << false;
    QTest::newRow("refused when run, kept")
        << doubleKey << QVariantList{QStringLiteral("k"), QStringLiteral("v")} << true;
}

// A failed statement says what failed, and the connection's next message
// says why only when the failure was kept for it.
void TestDatabase::failedQueryKeepsWhy()
{
    QFETCH(QString, sql);
    QFETCH(QVariantList, values);
    QFETCH(bool, keep);
    test::TestDataFolder data;
    QSqlDatabase main = data.mainDb();
    QVERIFY(execBound(main, QStringLiteral("insert into 設定 (項目, 値) values ('k', 'v')")));
    forgetFailure(main);

    Query query(main, keep ? OnFailure::Keep : OnFailure::Answer);
    QVERIFY(!query.run(sql, values));
    QVERIFY(query.failed());
    QCOMPARE(query.failedStatement(), sql);
    const QString detail = failureDetail(main);
    QCOMPARE(!detail.isEmpty(), keep);
    if (keep)
        QVERIFY2(detail.contains(QFileInfo(data.mainPath()).fileName()) && detail.contains(query.error().text()),
                 qPrintable(detail));
    // The next statement that succeeds starts clean.
    QVERIFY(query.run(QStringLiteral("select count(*) from 設定")));
    QVERIFY(!query.failed());
}

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_database.moc"
