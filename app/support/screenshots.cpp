// pelmar-screenshots DIR: pictures of the real program for the help page.
// Makes a data folder with a small sample shop, opens the main window on it
// off screen and writes to DIR one PNG per page, one of a page's help, and
// the month's work beyond the pages: premiums switched on and a statement
// typed with them, its printed slip, the 給与一覧表 and the 賃金台帳.
#include "app/FrmPelmar.h"
#include "app/Look.h"
#include "hints/HintWindow.h"
#include "masters/EmployeePayroll.h"
#include "masters/PayrollSettings.h"
#include "masters/SettingsPage.h"
#include "messages/ShowMsg.h"
#include "reports/PayslipPrinter.h"
#include "reports/ReportDialog.h"
#include "statements/HistoryPage.h"
#include "payroll/PayItems.h"
#include "payroll/StatementPay.h"
#include "statements/StatementPage.h"
#include "store/Backup.h"
#include "store/Database.h"
#include "store/NewInstallation.h"
#include "widgets/DataGrid.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QSettings>
#include <QSqlDatabase>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QToolButton>

#include <cstdio>
#include <optional>

using namespace pelmar;

namespace {

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

// A control of the window or of a page by its object name, as the checks
// from outside find it.
template <class T> T *control(const QObject *root, const char *name)
{
    return root->findChild<T *>(QString::fromUtf8(name));
}

struct Shift {
    QString type, start, end;
    double breakHours, worked;
};

const QList<Shift> kShifts{
    {QStringLiteral("A"), QStringLiteral("0900"), QStringLiteral("1730"), 1.0, 7.5},
    {QStringLiteral("B"), QStringLiteral("1300"), QStringLiteral("2100"), 0.75, 7.25},
    {QStringLiteral("C"), QStringLiteral("0800"), QStringLiteral("1200"), 0.0, 4.0},
    {QStringLiteral("D"), QStringLiteral("1700"), QStringLiteral("2330"), 0.5, 6.0},
};

struct Person {
    QString name;
    double wage;
    int shift; // index into kShifts
    bool savedMonths; // February and March stored; otherwise new in April
    QString sex;
    pay::TaxColumn column;
    int dependants;
    bool insured; // 雇用保険
    pay::Yen residentTax;
    pay::Commute commute;
};

const QList<Person> kStaff{
    {QStringLiteral("山田　花子"), 1100, 0, true, QStringLiteral("女"), pay::TaxColumn::Kou, 0, true, 0,
     {pay::CommuteBasis::PerMonth, 6000}},
    {QStringLiteral("鈴木　一郎"), 1050, 1, true, QStringLiteral("男"), pay::TaxColumn::Kou, 1, true, 2000, {}},
    // Works here beside another job: taxed by the 乙 column, not insured here.
    {QStringLiteral("佐藤　美咲"), 1200, 2, true, QStringLiteral("女"), pay::TaxColumn::Otsu, 0, false, 0, {}},
    // New in April, typed with premiums for the statement and slip pictures:
    // 甲欄, insured, a commuting allowance per day.
    {QStringLiteral("高橋　健太"), 1150, 3, false, QStringLiteral("男"), pay::TaxColumn::Kou, 0, true, 0,
     {pay::CommuteBasis::PerDay, 420}},
};

employees::EmployeePayroll payrollOf(const Person &person)
{
    employees::EmployeePayroll payroll;
    payroll.name = person.name;
    payroll.sex = person.sex;
    payroll.details.column = person.column;
    payroll.details.dependants = person.dependants;
    payroll.details.employmentInsured = person.insured;
    payroll.details.residentTax = person.residentTax;
    payroll.details.commute = person.commute;
    return payroll;
}

// The pay of a saved month, worked out as the statement page works it out
// and kept with the statement, paid on the usual day of the next month.
bool keepPay(QSqlDatabase &main, const Person &person, const QString &title, double total, int days,
             const QDate &lastDay)
{
    statements::PayItems items;
    items.basic = items.total = pay::monthYen(total).value_or(0);
    items.daysWorked = days;
    items.lastDate = lastDay;
    const pay::PayDetails details = payrollOf(person).details;
    const pay::PayInput input =
        statements::payInputOf(items, details, settings::payDateFor({}, lastDay), 0, pay::Deductions{});
    const pay::PublicTables &tables = pay::shippedTables().tables;
    std::optional<pay::PartsPerMillion> rate;
    if (details.employmentInsured)
        rate = tables.employmentRateFor(input.closingDate, details.business);
    return statements::writeStatementPay(
        main, statements::fromComputed(person.name, title, input, pay::computePay(input, tables), rate));
}

// One month of weekdays in the person's usual shift, saved as Pelmar saves
// a statement: a header and its lines in date order.
bool saveMonth(QSqlDatabase &main, const Person &person, int year, int month, int days)
{
    const Shift &shift = kShifts.at(person.shift);
    const QString title = QStringLiteral("%1年%2月分").arg(year).arg(month);
    double hours = 0, total = 0;
    int line = 0;
    QDate lastDay;
    for (QDate day(year, month, 1); day.month() == month && line < days; day = day.addDays(1)) {
        if (day.dayOfWeek() > 5)
            continue;
        lastDay = day;
        const double amount = shift.worked * person.wage;
        if (!execBound(main,
                       QStringLiteral("insert into 時給明細 (氏名, タイトル, 行番号, 日付, 開始時間, 終了時間, 休憩, "
                                      "時間, 時給, 調整額, 金額) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                       {person.name, title, ++line, day.toString(QStringLiteral("yyyyMMdd")), shift.start, shift.end,
                        shift.breakHours, shift.worked, person.wage, QVariant(), amount}))
            return false;
        hours += shift.worked;
        total += amount;
    }
    return execBound(main,
                     QStringLiteral("insert into 時給ヘッダ (氏名, タイトル, 勤務タイプ, 時給, 休憩, 調整額, 時間, "
                                    "合計) values (?, ?, ?, ?, ?, ?, ?, ?)"),
                     {person.name, title, shift.type, person.wage, shift.breakHours * line, QVariant(), hours, total})
        && keepPay(main, person, title, total, line, lastDay);
}

bool fillSampleShop(const QString &folder)
{
    QString error;
    if (!createNewInstallation(folder, &error)) {
        err() << "pelmar-screenshots: " << error << '\n';
        return false;
    }
    const QString connection = QStringLiteral("screenshots-sample");
    bool ok = true;
    {
        QSqlDatabase main = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        main.setDatabaseName(QDir(folder).filePath(kMainDbFileName));
        ok = main.open();
        int no = 0;
        for (const Shift &shift : kShifts)
            ok = ok
                && execBound(main, QStringLiteral("insert into 勤務形態マスタ values (?, ?, ?, ?, ?, ?)"),
                             {++no, shift.type, shift.start, shift.end, shift.breakHours, shift.worked});
        no = 0;
        for (const Person &person : kStaff) {
            const Shift &shift = kShifts.at(person.shift);
            ok = ok
                && execBound(main, QStringLiteral("insert into 従業員 values (?, ?, ?, ?, ?, ?, ?, ?)"),
                             {++no, person.name, person.wage, shift.type, shift.start, shift.end, shift.breakHours,
                              shift.worked});
            ok = ok && employees::writeEmployeePayroll(main, payrollOf(person));
            if (person.savedMonths)
                ok = ok && saveMonth(main, person, 2026, 2, 31) && saveMonth(main, person, 2026, 3, 31);
        }
        ok = ok
            && execBound(main, QStringLiteral("insert into 自社情報 values (?, ?)"),
                         {QStringLiteral("ペルマー商店"),
                          QStringLiteral("〒100-0000 東京都千代田区見本町 1-2-3\nTEL 03-0000-0000")});
        // Today's backup, so the settings page shows its list as a shop sees
        // it, and the window takes no other one while the pictures are made.
        ok = ok && backup::take(main, folder, backup::Reason::Daily, QDateTime::currentDateTime()).ok();
        main.close();
    }
    QSqlDatabase::removeDatabase(connection);
    if (!ok)
        err() << "pelmar-screenshots: the sample data could not be written\n";
    return ok;
}

bool save(QWidget *widget, const QString &folder, const QString &name)
{
    QApplication::processEvents();
    const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
    if (widget->grab().save(path))
        return true;
    err() << "pelmar-screenshots: cannot write " << QDir::toNativeSeparators(path) << '\n';
    return false;
}

void pressKey(QWidget *target, int key, const QString &text = QString())
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

// Types digits into a cell of the grid as a user does: F2 opens the cell,
// what it held is replaced, and the finishing key commits it.
bool typeIntoCell(DataGrid *grid, int row, int column, const QString &digits, int finishKey = Qt::Key_Return)
{
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(row, column));
    pressKey(grid, Qt::Key_F2);
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    if (!editor) {
        err() << "pelmar-screenshots: no cell editor opened\n";
        return false;
    }
    editor->selectAll();
    pressKey(editor, Qt::Key_Delete);
    for (const QChar digit : digits)
        pressKey(editor, Qt::Key_0 + digit.digitValue(), digit);
    pressKey(editor, finishKey);
    QApplication::processEvents();
    return true;
}

// 深夜割増 and 時間外割増 switched on at 25 %, amounts rounded down, and
// registered through the page's own 登録 (whose question is answered yes).
bool switchPremiumsOn(SettingsPage *settings, bool &answerYes)
{
    settings->findChild<QCheckBox *>(QStringLiteral("chk深夜割増"))->setChecked(true);
    settings->findChild<QCheckBox *>(QStringLiteral("chk時間外割増"))->setChecked(true);
    auto *rounding = settings->findChild<QComboBox *>(QStringLiteral("cmb端数処理"));
    rounding->setCurrentIndex(rounding->findText(QStringLiteral("切り捨て")));
    answerYes = true;
    settings->findChild<QPushButton *>(QStringLiteral("cmd割増登録"))->click();
    answerYes = false;
    return settings->findChild<QCheckBox *>(QStringLiteral("chk深夜割増"))->isChecked();
}

// A new employee's first week of evening shifts, typed on the statement
// page: a date and ↓ fill the days from the shift type, and on the fourth
// day the times are changed to a long day whose break is too short.
bool typePremiumWeek(StatementPage *page)
{
    // Typing goes to the window in front, as the report windows opened
    // before have closed.
    QApplication::setActiveWindow(page->window());
    page->Clear時給();
    control<QComboBox>(page, "cmb氏名")->setFocus();
    control<QComboBox>(page, "cmb氏名")->setEditText(kStaff.at(3).name);
    control<QLineEdit>(page, "txtタイトル")->setFocus();
    control<QLineEdit>(page, "txtタイトル")->setText(QStringLiteral("2026年4月分"));
    DataGrid *grid = control<DataGrid>(page, "Grid明細");
    if (!typeIntoCell(grid, 0, 1, QStringLiteral("20260401"), Qt::Key_Down))
        return false;
    pressKey(grid, Qt::Key_Down);
    pressKey(grid, Qt::Key_Down);
    return typeIntoCell(grid, 3, 2, QStringLiteral("1000")) && typeIntoCell(grid, 3, 3, QStringLiteral("2100"));
}

// Each page as the window shows it, and the statement page's help as its
// hint button shows it.
bool savePages(FrmPelmar &window, const QString &out)
{
    auto *tabs = control<QTabWidget>(&window, "SSTab1");
    bool ok = true;
    window.statementPage()->openStatement(kStaff.first().name, QStringLiteral("2026年3月分"));
    tabs->setCurrentIndex(0);
    ok = save(&window, out, QStringLiteral("statement")) && ok;

    window.historyPage()->Read履歴();
    tabs->setCurrentIndex(1);
    ok = save(&window, out, QStringLiteral("history")) && ok;

    tabs->setCurrentIndex(2);
    ok = save(&window, out, QStringLiteral("employees")) && ok;

    tabs->setCurrentIndex(3);
    ok = save(&window, out, QStringLiteral("patterns")) && ok;

    tabs->setCurrentIndex(4);
    ok = save(&window, out, QStringLiteral("settings")) && ok;

    tabs->setCurrentIndex(0);
    window.findChild<QToolButton *>(QStringLiteral("cmdHint"))->click();
    auto *hint = window.findChild<HintWindow *>();
    ok = hint && save(hint, out, QStringLiteral("hint")) && ok;
    if (hint)
        hint->close();
    return ok;
}

// The reports of the history page: the month's 給与一覧表 and one
// employee's 賃金台帳, each in the window its button opens.
bool saveReports(FrmPelmar &window, const QString &out)
{
    HistoryPage *history = window.historyPage();
    control<QTabWidget>(&window, "SSTab1")->setCurrentIndex(1);
    bool ok = true;
    control<QComboBox>(history, "cmbタイトル選択")
        ->setCurrentIndex(control<QComboBox>(history, "cmbタイトル選択")->findText(QStringLiteral("2026年3月分")));
    control<QPushButton>(history, "cmd一覧表")->click();
    // Wide enough to show the pay after the hours, up to 差引支給額.
    if (history->reportWindow())
        history->reportWindow()->resize(1640, 360);
    ok = history->reportWindow() && save(history->reportWindow(), out, QStringLiteral("summary")) && ok;
    control<QComboBox>(history, "cmb台帳氏名")
        ->setCurrentIndex(control<QComboBox>(history, "cmb台帳氏名")->findText(kStaff.first().name));
    control<QComboBox>(history, "cmb台帳年")
        ->setCurrentIndex(control<QComboBox>(history, "cmb台帳年")->findText(QStringLiteral("2026")));
    control<QPushButton>(history, "cmd台帳")->click();
    ok = history->reportWindow() && save(history->reportWindow(), out, QStringLiteral("ledger")) && ok;
    if (history->reportWindow())
        history->reportWindow()->close();
    return ok;
}

// Premiums on, and a week typed with them.
bool savePremiums(FrmPelmar &window, const QString &out, bool &answerYes)
{
    auto *tabs = control<QTabWidget>(&window, "SSTab1");
    bool ok = true;
    tabs->setCurrentIndex(4);
    ok = switchPremiumsOn(window.settingsPage(), answerYes) && save(&window, out, QStringLiteral("premium-settings"))
        && ok;
    tabs->setCurrentIndex(0);
    StatementPage *page = window.statementPage();
    ok = typePremiumWeek(page) && ok;
    control<DataGrid>(page, "Grid明細")->setCurrentIndex(control<DataGrid>(page, "Grid明細")->model()->index(0, 1));
    return save(&window, out, QStringLiteral("premium-statement")) && ok;
}

// The statement's slip, in the print preview 印刷 opens.
bool saveSlip(FrmPelmar &window, const QString &out)
{
    QList<payslip::PayslipItem> slip;
    QString pdfName;
    payslip::setPreviewHook([&](const QList<payslip::PayslipItem> &items, const QString &name) {
        slip = items;
        pdfName = name;
    });
    control<QPushButton>(window.statementPage(), "Cmd印刷")->click();
    payslip::setPreviewHook({});
    if (slip.isEmpty()) {
        err() << "pelmar-screenshots: 印刷 drew no slip\n";
        return false;
    }
    QPrintPreviewDialog *preview = payslip::createPayslipPreview(&window, slip, pdfName);
    // As wide as the window: the slip fills the top of its A4 page.
    preview->resize(900, 700);
    preview->show();
    if (auto *sheet = preview->findChild<QPrintPreviewWidget *>())
        sheet->fitToWidth();
    const bool ok = save(preview, out, QStringLiteral("slip"));
    delete preview;
    return ok;
}

// The window on the sample shop and every picture of it; false when one
// could not be made. The typed week is a picture, not a statement: it is
// let go when the window closes.
std::optional<bool> savePictures(const QString &dataFolder, const QString &out, bool &answerYes)
{
    FrmPelmar window(dataFolder + u'/');
    if (!window.isOpen()) {
        err() << "pelmar-screenshots: " << window.openError() << '\n';
        return std::nullopt;
    }
    window.show();
    window.activateWindow();
    QApplication::processEvents();
    bool ok = savePages(window, out);
    ok = saveReports(window, out) && ok;
    ok = savePremiums(window, out, answerYes) && ok;
    ok = saveSlip(window, out) && ok;
    answerYes = true;
    window.close();
    answerYes = false;
    return ok;
}

} // namespace

int main(int argc, char *argv[])
{
    // Pictures, not a window: nothing shows on the desktop meanwhile.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (app.arguments().size() != 2) {
        err() << "usage: pelmar-screenshots DIR\n";
        return 2;
    }
    const QString out = app.arguments().at(1);
    installJapaneseTranslation(app);
    QApplication::setFont(uiFont());
    // A question or a notice here means the sample did not open as it
    // should; only the questions of the steps below are answered yes.
    QStringList told;
    bool answerYes = false;
    setMessageAnswerer([&told, &answerYes](const MessageRequest &request) {
        if (answerYes)
            return true;
        told << request.prompt;
        return false;
    });

    QTemporaryDir data;
    if (!data.isValid() || !QDir().mkpath(out) || !fillSampleShop(data.path()))
        return 1;
    // Whatever the program remembers for the user (the window's place, say)
    // is kept beside the sample, so the pictures are the same on every machine
    // and the user's own settings are left alone.
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        QSettings::setPath(format, QSettings::UserScope, data.path());

    const std::optional<bool> ok = savePictures(data.path(), out, answerYes);
    if (!ok)
        return 1;
    if (!told.isEmpty()) {
        err() << "pelmar-screenshots: the program said:\n" << told.join(u'\n') << '\n';
        return 1;
    }
    return *ok ? 0 : 1;
}
