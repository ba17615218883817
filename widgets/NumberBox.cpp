#include "widgets/NumberBox.h"

#include "calc/Formats.h"
#include "widgets/TypedTextValidator.h"

namespace pelmar {

namespace {

bool sameValue(const QVariant &a, const QVariant &b)
{
    if (a.isValid() != b.isValid())
        return false;
    return !a.isValid() || a.toDouble() == b.toDouble();
}

} // namespace

NumberBox::NumberBox(QWidget *parent) : QLineEdit(parent)
{
    // Full-width digits from Japanese input count as the digits they are.
    setValidator(new TypedTextValidator(QRegularExpression(QStringLiteral("-?[0-9,]*\\.?[0-9]*")), this));
    connect(this, &QLineEdit::editingFinished, this, [this] {
        if (isReadOnly())
            return;
        takeTypedText();
        m_editing = false;
        showValue();
    });
}

QVariant NumberBox::value() const
{
    return m_value;
}

void NumberBox::setValue(const QVariant &value)
{
    double number = 0;
    const QVariant next = fmt::toNumber(value, &number) ? QVariant(number) : QVariant();
    const bool changed = !sameValue(next, m_value);
    m_value = next;
    showValue();
    if (changed)
        emit valueChanged(m_value);
}

void NumberBox::setDisplayFormat(const QString &pattern)
{
    m_format = pattern;
    showValue();
}

void NumberBox::showValue()
{
    if (m_editing)
        setText(m_value.isValid() ? fmt::plainNumber(m_value.toDouble()) : QString());
    else
        setText(fmt::format(m_value, m_format));
    m_shownText = text();
}

void NumberBox::setRange(double minimum, double maximum)
{
    m_minimum = minimum;
    m_maximum = maximum;
}

// The typed text becomes the value: thousands commas are ignored, and blank
// text leaves the box without a value. Anything that is not a number, or
// one outside the range, is refused: the box keeps the value it had and
// shows it again, and says so.
void NumberBox::takeTypedText()
{
    // A visit without typing leaves the value as the program set it.
    if (text() == m_shownText)
        return;
    const QString typed = text().trimmed();
    if (typed.isEmpty()) {
        setValue(QVariant());
        return;
    }
    const std::optional<double> number = fmt::parseTypedNumber(typed);
    if (!number || *number < m_minimum || *number > m_maximum) {
        emit entryRefused(typed);
        return;
    }
    setValue(*number);
}

void NumberBox::focusInEvent(QFocusEvent *event)
{
    if (!isReadOnly()) {
        m_editing = true;
        showValue();
    }
    QLineEdit::focusInEvent(event);
}

void NumberBox::focusOutEvent(QFocusEvent *event)
{
    const bool wasEditing = m_editing;
    QLineEdit::focusOutEvent(event); // may finish the edit (editingFinished)
    if (wasEditing && m_editing) {
        takeTypedText();
        m_editing = false;
        showValue();
    }
}

} // namespace pelmar
