// Saving and reopening a 20-line statement as the statement page does it,
// beside its floor, at 0, 12,000 and 100,000 stored statements: the save
// must not grow with the statements stored before it.
//
//   save    what 登録 reads and writes once the user has answered: the
//           stored titles of the name (the title settled), the title's
//           close, the stored statement it replaces, the days of its lines
//           stored under other titles, the statements of the same period,
//           the week's earlier lines (the premiums), the law's findings
//           (the year's overtime), then the one save: checks, header, lines
//           and pay in one write transaction. Floor: the header updated, the
//           pair's lines deleted and the 20 lines inserted with bare
//           QSqlQuery in one transaction.
//   reopen  読込: the header, the lines put on the page's 60 rows in the
//           work file, the stored pay and the title's close. Floor: the
//           header and the lines read with bare QSqlQuery.
//
// The shop has 150 employees; statement i is employee i % 150's for the
// month i / 150 (from January 1990), with 20 lines on the 1st to the 20th:
// a month's title is shared by every employee, as in a real shop, and no day
// is stored twice. The statement measured is employee 75's in the middle
// month (with no statement stored, it is saved once first).
#include "payroll/DetailLines.h"
#include "payroll/LawFindings.h"
#include "payroll/MonthClose.h"
#include "payroll/StatementPay.h"
#include "payroll/StatementStore.h"
#include "masters/PaySettings.h"
#include "store/Database.h"
#include "store/NewInstallation.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

using namespace pelmar;

constexpr int kEmployees = 150;
constexpr int kLines = 20;

QString titleOf(int month)
{
    const QDate first = QDate(1990, 1, 1).addMonths(month);
    return QStringLiteral("%1年%2月分").arg(first.year()).arg(first.month());
}

QString nameOf(int employee)
{
    return QStringLiteral("従業員%1").arg(employee + 1);
}

std::unique_ptr<QTemporaryDir> generate(int statements)
{
    auto dir = std::make_unique<QTemporaryDir>();
    createNewInstallation(dir->path(), nullptr);
    const QString connection = QStringLiteral("bench-save-generate");
    {
        OpenResult main = openExisting(QDir(dir->path()).filePath(kMainDbFileName), SchemaKind::Main, connection);
        Transaction transaction(main.db);
        if (statements == 0) {
            transaction.commit();
            main.db = QSqlDatabase();
            closeConnection(connection);
            return dir;
        }
        const QString counter = QStringLiteral("with recursive n(i) as (select 0 union all select i + 1 from n"
                                               " where i + 1 < ?) ");
        execBound(main.db,
                  counter + QStringLiteral("insert into 従業員 select i + 1, '従業員' || (i + 1), 1000, 'A',"
                                           " '0900', '1800', 1, 8 from n"),
                  {kEmployees});
        // The month of statement i as yyyy and m, from January 1990.
        const QString year = QStringLiteral("(1990 + (i / %1) / 12)").arg(kEmployees);
        const QString month = QStringLiteral("((i / %1) % 12 + 1)").arg(kEmployees);
        execBound(main.db,
                  counter
                      + QStringLiteral("insert into 時給ヘッダ (氏名, タイトル, 勤務タイプ, 時給, 休憩, 調整額, 時間, 合計,"
                                       " 深夜, 時間外, 割増額, 休日, 時間外60超) select '従業員' || (i % %1 + 1),"
                                       " %2 || '年' || %3 || '月分', 'A', 1000, 20, 0, 160, 160000, 0, 0, 0, 0, 0"
                                       " from n")
                            .arg(kEmployees)
                            .arg(year, month),
                  {statements});
        const QString lineYear = QStringLiteral("(1990 + (i / %1 / %2) / 12)").arg(kLines).arg(kEmployees);
        const QString lineMonth = QStringLiteral("((i / %1 / %2) % 12 + 1)").arg(kLines).arg(kEmployees);
        // printf's own %d stays out of QString::arg, which would take it for a place.
        const QString day = QStringLiteral("(i % %1 + 1)").arg(kLines);
        execBound(main.db,
                  counter
                      + QStringLiteral("insert into 時給明細 (氏名, タイトル, 行番号, 日付, 開始時間, 終了時間, 休憩, 時間,"
                                       " 時給, 調整額, 金額, 深夜, 時間外, 割増額, 休日, 時間外60超) select '従業員' || ")
                      + QStringLiteral("((i / %1) %% %2 + 1)").arg(kLines).arg(kEmployees).replace(QStringLiteral("%%"), QStringLiteral("%"))
                      + QStringLiteral(", ") + lineYear + QStringLiteral(" || '年' || ") + lineMonth
                      + QStringLiteral(" || '月分', ") + day + QStringLiteral(", printf('%04d%02d%02d', ") + lineYear
                      + QStringLiteral(", ") + lineMonth + QStringLiteral(", ") + day
                      + QStringLiteral("), '0900', '1800', 1, 8, 1000, null, 8000, 0, 0, 0, 0, 0 from n"),
                  {statements * kLines});
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

struct Files {
    explicit Files(const QString &folder)
    {
        main = openExisting(QDir(folder).filePath(kMainDbFileName), SchemaKind::Main, QStringLiteral("bench-main")).db;
        work = openExisting(QDir(folder).filePath(kWorkDbFileName), SchemaKind::Work, QStringLiteral("bench-work")).db;
    }
    ~Files()
    {
        main = QSqlDatabase();
        work = QSqlDatabase();
        closeConnection(QStringLiteral("bench-main"));
        closeConnection(QStringLiteral("bench-work"));
    }
    QSqlDatabase main;
    QSqlDatabase work;
};

// The statement measured, on the page's lines in the work file.
struct Chosen {
    QString name = nameOf(kEmployees / 2);
    QString title;
    QList<QVariantList> lines;
};

Chosen choose(const Files &files, int statements)
{
    Chosen chosen;
    const int month = statements / kEmployees / 2;
    chosen.title = titleOf(month);
    const QDate first = QDate(1990, 1, 1).addMonths(month);
    for (int day = 1; day <= kLines; ++day)
        chosen.lines << QVariantList{QDate(first.year(), first.month(), day).toString(QStringLiteral("yyyyMMdd")),
                                     "0900", "1800", 1.0, 8.0, 1000.0, QVariant(), 8000.0, 0.0, 0.0, 0.0, 0.0, 0.0};
    if (!statements::readHeader(files.main, chosen.name, chosen.title)) {
        statements::StatementToStore statement;
        statement.header = {chosen.name, chosen.title, QStringLiteral("A"), 1000, 20, 0, 160, 160000, 0, 0, 0, 0, 0};
        statement.lines = chosen.lines;
        statements::save(files.main, {statement});
    }
    return chosen;
}

// What 登録 reads before and while it saves, then the save.
bool pageSave(const Files &files, const Chosen &chosen, const settings::PaySettings &rules)
{
    statements::storedTitles(files.main, chosen.name);
    closing::stateOf(files.main, chosen.title);
    statements::StatementToStore statement;
    const std::optional<statements::Header> header = statements::readHeader(files.main, chosen.name, chosen.title);
    if (!header)
        return false;
    statement.header = *header;
    statement.lines = *statements::completeLines(files.work);
    statement.payFromLines = false;
    statement.expected.replacing = statements::storedState(files.main, chosen.name, chosen.title);
    QStringList dates;
    QList<premium::DayLine> dayLines;
    for (const QVariantList &line : statement.lines) {
        dates << line.at(0).toString();
        dayLines << premium::DayLine{int(dayLines.size()) + 1, line.at(0), line.at(1), line.at(2), line.at(3),
                                     line.at(4), line.at(5), {}};
    }
    statements::daysStoredElsewhere(files.main, chosen.name, chosen.title, dates);
    statements::overlappingStatements(files.main, files.work, chosen.name, chosen.title);
    statements::earlierLines(files.main, chosen.name, chosen.title, dayLines, rules.weekStart);
    statements::lawFindings(files.main, chosen.name, chosen.title, statement.lines, rules);
    return statements::save(files.main, {statement}).ok();
}

bool reopen(const Files &files, const Chosen &chosen)
{
    return statements::readHeader(files.main, chosen.name, chosen.title)
        && statements::loadLines(files.main, files.work, chosen.name, chosen.title)
        && statements::readStatementPay(files.main, chosen.name, chosen.title)
        && closing::stateOf(files.main, chosen.title);
}

bool floorSave(const Files &files, const Chosen &chosen)
{
    const QVariantList pair{chosen.name, chosen.title};
    QSqlDatabase main = files.main;
    bool ok = main.transaction();
    QSqlQuery update(files.main);
    update.prepare(QStringLiteral("update 時給ヘッダ set 時間 = 160, 合計 = 160000 where 氏名 = ? and タイトル = ?"));
    update.addBindValue(chosen.name);
    update.addBindValue(chosen.title);
    ok = ok && update.exec();
    QSqlQuery remove(files.main);
    remove.prepare(QStringLiteral("delete from 時給明細 where 氏名 = ? and タイトル = ?"));
    remove.addBindValue(chosen.name);
    remove.addBindValue(chosen.title);
    ok = ok && remove.exec();
    QSqlQuery insert(files.main);
    insert.prepare(QStringLiteral("insert into 時給明細 (氏名, タイトル, 行番号, 日付, 開始時間, 終了時間, 休憩, 時間,"
                                  " 時給, 調整額, 金額, 深夜, 時間外, 割増額, 休日, 時間外60超)"
                                  " values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (int i = 0; i < chosen.lines.size(); ++i) {
        const QVariantList values = pair + QVariantList{i + 1} + chosen.lines.at(i);
        for (int v = 0; v < values.size(); ++v)
            insert.bindValue(v, values.at(v));
        ok = ok && insert.exec();
    }
    return main.commit() && ok;
}

bool floorReopen(const Files &files, const Chosen &chosen)
{
    QSqlQuery header(files.main);
    header.prepare(QStringLiteral("select * from 時給ヘッダ where 氏名 = ? and タイトル = ?"));
    header.addBindValue(chosen.name);
    header.addBindValue(chosen.title);
    QSqlQuery lines(files.main);
    lines.prepare(QStringLiteral("select * from 時給明細 where 氏名 = ? and タイトル = ? order by 行番号"));
    lines.addBindValue(chosen.name);
    lines.addBindValue(chosen.title);
    int read = 0;
    if (header.exec() && header.next() && lines.exec())
        while (lines.next())
            ++read;
    return read == kLines;
}

void report(benchmark::State &state, double pelmarMs, double floorMs)
{
    const double n = double(state.iterations());
    state.counters["pelmar_ms"] = pelmarMs / n;
    state.counters["floor_ms"] = floorMs / n;
}

template <typename Pelmar, typename Floor> void besideFloor(benchmark::State &state, Pelmar &&pelmar, Floor &&floor)
{
    double pelmarMs = 0, floorMs = 0;
    QElapsedTimer timer;
    bool pelmarFirst = true;
    for (auto _ : state) {
        for (int turn = 0; turn < 2; ++turn) {
            const bool isPelmar = (turn == 0) == pelmarFirst;
            timer.start();
            const bool ok = isPelmar ? pelmar() : floor();
            (isPelmar ? pelmarMs : floorMs) += double(timer.nsecsElapsed()) / 1e6;
            if (!ok)
                state.SkipWithError(isPelmar ? "Pelmar failed" : "the floor failed");
        }
        pelmarFirst = !pelmarFirst;
    }
    report(state, pelmarMs, floorMs);
}

void save(benchmark::State &state)
{
    const int statements = int(state.range(0));
    Files files(dataFolder(statements));
    const Chosen chosen = choose(files, statements);
    const settings::PaySettings rules = settings::load(files.main).value_or(settings::PaySettings{});
    statements::loadLines(files.main, files.work, chosen.name, chosen.title);
    besideFloor(state, [&] { return pageSave(files, chosen, rules); }, [&] { return floorSave(files, chosen); });
}

void reopenStatement(benchmark::State &state)
{
    const int statements = int(state.range(0));
    Files files(dataFolder(statements));
    const Chosen chosen = choose(files, statements);
    besideFloor(state, [&] { return reopen(files, chosen); }, [&] { return floorReopen(files, chosen); });
}

void sizes(benchmark::internal::Benchmark *b)
{
    b->Arg(0)->Arg(12000)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(1.0)->Repetitions(5)->ReportAggregatesOnly(
        true);
}

BENCHMARK(save)->Apply(sizes);
BENCHMARK(reopenStatement)->Apply(sizes);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
