// Saves statements in an endless loop through the program's own save, so
// that a test can kill it at any moment. Usage: crash_saver DATADIR SEED
#include "masters/EmployeeStore.h"
#include "masters/PatternStore.h"
#include "payroll/DetailLines.h"
#include "payroll/StatementStore.h"
#include "store/Database.h"

#include <QCoreApplication>
#include <QDir>
#include <QRandomGenerator>

using namespace pelmar;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    OpenResult main = openExisting(dir.filePath(kMainDbFileName), SchemaKind::Main, QStringLiteral("main"));
    OpenResult work = openExisting(dir.filePath(kWorkDbFileName), SchemaKind::Work, QStringLiteral("work"));
    if (!main.ok() || !work.ok())
        return 3;
    QRandomGenerator random(QString::fromLocal8Bit(argv[2]).toUInt());
    const QStringList names{QStringLiteral("山田"), QStringLiteral("O'Brien"), QStringLiteral("鈴木")};
    const QStringList titles{QStringLiteral("4月"), QStringLiteral("5月")};
    for (;;) {
        const int lines = random.bounded(31);
        statements::resetLines(work.db);
        double total = 0;
        for (int line = 1; line <= lines; ++line) {
            const double amount = random.bounded(1, 20000);
            total += amount;
            execBound(work.db,
                      QStringLiteral("update w明細 set 日付 = ?, 時間 = 8, 時給 = 1000, 金額 = ? where 行番号 = ?"),
                      {QStringLiteral("202604%1").arg(line % 28 + 1, 2, 10, QLatin1Char('0')), amount, line});
        }
        statements::Header header;
        header.name = names.at(random.bounded(int(names.size())));
        header.title = titles.at(random.bounded(int(titles.size())));
        header.wage = 1000.0;
        header.hours = 8.0 * lines;
        header.total = total;
        // A save that adds the employee or gives it the statement's wage.
        statements::StatementToStore statement;
        statement.header = header;
        statement.lines = statements::completeLines(work.db).value_or(QList<QVariantList>{});
        statement.payFromLines = false;
        statement.employee.kind = employees::find(main.db, header.name) ? statements::EmployeeUpdate::Kind::Wage
                                                                         : statements::EmployeeUpdate::Kind::Add;
        statement.employee.wage = header.wage;
        statements::save(main.db, {statement});
    }
}
