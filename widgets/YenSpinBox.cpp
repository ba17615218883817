#include "widgets/YenSpinBox.h"

#include "calc/Formats.h"

#include <QLineEdit>

#include <cmath>

namespace pelmar {

YenSpinBox::YenSpinBox(QWidget *parent) : QSpinBox(parent)
{
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] { m_refused.clear(); });
}

QString YenSpinBox::typedPart(const QString &text) const
{
    QString typed = fmt::asciiDigits(text).trimmed();
    if (!prefix().isEmpty() && typed.startsWith(prefix().trimmed()))
        typed.remove(0, prefix().trimmed().size());
    if (!suffix().isEmpty() && typed.endsWith(suffix().trimmed()))
        typed.chop(suffix().trimmed().size());
    return typed.trimmed();
}

std::optional<int> YenSpinBox::amountOf(const QString &text) const
{
    const std::optional<double> number = fmt::parseTypedNumber(typedPart(text));
    if (!number || *number != std::floor(*number) || *number < minimum() || *number > maximum())
        return std::nullopt;
    return int(*number);
}

// Whatever is typed stays in the box while it is typed (1,2 is on its way to
// 1,234); only an amount is acceptable, and the box is told of the rest
// when it is left.
QValidator::State YenSpinBox::validate(QString &input, int &) const
{
    return amountOf(input) ? QValidator::Acceptable : QValidator::Intermediate;
}

int YenSpinBox::valueFromText(const QString &text) const
{
    return amountOf(text).value_or(value());
}

void YenSpinBox::focusOutEvent(QFocusEvent *event)
{
    const QString typed = typedPart(text());
    if (!typed.isEmpty() && !amountOf(text())) {
        m_refused = typed;
        emit entryRefused(typed);
    }
    QSpinBox::focusOutEvent(event); // puts the value back in the box
}

} // namespace pelmar
