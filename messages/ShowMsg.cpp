#include "messages/ShowMsg.h"

#include <QApplication>
#include <QMessageBox>

#include <utility>

namespace pelmar {

namespace {

std::function<bool(const MessageRequest &)> &currentAnswerer()
{
    static std::function<bool(const MessageRequest &)> answerer;
    return answerer;
}

QMessageBox::Icon iconOf(MessageStyle style)
{
    switch (style) {
    case MessageStyle::Confirm:
    case MessageStyle::ConfirmDefaultNo:
        return QMessageBox::Question;
    case MessageStyle::Warning:
        return QMessageBox::Warning;
    case MessageStyle::Notice:
        break;
    }
    return QMessageBox::Information;
}

// Asks or tells the user in a modal box and reports whether Yes was clicked.
bool askWithMessageBox(const MessageRequest &request)
{
    // Without a widget application there is nothing to show a box on; a
    // QMessageBox would abort the process rather than fail.
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return false;

    const bool confirmation = request.isConfirmation();
    QMessageBox box(iconOf(request.style), request.title, request.prompt,
                    confirmation ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, QApplication::activeWindow());
    // A name such as "<株>山田" is a subject, not markup.
    box.setTextFormat(Qt::PlainText);
    if (confirmation) {
        box.setDefaultButton(request.yesIsDefault() ? QMessageBox::Yes : QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
    }
    box.exec();
    return confirmation && box.clickedButton() == box.button(QMessageBox::Yes);
}

} // namespace

bool MessageRequest::isConfirmation() const
{
    return style == MessageStyle::Confirm || style == MessageStyle::ConfirmDefaultNo;
}

bool MessageRequest::yesIsDefault() const
{
    return style == MessageStyle::Confirm;
}

bool ShowMsg(const QString &category, const QString &subKey, const QString &subject)
{
    // A message that cannot be shown must never take the caller down with it:
    // every failure counts as "not Yes", which a caller treats as a refusal.
    try {
        const std::optional<CatalogueMessage> message = lookupMessage(category, subKey, subject);
        if (!message)
            return false;

        MessageRequest request;
        request.category = category;
        request.subKey = subKey;
        request.subject = subject;
        request.prompt = message->prompt;
        request.title = message->title;
        request.style = message->style;

        // A copy, so an answerer may replace or clear itself while answering.
        const std::function<bool(const MessageRequest &)> answerer = currentAnswerer();
        if (answerer) {
            const bool yes = answerer(request);
            return request.isConfirmation() && yes;
        }
        return askWithMessageBox(request);
    } catch (...) {
        return false;
    }
}

bool ShowMsg(const MessageKey &key, const QString &subject)
{
    return ShowMsg(key.category.toString(), key.subKey.toString(), subject);
}

void setMessageAnswerer(std::function<bool(const MessageRequest &)> answerer)
{
    currentAnswerer() = std::move(answerer);
}

} // namespace pelmar
