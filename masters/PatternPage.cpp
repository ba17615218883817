#include "masters/PatternPage.h"

#include "calc/Formats.h"
#include "calc/PatternRow.h"
#include "calc/TypedText.h"
#include "calc/WorkTime.h"
#include "masters/MasterBackup.h"
#include "masters/PatternStore.h"
#include "messages/ShowMsg.h"
#include "store/Failure.h"
#include "store/ProgramState.h"
#include "widgets/ColumnLayout.h"
#include "widgets/DataGrid.h"
#include "widgets/ImeSetOpen.h"
#include "widgets/PageBuilder.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace pelmar {

PatternPage::PatternPage(ProgramState &state, QWidget *parent) : TabPage(parent), m_state(state)
{
    PageSkeleton skeleton(this, QStringLiteral("page勤務形態"), QStringLiteral("imContainer3D11"));
    imContainer3D11 = skeleton.frame();

    grid勤務形態 = namedControl<DataGrid>(QStringLiteral("Grid勤務形態"), imContainer3D11);
    skeleton.body()->addWidget(grid勤務形態, 1);

    imContainer3D12 =
        skeleton.addButtonBar(QStringLiteral("imContainer3D12"),
                              {
                                  {&cmd勤務クリア, QStringLiteral("cmd勤務クリア"), QStringLiteral("クリア")},
                                  {&cmd勤務登録, QStringLiteral("cmd勤務登録"), QStringLiteral("登録")},
                                  {&cmd勤務行削除, QStringLiteral("cmd勤務行削除"), QStringLiteral("行削除")},
                                  {&cmd勤務読込, QStringLiteral("cmd勤務読込"), QStringLiteral("読込")},
                              },
                              {&cmdHint5, QStringLiteral("cmdHint5")});

    connect(cmd勤務クリア, &QPushButton::clicked, this, &PatternPage::Clear勤務形態);
    connect(cmd勤務読込, &QPushButton::clicked, this, &PatternPage::Read勤務形態);
    connect(cmd勤務登録, &QPushButton::clicked, this, &PatternPage::Entry勤務形態);
    connect(cmd勤務行削除, &QPushButton::clicked, this, &PatternPage::LineDelete勤務形態);
    connect(cmdHint5, &QAbstractButton::clicked, this, [this] { emit hintRequested(cmdHint5); });
    connect(grid勤務形態, &DataGrid::afterColUpdate, this, &PatternPage::onGridAfterUpdate);
    connect(
        grid勤務形態, &DataGrid::entryRefused, this,
        [](int column, const QString &typed) {
            ShowMsg(msg::入力範囲外, typed::refusedEntry(columnCaption(column), typed));
        },
        Qt::QueuedConnection);
    // Told once the edit is over, not from inside the grid's commit.
    connect(
        grid勤務形態, &DataGrid::writeFailed, this,
        [this](const QSqlError &error) {
            ShowMsg(msg::エラーセル書込み, failureDetail(error, fileOf(m_state.WorkDb)));
        },
        Qt::QueuedConnection);
    // Every column of this grid is typed in direct input.
    connect(grid勤務形態, &DataGrid::rowColChange, this, [this] { ImeSetOpen(grid勤務形態, false); });
    ImeSetOpen(grid勤務形態, false);
}

void PatternPage::Clear勤務形態()
{
    if (!patterns::resetPage(m_state.WorkDb))
        ShowMsg(msg::エラー勤務形態クリア, failureDetail(m_state.WorkDb));
    grid勤務形態->refresh();
}

void PatternPage::Read勤務形態()
{
    // The page goes straight from what it held to the master, one write at
    // most; one that cannot be read shows the empty page, never stale rows.
    const ReadyAtStart *ready = readyAtStart();
    m_readFailed = !(ready && ready->patterns) && !patterns::readMaster(m_state.MainDb, m_state.WorkDb);
    if (m_readFailed && !patterns::resetPage(m_state.WorkDb))
        ShowMsg(msg::エラー勤務形態クリア);
    grid勤務形態->refresh();
    if (m_readFailed)
        ShowMsg(msg::エラー勤務形態読込, failureDetail(m_state.MainDb, m_state.WorkDb));
}

void PatternPage::Entry勤務形態()
{
    if (m_readFailed) {
        ShowMsg(msg::登録勤務形態未読込);
        return;
    }
    if (!ShowMsg(msg::登録確認, QStringLiteral("勤務形態")))
        return;
    grid勤務形態->commitRow();
    if (!keepCopyBeforeRegistering(m_state, backup::Reason::ShiftTypes))
        return;
    if (!patterns::registerPage(m_state.MainDb, m_state.WorkDb)) {
        ShowMsg(msg::エラー勤務形態登録, failureDetail(m_state.MainDb, m_state.WorkDb));
        return;
    }
    emit masterChanged();
}

void PatternPage::LineDelete勤務形態()
{
    if (!grid勤務形態->onRow())
        return;
    for (int c = patternrow::kStart; c <= patternrow::kWorked; ++c)
        grid勤務形態->setCellValue(c, QVariant());
}

void PatternPage::onGridAfterUpdate(int column)
{
    patternrow::Row before;
    for (int c = 0; c < patternrow::kColumnCount; ++c)
        before[c] = grid勤務形態->cellValue(c);
    const patternrow::RowOutcome outcome =
        patternrow::completeRowAfterEdit(before, column, grid勤務形態->valueBeforeEdit());
    for (int c = patternrow::kStart; c < patternrow::kColumnCount; ++c) {
        if (!worktime::sameValue(outcome.row[c], before[c]))
            grid勤務形態->setCellValue(c, outcome.row[c]);
    }
    const int refused = outcome.refusedColumn;
    if (outcome.refusal == patternrow::Refusal::None)
        return;
    // The entry itself is named with what was typed; a break that the times
    // left too long, by its column alone.
    if (refused != column || worktime::isEmptyValue(before[column]))
        ShowMsg(msg::入力範囲外, columnCaption(refused));
    else if (outcome.refusal == patternrow::Refusal::Unreadable
             && (refused == patternrow::kStart || refused == patternrow::kEnd))
        ShowMsg(msg::入力時刻形式, typed::refusedEntry(columnCaption(refused), before[column].toString()));
    else
        ShowMsg(msg::入力範囲外, typed::refusedEntry(columnCaption(refused), before[column].toString()));
}

QString PatternPage::columnCaption(int column)
{
    switch (column) {
    case patternrow::kStart:
        return QStringLiteral("開始時間");
    case patternrow::kEnd:
        return QStringLiteral("終了時間");
    case patternrow::kBreak:
        return QStringLiteral("休憩");
    case patternrow::kWorked:
        return QStringLiteral("実労");
    default:
        return QStringLiteral("タイプ");
    }
}

void PatternPage::bindData()
{
    grid勤務形態->bind(m_state.WorkDb, QStringLiteral("w勤務形態"));
}

void PatternPage::releaseData()
{
    grid勤務形態->unbind();
}

void PatternPage::setUp()
{
    const auto centre = Qt::AlignHCenter;
    applyColumnLayout(
        grid勤務形態,
        {
            {.column = patternrow::kNo, .hidden = true},
            {.column = patternrow::kType, .widthTwips = 810.1418, .alignment = centre, .locked = true},
            {.column = patternrow::kStart, .widthTwips = 1289.764, .alignment = centre, .format = fmt::kTime},
            {.column = patternrow::kEnd, .widthTwips = 1365.165, .alignment = centre, .format = fmt::kTime},
            {.column = patternrow::kBreak, .widthTwips = 1305.071, .alignment = centre, .format = fmt::kHours},
            {.column = patternrow::kWorked, .widthTwips = 1289.764, .alignment = centre, .format = fmt::kHours},
        });
}

} // namespace pelmar
