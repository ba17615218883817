#include "payroll/StatementPay.h"
#include "payroll/StatementStore.h"
#include "store/Database.h"

#include "../support/TestData.h"

#include <QTest>

using namespace pelmar;
using statements::StatementPay;

namespace {

// A pay as stored, paid on `date`, its deductions given in order (health,
// care, pension, employment, tax, resident; nothing where none was computed).
StatementPay payOf(const QString &name, const QString &title, const QDate &date, pay::Deductions deductions,
                   std::array<bool, pay::kDeductionCount> typed = {})
{
    StatementPay pay;
    pay.name = name;
    pay.title = title;
    pay.kept = true;
    pay.payDate = date;
    pay.basic = 150000;
    pay.gross = 150000;
    pay.deductions = deductions;
    pay.overridden = typed;
    pay.column = pay::TaxColumn::Kou;
    return pay;
}

// What the reports read of a pay: who, when, each deduction ("-" for none) and the typed ones.
QString shown(const StatementPay &pay)
{
    QStringList deductions;
    for (int d = 0; d < pay::kDeductionCount; ++d)
        deductions << (pay.deductions[d] ? QString::number(*pay.deductions[d]) : QStringLiteral("-"))
                + (pay.overridden[d] ? QStringLiteral("*") : QString());
    return QStringLiteral("%1 %2 %3 %4 %5")
        .arg(pay.name, pay.title, pay.payDate.toString(QStringLiteral("yyyyMMdd")), deductions.join(u' '),
             statements::columnName(pay.column));
}

QStringList shown(const std::optional<QList<StatementPay>> &pays)
{
    QStringList lines;
    if (!pays)
        return {QStringLiteral("<read failed>")};
    for (const StatementPay &pay : *pays)
        lines << shown(pay);
    return lines;
}

} // namespace

// The stored pay reads back as it was written, one statement's row apart
// from every other's, and goes with its statement.
class TestStatementPay : public QObject {
    Q_OBJECT
private slots:
    void paysReadBackByStatementTitleAndYear();
    void payGoesWithItsStatement();
    void earlierLinesReachTheNightBeforeTheWeek();
};

void TestStatementPay::paysReadBackByStatementTitleAndYear()
{
    test::TestDataFolder data;
    QSqlDatabase main = data.mainDb();
    const std::optional<pay::Yen> none;
    // December's work paid in January counts in the year it is paid; a tax
    // that could not be computed stays empty, not 0; a typed one is marked.
    QVERIFY(statements::writeStatementPay(
        main, payOf(QStringLiteral("O'Brien"), QStringLiteral("12月分"), QDate(2026, 1, 25), {0, 0, 0, 750, none, 0})));
    QVERIFY(statements::writeStatementPay(main,
                                          payOf(QStringLiteral("山田"), QStringLiteral("12月分"), QDate(2026, 1, 23),
                                                {5000, 0, 9150, 750, 1200, 2000},
                                                {false, false, false, false, true, true})));
    QVERIFY(statements::writeStatementPay(
        main, payOf(QStringLiteral("山田"), QStringLiteral("11月分"), QDate(2025, 12, 25), {0, 0, 0, 0, 0, 0})));
    // Written again: the statement's row is replaced, not added to.
    StatementPay again =
        payOf(QStringLiteral("O'Brien"), QStringLiteral("12月分"), QDate(2026, 1, 25), {0, 0, 0, 750, 500, 0});
    again.column = pay::TaxColumn::None;
    QVERIFY(statements::writeStatementPay(main, again));

    QCOMPARE(shown(statements::statementPaysOfYear(main, 2026)),
             (QStringList{"山田 12月分 20260123 5000 0 9150 750 1200* 2000* 甲",
                          "O'Brien 12月分 20260125 0 0 0 750 500 0 "}));
    QCOMPARE(shown(statements::statementPaysOfYear(main, 2025)), (QStringList{"山田 11月分 20251225 0 0 0 0 0 0 甲"}));
    QCOMPARE(shown(statements::statementPaysOfTitle(main, QStringLiteral("12月分"))),
             (QStringList{"O'Brien 12月分 20260125 0 0 0 750 500 0 ",
                          "山田 12月分 20260123 5000 0 9150 750 1200* 2000* 甲"}));
    const auto gap =
        payOf(QStringLiteral("O'Brien"), QStringLiteral("1月分"), QDate(2027, 2, 25), {0, 0, 0, 0, none, 0});
    QVERIFY(statements::writeStatementPay(main, gap));
    const auto read = statements::readStatementPay(main, QStringLiteral("O'Brien"), QStringLiteral("1月分"));
    QVERIFY(read && *read && (*read)->kept);
    QCOMPARE(shown(**read), QStringLiteral("O'Brien 1月分 20270225 0 0 0 0 - 0 甲"));
    const auto missing = statements::readStatementPay(main, QStringLiteral("O'Brien"), QStringLiteral("2月分"));
    QVERIFY(missing && !*missing);
}

void TestStatementPay::payGoesWithItsStatement()
{
    test::TestDataFolder data;
    QSqlDatabase main = data.mainDb();
    QSqlDatabase work = data.workDb();
    const statements::Header header{QStringLiteral("O'Brien"), QStringLiteral("4月分")};
    const StatementPay pay = payOf(QString(), QString(), QDate(2026, 5, 25), {0, 0, 0, 0, 0, 0});
    // Saved as the page saves: the lines of w明細 with the pay it shows.
    const auto savePage = [&](const statements::Header &h, const std::optional<StatementPay> &given) {
        statements::StatementToStore statement;
        statement.header = h;
        statement.lines = statements::completeLines(work).value();
        statement.payFromLines = false;
        statement.pay = given;
        return statements::save(main, {statement}).ok();
    };
    QVERIFY(savePage(header, pay));
    QVERIFY(savePage({QStringLiteral("O"), QStringLiteral("4月分")}, pay));
    const auto stored = [&] {
        return test::rows(main, QStringLiteral("select 氏名, タイトル from 時給支給 order by 氏名"));
    };
    QCOMPARE(stored(), (test::Rows{{"O", "4月分"}, {"O'Brien", "4月分"}}));
    // Saved again without a pay (a statement from before pay was kept): the
    // earlier pay no longer holds for its lines and goes.
    QVERIFY(savePage(header, std::nullopt));
    QCOMPARE(stored(), (test::Rows{{"O", "4月分"}}));
    QVERIFY(savePage(header, pay));
    QVERIFY(statements::remove(main, QStringLiteral("O"), QStringLiteral("4月分")));
    QCOMPARE(stored(), (test::Rows{{"O'Brien", "4月分"}}));
    // Saved without the page (punches made into a statement): the pay is
    // worked out from the lines given, not left as it was for the old lines.
    statements::StatementToStore imported;
    imported.header = header;
    imported.lines = {
        QVariantList{"20260401", "0900", "1800", 1.0, 8.0, 1000.0, QVariant(), 8000.0, 0.0, 0.0, 0.0, 0.0, 0.0}};
    QVERIFY(statements::save(main, {imported}).ok());
    QCOMPARE(
        test::rows(main, QStringLiteral("select 支給日, 総支給額, 差引支給額 from 時給支給 where 氏名 = 'O''Brien'")),
        (test::Rows{{"20260525", "8000", "8000"}}));
    // The bulk delete takes the pay and the payroll details with everything else.
    QVERIFY(execBound(main, QStringLiteral("insert into 従業員給与 (氏名, 税区分) values ('O''Brien', '甲')")));
    QVERIFY(statements::removeEverything(main));
    QCOMPARE(stored(), test::Rows{});
    QCOMPARE(test::rowCount(main, QStringLiteral("従業員給与")), 0);
}

// A week from Monday after a rest day on Sunday: the Sunday night shift of
// the statement before runs into Monday, whose 8 hours it shares.
void TestStatementPay::earlierLinesReachTheNightBeforeTheWeek()
{
    test::TestDataFolder data;
    QSqlDatabase main = data.mainDb();
    const auto line = [](const char *date, const char *start, const char *end, double hours) {
        return QVariantList{date, start, end, QVariant(), hours, 1000.0, QVariant(), hours * 1000,
                            0.0,  0.0,   0.0, 0.0,        0.0};
    };
    QVERIFY(statements::save(main, {{{QStringLiteral("阿部"), QStringLiteral("11月分")},
                                     {line("20261129", "0900", "1300", 4), line("20261206", "2200", "0700", 9)}}})
                .ok());
    const QList<premium::DayLine> lines{{1, "20261207", "0900", "1300", QVariant(), 4.0, 1000.0, QVariant()}};
    QStringList earlier;
    for (const premium::DayLine &l : statements::earlierLines(main, QStringLiteral("阿部"), QStringLiteral("12月分"),
                                                              lines, Qt::Monday))
        earlier << l.date.toString() + l.start.toString();
    QCOMPARE(earlier, QStringList{QStringLiteral("202612062200")});
}

QTEST_GUILESS_MAIN(TestStatementPay)
#include "tst_statementpay.moc"
