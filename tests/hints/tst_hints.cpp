#include "app/FrmPelmar.h"
#include "hints/HintStore.h"
#include "hints/HintWindow.h"
#include "messages/ShowMsg.h"
#include "store/Database.h"
#include "store/ShippedHints.h"

#include "../support/WindowFixture.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <algorithm>

using namespace pelmar;
using namespace Qt::Literals::StringLiterals;

namespace {

const QString kFrm = QStringLiteral("FrmPelmar");
const QStringList kHintButtons = {QStringLiteral("cmdHint"), QStringLiteral("cmdHint2"), QStringLiteral("cmdHint3"),
                                  QStringLiteral("cmdHint4"), QStringLiteral("cmdHint5")};
const QColor kGrey(209, 209, 205); // 0xCDD1D1 as 0xBBGGRR
const QColor kLightRed(255, 128, 128); // 0x8080FF as 0xBBGGRR

QPlainTextEdit *box(QWidget *hint)
{
    return hint->findChild<QPlainTextEdit *>(QStringLiteral("txtContents"));
}

QString label(QWidget *hint, const char *name)
{
    return hint->findChild<QLabel *>(QLatin1String(name))->text();
}

void press(QWidget *hint, const char *name)
{
    QTest::mouseClick(hint->findChild<QPushButton *>(QString::fromUtf8(name)), Qt::LeftButton);
}

QList<HintWindow *> visibleHints()
{
    QList<HintWindow *> found;
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->objectName() == QLatin1String("Hint") && window->isVisible())
            found << qobject_cast<HintWindow *>(window);
    return found;
}

// Notes whether the work database was still open when a window closed.
class CloseWatcher : public QObject {
public:
    explicit CloseWatcher(QString connection) : m_connection(std::move(connection)) {}
    bool closed = false;
    bool databaseOpenAtClose = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Close) {
            closed = true;
            databaseOpenAtClose =
                QSqlDatabase::contains(m_connection) && QSqlDatabase::database(m_connection, false).isOpen();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QString m_connection;
};

} // namespace

class TestHints : public test::WindowFixture {
    Q_OBJECT
private slots:
    void eachButtonOpensItsOwnText_data();
    void eachButtonOpensItsOwnText();
    void storedTextBelongsToItsButtonOnly_data();
    void storedTextBelongsToItsButtonOnly();
    void storingTwiceKeepsOneRow_data();
    void storingTwiceKeepsOneRow();
    void answersToTheQuestions_data();
    void answersToTheQuestions();
    void editModeFollowsTheButtonColour_data();
    void editModeFollowsTheButtonColour();
    void secondPressWhileOpen_data();
    void secondPressWhileOpen();
    void closingTheMainWindowClosesTheHint();
    void multiLineTextRoundTrips_data();
    void multiLineTextRoundTrips();
    void namesAddressOnlyTheirOwnPair_data();
    void namesAddressOnlyTheirOwnPair();
    void storedTextsSurviveACrash();
    void shippedHelpShowsAtOnce_data();
    void shippedHelpShowsAtOnce();
    void shippedHelpCanBeRewritten();

protected:
    // These tests arrange the texts themselves, from an empty table as in a
    // file made before help texts were shipped; the shipped ones are tested
    // as a new installation has them.
    void seed() override
    {
        if (!QByteArray(QTest::currentTestFunction()).startsWith("shipped"))
            QVERIFY(execBound(workDb(), QStringLiteral("delete from ClHint")));
    }

private:
    HintWindow *openHint(const QString &buttonName);
    void putRow(const QString &form, const QString &ctl, const QString &title, const QString &text);
    test::Rows rows() const
    {
        return query(workDb(),
                     "select FormName, CtlName, FormTitle, Contents from ClHint"
                     " order by FormName, CtlName, rowid");
    }
};

HintWindow *TestHints::openHint(const QString &buttonName)
{
    auto *button = window()->findChild<QToolButton *>(buttonName);
    if (!button)
        return nullptr;
    for (int i = 0; i < control<QTabWidget>("SSTab1")->count(); ++i)
        if (control<QTabWidget>("SSTab1")->widget(i)->isAncestorOf(button))
            control<QTabWidget>("SSTab1")->setCurrentIndex(i);
    QTest::mouseClick(button, Qt::LeftButton);
    const QList<HintWindow *> hints = visibleHints();
    if (hints.size() != 1 || !QTest::qWaitForWindowExposed(hints.first()))
        return nullptr;
    return hints.first();
}

void TestHints::putRow(const QString &form, const QString &ctl, const QString &title, const QString &text)
{
    QVERIFY(execBound(workDb(), QStringLiteral("insert into ClHint values (?, ?, ?, ?)"), {form, ctl, title, text}));
}

void TestHints::eachButtonOpensItsOwnText_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("stored");
    for (const QString &button : kHintButtons) {
        QTest::addRow("%s with a text", qPrintable(button)) << button << true;
        QTest::addRow("%s without", qPrintable(button)) << button << false;
    }
}

void TestHints::eachButtonOpensItsOwnText()
{
    QFETCH(QString, button);
    QFETCH(bool, stored);
    // Every other button has a text, and so has the same button name of
    // another window.
    for (const QString &other : kHintButtons)
        if (other != button || stored)
            putRow(kFrm, other, QStringLiteral("題"), QStringLiteral("%1 の説明").arg(other));
    putRow(QStringLiteral("FrmOther"), button, QStringLiteral("題"), QStringLiteral("別の画面"));
    const QList<QStringList> before = rows();

    HintWindow *hint = openHint(button);
    QVERIFY(hint);
    QCOMPARE(hint->windowTitle(), QStringLiteral("ヒント        "));
    QCOMPARE(label(hint, "lblFormName"), kFrm);
    QCOMPARE(label(hint, "lblCtlName"), button);
    QCOMPARE(label(hint, "lblFormTitle"), window()->windowTitle());
    QCOMPARE(box(hint)->toPlainText(), stored ? QStringLiteral("%1 の説明").arg(button) : QString());
    QCOMPARE(hint->focusWidget(), box(hint));
    QCOMPARE(rows(), before);
    QVERIFY(requests().isEmpty());
}

void TestHints::storedTextBelongsToItsButtonOnly_data()
{
    QTest::addColumn<QString>("storedFor");
    QTest::addColumn<QString>("openedNext");
    QTest::newRow("statement, then history") << "cmdHint"
                                             << "cmdHint2";
    QTest::newRow("employees, then shift types") << "cmdHint3"
                                                 << "cmdHint5";
    QTest::newRow("settings, then statement") << "cmdHint4"
                                              << "cmdHint";
}

void TestHints::storedTextBelongsToItsButtonOnly()
{
    QFETCH(QString, storedFor);
    QFETCH(QString, openedNext);
    QPointer<HintWindow> hint = openHint(storedFor);
    QVERIFY(hint);
    press(hint, "cmd編集");
    QTest::keyClicks(box(hint), QStringLiteral("Text of ") + storedFor);
    press(hint, "cmd登録");
    const QList<QStringList> expected{{kFrm, storedFor, window()->windowTitle(), "Text of " + storedFor}};
    QCOMPARE(rows(), expected);
    // Clearing the box and closing without storing leave the row alone.
    press(hint, "cmdクリア");
    QCOMPARE(box(hint)->toPlainText(), QString());
    press(hint, "cmd閉じる");
    finishClosing();
    QVERIFY(hint.isNull());
    QVERIFY(visibleHints().isEmpty());

    hint = openHint(openedNext);
    QVERIFY(hint);
    QCOMPARE(box(hint)->toPlainText(), QString());
    press(hint, "cmd閉じる");
    finishClosing();
    QCOMPARE(rows(), expected);

    hint = openHint(storedFor);
    QVERIFY(hint);
    QCOMPARE(box(hint)->toPlainText(), "Text of " + storedFor);
}

void TestHints::storingTwiceKeepsOneRow_data()
{
    QTest::addColumn<bool>("reopen");
    QTest::newRow("twice in one window") << false;
    QTest::newRow("again after reopening under a new caption") << true;
}

void TestHints::storingTwiceKeepsOneRow()
{
    QFETCH(bool, reopen);
    const QString firstCaption = window()->windowTitle();
    HintWindow *hint = openHint(QStringLiteral("cmdHint2"));
    QVERIFY(hint);
    press(hint, "cmd編集");
    QTest::keyClicks(box(hint), "first");
    press(hint, "cmd登録");
    if (reopen) {
        press(hint, "cmd閉じる");
        finishClosing();
        window()->setWindowTitle(QStringLiteral("Pelmar 新しい見出し"));
        hint = openHint(QStringLiteral("cmdHint2"));
        QVERIFY(hint);
        QCOMPARE(box(hint)->toPlainText(), QStringLiteral("first"));
        press(hint, "cmd編集");
    }
    press(hint, "cmdクリア");
    test::commitText(box(hint), QStringLiteral("二回目の説明"));
    press(hint, "cmd登録");

    const QString caption = reopen ? QStringLiteral("Pelmar 新しい見出し") : firstCaption;
    const QList<QStringList> expected{{kFrm, QStringLiteral("cmdHint2"), caption, QStringLiteral("二回目の説明")}};
    QCOMPARE(rows(), expected);
}

void TestHints::answersToTheQuestions_data()
{
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<bool>("reply");
    QTest::addColumn<QString>("refused"); // a statement the file refuses, as a full disk would
    QTest::addColumn<QStringList>("expectedAsked");
    QTest::addColumn<QString>("outcome");
    const QString storeAsk = QStringLiteral("登録/確認/ヒント");
    const QString deleteAsk = QStringLiteral("削除/確認/ヒント");
    QTest::newRow("store over a text") << QByteArray("cmd登録") << true << true << ""
                                       << QStringList{storeAsk, "登録/完了/ヒント"} << "stored";
    QTest::newRow("store a first text") << QByteArray("cmd登録") << false << true << ""
                                        << QStringList{storeAsk, "登録/完了/ヒント"} << "stored";
    QTest::newRow("store declined, no text yet")
        << QByteArray("cmd登録") << false << false << "" << QStringList{storeAsk} << "unchanged";
    QTest::newRow("store declined over a text")
        << QByteArray("cmd登録") << true << false << "" << QStringList{storeAsk} << "unchanged";
    QTest::newRow("store, adding refused") << QByteArray("cmd登録") << true << true << "insert"
                                           << QStringList{storeAsk, "エラー/ヒント登録/"} << "unchanged";
    QTest::newRow("delete") << QByteArray("cmd削除") << true << true << "" << QStringList{deleteAsk, "削除/完了/ヒント"}
                            << "removed";
    QTest::newRow("delete declined") << QByteArray("cmd削除") << true << false << "" << QStringList{deleteAsk}
                                     << "unchanged";
    QTest::newRow("delete refused") << QByteArray("cmd削除") << true << true << "delete"
                                    << QStringList{deleteAsk, "エラー/ヒント削除/"} << "unchanged";
}

void TestHints::answersToTheQuestions()
{
    QFETCH(QByteArray, button);
    QFETCH(bool, stored);
    QFETCH(bool, reply);
    QFETCH(QString, refused);
    QFETCH(QStringList, expectedAsked);
    QFETCH(QString, outcome);
    if (stored)
        putRow(kFrm, QStringLiteral("cmdHint3"), QStringLiteral("題"), QStringLiteral("従業員の説明"));
    putRow(kFrm, QStringLiteral("cmdHint5"), QStringLiteral("題"), QStringLiteral("勤務形態の説明"));
    const QList<QStringList> before = rows();
    const QStringList otherButton = before.last();
    if (!refused.isEmpty())
        QVERIFY(execBound(workDb(),
                          QStringLiteral("create trigger refuse before %1 on ClHint "
                                         "begin select raise(abort, 'refused'); end")
                              .arg(refused)));

    HintWindow *hint = openHint(QStringLiteral("cmdHint3"));
    QVERIFY(hint);
    press(hint, "cmd編集");
    box(hint)->moveCursor(QTextCursor::End);
    test::commitText(box(hint), QStringLiteral("を追記"));
    const QString onScreen = box(hint)->toPlainText();
    answer(reply);
    press(hint, button.constData());

    // A failure names the file and the reason on lines of their own.
    QStringList askedFirstLines;
    for (const QString &message : asked())
        askedFirstLines << message.section(u'\n', 0, 0);
    QCOMPARE(askedFirstLines, expectedAsked);
    if (!refused.isEmpty())
        QVERIFY2(asked().last().contains(QDir::toNativeSeparators(data().workPath())), qPrintable(asked().last()));
    if (requests().size() > 1)
        QVERIFY(!requests().at(1).isConfirmation());
    QList<QStringList> expected = before;
    if (outcome == QLatin1String("stored"))
        expected = {{kFrm, QStringLiteral("cmdHint3"), window()->windowTitle(), onScreen}, otherButton};
    else if (outcome == QLatin1String("removed"))
        expected = {otherButton};
    // A refused add undoes the delete before it: the old text stays.
    QCOMPARE(rows(), expected);
    QCOMPARE(box(hint)->toPlainText(), outcome == QLatin1String("removed") ? QString() : onScreen);
}

void TestHints::editModeFollowsTheButtonColour_data()
{
    QTest::addColumn<QColor>("paintedFirst"); // invalid: left as opened
    QTest::addColumn<int>("presses");
    QTest::addColumn<bool>("reopen");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<bool>("writable");
    QTest::newRow("freshly opened") << QColor() << 0 << false << kGrey << false;
    QTest::newRow("first press") << QColor() << 1 << false << kLightRed << true;
    QTest::newRow("second press") << QColor() << 2 << false << kGrey << false;
    QTest::newRow("third press") << QColor() << 3 << false << kLightRed << true;
    QTest::newRow("reopened after edit mode") << QColor() << 1 << true << kGrey << false;
    // The colour alone decides: a button painted red before any press turns
    // edit mode off, one of any other colour as well.
    QTest::newRow("painted red, pressed") << kLightRed << 1 << false << kGrey << false;
    QTest::newRow("painted white, pressed") << QColor(Qt::white) << 1 << false << kGrey << false;
}

void TestHints::editModeFollowsTheButtonColour()
{
    QFETCH(QColor, paintedFirst);
    QFETCH(int, presses);
    QFETCH(bool, reopen);
    QFETCH(QColor, colour);
    QFETCH(bool, writable);
    HintWindow *hint = openHint(QStringLiteral("cmdHint"));
    QVERIFY(hint);
    auto *edit = hint->findChild<QPushButton *>(QStringLiteral("cmd編集"));
    if (paintedFirst.isValid()) {
        QPalette palette = edit->palette();
        palette.setColor(QPalette::Button, paintedFirst);
        edit->setPalette(palette);
    }
    for (int i = 0; i < presses; ++i)
        QTest::mouseClick(edit, Qt::LeftButton);
    if (presses > 0)
        QCOMPARE(hint->focusWidget(), box(hint));
    if (reopen) {
        press(hint, "cmd閉じる");
        finishClosing();
        hint = openHint(QStringLiteral("cmdHint"));
        QVERIFY(hint);
    }

    QCOMPARE(hint->editButtonColour(), colour);
    QCOMPARE(hint->findChild<QPushButton *>(QStringLiteral("cmd編集"))->palette().color(QPalette::Button), colour);
    QCOMPARE(box(hint)->isReadOnly(), !writable);
    QTest::keyClicks(box(hint), "typed");
    QCOMPARE(box(hint)->toPlainText(), writable ? QStringLiteral("typed") : QString());
}

void TestHints::secondPressWhileOpen_data()
{
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("expectedText");
    QTest::newRow("same button keeps the edit") << "cmdHint2"
                                                << "履歴の説明 edited";
    QTest::newRow("another button shows its own") << "cmdHint3"
                                                  << "従業員の説明";
}

void TestHints::secondPressWhileOpen()
{
    QFETCH(QString, second);
    QFETCH(QString, expectedText);
    putRow(kFrm, QStringLiteral("cmdHint2"), QStringLiteral("題"), QStringLiteral("履歴の説明"));
    putRow(kFrm, QStringLiteral("cmdHint3"), QStringLiteral("題"), QStringLiteral("従業員の説明"));
    HintWindow *hint = openHint(QStringLiteral("cmdHint2"));
    QVERIFY(hint);
    press(hint, "cmd編集");
    box(hint)->moveCursor(QTextCursor::End);
    QTest::keyClicks(box(hint), " edited");

    hint = openHint(second);
    QVERIFY(hint);
    QCOMPARE(label(hint, "lblCtlName"), second);
    QCOMPARE(box(hint)->toPlainText(), expectedText);
}

void TestHints::closingTheMainWindowClosesTheHint()
{
    QPointer<HintWindow> hint = openHint(QStringLiteral("cmdHint4"));
    QVERIFY(hint);
    CloseWatcher watcher(window()->state().WorkDb.connectionName());
    hint->installEventFilter(&watcher);
    press(hint, "cmd編集");
    test::commitText(box(hint), QStringLiteral("保存しない"));

    QVERIFY(window()->close());
    finishClosing();
    QVERIFY(watcher.closed);
    QVERIFY(watcher.databaseOpenAtClose);
    QVERIFY(hint.isNull());
    QVERIFY(!anyProgramConnection());
    QCOMPARE(rows(), QList<QStringList>{});
}

void TestHints::multiLineTextRoundTrips_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("lines with a blank one") << QStringLiteral("一行目\n\n三行目");
    QTest::newRow("spaces and a final newline") << QStringLiteral("  字下げ\n末尾の空白  \n");
    QTest::newRow("quotes and a tab") << QStringLiteral("O'Brien の \"注意\"\tタブ\n'; drop table ClHint; --");
    QTest::newRow("long") << QStringLiteral("長い説明の行です。").repeated(300);
}

void TestHints::multiLineTextRoundTrips()
{
    QFETCH(QString, text);
    HintWindow *hint = openHint(QStringLiteral("cmdHint4"));
    QVERIFY(hint);
    press(hint, "cmd編集");
    test::commitText(box(hint), text);
    press(hint, "cmd登録");
    QCOMPARE(rows().size(), 1);
    QCOMPARE(rows().first().at(3), text);

    press(hint, "cmd閉じる");
    finishClosing();
    hint = openHint(QStringLiteral("cmdHint4"));
    QVERIFY(hint);
    QCOMPARE(box(hint)->toPlainText(), text);
}

void TestHints::namesAddressOnlyTheirOwnPair_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("ctl");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("quote in the button name") << kFrm << "cmdHint' or '1'='1" << true;
    QTest::newRow("quote in the window name") << "FrmPelmar' --"
                                              << "cmdHint" << true;
    QTest::newRow("no button name") << kFrm << "" << false;
    QTest::newRow("no window name") << ""
                                    << "cmdHint" << false;
}

void TestHints::namesAddressOnlyTheirOwnPair()
{
    QFETCH(QString, form);
    QFETCH(QString, ctl);
    QFETCH(bool, accepted);
    putRow(kFrm, QStringLiteral("cmdHint"), QStringLiteral("題"), QStringLiteral("本物"));
    putRow(kFrm, QStringLiteral("cmdHint2"), QStringLiteral("題"), QStringLiteral("履歴"));
    const QList<QStringList> others = rows();

    QString read = QStringLiteral("unchanged");
    QVERIFY(!hints::readHint(workDb(), form, ctl, &read));
    QCOMPARE(read, QStringLiteral("unchanged"));
    QCOMPARE(hints::storeHint(workDb(), form, ctl, QStringLiteral("題"), QStringLiteral("新しい")), accepted);
    QCOMPARE(hints::storeHint(workDb(), form, ctl, QStringLiteral("題"), QStringLiteral("最新")), accepted);
    QCOMPARE(hints::readHint(workDb(), form, ctl, &read), accepted);
    QCOMPARE(read, accepted ? QStringLiteral("最新") : QStringLiteral("unchanged"));
    QCOMPARE(rows().size(), others.size() + (accepted ? 1 : 0));
    for (const QStringList &row : others)
        QVERIFY(rows().contains(row));

    QCOMPARE(hints::deleteHint(workDb(), form, ctl), accepted);
    QCOMPARE(rows(), others);
}

void TestHints::storedTextsSurviveACrash()
{
    // Stored means written through to the disk, not left to the cache.
    QSqlQuery query(window()->state().WorkDb);
    QVERIFY(query.exec(QStringLiteral("PRAGMA synchronous")) && query.next());
    QVERIFY2(query.value(0).toInt() >= 2, "synchronous is below FULL");
}

void TestHints::shippedHelpShowsAtOnce_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("contents");
    for (const ShippedHint &shipped : shippedHints()) {
        QCOMPARE(shipped.formName, kFrm);
        QTest::addRow("%s", qPrintable(shipped.ctlName)) << shipped.ctlName << shipped.contents;
    }
}

// "?" on a new installation shows the page's help straight away, as a text to
// read: no question, no developer's names on show, nothing to type into.
void TestHints::shippedHelpShowsAtOnce()
{
    QFETCH(QString, button);
    QFETCH(QString, contents);
    auto *hintButton = window()->findChild<QToolButton *>(button);
    QVERIFY2(hintButton, "a help text for a button the window does not have");
    HintWindow *hint = openHint(button);
    QVERIFY(hint);
    QCOMPARE(box(hint)->toPlainText(), contents);
    QVERIFY(box(hint)->isReadOnly());
    QVERIFY(requests().isEmpty());
    // The help names the page its button stands on.
    const QString page = control<QTabWidget>("SSTab1")->tabText(control<QTabWidget>("SSTab1")->currentIndex());
    QVERIFY2(contents.startsWith(u'【' + page + u'】'), qPrintable(page));
    // And what the page can do: every button and choice on it is named as
    // the page shows it (a check box up to its explanation in brackets),
    // quoted or heading a line of the help.
    for (const QAbstractButton *control :
         control<QTabWidget>("SSTab1")->currentWidget()->findChildren<QAbstractButton *>()) {
        const QString caption = control->text().section(u'（', 0, 0);
        if (caption.isEmpty() || qobject_cast<const QToolButton *>(control))
            continue;
        const QRegularExpression named(u"「"_s + QRegularExpression::escape(caption) + u"」|(^|\n|　)"_s
                                       + QRegularExpression::escape(caption) + u" …"_s);
        QVERIFY2(contents.contains(named), qPrintable(caption));
    }
    // The names the text is kept under are there for the program, not shown.
    QCOMPARE(label(hint, "lblFormName"), kFrm);
    QCOMPARE(label(hint, "lblCtlName"), button);
    for (const char *name : {"lblFormName", "lblCtlName", "lblFormTitle"})
        QVERIFY2(!hint->findChild<QLabel *>(QLatin1String(name))->isVisible(), name);
}

void TestHints::shippedHelpCanBeRewritten()
{
    const QList<QStringList> shipped = rows();
    QCOMPARE(shipped.size(), kHintButtons.size());
    HintWindow *hint = openHint(QStringLiteral("cmdHint5"));
    QVERIFY(hint);
    press(hint, "cmd編集");
    press(hint, "cmdクリア");
    test::commitText(box(hint), QStringLiteral("うちの勤務形態: A は早番"));
    press(hint, "cmd登録");
    QCOMPARE(asked(), (QStringList{"登録/確認/ヒント", "登録/完了/ヒント"}));

    // The one text is replaced; the other pages keep their help.
    QList<QStringList> expected;
    for (const QStringList &row : shipped)
        if (row.at(1) != QLatin1String("cmdHint5"))
            expected << row;
    expected << QStringList{kFrm, QStringLiteral("cmdHint5"), window()->windowTitle(),
                            QStringLiteral("うちの勤務形態: A は早番")};
    std::sort(expected.begin(), expected.end());
    QCOMPARE(rows(), expected);
}

QTEST_MAIN(TestHints)
#include "tst_hints.moc"
