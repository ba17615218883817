#pragma once

#include "messages/MessageCatalogue.h"

#include <QString>

#include <functional>

namespace pelmar {

// Everything a shown message consists of, handed to the answerer.
struct MessageRequest {
    QString category;
    QString subKey;
    QString subject;
    QString prompt;
    QString title;
    MessageStyle style = MessageStyle::Notice;
    bool isConfirmation() const;
    bool yesIsDefault() const; // a confirmation whose default button is Yes
};

// Every confirmation and notice of the program. Shows the message the
// catalogue holds for (category, subKey) with the subject filled in, and
// returns true only when a confirmation was answered Yes. An unknown
// category or sub-key shows nothing and returns false.
bool ShowMsg(const QString &category, const QString &subKey, const QString &subject);

// The same for a key of pelmar::msg: ShowMsg(msg::削除確認, name). Callers
// name their messages this way, so a misspelt key fails to build instead of
// silently showing nothing.
bool ShowMsg(const MessageKey &key, const QString &subject = {});

// While set, every message goes to the answerer instead of a dialog, and a
// confirmation returns what the answerer returns (for a notice the answer is
// ignored and ShowMsg returns false). An empty function restores the dialogs.
void setMessageAnswerer(std::function<bool(const MessageRequest &)> answerer);

} // namespace pelmar
