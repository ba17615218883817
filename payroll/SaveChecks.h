#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

// What a save may write, checked by the save itself inside its write
// transaction. The pages and the import ask the user beforehand with the
// same reads; what they were asked about travels into the save as an
// Expectation, and the save refuses when the store no longer matches it:
// another program (a second import, the 締め of another window) may have
// written in between.
namespace pelmar::statements {

// A stored statement as the user was asked about it: whether one is stored
// under the pair, and a fingerprint of its header and lines.
struct StoredState {
    bool stored = false;
    QByteArray fingerprint; // empty when none is stored
    bool operator==(const StoredState &) const = default;
};

// The pair's state now; nothing when the read failed.
std::optional<StoredState> storedState(const QSqlDatabase &main, const QString &name, const QString &title);

// What the caller asked the user about before the save.
struct Expectation {
    // The statement the save replaces, as it was when the user agreed (not
    // stored: the user was told it is new). Nothing: whatever is stored is
    // replaced, for callers that ask nobody.
    std::optional<StoredState> replacing;
    // Other, open titles of the employee that hold days of these lines, and
    // that the user agreed to pay again.
    QStringList acceptedTitles;
};

// A day of the lines that the employee already has under another title.
struct StoredDay {
    QString date; // yyyymmdd
    QString title;
    QDateTime closedAt; // when that title was closed; invalid while it is open
    bool closed() const { return closedAt.isValid(); }
};

// The days among `dates` (yyyymmdd) stored for the employee under titles
// other than `title`, by date and title. One indexed read bounded by the
// first and last of the dates, and one read of each title's close.
std::optional<QList<StoredDay>> daysStoredElsewhere(const QSqlDatabase &main, const QString &name,
                                                    const QString &title, const QStringList &dates);

// Why a save wrote nothing.
enum class Refusal {
    None,
    Failed, // the file could not be read or written: failureDetail tells why
    TitleClosed, // the statement's own title is closed
    StoredChanged, // the stored statement is no longer the one the user was asked about
    DayStoredElsewhere, // a day is stored under another open title the user was not asked about
    DayInClosedTitle, // a day is already paid under a closed title
};

struct SaveResult {
    Refusal refusal = Refusal::None;
    QString name; // the statement refused
    QString title;
    // For a day: the day and the other title; for a closed title: its close.
    QString date;
    QString otherTitle;
    QDateTime closedAt;
    bool ok() const { return refusal == Refusal::None; }
};

// The checks the save makes inside its transaction for one statement of
// `name` under `title` with lines on `dates`.
SaveResult checkWritable(const QSqlDatabase &main, const QString &name, const QString &title,
                         const QStringList &dates, const Expectation &expected);

} // namespace pelmar::statements
