#include "store/Csv.h"

#include "store/ExportFile.h"

#include <cmath>

namespace pelmar::csv {

QString field(const QString &value)
{
    static const QString needsQuotes = QStringLiteral(",\"\r\n");
    bool quote = false;
    for (const QChar c : value)
        quote = quote || needsQuotes.contains(c);
    if (!quote)
        return value;
    QString doubled = value;
    doubled.replace(u'"', QStringLiteral("\"\""));
    return u'"' + doubled + u'"';
}

QString text(const QString &value)
{
    // Spreadsheets read the full-width signs of Japanese input as the ASCII
    // ones, and a cell may begin with a line feed before its formula.
    static const QString formulaStart = QStringLiteral("=+-@\t\r\n＝＋－＠");
    if (!value.isEmpty() && formulaStart.contains(value.front()))
        return u'\'' + value;
    return value;
}

QByteArray document(const QList<Record> &records)
{
    QString lines;
    for (const Record &record : records) {
        QStringList fields;
        fields.reserve(record.size());
        for (const QString &value : record)
            fields << field(value);
        lines += fields.join(u',') + QStringLiteral("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + lines.toUtf8();
}

QString number(double value)
{
    if (!std::isfinite(value))
        return {};
    QString text = QString::number(value, 'f', 6);
    if (text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    // A tiny negative remainder of a sum reads as zero, not as "-0".
    if (text == QStringLiteral("-0"))
        text = QStringLiteral("0");
    return text;
}

bool writeFile(const QString &path, const QList<Record> &records, QString *error)
{
    return exportfile::write(path, document(records), error);
}

} // namespace pelmar::csv
