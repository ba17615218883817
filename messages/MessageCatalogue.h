#pragma once

#include "messages/MessageKeys.h"

#include <QString>

#include <optional>

namespace pelmar {

// How a message is asked or told.
enum class MessageStyle {
    Confirm, // Yes / No, question icon, Yes is the default
    ConfirmDefaultNo, // Yes / No, question icon, No is the default
    Notice, // OK, information icon
    Warning, // OK, exclamation icon
};

struct CatalogueMessage {
    QString prompt;
    QString title;
    MessageStyle style = MessageStyle::Notice;
};

// The catalogue of every confirmation and notice: the message for
// (category, subKey) with the subject joined in, or nothing when the
// catalogue holds no such message. Matching is exact and case-sensitive.
std::optional<CatalogueMessage> lookupMessage(const QString &category, const QString &subKey, const QString &subject);
std::optional<CatalogueMessage> lookupMessage(const MessageKey &key, const QString &subject = {});

// The classic message-box flags of a style (Yes/No 4, question 32,
// information 64, exclamation 48, second button default 256).
int messageBoxFlags(MessageStyle style);

} // namespace pelmar
