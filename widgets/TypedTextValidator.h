#pragma once

#include <QRegularExpressionValidator>

namespace pelmar {

// Holds a line edit to digits as they look: full-width digits, point, comma
// and minus typed or committed by Japanese input become their ASCII forms
// (fmt::asciiDigits) as they arrive, and the text is then held to the
// expression, if one is given. Without one, any text is taken, converted.
// Text holding a letter or a character of another script is taken whole
// too: it is no number, time or date, and the check after the edit says so.
class TypedTextValidator : public QRegularExpressionValidator {
    Q_OBJECT
public:
    explicit TypedTextValidator(QObject *parent = nullptr);
    TypedTextValidator(const QRegularExpression &shape, QObject *parent);

    State validate(QString &input, int &pos) const override;
    void fixup(QString &input) const override;

    // What was typed into an empty line edit of a shape and refused, key by
    // key ("abc" into a time): the text it would have had. Empty once the
    // edit holds text again or it was forgotten.
    static QString refusedTyping(const QObject *edit);
    static void forgetRefusedTyping(QObject *edit);

private:
    mutable QString m_lastTaken;
};

} // namespace pelmar
