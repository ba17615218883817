#include "masters/PayrollSettingsRow.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace pelmar {

namespace {

constexpr int kLastDay = 31; // 末日

QComboBox *combo(const QString &name, QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(name);
    return box;
}

} // namespace

PayrollSettingsRow::PayrollSettingsRow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("row給与設定"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    cmb支給月 = combo(QStringLiteral("cmb支給月"), this);
    cmb支給月->addItem(QStringLiteral("当月"), 0);
    cmb支給月->addItem(QStringLiteral("翌月"), 1);
    cmb支給月->addItem(QStringLiteral("翌々月"), 2);
    cmb支給日 = combo(QStringLiteral("cmb支給日"), this);
    for (int day = 1; day < kLastDay; ++day)
        cmb支給日->addItem(QStringLiteral("%1日").arg(day), day);
    cmb支給日->addItem(QStringLiteral("末日"), kLastDay);
    cmb事業の種類 = combo(QStringLiteral("cmb事業の種類"), this);
    for (const auto kind :
         {pay::BusinessKind::General, pay::BusinessKind::Agriculture, pay::BusinessKind::Construction})
        cmb事業の種類->addItem(settings::businessName(kind), int(kind));
    cmb明細書式 = combo(QStringLiteral("cmb明細書式"), this);
    cmb明細書式->addItem(QStringLiteral("A4に1人"), 1);
    cmb明細書式->addItem(QStringLiteral("A4に2人"), 2);
    const QString dateTip =
        QStringLiteral("明細の最後の日付の月から数えた支給日。明細ごとに勤務表ページで変えられます。"
                       "月にない日（2月30日など）はその月の末日です。");
    cmb支給月->setToolTip(dateTip);
    cmb支給日->setToolTip(dateTip);
    cmb事業の種類->setToolTip(QStringLiteral("雇用保険料率の事業の種類"));
    cmb明細書式->setToolTip(QStringLiteral("給与明細書を A4 1枚に何人分印刷するか"));
    row->addWidget(new QLabel(QStringLiteral("支給日"), this));
    row->addWidget(cmb支給月);
    row->addWidget(cmb支給日);
    row->addSpacing(12);
    row->addWidget(new QLabel(QStringLiteral("事業の種類"), this));
    row->addWidget(cmb事業の種類);
    row->addSpacing(12);
    row->addWidget(new QLabel(QStringLiteral("明細書"), this));
    row->addWidget(cmb明細書式);
    row->addSpacing(12);
    cmd社会保険設定 = new QPushButton(QStringLiteral("社会保険の設定"), this);
    cmd社会保険設定->setObjectName(QStringLiteral("cmd社会保険設定"));
    cmd社会保険設定->setToolTip(QStringLiteral("協会けんぽの支部（または健康保険組合の料率）と保険料の徴収月"));
    connect(cmd社会保険設定, &QPushButton::clicked, this, &PayrollSettingsRow::insuranceRequested);
    row->addWidget(cmd社会保険設定);
    row->addStretch(1);
    showSettings(settings::PayrollSettings{});
}

void PayrollSettingsRow::showSettings(const settings::PayrollSettings &shown)
{
    cmb支給月->setCurrentIndex(cmb支給月->findData(shown.payDate.monthsAfter));
    cmb支給日->setCurrentIndex(cmb支給日->findData(shown.payDate.day));
    cmb事業の種類->setCurrentIndex(cmb事業の種類->findData(int(shown.business)));
    cmb明細書式->setCurrentIndex(cmb明細書式->findData(shown.slipsPerPage));
}

settings::PayrollSettings PayrollSettingsRow::shownSettings() const
{
    settings::PayrollSettings shown;
    shown.payDate = {cmb支給月->currentData().toInt(), cmb支給日->currentData().toInt()};
    shown.business = pay::BusinessKind(cmb事業の種類->currentData().toInt());
    shown.slipsPerPage = cmb明細書式->currentData().toInt();
    return shown;
}

} // namespace pelmar
