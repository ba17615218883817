#include "messages/MessageCatalogue.h"

#include "messages/CatalogueTable.h"

#include <QStringView>

#include <iterator>

namespace pelmar {

namespace {

using namespace messagetable;

constexpr bool sameText(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i] != b[i])
            return false;
    }
    return true;
}

// Lookup takes the first entry of a key, so a second one would never be
// shown; the build refuses it.
constexpr bool noKeyTwice()
{
    for (std::size_t i = 0; i < std::size(catalogue); ++i) {
        for (std::size_t j = i + 1; j < std::size(catalogue); ++j) {
            if (sameText(catalogue[i].key.category, catalogue[j].key.category)
                && sameText(catalogue[i].key.subKey, catalogue[j].key.subKey))
                return false;
        }
    }
    return true;
}
static_assert(noKeyTwice(), "a catalogue key appears twice");

} // namespace

std::optional<CatalogueMessage> lookupMessage(const QString &category, const QString &subKey, const QString &subject)
{
    // QStringView comparison is exact UTF-16 equality: no case folding, no
    // width folding, no trimming.
    for (const Entry &entry : catalogue) {
        if (entry.key.category != category || entry.key.subKey != subKey)
            continue;

        CatalogueMessage message;
        message.style = entry.style;
        switch (entry.subject) {
        case Subject::Unused:
            message.prompt = entry.before.toString();
            message.title = entry.title.toString();
            break;
        case Subject::InPrompt:
            message.prompt.reserve(entry.before.size() + subject.size() + entry.after.size());
            message.prompt.append(entry.before).append(subject).append(entry.after);
            message.title = entry.title.toString();
            break;
        case Subject::PromptAndTitle:
            message.prompt = subject;
            message.title = subject;
            break;
        }
        return message;
    }
    return std::nullopt;
}

std::optional<CatalogueMessage> lookupMessage(const MessageKey &key, const QString &subject)
{
    return lookupMessage(key.category.toString(), key.subKey.toString(), subject);
}

int messageBoxFlags(MessageStyle style)
{
    constexpr int yesNo = 4;
    constexpr int question = 32;
    constexpr int exclamation = 48;
    constexpr int information = 64;
    constexpr int secondButtonDefault = 256;

    switch (style) {
    case MessageStyle::Confirm:
        return yesNo + question;
    case MessageStyle::ConfirmDefaultNo:
        return yesNo + question + secondButtonDefault;
    case MessageStyle::Notice:
        return information;
    case MessageStyle::Warning:
        return exclamation;
    }
    return information;
}

} // namespace pelmar
