#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Files a spreadsheet opens as they are meant: UTF-8 with a byte-order mark
// (so a Japanese Excel does not take the text for Shift_JIS), CRLF after
// every record, and fields quoted as RFC 4180 says: a field holding a comma,
// a double quote, a CR or an LF is put between double quotes, with each
// double quote inside it doubled. Other fields are written as they are.
// A text cell that a spreadsheet would take for a formula is made plain
// text first (see text()); numbers are written as numbers.
namespace pelmar::csv {

using Record = QStringList;

// One field as it stands in a record.
QString field(const QString &value);

// A text cell (a name, a title, a date) as a spreadsheet must read it:
// one beginning with =, +, -, @ (or their full-width ＝＋－＠), a tab, a
// carriage return or a line feed would be taken
// for a formula (=HYPERLINK(...) becomes a live link), so it gets a leading
// apostrophe and is read as the text it is. Every other text is unchanged.
// Numbers never pass here: -500 stays a number.
QString text(const QString &value);

// The whole file: the byte-order mark, then each record's fields joined by
// commas and ended by CRLF.
QByteArray document(const QList<Record> &records);

// A number as the files write it: plain digits with a point, no thousands
// separators and no exponent, at most six decimals with trailing zeros
// dropped (1.5, 62387.5, 1000000, -500). The program does not round money
// or hours, so a fraction of a yen stays in the file; only the noise a sum
// of binary fractions leaves beyond the sixth decimal is dropped.
QString number(double value);

// Writes the file whole or not at all: it is written beside its place and
// put there only when complete, so a failure leaves an existing file as it
// was. A place no export may go (see exportfile::refusal) is refused and
// nothing is written. On failure *error says why, for the user.
bool writeFile(const QString &path, const QList<Record> &records, QString *error = nullptr);

} // namespace pelmar::csv
