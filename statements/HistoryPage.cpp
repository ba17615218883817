#include "statements/HistoryPage.h"

#include "widgets/ColumnLayout.h"
#include "widgets/DataGrid.h"
#include "widgets/PageBuilder.h"
#include "calc/Formats.h"
#include "statements/StatementStore.h"
#include "store/ProgramState.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace pelmar {

HistoryPage::HistoryPage(ProgramState &state, QWidget *parent) : QWidget(parent), m_state(state)
{
    setObjectName(QStringLiteral("page履歴"));
    imContainer3D2 = namedFrame(QStringLiteral("imContainer3D2"), this);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->addWidget(imContainer3D2);
    auto *page = new QVBoxLayout(imContainer3D2);

    Grid履歴 = new DataGrid(imContainer3D2);
    Grid履歴->setObjectName(QStringLiteral("Grid履歴"));
    page->addWidget(Grid履歴, 1);

    imContainer3D9 = namedFrame(QStringLiteral("imContainer3D9"), imContainer3D2);
    auto *buttons = new QHBoxLayout(imContainer3D9);
    cmd履歴クリア = namedButton(QStringLiteral("cmd履歴クリア"), QStringLiteral("クリア"), imContainer3D9);
    cmd履歴読込 = namedButton(QStringLiteral("cmd履歴読込"), QStringLiteral("読込"), imContainer3D9);
    cmd履歴選択 = namedButton(QStringLiteral("cmd履歴選択"), QStringLiteral("選択"), imContainer3D9);
    cmdHint2 = hintButton(QStringLiteral("cmdHint2"), imContainer3D9);
    buttons->addWidget(cmd履歴クリア);
    buttons->addWidget(cmd履歴読込);
    buttons->addWidget(cmd履歴選択);
    buttons->addStretch(1);
    buttons->addWidget(cmdHint2);
    page->addWidget(imContainer3D9);

    connect(cmd履歴読込, &QPushButton::clicked, this, &HistoryPage::Read履歴);
    connect(cmd履歴クリア, &QPushButton::clicked, this, &HistoryPage::Clear履歴);
    connect(cmd履歴選択, &QPushButton::clicked, this, &HistoryPage::choose);
}

void HistoryPage::Read履歴()
{
    statements::fillHistory(m_state.MainDb, m_state.WorkDb);
    Grid履歴->refresh();
}

void HistoryPage::Clear履歴()
{
    statements::clearHistory(m_state.WorkDb);
    Grid履歴->refresh();
}

void HistoryPage::choose()
{
    if (!Grid履歴->onRow())
        return;
    const QString name = Grid履歴->cellValue(0).toString();
    const QString title = Grid履歴->cellValue(2).toString();
    if (name.isEmpty() || title.isEmpty())
        return;
    emit statementChosen(name, title);
}

void HistoryPage::bindGrid()
{
    Grid履歴->bind(m_state.WorkDb, QStringLiteral("w履歴"));
}

void HistoryPage::unbindGrid()
{
    Grid履歴->unbind();
}

void HistoryPage::setUpGrid()
{
    applyColumnLayout(Grid履歴, {
        {0, QStringLiteral("氏　　名"), 2160, Qt::AlignLeft},
        {1, QStringLiteral("金額"), 1049.953, Qt::AlignRight, fmt::kYen},
        {2, {}, 4515.024, Qt::AlignLeft},
    });
}

} // namespace pelmar
