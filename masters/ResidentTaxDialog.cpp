#include "masters/ResidentTaxDialog.h"

#include "masters/MasterBackup.h"
#include "masters/YenBoxes.h"
#include "messages/ShowMsg.h"
#include "store/Failure.h"
#include "store/ProgramState.h"
#include "widgets/YenSpinBox.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <numeric>

namespace pelmar {

namespace {

constexpr int kMaxYen = 9'999'999;

// The label of a box, which messages name it by.
QLabel *captionOf(QWidget *box, const QString &caption)
{
    auto *label = new QLabel(caption, box->parentWidget());
    label->setBuddy(box);
    return label;
}

// June first: the month of each amount's place in the 年度.
int calendarMonth(int place)
{
    return (place + 5) % 12 + 1;
}

} // namespace

ResidentTaxDialog::ResidentTaxDialog(ProgramState &state, const QString &name, QWidget *parent)
    : QDialog(parent),
      m_state(state),
      m_name(name)
{
    setObjectName(QStringLiteral("dlg住民税"));
    setWindowTitle(QStringLiteral("住民税（年度別） — ") + name);
    auto *layout = new QVBoxLayout(this);
    auto *intro = new QLabel(QStringLiteral("「特別徴収税額の決定通知書」の税額を、年度（6月〜翌年5月）ごとに入れます。"
                                            "給与からは支給日の月の額を差し引きます。"),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    auto *grid = new QGridLayout;
    layout->addLayout(grid);
    int row = 0;
    spn住民税年度 = named<QSpinBox>(QStringLiteral("spn住民税年度"), this);
    spn住民税年度->setRange(2000, 2200);
    spn住民税年度->setValue(pay::fiscalYearOf(QDate::currentDate()));
    spn住民税年度->setSuffix(QStringLiteral(" 年度"));
    grid->addWidget(new QLabel(QStringLiteral("年度"), this), row, 0);
    grid->addWidget(spn住民税年度, row++, 1);
    txt市区町村 = named<QLineEdit>(QStringLiteral("txt市区町村"), this);
    txt市区町村->setPlaceholderText(QStringLiteral("通知書を出した市区町村（例 杉並区）"));
    grid->addWidget(new QLabel(QStringLiteral("市区町村"), this), row, 0);
    grid->addWidget(txt市区町村, row++, 1, 1, 5);
    buildNoticeBoxes(grid, row);
    buildMonthBoxes(grid, row);
    cmb退職後 = named<QComboBox>(QStringLiteral("cmb退職後"), this);
    cmb退職後->addItems({QStringLiteral("退職月で決める（1〜5月は一括徴収、6〜12月は普通徴収）"),
                         QStringLiteral("普通徴収（本人が納める）"), QStringLiteral("一括徴収（最後の給与から）")});
    grid->addWidget(new QLabel(QStringLiteral("退職後の残り"), this), row, 0);
    grid->addWidget(cmb退職後, row++, 1, 1, 5);
    lbl住民税年額 = named<QLabel>(QStringLiteral("lbl住民税年額"), this);
    grid->addWidget(lbl住民税年額, row++, 1, 1, 5);

    auto *buttons = new QDialogButtonBox(this);
    cmd住民税保存 = buttons->addButton(QStringLiteral("保存"), QDialogButtonBox::ActionRole);
    cmd住民税保存->setObjectName(QStringLiteral("cmd住民税保存"));
    cmd住民税削除 = buttons->addButton(QStringLiteral("この年度を削除"), QDialogButtonBox::ActionRole);
    cmd住民税削除->setObjectName(QStringLiteral("cmd住民税削除"));
    cmd住民税閉じる = buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
    cmd住民税閉じる->setObjectName(QStringLiteral("cmd住民税閉じる"));
    layout->addWidget(buttons);
    connect(cmd住民税保存, &QPushButton::clicked, this, &ResidentTaxDialog::save);
    connect(cmd住民税削除, &QPushButton::clicked, this, &ResidentTaxDialog::remove);
    connect(cmd住民税閉じる, &QPushButton::clicked, this, &QDialog::reject);
    connect(spn住民税年度, &QSpinBox::valueChanged, this, &ResidentTaxDialog::load);
    connect(rdo通知書, &QRadioButton::toggled, this, &ResidentTaxDialog::updateForm);
    for (QSpinBox *box : m_months)
        connect(box, &QSpinBox::valueChanged, this, &ResidentTaxDialog::updateForm);
    for (QSpinBox *box : {num住民税6月, num住民税7月以降})
        connect(box, &QSpinBox::valueChanged, this, &ResidentTaxDialog::updateForm);
    tellRefusedEntries(this, findChildren<YenSpinBox *>());
    showYear({});
}

// The notice's own two figures: June, and each month from July to May.
void ResidentTaxDialog::buildNoticeBoxes(QGridLayout *grid, int &row)
{
    rdo通知書 = named<QRadioButton>(QStringLiteral("rdo通知書"), this);
    rdo通知書->setText(QStringLiteral("通知書のとおり（6月分と7月〜翌年5月分）"));
    grid->addWidget(rdo通知書, row++, 0, 1, 6);
    num住民税6月 = yenBox(QStringLiteral("num住民税6月"), this);
    num住民税7月以降 = yenBox(QStringLiteral("num住民税7月以降"), this);
    grid->addWidget(captionOf(num住民税6月, QStringLiteral("6月分")), row, 0);
    grid->addWidget(num住民税6月, row, 1);
    grid->addWidget(captionOf(num住民税7月以降, QStringLiteral("7月〜翌年5月分（各月）")), row, 2, 1, 2);
    grid->addWidget(num住民税7月以降, row++, 4, 1, 2);
}

// Twelve amounts, June to May, for a notice that gives each month apart.
void ResidentTaxDialog::buildMonthBoxes(QGridLayout *grid, int &row)
{
    rdo月ごと = named<QRadioButton>(QStringLiteral("rdo月ごと"), this);
    rdo月ごと->setText(QStringLiteral("月ごとに入れる（12か月）"));
    grid->addWidget(rdo月ごと, row++, 0, 1, 6);
    for (int place = 0; place < pay::kResidentTaxMonths; ++place) {
        const int month = calendarMonth(place);
        m_months[place] = yenBox(QStringLiteral("num住民税%1月").arg(month) + QStringLiteral("分"), this);
        const int r = row + place / 3, c = (place % 3) * 2;
        grid->addWidget(captionOf(m_months[place], QStringLiteral("%1月").arg(month)), r, c, Qt::AlignRight);
        grid->addWidget(m_months[place], r, c + 1);
    }
    row += pay::kResidentTaxMonths / 3;
}

void ResidentTaxDialog::updateForm()
{
    const bool notice = rdo通知書->isChecked();
    num住民税6月->setEnabled(notice);
    num住民税7月以降->setEnabled(notice);
    for (QSpinBox *box : m_months)
        box->setEnabled(!notice);
    const pay::ResidentTaxYear year = shownYear();
    const pay::Yen total = std::accumulate(year.amounts.begin(), year.amounts.end(), pay::Yen(0));
    lbl住民税年額->setText(QStringLiteral("年税額 %1 円").arg(QLocale(QLocale::English).toString(total)));
}

void ResidentTaxDialog::showYear(const pay::ResidentTaxYear &year)
{
    const QSignalBlocker quietNotice(rdo通知書);
    txt市区町村->setText(year.municipality);
    const bool notice = pay::isNoticeForm(year.amounts);
    rdo通知書->setChecked(notice);
    rdo月ごと->setChecked(!notice);
    num住民税6月->setValue(int(std::min<pay::Yen>(year.amounts[0], kMaxYen)));
    num住民税7月以降->setValue(int(std::min<pay::Yen>(year.amounts[1], kMaxYen)));
    for (int place = 0; place < pay::kResidentTaxMonths; ++place)
        m_months[place]->setValue(int(std::min<pay::Yen>(year.amounts[place], kMaxYen)));
    cmb退職後->setCurrentIndex(int(year.remainder)); // Undecided, Ordinary, Lump as listed
    updateForm();
}

pay::ResidentTaxYear ResidentTaxDialog::shownYear() const
{
    pay::ResidentTaxYear year;
    year.fiscalYear = spn住民税年度->value();
    year.municipality = txt市区町村->text().trimmed();
    if (rdo通知書->isChecked()) {
        year.amounts = pay::noticeAmounts(num住民税6月->value(), num住民税7月以降->value());
    } else {
        for (int place = 0; place < pay::kResidentTaxMonths; ++place)
            year.amounts[place] = m_months[place]->value();
    }
    year.remainder = pay::Remainder(cmb退職後->currentIndex());
    return year;
}

bool ResidentTaxDialog::load()
{
    const auto stored = employees::readResidentTax(m_state.MainDb, m_name, spn住民税年度->value());
    if (!stored) {
        ShowMsg(msg::エラー給与詳細, failureDetail(m_state.MainDb));
        return false;
    }
    pay::ResidentTaxYear year = *stored ? (*stored)->year : pay::ResidentTaxYear{};
    year.fiscalYear = spn住民税年度->value();
    showYear(year);
    return true;
}

bool ResidentTaxDialog::save()
{
    const QList<YenSpinBox *> boxes = findChildren<YenSpinBox *>();
    const QStringList unread = unreadAmounts(boxes);
    if (!unread.isEmpty()) {
        forgetRefusals(boxes); // told here
        ShowMsg(msg::給与詳細不正, unread.join(u'\n'));
        return false;
    }
    if (!keepCopyBeforeRegistering(m_state, backup::Reason::Employees))
        return false;
    if (!employees::writeResidentTax(m_state.MainDb, {m_name, shownYear()})) {
        ShowMsg(msg::エラー給与詳細, failureDetail(m_state.MainDb));
        return false;
    }
    ShowMsg(msg::住民税保存完了, QStringLiteral("%1年度").arg(spn住民税年度->value()));
    return true;
}

void ResidentTaxDialog::remove()
{
    if (!ShowMsg(msg::削除確認, QStringLiteral("%1 の %2年度の住民税").arg(m_name).arg(spn住民税年度->value())))
        return;
    if (!keepCopyBeforeRegistering(m_state, backup::Reason::Employees))
        return;
    if (!employees::removeResidentTax(m_state.MainDb, m_name, spn住民税年度->value())) {
        ShowMsg(msg::エラー給与詳細, failureDetail(m_state.MainDb));
        return;
    }
    load();
}

} // namespace pelmar
