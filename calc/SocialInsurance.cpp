#include "calc/SocialInsurance.h"

#include <algorithm>
#include <numeric>

namespace pelmar::pay {

namespace {

constexpr qint64 kMillion = 1'000'000;

const GradeRow &healthRow(const QList<GradeRow> &grades, Yen remuneration)
{
    for (const GradeRow &row : grades) {
        if (!row.to || remuneration < *row.to)
            return row;
    }
    return grades.last();
}

// 厚生年金 has fewer grades: below its first row the first, above its last
// row the last.
const GradeRow *pensionRow(const QList<GradeRow> &grades, Yen remuneration)
{
    const GradeRow *last = nullptr;
    for (const GradeRow &row : grades) {
        if (row.pension == 0)
            continue;
        if (!row.to || remuneration < *row.to)
            return &row;
        last = &row;
    }
    return last;
}

// The month that holds the day an age is reached: the day before the
// birthday. Taking a day off the birth date first keeps a birthday on the
// 1st of a month, and 29 February, on the right day in every year.
YearMonth monthOfAge(const QDate &birth, int age)
{
    return YearMonth::of(birth.addDays(-1).addYears(age));
}

int threshold(Worker worker)
{
    constexpr int kRegularDays = 17;
    constexpr int kShortTimeDays = 11;
    return worker == Worker::ShortTime ? kShortTimeDays : kRegularDays;
}

// The months of `months` with at least `days` 支払基礎日数.
QList<int> monthsWith(const std::array<MonthPay, 3> &months, int days)
{
    QList<int> counted;
    for (int i = 0; i < int(months.size()); ++i) {
        if (months[i].basisDays >= days)
            counted.append(i);
    }
    return counted;
}

Yen averageOf(const std::array<MonthPay, 3> &months, const QList<int> &counted)
{
    const Yen sum = std::accumulate(counted.cbegin(), counted.cend(), Yen(0),
                                    [&](Yen total, int i) { return total + months[i].pay; });
    return sum / counted.size(); // fractions of a yen dropped
}

// Whether `found` lies two grades or more from `current` in the direction
// of the change. Grade 0 is no grade: nothing to compare.
bool movesTwoGrades(int current, int found, bool raised)
{
    constexpr int kGradesApart = 2;
    if (current == 0 || found == 0)
        return false;
    return (raised ? found - current : current - found) >= kGradesApart;
}

} // namespace

Grades gradesOf(const QList<GradeRow> &grades, Yen remuneration)
{
    if (grades.isEmpty())
        return {};
    const GradeRow &health = healthRow(grades, remuneration);
    const GradeRow *pension = pensionRow(grades, remuneration);
    return {health.health, health.standard, pension ? pension->pension : 0, pension ? pension->standard : 0};
}

std::optional<Grades> gradesOfStandard(const QList<GradeRow> &grades, Yen healthStandard)
{
    // A standard amount lies in its own row (the reading checks it).
    const Grades found = gradesOf(grades, healthStandard);
    if (found.health == 0 || found.healthStandard != healthStandard)
        return std::nullopt;
    return found;
}

bool owesMonth(const Coverage &coverage, YearMonth month)
{
    if (!coverage.acquired.isValid() || !month.isValid())
        return false;
    const QDate last = month.lastDay();
    if (coverage.acquired > last)
        return false;
    if (!coverage.lost.isValid() || coverage.lost > last)
        return true;
    return coverage.lost > coverage.acquired && YearMonth::of(coverage.acquired) == month
        && YearMonth::of(coverage.lost) == month;
}

bool careApplies(const QDate &birth, YearMonth month)
{
    constexpr int kCareFrom = 40;
    constexpr int kCareUntil = 65;
    return birth.isValid() && monthOfAge(birth, kCareFrom) <= month && month < monthOfAge(birth, kCareUntil);
}

bool pensionAgeApplies(const QDate &birth, YearMonth month)
{
    constexpr int kPensionUntil = 70;
    return !birth.isValid() || month < monthOfAge(birth, kPensionUntil);
}

bool healthAgeApplies(const QDate &birth, YearMonth month)
{
    constexpr int kHealthUntil = 75;
    return !birth.isValid() || month < YearMonth::of(birth.addYears(kHealthUntil));
}

Yen halfShare(Yen standard, PartsPerMillion rate)
{
    if (standard <= 0 || rate <= 0)
        return 0;
    // standard × rate is in millionths of a yen; half of it in two-millionths.
    const qint64 product = standard * rate;
    const Yen whole = product / (2 * kMillion);
    const qint64 rest = product % (2 * kMillion);
    return whole + (rest > kMillion ? 1 : 0);
}

MonthPremium monthPremium(const PremiumBasis &basis, const MonthRates &rates)
{
    MonthPremium premium;
    if (basis.healthInsured) {
        const PartsPerMillion care = basis.care ? rates.care : 0;
        premium.healthSide = halfShare(basis.healthStandard, rates.health + care + rates.childSupport);
        premium.care = halfShare(basis.healthStandard, care);
        premium.childSupport = halfShare(basis.healthStandard, rates.childSupport);
        premium.health = premium.healthSide - premium.care - premium.childSupport;
    }
    if (basis.pensionInsured)
        premium.pension = halfShare(basis.pensionStandard, rates.pension);
    return premium;
}

RegularDecision regularDecision(const QList<GradeRow> &table, const std::array<MonthPay, 3> &months, Worker worker)
{
    constexpr int kPartTimeFallbackDays = 15;
    RegularDecision decision;
    decision.counted = monthsWith(months, threshold(worker));
    if (decision.counted.isEmpty() && worker == Worker::PartTime)
        decision.counted = monthsWith(months, kPartTimeFallbackDays);
    if (decision.counted.isEmpty() || table.isEmpty())
        return decision;
    decision.average = averageOf(months, decision.counted);
    decision.grades = gradesOf(table, *decision.average);
    return decision;
}

OccasionalRevision occasionalRevision(const QList<GradeRow> &table, const Grades &current,
                                      const std::array<MonthPay, 3> &months, Worker worker, bool raised)
{
    OccasionalRevision revision;
    const QList<int> counted = monthsWith(months, threshold(worker));
    revision.daysMet = counted.size() == int(months.size());
    if (!revision.daysMet || table.isEmpty())
        return revision;
    revision.average = averageOf(months, counted);
    revision.found = gradesOf(table, *revision.average);
    revision.health = movesTwoGrades(current.health, revision.found->health, raised);
    revision.pension = movesTwoGrades(current.pension, revision.found->pension, raised);
    return revision;
}

} // namespace pelmar::pay
