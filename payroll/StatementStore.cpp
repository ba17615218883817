#include "payroll/StatementStore.h"

#include "calc/WorkTime.h"
#include "masters/EmployeeStore.h"
#include "masters/PaySettings.h"
#include "payroll/DetailLines.h"
#include "payroll/PayItems.h"
#include "payroll/StatementPay.h"
#include "store/Database.h"
#include "store/Failure.h"
#include "store/PageRows.h"
#include "store/Query.h"
#include "store/Tables.h"

#include <QDate>
#include <QFileInfo>
#include <QSqlError>
#include <QUrl>

#include <algorithm>

namespace pelmar::statements {

namespace {

// A statement of the work connection that reads the attached main file
// and found a file another program holds: that file is the main one, and
// the failure is kept for it, so that the message names Pelmar.mdb.
void blameHeldMainFile(const QSqlDatabase &main, const QSqlDatabase &work)
{
    const QSqlError failure = takeFailure(work);
    const int code = sqliteCode(failure);
    noteFailure(code == kSqliteBusyCode || code == kSqliteLockedCode ? main : work, failure);
}

// The main file attached to the work file's connection for as long as this
// lives, under the name "saved", so that rows go from one file to the other
// inside SQLite in one statement. Only an existing file is attached: SQLite
// would create a missing one.
class AttachedMainFile {
public:
    AttachedMainFile(const QSqlDatabase &main, const QSqlDatabase &work) : m_work(work)
    {
        // The program opens its files by URI (file:…?mode=rw); a plain path
        // is the file itself.
        const QString name = main.databaseName();
        const QString path = name.startsWith(QLatin1String("file:")) ? QUrl(name).toLocalFile() : name;
        m_attached = QFileInfo(path).isFile()
            && execBound(m_work, QStringLiteral("attach database ? as saved"), {QFileInfo(path).absoluteFilePath()});
        if (!m_attached)
            blameHeldMainFile(main, work);
    }
    ~AttachedMainFile()
    {
        if (m_attached)
            execBound(m_work, QStringLiteral("detach database saved"));
    }
    AttachedMainFile(const AttachedMainFile &) = delete;
    AttachedMainFile &operator=(const AttachedMainFile &) = delete;
    bool ok() const { return m_attached; }

private:
    QSqlDatabase m_work;
    bool m_attached = false;
};

const QString kOfThePair = QStringLiteral("where 氏名 = ? and タイトル = ?");

// SQLite numbers the rows it adds from 1.
constexpr qlonglong kNoRow = 0;

// The rowid of the statement's header, kNoRow when it was never saved;
// nothing when the table cannot be read (and a second header must not be
// added then).
std::optional<qlonglong> headerRow(const QSqlDatabase &main, const QString &name, const QString &title)
{
    Query query(main);
    if (!query.run(QStringLiteral("select rowid from 時給ヘッダ ") + kOfThePair
                       + QStringLiteral(" order by rowid limit 1"),
                   {name, title}))
        return std::nullopt;
    if (!query.next())
        return query.failed() ? std::nullopt : std::optional(kNoRow);
    return query.value(0).toLongLong();
}

bool writeHeader(const QSqlDatabase &main, const Header &h)
{
    const QStringList &columns = tables::時給ヘッダ.columns;
    // In the order of the header's columns.
    const QVariantList values{h.name,  h.title,      h.patternType,   h.wage,    h.breakHours,   h.adjustment, h.hours,
                              h.total, h.nightHours, h.overtimeHours, h.premium, h.restDayHours, h.over60Hours};
    const std::optional<qlonglong> row = headerRow(main, h.name, h.title);
    if (!row)
        return false;
    if (*row != kNoRow)
        return execBound(main, updateSql(tables::時給ヘッダ, columns, QStringLiteral("where rowid = ?")),
                         values + QVariantList{*row});
    return insertRow(main, tables::時給ヘッダ, columns, values);
}

// Replaces the pair's lines by the ones given (the values of columns::line
// each), numbered 1, 2, 3 … in the order given.
bool writeGivenLines(const QSqlDatabase &main, const Header &h, const QList<QVariantList> &lines)
{
    if (!execBound(main, QStringLiteral("delete from 時給明細 ") + kOfThePair, {h.name, h.title}))
        return false;
    Query insert(main);
    if (!insert.prepare(insertSql(tables::時給明細, tables::時給明細.columns)))
        return false;
    int number = 1;
    for (const QVariantList &line : lines) {
        if (!insert.runPrepared(QVariantList{h.name, h.title, number} + line))
            return false;
        ++number;
    }
    return true;
}

// A statement saved without the page (made from punches, say) is paid as
// the page would pay it: its pay worked out from its lines and stored with
// them, so that no pay of lines it replaced stays behind.
bool writeComputedPay(const QSqlDatabase &main, const StatementToStore &statement, const settings::PaySettings &rules)
{
    QList<ItemLine> lines;
    for (const QVariantList &line : statement.lines)
        lines << itemLineOf(line);
    const std::optional<PayItems> items = payItems(lines, rules);
    if (!items)
        return false;
    const auto computed = computePayOf(main, statement.header.name, *items, std::nullopt, 0, {});
    if (!computed)
        return false;
    QSqlDatabase db = main;
    return writeStatementPay(db, fromComputed(statement.header.name, statement.header.title, computed->input,
                                              computed->result, computed->employmentRate));
}

bool writePay(const QSqlDatabase &main, const StatementToStore &statement,
              const std::optional<settings::PaySettings> &rules)
{
    const Header &h = statement.header;
    if (statement.payFromLines)
        return rules && writeComputedPay(main, statement, *rules);
    if (!statement.pay)
        return removeStatementPay(main, h.name, h.title);
    StatementPay stored = *statement.pay;
    stored.name = h.name;
    stored.title = h.title;
    QSqlDatabase db = main;
    return writeStatementPay(db, stored);
}

bool writeEmployee(const QSqlDatabase &main, const QString &name, const EmployeeUpdate &update)
{
    switch (update.kind) {
    case EmployeeUpdate::Kind::None:
        return true;
    case EmployeeUpdate::Kind::Wage:
        return employees::setWage(main, name, update.wage);
    case EmployeeUpdate::Kind::Add:
        break;
    }
    return employees::addForStatement(main, name, update.wage, update.patternType, update.times);
}

QStringList datesOf(const QList<QVariantList> &lines)
{
    QStringList dates;
    for (const QVariantList &line : lines)
        if (!line.value(0).isNull() && !line.value(0).toString().isEmpty())
            dates << line.value(0).toString();
    return dates;
}

} // namespace

std::optional<QList<QVariantList>> completeLines(const QSqlDatabase &work, LineOrder order)
{
    Query lines(work);
    // Only complete lines are stored: those with a date and an amount.
    if (!lines.run(selectSql(tables::w明細, columns::line,
                             QStringLiteral("where 日付 is not null and 金額 is not null order by ")
                                 + (order == LineOrder::ByDate ? QStringLiteral("日付, 行番号")
                                                               : QStringLiteral("行番号")))))
        return std::nullopt;
    QList<QVariantList> complete;
    while (lines.next())
        complete << lines.values(columns::line.size());
    if (lines.failed())
        return std::nullopt;
    return complete;
}

SaveResult save(const QSqlDatabase &main, const QList<StatementToStore> &statements,
                const std::function<bool()> &alsoWrite)
{
    const SaveResult failed{Refusal::Failed, {}, {}, {}, {}, {}};
    Transaction transaction(main, Transaction::Lock::Writing);
    if (!transaction.started())
        return failed;
    const bool anyComputed = std::any_of(statements.cbegin(), statements.cend(),
                                         [](const StatementToStore &s) { return s.payFromLines; });
    const std::optional<settings::PaySettings> rules =
        anyComputed ? settings::load(main) : std::optional<settings::PaySettings>();
    if (anyComputed && !rules)
        return failed;
    for (const StatementToStore &statement : statements) {
        const Header &h = statement.header;
        const SaveResult check = checkWritable(main, h.name, h.title, datesOf(statement.lines), statement.expected);
        if (!check.ok())
            return check;
        if (!writeEmployee(main, h.name, statement.employee) || !writeHeader(main, h)
            || !writeGivenLines(main, h, statement.lines) || !writePay(main, statement, rules))
            return failed;
    }
    if (alsoWrite && !alsoWrite())
        return failed;
    return transaction.commit() ? SaveResult{} : failed;
}

QList<premium::DayLine> earlierLines(const QSqlDatabase &main, const QString &name, const QString &title,
                                     const QList<premium::DayLine> &lines, Qt::DayOfWeek weekStart)
{
    // The weeks the statement's lines lie in, from the first one's start.
    std::optional<QDate> first, last;
    for (const premium::DayLine &line : lines) {
        if (worktime::isEmptyValue(line.date))
            continue;
        const auto date = worktime::dateOfEntry(line.date.toString());
        if (!date)
            continue;
        first = first ? std::min(*first, *date) : *date;
        last = last ? std::max(*last, *date) : *date;
    }
    if (!first || name.isEmpty())
        return {};
    // From the day before the first week: a shift of that day running past
    // midnight out of the rest day counts its later hours in the week.
    const QDate start = first->addDays(-((first->dayOfWeek() - int(weekStart) + 7) % 7) - 1);
    const auto stored = linesOfOtherStatements(main, name, title, start.toString(QStringLiteral("yyyyMMdd")),
                                               last->toString(QStringLiteral("yyyyMMdd")));
    QList<premium::DayLine> earlier;
    if (!stored)
        return earlier;
    for (const QVariantList &line : *stored)
        earlier << premium::DayLine{0, line.at(0), line.at(1), line.at(2), line.at(3), line.at(4), {}, {}};
    return earlier;
}

std::optional<Header> readHeader(const QSqlDatabase &main, const QString &name, const QString &title, bool *readFailed)
{
    Query query(main);
    const bool found = query.run(selectSql(tables::時給ヘッダ, tables::時給ヘッダ.columns.mid(2),
                                           kOfThePair + QStringLiteral(" order by rowid limit 1")),
                                 {name, title})
        && query.next();
    if (readFailed)
        *readFailed = query.failed();
    if (!found)
        return std::nullopt;
    return Header{name,           title,          query.value(0).toString(),
                  query.value(1), query.value(2), query.value(3),
                  query.value(4), query.value(5), query.value(6),
                  query.value(7), query.value(8), query.value(9),
                  query.value(10)};
}

bool loadLines(const QSqlDatabase &main, const QSqlDatabase &work, const QString &name, const QString &title)
{
    Query stored(main);
    if (!stored.run(selectSql(tables::時給明細, columns::line, kOfThePair + QStringLiteral(" order by 行番号")),
                    {name, title}))
        return false;
    QList<QVariantList> lines;
    while (lines.size() < statements::kStatementLines && stored.next())
        lines << stored.values(columns::line.size());
    // A read that stops on an error is a failed read, not a short one: half
    // a statement must never pass for all of it.
    if (stored.failed())
        return false;
    return holdRows(work, statements::linesOnPage(lines));
}

bool remove(const QSqlDatabase &main, const QString &name, const QString &title)
{
    Transaction transaction(main);
    return transaction.started()
        && execBound(main, QStringLiteral("delete from 時給ヘッダ ") + kOfThePair, {name, title})
        && execBound(main, QStringLiteral("delete from 時給明細 ") + kOfThePair, {name, title})
        && removeStatementPay(main, name, title) && transaction.commit();
}

bool removeEverything(const QSqlDatabase &main)
{
    Transaction transaction(main);
    if (!transaction.started())
        return false;
    for (const Table *table : tables::ofMainFile())
        if (table != &tables::設定 && !execBound(main, QStringLiteral("delete from ") + columnList({table->name})))
            return false;
    return transaction.commit();
}

bool clearHistory(const QSqlDatabase &work)
{
    // An empty list is not emptied again: that would still be a write.
    return holdRows(work, {&tables::w履歴, {}});
}

bool fillHistory(const QSqlDatabase &main, const QSqlDatabase &work)
{
    // The list grows with every statement ever saved: it is copied by one
    // INSERT … SELECT from the attached main file, not row by row through
    // the program.
    const QStringList &columns = tables::w履歴.columns;
    const AttachedMainFile saved(main, work);
    if (!saved.ok())
        return false;
    Transaction transaction(work);
    if (!transaction.started() || !execBound(work, QStringLiteral("delete from w履歴")))
        return false;
    if (!execBound(work,
                   QStringLiteral("insert into w履歴 (%1) select %1 from saved.時給ヘッダ order by 氏名, rowid")
                       .arg(columnList(columns)))) {
        // The work file was written a moment ago: a file held here is the
        // main file the rows come from.
        blameHeldMainFile(main, work);
        return false;
    }
    return transaction.commit();
}

std::optional<QList<QVariantList>> linesOfOtherStatements(const QSqlDatabase &main, const QString &name,
                                                          const QString &title, const QString &from, const QString &to)
{
    Query query(main);
    if (!query.run(QStringLiteral("select 日付, 開始時間, 終了時間, 休憩, 時間 from 時給明細"
                                  " where 氏名 = ? and タイトル <> ? and 日付 between ? and ? order by 日付, 開始時間"),
                   {name, title, from, to}))
        return std::nullopt;
    QList<QVariantList> lines;
    while (query.next())
        lines << query.values(5);
    if (query.failed())
        return std::nullopt;
    return lines;
}

std::optional<double> storedOvertime(const QSqlDatabase &main, const QString &name, const QString &exceptTitle,
                                     const QString &from, const QString &to)
{
    Query query(main);
    const QVariant hours = query.single(
        QStringLiteral("select total(時間外) + total(休日) from 時給明細"
                       " where 氏名 = ? and (coalesce(?, '') = '' or タイトル <> ?) and 日付 between ? and ?"),
        {name, exceptTitle, exceptTitle, from, to});
    if (!hours.isValid())
        return std::nullopt;
    return hours.toDouble();
}

QStringList storedNames(const QSqlDatabase &main)
{
    QStringList names;
    Query query(main);
    if (query.run(QStringLiteral("select distinct 氏名 from 時給ヘッダ where 氏名 is not null order by 氏名")))
        while (query.next())
            names << query.value(0).toString();
    return names;
}

QStringList storedTitles(const QSqlDatabase &main, const QString &name)
{
    QStringList titles;
    Query query(main);
    if (query.run(
            QStringLiteral("select タイトル from 時給ヘッダ where 氏名 = ? and タイトル is not null order by rowid"),
            {name}))
        while (query.next())
            titles << query.value(0).toString();
    return titles;
}

// How far from a statement's span the lines of another statement around it
// are looked for.
constexpr int kNearDays = 62;

std::optional<QList<Overlap>> overlappingStatements(const QSqlDatabase &main, const QSqlDatabase &work,
                                                    const QString &name, const QString &title)
{
    Query span(work);
    if (!span.run(QStringLiteral("select min(日付), max(日付) from w明細 where 日付 is not null and 金額 is not null"))
        || !span.next())
        return std::nullopt;
    QList<Overlap> found;
    if (span.value(0).isNull())
        return found; // no line to pay, nothing paid twice
    Query stored(main);
    // The titles with a line near the span (kNearDays either side) are found
    // by name and date, so that the read stays as small as the statement
    // however many are stored; their own first and last dates by name and
    // title. A statement around the span with no line that near (a gap of
    // months in its lines) is not named.
    const QDate first = QDate::fromString(span.value(0).toString(), QStringLiteral("yyyyMMdd"));
    const QDate last = QDate::fromString(span.value(1).toString(), QStringLiteral("yyyyMMdd"));
    const QString from = first.isValid() ? first.addDays(-kNearDays).toString(QStringLiteral("yyyyMMdd")) : QString();
    const QString to = last.isValid() ? last.addDays(kNearDays).toString(QStringLiteral("yyyyMMdd")) : QStringLiteral("9");
    if (!stored.run(QStringLiteral("select タイトル, min(日付), max(日付) from 時給明細"
                                   " where 氏名 = ? and 日付 is not null and タイトル in (select タイトル from 時給明細"
                                   " where 氏名 = ? and 日付 between ? and ? and タイトル is not ?)"
                                   " group by タイトル having min(日付) <= ? and max(日付) >= ?"
                                   " order by min(日付), タイトル"),
                    {name, name, from, to, title, span.value(1), span.value(0)}))
        return std::nullopt;
    while (stored.next())
        found << Overlap{stored.value(0).toString(), stored.value(1).toString(), stored.value(2).toString()};
    if (stored.failed())
        return std::nullopt;
    return found;
}

} // namespace pelmar::statements
