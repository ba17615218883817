#include "statements/HistoryPage.h"
#include "statements/HistoryPayReports.h"

#include "calc/Formats.h"
#include "messages/ShowMsg.h"
#include "reports/ReportDialog.h"
#include "statements/PunchImportDialog.h"
#include "payroll/StatementStore.h"
#include "store/Failure.h"
#include "store/ProgramState.h"
#include "store/Tables.h"
#include "widgets/ColumnLayout.h"
#include "widgets/DataGrid.h"
#include "widgets/PageBuilder.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace pelmar {

namespace {
// The grid shows w履歴.
namespace col = tables::historyColumn;
} // namespace

HistoryPage::HistoryPage(ProgramState &state, QWidget *parent) : TabPage(parent), m_state(state)
{
    PageSkeleton skeleton(this, QStringLiteral("page履歴"), QStringLiteral("imContainer3D2"));
    imContainer3D2 = skeleton.frame();

    grid履歴 = namedControl<DataGrid>(QStringLiteral("Grid履歴"), imContainer3D2);
    skeleton.body()->addWidget(grid履歴, 1);
    skeleton.addGridSection(&frame帳票, QStringLiteral("frame帳票"));
    buildReportControls(frame帳票);

    imContainer3D9 =
        skeleton.addButtonBar(QStringLiteral("imContainer3D9"),
                              {
                                  {&cmd履歴クリア, QStringLiteral("cmd履歴クリア"), QStringLiteral("クリア")},
                                  {&cmd履歴読込, QStringLiteral("cmd履歴読込"), QStringLiteral("読込")},
                                  {&cmd履歴選択, QStringLiteral("cmd履歴選択"), QStringLiteral("選択")},
                                  {&cmd取込, QStringLiteral("cmd取込"), QStringLiteral("取込")},
                              },
                              {&cmdHint2, QStringLiteral("cmdHint2")});

    connect(cmd履歴読込, &QPushButton::clicked, this, &HistoryPage::Read履歴);
    connect(cmd履歴クリア, &QPushButton::clicked, this, &HistoryPage::Clear履歴);
    connect(cmd履歴選択, &QPushButton::clicked, this, &HistoryPage::choose);
    connect(cmd取込, &QPushButton::clicked, this, &HistoryPage::cmd取込_Click);
    connect(cmdHint2, &QAbstractButton::clicked, this, [this] { emit hintRequested(cmdHint2); });
    connectReports();
}

HistoryPage::~HistoryPage() = default;

void HistoryPage::Read履歴()
{
    const bool filled = statements::fillHistory(m_state.MainDb, m_state.WorkDb);
    grid履歴->refresh();
    // A list that could not be written is not passed off as the whole history.
    if (!filled) {
        const QSqlError failure = takeFailure(m_state.MainDb);
        const int code = sqliteCode(failure);
        ShowMsg(msg::エラー履歴読込,
                failure.isValid() ? failureDetail(failure, fileOf(m_state.MainDb)) : failureDetail(m_state.WorkDb));
        // The pickers read the same main file: while another program holds
        // it, each read would keep the window waiting once more for nothing.
        if (code == kSqliteBusyCode || code == kSqliteLockedCode)
            return;
    }
    ReadCombタイトル();
    ReadComb台帳氏名();
    m_payReports->ReadComb支給年();
}

void HistoryPage::Clear履歴()
{
    if (const ReadyAtStart *ready = readyAtStart(); !ready || !ready->history)
        statements::clearHistory(m_state.WorkDb);
    grid履歴->refresh();
}

void HistoryPage::choose()
{
    if (!grid履歴->onRow())
        return;
    const QString name = grid履歴->cellValue(col::kName).toString();
    const QString title = grid履歴->cellValue(col::kTitle).toString();
    if (name.isEmpty() || title.isEmpty())
        return;
    emit statementChosen(name, title);
}

void HistoryPage::cmd取込_Click()
{
    auto *dialog = new PunchImportDialog(m_state, this);
    connect(dialog, &PunchImportDialog::imported, this, &HistoryPage::Read履歴);
    emit punchImportOpened(dialog);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->show();
}

void HistoryPage::bindData()
{
    grid履歴->bind(m_state.WorkDb, QStringLiteral("w履歴"));
}

void HistoryPage::releaseData()
{
    grid履歴->unbind();
}

void HistoryPage::setUp()
{
    using namespace Qt::Literals::StringLiterals;
    const auto right = Qt::AlignRight;
    applyColumnLayout(
        grid履歴,
        {
            {.column = col::kName, .caption = u"氏　　名"_s, .widthTwips = 2160, .alignment = Qt::AlignLeft},
            {.column = col::kTotal,
             .caption = u"金額"_s,
             .widthTwips = 1049.953,
             .alignment = right,
             .format = fmt::kYen},
            {.column = col::kTitle, .widthTwips = 4515.024, .alignment = Qt::AlignLeft},
        });
}

} // namespace pelmar
