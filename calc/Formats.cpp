#include "calc/Formats.h"

#include <QLocale>
#include <QRegularExpression>

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
    // Twelve places absorb the binary noise of sums and products (2.4999999999999996).
    QString text = QString::number(magnitude, 'f', 12);
    const qsizetype point = text.indexOf(u'.');
    QString integerDigits = text.left(point);
    QString fraction = text.mid(point + 1);
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

bool isNumberPattern(const QString &pattern)
{
    if (pattern.isEmpty())
        return false;
    for (QChar c : pattern)
        if (c != u'#' && c != u'0' && c != u',' && c != u'.')
            return false;
    return true;
}

} // namespace

bool holdsNumber(const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return false;
    switch (value.typeId()) {
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
    bool ok = false;
    const double parsed = value.toString().trimmed().toDouble(&ok);
    if (ok && std::isfinite(parsed))
        *number = parsed;
    return ok && std::isfinite(parsed);
}

QString formatNumber(double value, const QString &pattern)
{
    if (!std::isfinite(value))
        return {};
    const NumberPattern p = parseNumberPattern(pattern);
    const int decimals = p.requiredDecimals + p.optionalDecimals;
    auto [integerDigits, fraction] = roundedDigits(std::abs(value), decimals);

    while (integerDigits.size() > 1 && integerDigits.startsWith(u'0'))
        integerDigits.remove(0, 1);
    const bool zero = integerDigits == QLatin1String("0") && !fraction.contains(QRegularExpression(QStringLiteral("[1-9]")));
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
    // A value that rounds to nothing shows no sign: never "-" or "-0".
    if (value < 0 && !zero)
        text.prepend(u'-');
    return text;
}

QString formatTime(const QVariant &hhmm)
{
    const QString text = hhmm.isNull() ? QString() : hhmm.toString().trimmed();
    if (text.isEmpty())
        return {};
    bool ok = false;
    const qlonglong n = text.toLongLong(&ok);
    if (!ok || n < 0)
        return text;
    const qlonglong hour = n / 100;
    const qlonglong minute = n % 100;
    return (hour > 0 ? QString::number(hour) : QString()) + u':'
        + QStringLiteral("%1").arg(minute, 2, 10, QLatin1Char('0'));
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
    if (!toNumber(value, &number))
        return value.toString();
    if (isNumberPattern(pattern))
        return formatNumber(number, pattern);
    if (value.typeId() == QMetaType::QString)
        return value.toString();
    return plainNumber(number);
}

} // namespace pelmar::fmt
