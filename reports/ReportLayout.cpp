#include "reports/ReportLayout.h"

#include "calc/Formats.h"

namespace pelmar::reports {

namespace {

using payslip::PayslipItem;

constexpr int kCellPadding = 60; // twips between a column's edge and its text
constexpr int kSubheadingHeight = 330;
constexpr int kFooterHeight = 400;
const QString kYen = fmt::kYen;

PayslipItem text(const QString &name, const QString &value, const QRect &rect, qreal size, Qt::Alignment alignment)
{
    PayslipItem item;
    item.kind = PayslipItem::TextBox;
    item.name = name;
    item.text = value;
    item.rect = rect;
    item.fontFamily = payslip::kGothic;
    item.pointSize = size;
    item.alignment = alignment;
    item.fit.minPointSize = qMin(size, qreal(7));
    return item;
}

PayslipItem rule(int y, int width)
{
    PayslipItem item;
    item.kind = PayslipItem::Line;
    item.name = QStringLiteral("rule");
    item.line = QLine(0, y, width, y);
    return item;
}

// The top of every page: heading, date, company, subheadings and a rule.
// Returns the y where the table begins.
int addPageTop(Page &page, const Table &table, int width)
{
    page << text(QStringLiteral("heading"), table.heading, {0, 30, width, 354}, 14.5, Qt::AlignHCenter);
    PayslipItem date = text(QStringLiteral("date"), fmt::formatJapaneseDate(table.printed),
                            {width - 2445, 70, 2445, 320}, 12, Qt::AlignRight);
    date.fit.mayCut = false;
    page << date;
    page << rule(425, width);
    const int subheadingWidth = width * 6 / 10;
    for (qsizetype i = 0; i < table.subheadings.size(); ++i)
        page << text(QStringLiteral("subheading"), table.subheadings[i],
                     {0, int(520 + i * kSubheadingHeight), subheadingWidth, kSubheadingHeight}, 12, Qt::AlignLeft);
    page << text(QStringLiteral("company"), table.companyName,
                 {subheadingWidth + 200, 520, width - subheadingWidth - 200, kSubheadingHeight}, 12, Qt::AlignRight);
    return 520 + int(qMax(qsizetype(1), table.subheadings.size())) * kSubheadingHeight + 150;
}

// The columns' left edges and widths, stretched to the page's width.
QList<QPair<int, int>> columnSpans(const QList<Column> &columns, int width)
{
    int designed = 0;
    for (const Column &column : columns)
        designed += column.width;
    QList<QPair<int, int>> spans;
    int left = 0;
    for (const Column &column : columns) {
        const int stretched = designed > 0 ? column.width * width / designed : 0;
        spans << qMakePair(left, stretched);
        left += stretched;
    }
    return spans;
}

void addRow(Page &page, const Table &table, const QList<QPair<int, int>> &spans, const QStringList &cells, int y,
            bool captions)
{
    for (qsizetype c = 0; c < table.columns.size() && c < cells.size(); ++c) {
        const Column &column = table.columns[c];
        // The type stands in the middle of its row.
        const int above = qMax(0, int(table.rowHeight - table.pointSize * 20) / 2);
        const QRect box(spans[c].first + kCellPadding, y + above, spans[c].second - 2 * kCellPadding,
                        table.rowHeight - above);
        PayslipItem cell = text(captions ? QStringLiteral("caption") : QStringLiteral("cell"), cells[c], box,
                                table.pointSize, captions ? Qt::AlignHCenter : column.alignment);
        cell.fit.mayCut = captions || !column.figure;
        page << cell;
    }
}

QString hoursText(double hours)
{
    return fmt::formatNumber(hours, fmt::kHours);
}

QString sometimesHours(double hours)
{
    return fmt::formatNumber(hours, fmt::kHoursBlankZero);
}

QString yenText(double yen)
{
    return fmt::formatNumber(yen, kYen);
}

QString sanitized(QString base)
{
    for (QChar &c : base)
        if (c.unicode() < 0x20 || QStringLiteral("\\/:*?\"<>|").contains(c))
            c = u'_';
    while (base.endsWith(u'.') || base.endsWith(u' '))
        base.chop(1);
    return base;
}

// A table too wide for one page, cut into parts of columnsPerPage columns
// after the first, which every part repeats.
QList<Table> columnParts(const Table &table)
{
    QList<Table> parts;
    for (qsizetype first = 1; first < table.columns.size(); first += table.columnsPerPage) {
        Table part = table;
        part.columnsPerPage = 0;
        const auto slice = [&](const QStringList &cells) {
            return cells.isEmpty() ? cells : QStringList{cells.value(0)} + cells.mid(first, table.columnsPerPage);
        };
        part.columns = QList<Column>{table.columns.value(0)} + table.columns.mid(first, table.columnsPerPage);
        part.rows.clear();
        for (const QStringList &row : table.rows)
            part.rows << slice(row);
        part.totals = slice(table.totals);
        // The notes once, under the last part.
        if (first + table.columnsPerPage < table.columns.size())
            part.notes.clear();
        parts << part;
    }
    return parts;
}

// Lays a table's rows, totals and notes down the pages, starting a new page
// where the next line would run into the footer.
class TablePager {
public:
    explicit TablePager(const Table &table)
        : m_table(table), m_area(printableArea(table.landscape)), m_width(m_area.width()),
          m_bottom(m_area.height() - kFooterHeight), m_spans(columnSpans(table.columns, m_width))
    {
        for (const Column &column : table.columns)
            m_captions << column.caption;
    }

    QList<Page> pages()
    {
        startPage();
        const int rowsOnPage = addRows();
        addTotals(rowsOnPage);
        m_page << rule(m_y, m_width);
        addNotes();
        m_pages << m_page;
        numberPages();
        return m_pages;
    }

private:
    void startPage()
    {
        m_page = Page();
        m_y = addPageTop(m_page, m_table, m_width);
        m_page << rule(m_y, m_width);
        addRow(m_page, m_table, m_spans, m_captions, m_y, true);
        m_y += m_table.rowHeight;
        m_page << rule(m_y, m_width);
    }

    // The rows on the last page.
    int addRows()
    {
        int rowsOnPage = 0;
        for (const QStringList &row : m_table.rows) {
            // At least one row a page, however small the rows are drawn.
            if (rowsOnPage > 0 && m_y + m_table.rowHeight > m_bottom) {
                m_pages << m_page;
                startPage();
                rowsOnPage = 0;
            }
            addRow(m_page, m_table, m_spans, row, m_y, false);
            m_y += m_table.rowHeight;
            ++rowsOnPage;
        }
        return rowsOnPage;
    }

    void addTotals(int rowsOnPage)
    {
        if (m_table.totals.isEmpty())
            return;
        if (rowsOnPage > 0 && m_y + m_table.rowHeight + 30 > m_bottom) {
            m_pages << m_page;
            startPage();
        }
        m_y += 30;
        m_page << rule(m_y, m_width);
        addRow(m_page, m_table, m_spans, m_table.totals, m_y, false);
        m_y += m_table.rowHeight;
    }

    void addNotes()
    {
        if (!m_table.notes.isEmpty())
            m_y += 150;
        for (const QString &note : m_table.notes) {
            if (m_y + m_table.rowHeight > m_bottom) {
                m_pages << m_page;
                m_page = Page();
                m_y = addPageTop(m_page, m_table, m_width);
            }
            m_page << text(QStringLiteral("note"), note, {0, m_y, m_width, m_table.rowHeight}, m_table.pointSize,
                           Qt::AlignLeft);
            m_y += m_table.rowHeight;
        }
    }

    // "1 / 3" at the foot of each page, when there is more than one.
    void numberPages()
    {
        if (m_pages.size() < 2)
            return;
        for (qsizetype i = 0; i < m_pages.size(); ++i) {
            PayslipItem number =
                text(QStringLiteral("page"), QStringLiteral("%1 / %2").arg(i + 1).arg(m_pages.size()),
                     {0, m_area.height() - 300, m_width, 280}, 9, Qt::AlignHCenter);
            number.fit.mayCut = false;
            m_pages[i] << number;
        }
    }

    const Table &m_table;
    const QSize m_area;
    const int m_width;
    const int m_bottom;
    const QList<QPair<int, int>> m_spans;
    QStringList m_captions;
    QList<Page> m_pages;
    Page m_page;
    int m_y = 0;
};

} // namespace

QList<Page> tablePages(const Table &table)
{
    if (table.columnsPerPage > 0 && table.columns.size() - 1 > table.columnsPerPage) {
        QList<Page> pages;
        for (const Table &part : columnParts(table))
            pages << tablePages(part);
        return pages;
    }
    return TablePager(table).pages();
}

Table summaryTable(const reports::Summary &summary, const QString &companyName, const QDate &printed)
{
    Table table;
    table.heading = QStringLiteral("給与一覧表");
    table.subheadings = {summary.title};
    if (!summary.closedMark.isEmpty())
        table.subheadings << summary.closedMark;
    if (!summary.missing.isEmpty())
        table.notes = QStringList{reports::kMissingCaption + QStringLiteral("：")} + summary.missing;
    table.companyName = companyName;
    table.printed = printed;
    table.columns = {{QStringLiteral("氏名"), 2600, Qt::AlignLeft, false},
                     {QStringLiteral("日数"), 700},
                     {QStringLiteral("時間"), 1100},
                     {QStringLiteral("深夜"), 1000},
                     {QStringLiteral("時間外"), 1000},
                     {QStringLiteral("時給"), 1100},
                     {QStringLiteral("調整額"), 1300},
                     {QStringLiteral("支給額"), 1500},
                     {QStringLiteral("休日"), 1000},
                     {QStringLiteral("60h超"), 1000},
                     {QStringLiteral("時間外上限"), 1800, Qt::AlignLeft, false}};
    // The hours the law keeps apart and the limits passed need the width.
    table.landscape = true;
    const auto cells = [](const reports::SummaryRow &row) {
        return QStringList{row.name,
                           QString::number(row.days),
                           hoursText(row.hours),
                           sometimesHours(row.nightHours),
                           sometimesHours(row.overtimeHours),
                           fmt::format(row.wage, kYen),
                           yenText(row.adjustment),
                           yenText(row.amount),
                           sometimesHours(row.restDayHours),
                           sometimesHours(row.over60Hours),
                           row.limits.join(u' ')};
    };
    for (const reports::SummaryRow &row : summary.rows)
        table.rows << cells(row);
    table.totals = cells(summary.totals);
    return table;
}

Table ledgerTable(const reports::Ledger &ledger, const QString &companyName, const QDate &printed)
{
    Table table;
    table.heading = QStringLiteral("賃金台帳");
    table.subheadings = {QStringLiteral("氏名　") + ledger.name,
                         QStringLiteral("%1年（%2）").arg(ledger.year).arg(reports::kLedgerYearRule)};
    table.companyName = companyName;
    table.printed = printed;
    table.landscape = true;
    table.columns = {{QStringLiteral("タイトル"), 2600, Qt::AlignLeft, false},
                     {QStringLiteral("期間"), 2600, Qt::AlignHCenter},
                     {QStringLiteral("日数"), 700},
                     {QStringLiteral("労働時間"), 1100},
                     {QStringLiteral("時間外"), 1000},
                     {QStringLiteral("深夜"), 1000},
                     {QStringLiteral("基本給"), 1500},
                     {QStringLiteral("割増賃金"), 1300},
                     {QStringLiteral("調整額"), 1300},
                     {QStringLiteral("支給額"), 1500},
                     {QStringLiteral("休日"), 1000}};
    const auto cells = [](const reports::LedgerRow &row, const QString &span) {
        return QStringList{row.title,
                           span,
                           QString::number(row.days),
                           hoursText(row.hours),
                           sometimesHours(row.overtimeHours),
                           sometimesHours(row.nightHours),
                           yenText(row.basePay),
                           yenText(row.premiumPay),
                           yenText(row.adjustment),
                           yenText(row.amount),
                           sometimesHours(row.restDayHours)};
    };
    for (const reports::LedgerRow &row : ledger.rows)
        table.rows << cells(
            row, fmt::formatDateText(row.firstDate) + QStringLiteral("〜") + fmt::formatDateText(row.lastDate));
    table.totals = cells(ledger.totals, QString());
    table.totals[0] = QStringLiteral("年間合計");
    return table;
}

namespace {

using reports::amountOf;

// The columns of the day lines; the premiums' and the rest days' only when
// a line has one.
QList<Column> dayLineColumns(bool premiums, bool restDays)
{
    QList<Column> columns{{QStringLiteral("日付"), 1200, Qt::AlignHCenter},
                          {QStringLiteral("開始"), 700},
                          {QStringLiteral("終了"), 700},
                          {QStringLiteral("休憩"), 700},
                          {QStringLiteral("時間"), 850},
                          {QStringLiteral("時給"), 950},
                          {QStringLiteral("調整額"), 1050},
                          {QStringLiteral("金額"), 1300}};
    if (premiums)
        columns += {{QStringLiteral("深夜"), 800}, {QStringLiteral("時間外"), 800}, {QStringLiteral("割増額"), 1100}};
    if (restDays)
        columns += {{QStringLiteral("休日"), 800}};
    return columns;
}

QStringList dayLineCells(const reports::DayLine &line, bool premiums, bool restDays)
{
    QStringList cells{fmt::formatDateText(line.date),
                      fmt::formatTime(line.start),
                      fmt::formatTime(line.end),
                      fmt::format(line.breakHours, fmt::kHours),
                      fmt::format(line.hours, fmt::kHours),
                      fmt::format(line.wage, kYen),
                      fmt::format(line.adjustment, kYen),
                      fmt::format(line.amount, kYen)};
    if (premiums)
        cells << sometimesHours(amountOf(line.nightHours)) << sometimesHours(amountOf(line.overtimeHours))
              << yenText(amountOf(line.premium));
    if (restDays)
        cells << sometimesHours(amountOf(line.restDayHours));
    return cells;
}

QStringList dayLineTotals(const QList<reports::DayLine> &lines, bool premiums, bool restDays)
{
    double sums[6] = {}; // break, hours, adjustment, amount, night, overtime
    double premiumSum = 0, restSum = 0;
    for (const reports::DayLine &line : lines) {
        restSum += amountOf(line.restDayHours);
        sums[0] += amountOf(line.breakHours);
        sums[1] += amountOf(line.hours);
        sums[2] += amountOf(line.adjustment);
        sums[3] += amountOf(line.amount);
        sums[4] += amountOf(line.nightHours);
        sums[5] += amountOf(line.overtimeHours);
        premiumSum += amountOf(line.premium);
    }
    QStringList totals = {QStringLiteral("合計"), QString(), QString(),        hoursText(sums[0]),
                          hoursText(sums[1]),     QString(), yenText(sums[2]), yenText(sums[3])};
    if (premiums)
        totals << sometimesHours(sums[4]) << sometimesHours(sums[5]) << yenText(premiumSum);
    if (restDays)
        totals << sometimesHours(restSum);
    return totals;
}

} // namespace

Table dayLinesTable(const reports::StoredStatement &statement, const QString &companyName, const QDate &printed)
{
    Table table;
    table.heading = QStringLiteral("勤務明細");
    table.subheadings = {statement.header.name + payslip::kHonorific, statement.header.title};
    table.companyName = companyName;
    table.printed = printed;
    // Sixty lines fit on one page.
    table.rowHeight = 215;
    table.pointSize = 8.5;
    bool premiums = false;
    bool restDays = false;
    for (const reports::DayLine &line : statement.lines) {
        premiums = premiums || amountOf(line.nightHours) != 0 || amountOf(line.overtimeHours) != 0
            || amountOf(line.premium) != 0;
        restDays = restDays || amountOf(line.restDayHours) != 0;
    }
    premiums = premiums || restDays;
    table.columns = dayLineColumns(premiums, restDays);
    for (const reports::DayLine &line : statement.lines)
        table.rows << dayLineCells(line, premiums, restDays);
    table.totals = dayLineTotals(statement.lines, premiums, restDays);
    return table;
}

Page slipPage(const statements::Header &header, const QString &companyName, const QString &companyInfo,
              const QDate &printed, const settings::PaySettings &pay)
{
    const payslip::PrintValues values =
        payslip::printValues(header.name, header.title, header.wage, header.hours, header.adjustment, header.total);
    // The statement prints what it stored, whatever today's settings.
    Q_UNUSED(pay);
    const payslip::PremiumPrintValues premiums = payslip::storedPremiumValues(
        header.nightHours, header.overtimeHours, header.premium, header.restDayHours, header.over60Hours);
    if (premiums.any)
        return payslip::filledPageHeader(values, premiums, companyName, companyInfo, printed);
    return payslip::filledPageHeader(values, companyName, companyInfo, printed);
}

QList<Page> batchPages(const QList<reports::StoredStatement> &statements, bool dayLines, const QString &companyName,
                       const QString &companyInfo, const QDate &printed, const settings::PaySettings &pay)
{
    QList<Page> pages;
    for (const reports::StoredStatement &statement : statements) {
        pages << slipPage(statement.header, companyName, companyInfo, printed, pay);
        if (dayLines)
            pages << tablePages(dayLinesTable(statement, companyName, printed));
    }
    return pages;
}

QString suggestedFileName(const QStringList &parts, const QString &extension)
{
    QStringList kept;
    for (const QString &part : parts)
        if (!part.trimmed().isEmpty())
            kept << part.trimmed();
    return sanitized(kept.join(u'_')) + u'.' + extension;
}

} // namespace pelmar::reports
