#pragma once

#include "masters/PaySettings.h"

#include "reports/MonthReports.h"
#include "reports/PayslipLayout.h"

#include <QDate>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

// The printed pages of the reports as data, each a list of positioned texts
// and rules in twips from the top left of the printable area, drawn by the
// same painter as the single slip: every slip of a title (with, when asked,
// a page of its day lines after each), the monthly summary 給与一覧表 and
// the wage ledger 賃金台帳. Nothing here draws.
namespace pelmar::reports {

using Page = QList<payslip::PayslipItem>;

// What is printed or saved as one file.
struct Document {
    QString name; // the document's title, as 給与明細 or 給与一覧表
    bool landscape = false;
    QList<Page> pages;
};

// A4 with the slip's half-inch margins, in twips.
constexpr int kA4Width = 11906;
constexpr int kA4Height = 16838;
constexpr int kMargin = 720;
inline QSize printableArea(bool landscape)
{
    const QSize portrait(kA4Width - 2 * kMargin, kA4Height - 2 * kMargin);
    return landscape ? portrait.transposed() : portrait;
}

struct Column {
    QString caption;
    int width = 1000; // twips, before the columns are stretched to the page's width
    Qt::Alignment alignment = Qt::AlignRight;
    bool figure = true; // never cut; a text column ends in "…" when too long
};

// A report as a table: what the screen shows and the pages print.
struct Table {
    QString heading; // 給与一覧表
    QStringList subheadings; // on the left under the heading, one a line
    QString companyName;
    QDate printed;
    bool landscape = false;
    QList<Column> columns;
    QList<QStringList> rows;
    QStringList totals; // the last row, between rules; empty: none
    QStringList notes; // lines below the table, outside its rows and totals
    int rowHeight = 300;
    qreal pointSize = 10;
    // More columns than this after the first are printed on further pages,
    // each repeating the first column (the items of a ledger with a column
    // per statement); 0 prints every column on one page.
    int columnsPerPage = 0;
};

// The pages of a table: the heading, the date, the company and the
// subheadings at the top of each, the column captions, as many rows as
// fit, the totals after the last row, the notes below the table, and
// "n / m" at the foot when there is more than one page.
QList<Page> tablePages(const Table &table);

Table summaryTable(const reports::Summary &summary, const QString &companyName, const QDate &printed);
Table ledgerTable(const reports::Ledger &ledger, const QString &companyName, const QDate &printed);
// The day lines of one statement; the premium columns only when a line has
// night or overtime hours or premium pay.
Table dayLinesTable(const reports::StoredStatement &statement, const QString &companyName, const QDate &printed);

// The slip of a stored statement, exactly as the print button of the
// statement page fills it for the same values: with premium hours or yen
// stored, the slip with the premium row. The statement decides, not the
// settings of today (`pay` is no longer read).
Page slipPage(const statements::Header &header, const QString &companyName, const QString &companyInfo,
              const QDate &printed, const settings::PaySettings &pay = {});

// Every slip of a title, one a page in the given order; with dayLines each
// slip is followed by the page (or pages) of its day lines.
QList<Page> batchPages(const QList<reports::StoredStatement> &statements, bool dayLines, const QString &companyName,
                       const QString &companyInfo, const QDate &printed, const settings::PaySettings &pay = {});

// A file name for a report from its parts, with every character a file
// name cannot hold replaced: "給与一覧表_2024年4月分.csv".
QString suggestedFileName(const QStringList &parts, const QString &extension);

} // namespace pelmar::reports
