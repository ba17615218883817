#include "store/CsvRead.h"

#include <QStringDecoder>

namespace pelmar::csv {

namespace {

const QByteArray kUtf8ByteOrderMark("\xEF\xBB\xBF");

} // namespace

QString encodingName(Encoding encoding)
{
    return encoding == Encoding::Utf8 ? QStringLiteral("UTF-8") : QStringLiteral("Shift_JIS");
}

Encoding guessEncoding(const QByteArray &bytes)
{
    if (bytes.startsWith(kUtf8ByteOrderMark))
        return Encoding::Utf8;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString ignored = utf8(bytes);
    return utf8.hasError() ? Encoding::ShiftJis : Encoding::Utf8;
}

DecodedText decode(const QByteArray &bytes, Encoding encoding)
{
    DecodedText decoded;
    decoded.encoding = encoding;
    if (encoding == Encoding::Utf8) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QByteArrayView body =
            bytes.startsWith(kUtf8ByteOrderMark) ? QByteArrayView(bytes).sliced(kUtf8ByteOrderMark.size()) : bytes;
        decoded.text = utf8(body);
        decoded.damaged = utf8.hasError();
        return decoded;
    }
    // Qt reads Shift_JIS through ICU, whose table for it is the Windows one
    // (NEC and IBM extensions, ～ as U+FF5E), as Japanese programs write it.
    QStringDecoder shiftJis("Shift_JIS");
    if (!shiftJis.isValid()) {
        decoded.damaged = true;
        return decoded;
    }
    decoded.text = shiftJis(bytes);
    decoded.damaged = shiftJis.hasError() || decoded.text.contains(QChar::ReplacementCharacter);
    return decoded;
}

ReadFile parse(const QString &text)
{
    ReadFile file;
    ReadRecord record;
    QString field;
    bool inQuotes = false;
    bool fieldWasQuoted = false;
    int line = 1;
    int quoteLine = 0;
    record.line = 1;

    const auto endField = [&] {
        record.fields << field;
        field.clear();
        fieldWasQuoted = false;
    };
    const auto endRecord = [&] {
        const bool blankLine = record.fields.isEmpty() && field.isEmpty() && !fieldWasQuoted;
        if (!blankLine) {
            endField();
            file.records << record;
        }
        record = ReadRecord();
        field.clear();
        fieldWasQuoted = false;
    };

    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (inQuotes) {
            if (c == u'"') {
                if (i + 1 < size && text.at(i + 1) == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else {
                if (c == u'\n' || (c == u'\r' && (i + 1 >= size || text.at(i + 1) != u'\n')))
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == u'"' && field.isEmpty() && !fieldWasQuoted) {
            inQuotes = true;
            fieldWasQuoted = true;
            quoteLine = line;
        } else if (c == u',') {
            endField();
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < size && text.at(i + 1) == u'\n')
                ++i;
            endRecord();
            record.line = ++line;
        } else {
            field += c;
        }
    }
    if (inQuotes)
        file.unclosedQuoteLine = quoteLine;
    endRecord();
    return file;
}

} // namespace pelmar::csv
