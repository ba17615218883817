#include "app/FrmPelmar.h"
#include "app/Look.h"
#include "calc/Formats.h"
#include "statements/StatementPage.h"
#include "store/Database.h"
#include "widgets/DataGrid.h"

#include "../support/WindowFixture.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDesktopServices>
#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QSqlTableModel>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace pelmar;

// Receives what the banner asks the desktop to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls << url; }
};

// An environment variable set for as long as this lives, then as it was.
class EnvironmentFor {
public:
    EnvironmentFor(const char *name, const QString &value)
        : m_name(name),
          m_wasSet(qEnvironmentVariableIsSet(name)),
          m_before(qgetenv(name))
    {
        qputenv(name, QFile::encodeName(value));
    }
    ~EnvironmentFor()
    {
        if (m_wasSet)
            qputenv(m_name, m_before);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    bool m_wasSet;
    QByteArray m_before;
};

class TestMainWindow : public test::WindowFixture {
    Q_OBJECT
private slots:
    void refusesBrokenData_data();
    void refusesBrokenData();
    void captionAndPages();
    void controls_data();
    void controls();
    void buttonBars_data();
    void buttonBars();
    void gridBindings_data();
    void gridBindings();
    void startWritesOnlyWhatTheLastRunLeft_data();
    void startWritesOnlyWhatTheLastRunLeft();
    void columns_data();
    void columns();
    void numberFormats_data();
    void numberFormats();
    void informationLabelsAndBanner_data();
    void informationLabelsAndBanner();
    void japaneseLook();
    void everyPageFitsWhenShown();
    void closingEndsEverything();
    void severalWindowsOneAfterAnother();
};

void TestMainWindow::refusesBrokenData_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("namedFile");
    QTest::newRow("no data folder") << "noFolder" << kMainDbFileName;
    QTest::newRow("main missing") << "mainMissing" << kMainDbFileName;
    QTest::newRow("work missing, main present") << "workMissing" << kWorkDbFileName;
    QTest::newRow("work damaged") << "workDamaged" << kWorkDbFileName;
    QTest::newRow("work from a newer Pelmar") << "workNewer" << kWorkDbFileName;
}

void TestMainWindow::refusesBrokenData()
{
    QFETCH(QString, damage);
    QFETCH(QString, namedFile);
    closeWindow(); // the fixture's own, so only the broken one is left to look at
    QString folder = data().path();
    if (damage == QLatin1String("noFolder"))
        folder += QStringLiteral("/nowhere");
    else if (damage == QLatin1String("mainMissing"))
        QVERIFY(QFile::remove(data().mainPath()));
    else if (damage == QLatin1String("workMissing"))
        QVERIFY(QFile::remove(data().workPath()));
    else if (damage == QLatin1String("workDamaged")) {
        QFile file(data().workPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
    } else if (damage == QLatin1String("workNewer")) {
        QVERIFY(execBound(data().workDb(), QStringLiteral("PRAGMA user_version = %1").arg(kWorkSchemaVersion + 1)));
    }

    // The work file is offered anew beside a sound main file; the answer
    // here is No, which refuses as before.
    answer(false);
    clearAsked();
    const bool offered = damage == QLatin1String("workMissing") || damage == QLatin1String("workDamaged");
    const QByteArray workBefore = test::fileBytes(data().workPath());
    FrmPelmar window(folder);
    QVERIFY(!window.isOpen());
    QCOMPARE(asked().size(), offered ? 1 : 0);
    if (offered)
        QVERIFY2(asked().first().startsWith(QStringLiteral("その他/作業ファイル作成確認/")),
                 qPrintable(asked().first()));
    QCOMPARE(test::fileBytes(data().workPath()), workBefore);
    QVERIFY2(window.openError().contains(namedFile), qPrintable(window.openError()));
    if (damage == QLatin1String("workNewer"))
        QVERIFY2(window.openError().contains(QStringLiteral("新しい版の Pelmar")), qPrintable(window.openError()));
    QVERIFY(!window.isVisible());
    // Nothing else ran: no caption, no bindings, no connection left open.
    QVERIFY(!window.windowTitle().startsWith(QLatin1String("Pelmar Ver")));
    QVERIFY(!window.findChild<DataGrid *>(QStringLiteral("Grid明細"))->model());
    QVERIFY(!anyProgramConnection());
    // Opening never creates a file.
    if (damage == QLatin1String("workMissing"))
        QVERIFY(!QFile::exists(data().workPath()));
}

void TestMainWindow::captionAndPages()
{
    QCOMPARE(window()->windowTitle(), QStringLiteral("Pelmar Ver 1.20"));
    auto *tabs = window()->findChild<QTabWidget *>(QStringLiteral("SSTab1"));
    QVERIFY(tabs);
    const QStringList captions{QStringLiteral("勤務表"), QStringLiteral("履　歴"), QStringLiteral("従業員"),
                               QStringLiteral("勤務形態"), QStringLiteral("設定・情報")};
    QCOMPARE(tabs->count(), captions.size());
    for (int i = 0; i < captions.size(); ++i)
        QCOMPARE(tabs->tabText(i), captions.at(i));
    // Each page holds one framed container with all its controls.
    const QStringList containers{QStringLiteral("imContainer3D1"), QStringLiteral("imContainer3D2"),
                                 QStringLiteral("imContainer3D3"), QStringLiteral("imContainer3D11"),
                                 QStringLiteral("imContainer3D6")};
    for (int i = 0; i < containers.size(); ++i)
        QVERIFY2(tabs->widget(i)->findChild<QWidget *>(containers.at(i)), qPrintable(containers.at(i)));
}

void TestMainWindow::controls_data()
{
    // The object names outside checks find the controls by, page by page.
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("names");
    const auto add = [](int page, const char *tag, const char *names) {
        QTest::newRow(tag) << page << QString::fromUtf8(names).split(u' ');
    };
    add(0, "statement",
        "imContainer3D1 imContainer3D4 imContainer3D13 imContainer3D5 cmb氏名 num時給 cmb勤務形態 Lbl勤務形態"
        " txtタイトル num休憩 num時間 num調整額 num合計 Grid明細 cmd履歴閉じる cmdクリア cmd登録 cmd行削除 cmd読込"
        " Cmd印刷 cmd削除 cmdHint");
    add(1, "history", "imContainer3D2 Grid履歴 imContainer3D9 cmd履歴クリア cmd履歴読込 cmd履歴選択 cmdHint2");
    add(2, "employees",
        "imContainer3D3 Grid従業員 DD勤務形態 imContainer3D10 cmdクリア従業員 cmd従業員登録 cmd従業員行削除"
        " cmd従業員読込 cmdHint3");
    add(3, "shift types",
        "imContainer3D11 Grid勤務形態 imContainer3D12 cmd勤務クリア cmd勤務登録 cmd勤務行削除 cmd勤務読込 cmdHint5");
    add(4, "settings",
        "imContainer3D6 imContainer3D7 imContainer3D8 txt自社名 txt自社情報 cmd設定削除 cmd設定クリア cmd設定登録"
        " cmd設定読込 cmdHint4 cmd一括削除7 Image2 lblInfo lblSupport");
}

// Each name is there once, on its page, and is the kind of control its
// prefix says; a button shows a caption or, for the hints, an icon.
void TestMainWindow::controls()
{
    QFETCH(int, page);
    QFETCH(QStringList, names);
    const QList<QPair<QString, QStringList>> kinds{{QStringLiteral("cmd"), {"QAbstractButton"}},
                                                   {QStringLiteral("Cmd"), {"QAbstractButton"}},
                                                   {QStringLiteral("num"), {"pelmar::NumberBox"}},
                                                   {QStringLiteral("cmb"), {"QComboBox"}},
                                                   {QStringLiteral("Grid"), {"QTableView"}},
                                                   {QStringLiteral("DD"), {"QTableView"}},
                                                   {QStringLiteral("txt"), {"QLineEdit", "QPlainTextEdit"}},
                                                   {QStringLiteral("imContainer"), {"QFrame"}},
                                                   {QStringLiteral("Lbl"), {"QLabel"}},
                                                   {QStringLiteral("lbl"), {"QLabel"}},
                                                   {QStringLiteral("Image"), {"QLabel"}}};
    QWidget *pageWidget = control<QTabWidget>("SSTab1")->widget(page);
    for (const QString &name : names) {
        const QList<QWidget *> found = window()->findChildren<QWidget *>(name);
        QVERIFY2(found.size() == 1, qPrintable(name));
        QWidget *control = found.first();
        // The drop-down list is a popup window of its page, so walk the parents.
        QWidget *owner = control;
        while (owner && owner != pageWidget)
            owner = owner->parentWidget();
        QVERIFY2(owner, qPrintable(name + QStringLiteral(" is on the wrong page")));
        for (const auto &[prefix, classes] : kinds) {
            if (!name.startsWith(prefix))
                continue;
            const bool right = std::any_of(classes.begin(), classes.end(),
                                           [control](const QString &c) { return control->inherits(c.toLatin1()); });
            QVERIFY2(right, qPrintable(name + u' ' + QLatin1String(control->metaObject()->className())));
            break;
        }
        if (name.startsWith(QLatin1String("num")))
            QVERIFY(control->metaObject()->indexOfProperty("value") >= 0);
        if (auto *button = qobject_cast<QAbstractButton *>(control))
            QVERIFY2(!button->text().isEmpty() || !button->icon().isNull(), qPrintable(name));
    }
}

void TestMainWindow::buttonBars_data()
{
    // Each bar, the named frames around it up to its page, and its buttons
    // from left to right.
    QTest::addColumn<QString>("bar");
    QTest::addColumn<QStringList>("frames");
    QTest::addColumn<QStringList>("leftToRight");
    using namespace Qt::Literals::StringLiterals;
    const auto add = [](const char *bar, const QString &frames, const QString &row) {
        QTest::newRow(bar) << QString::fromUtf8(bar) << frames.split(u' ') << row.split(u' ');
    };
    add("imContainer3D5", u"imContainer3D1"_s,
        u"cmd履歴閉じる cmdクリア cmd登録 cmd行削除 cmd読込 Cmd印刷 cmd削除 cmdHint"_s);
    add("imContainer3D9", u"imContainer3D2"_s, u"cmd履歴クリア cmd履歴読込 cmd履歴選択 cmdHint2"_s);
    add("imContainer3D10", u"imContainer3D3"_s,
        u"cmdクリア従業員 cmd従業員登録 cmd従業員行削除 cmd従業員読込 cmdHint3"_s);
    add("imContainer3D12", u"imContainer3D11"_s, u"cmd勤務クリア cmd勤務登録 cmd勤務行削除 cmd勤務読込 cmdHint5"_s);
    add("imContainer3D8", u"imContainer3D7 imContainer3D6"_s, u"cmd設定削除 cmd設定クリア cmd設定登録 cmd設定読込"_s);
}

// The buttons of a bar are all shown, in order, without overlapping, and
// no two of them say the same.
void TestMainWindow::buttonBars()
{
    QFETCH(QString, bar);
    QFETCH(QStringList, frames);
    QFETCH(QStringList, leftToRight);
    QTabWidget *tabs = control<QTabWidget>("SSTab1");
    QWidget *control = window()->findChild<QWidget *>(bar);
    QVERIFY(control);
    QStringList around;
    for (QWidget *w = control->parentWidget(); w && tabs->indexOf(w) < 0; w = w->parentWidget())
        if (qobject_cast<QFrame *>(w) && !w->objectName().isEmpty())
            around << w->objectName();
    QCOMPARE(around, frames);

    tabs->setCurrentWidget(window()->findChild<QWidget *>(frames.last())->parentWidget());
    window()->resize(1000, 700);
    QVERIFY(QTest::qWaitForWindowExposed(window()));
    int lastRight = -1;
    QStringList captions;
    for (const QString &buttonName : leftToRight) {
        auto *button = control->findChild<QAbstractButton *>(buttonName, Qt::FindDirectChildrenOnly);
        QVERIFY2(button && button->isVisible(), qPrintable(buttonName));
        QVERIFY2(button->x() > lastRight, qPrintable(buttonName));
        lastRight = button->geometry().right();
        if (!button->text().isEmpty()) {
            QVERIFY2(!captions.contains(button->text()), qPrintable(buttonName));
            captions << button->text();
        }
    }
}

void TestMainWindow::gridBindings_data()
{
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QString>("table");
    QTest::newRow("statement") << "Grid明細"
                               << "w明細";
    QTest::newRow("employees") << "Grid従業員"
                               << "w従業員";
    QTest::newRow("history") << "Grid履歴"
                             << "w履歴";
    QTest::newRow("patterns") << "Grid勤務形態"
                              << "w勤務形態";
    QTest::newRow("drop-down") << "DD勤務形態"
                               << "w勤務形態参照";
}

void TestMainWindow::gridBindings()
{
    QFETCH(QString, grid);
    QFETCH(QString, table);
    auto *view = window()->findChild<QTableView *>(grid);
    QVERIFY(view);
    auto *model = qobject_cast<QSqlTableModel *>(view->model());
    QVERIFY(model);
    QCOMPARE(model->tableName(), table);
    QCOMPARE(model->database().databaseName().contains(kWorkDbFileName), true);
}

void TestMainWindow::startWritesOnlyWhatTheLastRunLeft_data()
{
    // What the earlier run left in the work file when it ended.
    QTest::addColumn<QString>("left");
    QTest::addColumn<bool>("written");
    QTest::newRow("what a start shows") << QString() << false;
    QTest::newRow("a history list") << "insert into w履歴 values ('山田', 8000, '3月分')" << true;
    QTest::newRow("a typed line") << "update w明細 set 日付 = '20260301', 金額 = 8000 where 行番号 = 2" << true;
    QTest::newRow("a ticked employee") << "update w従業員 set チェック = -1 where \"No\" = 1" << true;
    QTest::newRow("an employee typed below") << "update w従業員 set 氏名 = '鈴木' where \"No\" = 2" << true;
    QTest::newRow("a changed shift type") << "update w勤務形態 set 開始時間 = '1000' where \"No\" = 1" << true;
    QTest::newRow("a shorter drop-down list") << "delete from w勤務形態参照" << true;
}

void TestMainWindow::startWritesOnlyWhatTheLastRunLeft()
{
    QFETCH(QString, left);
    QFETCH(bool, written);
    QVERIFY(execBound(mainDb(), QStringLiteral("insert into 勤務形態マスタ values (1, 'A', '0900', '1800', 1, 8)")));
    QVERIFY(
        execBound(mainDb(), QStringLiteral("insert into 従業員 values (1, '山田', 1000, 'A', '0900', '1800', 1, 8)")));
    const auto pages = [this] {
        test::Rows all;
        for (const char *table : {"w明細", "w従業員", "w勤務形態", "w勤務形態参照", "w履歴"})
            all +=
                query(workDb(), QStringLiteral("select '%1', * from %1 order by rowid").arg(QString::fromUtf8(table)));
        return all;
    };
    QVERIFY(openWindow());
    const test::Rows shown = pages();
    QCOMPARE(shown.size(), 60 + 100 + 10 + 1);
    closeWindow();

    if (!left.isEmpty())
        QVERIFY(execBound(workDb(), left));
    const test::Rows version = query(workDb(), QStringLiteral("PRAGMA data_version"));
    QVERIFY(openWindow());
    // A start over tables that already show what a start shows commits
    // nothing to the work file (each commit is a wait for the disk); any
    // other start puts the pages back as they were.
    QCOMPARE(query(workDb(), QStringLiteral("PRAGMA data_version")) != version, written);
    QCOMPARE(pages(), shown);
}

void TestMainWindow::columns_data()
{
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QList<int>>("hidden");
    QTest::addColumn<QList<int>>("readOnly");
    QTest::addColumn<QString>("first"); // captions of the first and last columns shown
    QTest::addColumn<QString>("last");
    // The premium columns after 金額 show only while premiums are paid (a
    // new installation pays night and overtime), and are worked out, never typed.
    QTest::newRow("statement") << "Grid明細" << QList<int>{0, 11, 12, 13} << QList<int>{9, 10, 11, 12, 13} << "日　付"
                               << "時間外";
    QTest::newRow("statement, with a rest day")
        << "Grid明細 premiums" << QList<int>{0, 11, 13} << QList<int>{9, 10, 11, 12, 13} << "日　付"
        << "休日";
    QTest::newRow("employees") << "Grid従業員" << QList<int>{0} << QList<int>{} << ""
                               << "実労";
    QTest::newRow("history") << "Grid履歴" << QList<int>{} << QList<int>{} << "氏　　名"
                             << "タイトル";
    QTest::newRow("shift types") << "Grid勤務形態" << QList<int>{0} << QList<int>{1} << "タイプ"
                                 << "実労時間";
    QTest::newRow("drop-down") << "DD勤務形態" << QList<int>{} << QList<int>{0, 1, 2, 3, 4} << "タイプ"
                               << "実労時間";
}

// Only the key columns are hidden; the others are headed, of a usable
// width, amounts right-aligned and times centred, and the user may type
// into all but the locked ones.
void TestMainWindow::columns()
{
    QFETCH(QString, grid);
    QFETCH(QList<int>, hidden);
    QFETCH(QList<int>, readOnly);
    QFETCH(QString, first);
    QFETCH(QString, last);
    if (grid.endsWith(QStringLiteral(" premiums"))) {
        grid.chop(9);
        settings::PaySettings paid;
        paid.night = paid.overtime = true;
        paid.restDay = Qt::Sunday;
        window()->statementPage()->applyPaySettings(paid);
    }
    auto *view = window()->findChild<DataGrid *>(grid);
    QVERIFY(view && view->model());
    QSqlTableModel *model = view->tableModel();
    QVERIFY(execBound(model->database(), QStringLiteral("insert into %1 default values").arg(model->tableName())));
    view->refresh();
    QVERIFY(model->rowCount() > 0);

    QList<int> shown;
    for (int column = 0; column < model->columnCount(); ++column) {
        const QByteArray where = grid.toUtf8() + ' ' + QByteArray::number(column);
        QCOMPARE(view->isColumnHidden(column), hidden.contains(column));
        const bool editable = model->flags(model->index(0, column)) & Qt::ItemIsEditable;
        QVERIFY2(editable != readOnly.contains(column), where.constData());
        if (view->isColumnHidden(column))
            continue;
        shown << column;
        const GridColumn &layout = view->column(column);
        const QString caption = model->headerData(column, Qt::Horizontal).toString();
        QVERIFY2(layout.checkBox || !caption.isEmpty(), where.constData());
        // 15 twips to the pixel: a width far off shows as a sliver or a wall.
        QVERIFY2(view->columnWidth(column) >= 20 && view->columnWidth(column) <= 320,
                 qPrintable(where + ' ' + QByteArray::number(view->columnWidth(column))));
        const int alignment = view->columnAlignment(column) & Qt::AlignHorizontal_Mask;
        if (layout.format == fmt::kYen)
            QVERIFY2(alignment == Qt::AlignRight, where.constData());
        else if (layout.format == fmt::kTime || layout.format == fmt::kHours)
            QVERIFY2(alignment == Qt::AlignHCenter, where.constData());
        else
            QVERIFY2(alignment != Qt::AlignRight, where.constData());
    }
    QVERIFY(!shown.isEmpty());
    QCOMPARE(model->headerData(shown.first(), Qt::Horizontal).toString(), first);
    QCOMPARE(model->headerData(shown.last(), Qt::Horizontal).toString(), last);
}

void TestMainWindow::numberFormats_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("wage in thousands") << "num時給" << 1000.0 << "1,000";
    QTest::newRow("wage with half a yen, as stored") << "num時給" << 1200.5 << "1,200.5";
    QTest::newRow("no break shows nothing") << "num休憩" << 0.0 << "";
    QTest::newRow("negative adjustment") << "num調整額" << -500.0 << "-500";
    QTest::newRow("total rounds to the yen") << "num合計" << 8333.333333333334 << "8,333";
}

void TestMainWindow::numberFormats()
{
    QFETCH(QString, box);
    QFETCH(double, value);
    QFETCH(QString, shown);
    auto *edit = window()->findChild<QLineEdit *>(box);
    QVERIFY(edit);
    QVERIFY(edit->setProperty("value", value));
    QCOMPARE(edit->text(), shown);
    QCOMPARE(edit->property("value").toDouble(), value);
    edit->setProperty("value", QVariant());
    QCOMPARE(edit->text(), QString());
    QVERIFY(!edit->property("value").isValid());
}

void TestMainWindow::informationLabelsAndBanner_data()
{
    QTest::addColumn<bool>("pageInstalled");
    QTest::newRow("help page in the desktop's shared data") << true;
    QTest::newRow("help page nowhere") << false;
}

void TestMainWindow::informationLabelsAndBanner()
{
    QFETCH(bool, pageInstalled);
    auto *info = window()->findChild<QLabel *>(QStringLiteral("lblInfo"));
    auto *support = window()->findChild<QLabel *>(QStringLiteral("lblSupport"));
    QVERIFY(info->text().contains(QStringLiteral("Ver 1.20")));
    // The label points to the help the program has, and to nothing else.
    QVERIFY(support->text().contains(QStringLiteral("ヘルプページ")));
    QVERIFY(!support->text().contains(QStringLiteral("掲示板")));

    // The desktop's shared data folders are this test's own.
    QTemporaryDir shared;
    QVERIFY(shared.isValid());
    const EnvironmentFor home("XDG_DATA_HOME", shared.path() + QStringLiteral("/home"));
    const EnvironmentFor dirs("XDG_DATA_DIRS", shared.path() + QStringLiteral("/usr/share"));
    const QString page = shared.path() + QStringLiteral("/usr/share/pelmar/help/pelmar-support.html");
    if (pageInstalled) {
        QVERIFY(QDir().mkpath(QFileInfo(page).path()));
        QFile file(page);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    control<QTabWidget>("SSTab1")->setCurrentIndex(4);
    auto *banner = window()->findChild<QLabel *>(QStringLiteral("Image2"));
    QVERIFY(QTest::qWaitForWindowExposed(window()));
    // The information can be selected, to copy the data folder, once seen.
    QVERIFY(info->textInteractionFlags() & Qt::TextSelectableByMouse);
    QVERIFY(!banner->pixmap().isNull());
    QTest::mouseClick(banner, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));

    if (pageInstalled) {
        QCOMPARE(catcher.urls, QList<QUrl>{QUrl::fromLocalFile(page)});
        QVERIFY(asked().isEmpty());
    } else {
        // Nothing opens without a word.
        QVERIFY(catcher.urls.isEmpty());
        QCOMPARE(asked(), QStringList{QStringLiteral("エラー/ヘルプ表示/pelmar-support.html")});
    }
}

void TestMainWindow::japaneseLook()
{
    QVERIFY(installJapaneseTranslation(*qApp));
    QMessageBox box(QMessageBox::Question, QStringLiteral("削除の確認"), QStringLiteral("?"),
                    QMessageBox::Yes | QMessageBox::No);
    QVERIFY(box.button(QMessageBox::Yes)->text().contains(QStringLiteral("はい")));
    QVERIFY(box.button(QMessageBox::No)->text().contains(QStringLiteral("いいえ")));

    const QString family = window()->font().family();
    QVERIFY2(family == QStringLiteral("ＭＳ Ｐゴシック") || family == QStringLiteral("MS PGothic")
                 || family == QStringLiteral("IPAPGothic") || family == QStringLiteral("IPA Pゴシック"),
             qPrintable(family));
    // The family is one the system really has, so Japanese captions render.
    QVERIFY(QFontDatabase::families().contains(family));
}

void TestMainWindow::everyPageFitsWhenShown()
{
    auto *tabs = window()->findChild<QTabWidget *>(QStringLiteral("SSTab1"));
    QVERIFY(tabs);
    // A page is measured only once it is shown. Made as small as it goes
    // before any other page was seen, the window must still grow to fit
    // each page as it comes to the front.
    // What a page needs, measured from its layout whether shown or not.
    const auto fits = [](const QWidget *page, QSize room) {
        const QSize need = page->layout()->totalMinimumSize();
        return room.width() >= need.width() && room.height() >= need.height();
    };
    window()->resize(1, 1);
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        QWidget *page = tabs->widget(i);
        QTRY_VERIFY(page->isVisible());
        // Growing the window to a page may take more than one pass of the
        // event loop (a busy machine splits the layout's requests): wait for
        // the page to fit rather than for one pass.
        QTRY_VERIFY2(fits(page, page->size()), qPrintable(page->objectName()));
    }
    // Once seen, every page counts: with the first page in front the window
    // shrinks no further than the largest page allows.
    tabs->setCurrentIndex(0);
    QTRY_VERIFY(tabs->widget(0)->isVisible());
    window()->resize(1, 1);
    const auto everyPageFits = [&] {
        for (int i = 0; i < tabs->count(); ++i)
            if (!fits(tabs->widget(i), tabs->currentWidget()->size()))
                return false;
        return true;
    };
    QTRY_VERIFY(everyPageFits());
}

void TestMainWindow::closingEndsEverything()
{
    QWidget other;
    other.setWindowTitle(QStringLiteral("ヒント        "));
    other.show();
    QSignalSpy unloaded(window(), &FrmPelmar::unloaded);
    QVERIFY(anyProgramConnection());
    QVERIFY(window()->close());
    QCOMPARE(unloaded.count(), 1);
    QVERIFY(!other.isVisible());
    QVERIFY(!anyProgramConnection());
}

void TestMainWindow::severalWindowsOneAfterAnother()
{
    for (int i = 0; i < 3; ++i)
        QVERIFY(openWindow());
    closeWindow();
    QVERIFY(!anyProgramConnection());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
