#pragma once

#include <QString>
#include <QStringList>

// Names and titles as the user typed them, reduced to what they look like.
// Two texts that look the same on the screen must not become two employees
// or two statements, so what cannot be seen does not count.
namespace pelmar::typed {

// The typed text without what cannot be seen: blanks and control characters
// before and after it (ASCII and full-width spaces, tabs, line breaks, the
// no-break space), and invisible format characters anywhere in it (the
// byte-order mark U+FEFF, the zero-width space and joiners U+200B–U+200D,
// the word joiner U+2060, direction marks, the soft hyphen and the other
// characters of Unicode's format category, and the invisible Hangul fillers).
// Spaces inside the text stay as typed; so do variation selectors, which
// choose the glyph of a kanji in a name.
QString cleaned(const QString &typed);

// Whether the text holds anything cleaned() would take away.
inline bool isClean(const QString &text)
{
    return cleaned(text) == text;
}

// The text a typed name or title stands for among those already stored:
// a stored text typed exactly is kept as it is, even when it holds
// invisible characters; otherwise the cleaned text, or, when that is not
// stored but stored texts look the same, the first of those in the order
// given. So a name typed with a stray space finds the employee it looks
// like, and a stored name keeps reaching its statements.
QString settled(const QString &typed, const QStringList &stored);

// The texts that look the same as another of the list (equal once
// cleaned, and not empty), as groups of their positions in the list, each
// group and the groups in list order. A text that looks like no other is
// in no group.
QList<QList<int>> sameOnceCleaned(const QStringList &texts);

// How a message names a refused entry: the column's caption and what was
// typed, 終了時間「2500」; a long entry is cut short.
QString refusedEntry(const QString &caption, const QString &typed);
// A typed title as it is kept: cleaned(), with full-width digits and spaces
// made ASCII, as numbers are, so "2026年１１月分" is the title "2026年11月分".
QString titleForm(const QString &typed);

// The title a typed one stands for among those already stored: a stored
// title typed exactly stays as it is; otherwise titleForm(), or the first
// stored title that has the same titleForm().
QString settledTitle(const QString &typed, const QStringList &stored);

// The names of `known` that a typed name is likely a slip for: the same but
// for spaces and the width of letters and digits, or one or two characters
// apart (one for names of three characters or fewer). The name itself, typed
// exactly, is not among them.
QStringList lookAlikes(const QString &typed, const QStringList &known);

} // namespace pelmar::typed
