#include "widgets/TypedTextValidator.h"

#include "calc/Formats.h"

#include <algorithm>

namespace pelmar {

TypedTextValidator::TypedTextValidator(QObject *parent) : QRegularExpressionValidator(parent)
{
}

TypedTextValidator::TypedTextValidator(const QRegularExpression &shape, QObject *parent)
    : QRegularExpressionValidator(shape, parent)
{
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
    return QRegularExpressionValidator::validate(input, pos);
}

void TypedTextValidator::fixup(QString &input) const
{
    input = fmt::asciiDigits(input);
}

} // namespace pelmar
