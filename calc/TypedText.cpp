#include "calc/TypedText.h"

#include <QChar>
#include <QHash>
#include <QList>

#include <algorithm>

namespace pelmar::typed {

namespace {

// Characters that show nothing and carry no meaning in a name: the format
// category, and the fillers outside it that render as nothing.
bool isInvisible(char32_t c)
{
    switch (c) {
    case 0x034F: // combining grapheme joiner
    case 0x115F: // Hangul choseong filler
    case 0x1160: // Hangul jungseong filler
    case 0x17B4: // Khmer inherent vowels, shown as nothing
    case 0x17B5:
    case 0x3164: // Hangul filler
    case 0xFFA0: // half-width Hangul filler
        return true;
    default:
        return QChar::category(c) == QChar::Other_Format;
    }
}

bool isBlank(char32_t c)
{
    return QChar::isSpace(c) || QChar::category(c) == QChar::Other_Control;
}

} // namespace

QString cleaned(const QString &typed)
{
    QList<char32_t> kept;
    kept.reserve(typed.size());
    for (const char32_t c : typed.toUcs4())
        if (!isInvisible(c))
            kept << c;
    qsizetype first = 0;
    qsizetype last = kept.size();
    while (first < last && isBlank(kept.at(first)))
        ++first;
    while (last > first && isBlank(kept.at(last - 1)))
        --last;
    return QString::fromUcs4(kept.constData() + first, last - first);
}

QString settled(const QString &typed, const QStringList &stored)
{
    if (stored.contains(typed))
        return typed;
    const QString clean = cleaned(typed);
    if (clean.isEmpty() || stored.contains(clean))
        return clean;
    for (const QString &candidate : stored)
        if (cleaned(candidate) == clean)
            return candidate;
    return clean;
}

QList<QList<int>> sameOnceCleaned(const QStringList &texts)
{
    QHash<QString, int> groupOf;
    QList<QList<int>> groups;
    for (int i = 0; i < texts.size(); ++i) {
        const QString clean = cleaned(texts.at(i));
        if (clean.isEmpty())
            continue;
        const auto found = groupOf.constFind(clean);
        if (found == groupOf.cend()) {
            groupOf.insert(clean, int(groups.size()));
            groups.append(QList<int>{i});
        } else {
            groups[*found].append(i);
        }
    }
    groups.removeIf([](const QList<int> &group) { return group.size() < 2; });
    return groups;
}

QString refusedEntry(const QString &caption, const QString &typed)
{
    constexpr qsizetype kLongest = 20;
    const QString shown = typed.size() > kLongest ? typed.left(kLongest) + u'…' : typed;
    return caption + u'「' + shown + u'」';
}

namespace {

// What is left of a name once spaces and width no longer count.
QString folded(const QString &text)
{
    const QString wide = cleaned(text).normalized(QString::NormalizationForm_KC);
    QString result;
    result.reserve(wide.size());
    for (const QChar c : wide)
        if (!c.isSpace())
            result += c;
    return result;
}

// Edits (a character put in, left out or replaced) from one text to the other.
qsizetype editDistance(const QString &a, const QString &b)
{
    QList<qsizetype> previous(b.size() + 1);
    QList<qsizetype> current(b.size() + 1);
    for (qsizetype j = 0; j <= b.size(); ++j)
        previous[j] = j;
    for (qsizetype i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const qsizetype replace = previous[j - 1] + (a.at(i - 1) == b.at(j - 1) ? 0 : 1);
            current[j] = std::min({replace, previous[j] + 1, current[j - 1] + 1});
        }
        std::swap(previous, current);
    }
    return previous[b.size()];
}

} // namespace

QString titleForm(const QString &typed)
{
    QString text = cleaned(typed);
    for (QChar &c : text) {
        const char16_t u = c.unicode();
        if (u >= 0xFF10 && u <= 0xFF19) // ０ to ９
            c = QChar(u'0' + (u - 0xFF10));
        else if (u == 0x3000) // the full-width space
            c = u' ';
    }
    return text;
}

QString settledTitle(const QString &typed, const QStringList &stored)
{
    if (stored.contains(typed))
        return typed;
    const QString form = titleForm(typed);
    if (form.isEmpty() || stored.contains(form))
        return form;
    for (const QString &candidate : stored)
        if (titleForm(candidate) == form)
            return candidate;
    return form;
}

QStringList lookAlikes(const QString &typed, const QStringList &known)
{
    const QString name = folded(typed);
    QStringList result;
    if (name.isEmpty())
        return result;
    for (const QString &candidate : known) {
        if (candidate == typed || result.contains(candidate))
            continue;
        const QString other = folded(candidate);
        const qsizetype allowed = std::min(name.size(), other.size()) <= 3 ? 1 : 2;
        if (editDistance(name, other) <= allowed)
            result << candidate;
    }
    return result;
}

} // namespace pelmar::typed
