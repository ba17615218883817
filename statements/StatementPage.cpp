#include "statements/StatementPage.h"

#include "calc/Formats.h"
#include "statements/PayPanel.h"
#include "store/ProgramState.h"
#include "widgets/ColumnLayout.h"
#include "widgets/DataGrid.h"
#include "widgets/NumberBox.h"
#include "widgets/PageBuilder.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace pelmar {

namespace {

NumberBox *numberBox(const QString &name, QWidget *parent, bool readOnly)
{
    auto *box = new NumberBox(parent);
    box->setObjectName(name);
    box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    box->setReadOnly(readOnly);
    box->setMaximumWidth(110);
    return box;
}

} // namespace

StatementPage::StatementPage(ProgramState &state, QWidget *parent) : TabPage(parent), m_state(state)
{
    PageSkeleton skeleton(this, QStringLiteral("page勤務表"), QStringLiteral("imContainer3D1"));
    imContainer3D1 = skeleton.frame();
    QVBoxLayout *page = skeleton.body();

    buildPersonSection(skeleton);
    buildTotalsSection(skeleton);
    buildLinesAndPay(page);

    imContainer3D5 =
        skeleton.addButtonBar(QStringLiteral("imContainer3D5"),
                              {
                                  {&cmd履歴閉じる, QStringLiteral("cmd履歴閉じる"), QStringLiteral("閉じる")},
                                  {&cmdクリア, QStringLiteral("cmdクリア"), QStringLiteral("クリア")},
                                  {&cmd登録, QStringLiteral("cmd登録"), QStringLiteral("登録")},
                                  {&cmd行削除, QStringLiteral("cmd行削除"), QStringLiteral("行削除")},
                                  {&cmd読込, QStringLiteral("cmd読込"), QStringLiteral("読込")},
                                  {&cmd印刷, QStringLiteral("Cmd印刷"), QStringLiteral("印刷")},
                                  {&cmd削除, QStringLiteral("cmd削除"), QStringLiteral("削除")},
                              },
                              {&cmdHint, QStringLiteral("cmdHint")});

    connectOperations();
    connectPrinting();
    connectSaving();
    showPremiumControls();
}

// Who and which shift.
void StatementPage::buildPersonSection(PageSkeleton &skeleton)
{
    QGridLayout *person = skeleton.addGridSection(&imContainer3D4, QStringLiteral("imContainer3D4"));
    cmb氏名 = namedControl<QComboBox>(QStringLiteral("cmb氏名"), imContainer3D4);
    cmb氏名->setEditable(true);
    cmb氏名->setInsertPolicy(QComboBox::NoInsert);
    // The box keeps its own width rather than the longest name's: sizing it
    // measured every employee's name, so start-up grew with the master.
    cmb氏名->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cmb氏名->setMinimumWidth(180);
    num時給 = numberBox(QStringLiteral("num時給"), imContainer3D4, false);
    cmb勤務形態 = namedControl<QComboBox>(QStringLiteral("cmb勤務形態"), imContainer3D4);
    // Editable only so that it can show a type the list no longer holds;
    // the user picks from the list and cannot type.
    cmb勤務形態->setEditable(true);
    cmb勤務形態->lineEdit()->setReadOnly(true);
    cmb勤務形態->setInsertPolicy(QComboBox::NoInsert);
    cmb勤務形態->setMinimumWidth(70);
    lbl勤務形態 = captionLabel(QString(), imContainer3D4, QStringLiteral("Lbl勤務形態"));
    lbl勤務形態->setMinimumWidth(280);
    person->addWidget(captionLabel(QStringLiteral("氏　名"), imContainer3D4), 0, 0);
    person->addWidget(cmb氏名, 0, 1);
    person->addWidget(captionLabel(QStringLiteral("時給"), imContainer3D4), 0, 2);
    person->addWidget(num時給, 0, 3);
    person->addWidget(captionLabel(QStringLiteral("勤務形態"), imContainer3D4), 1, 0);
    person->addWidget(cmb勤務形態, 1, 1, Qt::AlignLeft);
    person->addWidget(lbl勤務形態, 1, 2, 1, 3);
    person->setColumnStretch(4, 1);
}

// The title, the hours and the totals.
void StatementPage::buildTotalsSection(PageSkeleton &skeleton)
{
    QGridLayout *totals = skeleton.addGridSection(&imContainer3D13, QStringLiteral("imContainer3D13"));
    txtタイトル = namedControl<QLineEdit>(QStringLiteral("txtタイトル"), imContainer3D13);
    num休憩 = numberBox(QStringLiteral("num休憩"), imContainer3D13, true);
    num時間 = numberBox(QStringLiteral("num時間"), imContainer3D13, true);
    num調整額 = numberBox(QStringLiteral("num調整額"), imContainer3D13, true);
    num合計 = numberBox(QStringLiteral("num合計"), imContainer3D13, true);
    totals->addWidget(captionLabel(QStringLiteral("タイトル"), imContainer3D13), 0, 0);
    totals->addWidget(txtタイトル, 0, 1, 1, 7);
    totals->addWidget(captionLabel(QStringLiteral("休憩"), imContainer3D13), 1, 0);
    totals->addWidget(num休憩, 1, 1);
    totals->addWidget(captionLabel(QStringLiteral("時間"), imContainer3D13), 1, 2);
    totals->addWidget(num時間, 1, 3);
    totals->addWidget(captionLabel(QStringLiteral("調整額"), imContainer3D13), 1, 4);
    totals->addWidget(num調整額, 1, 5);
    totals->addWidget(captionLabel(QStringLiteral("合  計"), imContainer3D13), 1, 6);
    totals->addWidget(num合計, 1, 7);
    // The premium totals, under the hours and the total they belong to.
    num深夜 = numberBox(QStringLiteral("num深夜"), imContainer3D13, true);
    num時間外 = numberBox(QStringLiteral("num時間外"), imContainer3D13, true);
    num割増額 = numberBox(QStringLiteral("num割増額"), imContainer3D13, true);
    lbl深夜 = captionLabel(QStringLiteral("深夜"), imContainer3D13, QStringLiteral("lbl深夜"));
    lbl時間外 = captionLabel(QStringLiteral("時間外"), imContainer3D13, QStringLiteral("lbl時間外"));
    lbl割増額 = captionLabel(QStringLiteral("割増額"), imContainer3D13, QStringLiteral("lbl割増額"));
    totals->addWidget(lbl深夜, 2, 0);
    totals->addWidget(num深夜, 2, 1);
    totals->addWidget(lbl時間外, 2, 2);
    totals->addWidget(num時間外, 2, 3);
    totals->addWidget(lbl割増額, 2, 6);
    totals->addWidget(num割増額, 2, 7);
    // Rest-day hours beside them, the overtime past 60 hours under its overtime.
    num休日 = numberBox(QStringLiteral("num休日"), imContainer3D13, true);
    num時間外60超 = numberBox(QStringLiteral("num時間外60超"), imContainer3D13, true);
    lbl休日 = captionLabel(QStringLiteral("休日"), imContainer3D13, QStringLiteral("lbl休日"));
    lbl時間外60超 = captionLabel(QStringLiteral("60時間超"), imContainer3D13, QStringLiteral("lbl時間外60超"));
    totals->addWidget(lbl休日, 2, 4);
    totals->addWidget(num休日, 2, 5);
    totals->addWidget(lbl時間外60超, 3, 2);
    totals->addWidget(num時間外60超, 3, 3);
    lbl締め = captionLabel(QString(), imContainer3D13, QStringLiteral("lbl締め"));
    lbl締め->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    lbl締め->hide();
    totals->addWidget(lbl締め, 3, 4, 1, 4);
}

void StatementPage::buildLinesAndPay(QVBoxLayout *page)
{
    grid明細 = namedControl<DataGrid>(QStringLiteral("Grid明細"), imContainer3D1);
    // The pay, worked out from the lines, beside them.
    m_payPanel = new PayPanel(m_state, imContainer3D1);
    auto *linesAndPay = new QHBoxLayout;
    linesAndPay->addWidget(grid明細, 1);
    linesAndPay->addWidget(m_payPanel);
    page->addLayout(linesAndPay, 1);
}

void StatementPage::bindData()
{
    grid明細->bind(m_state.WorkDb, QStringLiteral("w明細"));
}

void StatementPage::releaseData()
{
    grid明細->unbind();
}

void StatementPage::setUp()
{
    applyNumberFormats();
    setUpGrid();
}

void StatementPage::applyNumberFormats()
{
    num時給->setDisplayFormat(fmt::kWage);
    num休憩->setDisplayFormat(fmt::kHoursBlankZero);
    num調整額->setDisplayFormat(fmt::kYen);
    num時間->setDisplayFormat(fmt::kHours);
    num合計->setDisplayFormat(fmt::kYen);
    num深夜->setDisplayFormat(fmt::kHours);
    num時間外->setDisplayFormat(fmt::kHours);
    num割増額->setDisplayFormat(fmt::kYen);
    num休日->setDisplayFormat(fmt::kHours);
    num時間外60超->setDisplayFormat(fmt::kHours);
}

void StatementPage::setUpGrid()
{
    using namespace Qt::Literals::StringLiterals;
    const auto centre = Qt::AlignHCenter;
    const auto right = Qt::AlignRight;
    applyColumnLayout(
        grid明細,
        {
            {.column = daylines::kLineNo, .hidden = true},
            {.column = daylines::kDate,
             .caption = u"日　付"_s,
             .widthTwips = 1430,
             .alignment = centre,
             .format = fmt::kDate,
             .mask = u"Date Mask"_s},
            {.column = daylines::kStart,
             .widthTwips = 1200.189,
             .alignment = centre,
             .format = fmt::kTime,
             .mask = fmt::kTime},
            {.column = daylines::kEnd,
             .widthTwips = 1200.189,
             .alignment = centre,
             .format = fmt::kTime,
             .mask = fmt::kTime},
            {.column = daylines::kBreak, .widthTwips = 780, .alignment = centre, .format = fmt::kHours},
            {.column = daylines::kHours, .widthTwips = 810, .alignment = centre, .format = fmt::kHours},
            {.column = daylines::kWage, .widthTwips = 764.7874, .alignment = right, .format = fmt::kYen},
            {.column = daylines::kAdjustment, .widthTwips = 1050, .alignment = right, .format = fmt::kYen},
            {.column = daylines::kAmount,
             .caption = u"金　額"_s,
             .widthTwips = 1130,
             .alignment = right,
             .format = fmt::kYen},
            // Worked out from the lines, never typed; shown while their premium is on.
            {.column = daylines::kNight,
             .caption = u"深夜"_s,
             .widthTwips = 780,
             .alignment = centre,
             .format = fmt::kHours,
             .hidden = !m_pay.night,
             .locked = true},
            {.column = daylines::kOvertime,
             .caption = u"時間外"_s,
             .widthTwips = 810,
             .alignment = centre,
             .format = fmt::kHours,
             .hidden = !m_pay.overtime,
             .locked = true},
            {.column = daylines::kPremium, .format = fmt::kYen, .hidden = true, .locked = true},
            {.column = daylines::kRestDay,
             .caption = u"休日"_s,
             .widthTwips = 780,
             .alignment = centre,
             .format = fmt::kHours,
             .hidden = m_pay.restDay == 0,
             .locked = true},
            {.column = daylines::kOver60, .format = fmt::kHours, .hidden = true, .locked = true},
        });
}

void StatementPage::showPremiumControls()
{
    grid明細->setColumnVisible(daylines::kNight, m_pay.night);
    grid明細->setColumnVisible(daylines::kOvertime, m_pay.overtime);
    for (QWidget *control : std::initializer_list<QWidget *>{lbl深夜, num深夜})
        control->setVisible(m_pay.night);
    for (QWidget *control : std::initializer_list<QWidget *>{lbl時間外, num時間外})
        control->setVisible(m_pay.overtime);
    for (QWidget *control : std::initializer_list<QWidget *>{lbl割増額, num割増額})
        control->setVisible(m_pay.premiumsOn());
    grid明細->setColumnVisible(daylines::kRestDay, m_pay.restDay != 0);
    for (QWidget *control : std::initializer_list<QWidget *>{lbl休日, num休日})
        control->setVisible(m_pay.restDay != 0);
    for (QWidget *control : std::initializer_list<QWidget *>{lbl時間外60超, num時間外60超})
        control->setVisible(m_pay.overtime);
}

} // namespace pelmar
