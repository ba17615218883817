#include "calc/TsvFile.h"

#include "calc/PublicTables.h"

namespace pelmar::pay::tsv {

File split(const QString &text)
{
    File file;
    // A file saved by a spreadsheet or an editor may begin with a byte order mark.
    const QStringList lines = (text.startsWith(QChar(0xFEFF)) ? text.mid(1) : text).split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r'))
            line.chop(1);
        Table *table = &file.main;
        const qsizetype tab = line.startsWith(u"#@") ? line.indexOf(u'\t') : -1;
        if (tab >= 0) {
            table = &file.named[line.mid(2, tab - 2)];
            line = line.mid(tab + 1);
        } else if (line.isEmpty() || line.startsWith(u'#')) {
            continue;
        }
        const QStringList cells = line.split(u'\t');
        if (table->header.isEmpty())
            table->header = cells;
        else
            table->lines.append({i + 1, cells});
    }
    return file;
}

const Table &File::table(const QString &name) const
{
    static const Table none;
    const auto found = named.constFind(name);
    return found == named.constEnd() ? none : *found;
}

CellReader::CellReader(const Table &table, const Table::Line &line, QString *error)
    : m_table(table),
      m_line(line),
      m_error(error)
{
}

QString CellReader::text(const QString &name)
{
    const int at = m_table.column(name);
    if (at < 0 || at >= m_line.cells.size())
        return fail(QStringLiteral("列 %1 がありません").arg(name)), QString();
    return m_line.cells[at].trimmed();
}

std::optional<qint64> CellReader::optionalNumber(const QString &name, int decimals)
{
    const QString cell = text(name);
    if (!m_ok || cell.isEmpty())
        return std::nullopt;
    // Every figure of these files, yen or rate, is 0 or more.
    const auto value = scaledDecimal(cell, decimals);
    if (!value || *value < 0)
        fail(QStringLiteral("%1 の「%2」は 0 以上の数（小数 %3 桁まで）ではありません")
                 .arg(name, cell)
                 .arg(decimals));
    return value;
}

qint64 CellReader::number(const QString &name, int decimals)
{
    const bool wasOk = m_ok;
    const auto value = optionalNumber(name, decimals);
    if (wasOk && m_ok && !value)
        fail(QStringLiteral("%1 が空です").arg(name));
    return value.value_or(0);
}

QDate CellReader::date(const QString &name)
{
    const QString cell = text(name);
    const QDate value = QDate::fromString(cell, Qt::ISODate);
    if (m_ok && !value.isValid())
        fail(QStringLiteral("%1 の「%2」は日付ではありません").arg(name, cell));
    return value;
}

QDate CellReader::optionalDate(const QString &name)
{
    const QString cell = text(name);
    if (!m_ok || cell.isEmpty())
        return {};
    return date(name);
}

void CellReader::fail(const QString &reason)
{
    if (m_ok && m_error)
        *m_error = QStringLiteral("%1 行目: %2").arg(m_line.number).arg(reason);
    m_ok = false;
}

bool fail(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return false;
}

} // namespace pelmar::pay::tsv
