#pragma once

#include <QSpinBox>

#include <optional>

namespace pelmar {

// A spin box of whole yen whose typed text is read as the grid reads
// numbers (fmt::parseTypedNumber): thousands commas only between groups of
// three (1,234, never 1,2,3 for 123), full-width digits as the digits they
// are. Text that is no amount, or one outside the range, is not taken: when
// the box is left it says so (entryRefused) and keeps the value it had.
class YenSpinBox : public QSpinBox {
    Q_OBJECT
public:
    explicit YenSpinBox(QWidget *parent = nullptr);

    // The amount the text in the box stands for; nothing when it is none.
    std::optional<int> typedAmount() const { return amountOf(text()); }
    // The text typed, without the box's prefix and suffix.
    QString typedText() const { return typedPart(text()); }
    // The text last refused when the box was left, until it is told (and
    // forgotten) or typed over; empty when none.
    QString refusedEntry() const { return m_refused; }
    void forgetRefusal() { m_refused.clear(); }

signals:
    void entryRefused(const QString &typed);

protected:
    QValidator::State validate(QString &input, int &pos) const override;
    int valueFromText(const QString &text) const override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // The text without the prefix and suffix the box shows.
    QString typedPart(const QString &text) const;
    std::optional<int> amountOf(const QString &text) const;

    QString m_refused;
};

} // namespace pelmar
