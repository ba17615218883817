#pragma once

#include "calc/PunchForms.h"
#include "store/Csv.h"
#include "store/CsvRead.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

// Punches from a time recorder's CSV file turned into statement lines: which
// column holds what, and for each row of the file either the line it makes
// or the reason it cannot be taken, in words for the shop owner. Nothing
// here reads or writes the database; the caller gives the employees and the
// dates already stored, and writes what the user confirms.
namespace pelmar::punch {

// Which column (from 0) holds what; -1 for none. The employee is named or
// numbered, the break is optional.
struct ColumnMapping {
    int employee = -1;
    bool employeeByNumber = false;
    int date = -1;
    int start = -1;
    int end = -1;
    int breakColumn = -1;
    BreakUnit breakUnit = BreakUnit::Auto;
    // Whether the file's first record is its header rather than a punch.
    bool firstRowIsHeader = true;

    // Employee, date, start and end each in a column of their own, and the
    // break, if any, in yet another.
    bool isComplete() const;

    // A short text to keep the mapping by, and back:
    // "name=0;date=1;start=2;end=3;break=4;unit=auto;header=1". fromText
    // takes only what toText writes, and only a complete mapping.
    QString toText() const;
    static std::optional<ColumnMapping> fromText(const QString &text);

    bool operator==(const ColumnMapping &) const = default;
};

// The mapping a header names by itself, when it names the employee (氏名,
// 名前, 従業員名, 社員名, or by number 従業員番号, 社員番号, 従業員コード,
// 社員コード), 日付 (or 勤務日, 年月日), 出勤 (出勤時刻, 出勤時間, 開始時間),
// 退勤 (退勤時刻, 退勤時間, 終了時間) and optionally 休憩 (休憩時間), each
// once. Spaces inside a column name do not count (氏　名 is 氏名). A header
// that names both a name and a number column is read by name: a number of
// another system taken for Pelmar's would pay the wrong person, a name that
// differs is only refused. Nothing when a column is missing or named twice.
std::optional<ColumnMapping> recogniseHeader(const QStringList &header);

// The text by which a mapping is remembered for the next file with the same
// header: its column names, cleaned, as one CSV record.
QString headerKey(const QStringList &header);

// An employee the punches may name.
struct Employee {
    QString name; // as stored
    QString number; // empty when the employee has none
};

// What every row of a file is checked against.
struct ImportContext {
    QList<Employee> employees;
    // The year of dates written without one (11/5).
    int yearWhenNone = 0;
    // The dates (yyyymmdd) each employee (by stored name) already has a shift
    // on in the statements the import must not double.
    QHash<QString, QSet<QString>> storedDates;
};

// Why a row cannot be taken; each has its reason for the user.
enum class Problem {
    None,
    NoEmployee, // the employee cell is empty
    UnknownEmployee, // no registered employee has that name or number
    AmbiguousEmployee, // more than one registered employee fits it
    UnreadableDate,
    MissingTime, // a start or end punch is missing
    UnreadableTime,
    StartAfterMidnight, // a start written as 24:00 or later
    EmptyShift, // start and end are the same time
    LongShift, // 24 hours or more from start to end
    UnreadableBreak,
    BreakUnitUnknown, // a bare 1 to 9: hours or minutes?
    BreakTooLong, // as long as the shift or longer
    Overlap, // overlaps another row of the same employee in the file
    AlreadyStored, // the employee already has a shift on that date
    TooManyLines, // the employee's rows would not fit on one statement
    NoWage, // the employee has no wage in the master: no amount to pay
};

// One row of the file, as the preview shows it and the import writes it.
struct PunchRow {
    int line = 0; // the file's line the row starts on
    QStringList fields; // as read, for the list of rows left out
    QString employee; // the stored name, once known
    QString date; // yyyymmdd
    QString start; // hhmm
    QString end; // hhmm; earlier than start when the shift ends the next day
    QVariant breakHours; // null when the file gives none
    QVariant hours; // worked hours, by the statement's own arithmetic
    Problem problem = Problem::None;
    QString reason; // empty when the row is taken

    bool isTaken() const { return problem == Problem::None; }
};

// Every punch record of the file (the header passed over when the mapping
// says so; rows with every field blank left out) as a line or a reason.
// The end of a shift is on the next day when written as 24:00 or later or
// as a time earlier than the start. Rows of the same employee whose times
// overlap are each refused, each naming the other's line. An employee with
// more rows taken than one statement holds has every row refused: a
// statement with part of the month would pay the wrong yen.
QList<PunchRow> readPunches(const QList<csv::ReadRecord> &records, const ColumnMapping &mapping,
                            const ImportContext &context);

// Refuses each taken row whose shift overlaps another taken row of the same
// employee, naming one row it overlaps; in time and memory linear in the
// rows once sorted, however many of them overlap. Part of readPunches.
void refuseOverlaps(QList<PunchRow> &rows);

// A punch file as read, before its columns are known.
struct PunchFile {
    csv::Encoding encoding = csv::Encoding::Utf8;
    csv::ReadFile read;
    // Why the file cannot be imported at all, for the user; empty when it can.
    QString problem;
    // What the file holds that a CSV reader may read otherwise: bytes that
    // are not text in its encoding (the guess may be wrong).
    bool damagedText = false;

    QStringList header() const { return read.records.isEmpty() ? QStringList() : read.records.first().fields; }
};

// The file's bytes read in the encoding given, or the one guessed when none
// is. A file without a record, or with a quote left open (the rest of the
// file would go into one cell), cannot be imported; damaged text can, once
// the user has seen the first rows and chosen the encoding.
PunchFile readPunchFile(const QByteArray &bytes, std::optional<csv::Encoding> encoding = std::nullopt);

// The rows that were not taken, as the file had them with the reason in a
// last column 取込できない理由, under the file's header (when it has one)
// so that the user can correct them and import them again.
QList<csv::Record> leftOutRecords(const QStringList &header, const QList<PunchRow> &rows);

} // namespace pelmar::punch
