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
}

// The typed text becomes the value: commas between digits are ignored, and
// anything that is not a number, or one beyond fmt::kMaxTypedMagnitude,
// leaves the box without a value.
void NumberBox::takeTypedText()
{
    const std::optional<double> number = fmt::parseTypedNumber(text());
    setValue(number ? QVariant(*number) : QVariant());
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
