#include "reports/ResidentTaxReport.h"

#include "calc/Formats.h"
#include "masters/ResidentTaxStore.h"
#include "payroll/StatementPay.h"

#include <QHash>
#include <QSet>

#include <map>

namespace pelmar::reports {

namespace {

const QString kNoMunicipality = QStringLiteral("（市区町村の登録なし）");

QString money(pay::Yen yen)
{
    return fmt::formatNumber(double(yen), QStringLiteral("#,##0"));
}

QString place(const ResidentTaxLine &line)
{
    return line.municipality.isEmpty() ? kNoMunicipality : line.municipality;
}

// 市区町村 by employee, one 年度 at a time as the pays ask for it.
class Municipalities {
public:
    explicit Municipalities(const QSqlDatabase &main) : m_main(main) {}
    std::optional<QString> of(const QString &name, int fiscalYear)
    {
        if (!m_years.contains(fiscalYear)) {
            const auto rows = employees::residentTaxesOfYear(m_main, fiscalYear);
            if (!rows)
                return std::nullopt;
            QHash<QString, QString> &year = m_years[fiscalYear];
            for (const employees::ResidentTaxRow &row : *rows)
                year.insert(row.name, row.year.municipality);
        }
        return m_years.value(fiscalYear).value(name);
    }

private:
    const QSqlDatabase &m_main;
    QHash<int, QHash<QString, QString>> m_years;
};

} // namespace

std::optional<ResidentTaxPayment> residentTaxPayment(const QSqlDatabase &main, int year)
{
    const auto pays = statements::statementPaysOfYear(main, year);
    if (!pays)
        return std::nullopt;
    Municipalities municipalities(main);
    struct Sum {
        QSet<QString> people;
        pay::Yen amount = 0;
    };
    std::map<std::pair<int, QString>, Sum> sums;
    for (const statements::StatementPay &pay : *pays) {
        const auto tax = pay.deductions[pay::index(pay::Deduction::ResidentTax)];
        if (!pay.kept || !pay.payDate.isValid() || pay.payDate.year() != year || !tax || *tax == 0)
            continue;
        const auto municipality = municipalities.of(pay.name, pay::fiscalYearOf(pay.payDate));
        if (!municipality)
            return std::nullopt;
        Sum &sum = sums[{pay.payDate.month(), *municipality}];
        sum.people.insert(pay.name);
        sum.amount += *tax;
    }
    ResidentTaxPayment payment;
    payment.year = year;
    for (const auto &[key, sum] : sums) {
        const QDate due = QDate(year, key.first, 1).addMonths(1).addDays(9);
        payment.lines << ResidentTaxLine{key.first, key.second, int(sum.people.size()), sum.amount, due};
        payment.total += sum.amount;
    }
    return payment;
}

QList<csv::Record> residentTaxRecords(const ResidentTaxPayment &payment)
{
    QList<csv::Record> records{QStringLiteral("年 支給月 市区町村 人員 住民税 納期限").split(u' ')};
    for (const ResidentTaxLine &line : payment.lines)
        records << csv::Record{QString::number(payment.year), QString::number(line.month),
                               csv::text(place(line)),        QString::number(line.people),
                               QString::number(line.amount),  line.due.toString(QStringLiteral("yyyy/MM/dd"))};
    return records;
}

Table residentTaxTable(const ResidentTaxPayment &payment, const QString &companyName, const QDate &printed)
{
    Table table;
    table.heading = QStringLiteral("住民税 納付集計");
    table.subheadings = {QStringLiteral("%1年（支給日の月・市区町村ごと）").arg(payment.year)};
    table.companyName = companyName;
    table.printed = printed;
    table.columns = {{QStringLiteral("支給月"), 900, Qt::AlignLeft, false},
                     {QStringLiteral("市区町村"), 3200, Qt::AlignLeft, false},
                     {QStringLiteral("人員"), 800},
                     {QStringLiteral("住民税"), 1600},
                     {QStringLiteral("納期限"), 1500}};
    for (const ResidentTaxLine &line : payment.lines)
        table.rows << QStringList{QStringLiteral("%1月").arg(line.month), place(line), QString::number(line.people),
                                  money(line.amount), line.due.toString(QStringLiteral("yyyy/MM/dd"))};
    table.totals = {QStringLiteral("年計"), QString(), QString(), money(payment.total), QString()};
    table.notes << QStringLiteral("給与から差し引いた住民税（特別徴収）は、支給月の翌月10日までに"
                                  "各市区町村へ納めます（納期の特例の承認がある場合は6月・12月）。")
                << QStringLiteral("市区町村は、給与設定の「住民税（年度別）」に登録したものです。");
    return table;
}

} // namespace pelmar::reports
