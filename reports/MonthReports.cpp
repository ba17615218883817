#include "reports/MonthReports.h"

#include "calc/Formats.h"
#include "calc/Premium.h"
#include "payroll/MonthClose.h"
#include "store/Query.h"
#include "store/Tables.h"

#include <QSet>

namespace pelmar::reports {

namespace {

// The employee's number in the master; the smallest when a name is listed twice.
const QString kEmployeeNo = QStringLiteral("(select min(e.\"No\") from 従業員 e where e.氏名 = h.氏名)");

// The statement's lines, for the header h.
QString ofItsLines(const QString &what)
{
    return QStringLiteral("(select %1 from 時給明細 l where l.氏名 = h.氏名 and l.タイトル = h.タイトル)").arg(what);
}

QString dateText(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

std::optional<QList<DayLine>> linesOf(const QSqlDatabase &main, const QString &name, const QString &title)
{
    Query query(main);
    if (!query.run(selectSql(tables::時給明細, columns::line,
                             QStringLiteral("where 氏名 = ? and タイトル = ? order by 行番号")),
                   {name, title}))
        return std::nullopt;
    QList<DayLine> lines;
    while (query.next()) {
        // In the order of columns::line.
        lines << DayLine{dateText(query.value(0)), dateText(query.value(1)), dateText(query.value(2)), query.value(3),
                         query.value(4),           query.value(5),           query.value(6),           query.value(7),
                         query.value(8),           query.value(9),           query.value(10),          query.value(11)};
    }
    if (query.failed())
        return std::nullopt;
    return lines;
}

void addTo(SummaryRow &totals, const SummaryRow &row)
{
    totals.days += row.days;
    totals.hours += row.hours;
    totals.nightHours += row.nightHours;
    totals.overtimeHours += row.overtimeHours;
    totals.restDayHours += row.restDayHours;
    totals.over60Hours += row.over60Hours;
    totals.adjustment += row.adjustment;
    totals.amount += row.amount;
}

void addTo(LedgerRow &totals, const LedgerRow &row)
{
    totals.days += row.days;
    totals.hours += row.hours;
    totals.overtimeHours += row.overtimeHours;
    totals.nightHours += row.nightHours;
    totals.restDayHours += row.restDayHours;
    totals.basePay += row.basePay;
    totals.premiumPay += row.premiumPay;
    totals.adjustment += row.adjustment;
    totals.amount += row.amount;
}

QString wageText(const QVariant &wage)
{
    double value = 0;
    return fmt::toNumber(wage, &value) ? csv::number(value) : QString();
}

} // namespace

double amountOf(const QVariant &value)
{
    double number = 0;
    return fmt::toNumber(value, &number) ? number : 0;
}

std::optional<QStringList> storedTitles(const QSqlDatabase &main)
{
    // The statements of one title cover the same period, so the title's
    // latest save stands for it: one statement's lines a title instead of
    // every line stored, which keeps the page quick with years of data.
    return Query(main).texts(QStringLiteral("select t.タイトル, (select max(l.日付) from 時給明細 l join 時給ヘッダ h"
                                  " on l.氏名 = h.氏名 and l.タイトル = h.タイトル where h.rowid = t.saved) as latest"
                                  " from (select タイトル, max(rowid) as saved from 時給ヘッダ group by タイトル) t"
                                  " order by latest is null, latest desc, t.saved desc"));
}

std::optional<QList<StoredStatement>> statementsOfTitle(const QSqlDatabase &main, const QString &title, bool withLines)
{
    QStringList header;
    for (const QString &column : tables::時給ヘッダ.columns)
        header << QStringLiteral("h.") + columnList({column});
    Query query(main);
    if (!query.run(QStringLiteral("select %1, %2 as no, %3, %4, %5 from 時給ヘッダ h where h.タイトル = ?"
                                  " order by no is null, no, h.氏名, h.rowid")
                       .arg(header.join(QStringLiteral(", ")), kEmployeeNo,
                            ofItsLines(QStringLiteral("count(distinct l.日付)")),
                            ofItsLines(QStringLiteral("min(l.日付)")), ofItsLines(QStringLiteral("max(l.日付)"))),
                   {title}))
        return std::nullopt;
    QList<StoredStatement> statements;
    QSet<QString> seen;
    while (query.next()) {
        StoredStatement s;
        // In the order of the header's columns.
        s.header = {query.value(0).toString(),
                    query.value(1).toString(),
                    query.value(2).toString(),
                    query.value(3),
                    query.value(4),
                    query.value(5),
                    query.value(6),
                    query.value(7),
                    query.value(8),
                    query.value(9),
                    query.value(10),
                    query.value(11),
                    query.value(12)};
        // A pair saved twice by an older program: the first header is the
        // statement, as reopening takes it.
        if (seen.contains(s.header.name))
            continue;
        seen.insert(s.header.name);
        const int after = int(tables::時給ヘッダ.columns.size());
        s.employeeNo = query.value(after);
        s.days = query.value(after + 1).toInt();
        s.firstDate = dateText(query.value(after + 2));
        s.lastDate = dateText(query.value(after + 3));
        statements << s;
    }
    if (query.failed())
        return std::nullopt;
    if (withLines) {
        for (StoredStatement &s : statements) {
            const std::optional<QList<DayLine>> lines = linesOf(main, s.header.name, s.header.title);
            if (!lines)
                return std::nullopt;
            s.lines = *lines;
        }
    }
    return statements;
}

std::optional<QStringList> missingEmployees(const QSqlDatabase &main, const QString &title)
{
    // A name is missing only when no statement under the title carries it
    // exactly, as reopening and saving address a statement.
    return Query(main).texts(
            QStringLiteral("select e.氏名 from 従業員 e where e.氏名 is not null and e.氏名 <> ''"
                           " and not exists (select 1 from 時給ヘッダ h where h.氏名 = e.氏名 and h.タイトル = ?)"
                           " group by e.氏名 order by min(e.\"No\") is null, min(e.\"No\"), e.氏名"),
            {title});
}

Summary summaryOf(const QString &title, const QList<StoredStatement> &statements)
{
    Summary summary;
    summary.title = title;
    summary.totals.name = QStringLiteral("合計");
    for (const StoredStatement &s : statements) {
        SummaryRow row;
        row.name = s.header.name;
        row.days = s.days;
        row.hours = amountOf(s.header.hours);
        row.nightHours = amountOf(s.header.nightHours);
        row.overtimeHours = amountOf(s.header.overtimeHours);
        row.restDayHours = amountOf(s.header.restDayHours);
        row.over60Hours = amountOf(s.header.over60Hours);
        if (row.overtimeHours + row.restDayHours > premium::kMonthOvertimeLimit)
            row.limits << kMonthLimitMark;
        row.wage = s.header.wage;
        row.adjustment = amountOf(s.header.adjustment);
        row.amount = amountOf(s.header.total);
        summary.rows << row;
        addTo(summary.totals, row);
    }
    return summary;
}

std::optional<Summary> monthSummary(const QSqlDatabase &main, const QString &title)
{
    const std::optional<QList<StoredStatement>> statements = statementsOfTitle(main, title, false);
    if (!statements)
        return std::nullopt;
    Summary summary = summaryOf(title, *statements);
    for (int i = 0; i < statements->size(); ++i) {
        const StoredStatement &s = statements->at(i);
        if (s.lastDate.size() != 8)
            continue;
        const std::optional<double> year = statements::storedOvertime(
            main, s.header.name, QString(), s.lastDate.left(4) + QStringLiteral("0101"), s.lastDate);
        if (!year)
            return std::nullopt;
        if (*year > premium::kYearOvertimeLimit)
            summary.rows[i].limits << kYearLimitMark;
    }
    const std::optional<closing::State> state = closing::stateOf(main, title);
    if (!state)
        return std::nullopt;
    if (state->closed())
        summary.closedMark = closing::closedMark(state->closedAt());
    const std::optional<QStringList> missing = missingEmployees(main, title);
    if (!missing)
        return std::nullopt;
    summary.missing = *missing;
    return summary;
}

QList<csv::Record> summaryRecords(const Summary &summary)
{
    QList<csv::Record> records{
        QStringLiteral("氏名 労働日数 労働時間 深夜時間 時間外時間 時給 調整額 支給額 休日労働時間 "
                       "60時間超時間外 時間外上限")
            .split(u' ')};
    const auto record = [](const SummaryRow &row) {
        return csv::Record{csv::text(row.name),
                           QString::number(row.days),
                           csv::number(row.hours),
                           csv::number(row.nightHours),
                           csv::number(row.overtimeHours),
                           wageText(row.wage),
                           csv::number(row.adjustment),
                           csv::number(row.amount),
                           csv::number(row.restDayHours),
                           csv::number(row.over60Hours),
                           csv::text(row.limits.join(u' '))};
    };
    for (const SummaryRow &row : summary.rows)
        records << record(row);
    records << record(summary.totals);
    // Below the table, as on paper: the state of the month, then who has no
    // statement, one a record, so that a spreadsheet's sum of the rows above
    // the totals never takes them in.
    if (!summary.closedMark.isEmpty())
        records << csv::Record{csv::text(summary.closedMark)};
    if (!summary.missing.isEmpty()) {
        records << csv::Record{csv::text(kMissingCaption)};
        for (const QString &name : summary.missing)
            records << csv::Record{csv::text(name)};
    }
    return records;
}

std::optional<QStringList> ledgerNames(const QSqlDatabase &main)
{
    return Query(main).texts(QStringLiteral("select h.氏名, %1 as no from 時給ヘッダ h group by h.氏名"
                                  " order by no is null, no, h.氏名")
                       .arg(kEmployeeNo));
}

namespace {

// The employee's statements with lines: title, first and last date, days.
const QString kSpans = QStringLiteral("(select タイトル, min(日付) as first, max(日付) as last,"
                                      " count(distinct 日付) as days from 時給明細 where 氏名 = ? group by タイトル)");

} // namespace

std::optional<QList<int>> yearsRead(Query &query)
{
    QList<int> years;
    while (query.next()) {
        bool ok = false;
        const int year = query.value(0).toString().toInt(&ok);
        if (ok)
            years << year;
    }
    // Rows that stop half-way are a failed read, not fewer years.
    if (query.failed())
        return std::nullopt;
    return years;
}

std::optional<QList<int>> ledgerYears(const QSqlDatabase &main, const QString &name)
{
    Query query(main);
    if (!query.run(
            QStringLiteral("select distinct substr(s.first, 1, 4) as year from %1 s"
                           " where exists (select 1 from 時給ヘッダ h where h.氏名 = ? and h.タイトル = s.タイトル)"
                           " order by year desc")
                .arg(kSpans),
            {name, name}))
        return std::nullopt;
    return yearsRead(query);
}

std::optional<Ledger> wageLedger(const QSqlDatabase &main, const QString &name, int year)
{
    Query query(main);
    if (!query.run(
            QStringLiteral("select h.タイトル, h.調整額, h.時間, h.合計, h.深夜, h.時間外, h.割増額,"
                           " s.first, s.last, s.days, h.休日 from 時給ヘッダ h join %1 s on s.タイトル = h.タイトル"
                           " where h.氏名 = ? and substr(s.first, 1, 4) = ?"
                           " order by s.first, h.タイトル, h.rowid")
                .arg(kSpans),
            {name, name, QStringLiteral("%1").arg(year, 4, 10, QLatin1Char('0'))}))
        return std::nullopt;
    Ledger ledger;
    ledger.name = name;
    ledger.year = year;
    ledger.totals.title = QStringLiteral("合計");
    QSet<QString> seen;
    while (query.next()) {
        LedgerRow row;
        row.title = query.value(0).toString();
        if (seen.contains(row.title))
            continue;
        seen.insert(row.title);
        row.adjustment = amountOf(query.value(1));
        row.hours = amountOf(query.value(2));
        row.amount = amountOf(query.value(3));
        row.nightHours = amountOf(query.value(4));
        row.overtimeHours = amountOf(query.value(5));
        row.premiumPay = amountOf(query.value(6));
        row.basePay = row.amount - row.premiumPay - row.adjustment;
        row.firstDate = dateText(query.value(7));
        row.lastDate = dateText(query.value(8));
        row.days = query.value(9).toInt();
        row.restDayHours = amountOf(query.value(10));
        ledger.rows << row;
        addTo(ledger.totals, row);
    }
    if (query.failed())
        return std::nullopt;
    return ledger;
}

QList<csv::Record> ledgerRecords(const Ledger &ledger)
{
    QList<csv::Record> records{QStringLiteral("氏名 タイトル 初日 最終日 労働日数 労働時間 時間外労働時間 "
                                              "深夜労働時間 基本給 割増賃金 調整額 支給額 休日労働時間")
                                   .split(u' ')};
    for (const LedgerRow &row : ledger.rows)
        records << csv::Record{csv::text(ledger.name),
                               csv::text(row.title),
                               csv::text(fmt::formatDateText(row.firstDate)),
                               csv::text(fmt::formatDateText(row.lastDate)),
                               QString::number(row.days),
                               csv::number(row.hours),
                               csv::number(row.overtimeHours),
                               csv::number(row.nightHours),
                               csv::number(row.basePay),
                               csv::number(row.premiumPay),
                               csv::number(row.adjustment),
                               csv::number(row.amount),
                               csv::number(row.restDayHours)};
    return records;
}

} // namespace pelmar::reports
