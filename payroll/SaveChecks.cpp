#include "payroll/SaveChecks.h"

#include "payroll/MonthClose.h"
#include "store/Query.h"
#include "store/Tables.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QHash>
#include <QIODevice>
#include <QSet>

#include <algorithm>

namespace pelmar::statements {

namespace {

const QString kOfThePair = QStringLiteral("where 氏名 = ? and タイトル = ?");

// Every value of the rows read, in order, into the hash.
bool addRows(QCryptographicHash &hash, Query &query, int columns)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    while (query.next())
        for (int c = 0; c < columns; ++c)
            out << query.value(c);
    hash.addData(bytes);
    return !query.failed();
}

} // namespace

std::optional<StoredState> storedState(const QSqlDatabase &main, const QString &name, const QString &title)
{
    const QVariantList pair{name, title};
    Query header(main);
    const QStringList &headerColumns = tables::時給ヘッダ.columns;
    if (!header.run(selectSql(tables::時給ヘッダ, QStringList{QStringLiteral("rowid")} + headerColumns,
                              kOfThePair + QStringLiteral(" order by rowid")),
                    pair))
        return std::nullopt;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!addRows(hash, header, int(headerColumns.size()) + 1))
        return std::nullopt;
    Query lines(main);
    const QStringList &lineColumns = tables::時給明細.columns;
    if (!lines.run(selectSql(tables::時給明細, lineColumns, kOfThePair + QStringLiteral(" order by 行番号, rowid")),
                   pair))
        return std::nullopt;
    if (!addRows(hash, lines, int(lineColumns.size())))
        return std::nullopt;
    // A header read again tells whether there is one; the hash alone would
    // not tell an empty table from a row of nulls.
    const QVariant any = Query(main).single(
        QStringLiteral("select count(*) from 時給ヘッダ where 氏名 = ? and タイトル = ?"), pair);
    if (!any.isValid())
        return std::nullopt;
    if (any.toInt() == 0)
        return StoredState{};
    return StoredState{true, hash.result()};
}

std::optional<QList<StoredDay>> daysStoredElsewhere(const QSqlDatabase &main, const QString &name,
                                                    const QString &title, const QStringList &dates)
{
    QList<StoredDay> found;
    if (dates.isEmpty())
        return found;
    const auto [first, last] = std::minmax_element(dates.cbegin(), dates.cend());
    Query query(main);
    if (!query.run(QStringLiteral("select distinct 日付, タイトル from 時給明細"
                                  " where 氏名 = ? and 日付 between ? and ? and タイトル is not ?"
                                  " order by 日付, タイトル"),
                   {name, *first, *last, title}))
        return std::nullopt;
    const QSet<QString> wanted(dates.cbegin(), dates.cend());
    while (query.next())
        if (wanted.contains(query.value(0).toString()))
            found << StoredDay{query.value(0).toString(), query.value(1).toString(), {}};
    if (query.failed())
        return std::nullopt;
    QHash<QString, QDateTime> closes;
    for (StoredDay &day : found) {
        if (!closes.contains(day.title)) {
            const std::optional<closing::State> state = closing::stateOf(main, day.title);
            if (!state)
                return std::nullopt;
            closes.insert(day.title, state->closedAt());
        }
        day.closedAt = closes.value(day.title);
    }
    return found;
}

SaveResult checkWritable(const QSqlDatabase &main, const QString &name, const QString &title,
                         const QStringList &dates, const Expectation &expected)
{
    SaveResult result{Refusal::Failed, name, title, {}, {}, {}};
    const std::optional<closing::State> state = closing::stateOf(main, title);
    if (!state)
        return result;
    if (state->closed()) {
        result.refusal = Refusal::TitleClosed;
        result.closedAt = state->closedAt();
        return result;
    }
    if (expected.replacing) {
        const std::optional<StoredState> now = storedState(main, name, title);
        if (!now)
            return result;
        if (*now != *expected.replacing) {
            result.refusal = Refusal::StoredChanged;
            return result;
        }
    }
    const std::optional<QList<StoredDay>> days = daysStoredElsewhere(main, name, title, dates);
    if (!days)
        return result;
    // A day paid under a closed title is refused before one the user was
    // not asked about: no answer could let it through.
    const auto closedDay = std::find_if(days->cbegin(), days->cend(), [](const StoredDay &d) { return d.closed(); });
    const auto unasked = std::find_if(days->cbegin(), days->cend(), [&expected](const StoredDay &d) {
        return !expected.acceptedTitles.contains(d.title);
    });
    const auto refused = closedDay != days->cend() ? closedDay : unasked;
    if (refused != days->cend()) {
        result.refusal = refused->closed() ? Refusal::DayInClosedTitle : Refusal::DayStoredElsewhere;
        result.date = refused->date;
        result.otherTitle = refused->title;
        result.closedAt = refused->closedAt;
        return result;
    }
    result.refusal = Refusal::None;
    return result;
}

} // namespace pelmar::statements
