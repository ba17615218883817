#include "reports/ReportDialog.h"

#include "reports/ReportPrinter.h"
#include "widgets/PageBuilder.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

namespace pelmar {

ReportDialog::ReportDialog(const QString &name, const reports::Table &table, const QList<csv::Record> &records,
                           const QStringList &fileNameParts, QWidget *parent)
    : QDialog(parent),
      m_table(table),
      m_records(records),
      m_fileNameParts(fileNameParts)
{
    setObjectName(name);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(table.heading);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(captionLabel(table.subheadings.join(QStringLiteral("　")), this, QStringLiteral("lbl帳票")));

    Grid帳票 = namedControl<QTableWidget>(QStringLiteral("Grid帳票"), this);
    fillGrid();
    layout->addWidget(Grid帳票, 1);
    if (!table.notes.isEmpty()) {
        // Below the table, as on paper: what is outside its rows.
        QLabel *notes = captionLabel(table.notes.first() + u' ' + table.notes.mid(1).join(QStringLiteral("、")), this,
                                     QStringLiteral("lbl帳票注記"));
        notes->setWordWrap(true);
        layout->addWidget(notes);
    }

    layout->addLayout(buttonRow(this,
                                {
                                    {&cmd帳票印刷, QStringLiteral("cmd帳票印刷"), QStringLiteral("印刷")},
                                    {&cmd帳票PDF, QStringLiteral("cmd帳票PDF"), QStringLiteral("PDF保存")},
                                    {&cmd帳票CSV, QStringLiteral("cmd帳票CSV"), QStringLiteral("CSV保存")},
                                    {&cmd帳票閉じる, QStringLiteral("cmd帳票閉じる"), QStringLiteral("閉じる")},
                                }));

    connectButtons();
    resize(table.landscape ? 1000 : 820, 520);
}

// The rows as on paper, the totals in bold below them.
void ReportDialog::fillGrid()
{
    Grid帳票->setColumnCount(int(m_table.columns.size()));
    Grid帳票->setRowCount(int(m_table.rows.size() + (m_table.totals.isEmpty() ? 0 : 1)));
    QStringList captions;
    for (const reports::Column &column : m_table.columns)
        captions << column.caption;
    Grid帳票->setHorizontalHeaderLabels(captions);
    Grid帳票->verticalHeader()->hide();
    Grid帳票->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid帳票->setSelectionBehavior(QAbstractItemView::SelectRows);
    QList<QStringList> rows = m_table.rows;
    if (!m_table.totals.isEmpty())
        rows << m_table.totals;
    for (int r = 0; r < int(rows.size()); ++r) {
        for (int c = 0; c < int(m_table.columns.size()) && c < int(rows[r].size()); ++c) {
            auto *item = new QTableWidgetItem(rows[r][c]);
            item->setTextAlignment(m_table.columns[c].alignment | Qt::AlignVCenter);
            if (r == int(m_table.rows.size())) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            Grid帳票->setItem(r, c, item);
        }
    }
    // Columns as wide as on paper (about 15 twips a pixel), wider where the
    // screen's text needs it.
    Grid帳票->resizeColumnsToContents();
    for (int c = 0; c < int(m_table.columns.size()); ++c)
        Grid帳票->setColumnWidth(c, qMax(Grid帳票->columnWidth(c), m_table.columns[c].width / 15));
}

void ReportDialog::connectButtons()
{
    connect(cmd帳票印刷, &QPushButton::clicked, this, [this] {
        reports::showPreview(this, document(), reports::suggestedFileName(m_fileNameParts, QStringLiteral("pdf")));
    });
    connect(cmd帳票PDF, &QPushButton::clicked, this, [this] {
        reports::savePdf(this, document(), reports::suggestedFileName(m_fileNameParts, QStringLiteral("pdf")));
    });
    connect(cmd帳票CSV, &QPushButton::clicked, this, [this] {
        reports::saveCsv(this, m_records, reports::suggestedFileName(m_fileNameParts, QStringLiteral("csv")));
    });
    connect(cmd帳票閉じる, &QPushButton::clicked, this, &QWidget::close);
}

reports::Document ReportDialog::document() const
{
    return {m_table.heading, m_table.landscape, reports::tablePages(m_table)};
}

} // namespace pelmar
