#include "store/Csv.h"

#include <QSaveFile>

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

QByteArray document(const QList<Record> &records)
{
    QString text;
    for (const Record &record : records) {
        QStringList fields;
        fields.reserve(record.size());
        for (const QString &value : record)
            fields << field(value);
        text += fields.join(u',') + QStringLiteral("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
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
    QSaveFile file(path);
    const QByteArray bytes = document(records);
    const bool written = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    if (!written && error)
        *error = file.errorString();
    return written;
}

} // namespace pelmar::csv
