#include "widgets/DateBox.h"

#include "calc/Formats.h"

#include <QAction>
#include <QCalendarWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QStyle>
#include <QWidgetAction>

namespace pelmar {

namespace {

const QString kShown = QStringLiteral("yyyy/MM/dd");

// What may still become a date while it is typed: digits and separators.
bool mayBecomeDate(const QString &text)
{
    if (text.size() > 10)
        return false;
    for (const QChar c : text)
        if (!c.isDigit() && c != u'/' && c != u'-')
            return false;
    return true;
}

// The calendar as the shop reads it: Japanese names, weeks from Sunday.
void inJapanese(QCalendarWidget *calendar)
{
    calendar->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    calendar->setFirstDayOfWeek(Qt::Sunday);
}

} // namespace

std::optional<QDate> typedDateText(const QString &text)
{
    const QString trimmed = fmt::asciiDigits(text.trimmed());
    for (const QString &format : {QStringLiteral("yyyy/M/d"), QStringLiteral("yyyy-M-d"), QStringLiteral("yyyyMMdd")}) {
        const QDate date = QDate::fromString(trimmed, format);
        if (date.isValid())
            return date;
    }
    return std::nullopt;
}

std::optional<QDate> typedDate(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return QDate();
    // A date of the employment or pay of someone at work today: 0001/01/01
    // or 9999/12/31 is a slip, never a date to keep.
    const QDate first(1900, 1, 1);
    const QDate last = QDate::currentDate().addYears(100);
    const std::optional<QDate> date = typedDateText(trimmed);
    return date && *date >= first && *date <= last ? date : std::nullopt;
}

DateBox::DateBox(QWidget *parent) : QDateEdit(parent)
{
    setDisplayFormat(kShown);
    setCalendarPopup(true);
    // The date is taken once the typing is over, never half-typed: 2025/02/3
    // on the way to an impossible 2025/02/30 must not stay behind.
    setKeyboardTracking(false);
    inJapanese(calendarWidget());
    calendarWidget()->installEventFilter(this);
}

QValidator::State DateBox::validate(QString &text, int &) const
{
    text = fmt::asciiDigits(text);
    if (text.isEmpty() || (!specialValueText().isEmpty() && text == specialValueText()))
        return text.isEmpty() ? QValidator::Intermediate : QValidator::Acceptable;
    if (const auto date = typedDateText(text); date && *date >= minimumDate() && *date <= maximumDate())
        return QValidator::Acceptable;
    return mayBecomeDate(text) ? QValidator::Intermediate : QValidator::Invalid;
}

void DateBox::fixup(QString &text) const
{
    // Left unfinished: back to the date the box holds.
    if (!typedDateText(text))
        text = textFromDateTime(dateTime());
}

QDateTime DateBox::dateTimeFromText(const QString &text) const
{
    if (const auto date = typedDateText(text))
        return QDateTime(*date, QTime(0, 0));
    return QDateTime(minimumDate(), QTime(0, 0));
}

QString DateBox::textFromDateTime(const QDateTime &dateTime) const
{
    return dateTime.date().toString(kShown);
}

void DateBox::keyPressEvent(QKeyEvent *event)
{
    // Typed text is taken as a whole, not section by section: 2025/10/03
    // typed over 指定なし is that date. Stepping and Enter stay the box's.
    const QString text = event->text();
    const bool typing = !text.isEmpty() && text.at(0).isPrint()
        && !(event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier));
    if (typing || event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete) {
        if (typing && !specialValueText().isEmpty() && lineEdit()->text() == specialValueText())
            lineEdit()->clear();
        QAbstractSpinBox::keyPressEvent(event);
        return;
    }
    QDateEdit::keyPressEvent(event);
}

bool DateBox::eventFilter(QObject *watched, QEvent *event)
{
    // No date yet: the calendar opens at today's month, not at the minimum.
    if (watched == calendarWidget() && event->type() == QEvent::Show && date() == minimumDate()) {
        const QDate today = QDate::currentDate();
        calendarWidget()->setCurrentPage(today.year(), today.month());
    }
    return QDateEdit::eventFilter(watched, event);
}

void addCalendar(QLineEdit *box)
{
    auto *calendar = new QCalendarWidget;
    inJapanese(calendar);
    auto *menu = new QMenu(box);
    auto *holder = new QWidgetAction(menu);
    holder->setDefaultWidget(calendar);
    menu->addAction(holder);
    auto *open = box->addAction(box->style()->standardIcon(QStyle::SP_FileDialogDetailedView),
                                QLineEdit::TrailingPosition);
    open->setObjectName(box->objectName() + QStringLiteral("カレンダー"));
    open->setToolTip(QStringLiteral("カレンダーから選ぶ"));
    QObject::connect(open, &QAction::triggered, box, [box, calendar, menu] {
        const QDate shown = typedDateText(box->text()).value_or(QDate::currentDate());
        calendar->setSelectedDate(shown);
        calendar->setCurrentPage(shown.year(), shown.month());
        menu->popup(box->mapToGlobal(QPoint(0, box->height())));
    });
    QObject::connect(calendar, &QCalendarWidget::clicked, box, [box, menu](const QDate &date) {
        box->setText(date.toString(kShown));
        menu->close();
        emit box->editingFinished();
    });
}

} // namespace pelmar
