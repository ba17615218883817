#include "masters/PatternPage.h"

#include "app/widgets/ColumnLayout.h"
#include "app/widgets/DataGrid.h"
#include "app/widgets/PageParts.h"
#include "calc/Formats.h"
#include "store/ProgramState.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace pelmar {

PatternPage::PatternPage(ProgramState &state, QWidget *parent) : QWidget(parent), m_state(state)
{
    setObjectName(QStringLiteral("page勤務形態"));
    imContainer3D11 = namedFrame(QStringLiteral("imContainer3D11"), this);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->addWidget(imContainer3D11);
    auto *page = new QVBoxLayout(imContainer3D11);

    Grid勤務形態 = new DataGrid(imContainer3D11);
    Grid勤務形態->setObjectName(QStringLiteral("Grid勤務形態"));
    page->addWidget(Grid勤務形態, 1);

    imContainer3D12 = namedFrame(QStringLiteral("imContainer3D12"), imContainer3D11);
    auto *buttons = new QHBoxLayout(imContainer3D12);
    cmd勤務クリア = namedButton(QStringLiteral("cmd勤務クリア"), QStringLiteral("クリア"), imContainer3D12);
    cmd勤務登録 = namedButton(QStringLiteral("cmd勤務登録"), QStringLiteral("登録"), imContainer3D12);
    cmd勤務行削除 = namedButton(QStringLiteral("cmd勤務行削除"), QStringLiteral("行削除"), imContainer3D12);
    cmd勤務読込 = namedButton(QStringLiteral("cmd勤務読込"), QStringLiteral("読込"), imContainer3D12);
    cmdHint5 = hintButton(QStringLiteral("cmdHint5"), imContainer3D12);
    buttons->addWidget(cmd勤務クリア);
    buttons->addWidget(cmd勤務登録);
    buttons->addWidget(cmd勤務行削除);
    buttons->addWidget(cmd勤務読込);
    buttons->addStretch(1);
    buttons->addWidget(cmdHint5);
    page->addWidget(imContainer3D12);
}

void PatternPage::bindGrid()
{
    Grid勤務形態->bind(m_state.WorkDb, QStringLiteral("w勤務形態"));
}

void PatternPage::unbindGrid()
{
    Grid勤務形態->unbind();
}

void PatternPage::setUpGrid()
{
    const auto centre = Qt::AlignHCenter;
    applyColumnLayout(Grid勤務形態, {
        {0, {}, 0, {}, {}, {}, true},
        {1, {}, 810.1418, centre, {}, {}, false, true},
        {2, {}, 1289.764, centre, fmt::kTime},
        {3, {}, 1365.165, centre, fmt::kTime},
        {4, {}, 1305.071, centre, fmt::kHoursShort},
        {5, {}, 1289.764, centre, fmt::kHoursShort},
    });
}

} // namespace pelmar
