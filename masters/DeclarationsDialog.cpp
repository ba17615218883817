#include "masters/DeclarationsDialog.h"

#include "masters/MasterBackup.h"
#include "masters/YenBoxes.h"
#include "masters/YearEndDeclarations.h"
#include "messages/ShowMsg.h"
#include "store/Failure.h"
#include "store/ProgramState.h"
#include "widgets/YenSpinBox.h"
#include "widgets/DateBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace pelmar {

using yearend::Disability;

namespace {

// The most a typed amount may be (fmt::kMaxTypedMagnitude): far above any
// figure of a 年末調整, whose deductions end at a total income of 25,000,000.
constexpr int kMaxYen = 99'999'999;

// The relatives' table, as the 扶養控除等申告書 lists them.
enum RelativeColumn { kRelName, kRelBirth, kRelIncome, kRelParent, kRelDisability, kRelColumns };

QComboBox *disabilityBox(const QString &name, QWidget *parent, bool livingTogether)
{
    auto *box = named<QComboBox>(name, parent);
    box->addItems({QStringLiteral("該当しない"), QStringLiteral("一般の障害者"), QStringLiteral("特別障害者")});
    if (livingTogether)
        box->addItem(QStringLiteral("同居特別障害者"));
    return box;
}

QString shownDate(const QDate &date)
{
    return date.isValid() ? date.toString(QStringLiteral("yyyy/MM/dd")) : QString();
}

QLabel *note(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setStyleSheet(QStringLiteral("color: #555;"));
    return label;
}

std::optional<yearend::Yen> typedYen(const QString &text)
{
    return text.trimmed().isEmpty() ? 0 : typedWholeYen(text);
}

} // namespace

int DeclarationsDialog::defaultYear(const QDate &today)
{
    return today.month() == 1 ? today.year() - 1 : today.year();
}

DeclarationsDialog::DeclarationsDialog(ProgramState &state, const QString &name, int year, QWidget *parent)
    : QDialog(parent),
      m_state(state),
      m_name(name),
      m_year(year)
{
    setObjectName(QStringLiteral("dlg年末調整申告"));
    setWindowTitle(QStringLiteral("年末調整の申告書 — ") + name);
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    auto *who = named<QLabel>(QStringLiteral("lbl申告氏名"), this);
    who->setText(name);
    who->setStyleSheet(QStringLiteral("font-weight: bold;"));
    spn申告年 = named<QSpinBox>(QStringLiteral("spn申告年"), this);
    spn申告年->setRange(2000, 2100);
    spn申告年->setValue(year);
    spn申告年->setSuffix(QStringLiteral(" 年分"));
    top->addWidget(who);
    top->addStretch(1);
    top->addWidget(spn申告年);
    layout->addLayout(top);

    tab申告書 = named<QTabWidget>(QStringLiteral("tab申告書"), this);
    tab申告書->addTab(dependantsPaper(), QStringLiteral("扶養控除等申告書"));
    tab申告書->addTab(basicPaper(), QStringLiteral("基礎控除申告書"));
    tab申告書->addTab(spousePaper(), QStringLiteral("配偶者控除等申告書"));
    tab申告書->addTab(insurancePaper(), QStringLiteral("保険料控除申告書"));
    tab申告書->addTab(housingPaper(), QStringLiteral("住宅借入金等特別控除"));
    tab申告書->addTab(previousPaper(), QStringLiteral("前職分"));
    layout->addWidget(tab申告書, 1);

    auto *buttons = new QDialogButtonBox(this);
    cmd申告保存 = buttons->addButton(QStringLiteral("保存"), QDialogButtonBox::AcceptRole);
    cmd申告保存->setObjectName(QStringLiteral("cmd申告保存"));
    cmd申告取消 = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    cmd申告取消->setObjectName(QStringLiteral("cmd申告取消"));
    layout->addWidget(buttons);
    connect(cmd申告保存, &QPushButton::clicked, this, &DeclarationsDialog::save);
    connect(cmd申告取消, &QPushButton::clicked, this, &QDialog::reject);
    connect(spn申告年, &QSpinBox::valueChanged, this, &DeclarationsDialog::changeYear);
    tellRefusedEntries(this, findChildren<YenSpinBox *>());
    // Any box typed into makes the dialog's content unsaved.
    for (QSpinBox *box : findChildren<QSpinBox *>())
        if (box != spn申告年)
            connect(box, &QSpinBox::valueChanged, this, &DeclarationsDialog::markEdited);
    for (QLineEdit *box : findChildren<QLineEdit *>())
        connect(box, &QLineEdit::textEdited, this, &DeclarationsDialog::markEdited);
    for (QComboBox *box : findChildren<QComboBox *>())
        connect(box, &QComboBox::activated, this, &DeclarationsDialog::markEdited);
    for (QCheckBox *box : findChildren<QCheckBox *>())
        connect(box, &QCheckBox::clicked, this, &DeclarationsDialog::markEdited);
    connect(tbl扶養親族, &QTableWidget::itemChanged, this, &DeclarationsDialog::markEdited);
    resize(720, 480);
}

// 給与所得者の扶養控除等（異動）申告書: the employee's own boxes, then the
// relatives of the household (16歳未満 and 特定親族 included).
QWidget *DeclarationsDialog::dependantsPaper()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    auto *own = new QGroupBox(QStringLiteral("本人（障害者・寡婦・ひとり親・勤労学生）"), page);
    auto *form = new QFormLayout(own);
    cmb本人障害 = disabilityBox(QStringLiteral("cmb本人障害"), own, false);
    cmb寡婦ひとり親 = named<QComboBox>(QStringLiteral("cmb寡婦ひとり親"), own);
    cmb寡婦ひとり親->addItems({QStringLiteral("該当しない"), QStringLiteral("寡婦"), QStringLiteral("ひとり親")});
    chk勤労学生 = named<QCheckBox>(QStringLiteral("chk勤労学生"), own);
    chk勤労学生->setText(QStringLiteral("勤労学生に該当する"));
    form->addRow(QStringLiteral("障害者"), cmb本人障害);
    form->addRow(QStringLiteral("寡婦・ひとり親"), cmb寡婦ひとり親);
    form->addRow(QStringLiteral("勤労学生"), chk勤労学生);
    layout->addWidget(own);

    auto *relatives = new QGroupBox(QStringLiteral("控除対象扶養親族・16歳未満の扶養親族・特定親族"), page);
    auto *box = new QVBoxLayout(relatives);
    tbl扶養親族 = named<QTableWidget>(QStringLiteral("tbl扶養親族"), relatives);
    tbl扶養親族->setColumnCount(kRelColumns);
    tbl扶養親族->setHorizontalHeaderLabels({QStringLiteral("氏名"), QStringLiteral("生年月日"),
                                            QStringLiteral("所得の見積額"), QStringLiteral("同居老親等"),
                                            QStringLiteral("障害者")});
    tbl扶養親族->horizontalHeader()->setSectionResizeMode(kRelName, QHeaderView::Stretch);
    box->addWidget(tbl扶養親族);
    auto *rowButtons = new QHBoxLayout;
    cmd親族追加 = named<QPushButton>(QStringLiteral("cmd親族追加"), relatives);
    cmd親族追加->setText(QStringLiteral("行を追加"));
    cmd親族削除 = named<QPushButton>(QStringLiteral("cmd親族削除"), relatives);
    cmd親族削除->setText(QStringLiteral("選んだ行を削除"));
    rowButtons->addWidget(cmd親族追加);
    rowButtons->addWidget(cmd親族削除);
    rowButtons->addStretch(1);
    box->addLayout(rowButtons);
    box->addWidget(note(QStringLiteral("生年月日は 2010/04/01 のように。所得の見積額は給与だけなら「給与の収入 − 65万円」が目安です"
                                       "（収入 123万円 まで 0 円）。19歳〜22歳で所得が 62万円 を超える人は特定親族として書いてください。"
                                       "区分（一般・特定・老人・年少・特定親族）は生年月日と所得から決まります。"),
                        relatives));
    layout->addWidget(relatives, 1);
    connect(cmd親族追加, &QPushButton::clicked, this, [this] {
        addRelativeRow({});
        markEdited();
    });
    connect(cmd親族削除, &QPushButton::clicked, this, [this] {
        if (tbl扶養親族->currentRow() >= 0) {
            tbl扶養親族->removeRow(tbl扶養親族->currentRow());
            markEdited();
        }
    });
    return page;
}

// 給与所得者の基礎控除申告書: the income other than this pay.
QWidget *DeclarationsDialog::basicPaper()
{
    auto *page = new QWidget(this);
    auto *form = new QFormLayout(page);
    num給与以外所得 = yenBox(QStringLiteral("num給与以外所得"), page, kMaxYen);
    form->addRow(QStringLiteral("給与所得以外の所得の合計額（見積額）"), num給与以外所得);
    form->addRow(note(QStringLiteral("この勤め先の給与は Pelmar が支給額から計算します。ほかの勤め先の給与や事業・"
                                     "年金などの所得があるときだけ、申告書の見積額を書き写してください。"),
                      page));
    return page;
}

// 給与所得者の配偶者控除等申告書.
QWidget *DeclarationsDialog::spousePaper()
{
    auto *page = new QWidget(this);
    auto *form = new QFormLayout(page);
    chk配偶者 = named<QCheckBox>(QStringLiteral("chk配偶者"), page);
    chk配偶者->setText(QStringLiteral("配偶者（生計を一にする）がいる"));
    txt配偶者氏名 = named<QLineEdit>(QStringLiteral("txt配偶者氏名"), page);
    txt配偶者生年月日 = named<QLineEdit>(QStringLiteral("txt配偶者生年月日"), page);
    txt配偶者生年月日->setPlaceholderText(QStringLiteral("yyyy/mm/dd"));
    num配偶者所得 = yenBox(QStringLiteral("num配偶者所得"), page, kMaxYen);
    cmb配偶者障害 = disabilityBox(QStringLiteral("cmb配偶者障害"), page, true);
    form->addRow(chk配偶者);
    form->addRow(QStringLiteral("配偶者の氏名"), txt配偶者氏名);
    form->addRow(QStringLiteral("生年月日"), txt配偶者生年月日);
    form->addRow(QStringLiteral("配偶者の合計所得金額（見積額）"), num配偶者所得);
    form->addRow(QStringLiteral("障害者"), cmb配偶者障害);
    form->addRow(note(QStringLiteral("配偶者控除か配偶者特別控除かは、配偶者と本人の所得から Pelmar が決めます。"), page));
    return page;
}

// 給与所得者の保険料控除申告書: the premiums as the certificates give them.
QWidget *DeclarationsDialog::insurancePaper()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    auto *life = new QGroupBox(QStringLiteral("生命保険料控除（支払った保険料の合計）"), page);
    auto *lifeForm = new QFormLayout(life);
    num一般生命新 = yenBox(QStringLiteral("num一般生命新"), life, kMaxYen);
    num一般生命旧 = yenBox(QStringLiteral("num一般生命旧"), life, kMaxYen);
    num介護医療 = yenBox(QStringLiteral("num介護医療"), life, kMaxYen);
    num個人年金新 = yenBox(QStringLiteral("num個人年金新"), life, kMaxYen);
    num個人年金旧 = yenBox(QStringLiteral("num個人年金旧"), life, kMaxYen);
    lifeForm->addRow(QStringLiteral("一般の生命保険料　新保険料"), num一般生命新);
    lifeForm->addRow(QStringLiteral("一般の生命保険料　旧保険料"), num一般生命旧);
    lifeForm->addRow(QStringLiteral("介護医療保険料"), num介護医療);
    lifeForm->addRow(QStringLiteral("個人年金保険料　新保険料"), num個人年金新);
    lifeForm->addRow(QStringLiteral("個人年金保険料　旧保険料"), num個人年金旧);
    layout->addWidget(life);
    auto *quake = new QGroupBox(QStringLiteral("地震保険料控除"), page);
    auto *quakeForm = new QFormLayout(quake);
    num地震保険料 = yenBox(QStringLiteral("num地震保険料"), quake, kMaxYen);
    num旧長期損害保険料 = yenBox(QStringLiteral("num旧長期損害保険料"), quake, kMaxYen);
    quakeForm->addRow(QStringLiteral("地震保険料"), num地震保険料);
    quakeForm->addRow(QStringLiteral("旧長期損害保険料"), num旧長期損害保険料);
    layout->addWidget(quake);
    auto *other = new QGroupBox(QStringLiteral("社会保険料控除・小規模企業共済等掛金控除"), page);
    auto *otherForm = new QFormLayout(other);
    num社会保険料 = yenBox(QStringLiteral("num社会保険料"), other, kMaxYen);
    num小規模企業共済等掛金 = yenBox(QStringLiteral("num小規模企業共済等掛金"), other, kMaxYen);
    otherForm->addRow(QStringLiteral("社会保険料（本人が支払ったもの）"), num社会保険料);
    otherForm->addRow(QStringLiteral("小規模企業共済等掛金"), num小規模企業共済等掛金);
    otherForm->addRow(note(QStringLiteral("給与から差し引いた社会保険料は Pelmar が足します。ここには国民年金・国民健康保険など、"
                                          "本人が自分で支払った分だけを書いてください。"),
                           other));
    layout->addWidget(other);
    layout->addStretch(1);
    return page;
}

// 住宅借入金等特別控除申告書 (2年目から): the amount it gives.
QWidget *DeclarationsDialog::housingPaper()
{
    auto *page = new QWidget(this);
    auto *form = new QFormLayout(page);
    num住宅借入金等特別控除 = yenBox(QStringLiteral("num住宅借入金等特別控除"), page, kMaxYen);
    form->addRow(QStringLiteral("住宅借入金等特別控除額"), num住宅借入金等特別控除);
    form->addRow(note(QStringLiteral("申告書の「年末調整で控除を受ける金額」を書き写してください。1年目は確定申告で受けるので、"
                                     "ここは空のままにします。"),
                      page));
    return page;
}

// The previous employer's 源泉徴収票 of the same year, for someone who joined during it.
QWidget *DeclarationsDialog::previousPaper()
{
    auto *page = new QWidget(this);
    auto *form = new QFormLayout(page);
    num前職支払金額 = yenBox(QStringLiteral("num前職支払金額"), page, kMaxYen);
    num前職社会保険料 = yenBox(QStringLiteral("num前職社会保険料"), page, kMaxYen);
    num前職源泉徴収税額 = yenBox(QStringLiteral("num前職源泉徴収税額"), page, kMaxYen);
    form->addRow(QStringLiteral("支払金額"), num前職支払金額);
    form->addRow(QStringLiteral("社会保険料等の金額"), num前職社会保険料);
    form->addRow(QStringLiteral("源泉徴収税額"), num前職源泉徴収税額);
    form->addRow(note(QStringLiteral("年の途中で入社した人が前の勤め先から受け取った、同じ年分の源泉徴収票から書き写してください。"),
                      page));
    return page;
}

void DeclarationsDialog::addRelativeRow(const yearend::Relative &relative)
{
    const QSignalBlocker quiet(tbl扶養親族);
    const int row = tbl扶養親族->rowCount();
    tbl扶養親族->insertRow(row);
    tbl扶養親族->setItem(row, kRelName, new QTableWidgetItem(relative.name));
    tbl扶養親族->setItem(row, kRelBirth, new QTableWidgetItem(shownDate(relative.birth)));
    auto *income = new QTableWidgetItem(QString::number(relative.income));
    income->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    tbl扶養親族->setItem(row, kRelIncome, income);
    auto *parent = new QTableWidgetItem;
    parent->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
    parent->setCheckState(relative.parentLivingTogether ? Qt::Checked : Qt::Unchecked);
    tbl扶養親族->setItem(row, kRelParent, parent);
    auto *disability = disabilityBox(QStringLiteral("cmb親族障害"), tbl扶養親族, true);
    disability->setCurrentIndex(int(relative.disability));
    connect(disability, &QComboBox::activated, this, &DeclarationsDialog::markEdited);
    tbl扶養親族->setCellWidget(row, kRelDisability, disability);
}

void DeclarationsDialog::display(const yearend::Declarations &d)
{
    cmb本人障害->setCurrentIndex(d.selfDisability == Disability::SpecialLivingTogether ? int(Disability::Special)
                                                                                       : int(d.selfDisability));
    cmb寡婦ひとり親->setCurrentIndex(int(d.widowhood));
    chk勤労学生->setChecked(d.workingStudent);
    tbl扶養親族->setRowCount(0);
    for (const yearend::Relative &relative : d.relatives)
        addRelativeRow(relative);
    num給与以外所得->setValue(int(std::min<yearend::Yen>(d.otherIncome, kMaxYen)));
    chk配偶者->setChecked(d.spouse.has_value());
    const yearend::Spouse spouse = d.spouse.value_or(yearend::Spouse{});
    txt配偶者氏名->setText(spouse.name);
    txt配偶者生年月日->setText(shownDate(spouse.birth));
    num配偶者所得->setValue(int(std::min<yearend::Yen>(spouse.income, kMaxYen)));
    cmb配偶者障害->setCurrentIndex(int(spouse.disability));
    const std::pair<QSpinBox *, yearend::Yen> amounts[] = {
        {num一般生命新, d.lifeNewGeneral},    {num一般生命旧, d.lifeOldGeneral},
        {num介護医療, d.lifeCareMedical},     {num個人年金新, d.lifeNewPension},
        {num個人年金旧, d.lifeOldPension},    {num地震保険料, d.earthquake},
        {num旧長期損害保険料, d.oldLongTermDamage}, {num社会保険料, d.socialOutsidePay},
        {num小規模企業共済等掛金, d.smallBusinessMutualAid}, {num住宅借入金等特別控除, d.housingLoanCredit},
        {num前職支払金額, d.previousPay},     {num前職社会保険料, d.previousSocialInsurance},
        {num前職源泉徴収税額, d.previousTax},
    };
    for (const auto &[box, amount] : amounts)
        box->setValue(int(std::min<yearend::Yen>(amount, kMaxYen)));
    m_edited = false;
}

bool DeclarationsDialog::load()
{
    const auto stored = yearend::readDeclarations(m_state.MainDb, m_name, m_year);
    if (!stored) {
        ShowMsg(msg::エラー年調申告, failureDetail(m_state.MainDb));
        return false;
    }
    display(stored->value_or(yearend::Declarations{}));
    return true;
}

void DeclarationsDialog::changeYear(int year)
{
    if (year == m_year)
        return;
    if (m_edited && !ShowMsg(msg::年調年変更確認, QString::number(m_year))) {
        const QSignalBlocker quiet(spn申告年);
        spn申告年->setValue(m_year);
        return;
    }
    const int before = m_year;
    m_year = year;
    if (!load()) {
        m_year = before;
        const QSignalBlocker quiet(spn申告年);
        spn申告年->setValue(before);
    }
}

yearend::Declarations DeclarationsDialog::typed(QStringList *problems) const
{
    yearend::Declarations d;
    d.selfDisability = Disability(cmb本人障害->currentIndex());
    d.widowhood = yearend::Widowhood(cmb寡婦ひとり親->currentIndex());
    d.workingStudent = chk勤労学生->isChecked();
    for (int row = 0; row < tbl扶養親族->rowCount(); ++row) {
        const auto text = [&](int column) {
            const QTableWidgetItem *item = tbl扶養親族->item(row, column);
            return item ? item->text().trimmed() : QString();
        };
        yearend::Relative relative;
        relative.name = text(kRelName);
        const auto birth = typedDate(text(kRelBirth));
        const auto income = typedYen(text(kRelIncome));
        const QString where = QStringLiteral("扶養親族 %1 行目").arg(row + 1);
        if (relative.name.isEmpty())
            *problems << where + QStringLiteral("：氏名がありません。");
        if (!birth || !birth->isValid())
            *problems << where + QStringLiteral("：生年月日「%1」を 2010/04/01 のように入力してください。").arg(text(kRelBirth));
        if (!income || *income < 0)
            *problems << where + QStringLiteral("：所得の見積額「%1」は 0 以上の金額にしてください。").arg(text(kRelIncome));
        relative.birth = birth.value_or(QDate());
        relative.income = income.value_or(0);
        relative.parentLivingTogether = tbl扶養親族->item(row, kRelParent)->checkState() == Qt::Checked;
        relative.disability =
            Disability(static_cast<QComboBox *>(tbl扶養親族->cellWidget(row, kRelDisability))->currentIndex());
        d.relatives.append(relative);
    }
    *problems << unreadAmounts(findChildren<YenSpinBox *>());
    d.otherIncome = num給与以外所得->value();
    if (chk配偶者->isChecked()) {
        const auto birth = typedDate(txt配偶者生年月日->text());
        if (!birth || !birth->isValid())
            *problems << QStringLiteral("配偶者の生年月日「%1」を 1980/04/01 のように入力してください。")
                             .arg(txt配偶者生年月日->text());
        d.spouse = yearend::Spouse{txt配偶者氏名->text().trimmed(), birth.value_or(QDate()), num配偶者所得->value(),
                                   Disability(cmb配偶者障害->currentIndex())};
    }
    d.lifeNewGeneral = num一般生命新->value();
    d.lifeOldGeneral = num一般生命旧->value();
    d.lifeCareMedical = num介護医療->value();
    d.lifeNewPension = num個人年金新->value();
    d.lifeOldPension = num個人年金旧->value();
    d.earthquake = num地震保険料->value();
    d.oldLongTermDamage = num旧長期損害保険料->value();
    d.socialOutsidePay = num社会保険料->value();
    d.smallBusinessMutualAid = num小規模企業共済等掛金->value();
    d.housingLoanCredit = num住宅借入金等特別控除->value();
    d.previousPay = num前職支払金額->value();
    d.previousSocialInsurance = num前職社会保険料->value();
    d.previousTax = num前職源泉徴収税額->value();
    return d;
}

void DeclarationsDialog::save()
{
    QStringList problems;
    const yearend::Declarations declared = typed(&problems);
    if (!problems.isEmpty()) {
        forgetRefusals(findChildren<YenSpinBox *>()); // told here
        ShowMsg(msg::年調申告不正, problems.join(u'\n'));
        return;
    }
    if (!keepCopyBeforeRegistering(m_state, backup::Reason::Employees))
        return;
    if (!yearend::writeDeclarations(m_state.MainDb, m_name, m_year, declared)) {
        ShowMsg(msg::エラー年調申告, failureDetail(m_state.MainDb));
        return;
    }
    m_edited = false;
    accept();
}

} // namespace pelmar
