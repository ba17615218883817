#include "widgets/TypedTextValidator.h"

#include "calc/Formats.h"

#include <algorithm>
#include <QLineEdit>

namespace pelmar {

TypedTextValidator::TypedTextValidator(QObject *parent) : QRegularExpressionValidator(parent)
{
}

TypedTextValidator::TypedTextValidator(const QRegularExpression &shape, QObject *parent)
    : QRegularExpressionValidator(shape, parent)
{
}

namespace {
const char *const kRefusedTyping = "pelmarRefusedTyping";
}

QValidator::State TypedTextValidator::validate(QString &input, int &pos) const
{
    // The conversion keeps every character in its place, so pos stays right.
    input = fmt::asciiDigits(input);
    if (regularExpression().pattern().isEmpty())
        return Acceptable;
    // Letters and other scripts' characters are never dropped as they are
    // typed: text holding one stays whole, for the check that follows to
    // refuse it out loud. Dropped, 1e5 would be 15, a time of three in the
    // afternoon, and nan nothing at all.
    if (std::any_of(input.cbegin(), input.cend(), [](QChar c) { return c.isLetter() || c.unicode() >= 128; }))
        return Acceptable;
    const State state = QRegularExpressionValidator::validate(input, pos);
    // Keys refused while the edit is empty are kept, so that "abc" typed
    // over a cleared cell is not taken for a cell cleared on purpose.
    // The edit holds the refused text while it is checked: what it held
    // before is the last text taken.
    if (auto *edit = qobject_cast<QLineEdit *>(parent())) {
        if (state == Invalid && m_lastTaken.isEmpty())
            edit->setProperty(kRefusedTyping, refusedTyping(edit) + input);
        else if (state != Invalid && input != m_lastTaken)
            forgetRefusedTyping(edit);
    }
    if (state != Invalid)
        m_lastTaken = input;
    return state;
}

QString TypedTextValidator::refusedTyping(const QObject *edit)
{
    return edit ? edit->property(kRefusedTyping).toString() : QString();
}

void TypedTextValidator::forgetRefusedTyping(QObject *edit)
{
    if (edit)
        edit->setProperty(kRefusedTyping, QVariant());
}

void TypedTextValidator::fixup(QString &input) const
{
    input = fmt::asciiDigits(input);
}

} // namespace pelmar
