#include "payroll/PunchCommit.h"

#include "calc/Formats.h"
#include "calc/TypedText.h"
#include "messages/MessageCatalogue.h"
#include "payroll/MonthClose.h"
#include "store/Backup.h"
#include "store/CsvRead.h"
#include "store/Database.h"
#include "store/Failure.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QUuid>

namespace pelmar::punch {

namespace {

QString text(const MessageKey &key)
{
    const auto message = lookupMessage(key, {});
    return message ? message->prompt : QString();
}

} // namespace

Prepared prepareImport(const QSqlDatabase &main, const QList<csv::ReadRecord> &records, const ColumnMapping &mapping,
                       const QString &title)
{
    Prepared prepared;
    prepared.plan = makePlan(main, records, mapping, title);
    // A closed month takes nothing, before anything is shown as if it would.
    const std::optional<QString> closed =
        prepared.plan ? closedTitleReason(main, prepared.plan->title) : std::nullopt;
    if (!closed) {
        prepared.stop = Prepared::Stop::ReadFailed;
        prepared.plan.reset();
    } else if (!closed->isEmpty()) {
        prepared.stop = Prepared::Stop::TitleClosed;
        prepared.reason = *closed;
        prepared.plan.reset();
    }
    return prepared;
}

Committed commitImport(const QSqlDatabase &main, const QString &dataFolder, const Plan &plan,
                       const QStringList &skipped, const QStringList &header, const ColumnMapping &mapping,
                       const std::function<bool()> &beforeSave)
{
    Committed committed;
    const backup::Outcome copy = backup::take(main, dataFolder, backup::Reason::PunchImport, QDateTime::currentDateTime());
    if (!copy.ok()) {
        committed.failedAt = Committed::Step::Backup;
        committed.backupError = copy.error;
        return committed;
    }
    if (beforeSave && !beforeSave()) {
        committed.failedAt = Committed::Step::BeforeSave;
        return committed;
    }
    committed.saved = storePlan(main, plan, skipped, header, mapping);
    if (!committed.saved.ok()) {
        committed.failedAt = Committed::Step::Save;
        return committed;
    }
    for (const PlannedStatement &planned : plan.statements) {
        if (skipped.contains(planned.statement.header.name))
            continue;
        ++committed.statements;
        committed.lines += int(planned.statement.lines.size());
    }
    return committed;
}

std::optional<QString> closedTitleReason(const QSqlDatabase &main, const QString &title)
{
    const std::optional<closing::State> state = closing::stateOf(main, title);
    if (!state)
        return std::nullopt;
    if (!state->closed())
        return QString();
    statements::SaveResult closed;
    closed.refusal = statements::Refusal::TitleClosed;
    closed.title = title;
    closed.closedAt = state->closedAt();
    return refusalReason(closed);
}

QString refusalReason(const statements::SaveResult &result)
{
    const QString day = fmt::formatDateText(result.date);
    switch (result.refusal) {
    case statements::Refusal::None:
    case statements::Refusal::Failed:
        return {};
    case statements::Refusal::TitleClosed:
        return text(msg::取込締め済み).arg(result.title, closing::closedMark(result.closedAt));
    case statements::Refusal::StoredChanged:
        return text(msg::取込確認後変更).arg(result.name, result.title);
    case statements::Refusal::DayStoredElsewhere:
        return text(msg::取込確認後日重複).arg(result.name, day, result.otherTitle);
    case statements::Refusal::DayInClosedTitle:
        return text(msg::取込締め済み日).arg(result.name, day, result.otherTitle, closing::closedMark(result.closedAt));
    }
    return {};
}

QString importedText(const QString &title, int statements, int lines)
{
    return text(msg::取込件数完了).arg(title).arg(statements).arg(lines);
}

QString findingsText(const Plan &plan, const QStringList &skipped)
{
    QStringList paragraphs;
    for (const PlannedStatement &planned : plan.statements)
        if (!planned.findings.isEmpty() && !skipped.contains(planned.statement.header.name))
            paragraphs << text(msg::取込労働時間確認)
                              .arg(planned.statement.header.name, plan.title, planned.findings.join(u'\n'));
    return paragraphs.join(u'\n');
}

namespace {

CommandOutcome refused(const QStringList &reasons)
{
    return CommandOutcome{1, {}, QStringLiteral("pelmar: ") + reasons.join(QStringLiteral("\npelmar: ")) + u'\n'};
}

// The file read and decoded; the reason it cannot be taken when it is not.
std::optional<CommandOutcome> readPunches(const QString &file, PunchFile &punches)
{
    QByteArray bytes;
    if (const QString unread = csv::readInputFile(file, &bytes); !unread.isEmpty())
        return refused({unread});
    punches = readPunchFile(bytes);
    if (!punches.problem.isEmpty())
        return refused({punches.problem});
    if (punches.damagedText)
        return refused({text(msg::取込読めないバイト).arg(csv::encodingName(punches.encoding))});
    return std::nullopt;
}

// Every reason the plan cannot be stored whole: the command line stores all
// or nothing.
QStringList planRefusals(const Plan &plan)
{
    QStringList reasons;
    for (const PunchRow &row : plan.rows)
        if (!row.isTaken())
            reasons << text(msg::取込行理由).arg(row.line).arg(row.reason);
    for (const QString &name : plan.replacedNames())
        reasons << text(msg::取込明細あり).arg(name, plan.title);
    if (plan.statements.isEmpty() && reasons.isEmpty())
        reasons << text(msg::取込行なし);
    return reasons;
}

CommandOutcome importInto(const QSqlDatabase &main, const QString &dataFolder, const PunchFile &punches,
                          const QString &title)
{
    const auto mapping = knownMapping(main, punches.header());
    if (!mapping)
        return refused({text(msg::取込列不明)});
    const Prepared prepared = prepareImport(main, punches.read.records, *mapping, title);
    if (prepared.stop == Prepared::Stop::TitleClosed)
        return refused({prepared.reason});
    if (!prepared.plan)
        return refused({lookupMessage(msg::エラー帳票読込, {})->prompt + u' ' + failureDetail(main)});
    const Plan &plan = *prepared.plan;
    const QString nothing = text(msg::取込何もなし);
    if (const QStringList reasons = planRefusals(plan); !reasons.isEmpty())
        return refused(reasons + QStringList{nothing});
    const Committed committed = commitImport(main, dataFolder, plan, {}, {}, *mapping);
    if (committed.failedAt == Committed::Step::Backup)
        return refused({committed.backupError, nothing});
    if (!committed.ok()) {
        const QString reason = refusalReason(committed.saved);
        return refused({reason.isEmpty() ? failureDetail(main) : reason, nothing});
    }
    const QString findings = findingsText(plan);
    return {0,
            importedText(plan.title, committed.statements, committed.lines) + u'\n'
                + (findings.isEmpty() ? QString() : findings + u'\n'),
            {}};
}

} // namespace

CommandOutcome importFromCommandLine(const QString &dataFolder, const QString &file, const QString &title)
{
    PunchFile punches;
    if (std::optional<CommandOutcome> unread = readPunches(file, punches))
        return *unread;
    if (typed::titleForm(title).isEmpty())
        return refused({text(msg::取込タイトルなし)});

    const QString connection = QStringLiteral("pelmar-import-") + QUuid::createUuid().toString();
    CommandOutcome outcome;
    {
        const OpenResult opened =
            openExisting(QDir(dataFolder).filePath(kMainDbFileName), SchemaKind::Main, connection);
        if (!opened.ok())
            return refused({opened.error});
        outcome = importInto(opened.db, dataFolder, punches, title);
    }
    closeConnection(connection);
    return outcome;
}

} // namespace pelmar::punch
