#pragma once

#include "payroll/PunchStore.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The import of a punch file in its steps, written once for the window's
// dialog and the command line: the plan and the title's close checked, the
// caller's questions (the dialog asks the user, the command line refuses),
// then the backup and the one save. The sentences are the catalogue's.
namespace pelmar::punch {

// What the file gives under the title, or why nothing can be imported.
struct Prepared {
    enum class Stop { None, ReadFailed, TitleClosed };
    Stop stop = Stop::None;
    std::optional<Plan> plan; // when stop is None
    QString reason; // the title's close, for TitleClosed
};
Prepared prepareImport(const QSqlDatabase &main, const QList<csv::ReadRecord> &records, const ColumnMapping &mapping,
                       const QString &title);

// The backup taken, then beforeSave run (the dialog writes the rows left
// out), then the plan's statements stored in the one save.
struct Committed {
    enum class Step { Done, Backup, BeforeSave, Save };
    Step failedAt = Step::Done;
    QString backupError;
    statements::SaveResult saved;
    int statements = 0; // what was stored
    int lines = 0;
    bool ok() const { return failedAt == Step::Done; }
};
Committed commitImport(const QSqlDatabase &main, const QString &dataFolder, const Plan &plan,
                       const QStringList &skipped, const QStringList &header, const ColumnMapping &mapping,
                       const std::function<bool()> &beforeSave = {});

// Why nothing may be stored under the title, in the user's words: it is
// closed; empty when it is open. Nothing when its state cannot be read.
std::optional<QString> closedTitleReason(const QSqlDatabase &main, const QString &title);

// Why the save of an import wrote nothing, in the user's words; empty for a
// failure of the file, which failureDetail tells.
QString refusalReason(const statements::SaveResult &result);

// "タイトル「…」に明細 n 件（m 行）を取り込みました。"
QString importedText(const QString &title, int statements, int lines);

// The law's findings of every statement of the plan (LawFindings.h), a
// paragraph for each statement that has any; empty when none has.
QString findingsText(const Plan &plan, const QStringList &skipped = {});

// The import without a window: the whole file or nothing. Exit code 0 and
// what was stored on `out`, or 1 and every reason on `err`.
struct CommandOutcome {
    int exitCode = 0;
    QString out;
    QString err;
};
CommandOutcome importFromCommandLine(const QString &dataFolder, const QString &file, const QString &title);

} // namespace pelmar::punch
