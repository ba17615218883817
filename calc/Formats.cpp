#include "calc/Formats.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace pelmar::fmt {

namespace {

struct NumberPattern {
    bool grouped = false;
    int minIntegerDigits = 0;
    int requiredDecimals = 0;
    int optionalDecimals = 0;
};

NumberPattern parseNumberPattern(const QString &pattern)
{
    NumberPattern p;
    const qsizetype point = pattern.indexOf(u'.');
    const QString integerPart = point < 0 ? pattern : pattern.left(point);
    const QString fractionPart = point < 0 ? QString() : pattern.mid(point + 1);
    p.grouped = integerPart.contains(u',');
    p.minIntegerDigits = int(integerPart.count(u'0'));
    p.requiredDecimals = int(fractionPart.count(u'0'));
    p.optionalDecimals = int(fractionPart.count(u'#'));
    return p;
}

// Rounds |value| to `decimals` places, halves away from zero, on its decimal
// digits rather than its binary value, so 1.45 -> 1.5 and 2.5 -> 3 as a
// person would round them. Returns the integer digits and the fraction digits.
std::pair<QString, QString> roundedDigits(double magnitude, int decimals)
{
    // Twelve places absorb the binary noise of sums and products
    // (2.4999999999999996); a pattern with more decimals than that gets one
    // place beyond its own, up to forty, and any further decimals are zeros.
    constexpr int kNoiseFreePlaces = 12;
    constexpr int kMostPlaces = 40;
    const int places = std::clamp(decimals + 1, kNoiseFreePlaces, kMostPlaces);
    QString text = QString::number(magnitude, 'f', places);
    const qsizetype point = text.indexOf(u'.');
    QString integerDigits = point < 0 ? text : text.left(point);
    QString fraction = point < 0 ? QString() : text.mid(point + 1);
    if (fraction.size() <= decimals)
        fraction = fraction.leftJustified(decimals + 1, u'0');
    const bool roundUp = fraction.at(decimals) >= u'5';
    QString kept = integerDigits + fraction.left(decimals);
    if (roundUp) {
        qsizetype i = kept.size() - 1;
        while (i >= 0 && kept.at(i) == u'9') {
            kept[i] = u'0';
            --i;
        }
        if (i < 0)
            kept.prepend(u'1');
        else
            kept[i] = QChar(kept.at(i).unicode() + 1);
    }
    return {kept.left(kept.size() - decimals), kept.right(decimals)};
}

QString groupThousands(const QString &digits)
{
    QString grouped;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            grouped += u',';
        grouped += digits.at(i);
    }
    return grouped;
}

bool isPlainNumberPattern(QStringView pattern)
{
    if (pattern.isEmpty())
        return false;
    for (QChar c : pattern)
        if (c != u'#' && c != u'0' && c != u',' && c != u'.')
            return false;
    return true;
}

// The sections of "positive;negative;zero". A pattern without ';' is one
// section; the negative section is empty or '-' and a number pattern; the
// zero section is literal text.
struct Sections {
    QString positive;
    QString negative; // without its leading '-'; empty: as the positive one
    std::optional<QString> zero;
};

std::optional<Sections> splitSections(const QString &pattern)
{
    const QStringList parts = pattern.split(u';');
    if (parts.size() > 3 || !isPlainNumberPattern(parts.at(0)))
        return std::nullopt;
    Sections sections;
    sections.positive = parts.at(0);
    if (parts.size() > 1 && !parts.at(1).isEmpty()) {
        const QString &negative = parts.at(1);
        if (!negative.startsWith(u'-') || !isPlainNumberPattern(QStringView(negative).mid(1)))
            return std::nullopt;
        sections.negative = negative.mid(1);
    }
    if (parts.size() > 2)
        sections.zero = parts.at(2);
    return sections;
}

bool isNumberPattern(const QString &pattern)
{
    return splitSections(pattern).has_value();
}

// |value| through one plain number pattern; *roundsToZero tells whether
// nothing but zeros is left.
QString formatMagnitude(double magnitude, const QString &pattern, bool *roundsToZero)
{
    const NumberPattern p = parseNumberPattern(pattern);
    const int decimals = p.requiredDecimals + p.optionalDecimals;
    auto [integerDigits, fraction] = roundedDigits(magnitude, decimals);

    while (integerDigits.size() > 1 && integerDigits.startsWith(u'0'))
        integerDigits.remove(0, 1);
    *roundsToZero = integerDigits == QLatin1String("0")
        && std::all_of(fraction.cbegin(), fraction.cend(), [](QChar c) { return c == u'0'; });
    if (integerDigits == QLatin1String("0"))
        integerDigits.clear();
    while (integerDigits.size() < p.minIntegerDigits)
        integerDigits.prepend(u'0');
    // Optional '#' decimals drop their trailing zeros.
    while (fraction.size() > p.requiredDecimals && fraction.endsWith(u'0'))
        fraction.chop(1);

    QString text = p.grouped ? groupThousands(integerDigits) : integerDigits;
    if (!fraction.isEmpty())
        text += u'.' + fraction;
    return text;
}

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

bool holdsNumber(const QVariant &value)
{
    return !value.isNull() && value.isValid() && isNumberType(value.typeId());
}

bool isNumberType(int typeId)
{
    switch (typeId) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

bool toNumber(const QVariant &value, double *number)
{
    if (value.isNull() || !value.isValid())
        return false;
    if (holdsNumber(value)) {
        *number = value.toDouble();
        return std::isfinite(*number);
    }
    const std::optional<double> parsed = parseTypedNumber(value.toString());
    if (parsed)
        *number = *parsed;
    return parsed.has_value();
}

QString asciiDigits(QString text)
{
    for (QChar &c : text) {
        const char16_t u = c.unicode();
        if (u >= 0xFF10 && u <= 0xFF19) // ０ to ９
            c = QChar(u'0' + (u - 0xFF10));
        else if (u == 0xFF0E) // ．
            c = u'.';
        else if (u == 0xFF0C) // ，
            c = u',';
        else if (u == 0xFF0D || u == 0x2212) // －, −
            c = u'-';
        else if (u == 0xFF1A) // ：
            c = u':';
    }
    return text;
}

std::optional<double> parseTypedNumber(const QString &typed)
{
    const QString text = asciiDigits(typed).trimmed();
    // [0-9] is ASCII only: the expression is not told to use Unicode classes.
    // Commas only between groups of three, as a thousands separator is
    // written: "1,200" and "12,345,678", never "1,2,3" or "12,00".
    static const QRegularExpression shape(QStringLiteral("^-?(?:[0-9]{1,3}(?:,[0-9]{3})+|[0-9]+)?(?:\\.[0-9]*)?$"));
    if (!std::any_of(text.cbegin(), text.cend(), isAsciiDigit) || !shape.match(text).hasMatch())
        return std::nullopt;
    QString plain = text;
    plain.remove(u',');
    bool ok = false;
    const double number = plain.toDouble(&ok);
    if (!ok || !std::isfinite(number) || std::abs(number) > kMaxTypedMagnitude)
        return std::nullopt;
    return number == 0 ? 0.0 : number; // never -0
}

QString formatNumber(double value, const QString &pattern)
{
    if (!std::isfinite(value))
        return {};
    const std::optional<Sections> sections = splitSections(pattern);
    // A pattern that is no number pattern reads as one without sections, as before.
    const QString positive = sections ? sections->positive : pattern;
    const bool negativeSection = sections && value < 0 && !sections->negative.isEmpty();
    bool roundsToZero = false;
    QString text = formatMagnitude(std::abs(value), negativeSection ? sections->negative : positive, &roundsToZero);
    if (roundsToZero && sections && sections->zero)
        return *sections->zero;
    // A value that rounds to nothing shows no sign: never "-" or "-0".
    if (value < 0 && !roundsToZero)
        text.prepend(u'-');
    return text;
}

QString formatTime(const QVariant &hhmm)
{
    const QString text = hhmm.isNull() ? QString() : hhmm.toString().trimmed();
    if (text.isEmpty())
        return {};
    // Only ASCII digits are a time; anything else is shown as it stands.
    if (!std::all_of(text.cbegin(), text.cend(), isAsciiDigit))
        return text;
    bool ok = false;
    const qlonglong n = text.toLongLong(&ok);
    if (!ok)
        return text;
    const qlonglong hour = n / 100;
    const qlonglong minute = n % 100;
    // The hour shows even when it is 0: half past midnight is 0:30, never
    // a bare ":30" that reads as no time at all.
    return QString::number(hour) + u':' + QStringLiteral("%1").arg(minute, 2, 10, QLatin1Char('0'));
}

QString formatDateText(const QVariant &yyyymmdd)
{
    const QString text = yyyymmdd.isNull() ? QString() : yyyymmdd.toString();
    static const QRegularExpression eightDigits(QStringLiteral("^\\d{8}$"));
    if (!eightDigits.match(text).hasMatch())
        return text;
    return text.left(4) + u'/' + text.mid(4, 2) + u'/' + text.right(2);
}

QString formatJapaneseDate(const QDate &date)
{
    if (!date.isValid())
        return {};
    return QStringLiteral("%1年%2月%3日")
        .arg(date.year(), 4, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'));
}

QString plainNumber(double value)
{
    if (value == 0)
        return QStringLiteral("0");
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString format(const QVariant &value, const QString &pattern)
{
    if (!value.isValid() || value.isNull())
        return {};
    if (pattern == kTime)
        return formatTime(value);
    if (pattern == kDate)
        return formatDateText(value);
    if (pattern == kJapaneseDate) {
        if (value.typeId() == QMetaType::QDate)
            return formatJapaneseDate(value.toDate());
        return formatJapaneseDate(QDate::fromString(value.toString(), QStringLiteral("yyyyMMdd")));
    }
    if (value.typeId() == QMetaType::QString && value.toString().isEmpty())
        return {};
    double number = 0;
    if (!toNumber(value, &number)) {
        // A stored number that is not finite has no text: never "nan" or "inf".
        return holdsNumber(value) ? QString() : value.toString();
    }
    if (isNumberPattern(pattern))
        return formatNumber(number, pattern);
    if (value.typeId() == QMetaType::QString)
        return value.toString();
    return plainNumber(number);
}

} // namespace pelmar::fmt
