// What a shop owner waits for, each beside its floor: the least work that
// gives the same result with bare Qt SQL on the same tables.
//
//   startUp        the main window opened on the data folder and shown;
//                  floor: both files opened and one table view over w明細
//                  shown in a bare main window.
//   history        the history list filled from every saved statement;
//                  floor: the same rows selected from the main file and
//                  inserted into w履歴 in one transaction with one prepared
//                  statement (the two files are on two connections, so one
//                  INSERT … SELECT across them is not possible).
//   reopenAndSave  a 20-line statement reopened onto the page's lines and
//                  saved back; floor: the same reads and writes, one
//                  transaction per file.
//
// Each runs at 0, 12,000 and 100,000 saved statements of 20 lines. The data
// of a size is generated once, into a temporary folder shared by every
// benchmark of that size; a table of each operation beside its floor ends
// the run.
#include "app/FrmPelmar.h"
#include "statements/DetailLines.h"
#include "statements/StatementStore.h"
#include "store/Database.h"
#include "store/NewInstallation.h"
#include "store/Tables.h"

#include <QApplication>
#include <QDir>
#include <QMainWindow>
#include <QSqlQuery>
#include <QSqlTableModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QUrl>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>

namespace {

using namespace pelmar;

constexpr int kLinesPerStatement = 20;

bool run(const QSqlDatabase &db, const QString &sql, const QVariantList &values = {})
{
    QString error;
    if (execBound(db, sql, values, &error))
        return true;
    std::fprintf(stderr, "%s\n%s\n", qPrintable(sql), qPrintable(error));
    return false;
}

// A shop with 150 employees, ten shift types and `statements` saved
// statements of 20 lines, written by two INSERT … SELECT statements over a
// counter in one transaction.
std::unique_ptr<QTemporaryDir> generate(int statements)
{
    auto dir = std::make_unique<QTemporaryDir>();
    createNewInstallation(dir->path(), nullptr);
    const QString connection = QStringLiteral("bench-generate");
    {
        OpenResult main = openExisting(QDir(dir->path()).filePath(kMainDbFileName), SchemaKind::Main, connection);
        Transaction transaction(main.db);
        const QString counter = QStringLiteral("with recursive n(i) as (select 0 union all select i + 1 from n"
                                               " where i + 1 < ?) ");
        run(main.db,
            counter
                + QStringLiteral("insert into 勤務形態マスタ select i + 1, char(65 + i), '0900', '1800',"
                                 " 1, 8 from n"),
            {10});
        run(main.db,
            counter
                + QStringLiteral("insert into 従業員 select i + 1, '従業員' || (i + 1), 1000, 'A',"
                                 " '0900', '1800', 1, 8 from n"),
            {150});
        if (statements > 0) {
            run(main.db,
                counter
                    + QStringLiteral("insert into 時給ヘッダ select '従業員' || (i % 150 + 1),"
                                     " i || '月分', 'A', 1000, 20, 0, 160, 160000 from n"),
                {statements});
            run(main.db,
                counter
                    + QStringLiteral("insert into 時給明細 select '従業員' || ((i / ?) % 150 + 1), (i / ?) || '月分',"
                                     " i % ? + 1, printf('2026%02d%02d', (i / ?) % 12 + 1, i % ? + 1), '0900',"
                                     " '1800', 1, 8, 1000, null, 8000 from n"),
                {statements * kLinesPerStatement, kLinesPerStatement, kLinesPerStatement, kLinesPerStatement,
                 kLinesPerStatement, kLinesPerStatement});
        }
        transaction.commit();
        main.db = QSqlDatabase();
    }
    closeConnection(connection);
    return dir;
}

QString dataFolder(int statements)
{
    static std::map<int, std::unique_ptr<QTemporaryDir>> folders;
    auto &folder = folders[statements];
    if (!folder)
        folder = generate(statements);
    return folder->path();
}

// Connections for the floors and the store-level operations: opened the way
// any Qt program opens an existing SQLite file.
struct Connections {
    explicit Connections(const QString &folder)
    {
        main = open(QDir(folder).filePath(kMainDbFileName), QStringLiteral("bench-main"));
        work = open(QDir(folder).filePath(kWorkDbFileName), QStringLiteral("bench-work"));
    }
    ~Connections()
    {
        main = QSqlDatabase();
        work = QSqlDatabase();
        closeConnection(QStringLiteral("bench-main"));
        closeConnection(QStringLiteral("bench-work"));
    }
    static QSqlDatabase open(const QString &path, const QString &name)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.open();
        return db;
    }
    QSqlDatabase main;
    QSqlDatabase work;
};

void showAndPaint(QWidget &window)
{
    window.show();
    // The offscreen platform paints on the first pass of the event loop.
    QCoreApplication::processEvents();
}

void startUpPelmar(benchmark::State &state)
{
    const QString folder = dataFolder(int(state.range(0)));
    for (auto _ : state) {
        auto window = std::make_unique<FrmPelmar>(folder);
        showAndPaint(*window);
        benchmark::DoNotOptimize(window->isOpen());
        state.PauseTiming();
        // What runs after the window shows is not start-up; it finishes
        // before the window goes, outside the measured time.
        while (!window->afterStartWorkDone())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        window.reset();
        state.ResumeTiming();
    }
}

void startUpFloor(benchmark::State &state)
{
    const QString folder = dataFolder(int(state.range(0)));
    for (auto _ : state) {
        {
            Connections files(folder);
            QMainWindow window;
            auto *view = new QTableView(&window);
            QSqlTableModel model(nullptr, files.work);
            model.setTable(QStringLiteral("w明細"));
            model.select();
            view->setModel(&model);
            window.setCentralWidget(view);
            showAndPaint(window);
            benchmark::DoNotOptimize(model.rowCount());
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
}

void historyPelmar(benchmark::State &state)
{
    Connections files(dataFolder(int(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(statements::fillHistory(files.main, files.work));
}

void historyFloor(benchmark::State &state)
{
    Connections files(dataFolder(int(state.range(0))));
    for (auto _ : state) {
        QSqlQuery headers(files.main);
        headers.exec(QStringLiteral("select 氏名, 合計, タイトル from 時給ヘッダ order by 氏名, rowid"));
        files.work.transaction();
        QSqlQuery(files.work).exec(QStringLiteral("delete from w履歴"));
        QSqlQuery insert(files.work);
        insert.prepare(QStringLiteral("insert into w履歴 (氏名, 合計, タイトル) values (?, ?, ?)"));
        while (headers.next()) {
            for (int i = 0; i < 3; ++i)
                insert.bindValue(i, headers.value(i));
            insert.exec();
        }
        files.work.commit();
    }
}

// The statement in the middle of the file; with none stored, one is saved
// first so that there is something to reopen.
statements::Header middleStatement(const Connections &files, int count)
{
    const int index = count / 2;
    const QString name = QStringLiteral("従業員%1").arg(index % 150 + 1);
    const QString title = QStringLiteral("%1月分").arg(index);
    if (count == 0) {
        detail::resetLines(files.work);
        run(files.work,
            QStringLiteral("update w明細 set 日付 = '20260301', 開始時間 = '0900', 終了時間 = '1800',"
                           " 休憩 = 1, 時間 = 8, 時給 = 1000, 金額 = 8000 where 行番号 <= ?"),
            {kLinesPerStatement});
        statements::save(files.main, files.work, {name, title, QStringLiteral("A"), 1000, 20, 0, 160, 160000, {}, {}, {}}, {});
    }
    return *statements::readHeader(files.main, name, title);
}

void reopenAndSavePelmar(benchmark::State &state)
{
    Connections files(dataFolder(int(state.range(0))));
    const statements::Header chosen = middleStatement(files, int(state.range(0)));
    for (auto _ : state) {
        const auto header = statements::readHeader(files.main, chosen.name, chosen.title);
        detail::resetLines(files.work);
        statements::loadLines(files.main, files.work, chosen.name, chosen.title);
        benchmark::DoNotOptimize(statements::save(files.main, files.work, *header, {}));
    }
}

void reopenAndSaveFloor(benchmark::State &state)
{
    Connections files(dataFolder(int(state.range(0))));
    const statements::Header chosen = middleStatement(files, int(state.range(0)));
    const QVariantList pair{chosen.name, chosen.title};
    const QString lineColumns = QStringLiteral("日付, 開始時間, 終了時間, 休憩, 時間, 時給, 調整額, 金額");
    for (auto _ : state) {
        // Reopen: the header, then the page's 60 empty lines with the stored
        // ones over the first of them.
        QSqlQuery header(files.main);
        header.prepare(QStringLiteral("select rowid, 勤務タイプ, 時給, 休憩, 調整額, 時間, 合計 from 時給ヘッダ"
                                      " where 氏名 = ? and タイトル = ? order by rowid limit 1"));
        header.addBindValue(chosen.name);
        header.addBindValue(chosen.title);
        header.exec();
        header.next();
        const QVariant headerRow = header.value(0);
        QVariantList headerValues;
        for (int i = 1; i <= 6; ++i)
            headerValues << header.value(i);
        header.finish();

        QSqlQuery stored(files.main);
        stored.prepare(
            QStringLiteral("select %1 from 時給明細 where 氏名 = ? and タイトル = ? order by 行番号").arg(lineColumns));
        stored.addBindValue(chosen.name);
        stored.addBindValue(chosen.title);
        stored.exec();
        files.work.transaction();
        QSqlQuery(files.work).exec(QStringLiteral("delete from w明細"));
        QSqlQuery empty(files.work);
        empty.prepare(QStringLiteral("insert into w明細 (行番号) values (?)"));
        for (int row = 1; row <= detail::kStatementLines; ++row) {
            empty.bindValue(0, row);
            empty.exec();
        }
        QSqlQuery line(files.work);
        line.prepare(QStringLiteral("update w明細 set 日付 = ?, 開始時間 = ?, 終了時間 = ?, 休憩 = ?, 時間 = ?,"
                                    " 時給 = ?, 調整額 = ?, 金額 = ? where 行番号 = ?"));
        for (int row = 1; stored.next(); ++row) {
            for (int i = 0; i < 8; ++i)
                line.bindValue(i, stored.value(i));
            line.bindValue(8, row);
            line.exec();
        }
        files.work.commit();

        // Save: the header over its row, the lines replaced by the page's.
        files.main.transaction();
        QSqlQuery update(files.main);
        update.prepare(QStringLiteral("update 時給ヘッダ set 氏名 = ?, タイトル = ?, 勤務タイプ = ?, 時給 = ?,"
                                      " 休憩 = ?, 調整額 = ?, 時間 = ?, 合計 = ? where rowid = ?"));
        for (const QVariant &value : pair + headerValues + QVariantList{headerRow})
            update.addBindValue(value);
        update.exec();
        QSqlQuery remove(files.main);
        remove.prepare(QStringLiteral("delete from 時給明細 where 氏名 = ? and タイトル = ?"));
        remove.addBindValue(chosen.name);
        remove.addBindValue(chosen.title);
        remove.exec();
        QSqlQuery lines(files.work);
        lines.exec(QStringLiteral("select %1 from w明細 where 日付 is not null and 金額 is not null"
                                  " order by 日付, 行番号")
                       .arg(lineColumns));
        QSqlQuery insert(files.main);
        insert.prepare(QStringLiteral("insert into 時給明細 values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        for (int number = 1; lines.next(); ++number) {
            insert.bindValue(0, chosen.name);
            insert.bindValue(1, chosen.title);
            insert.bindValue(2, number);
            for (int i = 0; i < 8; ++i)
                insert.bindValue(3 + i, lines.value(i));
            insert.exec();
        }
        benchmark::DoNotOptimize(files.main.commit());
    }
}

void sizes(benchmark::internal::Benchmark *b)
{
    b->Arg(0)->Arg(12000)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(0.5);
}

BENCHMARK(startUpPelmar)->Apply(sizes);
BENCHMARK(startUpFloor)->Apply(sizes);
BENCHMARK(historyPelmar)->Apply(sizes);
BENCHMARK(historyFloor)->Apply(sizes);
BENCHMARK(reopenAndSavePelmar)->Apply(sizes);
BENCHMARK(reopenAndSaveFloor)->Apply(sizes);

// Prints the usual lines and keeps each run's time for the closing table.
class BesideFloorReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                m_times[run.run_name.function_name + '/' + run.run_name.args] = run.GetAdjustedRealTime();
    }

    void printTable() const
    {
        std::printf("\n%-16s %10s %12s %12s %7s\n", "operation", "statements", "Pelmar (ms)", "floor (ms)", "ratio");
        for (const char *operation : {"startUp", "history", "reopenAndSave"})
            for (const char *size : {"0", "12000", "100000"}) {
                const auto pelmar = m_times.find(std::string(operation) + "Pelmar/" + size);
                const auto floor = m_times.find(std::string(operation) + "Floor/" + size);
                if (pelmar == m_times.end() || floor == m_times.end())
                    continue;
                std::printf("%-16s %10s %12.3f %12.3f %7.2f\n", operation, size, pelmar->second, floor->second,
                            pelmar->second / floor->second);
            }
    }

private:
    std::map<std::string, double> m_times;
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "qt.qpa.*=false");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    BesideFloorReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printTable();
    benchmark::Shutdown();
    return 0;
}
