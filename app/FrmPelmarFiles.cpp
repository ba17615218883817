#include "app/FrmPelmar.h"

#include "hints/HintWindow.h"
#include "masters/SettingsPage.h"
#include "messages/ShowMsg.h"
#include "payroll/MonthClose.h"
#include "payroll/TableNotice.h"
#include "store/Backup.h"
#include "store/Failure.h"
#include "store/Query.h"

#include <QDir>
#include <QFileInfo>

// The main window's work on the data files as a whole: the bulk delete, the
// restore of a backup, the checks after start-up with the repairs they
// offer, and the backup at close.

namespace pelmar {

void FrmPelmar::AllDelete()
{
    // A closed month holds what was paid: the delete is refused, never
    // asked about, while one is closed.
    const std::optional<QStringList> closed = closing::closedTitles(m_state.MainDb);
    if (!closed) {
        ShowMsg(msg::エラー一括削除, failureDetail(m_state.MainDb));
        return;
    }
    if (!closed->isEmpty()) {
        ShowMsg(msg::締め一括削除不可, closed->join(u'\n'));
        return;
    }
    // The question names everything that goes, and No is the default.
    if (!ShowMsg(msg::削除確認, QStringLiteral("保存したすべての明細・従業員・勤務形態・自社情報")))
        return;
    if (!m_files.deleteEverything([this] { m_settings->Readバックアップ(); }))
        return;
    // Nothing of the deleted data stays on any page: the statement page's
    // name, title, wage, totals, lines and pickers start afresh too.
    m_pages.clear();
}

void FrmPelmar::RestoreBackup(const QString &backupPath)
{
    restoreFrom(backupPath, DataFiles::CurrentFile::BackUp);
}

void FrmPelmar::restoreFrom(const QString &backupPath, DataFiles::CurrentFile current)
{
    // Lines typed on the statement page go with everything else.
    if (!m_pages.confirmDiscardEdits())
        return;
    if (!m_files.restore(
            backupPath, [this] { m_settings->Readバックアップ(); }, current))
        return;
    loadPages();
    m_settings->Readバックアップ();
    if (current == DataFiles::CurrentFile::KeepAsideDamaged)
        ShowMsg(msg::復元破損復元完了,
                QStringLiteral("%1 のバックアップから復元しました。\n壊れていたファイルは %2 として残してあります。")
                    .arg(QFileInfo(backupPath).fileName(), QDir::toNativeSeparators(m_files.keptAside())));
    else
        ShowMsg(msg::復元完了, QFileInfo(backupPath).fileName());
}

void FrmPelmar::offerRepairs(const DataFiles::AfterStart &found)
{
    if (!found.mainProblem.isEmpty()) {
        const QString chosen = m_files.offerBackupForDamagedMain(found.mainProblem);
        if (!chosen.isEmpty())
            restoreFrom(chosen, DataFiles::CurrentFile::KeepAsideDamaged);
    }
    if (!found.workProblem.isEmpty() && m_files.offerNewWorkFile(found.workProblem))
        renewWorkFile();
}

void FrmPelmar::renewWorkFile()
{
    // Everything that holds the work file lets go of it first: the hint
    // window and the grids' models.
    if (m_hint)
        m_hint->close();
    m_pages.release();
    m_files.renewWorkFile();
    m_pages.bind();
    loadPages();
}

void FrmPelmar::beginAfterStartWork()
{
    if (m_afterStartBegun || !isOpen() || m_unloaded)
        return;
    m_afterStartBegun = true;
    m_files.startAfterStartWork(this, [this](const DataFiles::AfterStart &found) { tellAfterStartFindings(found); });
}

void FrmPelmar::tellAfterStartFindings(const DataFiles::AfterStart &found)
{
    m_afterStartDone = true;
    if (m_unloaded)
        return;
    m_files.tellFindings(found);
    if (found.dailyTaken)
        m_settings->Readバックアップ();
    offerRepairs(found);
    tellTableFindings();
}

void FrmPelmar::tellTableFindings()
{
    if (!isOpen() || m_unloaded)
        return;
    const auto tables = statements::tablesOf(m_state.MainDb);
    if (const QString refused = statements::refusedTablesText(*tables); !refused.isEmpty())
        ShowMsg(msg::税額表不採用, refused);
    if (const QString shortage = statements::tableShortage(m_state.MainDb, QDate::currentDate()).text();
        !shortage.isEmpty())
        ShowMsg(msg::税額表予告, shortage);
}

qint64 FrmPelmar::mainChanges() const
{
    // A count that cannot be read is no failure the user is told of.
    Query query(m_state.MainDb, OnFailure::Answer);
    const QVariant changes = query.single(QStringLiteral("select total_changes()"));
    return changes.isValid() ? changes.toLongLong() : -1;
}

void FrmPelmar::backUpAtClose()
{
    // Nothing written since the load, or nothing known: no copy of a file
    // that is already in a backup as it is.
    if (mainChanges() <= m_mainChangesAtLoad)
        return;
    const backup::Outcome taken =
        backup::take(m_state.MainDb, m_state.DataPath, backup::Reason::Closing, QDateTime::currentDateTime());
    if (!taken.ok())
        ShowMsg(msg::エラー終了時バックアップ, taken.error);
}

} // namespace pelmar
