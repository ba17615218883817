#pragma once

#include "calc/SocialTables.h"

#include <QDate>
#include <QList>

#include <array>
#include <optional>

// The rules of 健康保険, 介護保険 and 厚生年金 for pay: the grade of a
// 報酬月額, the months a person owes, a month's employee share, which months
// a pay deducts, and the grade decisions (定時決定, 随時改定). Pure
// arithmetic on the tables of calc/SocialTables: no SQL, no widget.
namespace pelmar::pay {

// A 標準報酬月額 with its grade in each insurance.
struct Grades {
    int health = 0;
    Yen healthStandard = 0;
    int pension = 0;
    Yen pensionStandard = 0;

    bool operator==(const Grades &) const = default;
};

// The grades of a 報酬月額: 健康保険 by its own rows; 厚生年金 by its rows,
// below its first one its 1級 and above its last one its top grade.
// `grades` must be a table as readGrades() accepts it.
Grades gradesOf(const QList<GradeRow> &grades, Yen remuneration);
// The grades of a 健康保険 標準報酬月額 as stored; nothing when it is no
// standard amount of the table.
std::optional<Grades> gradesOfStandard(const QList<GradeRow> &grades, Yen healthStandard);

// When a person is insured: 資格取得日 and 資格喪失日 (the day after
// leaving, or the day the insurance ends otherwise); no loss date while
// insured.
struct Coverage {
    QDate acquired;
    QDate lost;
};

// Whether a premium month is owed: the person is insured on its last day,
// or joined and lost the insurance within it (同月得喪). The month of the
// loss is otherwise not owed.
bool owesMonth(const Coverage &coverage, YearMonth month);

// The ages that end or start a premium, by the birth date (an age is
// reached on the day before the birthday):
//   介護: from the month holding the day before the 40th birthday to the
//     month before the one holding the day before the 65th;
//   厚生年金: up to the month before the one holding the day before the 70th
//     birthday (the insurance ends on that day);
//   健康保険: up to the month before the one of the 75th birthday itself
//     (後期高齢者医療 takes over on the birthday).
// With no birth date known 介護 does not apply and the age limits do not
// end anything: the stored data asks an insured person's birth date.
bool careApplies(const QDate &birth, YearMonth month);
bool pensionAgeApplies(const QDate &birth, YearMonth month);
bool healthAgeApplies(const QDate &birth, YearMonth month);

// x with a fraction of 50 銭 or less dropped and one over 50 銭 rounded up,
// x being standard × rate ÷ 2 (the employee's half of a full rate).
Yen halfShare(Yen standard, PartsPerMillion rate);

// The employee's share of one premium month.
struct MonthPremium {
    // 健康保険 + 介護 + 支援金 on their combined rate, halved and rounded once.
    Yen healthSide = 0;
    // Its parts as a slip shows them: 介護 and 支援金 each halved and rounded
    // the same way on their own, 健康保険 the rest, so the three add up to
    // the health side exactly.
    Yen health = 0;
    Yen care = 0;
    Yen childSupport = 0;
    Yen pension = 0; // 厚生年金, on its own rate

    Yen total() const { return healthSide + pension; }
    bool operator==(const MonthPremium &) const = default;
};

// Who owes what in a month. `healthInsured` and `pensionInsured` say whether
// the person owes the month for each (owesMonth and the age limits);
// `care` whether 介護 is added (careApplies).
struct PremiumBasis {
    Yen healthStandard = 0;
    Yen pensionStandard = 0;
    bool healthInsured = false;
    bool pensionInsured = false;
    bool care = false;
};
MonthPremium monthPremium(const PremiumBasis &basis, const MonthRates &rates);

// 徴収: which month's premium a pay deducts.
enum class Collection {
    NextMonth, // 翌月徴収: a pay deducts the month before its 支給日's (the default)
    SameMonth, // 当月徴収: the month of its 支給日
};

// The premium months a pay on `payDate` deducts, among those `owed` says
// are owed. Under 翌月徴収 a leaver's last pay (`lastPay`: no later pay
// follows) deducts its own month as well, when that month is owed: the
// month before and the month of leaving from one pay.
template <typename Owed>
QList<YearMonth> monthsDeducted(Collection collection, const QDate &payDate, bool lastPay, Owed owed)
{
    QList<YearMonth> months;
    if (!payDate.isValid())
        return months;
    const YearMonth payMonth = YearMonth::of(payDate);
    const YearMonth first = collection == Collection::NextMonth ? payMonth.plus(-1) : payMonth;
    if (owed(first))
        months.append(first);
    if (collection == Collection::NextMonth && lastPay && owed(payMonth))
        months.append(payMonth);
    return months;
}

// 支払基礎日数's thresholds depend on who is paid.
enum class Worker {
    Regular, // months of 17 days or more count
    PartTime, // パートタイマー: 17 days; when no month reaches 17, months of 15 or more
    ShortTime, // 特定適用事業所の短時間労働者: 11 days
};

struct MonthPay {
    Yen pay = 0; // 報酬 of the month (paid in it), whole yen
    int basisDays = 0; // 支払基礎日数
};

// 定時決定 from April, May and June: the months that count, their average
// (fractions of a yen dropped) and its grades. No month counting keeps the
// grade as it was (従前): `grades` is then empty.
struct RegularDecision {
    QList<int> counted; // indexes (0 to 2) of the months that count
    std::optional<Yen> average;
    std::optional<Grades> grades;
};
RegularDecision regularDecision(const QList<GradeRow> &table, const std::array<MonthPay, 3> &months, Worker worker);

// 随時改定: after a change of the fixed part of pay (`raised` or lowered),
// the three months from the change each of 17 days or more (11 for a
// 短時間労働者) averaged, and each insurance's grade found; it changes where
// it lies two grades or more from the current one in the direction of the
// change. The new grades apply from the fourth month after the change's
// first month.
struct OccasionalRevision {
    bool daysMet = false;
    std::optional<Yen> average;
    std::optional<Grades> found;
    bool health = false; // 健康保険's grade changes
    bool pension = false; // 厚生年金's grade changes

    bool any() const { return health || pension; }
};
OccasionalRevision occasionalRevision(const QList<GradeRow> &table, const Grades &current,
                                      const std::array<MonthPay, 3> &months, Worker worker, bool raised);

} // namespace pelmar::pay
