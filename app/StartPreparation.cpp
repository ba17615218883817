#include "app/StartPreparation.h"

#include "masters/EmployeeStore.h"
#include "masters/PatternStore.h"
#include "payroll/DetailLines.h"
#include "payroll/StatementStore.h"
#include "store/Database.h"

#include <atomic>

namespace pelmar {

namespace {

QString connectionName(const char *which)
{
    static std::atomic<int> counter{0};
    return QStringLiteral("pelmar-prepare-%1-%2").arg(QLatin1String(which)).arg(++counter);
}

// What the pages show first, made ready on the two open files.
ReadyAtStart readyTables(const QSqlDatabase &main, const QSqlDatabase &work)
{
    ReadyAtStart ready;
    ready.lines = statements::resetLines(work);
    ready.history = statements::clearHistory(work);
    ready.patterns = patterns::readMaster(main, work);
    ready.reference = patterns::copyToReference(main, work);
    ready.employees = employees::readMaster(main, work);
    ready.names = employees::names(main);
    ready.types = patterns::offeredTypes(main);
    return ready;
}

} // namespace

StartPreparation prepareStart(const QString &mainPath, const QString &workPath)
{
    StartPreparation prepared;
    const QString mainName = connectionName("main");
    const QString workName = connectionName("work");
    {
        const OpenResult main = openIfSound(mainPath, SchemaKind::Main, mainName);
        const OpenResult work = main.ok() ? openIfSound(workPath, SchemaKind::Work, workName) : OpenResult{};
        if (main.ok() && work.ok()) {
            prepared.filesSound = true;
            prepared.ready = readyTables(main.db, work.db);
        }
    }
    closeConnection(workName);
    closeConnection(mainName);
    return prepared;
}

} // namespace pelmar
