// pelmar-screenshots DIR: pictures of the real program for the help page.
// Makes a data folder with a small sample shop, opens the main window on it
// off screen and writes one PNG per page, and one of a page's help, to DIR.
#include "app/FrmPelmar.h"
#include "app/Look.h"
#include "hints/HintWindow.h"
#include "masters/SettingsPage.h"
#include "messages/ShowMsg.h"
#include "statements/HistoryPage.h"
#include "statements/StatementPage.h"
#include "store/Backup.h"
#include "store/Database.h"
#include "store/NewInstallation.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QPushButton>
#include <QSqlDatabase>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QToolButton>

#include <cstdio>

using namespace pelmar;

namespace {

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

struct Shift {
    QString type, start, end;
    double breakHours, worked;
};

const QList<Shift> kShifts{
    {QStringLiteral("A"), QStringLiteral("0900"), QStringLiteral("1730"), 1.0, 7.5},
    {QStringLiteral("B"), QStringLiteral("1300"), QStringLiteral("2100"), 0.75, 7.25},
    {QStringLiteral("C"), QStringLiteral("0800"), QStringLiteral("1200"), 0.0, 4.0},
};

struct Person {
    QString name;
    double wage;
    int shift; // index into kShifts
};

const QList<Person> kStaff{
    {QStringLiteral("山田　花子"), 1100, 0},
    {QStringLiteral("鈴木　一郎"), 1050, 1},
    {QStringLiteral("佐藤　美咲"), 1200, 2},
};

// One month of weekdays in the person's usual shift, saved as Pelmar saves
// a statement: a header and its lines in date order.
bool saveMonth(const QSqlDatabase &main, const Person &person, int year, int month, int days)
{
    const Shift &shift = kShifts.at(person.shift);
    const QString title = QStringLiteral("%1年%2月分").arg(year).arg(month);
    double hours = 0, total = 0;
    int line = 0;
    for (QDate day(year, month, 1); day.month() == month && line < days; day = day.addDays(1)) {
        if (day.dayOfWeek() > 5)
            continue;
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
                     {person.name, title, shift.type, person.wage, shift.breakHours * line, QVariant(), hours, total});
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
    // A question or a notice here means the sample did not open as it should.
    QStringList told;
    setMessageAnswerer([&told](const MessageRequest &request) {
        told << request.prompt;
        return false;
    });

    QTemporaryDir data;
    if (!data.isValid() || !QDir().mkpath(out) || !fillSampleShop(data.path()))
        return 1;

    bool ok = true;
    {
        FrmPelmar window(data.path() + u'/');
        if (!window.isOpen()) {
            err() << "pelmar-screenshots: " << window.openError() << '\n';
            return 1;
        }
        window.show();

        window.statementPage()->openStatement(kStaff.first().name, QStringLiteral("2026年3月分"));
        window.SSTab1->setCurrentIndex(0);
        ok = save(&window, out, QStringLiteral("statement")) && ok;

        window.historyPage()->Read履歴();
        window.SSTab1->setCurrentIndex(1);
        ok = save(&window, out, QStringLiteral("history")) && ok;

        window.SSTab1->setCurrentIndex(2);
        ok = save(&window, out, QStringLiteral("employees")) && ok;

        window.SSTab1->setCurrentIndex(3);
        ok = save(&window, out, QStringLiteral("patterns")) && ok;

        window.SSTab1->setCurrentIndex(4);
        ok = save(&window, out, QStringLiteral("settings")) && ok;

        // The statement page's help, as its hint button shows it.
        window.SSTab1->setCurrentIndex(0);
        window.findChild<QToolButton *>(QStringLiteral("cmdHint"))->click();
        auto *hint = window.findChild<HintWindow *>();
        ok = hint && save(hint, out, QStringLiteral("hint")) && ok;
        window.close();
    }
    if (!told.isEmpty()) {
        err() << "pelmar-screenshots: the program said:\n" << told.join(u'\n') << '\n';
        return 1;
    }
    return ok ? 0 : 1;
}
