#include "payroll/MonthClose.h"

#include "store/Database.h"
#include "store/Query.h"
#include "store/Tables.h"

namespace pelmar::closing {

namespace {

// Stored as local time, to the second, so that text order is time order.
const QString kStoredTime = QStringLiteral("yyyy-MM-dd HH:mm:ss");

} // namespace

std::optional<State> stateOf(const QSqlDatabase &main, const QString &title)
{
    Query query(main);
    if (!query.run(QStringLiteral("select 締め, 日時 from 締め where タイトル = ? order by rowid"), {title}))
        return std::nullopt;
    State state;
    while (query.next())
        state.history << Event{query.value(0).toInt() != 0,
                               QDateTime::fromString(query.value(1).toString(), kStoredTime)};
    if (query.failed())
        return std::nullopt;
    return state;
}

bool setClosed(const QSqlDatabase &main, const QString &title, bool closed, const QDateTime &at)
{
    Transaction transaction(main);
    if (!transaction.started())
        return false;
    // Read again inside the transaction: a second click, or a page that
    // showed an old state, must not record the same step twice.
    const std::optional<State> state = stateOf(main, title);
    if (!state || state->closed() == closed)
        return false;
    // A title with nothing stored under it has nothing to close: a closed
    // one could never be chosen again to be reopened.
    Query stored(main);
    if (!stored.run(QStringLiteral("select 1 from 時給ヘッダ where タイトル = ? limit 1"), {title}))
        return false;
    if (closed && !stored.next())
        return false;
    return insertRow(main, tables::締め, tables::締め.columns, {title, closed ? -1 : 0, at.toString(kStoredTime)})
        && transaction.commit();
}

std::optional<QStringList> closedTitles(const QSqlDatabase &main)
{
    return Query(main).texts(
        QStringLiteral("select c.タイトル from 締め c where c.rowid ="
                       " (select max(d.rowid) from 締め d where d.タイトル = c.タイトル)"
                       " and c.締め <> 0 and exists (select 1 from 時給ヘッダ h where h.タイトル = c.タイトル)"
                       " order by c.rowid"));
}

namespace {

// Every stored row of the title's statements, as text, in one order
// whatever order the file keeps them in.
std::optional<QStringList> statementRows(const QSqlDatabase &main, const QString &title)
{
    QStringList rows;
    for (const auto *table : {&tables::時給ヘッダ, &tables::時給明細, &tables::時給支給}) {
        Query query(main);
        if (!query.run(selectSql(*table, table->columns, QStringLiteral("where タイトル = ?")), {title}))
            return std::nullopt;
        while (query.next()) {
            QStringList fields{table->name};
            for (const QVariant &value : query.values(table->columns.size()))
                fields << (value.isNull() ? QStringLiteral("\u0001null") : value.toString());
            rows << fields.join(u'\u001f');
        }
        if (query.failed())
            return std::nullopt;
    }
    rows.sort();
    return rows;
}

} // namespace

std::optional<QStringList> closedTitlesChangedBy(const QSqlDatabase &current, const QSqlDatabase &replacement)
{
    const auto closedNow = closedTitles(current);
    const auto closedThen = closedTitles(replacement);
    if (!closedNow || !closedThen)
        return std::nullopt;
    QStringList changed;
    for (const QString &title : *closedNow) {
        const auto now = statementRows(current, title);
        const auto then = statementRows(replacement, title);
        if (!now || !then)
            return std::nullopt;
        if (!closedThen->contains(title) || *now != *then)
            changed << title;
    }
    return changed;
}

QString closedMark(const QDateTime &at)
{
    return QStringLiteral("締め済（%1）").arg(at.toString(QStringLiteral("yyyy/MM/dd")));
}

QStringList historyLines(const State &state)
{
    QStringList lines;
    bool closedBefore = false;
    for (const Event &event : state.history) {
        const QString what = !event.closed ? QStringLiteral("締め解除")
            : closedBefore                 ? QStringLiteral("再締め")
                                           : QStringLiteral("締め");
        closedBefore = closedBefore || event.closed;
        lines << what + QStringLiteral("　") + event.at.toString(QStringLiteral("yyyy/MM/dd HH:mm"));
    }
    return lines;
}

} // namespace pelmar::closing
