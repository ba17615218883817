#include "masters/InsuranceDialog.h"

#include "masters/MasterBackup.h"
#include "masters/YenBoxes.h"
#include "messages/ShowMsg.h"
#include "store/Failure.h"
#include "store/ProgramState.h"
#include "widgets/DateBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace pelmar {

namespace {

using employees::Decision;
using employees::StandardRemuneration;

// The history's columns.
enum HistoryColumn : int { kMonth, kHealth, kPension, kDecision, kHistoryColumns };

QLineEdit *dateBox(const QString &name, QWidget *parent)
{
    auto *box = named<QLineEdit>(name, parent);
    box->setPlaceholderText(QStringLiteral("yyyy/mm/dd"));
    box->setMaxLength(10);
    return box;
}

QString shownDate(const QDate &date)
{
    return date.isValid() ? date.toString(QStringLiteral("yyyy/MM/dd")) : QString();
}

QString shownMonth(pay::YearMonth month)
{
    return QStringLiteral("%1/%2").arg(month.year, 4, 10, QChar(u'0')).arg(month.month, 2, 10, QChar(u'0'));
}

// "2026/09", "2026-09" or "202609".
std::optional<pay::YearMonth> typedMonth(const QString &text)
{
    QString t = text.trimmed();
    t.replace(u'/', u'-');
    if (t.size() == 6 && !t.contains(u'-'))
        t.insert(4, u'-');
    if (t.size() == 6 && t[4] == u'-')
        t.insert(5, u'0'); // "2026-9"
    return pay::YearMonth::fromText(t);
}

// Whole yen as typed, "220,000" or "220000"; nothing for anything else.
std::optional<pay::Yen> typedYen(const QString &text)
{
    const auto yen = typedWholeYen(text);
    return yen && *yen > 0 ? yen : std::nullopt;
}

QString yenText(pay::Yen yen)
{
    return QLocale(QLocale::Japanese).toString(yen);
}

bool isPensionStandard(const QList<pay::GradeRow> &grades, pay::Yen standard)
{
    return std::any_of(grades.cbegin(), grades.cend(),
                       [&](const pay::GradeRow &row) { return row.pension != 0 && row.standard == standard; });
}

// A line's amounts that are no standard amount of the grades in force.
void checkStandards(const StandardRemuneration &entry, QStringList &problems)
{
    const QList<pay::GradeRow> *grades = pay::shippedSocialTables().tables.gradesFor(entry.from);
    if (!grades)
        return; // no table to hold it to: taken as typed
    if (!pay::gradesOfStandard(*grades, entry.health))
        problems << QStringLiteral("%1 の健康保険 %2 円は標準報酬月額の等級にありません。")
                        .arg(shownMonth(entry.from), yenText(entry.health));
    if (!isPensionStandard(*grades, entry.pension))
        problems << QStringLiteral("%1 の厚生年金 %2 円は標準報酬月額の等級にありません。")
                        .arg(shownMonth(entry.from), yenText(entry.pension));
}

} // namespace

InsuranceDialog::InsuranceDialog(ProgramState &state, const QString &name, QWidget *parent)
    : QDialog(parent),
      m_state(state),
      m_name(name)
{
    setObjectName(QStringLiteral("dlg社会保険"));
    setWindowTitle(QStringLiteral("社会保険 — ") + name);
    buildForm();
    connect(cmd社会保険保存, &QPushButton::clicked, this, &InsuranceDialog::save);
    connect(cmd社会保険取消, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmd等級, &QPushButton::clicked, this, &InsuranceDialog::fillFromRemuneration);
    connect(cmd標準報酬追加, &QPushButton::clicked, this, [this] {
        addHistoryLine({pay::YearMonth::of(QDate::currentDate()), 0, 0, Decision::Acquisition});
        tbl標準報酬月額->setCurrentCell(tbl標準報酬月額->rowCount() - 1, kMonth);
    });
    connect(cmd標準報酬削除, &QPushButton::clicked, this, [this] {
        if (tbl標準報酬月額->currentRow() >= 0)
            tbl標準報酬月額->removeRow(tbl標準報酬月額->currentRow());
    });
}

void InsuranceDialog::buildForm()
{
    auto *layout = new QVBoxLayout(this);
    auto *who = named<QLabel>(QStringLiteral("lbl社会保険氏名"), this);
    who->setText(m_name);
    who->setStyleSheet(QStringLiteral("font-weight: bold;"));
    layout->addWidget(who);
    auto *form = new QFormLayout;
    layout->addLayout(form);
    chk健康保険 = named<QCheckBox>(QStringLiteral("chk健康保険"), this);
    chk健康保険->setText(QStringLiteral("加入している"));
    chk厚生年金 = named<QCheckBox>(QStringLiteral("chk厚生年金"), this);
    chk厚生年金->setText(QStringLiteral("加入している"));
    txt資格取得日 = dateBox(QStringLiteral("txt資格取得日"), this);
    txt資格喪失日 = dateBox(QStringLiteral("txt資格喪失日"), this);
    txt資格喪失日->setToolTip(QStringLiteral("退職日の翌日。まだ加入しているときは空にします。"));
    txt生年月日 = dateBox(QStringLiteral("txt生年月日"), this);
    cmb勤務区分 = named<QComboBox>(QStringLiteral("cmb勤務区分"), this);
    for (const auto worker : {pay::Worker::Regular, pay::Worker::PartTime, pay::Worker::ShortTime})
        cmb勤務区分->addItem(employees::workerName(worker), int(worker));
    cmb勤務区分->setToolTip(QStringLiteral("等級を決める月の支払基礎日数: 一般 17日以上、パート 17日以上"
                                           "（どの月も届かないときは15日以上）、短時間労働者 11日以上"));
    form->addRow(QStringLiteral("健康保険"), chk健康保険);
    form->addRow(QStringLiteral("厚生年金"), chk厚生年金);
    form->addRow(QStringLiteral("資格取得日"), txt資格取得日);
    form->addRow(QStringLiteral("資格喪失日"), txt資格喪失日);
    form->addRow(QStringLiteral("生年月日"), txt生年月日);
    form->addRow(QStringLiteral("勤務区分"), cmb勤務区分);

    layout->addWidget(new QLabel(QStringLiteral("標準報酬月額（適用する月から次の行の月の前まで）"), this));
    tbl標準報酬月額 = named<QTableWidget>(QStringLiteral("tbl標準報酬月額"), this);
    tbl標準報酬月額->setColumnCount(kHistoryColumns);
    tbl標準報酬月額->setHorizontalHeaderLabels({QStringLiteral("適用年月"), QStringLiteral("健康保険"),
                                                QStringLiteral("厚生年金"), QStringLiteral("決定区分")});
    tbl標準報酬月額->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    layout->addWidget(tbl標準報酬月額, 1);

    auto *lineButtons = new QHBoxLayout;
    layout->addLayout(lineButtons);
    cmd標準報酬追加 = named<QPushButton>(QStringLiteral("cmd標準報酬追加"), this);
    cmd標準報酬追加->setText(QStringLiteral("行追加"));
    cmd標準報酬削除 = named<QPushButton>(QStringLiteral("cmd標準報酬削除"), this);
    cmd標準報酬削除->setText(QStringLiteral("行削除"));
    txt報酬月額 = named<QLineEdit>(QStringLiteral("txt報酬月額"), this);
    txt報酬月額->setPlaceholderText(QStringLiteral("報酬月額"));
    cmd等級 = named<QPushButton>(QStringLiteral("cmd等級"), this);
    cmd等級->setText(QStringLiteral("報酬月額から"));
    cmd等級->setToolTip(QStringLiteral("選んだ行の標準報酬月額を、入力した報酬月額の等級で埋めます"));
    for (QWidget *control : {static_cast<QWidget *>(cmd標準報酬追加), static_cast<QWidget *>(cmd標準報酬削除),
                             static_cast<QWidget *>(txt報酬月額), static_cast<QWidget *>(cmd等級)})
        lineButtons->addWidget(control);

    auto *buttons = new QDialogButtonBox(this);
    cmd社会保険保存 = buttons->addButton(QStringLiteral("保存"), QDialogButtonBox::AcceptRole);
    cmd社会保険保存->setObjectName(QStringLiteral("cmd社会保険保存"));
    cmd社会保険取消 = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    cmd社会保険取消->setObjectName(QStringLiteral("cmd社会保険取消"));
    layout->addWidget(buttons);
}

void InsuranceDialog::addHistoryLine(const StandardRemuneration &entry)
{
    const int row = tbl標準報酬月額->rowCount();
    tbl標準報酬月額->insertRow(row);
    tbl標準報酬月額->setItem(row, kMonth, new QTableWidgetItem(shownMonth(entry.from)));
    tbl標準報酬月額->setItem(row, kHealth, new QTableWidgetItem(entry.health ? yenText(entry.health) : QString()));
    tbl標準報酬月額->setItem(row, kPension, new QTableWidgetItem(entry.pension ? yenText(entry.pension) : QString()));
    auto *decision = new QComboBox(tbl標準報酬月額);
    for (const auto d : {Decision::Acquisition, Decision::Regular, Decision::Occasional})
        decision->addItem(employees::decisionName(d), int(d));
    decision->setCurrentIndex(decision->findData(int(entry.decision)));
    tbl標準報酬月額->setCellWidget(row, kDecision, decision);
}

void InsuranceDialog::display(const employees::EmployeeInsurance &insurance)
{
    chk健康保険->setChecked(insurance.healthInsured);
    chk厚生年金->setChecked(insurance.pensionInsured);
    txt資格取得日->setText(shownDate(insurance.coverage.acquired));
    txt資格喪失日->setText(shownDate(insurance.coverage.lost));
    txt生年月日->setText(shownDate(insurance.birth));
    cmb勤務区分->setCurrentIndex(cmb勤務区分->findData(int(insurance.worker)));
    tbl標準報酬月額->setRowCount(0);
    for (const StandardRemuneration &entry : insurance.history)
        addHistoryLine(entry);
}

bool InsuranceDialog::load()
{
    const auto stored = employees::readEmployeeInsurance(m_state.MainDb, m_name);
    if (!stored) {
        ShowMsg(msg::エラー社会保険, failureDetail(m_state.MainDb));
        return false;
    }
    if (*stored)
        display(**stored);
    return true;
}

QList<StandardRemuneration> InsuranceDialog::typedHistory(QStringList &problems) const
{
    QList<StandardRemuneration> history;
    for (int row = 0; row < tbl標準報酬月額->rowCount(); ++row) {
        const auto cell = [&](int column) {
            const QTableWidgetItem *item = tbl標準報酬月額->item(row, column);
            return item ? item->text() : QString();
        };
        const auto month = typedMonth(cell(kMonth));
        const auto health = typedYen(cell(kHealth));
        const auto pension = typedYen(cell(kPension));
        if (!month || !health || !pension) {
            problems << QStringLiteral("標準報酬月額の %1 行目が読めません（例 2026/09、220,000）。").arg(row + 1);
            continue;
        }
        const auto *decision = qobject_cast<QComboBox *>(tbl標準報酬月額->cellWidget(row, kDecision));
        history.append({*month, *health, *pension, Decision(decision ? decision->currentData().toInt() : 0)});
        checkStandards(history.last(), problems);
    }
    std::sort(history.begin(), history.end(), [](const auto &a, const auto &b) { return a.from < b.from; });
    for (qsizetype i = 1; i < history.size(); ++i) {
        if (history[i].from == history[i - 1].from)
            problems << QStringLiteral("適用年月 %1 の行が二つあります。").arg(shownMonth(history[i].from));
    }
    return history;
}

employees::EmployeeInsurance InsuranceDialog::typed(QString *problem) const
{
    employees::EmployeeInsurance insurance;
    insurance.name = m_name;
    insurance.healthInsured = chk健康保険->isChecked();
    insurance.pensionInsured = chk厚生年金->isChecked();
    insurance.worker = pay::Worker(cmb勤務区分->currentData().toInt());
    QStringList problems;
    const std::pair<QLineEdit *, QDate *> dates[] = {{txt資格取得日, &insurance.coverage.acquired},
                                                     {txt資格喪失日, &insurance.coverage.lost},
                                                     {txt生年月日, &insurance.birth}};
    for (const auto &[box, date] : dates) {
        const auto read = typedDate(box->text());
        if (!read)
            problems << QStringLiteral("「%1」は日付として読めません（例 2026/04/01）。").arg(box->text());
        *date = read.value_or(QDate());
    }
    const bool insured = insurance.healthInsured || insurance.pensionInsured;
    if (insured && (!insurance.coverage.acquired.isValid() || !insurance.birth.isValid()))
        problems << QStringLiteral("加入している人には資格取得日と生年月日が要ります。");
    if (insurance.coverage.lost.isValid() && !(insurance.coverage.acquired < insurance.coverage.lost))
        problems << QStringLiteral("資格喪失日は資格取得日より後の日です（退職日の翌日）。");
    insurance.history = typedHistory(problems);
    *problem = problems.join(u'\n');
    return insurance;
}

void InsuranceDialog::save()
{
    QString problem;
    const employees::EmployeeInsurance insurance = typed(&problem);
    if (!problem.isEmpty()) {
        ShowMsg(msg::社会保険詳細不正, problem);
        return;
    }
    if (!keepCopyBeforeRegistering(m_state, backup::Reason::Employees))
        return;
    if (!employees::writeEmployeeInsurance(m_state.MainDb, insurance)) {
        ShowMsg(msg::エラー社会保険, failureDetail(m_state.MainDb));
        return;
    }
    accept();
}

void InsuranceDialog::fillFromRemuneration()
{
    const int row = tbl標準報酬月額->currentRow();
    const auto remuneration = typedYen(txt報酬月額->text());
    const QTableWidgetItem *monthItem = row >= 0 ? tbl標準報酬月額->item(row, kMonth) : nullptr;
    const auto month = monthItem ? typedMonth(monthItem->text()) : std::nullopt;
    if (!remuneration || !month) {
        ShowMsg(msg::社会保険詳細不正,
                QStringLiteral("標準報酬月額の行を選び、その適用年月と報酬月額（例 215,000）を入力してください。"));
        return;
    }
    const QList<pay::GradeRow> *grades = pay::shippedSocialTables().tables.gradesFor(*month);
    if (!grades) {
        ShowMsg(msg::社会保険等級表なし, shownMonth(*month));
        return;
    }
    const pay::Grades found = pay::gradesOf(*grades, *remuneration);
    tbl標準報酬月額->item(row, kHealth)->setText(yenText(found.healthStandard));
    tbl標準報酬月額->item(row, kPension)->setText(yenText(found.pensionStandard));
}

} // namespace pelmar
