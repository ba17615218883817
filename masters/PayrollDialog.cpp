#include "masters/PayrollDialog.h"

#include "masters/MasterBackup.h"
#include "masters/ResidentTaxDialog.h"
#include "masters/YenBoxes.h"
#include "messages/ShowMsg.h"
#include "store/Failure.h"
#include "store/ProgramState.h"
#include "widgets/YenSpinBox.h"
#include "widgets/DateBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <QVBoxLayout>
#include <algorithm>

namespace pelmar {

namespace {

constexpr int kMaxYen = 9'999'999;
constexpr int kMaxDependants = 99;

QLineEdit *dateBox(const QString &name, QWidget *parent)
{
    auto *box = named<QLineEdit>(name, parent);
    box->setPlaceholderText(QStringLiteral("yyyy/mm/dd"));
    box->setMaxLength(10);
    addCalendar(box);
    return box;
}

QString shownDate(const QDate &date)
{
    return date.isValid() ? date.toString(QStringLiteral("yyyy/MM/dd")) : QString();
}

} // namespace

PayrollDialog::PayrollDialog(ProgramState &state, const QString &name, QWidget *parent)
    : QDialog(parent),
      m_state(state),
      m_name(name)
{
    setObjectName(QStringLiteral("dlg給与設定"));
    setWindowTitle(QStringLiteral("給与の設定 — ") + name);
    auto *layout = new QVBoxLayout(this);
    auto *who = named<QLabel>(QStringLiteral("lbl給与氏名"), this);
    who->setText(name);
    who->setStyleSheet(QStringLiteral("font-weight: bold;"));
    layout->addWidget(who);
    auto *form = new QFormLayout;
    layout->addLayout(form);

    buildForm(form);

    auto *buttons = new QDialogButtonBox(this);
    cmd給与保存 = buttons->addButton(QStringLiteral("保存"), QDialogButtonBox::AcceptRole);
    cmd給与保存->setObjectName(QStringLiteral("cmd給与保存"));
    cmd給与取消 = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    cmd給与取消->setObjectName(QStringLiteral("cmd給与取消"));
    layout->addWidget(buttons);
    connect(cmd給与保存, &QPushButton::clicked, this, &PayrollDialog::save);
    connect(cmd給与取消, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmb税区分, &QComboBox::currentIndexChanged, this, &PayrollDialog::updateEnabled);
    connect(cmb通勤手当区分, &QComboBox::currentIndexChanged, this, &PayrollDialog::updateEnabled);
    // A box left with text that is no amount is told once the focus has
    // moved, unless 保存 (which the focus moved to) has told it already.
    tellRefusedEntries(this, yenBoxes());
    // Until details are stored, nobody chose a 税区分.
    employees::EmployeePayroll none;
    none.details.column = pay::TaxColumn::Unset;
    display(none);
}

// The payroll fields, one row each, in the order Tab walks them.
void PayrollDialog::buildForm(QFormLayout *form)
{
    cmb性別 = named<QComboBox>(QStringLiteral("cmb性別"), this);
    cmb性別->addItems({QString(), QStringLiteral("男"), QStringLiteral("女")});
    cmb税区分 = named<QComboBox>(QStringLiteral("cmb税区分"), this);
    // In the order of pay::TaxColumn.
    cmb税区分->addItems({QStringLiteral("なし"), QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("未設定")});
    cmb税区分->setCurrentIndex(int(pay::TaxColumn::Unset));
    cmb税区分->setToolTip(
        QStringLiteral("甲: 扶養控除等申告書を出している人　乙: 出していない人（二か所目の勤務先など）"
                       "　なし: 所得税を差し引かない　未設定: まだ選んでいない（所得税は差し引かれません）"));
    spn扶養親族等の数 = named<QSpinBox>(QStringLiteral("spn扶養親族等の数"), this);
    spn扶養親族等の数->setRange(0, kMaxDependants);
    spn扶養親族等の数->setSuffix(QStringLiteral(" 人"));
    chk雇用保険 = named<QCheckBox>(QStringLiteral("chk雇用保険"), this);
    chk雇用保険->setText(QStringLiteral("加入している"));
    num健康保険料 = yenBox(QStringLiteral("num健康保険料"), this);
    num介護保険料 = yenBox(QStringLiteral("num介護保険料"), this);
    num厚生年金保険料 = yenBox(QStringLiteral("num厚生年金保険料"), this);
    num住民税 = yenBox(QStringLiteral("num住民税"), this);
    cmb通勤手当区分 = named<QComboBox>(QStringLiteral("cmb通勤手当区分"), this);
    cmb通勤手当区分->addItems({QStringLiteral("なし"), QStringLiteral("日額"), QStringLiteral("月額")});
    num通勤手当 = yenBox(QStringLiteral("num通勤手当"), this);
    num通勤手当非課税限度 = yenBox(QStringLiteral("num通勤手当非課税限度"), this);
    num通勤手当非課税限度->setToolTip(
        QStringLiteral("1か月の通勤手当のうち所得税がかからない上限。電車・バスは 150,000 円。"
                       "車や自転車は片道の距離で決まります。"));
    txt入社日 = dateBox(QStringLiteral("txt入社日"), this);
    txt退職日 = dateBox(QStringLiteral("txt退職日"), this);
    const QList<QPair<YenSpinBox *, QString>> captions{
        {num健康保険料, QStringLiteral("健康保険料")},         {num介護保険料, QStringLiteral("介護保険料")},
        {num厚生年金保険料, QStringLiteral("厚生年金保険料")}, {num住民税, QStringLiteral("住民税")},
        {num通勤手当, QStringLiteral("通勤手当の額")},         {num通勤手当非課税限度, QStringLiteral("非課税の限度")}};
    for (const auto &[box, caption] : captions)
        box->setAccessibleName(caption);

    form->addRow(QStringLiteral("性別"), cmb性別);
    form->addRow(QStringLiteral("税区分"), cmb税区分);
    form->addRow(QStringLiteral("扶養親族等の数"), spn扶養親族等の数);
    form->addRow(QStringLiteral("雇用保険"), chk雇用保険);
    form->addRow(QStringLiteral("健康保険料（月額）"), num健康保険料);
    form->addRow(QStringLiteral("介護保険料（月額）"), num介護保険料);
    form->addRow(QStringLiteral("厚生年金保険料（月額）"), num厚生年金保険料);
    cmd住民税年度別 = named<QPushButton>(QStringLiteral("cmd住民税年度別"), this);
    cmd住民税年度別->setText(QStringLiteral("年度別・月ごと…"));
    cmd住民税年度別->setToolTip(QStringLiteral("決定通知書の6月分・7月以降の額と市区町村を年度ごとに入れます。"
                                               "入れた年度はその額を、ない年度は左の月額を差し引きます。"));
    connect(cmd住民税年度別, &QPushButton::clicked, this, [this] {
        ResidentTaxDialog dialog(m_state, m_name, this);
        if (dialog.load())
            dialog.exec();
    });
    auto *residentTax = new QHBoxLayout;
    residentTax->addWidget(num住民税);
    residentTax->addWidget(cmd住民税年度別);
    form->addRow(QStringLiteral("住民税（月額）"), residentTax);
    form->addRow(QStringLiteral("通勤手当"), cmb通勤手当区分);
    form->addRow(QStringLiteral("通勤手当の額"), num通勤手当);
    form->addRow(QStringLiteral("非課税の限度（月）"), num通勤手当非課税限度);
    form->addRow(QStringLiteral("入社日"), txt入社日);
    form->addRow(QStringLiteral("退職日"), txt退職日);
}

QList<YenSpinBox *> PayrollDialog::yenBoxes() const
{
    return {num健康保険料, num介護保険料, num厚生年金保険料, num住民税, num通勤手当, num通勤手当非課税限度};
}

void PayrollDialog::updateEnabled()
{
    // Dependants reduce only the 甲 column's tax.
    spn扶養親族等の数->setEnabled(cmb税区分->currentIndex() == 1);
    const bool commute = cmb通勤手当区分->currentIndex() != 0;
    num通勤手当->setEnabled(commute);
    num通勤手当非課税限度->setEnabled(commute);
}

void PayrollDialog::display(const employees::EmployeePayroll &payroll)
{
    const pay::PayDetails &d = payroll.details;
    cmb性別->setCurrentIndex(std::max(0, cmb性別->findText(payroll.sex)));
    cmb税区分->setCurrentIndex(int(d.column)); // None, Kou, Otsu, Unset as listed
    spn扶養親族等の数->setValue(d.dependants);
    chk雇用保険->setChecked(d.employmentInsured);
    num健康保険料->setValue(int(std::min<pay::Yen>(d.healthInsurance, kMaxYen)));
    num介護保険料->setValue(int(std::min<pay::Yen>(d.careInsurance, kMaxYen)));
    num厚生年金保険料->setValue(int(std::min<pay::Yen>(d.pension, kMaxYen)));
    num住民税->setValue(int(std::min<pay::Yen>(d.residentTax, kMaxYen)));
    cmb通勤手当区分->setCurrentIndex(int(d.commute.basis)); // None, PerDay, PerMonth as listed
    num通勤手当->setValue(int(std::min<pay::Yen>(d.commute.amount, kMaxYen)));
    num通勤手当非課税限度->setValue(int(std::min<pay::Yen>(d.commute.nonTaxableLimit, kMaxYen)));
    txt入社日->setText(shownDate(payroll.joined));
    txt退職日->setText(shownDate(payroll.left));
    updateEnabled();
}

bool PayrollDialog::load()
{
    const auto stored = employees::readEmployeePayroll(m_state.MainDb, m_name);
    if (!stored) {
        ShowMsg(msg::エラー給与詳細, failureDetail(m_state.MainDb));
        return false;
    }
    if (*stored) {
        display(**stored);
        m_storedLeft = (*stored)->left;
    }
    return true;
}

employees::EmployeePayroll PayrollDialog::typed(QString *problem) const
{
    employees::EmployeePayroll payroll;
    payroll.name = m_name;
    payroll.sex = cmb性別->currentText();
    pay::PayDetails &d = payroll.details;
    d.column = pay::TaxColumn(cmb税区分->currentIndex());
    d.dependants = spn扶養親族等の数->value();
    d.employmentInsured = chk雇用保険->isChecked();
    d.healthInsurance = num健康保険料->value();
    d.careInsurance = num介護保険料->value();
    d.pension = num厚生年金保険料->value();
    d.residentTax = num住民税->value();
    d.commute.basis = pay::CommuteBasis(cmb通勤手当区分->currentIndex());
    d.commute.amount = d.commute.basis == pay::CommuteBasis::None ? 0 : num通勤手当->value();
    d.commute.nonTaxableLimit = num通勤手当非課税限度->value();
    QStringList problems;
    // Text that is no amount: refused as the box was left, or still in it.
    problems << unreadAmounts(yenBoxes());
    const auto joined = typedDate(txt入社日->text());
    const auto left = typedDate(txt退職日->text());
    if (!joined)
        problems << QStringLiteral("入社日「%1」は日付として読めません（例 2026/04/01）。").arg(txt入社日->text());
    if (!left)
        problems << QStringLiteral("退職日「%1」は日付として読めません（例 2026/04/01）。").arg(txt退職日->text());
    payroll.joined = joined.value_or(QDate());
    payroll.left = left.value_or(QDate());
    if (payroll.joined.isValid() && payroll.left.isValid() && payroll.left < payroll.joined)
        problems << QStringLiteral("退職日が入社日より前です。");
    *problem = problems.join(u'\n');
    return payroll;
}

void PayrollDialog::save()
{
    QString problem;
    const employees::EmployeePayroll payroll = typed(&problem);
    if (!problem.isEmpty()) {
        forgetRefusals(yenBoxes()); // told here
        ShowMsg(msg::給与詳細不正, problem);
        return;
    }
    if (!keepCopyBeforeRegistering(m_state, backup::Reason::Employees))
        return;
    if (!employees::writeEmployeePayroll(m_state.MainDb, payroll)) {
        ShowMsg(msg::エラー給与詳細, failureDetail(m_state.MainDb));
        return;
    }
    if (payroll.left.isValid() && payroll.left != m_storedLeft)
        askResidentTaxRemainder(payroll.left);
    accept();
}

void PayrollDialog::askResidentTaxRemainder(const QDate &left)
{
    const int fiscalYear = pay::fiscalYearOf(left);
    const auto year = employees::readResidentTax(m_state.MainDb, m_name, fiscalYear);
    if (!year) {
        ShowMsg(msg::エラー給与詳細, failureDetail(m_state.MainDb));
        return;
    }
    if (!*year)
        return; // no amounts for that 年度: nothing is left to collect
    // January to May the law asks for 一括徴収 (Yes is the default); June to
    // December only at the employee's request (No is).
    const bool lumpRequired = pay::remainderFor(left) == pay::Remainder::Lump;
    const QString subject = QStringLiteral("%1（%2年度、退職日 %3）")
                                .arg(m_name)
                                .arg(fiscalYear)
                                .arg(left.toString(QStringLiteral("yyyy/MM/dd")));
    const bool lump = ShowMsg(lumpRequired ? msg::住民税一括徴収確認 : msg::住民税一括徴収申出確認, subject);
    if (!employees::setRemainder(m_state.MainDb, m_name, fiscalYear,
                                 lump ? pay::Remainder::Lump : pay::Remainder::Ordinary))
        ShowMsg(msg::エラー給与詳細, failureDetail(m_state.MainDb));
}

} // namespace pelmar
