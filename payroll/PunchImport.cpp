#include "payroll/PunchImport.h"

#include "calc/Formats.h"
#include "calc/TypedText.h"
#include "calc/WorkTime.h"
#include "payroll/DetailLines.h"

#include <algorithm>

namespace pelmar::punch {

namespace {

constexpr int kMinutesPerDay = 24 * 60;

// A column name as it is compared: cleaned, and without the spaces a
// recorder puts between the characters of 氏 名.
QString squashed(const QString &text)
{
    QString kept;
    for (const QChar c : typed::cleaned(text))
        if (!c.isSpace())
            kept += c;
    return kept;
}

enum class Role { None, Name, Number, Date, Start, End, Break };

Role roleOf(const QString &columnName)
{
    static const QHash<QString, Role> names = {
        {QStringLiteral("氏名"), Role::Name},           {QStringLiteral("名前"), Role::Name},
        {QStringLiteral("従業員名"), Role::Name},       {QStringLiteral("社員名"), Role::Name},
        {QStringLiteral("従業員番号"), Role::Number},   {QStringLiteral("社員番号"), Role::Number},
        {QStringLiteral("従業員コード"), Role::Number}, {QStringLiteral("社員コード"), Role::Number},
        {QStringLiteral("日付"), Role::Date},           {QStringLiteral("勤務日"), Role::Date},
        {QStringLiteral("年月日"), Role::Date},         {QStringLiteral("出勤"), Role::Start},
        {QStringLiteral("出勤時刻"), Role::Start},      {QStringLiteral("出勤時間"), Role::Start},
        {QStringLiteral("開始時間"), Role::Start},      {QStringLiteral("退勤"), Role::End},
        {QStringLiteral("退勤時刻"), Role::End},        {QStringLiteral("退勤時間"), Role::End},
        {QStringLiteral("終了時間"), Role::End},        {QStringLiteral("休憩"), Role::Break},
        {QStringLiteral("休憩時間"), Role::Break},
    };
    return names.value(squashed(columnName), Role::None);
}

const char *unitName(BreakUnit unit)
{
    switch (unit) {
    case BreakUnit::Minutes:
        return "minutes";
    case BreakUnit::Hours:
        return "hours";
    case BreakUnit::Auto:
        break;
    }
    return "auto";
}

// An employee number as compared: digits in ASCII, leading zeros dropped
// (007 is 7); other numbers as they look.
QString numberKey(const QString &text)
{
    QString key = fmt::asciiDigits(typed::cleaned(text));
    const bool digits =
        !key.isEmpty() && std::all_of(key.cbegin(), key.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (digits) {
        while (key.size() > 1 && key.startsWith(u'0'))
            key.remove(0, 1);
    }
    return key;
}

struct Found {
    Problem problem = Problem::None;
    QString name;
};

Found oneOf(const QStringList &names)
{
    if (names.size() == 1)
        return {Problem::None, names.first()};
    return {names.isEmpty() ? Problem::UnknownEmployee : Problem::AmbiguousEmployee, {}};
}

// The employees by each key a cell may name them by, built once for the
// file: a row costs a look-up, not a pass over the master.
struct EmployeeIndex {
    QSet<QString> names; // as stored
    QHash<QString, QStringList> byCleaned, bySquashed, byNumber; // in master order

    explicit EmployeeIndex(const QList<Employee> &employees)
    {
        for (const Employee &employee : employees) {
            names.insert(employee.name);
            byCleaned[typed::cleaned(employee.name)] << employee.name;
            bySquashed[squashed(employee.name)] << employee.name;
            if (!employee.number.isEmpty())
                byNumber[numberKey(employee.number)] << employee.name;
        }
    }
};

// The registered employee a cell names: by number, or by name as it looks
// (typed-text cleaning), and failing that by name with the spaces inside
// left out, as one system writes 山田 太郎 and another 山田太郎, as long as
// that fits only one employee.
Found findEmployee(const QString &cell, bool byNumber, const EmployeeIndex &employees)
{
    if (byNumber)
        return oneOf(employees.byNumber.value(numberKey(cell)));
    if (employees.names.contains(cell))
        return {Problem::None, cell};
    if (const QStringList fits = employees.byCleaned.value(typed::cleaned(cell)); !fits.isEmpty())
        return oneOf(fits);
    return oneOf(employees.bySquashed.value(squashed(cell)));
}

QString hhmm(int minutes)
{
    return QStringLiteral("%1%2").arg(minutes / 60, 2, 10, QLatin1Char('0')).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

// A cell as a reason quotes it: cleaned, and cut short when long.
QString quoted(const QString &cell)
{
    QString text = typed::cleaned(cell);
    if (text.size() > 20)
        text = text.left(20) + u'…';
    return u'「' + text + u'」';
}

// Marks the row as not taken; false, for the reading steps to stop on.
bool refuse(PunchRow &row, Problem problem, const QString &reason)
{
    row.problem = problem;
    row.reason = reason;
    return false;
}

// The cell of a column, empty for a column the file does not have.
QString cellOf(const PunchRow &row, int column)
{
    return column >= 0 ? row.fields.value(column) : QString();
}

bool readWho(PunchRow &row, const ColumnMapping &mapping, const EmployeeIndex &employees)
{
    const QString who = cellOf(row, mapping.employee);
    const QString whoWord = mapping.employeeByNumber ? QStringLiteral("従業員番号") : QStringLiteral("氏名");
    if (typed::cleaned(who).isEmpty())
        return refuse(row, Problem::NoEmployee, whoWord + QStringLiteral("がありません。"));
    const Found found = findEmployee(who, mapping.employeeByNumber, employees);
    if (found.problem == Problem::UnknownEmployee)
        return refuse(row, found.problem,
                      whoWord + quoted(who)
                          + QStringLiteral("の従業員は登録されていません。従業員の登録を確かめて"
                                           "ください。"));
    if (found.problem == Problem::AmbiguousEmployee)
        return refuse(row, found.problem,
                      whoWord + quoted(who) + QStringLiteral("に当たる従業員が複数登録されています。"));
    row.employee = found.name;
    return true;
}

bool readWorkDate(PunchRow &row, const ColumnMapping &mapping, const ImportContext &context)
{
    const QString dateCell = cellOf(row, mapping.date);
    const auto date = readDate(dateCell, context.yearWhenNone);
    if (!date)
        return refuse(row, Problem::UnreadableDate,
                      QStringLiteral("日付%1が読めません。2026/11/05 のように書いてください。").arg(quoted(dateCell)));
    row.date = date->toString(QStringLiteral("yyyyMMdd"));
    return true;
}

bool readShift(PunchRow &row, const ColumnMapping &mapping)
{
    const QString startCell = cellOf(row, mapping.start);
    const QString endCell = cellOf(row, mapping.end);
    if (typed::cleaned(startCell).isEmpty())
        return refuse(row, Problem::MissingTime, QStringLiteral("出勤の時刻がありません（打刻漏れ）。"));
    if (typed::cleaned(endCell).isEmpty())
        return refuse(row, Problem::MissingTime, QStringLiteral("退勤の時刻がありません（打刻漏れ）。"));
    const auto from = readClock(startCell);
    if (!from)
        return refuse(
            row, Problem::UnreadableTime,
            QStringLiteral("出勤%1が時刻として読めません。9:00 のように書いてください。").arg(quoted(startCell)));
    const auto to = readClock(endCell);
    if (!to)
        return refuse(
            row, Problem::UnreadableTime,
            QStringLiteral("退勤%1が時刻として読めません。18:00 のように書いてください。").arg(quoted(endCell)));
    if (*from >= kMinutesPerDay)
        return refuse(row, Problem::StartAfterMidnight,
                      QStringLiteral("出勤%1が24時以降です。出勤した日の日付で、24時より前の時刻で書いてください。")
                          .arg(quoted(startCell)));
    if (*to == *from)
        return refuse(row, Problem::EmptyShift, QStringLiteral("出勤と退勤が同じ時刻です。"));
    // An end at 24:00 or later, or before the start, is on the next day.
    const int endOnTheStartDay = *to >= kMinutesPerDay || *to > *from ? *to : *to + kMinutesPerDay;
    if (endOnTheStartDay - *from >= kMinutesPerDay)
        return refuse(row, Problem::LongShift, QStringLiteral("出勤から退勤まで24時間以上あります。"));
    row.start = hhmm(*from);
    // 24:00 keeps its own text, as the statement page takes it; later ends
    // are written as the time of the next morning.
    row.end = *to == kMinutesPerDay ? QStringLiteral("2400") : hhmm(*to % kMinutesPerDay);
    return true;
}

bool readRest(PunchRow &row, const ColumnMapping &mapping)
{
    const QString breakCell = cellOf(row, mapping.breakColumn);
    const BreakReading rest = readBreak(breakCell, mapping.breakUnit);
    if (rest.outcome == BreakReading::Unreadable)
        return refuse(
            row, Problem::UnreadableBreak,
            QStringLiteral("休憩%1が読めません。1:00（1時間）、45（分）、0.75（時間）のように書いてください。")
                .arg(quoted(breakCell)));
    if (rest.outcome == BreakReading::UnitUnknown) {
        const QString n = typed::cleaned(breakCell);
        return refuse(row, Problem::BreakUnitUnknown,
                      QStringLiteral("休憩%1が%2時間か%2分か分かりません。時間なら %2:00、分なら %2分 のように書くか、"
                                     "休憩の単位を選んでください。")
                          .arg(quoted(breakCell), n));
    }
    if (!typed::cleaned(breakCell).isEmpty())
        row.breakHours = rest.hours;
    if (!worktime::breakFits(row.start, row.end, row.breakHours))
        return refuse(row, Problem::BreakTooLong,
                      QStringLiteral("休憩%1が出勤から退勤までの時間と同じか、それより長くなっています。")
                          .arg(quoted(breakCell)));
    return true;
}

// The row read on its own, without looking at the other rows; the first
// thing wrong is the reason given.
void readRow(PunchRow &row, const ColumnMapping &mapping, const ImportContext &context, const EmployeeIndex &employees)
{
    if (!readWho(row, mapping, employees) || !readWorkDate(row, mapping, context) || !readShift(row, mapping)
        || !readRest(row, mapping))
        return;
    if (const auto worked = worktime::durationHours(row.start, row.end, row.breakHours))
        row.hours = *worked;
}

// Minutes from a fixed day to the row's start and end, for comparing shifts
// across midnight.
struct Span {
    qint64 from = 0;
    qint64 to = 0;
    int index = 0;
};

Span spanOf(const PunchRow &row, int index)
{
    const qint64 day = QDate::fromString(row.date, QStringLiteral("yyyyMMdd")).toJulianDay() * kMinutesPerDay;
    const int from = *worktime::minutesOf(row.start);
    int to = *worktime::minutesOf(row.end);
    if (to <= from)
        to += kMinutesPerDay;
    return {day + from, day + to, index};
}

} // namespace

// Sorted by start, a shift overlaps a later one
// exactly when the next one starts before it ends, and an earlier one
// exactly when the latest end so far is after its start: one pass, so a
// file of many identical rows costs no more than any other file.
void refuseOverlaps(QList<PunchRow> &rows)
{
    QHash<QString, QList<Span>> byEmployee;
    for (int i = 0; i < rows.size(); ++i)
        if (rows.at(i).isTaken())
            byEmployee[rows.at(i).employee] << spanOf(rows.at(i), i);
    QList<QPair<int, int>> overlaps; // a row and the row it is refused for
    for (QList<Span> &spans : byEmployee) {
        std::stable_sort(spans.begin(), spans.end(), [](const Span &a, const Span &b) { return a.from < b.from; });
        int latest = -1; // the earlier span that ends last
        for (int i = 0; i < spans.size(); ++i) {
            const Span &span = spans.at(i);
            if (latest >= 0 && spans.at(latest).to > span.from)
                overlaps << qMakePair(span.index, spans.at(latest).index);
            else if (i + 1 < spans.size() && spans.at(i + 1).from < span.to)
                overlaps << qMakePair(span.index, spans.at(i + 1).index);
            if (latest < 0 || span.to > spans.at(latest).to)
                latest = i;
        }
    }
    for (const auto &[self, other] : std::as_const(overlaps))
        refuse(rows[self], Problem::Overlap,
               QStringLiteral("%1行目の勤務と時間が重なっています。").arg(rows.at(other).line));
}

namespace {

// One statement holds kStatementLines lines: an employee with more rows
// taken has them all refused rather than some left off.
void refuseOverflow(QList<PunchRow> &rows)
{
    QHash<QString, int> taken;
    for (const PunchRow &row : rows)
        if (row.isTaken())
            ++taken[row.employee];
    for (PunchRow &row : rows) {
        const int count = taken.value(row.employee);
        if (row.isTaken() && count > statements::kStatementLines)
            refuse(row, Problem::TooManyLines,
                   QStringLiteral("この従業員の勤務が%1行あり、1枚の明細に入る%2行を超えています。"
                                  "期間を分けて取り込んでください。")
                       .arg(count)
                       .arg(statements::kStatementLines));
    }
}

} // namespace

bool ColumnMapping::isComplete() const
{
    QList<int> used = {employee, date, start, end};
    if (breakColumn >= 0)
        used << breakColumn;
    if (std::any_of(used.cbegin(), used.cend(), [](int column) { return column < 0; }))
        return false;
    std::sort(used.begin(), used.end());
    return std::adjacent_find(used.cbegin(), used.cend()) == used.cend();
}

QString ColumnMapping::toText() const
{
    QString text = QStringLiteral("%1=%2;date=%3;start=%4;end=%5")
                       .arg(employeeByNumber ? QStringLiteral("number") : QStringLiteral("name"))
                       .arg(employee)
                       .arg(date)
                       .arg(start)
                       .arg(end);
    if (breakColumn >= 0)
        text += QStringLiteral(";break=%1;unit=%2").arg(breakColumn).arg(QLatin1String(unitName(breakUnit)));
    return text + QStringLiteral(";header=%1").arg(firstRowIsHeader ? 1 : 0);
}

std::optional<ColumnMapping> ColumnMapping::fromText(const QString &text)
{
    ColumnMapping mapping;
    mapping.breakColumn = -1;
    QSet<QString> seen;
    for (const QString &item : text.split(u';')) {
        const QString key = item.section(u'=', 0, 0);
        const QString value = item.section(u'=', 1);
        if (!item.contains(u'=') || seen.contains(key))
            return std::nullopt;
        seen << key;
        bool ok = false;
        const int column = value.toInt(&ok);
        if (key == u"unit") {
            const QList<BreakUnit> units = {BreakUnit::Auto, BreakUnit::Minutes, BreakUnit::Hours};
            const auto unit = std::find_if(units.cbegin(), units.cend(),
                                           [&](BreakUnit u) { return value == QLatin1String(unitName(u)); });
            if (unit == units.cend())
                return std::nullopt;
            mapping.breakUnit = *unit;
            continue;
        }
        if (!ok || column < 0 || value != QString::number(column))
            return std::nullopt;
        if (key == u"name" || key == u"number") {
            mapping.employee = column;
            mapping.employeeByNumber = key == u"number";
        } else if (key == u"date") {
            mapping.date = column;
        } else if (key == u"start") {
            mapping.start = column;
        } else if (key == u"end") {
            mapping.end = column;
        } else if (key == u"break") {
            mapping.breakColumn = column;
        } else if (key == u"header" && column <= 1) {
            mapping.firstRowIsHeader = column == 1;
        } else {
            return std::nullopt;
        }
    }
    if (seen.contains(QStringLiteral("name")) && seen.contains(QStringLiteral("number")))
        return std::nullopt;
    if (!mapping.isComplete())
        return std::nullopt;
    return mapping;
}

std::optional<ColumnMapping> recogniseHeader(const QStringList &header)
{
    QHash<Role, QList<int>> columns;
    for (int i = 0; i < header.size(); ++i)
        columns[roleOf(header.at(i))] << i;
    const auto only = [&columns](Role role) {
        return columns.value(role).size() == 1 ? columns.value(role).first() : -1;
    };
    for (Role role : {Role::Name, Role::Number, Role::Date, Role::Start, Role::End, Role::Break})
        if (columns.value(role).size() > 1)
            return std::nullopt;

    ColumnMapping mapping;
    mapping.employeeByNumber = only(Role::Name) < 0;
    mapping.employee = mapping.employeeByNumber ? only(Role::Number) : only(Role::Name);
    mapping.date = only(Role::Date);
    mapping.start = only(Role::Start);
    mapping.end = only(Role::End);
    mapping.breakColumn = only(Role::Break);
    if (!mapping.isComplete())
        return std::nullopt;
    return mapping;
}

QString headerKey(const QStringList &header)
{
    QStringList fields;
    for (const QString &name : header)
        fields << csv::field(typed::cleaned(name));
    return fields.join(u',');
}

QList<PunchRow> readPunches(const QList<csv::ReadRecord> &records, const ColumnMapping &mapping,
                            const ImportContext &context)
{
    QList<PunchRow> rows;
    const EmployeeIndex employees(context.employees);
    for (qsizetype i = mapping.firstRowIsHeader ? 1 : 0; i < records.size(); ++i) {
        const csv::ReadRecord &record = records.at(i);
        if (std::all_of(record.fields.cbegin(), record.fields.cend(),
                        [](const QString &field) { return typed::cleaned(field).isEmpty(); }))
            continue;
        PunchRow row;
        row.line = record.line;
        row.fields = record.fields;
        readRow(row, mapping, context, employees);
        if (row.isTaken() && context.storedDates.value(row.employee).contains(row.date))
            refuse(row, Problem::AlreadyStored,
                   QStringLiteral("%1 の勤務は、すでに登録された明細にあります。").arg(fmt::formatDateText(row.date)));
        rows << row;
    }
    refuseOverlaps(rows);
    refuseOverflow(rows);
    return rows;
}

PunchFile readPunchFile(const QByteArray &bytes, std::optional<csv::Encoding> encoding)
{
    const csv::DecodedText decoded = csv::decode(bytes, encoding.value_or(csv::guessEncoding(bytes)));
    PunchFile file;
    file.encoding = decoded.encoding;
    file.damagedText = decoded.damaged;
    file.read = csv::parse(decoded.text);
    // Excel's 「Unicode テキスト」 is UTF-16 with tabs between the cells:
    // not a CSV file, however its name ends.
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
        file.problem =
            QStringLiteral("このファイルは CSV ではなく Unicode テキストです。表計算ソフトで「CSV（コンマ区切り）」"
                           "として保存し直してください。");
    else if (file.read.unclosedQuoteLine > 0)
        file.problem = QStringLiteral("%1行目で始まる \" が閉じられていないため、ファイルの終わりまでが一つの欄に"
                                      "なってしまいます。ファイルを確かめてください。")
                           .arg(file.read.unclosedQuoteLine);
    else if (!bytes.isEmpty() && decoded.text.isEmpty())
        file.problem =
            QStringLiteral("ファイルを %1 として読めませんでした。").arg(csv::encodingName(decoded.encoding));
    else if (file.read.records.isEmpty())
        file.problem = QStringLiteral("ファイルに行がありません。");
    return file;
}

QList<csv::Record> leftOutRecords(const QStringList &header, const QList<PunchRow> &rows)
{
    // The file's cells go out as text a spreadsheet shows, never as formulas
    // it would run: the file came from outside.
    const auto plain = [](QStringList fields) {
        for (QString &field : fields)
            field = csv::text(field);
        return fields;
    };
    QList<csv::Record> records;
    if (!header.isEmpty())
        records << plain(header) + QStringList{QStringLiteral("取込できない理由")};
    for (const PunchRow &row : rows) {
        if (row.isTaken())
            continue;
        QStringList fields = plain(row.fields);
        // The reason stays in its own column, however short the row.
        while (fields.size() < header.size())
            fields << QString();
        records << fields + QStringList{csv::text(row.reason)};
    }
    return records;
}

} // namespace pelmar::punch
