#include "messages/MessageCatalogue.h"
#include "messages/ShowMsg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include <functional>

Q_DECLARE_METATYPE(pelmar::MessageStyle)

using namespace pelmar;

namespace {

const QString sampleSubject = QStringLiteral("ヒント");

// Hands the first modal dialog that opens while it lives to `handle`, so a
// test can look at a real message box and answer it instead of blocking.
class ModalDialogWatcher {
public:
    explicit ModalDialogWatcher(std::function<void(QMessageBox *)> handle)
        : m_handle(std::move(handle))
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
    void catalogue_data();
    void catalogue();
    void flagsOfStyles_data();
    void flagsOfStyles();
    void unknownKeysShowNothing_data();
    void unknownKeysShowNothing();
    void answererReceivesEveryField_data();
    void answererReceivesEveryField();
    void realMessageBox_data();
    void realMessageBox();
};

void TestMessages::cleanup()
{
    setMessageAnswerer({});
}

// Every message of the catalogue, with the subject "ヒント" and with an empty
// subject. returnsYes marks the messages that ask a question.
void TestMessages::catalogue_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("subKey");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("emptySubjectPrompt");
    QTest::addColumn<QString>("emptySubjectTitle");
    QTest::addColumn<MessageStyle>("style");
    QTest::addColumn<bool>("returnsYes");

    const auto add = [](const QString &category, const QString &subKey, const QString &prompt,
                        const QString &emptySubjectPrompt, const QString &title, MessageStyle style) {
        const bool question = style == MessageStyle::Confirm || style == MessageStyle::ConfirmDefaultNo;
        QTest::addRow("%s/%s", category.toUtf8().constData(), subKey.toUtf8().constData())
            << category << subKey << prompt << title << emptySubjectPrompt << title << style << question;
    };
    const auto confirm = MessageStyle::Confirm;
    const auto confirmNo = MessageStyle::ConfirmDefaultNo;
    const auto notice = MessageStyle::Notice;
    const auto warning = MessageStyle::Warning;

    add("登録", "確認", "ヒント を登録します。よろしいですか", " を登録します。よろしいですか", "登録の確認", confirm);
    add("登録", "データ確認", "データ ヒント を登録します。よろしいですか", "データ  を登録します。よろしいですか",
        "登録の確認", confirm);
    add("登録", "コード指定", "コードが指定されていません。コードを指定してください。",
        "コードが指定されていません。コードを指定してください。", "登録注意", notice);
    add("登録", "完了", "ヒント を登録しました。", " を登録しました。", "登録完了", notice);
    add("登録", "完了2", "データ  ヒント を登録しました。", "データ   を登録しました。", "登録完了", notice);
    add("登録", "チェック", "入力必須項目が空白です。", "入力必須項目が空白です。", "入力項目のチェック", notice);
    add("登録", "商品未登録", "登録商品データがありません。", "登録商品データがありません。", "入力項目のチェック",
        notice);
    add("登録", "データなし", "登録がデータがありません。", "登録がデータがありません。", "入力項目のチェック",
        notice);

    add("転記", "確認", "ヒント に転記します。よろしいですか", " に転記します。よろしいですか", "登録の確認",
        confirmNo);

    add("削除", "確認2", "すべてのデータを削除します。よろしいですか", "すべてのデータを削除します。よろしいですか",
        "削除の確認", confirmNo);
    add("削除", "伝票確認", "伝票 ヒント を削除します。よろしいですか", "伝票  を削除します。よろしいですか",
        "削除の確認", confirmNo);
    add("削除", "確認", "ヒント を削除します。よろしいですか", " を削除します。よろしいですか", "削除の確認",
        confirmNo);
    add("削除", "データ確認", "データ ヒント を削除します。よろしいですか", "データ  を削除します。よろしいですか",
        "削除の確認", confirmNo);
    add("削除", "指定確認", "指定された ヒント を削除します。よろしいですか",
        "指定された  を削除します。よろしいですか", "削除の確認", confirmNo);
    add("削除", "伝票完了", "伝票 ヒント を削除しました。", "伝票  を削除しました。", "削除の完了", notice);
    add("削除", "削除不可能", "ヒント削除できません。", "削除できません。", "削除の拒否", notice);
    add("削除", "伝票完了2", "ヒント を削除しました。", " を削除しました。", "削除の完了", notice);
    add("削除", "完了", "データ ヒント を削除しました。", "データ  を削除しました。", "削除の完了", notice);
    add("削除", "削除不可", "ヒント にデータがあるため削除できません。メンテナンス機能で削除してください。",
        " にデータがあるため削除できません。メンテナンス機能で削除してください。", "削除不可", notice);
    add("削除", "その他確認", "ヒント よろしいですか", " よろしいですか", "削除の確認", confirmNo);

    add("入力", "上行空白", "上の行が空白です。データは連続して指定してください。",
        "上の行が空白です。データは連続して指定してください。", "入力注意", notice);
    add("入力", "区分なし", "区分が指定されていません。区分を指定してください",
        "区分が指定されていません。区分を指定してください", "入力注意", warning);
    add("入力", "必須入力なし", "ヒント指定されていません。確認してください", "指定されていません。確認してください",
        "入力注意", warning);
    add("入力", "重複", "ヒントが重複しています。確認してください", "が重複しています。確認してください", "入力注意",
        warning);
    add("入力", "範囲外", "ヒントが指定範囲外です。確認してください", "が指定範囲外です。確認してください",
        "入力注意", warning);
    add("入力", "数字のみ", "ヒントには数字以外使用できません", "には数字以外使用できません", "入力注意", warning);

    add("行指定", "無効行", "無効な行が指定されています。行指定をやり直してください。",
        "無効な行が指定されています。行指定をやり直してください。", "入力注意", warning);
    add("行指定", "指定なし", "行が指定されていません。行指定してください。",
        "行が指定されていません。行指定してください。", "入力注意", warning);
    add("行指定", "重複", "指定行は１回に１行です。行指定をやり直してください。",
        "指定行は１回に１行です。行指定をやり直してください。", "入力注意", warning);
    add("行指定", "余白なし", "行挿入する余白はありません。", "行挿入する余白はありません。", "行挿入注意", warning);

    add("クリア", "確認", "画面をクリアします。よろしいですか", "画面をクリアします。よろしいですか",
        "画面クリアの確認", confirmNo);

    add("印刷", "確認", "ヒントを印刷します。よろしいですか", "を印刷します。よろしいですか", "印刷の確認",
        confirmNo);

    add("その他", "コピー完了", "ヒントコピーしました。", "コピーしました。", "コピー完了", notice);
    add("その他", "読込み完了", "ヒント読込みしました。", "読込みしました。", "読込完了", notice);
    QTest::addRow("その他/メッセージ") << QStringLiteral("その他") << QStringLiteral("メッセージ")
                                       << sampleSubject << sampleSubject << QString() << QString() << notice
                                       << false;
    add("その他", "ファイルなし", "ヒントがありません。確認してください。", "がありません。確認してください。",
        "キーチェック", notice);
    add("その他", "確認", "ヒント、よろしいですか", "、よろしいですか", "確認", confirm);

    // The program's own questions: each defaults to No, so Enter never
    // replaces, drops or throws away anything.
    add("登録", "上書き確認", "ヒント は保存済みです。置き換えて登録します。よろしいですか",
        " は保存済みです。置き換えて登録します。よろしいですか", "登録の確認", confirmNo);
    add("登録", "除外確認", "ヒント 行目は日付か金額がないため登録されません。登録してよろしいですか",
        " 行目は日付か金額がないため登録されません。登録してよろしいですか", "登録の確認", confirmNo);
    add("登録", "マスタ削除確認", "ヒント 名の従業員がマスタから削除されます。登録してよろしいですか",
        " 名の従業員がマスタから削除されます。登録してよろしいですか", "登録の確認", confirmNo);
    add("その他", "明細なし", "ヒント の明細は保存されていません。確認してください。",
        " の明細は保存されていません。確認してください。", "キーチェック", notice);
    add("その他", "未保存確認", "ヒント に登録していない変更があります。破棄してよろしいですか",
        " に登録していない変更があります。破棄してよろしいですか", "確認", confirmNo);
}

void TestMessages::catalogue()
{
    QFETCH(QString, category);
    QFETCH(QString, subKey);
    QFETCH(QString, prompt);
    QFETCH(QString, title);
    QFETCH(QString, emptySubjectPrompt);
    QFETCH(QString, emptySubjectTitle);
    QFETCH(MessageStyle, style);

    const auto withSubject = lookupMessage(category, subKey, sampleSubject);
    QVERIFY(withSubject.has_value());
    QCOMPARE(withSubject->prompt, prompt);
    QCOMPARE(withSubject->title, title);
    QCOMPARE(withSubject->style, style);

    const auto withoutSubject = lookupMessage(category, subKey, QString());
    QVERIFY(withoutSubject.has_value());
    QCOMPARE(withoutSubject->prompt, emptySubjectPrompt);
    QCOMPARE(withoutSubject->title, emptySubjectTitle);
    QCOMPARE(withoutSubject->style, style);
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
    QCOMPARE(answered, 0);

    // Without an answerer nothing may open either.
    setMessageAnswerer({});
    ModalDialogWatcher watcher([](QMessageBox *box) { box->done(QMessageBox::Yes); });
    QVERIFY(!ShowMsg(category, subKey, sampleSubject));
    QCoreApplication::processEvents();
    QVERIFY(!watcher.seen);
}

void TestMessages::answererReceivesEveryField_data()
{
    catalogue_data();
}

// Each catalogue message goes to the answerer twice, answered Yes and No;
// a notice must come back false even when the answerer says Yes.
void TestMessages::answererReceivesEveryField()
{
    QFETCH(QString, category);
    QFETCH(QString, subKey);
    QFETCH(QString, prompt);
    QFETCH(QString, title);
    QFETCH(MessageStyle, style);
    QFETCH(bool, returnsYes);

    for (const bool answer : {true, false}) {
        QList<MessageRequest> requests;
        setMessageAnswerer([&requests, answer](const MessageRequest &request) {
            requests.append(request);
            return answer;
        });

        QCOMPARE(ShowMsg(category, subKey, sampleSubject), answer && returnsYes);
        QCOMPARE(requests.size(), 1);
        const MessageRequest &request = requests.constFirst();
        QCOMPARE(request.category, category);
        QCOMPARE(request.subKey, subKey);
        QCOMPARE(request.subject, sampleSubject);
        QCOMPARE(request.prompt, prompt);
        QCOMPARE(request.title, title);
        QCOMPARE(request.style, style);
        QCOMPARE(request.isConfirmation(), returnsYes);
        QCOMPARE(request.yesIsDefault(), returnsYes && style != MessageStyle::ConfirmDefaultNo);
    }
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
    QTest::newRow("入力/重複, warning")
        << QStringLiteral("入力") << QStringLiteral("重複") << QStringLiteral("<b>社員</b>")
        << int(Qt::Key_Enter) << QStringLiteral("<b>社員</b>が重複しています。確認してください")
        << QStringLiteral("入力注意") << int(QMessageBox::Warning) << int(QMessageBox::Ok)
        << int(QMessageBox::Ok) << false;
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
