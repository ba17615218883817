#include "masters/PayrollSettings.h"

#include "masters/NamedValues.h"
#include "store/Database.h"
#include "store/Query.h"
#include "store/Tables.h"

namespace pelmar::settings {

namespace {

constexpr const char16_t *kMonthWords[kMaxMonthsAfter + 1] = {u"当月", u"翌月", u"翌々月"};
constexpr int kLastDay = 31;

constexpr NamedValue<pay::BusinessKind> kBusinessNames[] = {
    {pay::BusinessKind::General, u"一般"},
    {pay::BusinessKind::Agriculture, u"農林水産・清酒製造"},
    {pay::BusinessKind::Construction, u"建設"},
};

bool fits(const PayDateRule &rule)
{
    return rule.monthsAfter >= 0 && rule.monthsAfter <= kMaxMonthsAfter && rule.day >= 1 && rule.day <= kLastDay;
}

} // namespace

QString ruleText(const PayDateRule &rule)
{
    if (!fits(rule))
        return {};
    const QString day = rule.day == kLastDay ? QStringLiteral("末日") : QStringLiteral("%1日").arg(rule.day);
    return QString::fromUtf16(kMonthWords[rule.monthsAfter]) + day;
}

std::optional<PayDateRule> ruleFromText(const QString &text)
{
    // Longest word first: 翌々月 is not 翌月.
    for (int months = kMaxMonthsAfter; months >= 0; --months) {
        const QString word = QString::fromUtf16(kMonthWords[months]);
        if (!text.startsWith(word))
            continue;
        const QString rest = text.mid(word.size());
        if (rest == u"末日")
            return PayDateRule{months, kLastDay};
        if (!rest.endsWith(u'日'))
            return std::nullopt;
        bool ok = false;
        const int day = rest.chopped(1).toInt(&ok);
        const PayDateRule rule{months, day};
        return ok && fits(rule) ? std::optional<PayDateRule>(rule) : std::nullopt;
    }
    return std::nullopt;
}

QDate payDateFor(const PayDateRule &rule, const QDate &lastLine)
{
    if (!lastLine.isValid() || !fits(rule))
        return {};
    const QDate month = QDate(lastLine.year(), lastLine.month(), 1).addMonths(rule.monthsAfter);
    return QDate(month.year(), month.month(), std::min(rule.day, month.daysInMonth()));
}

QString businessName(pay::BusinessKind kind)
{
    return nameOf(kBusinessNames, kind);
}

std::optional<pay::BusinessKind> businessFromName(const QString &name)
{
    return valueNamed(kBusinessNames, name);
}

std::optional<PayrollSettings> loadPayroll(const QSqlDatabase &main)
{
    Query query(main);
    if (!query.run(selectSql(tables::設定, tables::設定.columns, QStringLiteral("where 項目 in (?, ?, ?)")),
                   {k支給日ルール, k事業の種類, k明細書式}))
        return std::nullopt;
    PayrollSettings settings;
    while (query.next()) {
        const QString item = query.value(0).toString();
        const QString value = query.value(1).toString();
        if (item == k支給日ルール) {
            if (const auto rule = ruleFromText(value))
                settings.payDate = *rule;
        } else if (item == k事業の種類) {
            if (const auto kind = businessFromName(value))
                settings.business = *kind;
        } else if (item == k明細書式 && (value == u"1" || value == u"2")) {
            settings.slipsPerPage = value.toInt();
        }
    }
    if (query.failed())
        return std::nullopt;
    return settings;
}

bool savePayroll(const QSqlDatabase &main, const PayrollSettings &settings)
{
    if (!fits(settings.payDate) || (settings.slipsPerPage != 1 && settings.slipsPerPage != 2))
        return false;
    const QList<std::pair<QString, QString>> items{
        {k支給日ルール, ruleText(settings.payDate)},
        {k事業の種類, businessName(settings.business)},
        {k明細書式, QString::number(settings.slipsPerPage)},
    };
    return writeSettings(main, items);
}

} // namespace pelmar::settings
