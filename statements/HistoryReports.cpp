// The reports of the history page: every slip of a title at once, the
// monthly summary and the wage ledger, all read from the stored statements.
#include "statements/HistoryPage.h"

#include "masters/PaySettings.h"

#include "messages/ShowMsg.h"
#include "reports/MonthReports.h"
#include "reports/PayReports.h"
#include "reports/PaySlip.h"
#include "reports/ReportDialog.h"
#include "reports/ReportPrinter.h"
#include "statements/HistoryPayReports.h"
#include "store/ProgramState.h"
#include "widgets/PageBuilder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>

namespace pelmar {

struct HistoryPage::Batch {
    QString title;
    reports::Document document;
};

namespace {

// Fills a picker anew and keeps the choice when it is still offered.
void refill(QComboBox *picker, const QStringList &items)
{
    const QString chosen = picker->currentText();
    const QSignalBlocker quiet(picker);
    picker->clear();
    picker->addItems(items);
    const int again = picker->findText(chosen);
    picker->setCurrentIndex(again >= 0 ? again : (items.isEmpty() ? -1 : 0));
}

} // namespace

void HistoryPage::buildReportControls(QFrame *frame)
{
    auto *grid = qobject_cast<QGridLayout *>(frame->layout());
    cmbタイトル選択 = namedControl<QComboBox>(QStringLiteral("cmbタイトル選択"), frame);
    cmbタイトル選択->setMinimumContentsLength(16);
    cmbタイトル選択->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    chk明細付き = new QCheckBox(QStringLiteral("日ごとの明細も付ける"), frame);
    chk明細付き->setObjectName(QStringLiteral("chk明細付き"));
    QHBoxLayout *batch = buttonRow(frame,
                                   {
                                       {&cmd一括印刷, QStringLiteral("cmd一括印刷"), QStringLiteral("一括印刷")},
                                       {&cmd一括PDF, QStringLiteral("cmd一括PDF"), QStringLiteral("PDF保存")},
                                       {&cmd一覧表, QStringLiteral("cmd一覧表"), QStringLiteral("一覧表")},
                                   });
    batch->insertWidget(2, chk明細付き);
    grid->addWidget(captionLabel(QStringLiteral("タイトル"), frame), 0, 0);
    grid->addWidget(cmbタイトル選択, 0, 1);
    grid->addLayout(batch, 0, 2);

    cmb台帳氏名 = namedControl<QComboBox>(QStringLiteral("cmb台帳氏名"), frame);
    cmb台帳氏名->setMinimumContentsLength(12);
    cmb台帳年 = namedControl<QComboBox>(QStringLiteral("cmb台帳年"), frame);
    cmb台帳年->setMinimumContentsLength(6);
    QHBoxLayout *ledger = buttonRow(frame, {{&cmd台帳, QStringLiteral("cmd台帳"), QStringLiteral("賃金台帳")}});
    ledger->insertWidget(0, cmb台帳年);
    grid->addWidget(captionLabel(QStringLiteral("氏名・年"), frame), 1, 0);
    grid->addWidget(cmb台帳氏名, 1, 1);
    grid->addLayout(ledger, 1, 2);
    grid->setColumnStretch(2, 1);
    buildCloseControls(frame);
    m_payReports = new HistoryPayReports(m_state, frame, cmbタイトル選択, cmb台帳氏名,
                                         [this](ReportDialog *dialog) { showReport(dialog); });
}

void HistoryPage::connectReports()
{
    connect(cmd一括印刷, &QPushButton::clicked, this, &HistoryPage::cmd一括印刷_Click);
    connect(cmd一括PDF, &QPushButton::clicked, this, &HistoryPage::cmd一括PDF_Click);
    connect(cmd一覧表, &QPushButton::clicked, this, &HistoryPage::cmd一覧表_Click);
    connect(cmd台帳, &QPushButton::clicked, this, &HistoryPage::cmd台帳_Click);
    connect(cmb台帳氏名, &QComboBox::currentIndexChanged, this, &HistoryPage::ReadComb台帳年);
    connect(cmd締め, &QPushButton::clicked, this, &HistoryPage::cmd締め_Click);
    connect(cmd締め解除, &QPushButton::clicked, this, &HistoryPage::cmd締め解除_Click);
    connect(cmbタイトル選択, &QComboBox::currentIndexChanged, this, &HistoryPage::Read締め状態);
}

void HistoryPage::showEvent(QShowEvent *event)
{
    TabPage::showEvent(event);
    // Statements saved or deleted since the page last showed are offered
    // as they are now; start-up, which does not show this page, reads nothing.
    ReadCombタイトル();
    ReadComb台帳氏名();
    m_payReports->ReadComb支給年();
}

void HistoryPage::ReadCombタイトル()
{
    const std::optional<QStringList> titles = reports::storedTitles(m_state.MainDb);
    refill(cmbタイトル選択, titles.value_or(QStringList()));
    // The refill is quiet: the chosen title's state is read here.
    Read締め状態();
}

void HistoryPage::ReadComb台帳氏名()
{
    const std::optional<QStringList> names = reports::ledgerNames(m_state.MainDb);
    refill(cmb台帳氏名, names.value_or(QStringList()));
    ReadComb台帳年();
}

void HistoryPage::ReadComb台帳年()
{
    QStringList years;
    if (const QString name = cmb台帳氏名->currentText(); !name.isEmpty())
        for (const int year : reports::ledgerYears(m_state.MainDb, name).value_or(QList<int>()))
            years << QString::number(year);
    refill(cmb台帳年, years);
}

std::optional<HistoryPage::Batch> HistoryPage::chosenBatch()
{
    const QString title = cmbタイトル選択->currentText();
    if (title.isEmpty()) {
        ShowMsg(msg::その他未選択, QStringLiteral("タイトル"));
        return std::nullopt;
    }
    const bool dayLines = chk明細付き->isChecked();
    const auto statements = reports::statementsOfTitle(m_state.MainDb, title, dayLines);
    if (!statements) {
        ShowMsg(msg::エラー帳票読込);
        return std::nullopt;
    }
    if (statements->isEmpty()) {
        ShowMsg(msg::その他明細なし, title);
        return std::nullopt;
    }
    const auto pays = reports::paysOf(m_state.MainDb, *statements);
    const auto perPage = payslip::slipsPerPage(m_state.MainDb);
    if (!pays || !perPage) {
        ShowMsg(msg::エラー帳票読込);
        return std::nullopt;
    }
    const QList<reports::Page> pages = reports::handoutPages(*statements, *pays, dayLines, *perPage,
                                                             m_state.CompanyName, m_state.CompanyInfo,
                                                             QDate::currentDate());
    return Batch{title, {QStringLiteral("給与明細"), false, pages}};
}

void HistoryPage::cmd一括印刷_Click()
{
    if (const std::optional<Batch> batch = chosenBatch())
        reports::showPreview(
            window(), batch->document,
            reports::suggestedFileName({QStringLiteral("給与明細"), batch->title}, QStringLiteral("pdf")));
}

void HistoryPage::cmd一括PDF_Click()
{
    if (const std::optional<Batch> batch = chosenBatch())
        reports::savePdf(window(), batch->document,
                         reports::suggestedFileName({QStringLiteral("給与明細"), batch->title}, QStringLiteral("pdf")));
}

void HistoryPage::cmd一覧表_Click()
{
    const QString title = cmbタイトル選択->currentText();
    if (title.isEmpty()) {
        ShowMsg(msg::その他未選択, QStringLiteral("タイトル"));
        return;
    }
    const std::optional<reports::PaySummary> summary = reports::paySummary(m_state.MainDb, title);
    if (!summary) {
        ShowMsg(msg::エラー帳票読込);
        return;
    }
    if (summary->summary.rows.isEmpty()) {
        ShowMsg(msg::その他明細なし, title);
        return;
    }
    showReport(new ReportDialog(QStringLiteral("frm一覧表"),
                                reports::paySummaryTable(*summary, m_state.CompanyName, QDate::currentDate()),
                                reports::paySummaryRecords(*summary), {QStringLiteral("給与一覧表"), title}, window()));
}

void HistoryPage::cmd台帳_Click()
{
    const QString name = cmb台帳氏名->currentText();
    bool isYear = false;
    const int year = cmb台帳年->currentText().toInt(&isYear);
    if (name.isEmpty() || !isYear) {
        ShowMsg(msg::その他未選択, QStringLiteral("氏名と年"));
        return;
    }
    const std::optional<reports::PayLedger> ledger = reports::payLedger(m_state.MainDb, name, year);
    if (!ledger) {
        ShowMsg(msg::エラー帳票読込);
        return;
    }
    if (ledger->ledger.rows.isEmpty()) {
        ShowMsg(msg::その他明細なし, QStringLiteral("%1（%2年）").arg(name).arg(year));
        return;
    }
    showReport(new ReportDialog(
        QStringLiteral("frm賃金台帳"), reports::payLedgerTable(*ledger, m_state.CompanyName, QDate::currentDate()),
        reports::payLedgerRecords(*ledger), {QStringLiteral("賃金台帳"), name, QString::number(year)}, window()));
}

ReportDialog *HistoryPage::reportWindow() const
{
    return m_report;
}

void HistoryPage::showReport(ReportDialog *dialog)
{
    // One report window at a time: the new one takes the old one's place.
    if (m_report)
        m_report->close();
    m_report = dialog;
    dialog->show();
}

} // namespace pelmar
