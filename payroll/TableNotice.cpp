#include "payroll/TableNotice.h"

#include "store/Failure.h"

#include <QFileInfo>

namespace pelmar::statements {

namespace {

const QString kShownDate = QStringLiteral("yyyy/MM/dd");

} // namespace

std::shared_ptr<const pay::TablesInEffect> tablesOf(const QSqlDatabase &main)
{
    // The main file lies in the data folder; a database of no file (a test's
    // in memory) has no folder, and the shipped tables alone.
    const QString file = fileOf(main);
    const QFileInfo info(file);
    return pay::tablesInEffect(file.isEmpty() || !info.exists() ? QString() : info.absolutePath());
}

QDate firstUncoveredPayDate(const pay::PublicTables &tables, const settings::PayDateRule &rule, const QDate &today)
{
    for (const QDate &worked : {today, today.addMonths(1)}) {
        const QDate paid = settings::payDateFor(rule, worked);
        if (paid.isValid() && !tables.withholdingFor(paid))
            return paid;
    }
    return {};
}

QString TableShortage::text() const
{
    if (!uncovered.isValid())
        return {};
    const QString reach = lastCovered.isValid()
        ? QStringLiteral("入っている表は %1 の支給分までです。").arg(lastCovered.toString(kShownDate))
        : QStringLiteral("使える表がひとつもありません。");
    return QStringLiteral("支給日 %1 に使う源泉徴収税額表（月額表）が Pelmar に入っていません。%2\n\n"
                          "その日までに、その年の税額表が入った新しい版の Pelmar に入れ替えるか、"
                          "税額表のファイルをデータフォルダの tables フォルダに置いてください（ヘルプの「税額表」）。"
                          "どちらもないときは、その支給の所得税を手で入力します。")
        .arg(uncovered.toString(kShownDate), reach);
}

QString TableShortage::brief() const
{
    if (!uncovered.isValid())
        return {};
    return QStringLiteral("支給日 %1 の税額表が入っていません（%2）。新しい版の Pelmar に入れ替えるか、"
                          "データフォルダの tables に税額表を置いてください。")
        .arg(uncovered.toString(kShownDate),
             lastCovered.isValid() ? QStringLiteral("%1 の支給分まで").arg(lastCovered.toString(kShownDate))
                                   : QStringLiteral("表なし"));
}

TableShortage tableShortage(const QSqlDatabase &main, const QDate &today)
{
    const std::optional<settings::PayrollSettings> settings = settings::loadPayroll(main);
    if (!settings)
        return {};
    const auto tables = tablesOf(main);
    return {firstUncoveredPayDate(tables->tables, settings->payDate, today), tables->lastCovered()};
}

QString refusedTablesText(const pay::TablesInEffect &tables)
{
    QStringList lines;
    for (const pay::TableEntry &entry : tables.refused())
        lines << QStringLiteral("・%1: %2").arg(entry.file, entry.refusal);
    return lines.join(u'\n');
}

} // namespace pelmar::statements
