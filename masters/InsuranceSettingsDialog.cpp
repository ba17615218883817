#include "masters/InsuranceSettingsDialog.h"

#include "masters/YenBoxes.h"

#include "messages/ShowMsg.h"
#include "store/Failure.h"
#include "store/ProgramState.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace pelmar {

namespace {

QLineEdit *rateBox(const QString &name, QWidget *parent)
{
    auto *box = named<QLineEdit>(name, parent);
    box->setPlaceholderText(QStringLiteral("例 9.85（%）"));
    box->setToolTip(QStringLiteral("事業主と本人を合わせた料率（%）"));
    return box;
}

} // namespace

InsuranceSettingsDialog::InsuranceSettingsDialog(ProgramState &state, QWidget *parent) : QDialog(parent), m_state(state)
{
    setObjectName(QStringLiteral("dlg社会保険設定"));
    setWindowTitle(QStringLiteral("社会保険の設定"));
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    layout->addLayout(form);
    opt協会けんぽ = named<QRadioButton>(QStringLiteral("opt協会けんぽ"), this);
    opt協会けんぽ->setText(QStringLiteral("協会けんぽ"));
    opt健康保険組合 = named<QRadioButton>(QStringLiteral("opt健康保険組合"), this);
    opt健康保険組合->setText(QStringLiteral("健康保険組合"));
    cmb協会けんぽ支部 = named<QComboBox>(QStringLiteral("cmb協会けんぽ支部"), this);
    cmb協会けんぽ支部->addItem(QString());
    const pay::SocialTables &tables = pay::shippedSocialTables().tables;
    for (int code = 1; code <= pay::kPrefectures; ++code) {
        if (const QString name = tables.prefectureName(code); !name.isEmpty())
            cmb協会けんぽ支部->addItem(name);
    }
    txt組合健康保険料率 = rateBox(QStringLiteral("txt組合健康保険料率"), this);
    txt組合介護保険料率 = rateBox(QStringLiteral("txt組合介護保険料率"), this);
    txt組合支援金率 = rateBox(QStringLiteral("txt組合支援金率"), this);
    cmb社会保険料の徴収 = named<QComboBox>(QStringLiteral("cmb社会保険料の徴収"), this);
    cmb社会保険料の徴収->addItem(QStringLiteral("翌月徴収（前月分を差し引く）"), int(pay::Collection::NextMonth));
    cmb社会保険料の徴収->addItem(QStringLiteral("当月徴収（その月の分を差し引く）"), int(pay::Collection::SameMonth));
    form->addRow(QStringLiteral("健康保険"), opt協会けんぽ);
    form->addRow(QStringLiteral("協会けんぽの支部"), cmb協会けんぽ支部);
    form->addRow(QString(), opt健康保険組合);
    form->addRow(QStringLiteral("組合の健康保険料率"), txt組合健康保険料率);
    form->addRow(QStringLiteral("組合の介護保険料率"), txt組合介護保険料率);
    form->addRow(QStringLiteral("組合の子ども・子育て支援金率"), txt組合支援金率);
    form->addRow(QStringLiteral("保険料の徴収"), cmb社会保険料の徴収);
    auto *buttons = new QDialogButtonBox(this);
    cmd社会保険設定保存 = buttons->addButton(QStringLiteral("保存"), QDialogButtonBox::AcceptRole);
    cmd社会保険設定保存->setObjectName(QStringLiteral("cmd社会保険設定保存"));
    cmd社会保険設定取消 = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    cmd社会保険設定取消->setObjectName(QStringLiteral("cmd社会保険設定取消"));
    layout->addWidget(buttons);
    connect(cmd社会保険設定保存, &QPushButton::clicked, this, &InsuranceSettingsDialog::save);
    connect(cmd社会保険設定取消, &QPushButton::clicked, this, &QDialog::reject);
    connect(opt協会けんぽ, &QRadioButton::toggled, this, &InsuranceSettingsDialog::updateEnabled);
    display({});
}

void InsuranceSettingsDialog::updateEnabled()
{
    const bool kyokai = opt協会けんぽ->isChecked();
    cmb協会けんぽ支部->setEnabled(kyokai);
    for (QLineEdit *box : {txt組合健康保険料率, txt組合介護保険料率, txt組合支援金率})
        box->setEnabled(!kyokai);
}

void InsuranceSettingsDialog::display(const settings::InsuranceSettings &shown)
{
    (shown.insurer == settings::Insurer::Kyokai ? opt協会けんぽ : opt健康保険組合)->setChecked(true);
    cmb協会けんぽ支部->setCurrentIndex(std::max(0, cmb協会けんぽ支部->findText(shown.branch)));
    const auto text = [](const std::optional<pay::PartsPerMillion> &rate) {
        return rate ? settings::rateText(*rate) : QString();
    };
    txt組合健康保険料率->setText(text(shown.societyHealth));
    txt組合介護保険料率->setText(text(shown.societyCare));
    txt組合支援金率->setText(text(shown.societyChildSupport));
    cmb社会保険料の徴収->setCurrentIndex(cmb社会保険料の徴収->findData(int(shown.collection)));
    updateEnabled();
}

bool InsuranceSettingsDialog::load()
{
    const auto stored = settings::loadInsurance(m_state.MainDb);
    if (!stored) {
        ShowMsg(msg::エラー社会保険設定, failureDetail(m_state.MainDb));
        return false;
    }
    display(*stored);
    return true;
}

settings::InsuranceSettings InsuranceSettingsDialog::typed(QString *problem) const
{
    settings::InsuranceSettings shown;
    shown.insurer = opt協会けんぽ->isChecked() ? settings::Insurer::Kyokai : settings::Insurer::Society;
    shown.branch = cmb協会けんぽ支部->currentText();
    shown.collection = pay::Collection(cmb社会保険料の徴収->currentData().toInt());
    QStringList problems;
    const std::pair<QLineEdit *, std::optional<pay::PartsPerMillion> *> rates[] = {
        {txt組合健康保険料率, &shown.societyHealth},
        {txt組合介護保険料率, &shown.societyCare},
        {txt組合支援金率, &shown.societyChildSupport}};
    for (const auto &[box, rate] : rates) {
        *rate = settings::rateFromText(box->text());
        // Empty is allowed while the office is with 協会けんぽ; a society needs all three.
        const bool needed = shown.insurer == settings::Insurer::Society || !box->text().trimmed().isEmpty();
        if (needed && !*rate)
            problems
                << QStringLiteral("料率「%1」は 0 以上 100 未満の % として読めません（例 9.85）。").arg(box->text());
    }
    if (shown.insurer == settings::Insurer::Kyokai && shown.branch.isEmpty())
        problems << QStringLiteral("協会けんぽの支部（都道府県）を選んでください。");
    *problem = problems.join(u'\n');
    return shown;
}

void InsuranceSettingsDialog::save()
{
    QString problem;
    const settings::InsuranceSettings shown = typed(&problem);
    if (!problem.isEmpty()) {
        ShowMsg(msg::社会保険詳細不正, problem);
        return;
    }
    if (!settings::saveInsurance(m_state.MainDb, shown)) {
        ShowMsg(msg::エラー社会保険設定, failureDetail(m_state.MainDb));
        return;
    }
    accept();
}

void openInsuranceSettings(ProgramState &state, QWidget *parent)
{
    auto *dialog = new InsuranceSettingsDialog(state, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    if (!dialog->load()) {
        dialog->deleteLater();
        return;
    }
    dialog->open();
}

} // namespace pelmar
