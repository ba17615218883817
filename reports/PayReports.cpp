#include "reports/PayReports.h"

#include "calc/Formats.h"
#include "masters/EmployeePayroll.h"
#include "store/Query.h"

#include <QSet>

namespace pelmar::reports {

namespace {

using pay::Yen;

// The deductions in the order every report shows them.
const QStringList kDeductionNames{QStringLiteral("健康保険"), QStringLiteral("介護保険"), QStringLiteral("厚生年金"),
                                  QStringLiteral("雇用保険"), QStringLiteral("所得税"),   QStringLiteral("住民税")};

QString yen(Yen value)
{
    return QString::number(value);
}

QString yen(const std::optional<Yen> &value)
{
    return value ? QString::number(*value) : QString();
}

// The pay columns of a statement's record; blank where the statement kept none.
csv::Record deductionFields(const statements::StatementPay &pay)
{
    csv::Record fields;
    for (const std::optional<Yen> &d : pay.deductions)
        fields << (pay.kept ? yen(d) : QString());
    fields << (pay.kept ? yen(pay.other) : QString()) << (pay.kept ? yen(pay.deductionTotal) : QString())
           << (pay.kept ? yen(pay.netPay) : QString());
    return fields;
}

csv::Record deductionFields(const PayTotals &totals)
{
    csv::Record fields;
    for (const Yen d : totals.deductions)
        fields << (totals.kept ? yen(d) : QString());
    for (const Yen sum : {totals.other, totals.deductionTotal, totals.netPay})
        fields << (totals.kept ? yen(sum) : QString());
    return fields;
}

QString dateField(const QDate &date)
{
    return date.isValid() ? date.toString(QStringLiteral("yyyy/MM/dd")) : QString();
}

} // namespace

void PayTotals::add(const statements::StatementPay &pay, const QString &which)
{
    gross += pay.gross;
    adjustment += pay.adjustment;
    if (!pay.kept) {
        withoutNetPay << which;
        return;
    }
    ++kept;
    basic += pay.basic;
    overtime += pay.overtime;
    night += pay.night;
    holiday += pay.holiday;
    commute += pay.commute;
    nonTaxableCommute += pay.nonTaxableCommute;
    for (int i = 0; i < pay::kDeductionCount; ++i)
        deductions[i] += pay.deductions[i].value_or(0);
    other += pay.other;
    socialInsurance += pay.socialInsurance.value_or(0);
    taxable += pay.taxable.value_or(0);
    // A statement with a deduction missing has no 控除合計 or 差引支給額:
    // those totals leave it out, and say so.
    if (pay.deductionTotal && pay.netPay) {
        deductionTotal += *pay.deductionTotal;
        netPay += *pay.netPay;
    } else {
        withoutNetPay << which;
    }
}

QString withoutNetPayNote(const PayTotals &totals)
{
    return totals.withoutNetPay.isEmpty() || !totals.kept
        ? QString()
        : kWithoutNetPayCaption + QStringLiteral("：") + totals.withoutNetPay.join(QStringLiteral("、"));
}

QString untaxedNote(const WithholdingBook &book)
{
    return book.untaxed > 0
        ? QStringLiteral("所得税の記録がない支給 %1 件は、所得税の年計に含みません。").arg(book.untaxed)
        : QString();
}

std::optional<QList<statements::StatementPay>> paysOf(const QSqlDatabase &main,
                                                      const QList<StoredStatement> &statements)
{
    QList<statements::StatementPay> pays;
    for (const StoredStatement &s : statements) {
        const auto read = statements::readStatementPay(main, s.header.name, s.header.title);
        if (!read)
            return std::nullopt;
        statements::StatementPay pay = read->value_or(statements::StatementPay{});
        if (!read->has_value() || !pay.kept) {
            pay = statements::StatementPay{};
            pay.name = s.header.name;
            pay.title = s.header.title;
            pay.adjustment = pay::monthYen(amountOf(s.header.adjustment)).value_or(0);
            pay.gross = pay::monthYen(amountOf(s.header.total)).value_or(0);
        }
        pays << pay;
    }
    return pays;
}

std::optional<PaySummary> paySummary(const QSqlDatabase &main, const QString &title)
{
    std::optional<Summary> summary = monthSummary(main, title);
    const auto statements = statementsOfTitle(main, title, false);
    if (!summary || !statements)
        return std::nullopt;
    const auto pays = paysOf(main, *statements);
    if (!pays)
        return std::nullopt;
    PaySummary result{*summary, *pays, {}};
    for (const statements::StatementPay &pay : *pays)
        result.totals.add(pay, pay.name);
    return result;
}

QList<csv::Record> paySummaryRecords(const PaySummary &summary)
{
    QList<csv::Record> records = summaryRecords(summary.summary);
    records[0] << QStringLiteral("通勤手当") << QStringLiteral("総支給額") << kDeductionNames
               << QStringLiteral("その他") << QStringLiteral("控除合計") << QStringLiteral("差引支給額");
    for (qsizetype i = 0; i < summary.pays.size(); ++i) {
        const statements::StatementPay &pay = summary.pays[i];
        records[i + 1] << (pay.kept ? yen(pay.commute) : QString()) << yen(pay.gross) << deductionFields(pay);
    }
    const qsizetype totalsAt = summary.pays.size() + 1;
    records[totalsAt] << (summary.totals.kept ? yen(summary.totals.commute) : QString()) << yen(summary.totals.gross)
                      << deductionFields(summary.totals);
    // A statement left out of the deductions' totals is named below the
    // table, as on paper, so that a 0 in the totals is never taken for its tax.
    if (const QString note = withoutNetPayNote(summary.totals); !note.isEmpty())
        records << csv::Record{csv::text(note)};
    return records;
}

std::optional<PayLedger> payLedger(const QSqlDatabase &main, const QString &name, int year)
{
    std::optional<Ledger> ledger = wageLedger(main, name, year);
    if (!ledger)
        return std::nullopt;
    PayLedger result;
    result.ledger = *ledger;
    const auto payroll = employees::readEmployeePayroll(main, name);
    if (!payroll)
        return std::nullopt;
    if (*payroll)
        result.sex = (*payroll)->sex;
    for (const LedgerRow &row : ledger->rows) {
        const auto read = statements::readStatementPay(main, name, row.title);
        if (!read)
            return std::nullopt;
        statements::StatementPay pay = read->value_or(statements::StatementPay{});
        if (!read->has_value() || !pay.kept) {
            pay = statements::StatementPay{};
            pay.name = name;
            pay.title = row.title;
            pay.adjustment = pay::monthYen(row.adjustment).value_or(0);
            pay.gross = pay::monthYen(row.amount).value_or(0);
        }
        result.totals.add(pay, row.title);
        result.pays << pay;
    }
    return result;
}

QList<csv::Record> payLedgerRecords(const PayLedger &ledger)
{
    QList<csv::Record> records = ledgerRecords(ledger.ledger);
    records[0] << QStringLiteral("性別") << QStringLiteral("支給日") << QStringLiteral("時間外手当")
               << QStringLiteral("深夜手当") << QStringLiteral("休日手当") << QStringLiteral("通勤手当")
               << QStringLiteral("総支給額") << kDeductionNames << QStringLiteral("その他")
               << QStringLiteral("控除合計") << QStringLiteral("差引支給額");
    for (qsizetype i = 0; i < ledger.pays.size(); ++i) {
        const statements::StatementPay &pay = ledger.pays[i];
        const auto kept = [&pay](Yen value) {
            return pay.kept ? yen(value) : QString();
        };
        records[i + 1] << csv::text(ledger.sex) << dateField(pay.payDate) << kept(pay.overtime) << kept(pay.night)
                       << kept(pay.holiday) << kept(pay.commute) << yen(pay.gross) << deductionFields(pay);
    }
    return records;
}

std::optional<QList<int>> payYears(const QSqlDatabase &main)
{
    Query query(main);
    if (!query.run(QStringLiteral("select distinct substr(支給日, 1, 4) as year from 時給支給"
                                  " where 支給日 is not null order by year desc")))
        return std::nullopt;
    return yearsRead(query);
}

std::optional<WithholdingBook> withholdingBook(const QSqlDatabase &main, const QString &name, int year)
{
    const auto pays = statements::statementPaysOfYear(main, year);
    if (!pays)
        return std::nullopt;
    WithholdingBook book;
    book.name = name;
    book.year = year;
    for (const statements::StatementPay &pay : *pays) {
        if (pay.name != name || !pay.kept)
            continue;
        book.rows << pay;
        book.totals.add(pay, pay.title);
        if (!pay.deductions[pay::index(pay::Deduction::IncomeTax)])
            ++book.untaxed;
    }
    return book;
}

QList<csv::Record> withholdingRecords(const WithholdingBook &book)
{
    QList<csv::Record> records{QStringLiteral("氏名 支給日 タイトル 税区分 扶養親族等の数 総支給額 非課税通勤手当 "
                                              "社会保険料 課税対象額 所得税")
                                   .split(u' ')};
    for (const statements::StatementPay &pay : book.rows)
        records << csv::Record{csv::text(book.name),
                               dateField(pay.payDate),
                               csv::text(pay.title),
                               taxColumnText(pay.column),
                               QString::number(pay.dependants),
                               yen(pay.gross),
                               yen(pay.nonTaxableCommute),
                               yen(pay.socialInsurance),
                               yen(pay.taxable),
                               yen(pay.deductions[pay::index(pay::Deduction::IncomeTax)])};
    const PayTotals &t = book.totals;
    records << csv::Record{csv::text(book.name),
                           QStringLiteral("%1年計").arg(book.year),
                           QString(),
                           QString(),
                           QString(),
                           yen(t.gross),
                           yen(t.nonTaxableCommute),
                           yen(t.socialInsurance),
                           yen(t.taxable),
                           yen(t.deductions[pay::index(pay::Deduction::IncomeTax)])};
    if (const QString note = untaxedNote(book); !note.isEmpty())
        records << csv::Record{csv::text(note)};
    return records;
}

QString taxColumnText(pay::TaxColumn column)
{
    const QString name = statements::columnName(column);
    return name.isEmpty() ? QStringLiteral("なし") : name;
}

std::optional<PaymentSummary> paymentSummary(const QSqlDatabase &main, int year)
{
    const auto pays = statements::statementPaysOfYear(main, year);
    if (!pays)
        return std::nullopt;
    PaymentSummary summary;
    summary.year = year;
    QList<QSet<QString>> people(12);
    for (int m = 1; m <= 12; ++m)
        summary.months << PaymentMonth{QStringLiteral("%1月").arg(m)};
    for (const statements::StatementPay &pay : *pays) {
        if (!pay.kept || !pay.payDate.isValid() || pay.payDate.year() != year)
            continue;
        const int m = pay.payDate.month() - 1;
        PaymentMonth &month = summary.months[m];
        people[m].insert(pay.name);
        ++month.payments;
        month.paid += pay.gross - pay.nonTaxableCommute;
        if (const auto tax = pay.deductions[pay::index(pay::Deduction::IncomeTax)])
            month.tax += *tax;
        else
            ++month.untaxed;
    }
    summary.halves = {PaymentMonth{QStringLiteral("1〜6月計（7月10日納付）")},
                      PaymentMonth{QStringLiteral("7〜12月計（翌年1月20日納付）")}};
    summary.year_ = PaymentMonth{QStringLiteral("年計")};
    QList<QSet<QString>> halfPeople(2);
    QSet<QString> yearPeople;
    for (int m = 0; m < 12; ++m) {
        summary.months[m].people = int(people[m].size());
        for (PaymentMonth *sum : {&summary.halves[m / 6], &summary.year_}) {
            sum->payments += summary.months[m].payments;
            sum->paid += summary.months[m].paid;
            sum->tax += summary.months[m].tax;
            sum->untaxed += summary.months[m].untaxed;
        }
        halfPeople[m / 6] += people[m];
        yearPeople += people[m];
    }
    summary.halves[0].people = int(halfPeople[0].size());
    summary.halves[1].people = int(halfPeople[1].size());
    summary.year_.people = int(yearPeople.size());
    return summary;
}

QList<csv::Record> paymentRecords(const PaymentSummary &summary)
{
    QList<csv::Record> records{QStringLiteral("年 区分 人員 支給回数 支給額 所得税 所得税のない支給").split(u' ')};
    const auto record = [&summary](const PaymentMonth &m) {
        return csv::Record{QString::number(summary.year), csv::text(m.caption), QString::number(m.people),
                           QString::number(m.payments),   yen(m.paid),         yen(m.tax),
                           QString::number(m.untaxed)};
    };
    for (const PaymentMonth &m : summary.months)
        records << record(m);
    records << record(summary.halves[0]) << record(summary.halves[1]) << record(summary.year_);
    return records;
}

std::optional<CashTable> cashTable(const QSqlDatabase &main, const QString &title)
{
    const auto statements = statementsOfTitle(main, title, false);
    if (!statements)
        return std::nullopt;
    const auto pays = paysOf(main, *statements);
    if (!pays)
        return std::nullopt;
    CashTable table;
    table.title = title;
    for (const statements::StatementPay &pay : *pays) {
        CashRow row{pay.name, pay.kept ? pay.netPay : std::nullopt, std::nullopt, QString()};
        if (!row.netPay)
            row.reason = kNoNetPay;
        else if (!(row.count = pay::cashBreakdown(*row.netPay)))
            row.reason = kNegativeNetPay;
        if (row.count) {
            table.total += *row.count;
            table.totalNet += *row.netPay;
            ++table.counted;
        }
        table.rows << row;
    }
    return table;
}

QList<csv::Record> cashRecords(const CashTable &table)
{
    csv::Record header{QStringLiteral("氏名"), QStringLiteral("差引支給額")};
    for (const Yen d : pay::kDenominations)
        header << QStringLiteral("%1円").arg(d);
    header << QStringLiteral("備考");
    QList<csv::Record> records{header};
    for (const CashRow &row : table.rows) {
        csv::Record record{csv::text(row.name), yen(row.netPay)};
        for (qsizetype i = 0; i < qsizetype(pay::kDenominations.size()); ++i)
            record << (row.count ? QString::number(row.count->pieces[i]) : QString());
        records << (record << csv::text(row.reason));
    }
    csv::Record totals{QStringLiteral("合計"), yen(table.totalNet)};
    for (const qint64 pieces : table.total.pieces)
        totals << QString::number(pieces);
    totals << (table.counted < table.rows.size()
                   ? csv::text(QStringLiteral("%1 名を含みません").arg(table.rows.size() - table.counted))
                   : QString());
    return records << totals;
}

} // namespace pelmar::reports
