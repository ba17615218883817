#include "masters/InsuranceSettings.h"

#include "masters/NamedValues.h"
#include "store/Database.h"
#include "store/Query.h"
#include "store/Tables.h"

namespace pelmar::settings {

namespace {

constexpr NamedValue<Insurer> kInsurerNames[] = {
    {Insurer::Kyokai, u"協会けんぽ"},
    {Insurer::Society, u"健康保険組合"},
};

constexpr NamedValue<pay::Collection> kCollectionNames[] = {
    {pay::Collection::NextMonth, u"翌月徴収"},
    {pay::Collection::SameMonth, u"当月徴収"},
};

constexpr int kPercentPlaces = 4;
constexpr pay::PartsPerMillion kWholeRate = 1'000'000;

QString optionalRateText(const std::optional<pay::PartsPerMillion> &rate)
{
    return rate ? rateText(*rate) : QString();
}

int prefectureCode(const pay::SocialTables &tables, const QString &name)
{
    for (int code = 1; code <= pay::kPrefectures && !name.isEmpty(); ++code) {
        if (tables.prefectureName(code) == name)
            return code;
    }
    return 0;
}

void readItem(InsuranceSettings &settings, const QString &item, const QString &value)
{
    if (item == k健康保険の保険者)
        settings.insurer = valueNamed(kInsurerNames, value).value_or(settings.insurer);
    else if (item == k協会けんぽ支部)
        settings.branch = value;
    else if (item == k組合健康保険料率)
        settings.societyHealth = rateFromText(value);
    else if (item == k組合介護保険料率)
        settings.societyCare = rateFromText(value);
    else if (item == k組合支援金率)
        settings.societyChildSupport = rateFromText(value);
    else if (item == k社会保険料の徴収)
        settings.collection = valueNamed(kCollectionNames, value).value_or(settings.collection);
}

} // namespace

std::optional<pay::PartsPerMillion> rateFromText(const QString &text)
{
    const auto rate = pay::scaledDecimal(text.trimmed(), kPercentPlaces);
    if (!rate || *rate < 0 || *rate >= kWholeRate)
        return std::nullopt;
    return rate;
}

QString rateText(pay::PartsPerMillion rate)
{
    // 98,500 millionths is "9.85": as few places as the rate needs, at least two.
    QString text = QStringLiteral("%1.%2").arg(rate / 10000).arg(rate % 10000, 4, 10, QChar(u'0'));
    while (text.endsWith(u'0') && text.indexOf(u'.') < text.size() - 3)
        text.chop(1);
    return text;
}

std::optional<InsuranceSettings> loadInsurance(const QSqlDatabase &main)
{
    Query query(main);
    if (!query.run(selectSql(tables::設定, tables::設定.columns, QStringLiteral("where 項目 in (?, ?, ?, ?, ?, ?)")),
                   {k健康保険の保険者, k協会けんぽ支部, k組合健康保険料率, k組合介護保険料率, k組合支援金率,
                    k社会保険料の徴収}))
        return std::nullopt;
    InsuranceSettings settings;
    while (query.next())
        readItem(settings, query.value(0).toString(), query.value(1).toString());
    if (query.failed())
        return std::nullopt;
    return settings;
}

bool saveInsurance(const QSqlDatabase &main, const InsuranceSettings &settings)
{
    const QList<std::pair<QString, QString>> items{
        {k健康保険の保険者, nameOf(kInsurerNames, settings.insurer)},
        {k協会けんぽ支部, settings.branch},
        {k組合健康保険料率, optionalRateText(settings.societyHealth)},
        {k組合介護保険料率, optionalRateText(settings.societyCare)},
        {k組合支援金率, optionalRateText(settings.societyChildSupport)},
        {k社会保険料の徴収, nameOf(kCollectionNames, settings.collection)},
    };
    return writeSettings(main, items);
}

std::optional<pay::MonthRates> monthRates(const InsuranceSettings &settings, const pay::SocialTables &tables,
                                          pay::YearMonth month)
{
    if (settings.insurer == Insurer::Kyokai)
        return tables.ratesFor(month, prefectureCode(tables, settings.branch));
    const auto pension = tables.nationalRate(pay::RateKind::Pension, month);
    const auto nationalSupport = tables.nationalRate(pay::RateKind::ChildSupport, month);
    if (!pension || !settings.societyHealth || !settings.societyCare || !settings.societyChildSupport)
        return std::nullopt;
    // Before 支援金 began (the shipped file's 0) the society's rate does not apply either.
    const bool supportBegun = nationalSupport.value_or(1) != 0;
    return pay::MonthRates{*settings.societyHealth, *settings.societyCare,
                           supportBegun ? *settings.societyChildSupport : 0, *pension};
}

} // namespace pelmar::settings
