// How long the main window takes from opening the two files to every page
// filled: what a shop owner waits for at each start. Measured on a data
// folder of a busy shop: 150 employees, ten shift types, 200 statements.
#include "app/FrmPelmar.h"
#include "statements/StatementStore.h"
#include "store/Database.h"
#include "store/NewInstallation.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QString busyShop(QTemporaryDir &dir)
{
    using namespace pelmar;
    createNewInstallation(dir.path(), nullptr);
    {
        OpenResult main =
            openExisting(QDir(dir.path()).filePath(kMainDbFileName), SchemaKind::Main, QStringLiteral("bench-main"));
        Transaction transaction(main.db);
        for (int i = 1; i <= 10; ++i)
            execBound(main.db, QStringLiteral("insert into 勤務形態マスタ values (?, ?, '0900', '1800', 1, 8)"),
                      {i, QString(QChar(64 + i))});
        for (int i = 1; i <= 150; ++i)
            execBound(main.db, QStringLiteral("insert into 従業員 values (?, ?, 1000, 'A', '0900', '1800', 1, 8)"),
                      {i, QStringLiteral("従業員%1").arg(i)});
        for (int i = 0; i < 200; ++i) {
            execBound(main.db, QStringLiteral("insert into 時給ヘッダ values (?, ?, 'A', 1000, 20, 0, 160, 160000)"),
                      {QStringLiteral("従業員%1").arg(i % 150 + 1), QStringLiteral("%1月分").arg(i)});
            for (int line = 1; line <= 20; ++line)
                execBound(main.db,
                          QStringLiteral("insert into 時給明細 values (?, ?, ?, '20260301', '0900', '1800', 1, 8,"
                                         " 1000, null, 8000)"),
                          {QStringLiteral("従業員%1").arg(i % 150 + 1), QStringLiteral("%1月分").arg(i), line});
        }
        transaction.commit();
        main.db = QSqlDatabase();
        closeConnection(QStringLiteral("bench-main"));
    }
    return dir.path();
}

void startUp(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString data = busyShop(dir);
    for (auto _ : state) {
        FrmPelmar window(data);
        benchmark::DoNotOptimize(window.isOpen());
    }
}
BENCHMARK(startUp)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
