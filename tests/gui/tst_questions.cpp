// The questions asked before anything the user did not mean is kept: a save
// that would change the employee master or pay the same days twice, a new
// employee's wage over lines already typed, クリア over unsaved lines; and
// the backup taken at close after a save.
#include "app/FrmPelmar.h"
#include "calc/DetailLine.h"
#include "masters/EmployeePage.h"
#include "statements/StatementPage.h"
#include "store/Backup.h"
#include "store/Database.h"
#include "widgets/DataGrid.h"
#include "widgets/NumberBox.h"

#include "../support/WindowFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace pelmar;
using test::Rows;

class TestQuestions : public test::WindowFixture {
    Q_OBJECT
private slots:
    void saveQuestions_data();
    void saveQuestions();
    void clearAsksOverUnsavedLines_data();
    void clearAsksOverUnsavedLines();
    void newEmployeeWageForTypedLines_data();
    void newEmployeeWageForTypedLines();
    void typedShiftType_data();
    void typedShiftType();

private:
    void seed() override;
};

void TestQuestions::seed()
{
    // 山田's November, already paid: the 2nd to the 5th.
    for (const char *sql : {"insert into 勤務形態マスタ values (1, 'A', '0900', '1800', 1, 8)",
                            "insert into 勤務形態マスタ values (2, 'B', '1700', '2200', 0, 5)",
                            "insert into 従業員 values (1, '佐藤 花子', 1000, 'A', '0900', '1800', 1, 8)",
                            "insert into 従業員 values (2, '山田', 1200, 'A', '0900', '1800', 1, 8)",
                            "insert into 時給ヘッダ (氏名, タイトル, 勤務タイプ, 時給, 合計)"
                            " values ('山田', '2026年11月分', 'A', 1200, 19200)",
                            "insert into 時給明細 (氏名, タイトル, 行番号, 日付, 時給, 金額)"
                            " values ('山田', '2026年11月分', 1, '20261102', 1200, 9600)",
                            "insert into 時給明細 (氏名, タイトル, 行番号, 日付, 時給, 金額)"
                            " values ('山田', '2026年11月分', 1, '20261105', 1200, 9600)"})
        QVERIFY2(execBound(mainDb(), QString::fromUtf8(sql)), sql);
}

void TestQuestions::saveQuestions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::addColumn<double>("wage");
    QTest::addColumn<QString>("patternType");
    QTest::addColumn<QString>("date");
    QTest::addColumn<bool>("yes"); // the answer to the last question
    // Each question as "category/subKey", with a piece its subject must hold.
    QTest::addColumn<QStringList>("questions");
    QTest::addColumn<QStringList>("named");
    QTest::addColumn<Rows>("master");
    QTest::addColumn<Rows>("titles");

    const Rows master{{"1", "佐藤 花子", "1000", "A"}, {"2", "山田", "1200", "A"}};
    const Rows november{{"山田", "2026年11月分"}};

    // A name with a space missing is a slip for the registered one: No
    // saves nothing and adds nobody.
    QTest::newRow("look-alike name, No") << "佐藤花子"
                                         << "2026年12月分" << 1000.0 << "A"
                                         << "20261201" << false << QStringList{"登録/新規従業員類似確認"}
                                         << QStringList{"佐藤 花子"} << master << november;
    QTest::newRow("look-alike name, Yes")
        << "佐藤花子"
        << "2026年12月分" << 1000.0 << "A"
        << "20261201" << true << QStringList{"登録/新規従業員類似確認", "給与/所得税なし確認", "登録/確認"}
        << QStringList{"佐藤 花子", "「未設定」", ""}
        << master + Rows{{"3", "佐藤花子", "1000", "A"}} << november + Rows{{"佐藤花子", "2026年12月分"}};
    // A wage other than the master's is saved with the statement; the master
    // takes it only on Yes, and never the statement's shift type (Yes: the
    // employee master's tests).
    QTest::newRow("other wage and shift type, No")
        << "山田"
        << "2026年12月分" << 1300.0 << "B"
        << "20261201" << false << QStringList{"給与/所得税なし確認", "登録/確認", "登録/時給変更確認"}
        << QStringList{"山田", "", "1,300"} << master
        << november + Rows{{"山田", "2026年12月分"}};
    // Days already paid under another title: named, and No saves nothing.
    QTest::newRow("days paid under another title, No")
        << "山田"
        << "11月追加" << 1200.0 << "A"
        << "20261103" << false << QStringList{"登録/期間重複確認"}
        << QStringList{"山田（2026年11月分）　2026/11/02～2026/11/05"} << master << november;
    // A full-width title is the stored one: it replaces it, and is no
    // second statement of the same days.
    QTest::newRow("full-width title is the stored one")
        << "山田"
        << "2026年１１月分" << 1200.0 << "A"
        << "20261103" << true << QStringList{"給与/所得税なし確認", "登録/上書き確認"}
        << QStringList{"山田", "2026年11月分"} << master << november;
}

void TestQuestions::saveQuestions()
{
    QFETCH(QString, name);
    QFETCH(QString, title);
    QFETCH(double, wage);
    QFETCH(QString, patternType);
    QFETCH(QString, date);
    QFETCH(bool, yes);
    QFETCH(QStringList, questions);
    QFETCH(QStringList, named);
    QFETCH(Rows, master);
    QFETCH(Rows, titles);

    control<QComboBox>("cmb氏名")->setEditText(name);
    control<QLineEdit>("txtタイトル")->setText(title);
    control<NumberBox>("num時給")->setValue(wage);
    control<QComboBox>("cmb勤務形態")->setEditText(patternType);
    type(0, daylines::kDate, date);
    QTRY_VERIFY(control<NumberBox>("num合計")->value().toDouble() > 0);
    clearAsked();
    // The last question gets the row's answer, those before it Yes.
    const QString last = questions.constLast();
    whenAsked([this, yes, last](const MessageRequest &request) {
        answer(yes || request.category + u'/' + request.subKey != last);
    });
    QTest::mouseClick(control<QPushButton>("cmd登録"), Qt::LeftButton);

    QCOMPARE(requests().size(), questions.size());
    for (qsizetype i = 0; i < questions.size(); ++i) {
        const MessageRequest &request = requests().at(i);
        QCOMPARE(request.category + u'/' + request.subKey, questions.at(i));
        QVERIFY2(request.subject.contains(named.at(i)), qPrintable(request.subject));
    }
    QCOMPARE(query(mainDb(), "select \"No\", 氏名, 時給, 勤務形態 from 従業員 order by \"No\""), master);
    // The employee page shows the master as it now is, without 読込.
    QCOMPARE(query(workDb(), "select \"No\", 氏名, 時給, 勤務形態 from w従業員 where 氏名 is not null order by \"No\""),
             master);
    QCOMPARE(query(mainDb(), "select 氏名, タイトル from 時給ヘッダ order by 氏名 desc, タイトル"), titles);
    // Saved lines are under the title as the lists show it.
    QCOMPARE(query(mainDb(), "select count(*) from 時給明細 where タイトル like '%１%'"), (Rows{{"0"}}));

    // Closing after a save keeps a backup that holds it; after none, there is
    // none. A row saved when its last answer is Yes or a title was added to
    // 山田's November.
    const bool saved = yes || titles.size() > 1;
    QVERIFY(window()->close());
    QList<backup::Info> atClose;
    for (const backup::Info &info : backup::list(data().path()))
        if (info.reason == backup::Reason::Closing)
            atClose << info;
    QCOMPARE(atClose.size(), saved ? 1 : 0);
    if (saved)
        QCOMPARE(atClose.constFirst().statements, titles.size());
}

void TestQuestions::clearAsksOverUnsavedLines_data()
{
    QTest::addColumn<bool>("typed");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QStringList>("expectedAsked");
    QTest::addColumn<QString>("dateLeft");
    QTest::newRow("nothing unsaved: no question") << false << false << QStringList{} << "<null>";
    QTest::newRow("unsaved lines, No keeps them")
        << true << false << QStringList{"その他/未保存確認/勤務表"} << "20261201";
    QTest::newRow("unsaved lines, Yes clears") << true << true << QStringList{"その他/未保存確認/勤務表"} << "<null>";
}

void TestQuestions::clearAsksOverUnsavedLines()
{
    QFETCH(bool, typed);
    QFETCH(bool, yes);
    QFETCH(QStringList, expectedAsked);
    QFETCH(QString, dateLeft);
    control<QLineEdit>("txtタイトル")->setText(QStringLiteral("12月"));
    if (typed)
        type(0, daylines::kDate, QStringLiteral("20261201"));
    clearAsked();
    answer(yes);
    QTest::mouseClick(control<QPushButton>("cmdクリア"), Qt::LeftButton);
    QCOMPARE(asked(), expectedAsked);
    QCOMPARE(query(workDb(), "select 日付 from w明細 where 行番号 = 1"), (Rows{{dateLeft}}));
    // The title goes with the lines, or stays with them.
    QCOMPARE(control<QLineEdit>("txtタイトル")->text().isEmpty(), dateLeft == QLatin1String("<null>"));
}

void TestQuestions::newEmployeeWageForTypedLines_data()
{
    QTest::addColumn<QString>("first"); // empty: lines typed before any employee
    QTest::addColumn<bool>("yes");
    QTest::addColumn<Rows>("lines");
    const QString sato = QStringLiteral("佐藤 花子");
    QTest::newRow("Yes: the lines take the new wage") << sato << true << Rows{{"1200", "9600"}, {"1200", "9600"}};
    QTest::newRow("No: the lines keep theirs") << sato << false << Rows{{"1000", "8000"}, {"1000", "8000"}};
    QTest::newRow("typed without a wage: Yes") << QString() << true << Rows{{"1200", "9600"}, {"1200", "9600"}};
}

// Lines typed while another employee was picked hold that employee's wage.
void TestQuestions::newEmployeeWageForTypedLines()
{
    QFETCH(QString, first);
    QFETCH(bool, yes);
    QFETCH(Rows, lines);
    if (!first.isEmpty()) {
        chooseEmployee(first);
        QCOMPARE(control<NumberBox>("num時給")->value().toDouble(), 1000.0);
    }
    for (int row : {0, 1}) {
        type(row, daylines::kDate, QStringLiteral("2026120%1").arg(row + 1));
        if (first.isEmpty()) {
            type(row, daylines::kStart, QStringLiteral("0900"));
            type(row, daylines::kEnd, QStringLiteral("1800"));
            type(row, daylines::kBreak, QStringLiteral("1"));
            QTRY_COMPARE(query(workDb(), "select count(*) from w明細 where 時間 = 8 and 時給 is null"),
                         Rows{{QString::number(row + 1)}});
        }
    }
    if (!first.isEmpty())
        QTRY_COMPARE(control<NumberBox>("num合計")->value().toDouble(), 16000.0);
    clearAsked();
    answer(yes);
    chooseEmployee(QStringLiteral("山田"));
    QCOMPARE(asked().size(), 1);
    QVERIFY2(asked().constFirst().startsWith(QStringLiteral("入力/時給適用確認/1, 2 行目")),
             qPrintable(asked().constFirst()));
    QCOMPARE(control<NumberBox>("num時給")->value().toDouble(), 1200.0);
    QCOMPARE(query(workDb(), "select 時給, 金額 from w明細 where 日付 is not null order by 行番号"), lines);
    // The totals are those of the lines.
    QCOMPARE(control<NumberBox>("num合計")->value().toDouble(), lines.at(0).at(1).toDouble() * 2);
}

void TestQuestions::typedShiftType_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<Rows>("row");
    QTest::addColumn<QStringList>("expectedAsked");
    const Rows b{{"B", "1700", "2200", "0", "5"}};
    QTest::newRow("lower case") << "b" << b << QStringList{};
    QTest::newRow("full width") << "ｂ" << b << QStringList{};
    // Refused: the row keeps the type and times it had.
    QTest::newRow("not registered") << "Z" << Rows{{"A", "0900", "1800", "1", "8"}}
                                    << QStringList{"入力/勤務形態なし/Z"};
}

void TestQuestions::typedShiftType()
{
    QFETCH(QString, typed);
    QFETCH(Rows, row);
    QFETCH(QStringList, expectedAsked);
    clearAsked();
    if (typed.at(0).unicode() < 0x80)
        typeInto(control<DataGrid>("Grid従業員"), 0, 4, typed);
    else
        commitInto(control<DataGrid>("Grid従業員"), 0, 4, typed);
    QTRY_COMPARE(
        query(workDb(), "select 勤務形態, 開始時間, 終了時間, 休憩時間, 実労時間 from w従業員 where \"No\" = 1"), row);
    QCOMPARE(asked(), expectedAsked);
}

QTEST_MAIN(TestQuestions)
#include "tst_questions.moc"
