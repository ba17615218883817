// The pay reports laid out as tables: what their windows show and their
// pages print.
#include "reports/PayReports.h"

#include "calc/Formats.h"

namespace pelmar::reports {

namespace {

using pay::Deduction;
using pay::Yen;

const QString kMoney = QStringLiteral("#,##0");

QString money(Yen yen)
{
    return fmt::formatNumber(double(yen), kMoney);
}

QString money(const std::optional<Yen> &yen)
{
    return yen ? money(*yen) : QString();
}

QString shortDate(const QDate &date)
{
    return date.isValid() ? date.toString(QStringLiteral("yyyy/MM/dd")) : QString();
}

const QStringList kDeductionCaptions{QStringLiteral("健康保険"), QStringLiteral("介護保険"), QStringLiteral("厚生年金"),
                                     QStringLiteral("雇用保険"), QStringLiteral("所得税"),   QStringLiteral("住民税")};

// The pay cells of a statement: blank where it kept none.
QStringList payCells(const statements::StatementPay &pay)
{
    QStringList cells{pay.kept ? money(pay.commute) : QString(), money(pay.gross)};
    for (const std::optional<Yen> &d : pay.deductions)
        cells << (pay.kept ? money(d) : QString());
    cells << (pay.kept ? money(pay.other) : QString()) << (pay.kept ? money(pay.deductionTotal) : QString())
          << (pay.kept ? money(pay.netPay) : QString());
    return cells;
}

// With no statement that kept its pay, only the gross has a total.
QStringList payCells(const PayTotals &totals)
{
    const auto kept = [&totals](Yen value) {
        return totals.kept ? money(value) : QString();
    };
    QStringList cells{kept(totals.commute), money(totals.gross)};
    for (const Yen d : totals.deductions)
        cells << kept(d);
    cells << kept(totals.other) << kept(totals.deductionTotal) << kept(totals.netPay);
    return cells;
}

} // namespace

Table paySummaryTable(const PaySummary &summary, const QString &companyName, const QDate &printed)
{
    Table table = summaryTable(summary.summary, companyName, printed);
    // Today's columns narrower, to make room for the pay on one landscape page.
    const QList<int> widths{1500, 500, 800, 650, 650, 700, 800, 900, 650, 650, 1050};
    for (qsizetype i = 0; i < table.columns.size() && i < widths.size(); ++i)
        table.columns[i].width = widths[i];
    // Wide enough for a four-character caption at the smallest type.
    table.columns << Column{QStringLiteral("通勤手当"), 850} << Column{QStringLiteral("総支給額"), 950};
    for (const QString &caption : kDeductionCaptions)
        table.columns << Column{caption, 850};
    table.columns << Column{QStringLiteral("その他"), 700} << Column{QStringLiteral("控除合計"), 900}
                  << Column{QStringLiteral("差引支給額"), 1000};
    table.pointSize = 7.5;
    for (qsizetype i = 0; i < table.rows.size() && i < summary.pays.size(); ++i)
        table.rows[i] << payCells(summary.pays[i]);
    table.totals << payCells(summary.totals);
    if (const QString note = withoutNetPayNote(summary.totals); !note.isEmpty())
        table.notes.prepend(note);
    return table;
}

Table payLedgerTable(const PayLedger &payLedger, const QString &companyName, const QDate &printed)
{
    Table table = ledgerTable(payLedger.ledger, companyName, printed);
    table.subheadings[0] +=
        QStringLiteral("　　性別　") + (payLedger.sex.isEmpty() ? QStringLiteral("—") : payLedger.sex);
    table.pointSize = 8;
    // Hours and the items paid on the first page, 総支給額 and the
    // deductions on the second, each page with the statements' titles.
    table.columnsPerPage = 14;
    table.columns << Column{QStringLiteral("支給日"), 1100, Qt::AlignHCenter}
                  << Column{QStringLiteral("時間外手当"), 1200} << Column{QStringLiteral("深夜手当"), 1100}
                  << Column{QStringLiteral("休日手当"), 1100} << Column{QStringLiteral("通勤手当"), 1100}
                  << Column{QStringLiteral("総支給額"), 1300};
    for (const QString &caption : kDeductionCaptions)
        table.columns << Column{caption, 1100};
    table.columns << Column{QStringLiteral("その他"), 1000} << Column{QStringLiteral("控除合計"), 1200}
                  << Column{QStringLiteral("差引支給額"), 1400};
    const auto cells = [](const statements::StatementPay &p) {
        const auto kept = [&p](Yen value) {
            return p.kept ? money(value) : QString();
        };
        QStringList row{shortDate(p.payDate), kept(p.overtime), kept(p.night), kept(p.holiday)};
        return row + payCells(p);
    };
    for (qsizetype i = 0; i < table.rows.size() && i < payLedger.pays.size(); ++i)
        table.rows[i] << cells(payLedger.pays[i]);
    const PayTotals &t = payLedger.totals;
    const auto kept = [&t](Yen value) {
        return t.kept ? money(value) : QString();
    };
    table.totals << QString() << kept(t.overtime) << kept(t.night) << kept(t.holiday) << payCells(t);
    if (const QString note = withoutNetPayNote(t); !note.isEmpty())
        table.notes << note;
    return table;
}

Table withholdingTable(const WithholdingBook &book, const QString &companyName, const QDate &printed)
{
    Table table;
    table.heading = QStringLiteral("源泉徴収簿");
    table.subheadings = {QStringLiteral("氏名　") + book.name, QStringLiteral("%1年分（支給日の年）").arg(book.year)};
    table.companyName = companyName;
    table.printed = printed;
    table.columns = {{QStringLiteral("支給日"), 1400, Qt::AlignHCenter},
                     {QStringLiteral("タイトル"), 2000, Qt::AlignLeft, false},
                     {QStringLiteral("税区分"), 600, Qt::AlignHCenter},
                     {QStringLiteral("扶養"), 550},
                     {QStringLiteral("総支給額"), 1150},
                     {QStringLiteral("非課税通勤手当"), 1500},
                     {QStringLiteral("社会保険料"), 1150},
                     {QStringLiteral("課税対象額"), 1150},
                     {QStringLiteral("所得税"), 1050}};
    const auto tax = [](const statements::StatementPay &p) {
        return p.deductions[pay::index(Deduction::IncomeTax)];
    };
    for (const statements::StatementPay &p : book.rows)
        table.rows << QStringList{shortDate(p.payDate),
                                  p.title,
                                  taxColumnText(p.column),
                                  p.column == pay::TaxColumn::Kou ? QString::number(p.dependants) : QString(),
                                  money(p.gross),
                                  money(p.nonTaxableCommute),
                                  money(p.socialInsurance),
                                  money(p.taxable),
                                  money(tax(p))};
    const PayTotals &t = book.totals;
    table.totals = {QStringLiteral("年計"),
                    QString(),
                    QString(),
                    QString(),
                    money(t.gross),
                    money(t.nonTaxableCommute),
                    money(t.socialInsurance),
                    money(t.taxable),
                    money(t.deductions[pay::index(Deduction::IncomeTax)])};
    if (const QString note = untaxedNote(book); !note.isEmpty())
        table.notes << note;
    return table;
}

Table paymentTable(const PaymentSummary &summary, const QString &companyName, const QDate &printed)
{
    Table table;
    table.heading = QStringLiteral("源泉所得税 納付集計");
    table.subheadings = {QStringLiteral("%1年（支給日の月ごと）").arg(summary.year)};
    table.companyName = companyName;
    table.printed = printed;
    table.columns = {{QStringLiteral("支給月"), 3300, Qt::AlignLeft, false},
                     {QStringLiteral("人員"), 800},
                     {QStringLiteral("支給回数"), 1000},
                     {QStringLiteral("支給額"), 1700},
                     {QStringLiteral("所得税"), 1600},
                     {QStringLiteral("所得税なし"), 1200}};
    const auto cells = [](const PaymentMonth &m) {
        return QStringList{m.caption,
                           QString::number(m.people),
                           QString::number(m.payments),
                           money(m.paid),
                           money(m.tax),
                           m.untaxed ? QString::number(m.untaxed) : QString()};
    };
    for (const PaymentMonth &m : summary.months)
        table.rows << cells(m);
    table.rows << cells(summary.halves[0]) << cells(summary.halves[1]);
    table.totals = cells(summary.year_);
    table.notes << QStringLiteral("毎月納付する場合は支給月の翌月10日まで、納期の特例の承認を受けている場合は"
                                  "半年分をまとめて納付します。")
                << QStringLiteral("「支給額」は総支給額から非課税の通勤手当を除いた額です。")
                << QStringLiteral("「所得税なし」は所得税の記録がない支給の件数で、所得税の計に含みません。");
    return table;
}

Table cashTableLayout(const CashTable &cash, const QString &companyName, const QDate &printed)
{
    Table table;
    table.heading = QStringLiteral("金種表");
    table.subheadings = {cash.title};
    table.companyName = companyName;
    table.printed = printed;
    table.landscape = true;
    table.columns = {{QStringLiteral("氏名"), 2200, Qt::AlignLeft, false}, {QStringLiteral("差引支給額"), 1300}};
    for (const Yen d : pay::kDenominations)
        table.columns << Column{QStringLiteral("%1円").arg(money(d)), 800};
    table.columns << Column{QStringLiteral("備考"), 4000, Qt::AlignLeft, false};
    for (const CashRow &row : cash.rows) {
        QStringList cells{row.name, money(row.netPay)};
        for (const qint64 pieces : row.count.value_or(pay::CashCount{}).pieces)
            cells << (row.count ? QString::number(pieces) : QString());
        table.rows << (cells << row.reason);
    }
    table.totals = {QStringLiteral("合計"), money(cash.totalNet)};
    for (const qint64 pieces : cash.total.pieces)
        table.totals << QString::number(pieces);
    table.totals << (cash.counted < cash.rows.size()
                         ? QStringLiteral("%1 名を含みません").arg(cash.rows.size() - cash.counted)
                         : QString());
    table.notes << QStringLiteral("合計は封筒ごとに数えた枚数の和です（二千円札は使いません）。");
    return table;
}

} // namespace pelmar::reports
