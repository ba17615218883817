#pragma once

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

// The close (締め) of a title once its slips are paid. A closed title's
// statements are not changed, added to or deleted until the title is
// reopened for a correction; every close and reopening is kept with its
// time, so the history page can say what happened to the month and when.
namespace pelmar::closing {

struct Event {
    bool closed = false; // a close; false: a reopening
    QDateTime at;
};

struct State {
    QList<Event> history; // oldest first
    bool closed() const { return !history.isEmpty() && history.last().closed; }
    // When the title was last closed; invalid while it is open.
    QDateTime closedAt() const { return closed() ? history.last().at : QDateTime(); }
};

// The title's closes and reopenings; nothing when the read failed.
std::optional<State> stateOf(const QSqlDatabase &main, const QString &title);

// Closes (closed = true) or reopens the title at `at`, in one transaction.
// False when the write failed, the title already was in that state or, to
// be closed, has no statement stored under it; nothing is then written.
bool setClosed(const QSqlDatabase &main, const QString &title, bool closed, const QDateTime &at);

// Every title that is closed now and holds statements, in the order they
// were closed; nothing when the read failed.
std::optional<QStringList> closedTitles(const QSqlDatabase &main);

// The titles closed in `current` that replacing it by `replacement` would
// take away, reopen, or whose statements (headers, lines, pay) it would
// change; both files of the same layout. Nothing when a read failed.
std::optional<QStringList> closedTitlesChangedBy(const QSqlDatabase &current, const QSqlDatabase &replacement);

// "締め済（2026/12/08）"
QString closedMark(const QDateTime &at);

// The history in one line a step: "締め　2026/12/08 10:15".
QStringList historyLines(const State &state);

} // namespace pelmar::closing
