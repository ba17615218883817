#pragma once

#include <QDate>
#include <QDateEdit>
#include <QString>

#include <optional>

class QLineEdit;

namespace pelmar {

// A date as people type it into a date box: yyyy/mm/dd (or yyyy/m/d,
// yyyy-mm-dd) and the eight digits yyyymmdd, full-width digits too.
// Nothing for anything else, or a day that does not exist.
std::optional<QDate> typedDateText(const QString &text);

// A date of the pay or the employment typed into a text box, as above; an
// invalid date for empty text; nothing for text that is no date, or a date
// before 1900 or more than 100 years ahead.
std::optional<QDate> typedDate(const QString &text);

// Every date box of the program behaves alike: a date typed as above is
// taken, and its calendar is in Japanese and opens at today's month when
// the box holds no date yet.
//
// A box of the program's own that shows "no date" as its minimum date and
// special text (e.g. 指定なし): typing replaces that text as a whole.
class DateBox : public QDateEdit {
public:
    explicit DateBox(QWidget *parent = nullptr);

protected:
    QValidator::State validate(QString &text, int &pos) const override;
    void fixup(QString &text) const override;
    QDateTime dateTimeFromText(const QString &text) const override;
    QString textFromDateTime(const QDateTime &dateTime) const override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// A line edit that holds a date as text (left empty for none): a calendar
// button beside the text, in Japanese, opening at the typed date or today.
void addCalendar(QLineEdit *box);

} // namespace pelmar
