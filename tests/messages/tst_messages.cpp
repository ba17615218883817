#include "messages/MessageCatalogue.h"
#include "messages/ShowMsg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include <algorithm>
#include <functional>

Q_DECLARE_METATYPE(pelmar::MessageStyle)

using namespace pelmar;

namespace {

const QString sampleSubject = QStringLiteral("ヒント");

// Hands the first modal dialog that opens while it lives to `handle`, so a
// test can look at a real message box and answer it instead of blocking.
class ModalDialogWatcher {
public:
    explicit ModalDialogWatcher(std::function<void(QMessageBox *)> handle) : m_handle(std::move(handle))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            // Give the dialog a few rounds to take the focus, so keys reach
            // the button a user's keys would reach.
            if (QApplication::activeWindow() != modal && ++m_waitedForFocus < 50)
                return;
            m_timer.stop();
            seen = true;
            if (auto *box = qobject_cast<QMessageBox *>(modal))
                m_handle(box);
            else
                modal->close();
        });
        m_timer.start(10);
    }
    bool seen = false;

private:
    std::function<void(QMessageBox *)> m_handle;
    QTimer m_timer;
    int m_waitedForFocus = 0;
};

} // namespace

class TestMessages : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void everyKeyResolves_data();
    void everyKeyResolves();
    void answerOfEveryKey_data();
    void answerOfEveryKey();
    void questionsDefaultToNo();
    void subjectJoining_data();
    void subjectJoining();
    void flagsOfStyles_data();
    void flagsOfStyles();
    void unknownKeysShowNothing_data();
    void unknownKeysShowNothing();
    void realMessageBox_data();
    void realMessageBox();
};

void TestMessages::cleanup()
{
    setMessageAnswerer({});
}

// One row per key of pelmar::msg, taken from the key list itself, so a key
// added without its catalogue entry shows up here.
static void addEveryKey()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("subKey");
    for (const MessageKey &key : msg::allKeys) {
        QTest::addRow("%s/%s", key.category.toUtf8().constData(), key.subKey.toUtf8().constData())
            << key.category.toString() << key.subKey.toString();
    }
}

void TestMessages::everyKeyResolves_data()
{
    addEveryKey();
}

void TestMessages::everyKeyResolves()
{
    QFETCH(QString, category);
    QFETCH(QString, subKey);

    const auto message = lookupMessage(MessageKey{category, subKey}, sampleSubject);
    QVERIFY2(message.has_value(), "the key has no catalogue entry, so its message would never show");
    QVERIFY(!message->prompt.isEmpty());
    QVERIFY(!message->title.isEmpty());
    // The typed lookup and the design's string lookup are the same message.
    const auto byText = lookupMessage(category, subKey, sampleSubject);
    QVERIFY(byText.has_value());
    QCOMPARE(byText->prompt, message->prompt);
    QCOMPARE(byText->title, message->title);
    QCOMPARE(byText->style, message->style);
}

void TestMessages::answerOfEveryKey_data()
{
    addEveryKey();
}

// Every key goes to the answerer through the typed ShowMsg, answered Yes and
// No; only a question may come back true, and a failure never asks.
void TestMessages::answerOfEveryKey()
{
    QFETCH(QString, category);
    QFETCH(QString, subKey);
    const auto message = lookupMessage(category, subKey, sampleSubject);
    QVERIFY(message.has_value());
    const bool question = message->style == MessageStyle::Confirm || message->style == MessageStyle::ConfirmDefaultNo;
    if (category == QStringLiteral("エラー"))
        QVERIFY2(!question, "a failure is told, never asked");

    for (const bool answer : {true, false}) {
        QList<MessageRequest> requests;
        setMessageAnswerer([&requests, answer](const MessageRequest &request) {
            requests.append(request);
            return answer;
        });

        QCOMPARE(ShowMsg(MessageKey{category, subKey}, sampleSubject), answer && question);
        QCOMPARE(requests.size(), 1);
        const MessageRequest &request = requests.constFirst();
        QCOMPARE(request.category, category);
        QCOMPARE(request.subKey, subKey);
        QCOMPARE(request.subject, sampleSubject);
        QCOMPARE(request.prompt, message->prompt);
        QCOMPARE(request.title, message->title);
        QCOMPARE(request.style, message->style);
        QCOMPARE(request.isConfirmation(), question);
    }
}

// A question that deletes, replaces, drops or throws away anything defaults
// to No, so a stray Enter keeps the data. Only these simply go ahead with
// what the user asked for and may default to Yes (the first start's question
// only makes new files where there are none; a new employee with no
// look-alike in the master is the one the user typed; the new wage goes to
// lines typed for this statement; a January–May leaver's 住民税 is collected
// at the last pay, as the law asks, and the question only records it).
void TestMessages::questionsDefaultToNo()
{
    const QList<MessageKey> yesByDefault{msg::登録確認,           msg::登録データ確認,     msg::その他確認,
                                         msg::開始新規データ確認, msg::登録新規従業員確認, msg::入力時給適用確認,
                                         msg::住民税一括徴収確認};
    const auto isYesByDefault = [&yesByDefault](const MessageKey &key) {
        return std::any_of(yesByDefault.cbegin(), yesByDefault.cend(), [&key](const MessageKey &other) {
            return other.category == key.category && other.subKey == key.subKey;
        });
    };
    int questions = 0;
    int yesDefaults = 0;
    for (const MessageKey &key : msg::allKeys) {
        const auto message = lookupMessage(key, sampleSubject);
        QVERIFY(message.has_value());
        MessageRequest request;
        request.style = message->style;
        if (!request.isConfirmation())
            continue;
        ++questions;
        yesDefaults += request.yesIsDefault();
        const QString name = key.category.toString() + u'/' + key.subKey.toString();
        QVERIFY2(request.yesIsDefault() == isYesByDefault(key), qPrintable(name));
    }
    // These are questions, and the others that default to No are there.
    QCOMPARE(yesDefaults, int(yesByDefault.size()));
    QVERIFY(questions > yesDefaults);
}

// How the subject joins the fixed text: spaces kept exactly, nothing read
// into the subject, and fixed messages that ignore it.
void TestMessages::subjectJoining_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("subKey");
    QTest::addColumn<QString>("subject");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<QString>("title");

    const auto add = [](const char *name, const MessageKey &key, const QString &subject, const QString &prompt,
                        const QString &title) {
        QTest::newRow(name) << key.category.toString() << key.subKey.toString() << subject << prompt << title;
    };
    add("subject between texts", msg::登録データ確認, "ヒント", "データ ヒント を登録します。よろしいですか",
        "登録の確認");
    add("empty subject keeps both spaces", msg::登録データ確認, "", "データ  を登録します。よろしいですか",
        "登録の確認");
    add("double space kept", msg::登録完了2, "ヒント", "データ  ヒント を登録しました。", "登録完了");
    add("no space after the subject", msg::削除削除不可能, "ヒント", "ヒント削除できません。", "削除の拒否");
    add("fixed text ignores the subject", msg::登録コード指定, "ヒント",
        "コードが指定されていません。コードを指定してください。", "登録注意");
    add("failure without a reason", msg::エラー明細登録, "",
        "明細を保存できませんでした。保存済みの内容は変わっていません。", "登録の失敗");
    add("failure with its file and reason", msg::エラー明細登録, "\n\nファイル: /d/Pelmar.mdb\n理由: 満杯",
        "明細を保存できませんでした。保存済みの内容は変わっていません。\n\nファイル: /d/Pelmar.mdb\n理由: 満杯",
        "登録の失敗");
    add("subject is prompt and title", msg::その他メッセージ, "氏名を記入してください。", "氏名を記入してください。",
        "氏名を記入してください。");
    add("empty message", msg::その他メッセージ, "", "", "");
    add("placeholder in the subject stays", msg::削除確認, "%1 山田", "%1 山田 を削除します。よろしいですか",
        "削除の確認");
    add("markup in the subject stays", msg::入力重複, "<b>社員</b>", "<b>社員</b>が重複しています。確認してください",
        "入力注意");
    add("file path", msg::エラーPDF書込み, "/tmp/給与 5月/山田.pdf", "/tmp/給与 5月/山田.pdf に書き込めませんでした。",
        "書込みの失敗");
}

void TestMessages::subjectJoining()
{
    QFETCH(QString, category);
    QFETCH(QString, subKey);
    QFETCH(QString, subject);
    QFETCH(QString, prompt);
    QFETCH(QString, title);

    const auto message = lookupMessage(category, subKey, subject);
    QVERIFY(message.has_value());
    QCOMPARE(message->prompt, prompt);
    QCOMPARE(message->title, title);
}

void TestMessages::flagsOfStyles_data()
{
    QTest::addColumn<MessageStyle>("style");
    QTest::addColumn<int>("flags");
    QTest::newRow("confirm") << MessageStyle::Confirm << 36;
    QTest::newRow("confirm, No default") << MessageStyle::ConfirmDefaultNo << 292;
    QTest::newRow("notice") << MessageStyle::Notice << 64;
    QTest::newRow("warning") << MessageStyle::Warning << 48;
}

void TestMessages::flagsOfStyles()
{
    QFETCH(MessageStyle, style);
    QFETCH(int, flags);
    QCOMPARE(messageBoxFlags(style), flags);
}

// Keys that look like catalogue keys but differ in one way or another: the
// wrong category, padding, full-width or half-width forms, another script.
void TestMessages::unknownKeysShowNothing_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("subKey");
    QTest::newRow("unknown category") << QStringLiteral("保存") << QStringLiteral("確認");
    QTest::newRow("unknown sub-key") << QStringLiteral("削除") << QStringLiteral("確認3");
    QTest::newRow("sub-key of another category") << QStringLiteral("転記") << QStringLiteral("データ確認");
    QTest::newRow("category and sub-key swapped") << QStringLiteral("確認") << QStringLiteral("登録");
    QTest::newRow("empty category") << QString() << QStringLiteral("確認");
    QTest::newRow("empty sub-key") << QStringLiteral("登録") << QString();
    QTest::newRow("both empty") << QString() << QString();
    QTest::newRow("trailing space in category") << QStringLiteral("登録 ") << QStringLiteral("確認");
    QTest::newRow("leading space in sub-key") << QStringLiteral("削除") << QStringLiteral(" 確認");
    QTest::newRow("full-width digit") << QStringLiteral("登録") << QStringLiteral("完了２");
    QTest::newRow("half-width katakana") << QStringLiteral("ｸﾘｱ") << QStringLiteral("確認");
    QTest::newRow("hiragana for katakana") << QStringLiteral("その他") << QStringLiteral("めっせーじ");
    QTest::newRow("latin letters") << QStringLiteral("msg") << QStringLiteral("OK");
}

void TestMessages::unknownKeysShowNothing()
{
    QFETCH(QString, category);
    QFETCH(QString, subKey);

    QVERIFY(!lookupMessage(category, subKey, sampleSubject).has_value());

    int answered = 0;
    setMessageAnswerer([&answered](const MessageRequest &) {
        ++answered;
        return true;
    });
    QVERIFY(!ShowMsg(category, subKey, sampleSubject));
    QVERIFY(!ShowMsg(MessageKey{category, subKey}, sampleSubject));
    QCOMPARE(answered, 0);

    // Without an answerer nothing may open either.
    setMessageAnswerer({});
    ModalDialogWatcher watcher([](QMessageBox *box) { box->done(QMessageBox::Yes); });
    QVERIFY(!ShowMsg(category, subKey, sampleSubject));
    QCoreApplication::processEvents();
    QVERIFY(!watcher.seen);
}

void TestMessages::realMessageBox_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("subKey");
    QTest::addColumn<QString>("subject");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("defaultButton");
    QTest::addColumn<bool>("result");

    const int yesNo = QMessageBox::Yes | QMessageBox::No;
    QTest::newRow("削除/確認, Enter takes the default No")
        << QStringLiteral("削除") << QStringLiteral("確認") << sampleSubject << int(Qt::Key_Enter)
        << QStringLiteral("ヒント を削除します。よろしいですか") << QStringLiteral("削除の確認")
        << int(QMessageBox::Question) << yesNo << int(QMessageBox::No) << false;
    QTest::newRow("登録/確認, Enter takes the default Yes")
        << QStringLiteral("登録") << QStringLiteral("確認") << sampleSubject << int(Qt::Key_Enter)
        << QStringLiteral("ヒント を登録します。よろしいですか") << QStringLiteral("登録の確認")
        << int(QMessageBox::Question) << yesNo << int(QMessageBox::Yes) << true;
    QTest::newRow("登録/確認, Return takes the default Yes")
        << QStringLiteral("登録") << QStringLiteral("確認") << sampleSubject << int(Qt::Key_Return)
        << QStringLiteral("ヒント を登録します。よろしいですか") << QStringLiteral("登録の確認")
        << int(QMessageBox::Question) << yesNo << int(QMessageBox::Yes) << true;
    QTest::newRow("登録/確認, Escape is No")
        << QStringLiteral("登録") << QStringLiteral("確認") << sampleSubject << int(Qt::Key_Escape)
        << QStringLiteral("ヒント を登録します。よろしいですか") << QStringLiteral("登録の確認")
        << int(QMessageBox::Question) << yesNo << int(QMessageBox::Yes) << false;
    QTest::newRow("印刷/確認, Enter takes the default No")
        << QStringLiteral("印刷") << QStringLiteral("確認") << sampleSubject << int(Qt::Key_Enter)
        << QStringLiteral("ヒントを印刷します。よろしいですか") << QStringLiteral("印刷の確認")
        << int(QMessageBox::Question) << yesNo << int(QMessageBox::No) << false;
    QTest::newRow("その他/メッセージ, subject as prompt and title")
        << QStringLiteral("その他") << QStringLiteral("メッセージ") << QStringLiteral("氏名を記入してください。")
        << int(Qt::Key_Enter) << QStringLiteral("氏名を記入してください。")
        << QStringLiteral("氏名を記入してください。") << int(QMessageBox::Information) << int(QMessageBox::Ok)
        << int(QMessageBox::Ok) << false;
    QTest::newRow("エラー/明細登録, warning")
        << QStringLiteral("エラー") << QStringLiteral("明細登録") << QString() << int(Qt::Key_Enter)
        << QStringLiteral("明細を保存できませんでした。保存済みの内容は変わっていません。")
        << QStringLiteral("登録の失敗") << int(QMessageBox::Warning) << int(QMessageBox::Ok) << int(QMessageBox::Ok)
        << false;
    QTest::newRow("入力/重複, warning") << QStringLiteral("入力") << QStringLiteral("重複")
                                        << QStringLiteral("<b>社員</b>") << int(Qt::Key_Enter)
                                        << QStringLiteral("<b>社員</b>が重複しています。確認してください")
                                        << QStringLiteral("入力注意") << int(QMessageBox::Warning)
                                        << int(QMessageBox::Ok) << int(QMessageBox::Ok) << false;
}

// No answerer: a real modal box opens over the active window; it is read and
// answered from the keyboard the way a user would.
void TestMessages::realMessageBox()
{
    QFETCH(QString, category);
    QFETCH(QString, subKey);
    QFETCH(QString, subject);
    QFETCH(int, key);
    QFETCH(QString, prompt);
    QFETCH(QString, title);
    QFETCH(int, icon);
    QFETCH(int, buttons);
    QFETCH(int, defaultButton);
    QFETCH(bool, result);

    QWidget mainWindow;
    mainWindow.show();
    QApplication::setActiveWindow(&mainWindow);
    QVERIFY(QTest::qWaitForWindowActive(&mainWindow));

    // Clearing the answerer brings the dialogs back.
    setMessageAnswerer([](const MessageRequest &) { return true; });
    setMessageAnswerer({});

    struct Seen {
        QString text, title;
        int icon = -1, buttons = 0, defaultButton = 0;
        Qt::TextFormat format = Qt::AutoText;
        QWidget *parent = nullptr;
    } seen;
    ModalDialogWatcher watcher([&seen, key](QMessageBox *box) {
        seen.text = box->text();
        seen.title = box->windowTitle();
        seen.icon = box->icon();
        seen.buttons = int(box->standardButtons());
        seen.defaultButton = box->defaultButton() ? int(box->standardButton(box->defaultButton())) : 0;
        seen.format = box->textFormat();
        seen.parent = box->parentWidget();
        // The key goes where a user's key would: to the focused button.
        QWidget *target = QApplication::focusWidget();
        if (!target || target->window() != box)
            target = box;
        QTest::keyClick(target, Qt::Key(key));
    });

    const bool answered = ShowMsg(category, subKey, subject);

    QVERIFY(watcher.seen);
    QCOMPARE(seen.text, prompt);
    QCOMPARE(seen.title, title);
    QCOMPARE(seen.icon, icon);
    QCOMPARE(seen.buttons, buttons);
    QCOMPARE(seen.defaultButton, defaultButton);
    QCOMPARE(seen.format, Qt::PlainText);
    QCOMPARE(seen.parent, &mainWindow);
    QCOMPARE(answered, result);
    QVERIFY(!QApplication::activeModalWidget());
}

QTEST_MAIN(TestMessages)
#include "tst_messages.moc"
