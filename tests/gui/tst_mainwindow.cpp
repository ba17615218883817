#include "app/FrmPelmar.h"
#include "app/Look.h"
#include "widgets/DataGrid.h"
#include "messages/ShowMsg.h"
#include "store/Database.h"

#include "../support/TestData.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDesktopServices>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QFontDatabase>
#include <QMessageBox>
#include <QSignalSpy>
#include <QSqlTableModel>
#include <QTabWidget>
#include <QTest>

using namespace pelmar;

namespace {

bool anyPelmarConnection()
{
    const QStringList names = QSqlDatabase::connectionNames();
    return std::any_of(names.begin(), names.end(),
                       [](const QString &n) { return n.startsWith(QLatin1String("pelmar-")); });
}

} // namespace

// Receives what the banner asks the desktop to open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls << url; }
};

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void refusesBrokenData_data();
    void refusesBrokenData();
    void captionAndPages();
    void controls_data();
    void controls();
    void framesAndButtonBars_data();
    void framesAndButtonBars();
    void gridBindings_data();
    void gridBindings();
    void columns_data();
    void columns();
    void numberFormats_data();
    void numberFormats();
    void informationLabelsAndBanner();
    void japaneseLook();
    void closingEndsEverything();
    void severalWindowsOneAfterAnother();

private:
    std::unique_ptr<test::TestDataFolder> m_data;
};

void TestMainWindow::init()
{
    m_data = std::make_unique<test::TestDataFolder>();
    QVERIFY(m_data->isValid());
}

void TestMainWindow::refusesBrokenData_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("namedFile");
    QTest::newRow("no data folder") << "noFolder" << kMainDbFileName;
    QTest::newRow("main missing") << "mainMissing" << kMainDbFileName;
    QTest::newRow("work missing, main present") << "workMissing" << kWorkDbFileName;
    QTest::newRow("work damaged") << "workDamaged" << kWorkDbFileName;
}

void TestMainWindow::refusesBrokenData()
{
    QFETCH(QString, damage);
    QFETCH(QString, namedFile);
    QString folder = m_data->path();
    if (damage == QLatin1String("noFolder"))
        folder += QStringLiteral("/nowhere");
    else if (damage == QLatin1String("mainMissing"))
        QVERIFY(QFile::remove(m_data->mainPath()));
    else if (damage == QLatin1String("workMissing"))
        QVERIFY(QFile::remove(m_data->workPath()));
    else if (damage == QLatin1String("workDamaged")) {
        QFile file(m_data->workPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
    }

    FrmPelmar window(folder);
    QVERIFY(!window.isOpen());
    QVERIFY2(window.openError().contains(namedFile), qPrintable(window.openError()));
    QVERIFY(!window.isVisible());
    // Nothing else ran: no caption, no bindings, no connection left open.
    QVERIFY(!window.windowTitle().startsWith(QLatin1String("Pelmar Ver")));
    QVERIFY(!window.findChild<DataGrid *>(QStringLiteral("Grid明細"))->model());
    QVERIFY(!anyPelmarConnection());
    // Opening never creates a file.
    if (damage == QLatin1String("workMissing"))
        QVERIFY(!QFile::exists(m_data->workPath()));
}

void TestMainWindow::captionAndPages()
{
    FrmPelmar window(m_data->path());
    QVERIFY2(window.isOpen(), qPrintable(window.openError()));
    QCOMPARE(window.windowTitle(), QStringLiteral("Pelmar Ver 1.20"));
    auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("SSTab1"));
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
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("caption");
    const auto add = [](int page, const char *name, const char *cls, const char *caption = nullptr) {
        QTest::newRow(name) << page << QString::fromUtf8(name) << QString::fromLatin1(cls)
                            << (caption ? QString::fromUtf8(caption) : QString());
    };
    add(0, "imContainer3D4", "QFrame");
    add(0, "imContainer3D13", "QFrame");
    add(0, "imContainer3D5", "QFrame");
    add(0, "cmb氏名", "QComboBox");
    add(0, "num時給", "pelmar::NumberBox");
    add(0, "cmb勤務形態", "QComboBox");
    add(0, "Lbl勤務形態", "QLabel", "");
    add(0, "txtタイトル", "QLineEdit");
    add(0, "num休憩", "pelmar::NumberBox");
    add(0, "num時間", "pelmar::NumberBox");
    add(0, "num調整額", "pelmar::NumberBox");
    add(0, "num合計", "pelmar::NumberBox");
    add(0, "Grid明細", "QTableView");
    add(0, "cmd履歴閉じる", "QAbstractButton", "閉じる");
    add(0, "cmdクリア", "QAbstractButton", "クリア");
    add(0, "cmd登録", "QAbstractButton", "登録");
    add(0, "cmd行削除", "QAbstractButton", "行削除");
    add(0, "cmd読込", "QAbstractButton", "読込");
    add(0, "Cmd印刷", "QAbstractButton", "印刷");
    add(0, "cmd削除", "QAbstractButton", "削除");
    add(0, "cmdHint", "QAbstractButton", "");
    add(1, "Grid履歴", "QTableView");
    add(1, "imContainer3D9", "QFrame");
    add(1, "cmd履歴クリア", "QAbstractButton", "クリア");
    add(1, "cmd履歴読込", "QAbstractButton", "読込");
    add(1, "cmd履歴選択", "QAbstractButton", "選択");
    add(1, "cmdHint2", "QAbstractButton", "");
    add(2, "Grid従業員", "QTableView");
    add(2, "DD勤務形態", "QTableView");
    add(2, "imContainer3D10", "QFrame");
    add(2, "cmdクリア従業員", "QAbstractButton", "クリア");
    add(2, "cmd従業員登録", "QAbstractButton", "登録");
    add(2, "cmd従業員行削除", "QAbstractButton", "行削除");
    add(2, "cmd従業員読込", "QAbstractButton", "読込");
    add(2, "cmdHint3", "QAbstractButton", "");
    add(3, "Grid勤務形態", "QTableView");
    add(3, "imContainer3D12", "QFrame");
    add(3, "cmd勤務クリア", "QAbstractButton", "クリア");
    add(3, "cmd勤務登録", "QAbstractButton", "登録");
    add(3, "cmd勤務行削除", "QAbstractButton", "行削除");
    add(3, "cmd勤務読込", "QAbstractButton", "読込");
    add(3, "cmdHint5", "QAbstractButton", "");
    add(4, "imContainer3D7", "QFrame");
    add(4, "imContainer3D8", "QFrame");
    add(4, "txt自社名", "QLineEdit");
    add(4, "txt自社情報", "QPlainTextEdit");
    add(4, "cmd設定削除", "QAbstractButton", "削除");
    add(4, "cmd設定クリア", "QAbstractButton", "クリア");
    add(4, "cmd設定登録", "QAbstractButton", "登録");
    add(4, "cmd設定読込", "QAbstractButton", "読込");
    add(4, "cmdHint4", "QAbstractButton", "");
    add(4, "cmd一括削除7", "QAbstractButton", "実行");
    add(4, "Image2", "QLabel");
    add(4, "lblInfo", "QLabel");
    add(4, "lblSupport", "QLabel");
}

void TestMainWindow::controls()
{
    QFETCH(int, page);
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, caption);
    FrmPelmar window(m_data->path());
    auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("SSTab1"));
    const QList<QWidget *> found = window.findChildren<QWidget *>(name);
    QCOMPARE(found.size(), 1);
    QWidget *control = found.first();
    QVERIFY2(control->inherits(className.toLatin1()), control->metaObject()->className());
    // The drop-down list is a popup window of its page, so walk the parents.
    QWidget *owner = control;
    while (owner && owner != tabs->widget(page))
        owner = owner->parentWidget();
    QVERIFY2(owner, "on the wrong page");
    if (auto *button = qobject_cast<QAbstractButton *>(control))
        QCOMPARE(button->text(), caption);
    if (name.startsWith(QLatin1String("num")))
        QVERIFY(control->metaObject()->indexOfProperty("value") >= 0);
}

void TestMainWindow::framesAndButtonBars_data()
{
    // The named frames around a control, innermost first, up to its page;
    // for a button bar, its controls from left to right.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("frames");
    QTest::addColumn<QStringList>("leftToRight");
    using namespace Qt::Literals::StringLiterals;
    const auto add = [](const char *name, const QString &frames, const QString &row = {}) {
        QTest::newRow(name) << QString::fromUtf8(name) << frames.split(u' ')
                            << (row.isEmpty() ? QStringList() : row.split(u' '));
    };
    add("cmd登録", u"imContainer3D5 imContainer3D1"_s);
    add("cmb氏名", u"imContainer3D4 imContainer3D1"_s);
    add("num合計", u"imContainer3D13 imContainer3D1"_s);
    add("Grid明細", u"imContainer3D1"_s);
    add("imContainer3D5", u"imContainer3D1"_s,
        u"cmd履歴閉じる cmdクリア cmd登録 cmd行削除 cmd読込 Cmd印刷 cmd削除 cmdHint"_s);
    add("Grid履歴", u"imContainer3D2"_s);
    add("imContainer3D9", u"imContainer3D2"_s, u"cmd履歴クリア cmd履歴読込 cmd履歴選択 cmdHint2"_s);
    add("Grid従業員", u"imContainer3D3"_s);
    add("imContainer3D10", u"imContainer3D3"_s,
        u"cmdクリア従業員 cmd従業員登録 cmd従業員行削除 cmd従業員読込 cmdHint3"_s);
    add("Grid勤務形態", u"imContainer3D11"_s);
    add("imContainer3D12", u"imContainer3D11"_s,
        u"cmd勤務クリア cmd勤務登録 cmd勤務行削除 cmd勤務読込 cmdHint5"_s);
    add("imContainer3D8", u"imContainer3D7 imContainer3D6"_s, u"cmd設定削除 cmd設定クリア cmd設定登録 cmd設定読込"_s);
    add("cmdHint4", u"imContainer3D7 imContainer3D6"_s);
    add("cmd一括削除7", u"frame一括削除内 frame一括削除 imContainer3D7 imContainer3D6"_s);
    add("Image2", u"imContainer3D6"_s);
}

void TestMainWindow::framesAndButtonBars()
{
    QFETCH(QString, name);
    QFETCH(QStringList, frames);
    QFETCH(QStringList, leftToRight);
    FrmPelmar window(m_data->path());
    auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("SSTab1"));
    QWidget *control = window.findChild<QWidget *>(name);
    QVERIFY(tabs && control);
    QStringList around;
    for (QWidget *w = control->parentWidget(); w && tabs->indexOf(w) < 0; w = w->parentWidget())
        if (qobject_cast<QFrame *>(w) && !w->objectName().isEmpty())
            around << w->objectName();
    QCOMPARE(around, frames);

    if (leftToRight.isEmpty())
        return;
    tabs->setCurrentWidget(window.findChild<QWidget *>(frames.last())->parentWidget());
    window.resize(1000, 700);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    int lastRight = -1;
    for (const QString &buttonName : leftToRight) {
        auto *button = control->findChild<QAbstractButton *>(buttonName, Qt::FindDirectChildrenOnly);
        QVERIFY2(button && button->isVisible(), qPrintable(buttonName));
        QVERIFY2(button->x() > lastRight, qPrintable(buttonName));
        lastRight = button->geometry().right();
    }
}

void TestMainWindow::gridBindings_data()
{
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QString>("table");
    QTest::newRow("statement") << "Grid明細" << "w明細";
    QTest::newRow("employees") << "Grid従業員" << "w従業員";
    QTest::newRow("history") << "Grid履歴" << "w履歴";
    QTest::newRow("patterns") << "Grid勤務形態" << "w勤務形態";
    QTest::newRow("drop-down") << "DD勤務形態" << "w勤務形態参照";
}

void TestMainWindow::gridBindings()
{
    QFETCH(QString, grid);
    QFETCH(QString, table);
    FrmPelmar window(m_data->path());
    auto *view = window.findChild<QTableView *>(grid);
    QVERIFY(view);
    auto *model = qobject_cast<QSqlTableModel *>(view->model());
    QVERIFY(model);
    QCOMPARE(model->tableName(), table);
    QCOMPARE(model->database().databaseName().contains(kWorkDbFileName), true);
}

void TestMainWindow::columns_data()
{
    QTest::addColumn<QString>("grid");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<double>("twips");    // 0: hidden
    QTest::addColumn<int>("alignment");  // horizontal alignment flag
    QTest::addColumn<bool>("editable");
    const auto add = [](const char *grid, int column, const char *caption, double twips, int alignment,
                        bool editable = true) {
        QTest::addRow("%s %d", grid, column) << QString::fromUtf8(grid) << column << QString::fromUtf8(caption)
                                             << twips << alignment << editable;
    };
    const int c = Qt::AlignHCenter, r = Qt::AlignRight, l = Qt::AlignLeft;
    add("Grid明細", 0, "行番号", 0, 0);
    add("Grid明細", 1, "日　付", 1430, c);
    add("Grid明細", 2, "開始時間", 1200.189, c);
    add("Grid明細", 3, "終了時間", 1200.189, c);
    add("Grid明細", 4, "休憩", 780, c);
    add("Grid明細", 5, "時間", 810, c);
    add("Grid明細", 6, "時給", 764.7874, r);
    add("Grid明細", 7, "調整額", 1050, r);
    add("Grid明細", 8, "金　額", 1130, r);
    add("Grid従業員", 0, "No", 0, 0);
    add("Grid従業員", 1, "", 434.8347, c);
    add("Grid従業員", 2, "氏　　名", 2910.047, l);
    add("Grid従業員", 3, "時給", 824.882, r);
    add("Grid従業員", 4, "タイプ", 705.2599, c);
    add("Grid従業員", 5, "開始時間", 1124.787, c);
    add("Grid従業員", 6, "終了時間", 1124.787, c);
    add("Grid従業員", 7, "休憩", 674, c);
    add("Grid従業員", 8, "実労", 674, c);
    add("Grid履歴", 0, "氏　　名", 2160, l);
    add("Grid履歴", 1, "金額", 1049.953, r);
    add("Grid履歴", 2, "タイトル", 4515.024, l);
    add("Grid勤務形態", 0, "No", 0, 0);
    add("Grid勤務形態", 1, "タイプ", 810.1418, c, false);
    add("Grid勤務形態", 2, "開始時間", 1289.764, c);
    add("Grid勤務形態", 3, "終了時間", 1365.165, c);
    add("Grid勤務形態", 4, "休憩時間", 1305.071, c);
    add("Grid勤務形態", 5, "実労時間", 1289.764, c);
    add("DD勤務形態", 0, "タイプ", 800, c, false);
    add("DD勤務形態", 1, "開始時間", 1200.189, c, false);
    add("DD勤務形態", 2, "終了時間", 1154.835, c, false);
    add("DD勤務形態", 3, "休憩時間", 720, c, false);
    add("DD勤務形態", 4, "実労時間", 720, c, false);
}

void TestMainWindow::columns()
{
    QFETCH(QString, grid);
    QFETCH(int, column);
    QFETCH(QString, caption);
    QFETCH(double, twips);
    QFETCH(int, alignment);
    QFETCH(bool, editable);
    FrmPelmar window(m_data->path());
    auto *view = window.findChild<DataGrid *>(grid);
    QVERIFY(view && view->model());
    QCOMPARE(view->model()->headerData(column, Qt::Horizontal).toString(), caption);
    if (twips == 0) {
        QVERIFY(view->isColumnHidden(column));
        return;
    }
    QVERIFY(!view->isColumnHidden(column));
    QCOMPARE(view->columnWidth(column), qRound(twips / 15.0));
    QCOMPARE(int(view->columnAlignment(column) & Qt::AlignHorizontal_Mask), alignment);
    // Editability is what the model tells the view for a cell of that column.
    QSqlTableModel *model = view->tableModel();
    QVERIFY(execBound(model->database(), QStringLiteral("insert into %1 default values").arg(model->tableName())));
    view->refresh();
    QVERIFY(model->rowCount() > 0);
    QCOMPARE(bool(model->flags(model->index(0, column)) & Qt::ItemIsEditable), editable);
}

void TestMainWindow::numberFormats_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("format");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("wage") << "num時給" << "#,###" << 1000.0 << "1,000";
    QTest::newRow("break total") << "num休憩" << "#,##0.0#;-#,##0.0#;" << 0.75 << "0.75";
    QTest::newRow("no break") << "num休憩" << "#,##0.0#;-#,##0.0#;" << 0.0 << "";
    QTest::newRow("adjustment") << "num調整額" << "#,###" << -500.0 << "-500";
    QTest::newRow("hours") << "num時間" << "#,##0.0#" << 0.0 << "0.0";
    QTest::newRow("quarter hours") << "num時間" << "#,##0.0#" << 40.25 << "40.25";
    QTest::newRow("total") << "num合計" << "#,###" << 8333.333333333334 << "8,333";
}

void TestMainWindow::numberFormats()
{
    QFETCH(QString, box);
    QFETCH(QString, format);
    QFETCH(double, value);
    QFETCH(QString, shown);
    FrmPelmar window(m_data->path());
    auto *edit = window.findChild<QLineEdit *>(box);
    QVERIFY(edit);
    QCOMPARE(edit->property("displayFormat").toString(), format);
    QVERIFY(edit->setProperty("value", value));
    QCOMPARE(edit->text(), shown);
    QCOMPARE(edit->property("value").toDouble(), value);
    edit->setProperty("value", QVariant());
    QCOMPARE(edit->text(), QString());
    QVERIFY(!edit->property("value").isValid());
}

void TestMainWindow::informationLabelsAndBanner()
{
    FrmPelmar window(m_data->path());
    auto *info = window.findChild<QLabel *>(QStringLiteral("lblInfo"));
    auto *support = window.findChild<QLabel *>(QStringLiteral("lblSupport"));
    QVERIFY(info->text().contains(QStringLiteral("Ver 1.20")));
    QCOMPARE(support->text(), QStringLiteral("質問は下のバナーをクリックしてKorventフリー掲示板へ"));

    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    window.show();
    window.findChild<QTabWidget *>(QStringLiteral("SSTab1"))->setCurrentIndex(4);
    auto *banner = window.findChild<QLabel *>(QStringLiteral("Image2"));
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(!banner->pixmap().isNull());
    QTest::mouseClick(banner, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QCOMPARE(catcher.urls.size(), 1);
    QVERIFY(catcher.urls.first().toLocalFile().endsWith(QLatin1String("/pelmar-support.html")));
}

void TestMainWindow::japaneseLook()
{
    QVERIFY(installJapaneseTranslation(*qApp));
    QMessageBox box(QMessageBox::Question, QStringLiteral("削除の確認"), QStringLiteral("?"),
                    QMessageBox::Yes | QMessageBox::No);
    QVERIFY(box.button(QMessageBox::Yes)->text().contains(QStringLiteral("はい")));
    QVERIFY(box.button(QMessageBox::No)->text().contains(QStringLiteral("いいえ")));

    FrmPelmar window(m_data->path());
    const QString family = window.font().family();
    QVERIFY2(family == QStringLiteral("ＭＳ Ｐゴシック") || family == QStringLiteral("MS PGothic")
                 || family == QStringLiteral("IPAPGothic") || family == QStringLiteral("IPA Pゴシック"),
             qPrintable(family));
    // The family is one the system really has, so Japanese captions render.
    QVERIFY(QFontDatabase::families().contains(family));
}

void TestMainWindow::closingEndsEverything()
{
    auto *window = new FrmPelmar(m_data->path());
    QVERIFY(window->isOpen());
    window->show();
    QWidget other;
    other.setWindowTitle(QStringLiteral("ヒント        "));
    other.show();
    QSignalSpy unloaded(window, &FrmPelmar::unloaded);
    QVERIFY(anyPelmarConnection());
    QVERIFY(window->close());
    QCOMPARE(unloaded.count(), 1);
    QVERIFY(!other.isVisible());
    QVERIFY(!anyPelmarConnection());
    delete window;
}

void TestMainWindow::severalWindowsOneAfterAnother()
{
    for (int i = 0; i < 3; ++i) {
        FrmPelmar window(m_data->path());
        QVERIFY2(window.isOpen(), qPrintable(window.openError()));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    QVERIFY(!anyPelmarConnection());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
