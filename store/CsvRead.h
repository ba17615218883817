#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// CSV files coming in from other programs: a time recorder, an attendance
// service or a spreadsheet. Japanese programs write Shift_JIS (in its
// Windows form, CP932) or UTF-8 with or without a byte-order mark, and say
// nothing about which; the bytes tell. Fields are read as RFC 4180 has
// them, and leniently where a spreadsheet strays from it.
namespace pelmar::csv {

enum class Encoding { Utf8, ShiftJis };

// The encoding's name as the user knows it: "UTF-8", "Shift_JIS".
QString encodingName(Encoding encoding);

// The encoding the bytes are most likely in: UTF-8 when they begin with its
// byte-order mark or are valid UTF-8 throughout (plain ASCII included, which
// reads the same either way); Shift_JIS otherwise. Japanese text in
// Shift_JIS is almost never valid UTF-8, so the guess is rarely wrong, and
// the caller lets the user correct it when it is.
Encoding guessEncoding(const QByteArray &bytes);

struct DecodedText {
    QString text;
    Encoding encoding = Encoding::Utf8;
    // Bytes that are not text in that encoding were met and shown as U+FFFD:
    // the file is damaged or in another encoding, and the user is to be told.
    bool damaged = false;
};

// The bytes as text in the given encoding, a UTF-8 byte-order mark dropped.
DecodedText decode(const QByteArray &bytes, Encoding encoding);

// The same in the guessed encoding.
inline DecodedText decode(const QByteArray &bytes)
{
    return decode(bytes, guessEncoding(bytes));
}

// One record of a file, with the line of the file it starts on (from 1), so
// that a message can point the user to it.
struct ReadRecord {
    int line = 0;
    QStringList fields;
};

struct ReadFile {
    QList<ReadRecord> records;
    // The line of a quoted field that is never closed, 0 when every quote is
    // closed. The rest of the file then went into that field; the caller
    // refuses the file rather than take half of it.
    int unclosedQuoteLine = 0;
};

// The records of CSV text: fields separated by commas, records ended by
// CRLF, LF or a lone CR; a field in double quotes may hold commas, line
// breaks (kept as they are) and doubled double quotes. Leniently, a quote
// inside an unquoted field is taken as a character, and text after a closing
// quote is added to the field. Empty lines give no record, wherever they are.
ReadFile parse(const QString &text);

// The most an incoming file may hold: a time recorder's year of punches
// for a large shop is a few megabytes.
inline constexpr qint64 kMaxInputBytes = 16 * 1024 * 1024;

// The bytes of a file the user named, read only when it is an ordinary file
// (not a folder, a named pipe or a device, which could never end or keep
// the program waiting) of at most kMaxInputBytes. Empty, or why the file
// is not read, in the user's words.
QString readInputFile(const QString &path, QByteArray *bytes, qint64 maxBytes = kMaxInputBytes);

} // namespace pelmar::csv
