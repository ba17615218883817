#include "widgets/NumberBox.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

using pelmar::NumberBox;

class TestNumberBox : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void shownThroughFormat_data();
    void shownThroughFormat();
    void typedTextBecomesValue_data();
    void typedTextBecomesValue();
    void editingShowsPlainNumber();
    void readOnlyKeepsFormattedText();
    void valueChangedOnlyOnChange();
    void validatorRejectsLetters();

private:
    void focusBox();
    void focusElsewhere();

    QWidget *m_window = nullptr;
    NumberBox *m_box = nullptr;
    QLineEdit *m_other = nullptr;
};

void TestNumberBox::init()
{
    m_window = new QWidget;
    auto *layout = new QVBoxLayout(m_window);
    m_box = new NumberBox(m_window);
    m_other = new QLineEdit(m_window);
    layout->addWidget(m_box);
    layout->addWidget(m_other);
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    focusElsewhere();
}

void TestNumberBox::cleanup()
{
    delete m_window;
    m_window = nullptr;
}

void TestNumberBox::focusBox()
{
    m_box->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(m_box->hasFocus());
}

void TestNumberBox::focusElsewhere()
{
    m_other->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(m_other->hasFocus());
}

void TestNumberBox::shownThroughFormat_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QVariant>("input");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("shown");

    QTest::newRow("yen") << "#,###" << QVariant(1000.0) << QVariant(1000.0) << "1,000";
    QTest::newRow("yen zero is empty") << "#,###" << QVariant(0) << QVariant(0.0) << "";
    QTest::newRow("yen from text") << "#,###" << QVariant("1234567") << QVariant(1234567.0) << "1,234,567";
    QTest::newRow("hours") << "#,###.0" << QVariant(7.25) << QVariant(7.25) << "7.3";
    QTest::newRow("no format") << "" << QVariant(8.0) << QVariant(8.0) << "8";
    QTest::newRow("null") << "#,###" << QVariant(QMetaType(QMetaType::Double)) << QVariant() << "";
    QTest::newRow("invalid") << "#,###" << QVariant() << QVariant() << "";
    QTest::newRow("empty text") << "#,###" << QVariant("") << QVariant() << "";
    QTest::newRow("not a number") << "#,###" << QVariant("abc") << QVariant() << "";
}

void TestNumberBox::shownThroughFormat()
{
    QFETCH(QString, format);
    QFETCH(QVariant, input);
    QFETCH(QVariant, value);
    QFETCH(QString, shown);

    m_box->setDisplayFormat(format);
    m_box->setValue(1.0); // something else first, so "no value" is a change
    m_box->setValue(input);
    QCOMPARE(m_box->value(), value);
    QCOMPARE(m_box->hasValue(), value.isValid());
    QCOMPARE(m_box->text(), shown);
}

void TestNumberBox::typedTextBecomesValue_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("pressReturn");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("inputMethod"); // typed as one input method commit

    const QVariant kept(77.0); // the value before the edit
    QTest::newRow("focus out") << "1200" << false << QVariant(1200.0) << "1,200" << false;
    QTest::newRow("return") << "1200" << true << QVariant(1200.0) << "1,200" << false;
    QTest::newRow("thousands commas") << "1,200" << false << QVariant(1200.0) << "1,200" << false;
    QTest::newRow("negative") << "-30" << false << QVariant(-30.0) << "-30" << false;
    QTest::newRow("fraction rounds in view only") << "2.5" << true << QVariant(2.5) << "3" << false;
    QTest::newRow("empty is no value") << "" << false << QVariant() << "" << false;
    // Refused entries: the box keeps its 77 and says so.
    QTest::newRow("commas not in threes are refused") << "1,2,00" << false << kept << "77" << false;
    QTest::newRow("lone minus is refused") << "-" << false << kept << "77" << false;
    QTest::newRow("lone point is refused") << "." << false << kept << "77" << false;
    QTest::newRow("below the range") << "-500" << true << kept << "77" << false;
    QTest::newRow("largest value") << "1000000" << true << QVariant(1000000.0) << "1,000,000" << false;
    QTest::newRow("above the range") << "1000001" << true << kept << "77" << false;
    QTest::newRow("over the bound") << "100000000" << true << kept << "77" << false;
    QTest::newRow("full-width below the range") << "－５００" << false << kept << "77" << true;
    // Japanese input: full-width digits are digits, other lookalikes are refused.
    QTest::newRow("full-width") << "１２００" << true << QVariant(1200.0) << "1,200" << true;
    QTest::newRow("full-width negative") << "－３０" << false << QVariant(-30.0) << "-30" << true;
    QTest::newRow("full-width point and comma") << "１，２３４．５" << true << QVariant(1234.5) << "1,235" << true;
    // Another script's digits and words stay in the box to be refused out
    // loud, never emptied or cut to the digits among them.
    QTest::newRow("arabic-indic") << "١٢٠٠" << true << kept << "77" << true;
    QTest::newRow("exponent") << "1e308" << true << kept << "77" << true;
    QTest::newRow("exponent typed") << "1e5" << true << kept << "77" << false;
    QTest::newRow("nan") << "nan" << true << kept << "77" << true;
    QTest::newRow("infinity") << "-inf" << true << kept << "77" << true;
}

void TestNumberBox::typedTextBecomesValue()
{
    QFETCH(QString, typed);
    QFETCH(bool, pressReturn);
    QFETCH(QVariant, value);
    QFETCH(QString, shown);
    QFETCH(bool, inputMethod);
    const QVariant kept(77.0);

    m_box->setDisplayFormat(QStringLiteral("#,###"));
    m_box->setRange(-100, 1'000'000);
    m_box->setValue(77.0);
    QSignalSpy refused(m_box, &NumberBox::entryRefused);
    focusBox();
    m_box->selectAll();
    QTest::keyClick(m_box, Qt::Key_Backspace);
    if (inputMethod) {
        QInputMethodEvent commit;
        commit.setCommitString(typed);
        QApplication::sendEvent(m_box, &commit);
    } else {
        QTest::keyClicks(m_box, typed);
    }
    if (value != kept) // full-width digits taken are ASCII in the box
        for (QChar c : m_box->text())
            QVERIFY2(c.unicode() < 128, qPrintable(m_box->text()));
    if (pressReturn)
        QTest::keyClick(m_box, Qt::Key_Return);
    else
        focusElsewhere();
    QCOMPARE(m_box->value(), value);
    QCOMPARE(m_box->text(), shown);
    // A refusal is told once; text that only lost what the box cannot take
    // (letters held back as they are typed) is no refusal.
    QCOMPARE(refused.count(), value == QVariant(77.0) ? 1 : 0);
}

void TestNumberBox::editingShowsPlainNumber()
{
    m_box->setDisplayFormat(QStringLiteral("#,###"));
    m_box->setValue(1234.5);
    QCOMPARE(m_box->text(), QStringLiteral("1,235"));
    focusBox();
    // The user edits the number itself, not its rounded, grouped text.
    QCOMPARE(m_box->text(), QStringLiteral("1234.5"));
    focusElsewhere();
    QCOMPARE(m_box->text(), QStringLiteral("1,235"));
    QCOMPARE(m_box->value(), QVariant(1234.5));

    // A zero shown as empty text is still zero after a visit.
    m_box->setValue(0.0);
    QCOMPARE(m_box->text(), QString());
    focusBox();
    QCOMPARE(m_box->text(), QStringLiteral("0"));
    focusElsewhere();
    QCOMPARE(m_box->value(), QVariant(0.0));
}

void TestNumberBox::readOnlyKeepsFormattedText()
{
    m_box->setReadOnly(true);
    m_box->setDisplayFormat(QStringLiteral("#,###.0"));
    m_box->setValue(0.0);
    focusBox();
    QCOMPARE(m_box->text(), QStringLiteral(".0"));
    focusElsewhere();
    QCOMPARE(m_box->value(), QVariant(0.0));
}

void TestNumberBox::valueChangedOnlyOnChange()
{
    QSignalSpy spy(m_box, &NumberBox::valueChanged);
    m_box->setValue(5.0);
    m_box->setValue(QStringLiteral("5"));
    m_box->setValue(QVariant());
    m_box->setValue(QStringLiteral("x"));
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(0).at(0), QVariant(5.0));
    QVERIFY(!spy.at(1).at(0).isValid());

    // Visiting the box without typing changes nothing.
    m_box->setValue(3.0);
    spy.clear();
    focusBox();
    focusElsewhere();
    QCOMPARE(spy.count(), 0);
}

void TestNumberBox::validatorRejectsLetters()
{
    // Punctuation that is no part of a number is held back as it is typed;
    // letters are not, and the text they are in is refused once left.
    m_box->setValue(QVariant());
    focusBox();
    QTest::keyClicks(m_box, QStringLiteral("1+2.5.6"));
    QCOMPARE(m_box->text(), QStringLiteral("12.56"));
    m_box->selectAll();
    QSignalSpy refused(m_box, &NumberBox::entryRefused);
    QTest::keyClicks(m_box, QStringLiteral("1a2-b.5.6"));
    QCOMPARE(m_box->text(), QStringLiteral("1a2-b.5.6"));
    focusElsewhere();
    QCOMPARE(refused.count(), 1);
    QVERIFY(!m_box->value().isValid());
}

QTEST_MAIN(TestNumberBox)
#include "tst_numberbox.moc"
