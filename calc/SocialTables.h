#pragma once

#include "calc/PublicTables.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <compare>
#include <optional>

// The public figures of social insurance: the premium rates by the month a
// premium is for, the 標準報酬月額 grades, the 賞与 withholding rates, and
// the months Pelmar holds each of them good for. Like the withholding table
// they come as data files (data/tables/) with their source lines, are read
// and checked here, and a month no shipped figure covers has none.
namespace pelmar::pay {

// A calendar month: a premium's 月分, or the month a grade applies from.
struct YearMonth {
    int year = 0;
    int month = 0; // 1 to 12; 0 for no month

    static YearMonth of(const QDate &date)
    {
        return date.isValid() ? YearMonth{date.year(), date.month()} : YearMonth{};
    }
    // "2026-03"; nothing for any other text.
    static std::optional<YearMonth> fromText(QStringView text);
    bool isValid() const { return month >= 1 && month <= 12; }
    YearMonth plus(int months) const;
    QDate firstDay() const { return QDate(year, month, 1); }
    QDate lastDay() const { return firstDay().addMonths(1).addDays(-1); }
    // The 年度 (April to March) the month falls in: 2027-02 is in 2026.
    int fiscalYear() const { return month >= 4 ? year : year - 1; }
    QString text() const;

    auto operator<=>(const YearMonth &) const = default;
};

// 都道府県コード 1 to 47 names a 協会けんぽ 支部.
inline constexpr int kPrefectures = 47;

// The rates of one premium month, each the full rate (employer and employee)
// in millionths: 9.85 % is 98,500.
struct MonthRates {
    PartsPerMillion health = 0; // 健康保険料率
    PartsPerMillion care = 0; // 介護保険料率, for a 介護保険第2号被保険者
    PartsPerMillion childSupport = 0; // 子ども・子育て支援金率; 0 before it began
    PartsPerMillion pension = 0; // 厚生年金保険料率
};

enum class RateKind { Health, Care, ChildSupport, Pension };

struct SocialRate {
    YearMonth from;
    std::optional<YearMonth> to; // inclusive; none while the file says "until replaced"
    RateKind kind = RateKind::Health;
    int prefecture = 0; // 1 to 47 for health, 0 for a nationwide rate
    QString prefectureName;
    PartsPerMillion rate = 0;
};

// One 標準報酬月額: 報酬月額 from <= amount < to. Grade 0 where the
// insurance has no grade of this amount (厚生年金 below 88,000 and above
// 650,000).
struct GradeRow {
    int health = 0;
    int pension = 0;
    Yen standard = 0;
    std::optional<Yen> from; // none for the first
    std::optional<Yen> to; // none for the last
};

// The 算出率の表 of one column: the rate for 前月の社会保険料等控除後の給与等の
// 金額 from <= amount < to.
struct BonusRateRow {
    Yen from = 0;
    std::optional<Yen> to;
    PartsPerMillion rate = 0;
};

struct BonusWithholdingTable {
    std::array<QList<BonusRateRow>, kKouColumns> kou;
    QList<BonusRateRow> otsu;
};

// The months for which Pelmar uses a shipped figure: a rate line the file
// leaves open ("until replaced") is used only up to `to`.
struct Term {
    std::optional<YearMonth> from;
    std::optional<YearMonth> to;
    std::optional<Yen> amount;

    bool covers(YearMonth month) const { return (!from || *from <= month) && (!to || month <= *to); }
};

struct Terms {
    std::array<Term, 4> rates; // by RateKind: how long an open line is used
    Term grades; // the months a grade may apply from
    Term bonusWithholding; // the months of a 賞与's 支給日
    Term healthBonusCap; // 標準賞与額, 健康保険: a 年度's total at most `amount`
    Term pensionBonusCap; // 標準賞与額, 厚生年金: a month's at most `amount`
};

struct SocialTables {
    QList<SocialRate> rates;
    QList<GradeRow> grades;
    BonusWithholdingTable bonusWithholding;
    Terms terms;

    // The 協会けんぽ rates of the prefecture's 支部 for a premium month; the
    // 支援金 rate is 0 for a month before its first line. Nothing when any
    // rate has no figure for the month.
    std::optional<MonthRates> ratesFor(YearMonth month, int prefecture) const;
    // The nationwide rate of a kind (care, child support, pension) for a month.
    std::optional<PartsPerMillion> nationalRate(RateKind kind, YearMonth month) const;
    // The grades, when a grade may apply from that month.
    const QList<GradeRow> *gradesFor(YearMonth month) const;
    // The 算出率の表 for a 賞与 paid on that day.
    const BonusWithholdingTable *bonusWithholdingFor(const QDate &payDate) const;
    // The caps of the 標準賞与額 in force in a month.
    std::optional<Yen> healthBonusCap(YearMonth month) const;
    std::optional<Yen> pensionBonusCap(YearMonth month) const;
    // The prefecture's name, empty for no 支部 of that code.
    QString prefectureName(int prefecture) const;
};

// Reading the data files. Each checks what the arithmetic relies on and on a
// fault returns nothing with `error` naming the line and the reason.
std::optional<QList<SocialRate>> readSocialRates(const QString &text, QString *error);
std::optional<QList<GradeRow>> readGrades(const QString &text, QString *error);
std::optional<BonusWithholdingTable> readBonusWithholding(const QString &text, QString *error);
std::optional<Terms> readTerms(const QString &text, QString *error);

// The shipped tables, read once from the resources. A file that cannot be
// read leaves its part empty (no month is then covered) and `errors` says why.
struct ShippedSocialTables {
    SocialTables tables;
    QStringList errors;
};
const ShippedSocialTables &shippedSocialTables();

} // namespace pelmar::pay
