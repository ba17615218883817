// Every visible cell goes through the display formats on each repaint, so
// they must stay cheap: a full statement grid is 60 lines of 8 cells.
#include "calc/Formats.h"

#include <benchmark/benchmark.h>

namespace {

void formatYen(benchmark::State &state)
{
    double value = 8333.333333333334;
    for (auto _ : state) {
        benchmark::DoNotOptimize(pelmar::fmt::format(value, pelmar::fmt::kYen));
        value += 1.25;
    }
}
BENCHMARK(formatYen);

void formatTime(benchmark::State &state)
{
    const QVariant time(QStringLiteral("0930"));
    for (auto _ : state)
        benchmark::DoNotOptimize(pelmar::fmt::format(time, pelmar::fmt::kTime));
}
BENCHMARK(formatTime);

void formatStatementGrid(benchmark::State &state)
{
    const QVariant date(QStringLiteral("20260301")), start(QStringLiteral("0900")), end(QStringLiteral("1730")),
        rest(0.75), hours(7.75), wage(1100.0), amount(8525.0);
    for (auto _ : state) {
        for (int line = 0; line < 60; ++line) {
            benchmark::DoNotOptimize(pelmar::fmt::format(date, pelmar::fmt::kDate));
            benchmark::DoNotOptimize(pelmar::fmt::format(start, pelmar::fmt::kTime));
            benchmark::DoNotOptimize(pelmar::fmt::format(end, pelmar::fmt::kTime));
            benchmark::DoNotOptimize(pelmar::fmt::format(rest, pelmar::fmt::kHoursLine));
            benchmark::DoNotOptimize(pelmar::fmt::format(hours, pelmar::fmt::kHoursLine));
            benchmark::DoNotOptimize(pelmar::fmt::format(wage, pelmar::fmt::kYen));
            benchmark::DoNotOptimize(pelmar::fmt::format(amount, pelmar::fmt::kYen));
        }
    }
}
BENCHMARK(formatStatementGrid);

} // namespace

BENCHMARK_MAIN();
