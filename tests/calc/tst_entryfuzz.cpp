// Random text through every entry and display rule: whatever is typed, no
// crash, no value that is not finite, no negative hours, wage or break that
// stays, and every accepted time, date or number shows as ASCII. The seed is
// fixed, so a failure repeats; its message names the input's code points.
#include "calc/DetailLine.h"
#include "calc/Formats.h"
#include "calc/PatternRow.h"
#include "calc/WorkTime.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>
#include <cstring>

using namespace pelmar;

namespace {

constexpr quint32 kSeed = 20240401;
constexpr int kCases = 4000;

// What typed text is made of: real digits, digits of other scripts, the
// full-width forms of Japanese input, signs and look-alikes, spaces, and the
// words and exponents a lenient number reader would take.
const QStringList &pieces()
{
    static const QStringList all = [] {
        QStringList p;
        for (char16_t d = 0; d < 10; ++d) {
            p << QString(QChar(u'0' + d)) << QString(QChar(u'0' + d)) << QString(QChar(u'０' + d));
            p << QString(QChar(char16_t(0x0660 + d))) // Arabic-Indic
              << QString(QChar(char16_t(0x06F0 + d))) // Extended Arabic-Indic
              << QString(QChar(char16_t(0x0966 + d))) // Devanagari
              << QString(QChar(char16_t(0x0E50 + d))); // Thai
        }
        p << QString::fromUcs4(U"\U0001D7CE") // a mathematical bold zero, outside the BMP
          << QStringLiteral(".") << QStringLiteral(",") << QStringLiteral("-") << QStringLiteral("+")
          << QStringLiteral("．") << QStringLiteral("，") << QStringLiteral("－") << QStringLiteral("−")
          << QStringLiteral("ー") << QStringLiteral(":") << QStringLiteral("/") << QStringLiteral(" ")
          << QStringLiteral("\t") << QStringLiteral("　") << QStringLiteral("e") << QStringLiteral("E")
          << QStringLiteral("x") << QStringLiteral("a") << QStringLiteral("年") << QStringLiteral("山")
          << QStringLiteral("nan") << QStringLiteral("NaN") << QStringLiteral("inf") << QStringLiteral("-infinity")
          << QStringLiteral("1e308") << QStringLiteral("e-400") << QStringLiteral("0x10") << QStringLiteral("99999999")
          << QStringLiteral("0900") << QStringLiteral("20240401") << QStringLiteral("１８００");
        return p;
    }();
    return all;
}

QString randomText(QRandomGenerator &random)
{
    const QStringList &all = pieces();
    QString text;
    const int count = random.bounded(13);
    for (int i = 0; i < count; ++i)
        text += all.at(random.bounded(int(all.size())));
    return text;
}

QString codePoints(const QString &text)
{
    QStringList points;
    for (char32_t c : text.toUcs4())
        points << QStringLiteral("U+%1").arg(quint32(c), 4, 16, QLatin1Char('0'));
    return u'"' + text + QStringLiteral("\" [") + points.join(u' ') + u']';
}

bool madeOf(const QString &text, QStringView allowed)
{
    for (QChar c : text)
        if (!allowed.contains(c))
            return false;
    return true;
}

bool asciiDigitsOnly(const QString &text)
{
    return !text.isEmpty() && madeOf(text, u"0123456789");
}

const QString kNumberChars = QStringLiteral("0123456789,.-");

const QStringList &numberPatterns()
{
    static const QStringList all{fmt::kYen,       fmt::kHours,      fmt::kHoursBlankZero,
                                 fmt::kHoursLine, fmt::kHoursTotal, fmt::kHoursShort};
    return all;
}

// A cell after completion: empty (null, or the empty text a time may keep),
// or a value its column may hold.
QString faultOf(const QVariant &value, int column, const QString &format)
{
    if (worktime::isEmptyValue(value))
        return {};
    if (format == fmt::kTime || format == fmt::kDate) {
        if (!asciiDigitsOnly(value.toString()))
            return QStringLiteral("not ASCII digits");
        const QString shown = fmt::format(value, format);
        if (!madeOf(shown, format == fmt::kTime ? u"0123456789:" : u"0123456789/"))
            return QStringLiteral("shown as ") + shown;
        return {};
    }
    if (!fmt::holdsNumber(value) || !std::isfinite(value.toDouble()))
        return QStringLiteral("not a finite number");
    if (column < 0 && value.toDouble() < 0)
        return QStringLiteral("negative");
    for (const QString &pattern : numberPatterns())
        if (!madeOf(fmt::format(value, pattern), kNumberChars))
            return QStringLiteral("shown through %1 as %2").arg(pattern, fmt::format(value, pattern));
    return {};
}

} // namespace

class TestEntryFuzz : public QObject {
    Q_OBJECT
private slots:
    void typedNumbers();
    void typedTimesAndDates();
    void statementLines();
    void shiftTypeRows();
    void anyFiniteValueShowsAsAscii();
};

void TestEntryFuzz::typedNumbers()
{
    QRandomGenerator random(kSeed);
    int accepted = 0;
    for (int i = 0; i < kCases; ++i) {
        const QString typed = randomText(random);
        const QString what = codePoints(typed);
        QVERIFY2(fmt::asciiDigits(typed).size() == typed.size(), qPrintable(what));
        const std::optional<double> number = fmt::parseTypedNumber(typed);
        double viaToNumber = 0;
        QVERIFY2(fmt::toNumber(typed, &viaToNumber) == number.has_value(), qPrintable(what));
        if (!number) {
            // Not a number: every display shows the text as it stands.
            for (const QString &pattern : numberPatterns())
                QVERIFY2(fmt::format(typed, pattern) == typed, qPrintable(what));
            continue;
        }
        ++accepted;
        QVERIFY2(std::isfinite(*number) && std::abs(*number) <= fmt::kMaxTypedMagnitude, qPrintable(what));
        QVERIFY2(viaToNumber == *number, qPrintable(what));
        QVERIFY2(madeOf(fmt::asciiDigits(typed).trimmed(), kNumberChars), qPrintable(what));
        for (const QString &pattern : numberPatterns()) {
            const QString shown = fmt::format(typed, pattern);
            QVERIFY2(shown == fmt::formatNumber(*number, pattern), qPrintable(what));
            QVERIFY2(madeOf(shown, kNumberChars), qPrintable(what + QStringLiteral(" shown as ") + shown));
        }
    }
    // The generator does reach the accepting side, not only the refusals.
    QVERIFY(accepted > kCases / 50);
}

void TestEntryFuzz::typedTimesAndDates()
{
    QRandomGenerator random(kSeed + 1);
    int times = 0, dates = 0;
    for (int i = 0; i < kCases; ++i) {
        const QString typed = randomText(random);
        const QString what = codePoints(typed);
        const QString ascii = fmt::asciiDigits(typed);
        // Raw text passes only when it is ASCII already.
        if (worktime::isAcceptedTime(typed))
            QVERIFY2(asciiDigitsOnly(typed), qPrintable(what));
        if (worktime::isAcceptedTime(ascii)) {
            ++times;
            QVERIFY2(asciiDigitsOnly(ascii) && ascii.size() == 4, qPrintable(what));
            const auto minutes = worktime::minutesOf(ascii);
            QVERIFY2(minutes && *minutes >= 0 && *minutes <= 24 * 60 + 60, qPrintable(what));
            QVERIFY2(madeOf(fmt::format(ascii, fmt::kTime), u"0123456789:"), qPrintable(what));
        }
        // Whatever form a time is typed in, what is stored is a real time.
        if (const auto time = worktime::typedTime(typed))
            QVERIFY2(worktime::isAcceptedTime(*time), qPrintable(what));
        if (worktime::dateOfEntry(typed))
            QVERIFY2(asciiDigitsOnly(typed), qPrintable(what));
        if (const auto date = worktime::dateOfEntry(ascii); date && ascii.size() == 8) {
            ++dates;
            QVERIFY2(date->isValid() && asciiDigitsOnly(ascii), qPrintable(what));
            QVERIFY2(madeOf(fmt::format(ascii, fmt::kDate), u"0123456789/"), qPrintable(what));
            QVERIFY2(madeOf(fmt::format(ascii, fmt::kJapaneseDate), u"0123456789年月日"), qPrintable(what));
            QVERIFY2(asciiDigitsOnly(worktime::nextDay(ascii)), qPrintable(what));
        }
    }
    QVERIFY(times > 0);
    QVERIFY(dates > 0);
}

void TestEntryFuzz::statementLines()
{
    using namespace pelmar::daylines;
    QRandomGenerator random(kSeed + 2);
    const QVariant starts[] = {QVariant(), QStringLiteral("0900"), QStringLiteral("2200")};
    const QVariant ends[] = {QVariant(), QStringLiteral("1000"), QStringLiteral("1800"), QStringLiteral("0600")};
    const QVariant breaks[] = {QVariant(), 0.0, 1.0, 0.75};
    const QVariant wages[] = {QVariant(), 1000.0, worktime::kMaxWage};
    const patterns::PatternTimes shift{QStringLiteral("0900"), QStringLiteral("1000"), 0.5, 0.5};
    for (int i = 0; i < kCases; ++i) {
        Line line;
        line[kLineNo] = 1;
        line[kDate] = QStringLiteral("20240401");
        line[kStart] = starts[random.bounded(3)];
        line[kEnd] = ends[random.bounded(4)];
        line[kBreak] = breaks[random.bounded(4)];
        line[kWage] = wages[random.bounded(3)];
        line[kAdjustment] = random.bounded(2) ? QVariant(-99999999.0) : QVariant();
        // The line before the edit is one the rules allow.
        if (!worktime::breakFits(line[kStart], line[kEnd], line[kBreak]))
            line[kBreak] = QVariant();
        const int column = kDate + random.bounded(kAmount - kDate + 1);
        const QString typed = randomText(random);
        const QVariant previous = line[column];
        line[column] = typed;
        const QVariant wageBox = wages[random.bounded(3)];
        const EditOutcome outcome = completeAfterEdit(
            line, column, random.bounded(2) ? QStringLiteral("A") : QString(), [&shift] { return shift; }, wageBox,
            previous);
        const QString what = codePoints(typed) + QStringLiteral(" in column %1").arg(column);
        for (int c = kDate; c < kColumnCount; ++c) {
            // Hours, wage and break never stay negative; adjustment and amount may.
            const bool mayBeNegative = c == kAdjustment || c == kAmount;
            const QString fault = faultOf(outcome.line[c], mayBeNegative ? c : -1, columnFormat(c));
            QVERIFY2(fault.isEmpty(), qPrintable(what + QStringLiteral(": column %1 ").arg(c) + fault));
        }
        QVERIFY2(worktime::breakFits(outcome.line[kStart], outcome.line[kEnd], outcome.line[kBreak]), qPrintable(what));
        QVERIFY2((outcome.refusal == Refusal::None) == (outcome.refusedColumn < 0), qPrintable(what));
        // A refused entry leaves what the cell held (an empty wage takes the
        // wage box's); a break the times left too long is emptied.
        if (outcome.refusedColumn == column) {
            const QVariant &kept = outcome.line[column];
            QVERIFY2(worktime::sameValue(kept, previous)
                         || (column == kWage && previous.isNull() && worktime::sameValue(kept, wageBox)),
                     qPrintable(what));
        } else if (outcome.refusedColumn >= 0) {
            QVERIFY2(outcome.line[outcome.refusedColumn].isNull(), qPrintable(what));
        }
        // No line holds more than a day's hours or a wage beyond the bound.
        double number = 0;
        if (fmt::toNumber(outcome.line[kHours], &number))
            QVERIFY2(number <= worktime::kMaxLineHours, qPrintable(what));
        if (fmt::toNumber(outcome.line[kWage], &number))
            QVERIFY2(number <= worktime::kMaxWage, qPrintable(what));
        QVERIFY(outcome.recalculateTotals);
    }
}

void TestEntryFuzz::shiftTypeRows()
{
    using namespace pelmar::patternrow;
    QRandomGenerator random(kSeed + 3);
    const QVariant times[] = {QVariant(), QStringLiteral("0900"), QStringLiteral("0930"), QStringLiteral("2200")};
    for (int i = 0; i < kCases; ++i) {
        Row row;
        row[kNo] = 1;
        row[kType] = QStringLiteral("A");
        row[kStart] = times[random.bounded(4)];
        row[kEnd] = times[random.bounded(4)];
        row[kBreak] = random.bounded(2) ? QVariant(1.0) : QVariant();
        if (!worktime::breakFits(row[kStart], row[kEnd], row[kBreak]))
            row[kBreak] = QVariant();
        const int column = kStart + random.bounded(kWorked - kStart + 1);
        const QString typed = randomText(random);
        row[column] = typed;
        const RowOutcome outcome = completeRowAfterEdit(row, column);
        const QString what = codePoints(typed) + QStringLiteral(" in column %1").arg(column);
        const QString formats[] = {QString(), QString(), fmt::kTime, fmt::kTime, fmt::kHoursShort, fmt::kHoursShort};
        for (int c = kStart; c < kColumnCount; ++c) {
            const QString fault = faultOf(outcome.row[c], -1, formats[c]);
            QVERIFY2(fault.isEmpty(), qPrintable(what + QStringLiteral(": column %1 ").arg(c) + fault));
        }
        QVERIFY2(worktime::breakFits(outcome.row[kStart], outcome.row[kEnd], outcome.row[kBreak]), qPrintable(what));
    }
}

void TestEntryFuzz::anyFiniteValueShowsAsAscii()
{
    QRandomGenerator random(kSeed + 4);
    for (int i = 0; i < kCases; ++i) {
        // Any bit pattern of a double, so huge, tiny and subnormal values come too.
        const quint64 bits = random.generate64();
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        if (!std::isfinite(value))
            continue;
        // And patterns with any number of decimals, required or optional.
        QString pattern = random.bounded(2) ? QStringLiteral("#,##0.") : QStringLiteral("#.");
        const int decimals = random.bounded(50);
        for (int d = 0; d < decimals; ++d)
            pattern += random.bounded(2) ? u'0' : u'#';
        for (const QString &p : numberPatterns() + QStringList{pattern}) {
            const QString shown = fmt::formatNumber(value, p);
            QVERIFY2(madeOf(shown, kNumberChars),
                     qPrintable(QStringLiteral("%1 through %2: %3").arg(value, 0, 'g', 17).arg(p, shown)));
        }
    }
}

QTEST_GUILESS_MAIN(TestEntryFuzz)
#include "tst_entryfuzz.moc"
