#include "calc/SocialTables.h"

#include "calc/TsvFile.h"

#include <QFile>
#include <QHash>

#include <algorithm>

namespace pelmar::pay {

namespace {

using tsv::CellReader;
using tsv::kPercentPlaces;

constexpr PartsPerMillion kWholeRate = 1'000'000; // 100 %

std::optional<YearMonth> optionalMonth(CellReader &cells, const QString &name)
{
    const QString text = cells.text(name);
    if (!cells.ok() || text.isEmpty())
        return std::nullopt;
    const auto month = YearMonth::fromText(text);
    if (!month)
        cells.fail(QStringLiteral("%1 \"%2\" is not a month (YYYY-MM)").arg(name, text));
    return month;
}

PartsPerMillion rateCell(CellReader &cells, const QString &name)
{
    const PartsPerMillion rate = cells.number(name, kPercentPlaces);
    if (cells.ok() && rate >= kWholeRate)
        cells.fail(QStringLiteral("%1 is not below 100 %").arg(name));
    return rate;
}

const QHash<QString, RateKind> &rateKinds()
{
    static const QHash<QString, RateKind> kinds{
        {QStringLiteral("health"), RateKind::Health},
        {QStringLiteral("care"), RateKind::Care},
        {QStringLiteral("child_support"), RateKind::ChildSupport},
        {QStringLiteral("pension"), RateKind::Pension},
    };
    return kinds;
}

const QString kNationwide = QStringLiteral("全国");

// A health rate names its prefecture; the others are nationwide.
void checkPlace(CellReader &cells, const SocialRate &rate)
{
    if (!cells.ok())
        return;
    if (rate.kind == RateKind::Health) {
        if (rate.prefecture < 1 || rate.prefecture > kPrefectures || rate.prefectureName.isEmpty()
            || rate.prefectureName == kNationwide)
            cells.fail(QStringLiteral("a health rate names a prefecture of code 1 to 47"));
    } else if (rate.prefecture != 0 || rate.prefectureName != kNationwide) {
        cells.fail(QStringLiteral("a nationwide rate has code 0 and 全国"));
    }
}

bool overlaps(const SocialRate &a, const SocialRate &b)
{
    return a.kind == b.kind && a.prefecture == b.prefecture && (!a.to || b.from <= *a.to) && (!b.to || a.from <= *b.to);
}

} // namespace

std::optional<YearMonth> YearMonth::fromText(QStringView text)
{
    if (text.size() != 7 || text[4] != u'-')
        return std::nullopt;
    const auto year = scaledDecimal(text.first(4), 0);
    const auto month = scaledDecimal(text.last(2), 0);
    if (!year || !month || *year < 1 || *month < 1 || *month > 12)
        return std::nullopt;
    return YearMonth{int(*year), int(*month)};
}

YearMonth YearMonth::plus(int months) const
{
    const int index = year * 12 + (month - 1) + months;
    return {index / 12, index % 12 + 1};
}

QString YearMonth::text() const
{
    return QStringLiteral("%1-%2").arg(year, 4, 10, QChar(u'0')).arg(month, 2, 10, QChar(u'0'));
}

std::optional<QList<SocialRate>> readSocialRates(const QString &text, QString *error)
{
    const tsv::File file = tsv::split(text);
    QList<SocialRate> rates;
    QHash<int, QString> names;
    for (const auto &line : file.main.lines) {
        CellReader cells(file.main, line, error);
        SocialRate rate;
        const auto from = optionalMonth(cells, QStringLiteral("from_month"));
        if (cells.ok() && !from)
            cells.fail(QStringLiteral("from_month is empty"));
        rate.from = from.value_or(YearMonth{});
        rate.to = optionalMonth(cells, QStringLiteral("to_month"));
        const QString kind = cells.text(QStringLiteral("kind"));
        rate.prefecture = int(cells.number(QStringLiteral("code")));
        rate.prefectureName = cells.text(QStringLiteral("prefecture"));
        rate.rate = rateCell(cells, QStringLiteral("rate_percent"));
        if (cells.ok() && !rateKinds().contains(kind))
            cells.fail(QStringLiteral("unknown kind \"%1\"").arg(kind));
        rate.kind = rateKinds().value(kind);
        if (cells.ok() && rate.to && *rate.to < rate.from)
            cells.fail(QStringLiteral("the rate ends before it starts"));
        checkPlace(cells, rate);
        if (cells.ok() && names.value(rate.prefecture, rate.prefectureName) != rate.prefectureName)
            cells.fail(QStringLiteral("code %1 has another name on an earlier line").arg(rate.prefecture));
        for (const auto &other : std::as_const(rates)) {
            if (cells.ok() && overlaps(rate, other))
                cells.fail(QStringLiteral("its months overlap another rate of the same kind and place"));
        }
        if (!cells.ok())
            return std::nullopt;
        names.insert(rate.prefecture, rate.prefectureName);
        rates.append(rate);
    }
    return rates;
}

std::optional<QList<GradeRow>> readGrades(const QString &text, QString *error)
{
    const tsv::File file = tsv::split(text);
    QList<GradeRow> grades;
    bool pensionEnded = false;
    for (const auto &line : file.main.lines) {
        CellReader cells(file.main, line, error);
        GradeRow row;
        row.health = int(cells.number(QStringLiteral("health_grade")));
        row.pension = int(cells.optionalNumber(QStringLiteral("pension_grade"), 0).value_or(0));
        row.standard = cells.number(QStringLiteral("standard_monthly"));
        row.from = cells.optionalNumber(QStringLiteral("from"), 0);
        row.to = cells.optionalNumber(QStringLiteral("to"), 0);
        const GradeRow *previous = grades.isEmpty() ? nullptr : &grades.last();
        const int lastPension = previous ? previous->pension : 0;
        if (cells.ok() && row.health != (previous ? previous->health : 0) + 1)
            cells.fail(QStringLiteral("the health grade does not follow the one before"));
        if (cells.ok() && row.pension != 0 && (pensionEnded || row.pension != lastPension + 1))
            cells.fail(QStringLiteral("the pension grade does not follow the one before"));
        if (cells.ok() && (previous ? (!previous->to || row.from != previous->to) : row.from.has_value()))
            cells.fail(QStringLiteral("the row does not start where the one before ends"));
        if (cells.ok() && row.from && row.to && *row.to <= *row.from)
            cells.fail(QStringLiteral("the row ends before it starts"));
        if (cells.ok() && ((row.from && row.standard < *row.from) || (row.to && row.standard >= *row.to)))
            cells.fail(QStringLiteral("the standard amount lies outside its row"));
        if (!cells.ok())
            return std::nullopt;
        pensionEnded = pensionEnded || (lastPension != 0 && row.pension == 0);
        grades.append(row);
    }
    const bool hasPension = std::any_of(grades.cbegin(), grades.cend(), [](const GradeRow &g) { return g.pension; });
    if (grades.isEmpty() || grades.last().to || !hasPension)
        return tsv::fail(error, QStringLiteral("the grades of either insurance are missing, or the last is closed")),
               std::nullopt;
    return grades;
}

std::optional<BonusWithholdingTable> readBonusWithholding(const QString &text, QString *error)
{
    const tsv::File file = tsv::split(text);
    BonusWithholdingTable table;
    QHash<QString, QList<BonusRateRow> *> columns{{QStringLiteral("otsu"), &table.otsu}};
    for (int n = 0; n < kKouColumns; ++n)
        columns.insert(QStringLiteral("kou%1").arg(n), &table.kou[n]);
    for (const auto &line : file.main.lines) {
        CellReader cells(file.main, line, error);
        const QString column = cells.text(QStringLiteral("column"));
        BonusRateRow row;
        row.from = cells.number(QStringLiteral("from"));
        row.to = cells.optionalNumber(QStringLiteral("to"), 0);
        row.rate = rateCell(cells, QStringLiteral("rate_percent"));
        QList<BonusRateRow> *rows = columns.value(column);
        if (cells.ok() && !rows)
            cells.fail(QStringLiteral("unknown column \"%1\"").arg(column));
        if (cells.ok() && (rows->isEmpty() ? row.from != 0 : rows->last().to != row.from))
            cells.fail(QStringLiteral("the band does not start where the one before ends (at 0 for the first)"));
        if (cells.ok() && row.to && *row.to <= row.from)
            cells.fail(QStringLiteral("the band ends before it starts"));
        if (!cells.ok())
            return std::nullopt;
        rows->append(row);
    }
    for (auto it = columns.cbegin(); it != columns.cend(); ++it) {
        if (it.value()->isEmpty() || it.value()->last().to)
            return tsv::fail(error, QStringLiteral("column %1 is missing or has no open last band").arg(it.key())),
                   std::nullopt;
    }
    return table;
}

std::optional<Terms> readTerms(const QString &text, QString *error)
{
    const tsv::File file = tsv::split(text);
    Terms terms;
    QHash<QString, Term *> parts{
        {QStringLiteral("health"), &terms.rates[int(RateKind::Health)]},
        {QStringLiteral("care"), &terms.rates[int(RateKind::Care)]},
        {QStringLiteral("child_support"), &terms.rates[int(RateKind::ChildSupport)]},
        {QStringLiteral("pension"), &terms.rates[int(RateKind::Pension)]},
        {QStringLiteral("grades"), &terms.grades},
        {QStringLiteral("bonus_withholding"), &terms.bonusWithholding},
        {QStringLiteral("health_bonus_cap"), &terms.healthBonusCap},
        {QStringLiteral("pension_bonus_cap"), &terms.pensionBonusCap},
    };
    QStringList seen;
    for (const auto &line : file.main.lines) {
        CellReader cells(file.main, line, error);
        const QString part = cells.text(QStringLiteral("part"));
        Term term;
        term.from = optionalMonth(cells, QStringLiteral("from_month"));
        term.to = optionalMonth(cells, QStringLiteral("to_month"));
        term.amount = cells.optionalNumber(QStringLiteral("amount"), 0);
        if (cells.ok() && (!parts.contains(part) || seen.contains(part)))
            cells.fail(QStringLiteral("\"%1\" is unknown or given twice").arg(part));
        if (cells.ok() && term.amount.has_value() != part.endsWith(u"_cap"))
            cells.fail(QStringLiteral("an amount is given for the caps and only for them"));
        if (cells.ok() && term.from && term.to && *term.to < *term.from)
            cells.fail(QStringLiteral("the term ends before it starts"));
        if (!cells.ok())
            return std::nullopt;
        seen.append(part);
        *parts.value(part) = term;
    }
    if (seen.size() != parts.size())
        return tsv::fail(error, QStringLiteral("a part has no line")), std::nullopt;
    return terms;
}

namespace {

// The line of a kind and place whose months hold `month`; an open line only
// as long as its term.
const SocialRate *rateLine(const SocialTables &tables, RateKind kind, int prefecture, YearMonth month)
{
    for (const auto &rate : tables.rates) {
        if (rate.kind != kind || rate.prefecture != prefecture || month < rate.from)
            continue;
        if (rate.to ? month <= *rate.to : tables.terms.rates[int(kind)].covers(month))
            return &rate;
    }
    return nullptr;
}

} // namespace

std::optional<PartsPerMillion> SocialTables::nationalRate(RateKind kind, YearMonth month) const
{
    if (const SocialRate *line = rateLine(*this, kind, 0, month))
        return line->rate;
    // 子ども・子育て支援金 did not exist before its first month: 0, not a gap.
    if (kind == RateKind::ChildSupport) {
        const bool before = std::any_of(rates.cbegin(), rates.cend(),
                                        [&](const SocialRate &r) { return r.kind == kind && month < r.from; });
        const bool covered = std::any_of(rates.cbegin(), rates.cend(),
                                         [&](const SocialRate &r) { return r.kind == kind && r.from <= month; });
        if (before && !covered)
            return 0;
    }
    return std::nullopt;
}

std::optional<MonthRates> SocialTables::ratesFor(YearMonth month, int prefecture) const
{
    const SocialRate *health = prefecture >= 1 ? rateLine(*this, RateKind::Health, prefecture, month) : nullptr;
    const auto care = nationalRate(RateKind::Care, month);
    const auto childSupport = nationalRate(RateKind::ChildSupport, month);
    const auto pension = nationalRate(RateKind::Pension, month);
    if (!health || !care || !childSupport || !pension)
        return std::nullopt;
    return MonthRates{health->rate, *care, *childSupport, *pension};
}

const QList<GradeRow> *SocialTables::gradesFor(YearMonth month) const
{
    return !grades.isEmpty() && terms.grades.covers(month) ? &grades : nullptr;
}

const BonusWithholdingTable *SocialTables::bonusWithholdingFor(const QDate &payDate) const
{
    const bool read = !bonusWithholding.otsu.isEmpty();
    return read && payDate.isValid() && terms.bonusWithholding.covers(YearMonth::of(payDate)) ? &bonusWithholding
                                                                                              : nullptr;
}

std::optional<Yen> SocialTables::healthBonusCap(YearMonth month) const
{
    return terms.healthBonusCap.covers(month) ? terms.healthBonusCap.amount : std::nullopt;
}

std::optional<Yen> SocialTables::pensionBonusCap(YearMonth month) const
{
    return terms.pensionBonusCap.covers(month) ? terms.pensionBonusCap.amount : std::nullopt;
}

QString SocialTables::prefectureName(int prefecture) const
{
    for (const auto &rate : rates) {
        if (rate.kind == RateKind::Health && rate.prefecture == prefecture)
            return rate.prefectureName;
    }
    return {};
}

namespace {

// Reads one shipped file into `into`; on a fault notes it and answers false.
template <typename Reader, typename Target>
bool readShipped(const QString &name, Reader reader, Target &into, QStringList &errors)
{
    QFile file(kTablesResource + name);
    if (!file.open(QIODevice::ReadOnly))
        return errors.append(QStringLiteral("%1 is missing").arg(name)), false;
    QString error;
    auto read = reader(QString::fromUtf8(file.readAll()), &error);
    if (!read)
        return errors.append(QStringLiteral("%1, %2").arg(name, error)), false;
    into = std::move(*read);
    return true;
}

ShippedSocialTables readShippedSocialTables()
{
    ShippedSocialTables shipped;
    SocialTables &t = shipped.tables;
    QStringList &errors = shipped.errors;
    readShipped(QStringLiteral("social-insurance-rates.tsv"), readSocialRates, t.rates, errors);
    readShipped(QStringLiteral("standard-remuneration-grades.tsv"), readGrades, t.grades, errors);
    readShipped(QStringLiteral("bonus-withholding-2026.tsv"), readBonusWithholding, t.bonusWithholding, errors);
    // Without its terms no figure may be used: an open line would run on for ever.
    if (!readShipped(QStringLiteral("social-insurance-terms.tsv"), readTerms, t.terms, errors))
        t = SocialTables{};
    return shipped;
}

} // namespace

const ShippedSocialTables &shippedSocialTables()
{
    static const ShippedSocialTables shipped = readShippedSocialTables();
    return shipped;
}

} // namespace pelmar::pay
