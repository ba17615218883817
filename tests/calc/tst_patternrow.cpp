#include "calc/PatternRow.h"

#include <QTest>

using namespace pelmar;
using namespace pelmar::patternrow;

namespace {

Row rowOf(std::initializer_list<std::pair<int, QVariant>> cells)
{
    Row row;
    row[kNo] = 1;
    row[kType] = QStringLiteral("A");
    for (const auto &[column, value] : cells)
        row[column] = value;
    return row;
}

QString describe(const QVariant &v)
{
    return v.isNull() ? QStringLiteral("<null>") : v.toString();
}

} // namespace

Q_DECLARE_METATYPE(pelmar::patternrow::Row)

class TestPatternRow : public QObject {
    Q_OBJECT
private slots:
    void afterEdit_data();
    void afterEdit();
};

void TestPatternRow::afterEdit_data()
{
    QTest::addColumn<Row>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<Row>("expected");
    QTest::addColumn<int>("refusal");
    QTest::addColumn<int>("refusedColumn");

    const auto t = [](const char *s) {
        return QVariant(QString::fromLatin1(s));
    };
    const int none = int(Refusal::None);
    const int unreadable = int(Refusal::Unreadable);
    const int breakRange = int(Refusal::BreakOutOfRange);

    QTest::newRow("day with break") << rowOf({{kStart, t("0900")}, {kEnd, t("1800")}, {kBreak, t("1")}}) << int(kBreak)
                                    << rowOf({{kStart, t("0900")}, {kEnd, t("1800")}, {kBreak, 1.0}, {kWorked, 8.0}})
                                    << none << -1;
    QTest::newRow("full-width times") << rowOf({{kStart, QStringLiteral("２２００")}, {kEnd, t("0600")}}) << int(kStart)
                                      << rowOf({{kStart, t("2200")}, {kEnd, t("0600")}, {kWorked, 8.0}}) << none << -1;
    QTest::newRow("full-width break") << rowOf(
        {{kStart, t("0900")}, {kEnd, t("1800")}, {kBreak, QStringLiteral("０．５")}})
                                      << int(kBreak)
                                      << rowOf({{kStart, t("0900")}, {kEnd, t("1800")}, {kBreak, 0.5}, {kWorked, 8.5}})
                                      << none << -1;
    QTest::newRow("arabic-indic time is refused")
        << rowOf({{kStart, QStringLiteral("٠٩٠٠")}, {kEnd, t("1800")}, {kWorked, 4.0}}) << int(kStart)
        << rowOf({{kEnd, t("1800")}, {kWorked, 4.0}}) << unreadable << int(kStart);
    QTest::newRow("an exponent as a break is refused")
        << rowOf({{kStart, t("0900")}, {kEnd, t("1800")}, {kBreak, t("1e0")}}) << int(kBreak)
        << rowOf({{kStart, t("0900")}, {kEnd, t("1800")}, {kWorked, 9.0}}) << unreadable << int(kBreak);
    QTest::newRow("a time typed with a colon")
        << rowOf({{kStart, t("9:30")}, {kEnd, t("1800")}}) << int(kStart)
        << rowOf({{kStart, t("0930")}, {kEnd, t("1800")}, {kWorked, 8.5}}) << none << -1;
    QTest::newRow("a break beyond a day, without times")
        << rowOf({{kBreak, t("25")}}) << int(kBreak) << rowOf({}) << int(Refusal::BreakOutOfRange) << int(kBreak);
    QTest::newRow("working hours beyond a day")
        << rowOf({{kWorked, t("25")}}) << int(kWorked) << rowOf({}) << int(Refusal::OutOfRange) << int(kWorked);
    QTest::newRow("a working time typed by hand stays")
        << rowOf({{kStart, t("0900")}, {kEnd, t("1800")}, {kWorked, t("7.5")}}) << int(kWorked)
        << rowOf({{kStart, t("0900")}, {kEnd, t("1800")}, {kWorked, 7.5}}) << none << -1;
    QTest::newRow("45 minutes typed as a break on a one-hour shift")
        << rowOf({{kStart, t("0900")}, {kEnd, t("1000")}, {kBreak, t("45")}, {kWorked, 1.0}}) << int(kBreak)
        << rowOf({{kStart, t("0900")}, {kEnd, t("1000")}, {kWorked, 1.0}}) << breakRange << int(kBreak);
    QTest::newRow("a negative break") << rowOf({{kStart, t("0900")}, {kEnd, t("1800")}, {kBreak, t("-1")}})
                                      << int(kBreak) << rowOf({{kStart, t("0900")}, {kEnd, t("1800")}, {kWorked, 9.0}})
                                      << breakRange << int(kBreak);
    QTest::newRow("an end that leaves the break too long empties the break")
        << rowOf({{kStart, t("0900")}, {kEnd, t("0930")}, {kBreak, 1.0}, {kWorked, 8.0}}) << int(kEnd)
        << rowOf({{kStart, t("0900")}, {kEnd, t("0930")}, {kWorked, 0.5}}) << breakRange << int(kBreak);
    QTest::newRow("negative working hours") << rowOf({{kStart, t("0900")}, {kWorked, t("-8")}}) << int(kWorked)
                                            << rowOf({{kStart, t("0900")}}) << int(Refusal::Negative) << int(kWorked);
}

void TestPatternRow::afterEdit()
{
    QFETCH(Row, row);
    QFETCH(int, column);
    QFETCH(Row, expected);
    QFETCH(int, refusal);
    QFETCH(int, refusedColumn);
    const RowOutcome outcome = completeRowAfterEdit(row, column);
    for (int c = 0; c < kColumnCount; ++c) {
        QVERIFY2(worktime::sameValue(outcome.row[c], expected[c]),
                 qPrintable(QStringLiteral("column %1: got %2, want %3")
                                .arg(c)
                                .arg(describe(outcome.row[c]), describe(expected[c]))));
    }
    QCOMPARE(int(outcome.refusal), refusal);
    QCOMPARE(outcome.refusedColumn, refusedColumn);
    // The older entry point gives the same row.
    QCOMPARE(completeAfterEdit(row, column), outcome.row);
}

QTEST_GUILESS_MAIN(TestPatternRow)
#include "tst_patternrow.moc"
