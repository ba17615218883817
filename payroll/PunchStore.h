#pragma once

#include "calc/Premium.h"
#include "payroll/PunchImport.h"
#include "payroll/StatementStore.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <optional>

// Punches of a time recorder's file made into statements of one title, the
// way 登録 on the statement page makes and stores them: the same premium and
// rounding rules, the same store. The window's import dialog and the command
// line both work through here, in the steps of PunchCommit.h.
namespace pelmar::punch {

// The mapping kept for files with this header (in the main file's table
// 設定, so that it travels with the shop's data and the command line finds
// it too); nothing when none is kept or it cannot be read.
std::optional<ColumnMapping> rememberedMapping(const QSqlDatabase &main, const QStringList &header);

// Keeps the mapping for the next file with this header; runs inside the
// caller's transaction.
bool rememberMapping(const QSqlDatabase &main, const QStringList &header, const ColumnMapping &mapping);

// The mapping a file needs no question for: the one kept for its header,
// else the one its header names by itself.
std::optional<ColumnMapping> knownMapping(const QSqlDatabase &main, const QStringList &header);

// One employee's statement as the import would store it.
struct PlannedStatement {
    statements::StatementToStore statement;
    QList<int> rows; // the indexes into Plan::rows of its lines, in line order
    bool replaces = false; // the employee already has a statement under the title
    // That statement as the plan found it: the import replaces only this one.
    statements::StoredState stored;
    // What the labour law asks of its lines, as 登録 tells it (LawFindings.h).
    QStringList findings;
};

struct Plan {
    QString title;
    // The settings the lines were worked out under.
    premium::Rules rules;
    // Every row of the file with its line or its reason.
    QList<PunchRow> rows;
    // One for each employee with rows taken, in the order of the master.
    QList<PlannedStatement> statements;

    int refusedRows() const;
    // The statements that would replace stored ones.
    QStringList replacedNames() const;
};

// What the file's records give under the title: the rows checked against
// the employee master and the statements stored under other titles (a
// statement of the employee under this title does not count: it is either
// replaced or skipped whole), and each employee's lines worked out as the
// statement page works them out. A row of an employee without a wage is
// refused. Nothing when the master or the settings cannot be read.
std::optional<Plan> makePlan(const QSqlDatabase &main, const QList<csv::ReadRecord> &records,
                             const ColumnMapping &mapping, const QString &title);

// Stores the statements of the plan, leaving out the employees named in
// `skipped`, and keeps the mapping for the header given (when it is not
// empty): in one save, all or nothing. The save refuses when, since the
// plan was made, the title was closed, a statement it replaces changed or
// one of its days was stored under another title. The caller takes the
// backup first.
statements::SaveResult storePlan(const QSqlDatabase &main, const Plan &plan, const QStringList &skipped,
                                 const QStringList &header, const ColumnMapping &mapping);

// The rows left out of an import, written beside the file as
// <file>_取込エラー.csv; the path of that file.
QString errorFilePath(const QString &punchFile);

} // namespace pelmar::punch
