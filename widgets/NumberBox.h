#pragma once

#include <QLineEdit>
#include <QVariant>

namespace pelmar {

// A box for one number that may be empty. It shows its value through its
// display format (calc/Formats) and, while the user edits it, the plain
// number. An invalid QVariant is "no value". Typed text is read by
// fmt::parseTypedNumber: full-width digits count, exponents and words do not.
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

signals:
    void valueChanged(const QVariant &value);

protected:
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void takeTypedText();
    void showValue();

    QVariant m_value;
    QString m_format;
    bool m_editing = false;
};

} // namespace pelmar
