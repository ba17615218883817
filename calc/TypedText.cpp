#include "calc/TypedText.h"

#include <QChar>
#include <QHash>

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

QList<QList<int>> lookAlikes(const QStringList &texts)
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

} // namespace pelmar::typed
