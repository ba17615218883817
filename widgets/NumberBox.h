#pragma once

#include "calc/Formats.h"

#include <QLineEdit>
#include <QVariant>

namespace pelmar {

// A box for one number that may be empty. It shows its value through its
// display format (calc/Formats) and, while the user edits it, the plain
// number. An invalid QVariant is "no value". Typed text is read by
// fmt::parseTypedNumber: full-width digits count, exponents and words do not.
// Blank text empties the box; text that is no number in its range is
// refused, and the box keeps its value.
class NumberBox : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(QVariant value READ value WRITE setValue NOTIFY valueChanged)
    Q_PROPERTY(QString displayFormat READ displayFormat WRITE setDisplayFormat)
public:
    explicit NumberBox(QWidget *parent = nullptr);

    QVariant value() const; // a double, or invalid for no value
    // Numbers and numeric text are taken; null, empty or other text clears.
    void setValue(const QVariant &value);
    bool hasValue() const { return m_value.isValid(); }

    QString displayFormat() const { return m_format; }
    void setDisplayFormat(const QString &pattern);

    // The range a typed value must lie in; a value set by the program is
    // taken as it is.
    void setRange(double minimum, double maximum);

signals:
    void valueChanged(const QVariant &value);
    // Typed text was refused: no number, or one outside the range. The box
    // keeps the value it had; the page tells the user.
    void entryRefused(const QString &typed);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void takeTypedText();
    void showValue();

    QVariant m_value;
    QString m_format;
    QString m_shownText; // the text showValue() last put in the box
    double m_minimum = -fmt::kMaxTypedMagnitude;
    double m_maximum = fmt::kMaxTypedMagnitude;
    bool m_editing = false;
};

} // namespace pelmar
