#include "store/CsvRead.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

#include <filesystem>
#include <system_error>

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

namespace {

// Reads the text a character at a time; a quoted field may hold commas and
// line breaks, and "" inside it is one quote.
class Parser {
public:
    explicit Parser(const QString &text) : m_text(text) { m_record.line = 1; }

    ReadFile read()
    {
        for (m_at = 0; m_at < m_text.size(); ++m_at) {
            if (m_inQuotes)
                quotedChar();
            else
                plainChar();
        }
        if (m_inQuotes)
            m_file.unclosedQuoteLine = m_quoteLine;
        endRecord();
        return m_file;
    }

private:
    bool nextIs(QChar c) const { return m_at + 1 < m_text.size() && m_text.at(m_at + 1) == c; }

    void quotedChar()
    {
        const QChar c = m_text.at(m_at);
        if (c == u'"') {
            if (nextIs(u'"')) {
                m_field += u'"';
                ++m_at;
            } else {
                m_inQuotes = false;
            }
            return;
        }
        if (c == u'\n' || (c == u'\r' && !nextIs(u'\n')))
            ++m_line;
        m_field += c;
    }

    void plainChar()
    {
        const QChar c = m_text.at(m_at);
        if (c == u'"' && m_field.isEmpty() && !m_fieldWasQuoted) {
            m_inQuotes = true;
            m_fieldWasQuoted = true;
            m_quoteLine = m_line;
        } else if (c == u',') {
            endField();
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && nextIs(u'\n'))
                ++m_at;
            endRecord();
            m_record.line = ++m_line;
        } else {
            m_field += c;
        }
    }

    void endField()
    {
        m_record.fields << m_field;
        m_field.clear();
        m_fieldWasQuoted = false;
    }

    void endRecord()
    {
        const bool blankLine = m_record.fields.isEmpty() && m_field.isEmpty() && !m_fieldWasQuoted;
        if (!blankLine) {
            endField();
            m_file.records << m_record;
        }
        m_record = ReadRecord();
        m_field.clear();
        m_fieldWasQuoted = false;
    }

    const QString &m_text;
    qsizetype m_at = 0;
    ReadFile m_file;
    ReadRecord m_record;
    QString m_field;
    bool m_inQuotes = false;
    bool m_fieldWasQuoted = false;
    int m_line = 1;
    int m_quoteLine = 0;
};

} // namespace

ReadFile parse(const QString &text)
{
    return Parser(text).read();
}

QString readInputFile(const QString &path, QByteArray *bytes, qint64 maxBytes)
{
    bytes->clear();
    const QString shown = QDir::toNativeSeparators(path);
    // Whatever the name leads to is looked at before it is opened: opening a
    // named pipe waits for a writer, and a device never ends.
    std::error_code error;
    const auto status = std::filesystem::status(QFile::encodeName(path).toStdString(), error);
    if (status.type() == std::filesystem::file_type::not_found)
        return QStringLiteral("%1 がありません。").arg(shown);
    if (error)
        return QStringLiteral("%1 を読めません: %2").arg(shown, QString::fromStdString(error.message()));
    if (status.type() == std::filesystem::file_type::directory)
        return QStringLiteral("%1 はフォルダです。CSV ファイルを指定してください。").arg(shown);
    if (status.type() != std::filesystem::file_type::regular)
        return QStringLiteral("%1 は普通のファイルではありません（名前付きパイプや装置など）。"
                              "CSV ファイルを指定してください。")
            .arg(shown);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("%1 を読めません: %2").arg(shown, file.errorString());
    const auto tooLarge = [&] {
        return QStringLiteral("%1 は大きすぎます（%2 MB を超えています）。打刻のファイルを期間で分けてください。")
            .arg(shown)
            .arg(maxBytes / (1024 * 1024));
    };
    if (file.size() > maxBytes)
        return tooLarge();
    // A file that grows while it is read is cut off at the bound, not followed.
    *bytes = file.read(maxBytes + 1);
    if (bytes->size() > maxBytes) {
        bytes->clear();
        return tooLarge();
    }
    if (file.error() != QFileDevice::NoError) {
        bytes->clear();
        return QStringLiteral("%1 を読めません: %2").arg(shown, file.errorString());
    }
    return {};
}

} // namespace pelmar::csv
