// What a shop owner waits for, each beside its floor: the least work that
// gives the same result with bare Qt and SQLite on the same tables, measured
// in the same run on the same files.
//
//   startUp        FrmPelmar constructed on the data folder, shown, and its
//                  first frame painted. Floor: both files opened as plain
//                  QSQLITE connections, and a bare QMainWindow of the same
//                  size whose QTabWidget holds one bare QTableView a tab,
//                  each over a QSqlTableModel selected on one of the tables
//                  the program shows at start-up: w明細 (the statement
//                  lines), w履歴 (the history list), w従業員 (the employee
//                  page), w勤務形態 (the shift-type page) and 自社情報 (the
//                  company details); shown and its first frame painted. The
//                  work tables hold what the program's start-up leaves in
//                  them, so both windows show the same rows, and both use
//                  the program's own application font.
//   history        the history list filled from every saved statement.
//                  Floor: with the main file attached to the work file's
//                  connection, one INSERT … SELECT of the same rows in the
//                  same order into w履歴, after emptying it, in one
//                  transaction.
//   reopenAndSave  a 20-line statement reopened onto the page's empty lines
//                  and saved back. Floor: the same reads and writes with
//                  bare QSqlQuery, one transaction per file (a transaction
//                  cannot span the two files' connections): the header and
//                  the stored lines read; w明細 emptied, its 60 numbered
//                  lines inserted and the 20 stored ones written over the
//                  first of them; the header updated, the pair's lines
//                  deleted and the complete lines of w明細 inserted.
//                  Emptying the page before each reopening is outside the
//                  measured time for both.
//
// Each runs at 0, 1,000, 12,000 and 100,000 saved statements of 20 lines.
// The data of a size is generated once, into a temporary folder shared by
// every benchmark of that size. Every iteration does the operation once in
// Pelmar and once as its floor, back to back, taking turns which goes first,
// so that a busy moment of a shared machine falls on both alike; only the
// operation itself is timed, in wall-clock and in the processor time of
// every thread of the program (start-up readies the data on a thread of its
// own while the window is built). Unless told otherwise each benchmark runs three times, in
// random order, and the run ends with a table of the medians.
#include "app/FrmPelmar.h"
#include "app/Look.h"
#include "payroll/DetailLines.h"
#include "payroll/StatementStore.h"
#include "store/Database.h"
#include "store/NewInstallation.h"
#include "store/Tables.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QSqlQuery>
#include <QSqlTableModel>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

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
                    + QStringLiteral("insert into 時給ヘッダ (氏名, タイトル, 勤務タイプ, 時給, 休憩, 調整額, 時間, "
                                     "合計) select '従業員' || (i % 150 + 1),"
                                     " i || '月分', 'A', 1000, 20, 0, 160, 160000 from n"),
                {statements});
            run(main.db,
                counter
                    + QStringLiteral(
                        "insert into 時給明細 (氏名, タイトル, 行番号, 日付, 開始時間, 終了時間, 休憩, 時間, 時給, "
                        "調整額, 金額) select '従業員' || ((i / ?) % 150 + 1), (i / ?) || '月分',"
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
    explicit Connections(const QString &folder, const QString &name = QStringLiteral("bench"))
        : mainName(name + QStringLiteral("-main")),
          workName(name + QStringLiteral("-work"))
    {
        main = open(QDir(folder).filePath(kMainDbFileName), mainName);
        work = open(QDir(folder).filePath(kWorkDbFileName), workName);
    }
    ~Connections()
    {
        main = QSqlDatabase();
        work = QSqlDatabase();
        closeConnection(mainName);
        closeConnection(workName);
    }
    QString mainName;
    QString workName;
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

// The wall-clock and processor time (all threads) of the measured parts.
struct Measured {
    double realMs = 0;
    double cpuMs = 0;
};

double processCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

template <typename Work> void measure(Measured &into, Work &&work)
{
    QElapsedTimer real;
    const double cpu = processCpuMs();
    real.start();
    work();
    into.realMs += double(real.nsecsElapsed()) / 1e6;
    into.cpuMs += processCpuMs() - cpu;
}

// Each iteration does the operation once in Pelmar and once as its floor,
// back to back and in turns which goes first, so that both meet the same
// moment of a shared machine. What each needs before or after it (waiting
// for the work after start-up, emptying the page) is not measured.
template <typename Pelmar, typename Floor> void besideFloor(benchmark::State &state, Pelmar &&pelmar, Floor &&floor)
{
    Measured times[2];
    bool pelmarFirst = true;
    for (auto _ : state) {
        if (pelmarFirst)
            pelmar(times[0]);
        floor(times[1]);
        if (!pelmarFirst)
            pelmar(times[0]);
        pelmarFirst = !pelmarFirst;
    }
    using benchmark::Counter;
    state.counters["Pelmar_ms"] = Counter(times[0].realMs, Counter::kAvgIterations);
    state.counters["floor_ms"] = Counter(times[1].realMs, Counter::kAvgIterations);
    state.counters["Pelmar_cpu"] = Counter(times[0].cpuMs, Counter::kAvgIterations);
    state.counters["floor_cpu"] = Counter(times[1].cpuMs, Counter::kAvgIterations);
}

// Whatever an earlier benchmark left in the work tables (a filled history
// list, say) is put back as start-up leaves it, so that each measured start
// follows a start, as a day's second start follows the first; both windows
// then show the same rows.
void startOnce(const QString &folder)
{
    FrmPelmar window(folder);
    window.show();
    while (!window.afterStartWorkDone())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

void startUp(benchmark::State &state)
{
    const QString folder = dataFolder(int(state.range(0)));
    startOnce(folder);
    // The tables the program's start-up shows, one tab each.
    const std::pair<const char *, const Table *> shown[] = {
        {"勤務表", &tables::w明細},       {"履歴", &tables::w履歴},          {"従業員", &tables::w従業員},
        {"勤務形態", &tables::w勤務形態}, {"設定・情報", &tables::自社情報},
    };
    besideFloor(
        state,
        [&](Measured &times) {
            std::unique_ptr<FrmPelmar> window;
            measure(times, [&] {
                window = std::make_unique<FrmPelmar>(folder);
                showAndPaint(*window);
            });
            // What runs after the window shows is not start-up; it finishes
            // before the window goes.
            while (!window->afterStartWorkDone())
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        },
        [&](Measured &times) {
            std::unique_ptr<Connections> files;
            std::unique_ptr<QMainWindow> window;
            measure(times, [&] {
                files = std::make_unique<Connections>(folder);
                window = std::make_unique<QMainWindow>();
                auto *tabs = new QTabWidget(window.get());
                for (const auto &[caption, table] : shown) {
                    auto *model =
                        new QSqlTableModel(window.get(), table == &tables::自社情報 ? files->main : files->work);
                    model->setTable(table->name);
                    model->select();
                    auto *view = new QTableView(tabs);
                    view->setModel(model);
                    tabs->addTab(view, QString::fromUtf8(caption));
                }
                window->setCentralWidget(tabs);
                window->resize(900, 680);
                showAndPaint(*window);
            });
            window.reset();
        });
}

void history(benchmark::State &state)
{
    const QString folder = dataFolder(int(state.range(0)));
    Connections files(folder);
    // The floor's connection has the main file attached throughout.
    Connections floorFiles(folder, QStringLiteral("bench-floor"));
    run(floorFiles.work, QStringLiteral("attach database ? as stored"), {QDir(folder).filePath(kMainDbFileName)});
    besideFloor(
        state,
        [&](Measured &times) {
            measure(times, [&] { benchmark::DoNotOptimize(statements::fillHistory(files.main, files.work)); });
        },
        [&](Measured &times) {
            measure(times, [&] {
                floorFiles.work.transaction();
                QSqlQuery(floorFiles.work).exec(QStringLiteral("delete from w履歴"));
                QSqlQuery(floorFiles.work)
                    .exec(QStringLiteral("insert into w履歴 (氏名, 合計, タイトル) select 氏名, 合計, タイトル"
                                         " from stored.時給ヘッダ order by 氏名, rowid"));
                benchmark::DoNotOptimize(floorFiles.work.commit());
            });
        });
    run(floorFiles.work, QStringLiteral("detach database stored"));
}

// The page's save: the lines of w明細 stored under the header, no pay kept.
bool savePage(const Connections &files, const statements::Header &header)
{
    statements::StatementToStore statement;
    statement.header = header;
    statement.lines = statements::completeLines(files.work).value_or(QList<QVariantList>{});
    statement.payFromLines = false;
    return statements::save(files.main, {statement}).ok();
}

// The statement in the middle of the file; with none stored, one is saved
// first so that there is something to reopen.
statements::Header middleStatement(const Connections &files, int count)
{
    const int index = count / 2;
    const QString name = QStringLiteral("従業員%1").arg(index % 150 + 1);
    const QString title = QStringLiteral("%1月分").arg(index);
    if (count == 0 && !statements::readHeader(files.main, name, title)) {
        statements::resetLines(files.work);
        run(files.work,
            QStringLiteral("update w明細 set 日付 = '20260301', 開始時間 = '0900', 終了時間 = '1800',"
                           " 休憩 = 1, 時間 = 8, 時給 = 1000, 金額 = 8000 where 行番号 <= ?"),
            {kLinesPerStatement});
        savePage(files, {name, title, QStringLiteral("A"), 1000, 20, 0, 160, 160000, {}, {}, {}, {}, {}});
    }
    return *statements::readHeader(files.main, name, title);
}

void reopenAndSave(benchmark::State &state)
{
    Connections files(dataFolder(int(state.range(0))));
    const statements::Header chosen = middleStatement(files, int(state.range(0)));
    const QVariantList pair{chosen.name, chosen.title};
    // Every column of a stored line, the premium ones included, as Pelmar
    // reads and writes them.
    const QString lineColumns = QStringLiteral(
        "日付, 開始時間, 終了時間, 休憩, 時間, 時給, 調整額, 金額, 深夜, 時間外, 割増額, 休日, 時間外60超");
    constexpr int kLineColumns = 13;
    besideFloor(
        state,
        [&](Measured &times) {
            // A statement is reopened onto an empty page, as the page is
            // after a save or a clear.
            statements::resetLines(files.work);
            measure(times, [&] {
                const auto header = statements::readHeader(files.main, chosen.name, chosen.title);
                statements::loadLines(files.main, files.work, chosen.name, chosen.title);
                benchmark::DoNotOptimize(savePage(files, *header));
            });
        },
        [&](Measured &times) {
            statements::resetLines(files.work);
            measure(times, [&] {
                // Reopen: the header, then the page's 60 empty lines with the
                // stored ones over the first of them.
                QSqlQuery header(files.main);
                header.prepare(
                    QStringLiteral("select rowid, 勤務タイプ, 時給, 休憩, 調整額, 時間, 合計, 深夜, 時間外,"
                                   " 割増額, 休日, 時間外60超 from 時給ヘッダ where 氏名 = ? and タイトル = ?"
                                   " order by rowid limit 1"));
                header.addBindValue(chosen.name);
                header.addBindValue(chosen.title);
                header.exec();
                header.next();
                const QVariant headerRow = header.value(0);
                QVariantList headerValues;
                for (int i = 1; i <= 11; ++i)
                    headerValues << header.value(i);
                header.finish();

                QSqlQuery stored(files.main);
                stored.prepare(QStringLiteral("select %1 from 時給明細 where 氏名 = ? and タイトル = ? order by 行番号")
                                   .arg(lineColumns));
                stored.addBindValue(chosen.name);
                stored.addBindValue(chosen.title);
                stored.exec();
                files.work.transaction();
                QSqlQuery(files.work).exec(QStringLiteral("delete from w明細"));
                QSqlQuery empty(files.work);
                empty.prepare(QStringLiteral("insert into w明細 (行番号) values (?)"));
                for (int row = 1; row <= statements::kStatementLines; ++row) {
                    empty.bindValue(0, row);
                    empty.exec();
                }
                QSqlQuery line(files.work);
                line.prepare(QStringLiteral("update w明細 set 日付 = ?, 開始時間 = ?, 終了時間 = ?, 休憩 = ?,"
                                            " 時間 = ?, 時給 = ?, 調整額 = ?, 金額 = ?, 深夜 = ?, 時間外 = ?,"
                                            " 割増額 = ?, 休日 = ?, 時間外60超 = ? where 行番号 = ?"));
                for (int row = 1; stored.next(); ++row) {
                    for (int i = 0; i < kLineColumns; ++i)
                        line.bindValue(i, stored.value(i));
                    line.bindValue(kLineColumns, row);
                    if (!line.exec())
                        state.SkipWithError("the floor could not write a line");
                }
                files.work.commit();

                // Save: the header over its row, the lines replaced by the page's.
                files.main.transaction();
                QSqlQuery update(files.main);
                update.prepare(QStringLiteral("update 時給ヘッダ set 氏名 = ?, タイトル = ?, 勤務タイプ = ?, 時給 = ?,"
                                              " 休憩 = ?, 調整額 = ?, 時間 = ?, 合計 = ?, 深夜 = ?, 時間外 = ?,"
                                              " 割増額 = ?, 休日 = ?, 時間外60超 = ? where rowid = ?"));
                for (const QVariant &value : pair + headerValues + QVariantList{headerRow})
                    update.addBindValue(value);
                if (!update.exec())
                    state.SkipWithError("the floor could not write the header");
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
                insert.prepare(QStringLiteral("insert into 時給明細 (氏名, タイトル, 行番号, %1)"
                                              " values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                                   .arg(lineColumns));
                for (int number = 1; lines.next(); ++number) {
                    insert.bindValue(0, chosen.name);
                    insert.bindValue(1, chosen.title);
                    insert.bindValue(2, number);
                    for (int i = 0; i < kLineColumns; ++i)
                        insert.bindValue(3 + i, lines.value(i));
                    if (!insert.exec())
                        state.SkipWithError("the floor could not store a line");
                }
                benchmark::DoNotOptimize(files.main.commit());
            });
        });
}

void sizes(benchmark::internal::Benchmark *b)
{
    b->Arg(0)->Arg(1000)->Arg(12000)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(1.0);
}

BENCHMARK(startUp)->Apply(sizes);
BENCHMARK(history)->Apply(sizes);
BENCHMARK(reopenAndSave)->Apply(sizes);

// Prints the usual lines and keeps every run's times for the closing table
// of medians.
class BesideFloorReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            std::vector<double> &times = m_runs[{run.run_name.function_name, run.run_name.args}];
            for (const char *counter : {"Pelmar_ms", "floor_ms", "Pelmar_cpu", "floor_cpu"})
                times.push_back(run.counters.at(counter).value);
        }
    }

    // The ratio is of wall-clock times, what the user waits for: the median
    // of each run's ratio. The processor time beside it tells a busy moment
    // of a shared machine from slow code, and counts the work start-up does
    // beside the window on a second thread.
    void printTable() const
    {
        std::printf("\nMedians (ms)\n%-14s %10s %5s %10s %10s %7s %11s %10s %9s\n", "operation", "statements", "runs",
                    "Pelmar", "floor", "ratio", "Pelmar cpu", "floor cpu", "cpu ratio");
        for (const char *operation : {"startUp", "history", "reopenAndSave"})
            for (const char *size : {"0", "1000", "12000", "100000"}) {
                const auto found = m_runs.find({operation, size});
                if (found == m_runs.end())
                    continue;
                const std::vector<double> &t = found->second;
                std::vector<double> column[6];
                for (size_t i = 0; i + 3 < t.size(); i += 4) {
                    for (int c = 0; c < 4; ++c)
                        column[c].push_back(t[i + c]);
                    column[4].push_back(t[i] / t[i + 1]);
                    column[5].push_back(t[i + 2] / t[i + 3]);
                }
                std::printf("%-14s %10s %5zu %10.2f %10.2f %7.2f %11.2f %10.2f %9.2f\n", operation, size,
                            column[0].size(), median(column[0]), median(column[1]), median(column[4]),
                            median(column[2]), median(column[3]), median(column[5]));
            }
    }

private:
    static double median(std::vector<double> values)
    {
        std::sort(values.begin(), values.end());
        const size_t n = values.size();
        if (n == 0)
            return 0;
        return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    }

    std::map<std::pair<std::string, std::string>, std::vector<double>> m_runs;
};

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "qt.qpa.*=false");
    // The offscreen platform warns at every window it shows.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type != QtWarningMsg || !message.contains(QLatin1String("propagateSizeHints")))
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    QApplication app(argc, argv);
    // The program's own look, as its main() sets it, for Pelmar and floors alike.
    QApplication::setFont(uiFont());
    // Three runs of each benchmark, in random order, unless the command
    // line says otherwise; flags given later win.
    std::vector<char *> args{argv[0]};
    std::string repetitions = "--benchmark_repetitions=3";
    std::string interleaving = "--benchmark_enable_random_interleaving=true";
    args.push_back(repetitions.data());
    args.push_back(interleaving.data());
    args.insert(args.end(), argv + 1, argv + argc);
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    BesideFloorReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printTable();
    benchmark::Shutdown();
    return 0;
}
