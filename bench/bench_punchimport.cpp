// The punch import of a large file, each step as the window and the command
// line run it:
//
//   plan       makePlan on a data folder: the file's rows checked against
//              the employee master and the stored statements, overlaps and
//              full statements refused, each employee's lines worked out.
//              Ordinary rows: one employee for every 50 rows, 50 days of
//              9:00 to 17:30 with a 0:30 break each.
//   identical  makePlan on the same number of copies of one row: every row
//              overlaps every other, and each is refused.
//   overlaps   the overlap check alone (refuseOverlaps) on rows already read,
//              ordinary and identical.
//
// Each at 10,000 and 100,000 rows. The file and the data folder are made
// once for a size, outside the measured time.
#include "payroll/PunchImport.h"
#include "payroll/PunchStore.h"
#include "store/Database.h"
#include "store/NewInstallation.h"
#include "store/Query.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

using namespace pelmar;

constexpr int kRowsPerEmployee = 50;

QString employeeName(int i)
{
    return QStringLiteral("従業員 %1").arg(i, 5, 10, QLatin1Char('0'));
}

QString ordinaryFile(int rows)
{
    QString text = QStringLiteral("氏名,日付,出勤,退勤,休憩\r\n");
    const QDate first(2026, 1, 1);
    for (int i = 0; i < rows; ++i)
        text += QStringLiteral("%1,%2,9:00,17:30,0:30\r\n")
                    .arg(employeeName(i / kRowsPerEmployee),
                         first.addDays(i % kRowsPerEmployee).toString(QStringLiteral("yyyy/MM/dd")));
    return text;
}

QString identicalFile(int rows)
{
    QString text = QStringLiteral("氏名,日付,出勤,退勤,休憩\r\n");
    for (int i = 0; i < rows; ++i)
        text += employeeName(0) + QStringLiteral(",2026/01/05,9:00,17:30,0:30\r\n");
    return text;
}

// A data folder with the employees the files name, open as the program
// opens it; made once a size.
struct Shop {
    std::unique_ptr<QTemporaryDir> dir;
    QString connection;
    QSqlDatabase main;
};

Shop &shopFor(int rows)
{
    static std::map<int, Shop> shops;
    Shop &shop = shops[rows];
    if (shop.dir)
        return shop;
    shop.dir = std::make_unique<QTemporaryDir>();
    createNewInstallation(shop.dir->path(), nullptr);
    shop.connection = QStringLiteral("bench-punch-%1").arg(rows);
    shop.main = openExisting(QDir(shop.dir->path()).filePath(kMainDbFileName), SchemaKind::Main, shop.connection).db;
    Transaction transaction(shop.main);
    for (int i = 0; i <= rows / kRowsPerEmployee; ++i)
        execBound(shop.main, QStringLiteral("insert into 従業員 (No, 氏名, 時給) values (?, ?, 1100)"),
                  {i + 1, employeeName(i)});
    transaction.commit();
    return shop;
}

const punch::ColumnMapping &mapping()
{
    static const punch::ColumnMapping known = *punch::recogniseHeader({"氏名", "日付", "出勤", "退勤", "休憩"});
    return known;
}

void planOf(benchmark::State &state, const QString &text)
{
    Shop &shop = shopFor(int(state.range(0)));
    const csv::ReadFile file = csv::parse(text);
    for (auto _ : state) {
        const auto plan = punch::makePlan(shop.main, file.records, mapping(), QStringLiteral("2026年1月分"));
        if (!plan)
            state.SkipWithError("the plan could not be made");
        benchmark::DoNotOptimize(plan);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void plan(benchmark::State &state)
{
    planOf(state, ordinaryFile(int(state.range(0))));
}

void identical(benchmark::State &state)
{
    planOf(state, identicalFile(int(state.range(0))));
}

void overlapsOf(benchmark::State &state, const QString &text)
{
    punch::ImportContext context;
    for (int i = 0; i <= state.range(0) / kRowsPerEmployee; ++i)
        context.employees << punch::Employee{employeeName(i), {}};
    context.yearWhenNone = 2026;
    // Read with the overlaps already refused; the check runs on a fresh copy.
    QList<punch::PunchRow> read = punch::readPunches(csv::parse(text).records, mapping(), context);
    for (punch::PunchRow &row : read) {
        row.problem = punch::Problem::None;
        row.reason.clear();
    }
    for (auto _ : state) {
        state.PauseTiming();
        QList<punch::PunchRow> rows = read;
        rows.detach();
        state.ResumeTiming();
        punch::refuseOverlaps(rows);
        benchmark::DoNotOptimize(rows);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void overlaps(benchmark::State &state)
{
    overlapsOf(state, ordinaryFile(int(state.range(0))));
}

void overlapsIdentical(benchmark::State &state)
{
    overlapsOf(state, identicalFile(int(state.range(0))));
}

} // namespace

BENCHMARK(plan)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(identical)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(overlaps)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(overlapsIdentical)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
