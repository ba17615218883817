#include "widgets/TypedTextValidator.h"

#include "calc/Formats.h"

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
    return QRegularExpressionValidator::validate(input, pos);
}

void TypedTextValidator::fixup(QString &input) const
{
    input = fmt::asciiDigits(input);
}

} // namespace pelmar
