#include "statements/HistoryPayReports.h"

#include "messages/ShowMsg.h"
#include "reports/PayReports.h"
#include "reports/ReportDialog.h"
#include "reports/ResidentTaxReport.h"
#include "reports/YearEndReports.h"
#include "store/ProgramState.h"
#include "widgets/PageBuilder.h"

#include <QComboBox>
#include <QDate>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>

namespace pelmar {

HistoryPayReports::HistoryPayReports(ProgramState &state, QFrame *frame, QComboBox *titlePicker, QComboBox *namePicker,
                                     std::function<void(ReportDialog *)> show)
    : QObject(frame),
      m_state(state),
      m_frame(frame),
      m_titles(titlePicker),
      m_names(namePicker),
      m_show(std::move(show))
{
    auto *grid = qobject_cast<QGridLayout *>(frame->layout());
    cmd金種表 = namedControl<QPushButton>(QStringLiteral("cmd金種表"), frame);
    cmd金種表->setText(QStringLiteral("金種表"));
    // Beside the title's other buttons, before the stretch at their end.
    if (QLayoutItem *item = grid->itemAtPosition(0, 2); item && qobject_cast<QHBoxLayout *>(item->layout())) {
        auto *row = qobject_cast<QHBoxLayout *>(item->layout());
        row->insertWidget(qMax(0, row->count() - 1), cmd金種表);
    } else {
        grid->addWidget(cmd金種表, 0, 3);
    }

    cmb支給年 = namedControl<QComboBox>(QStringLiteral("cmb支給年"), frame);
    cmb支給年->setMinimumContentsLength(6);
    QHBoxLayout *row = buttonRow(frame,
                                 {
                                     {&cmd源泉徴収簿, QStringLiteral("cmd源泉徴収簿"), QStringLiteral("源泉徴収簿")},
                                     {&cmd納付集計, QStringLiteral("cmd納付集計"), QStringLiteral("納付集計")},
                                     {&cmd住民税納付, QStringLiteral("cmd住民税納付"), QStringLiteral("住民税納付")},
                                     {&cmd年末調整, QStringLiteral("cmd年末調整"), QStringLiteral("年末調整")},
                                     {&cmd年調一覧, QStringLiteral("cmd年調一覧"), QStringLiteral("年調一覧")},
                                 });
    row->insertWidget(0, cmb支給年);
    const int at = grid->rowCount();
    grid->addWidget(captionLabel(QStringLiteral("支給年"), frame), at, 0);
    grid->addLayout(row, at, 1, 1, 2);

    connect(cmd金種表, &QPushButton::clicked, this, &HistoryPayReports::cmd金種表_Click);
    connect(cmd源泉徴収簿, &QPushButton::clicked, this, &HistoryPayReports::cmd源泉徴収簿_Click);
    connect(cmd納付集計, &QPushButton::clicked, this, &HistoryPayReports::cmd納付集計_Click);
    connect(cmd住民税納付, &QPushButton::clicked, this, &HistoryPayReports::cmd住民税納付_Click);
    connect(cmd年末調整, &QPushButton::clicked, this, &HistoryPayReports::cmd年末調整_Click);
    connect(cmd年調一覧, &QPushButton::clicked, this, &HistoryPayReports::cmd年調一覧_Click);
}

QWidget *HistoryPayReports::window() const
{
    return m_frame->window();
}

void HistoryPayReports::ReadComb支給年()
{
    QStringList years;
    for (const int year : reports::payYears(m_state.MainDb).value_or(QList<int>()))
        years << QString::number(year);
    const QString chosen = cmb支給年->currentText();
    const QSignalBlocker quiet(cmb支給年);
    cmb支給年->clear();
    cmb支給年->addItems(years);
    const int again = cmb支給年->findText(chosen);
    cmb支給年->setCurrentIndex(again >= 0 ? again : (years.isEmpty() ? -1 : 0));
}

std::optional<int> HistoryPayReports::chosenYear()
{
    bool isYear = false;
    const int year = cmb支給年->currentText().toInt(&isYear);
    if (!isYear)
        return std::nullopt;
    return year;
}

void HistoryPayReports::cmd金種表_Click()
{
    const QString title = m_titles->currentText();
    if (title.isEmpty()) {
        ShowMsg(msg::その他未選択, QStringLiteral("タイトル"));
        return;
    }
    const std::optional<reports::CashTable> cash = reports::cashTable(m_state.MainDb, title);
    if (!cash) {
        ShowMsg(msg::エラー帳票読込);
        return;
    }
    if (cash->rows.isEmpty()) {
        ShowMsg(msg::その他明細なし, title);
        return;
    }
    m_show(new ReportDialog(QStringLiteral("frm金種表"),
                            reports::cashTableLayout(*cash, m_state.CompanyName, QDate::currentDate()),
                            reports::cashRecords(*cash), {QStringLiteral("金種表"), title}, window()));
}

void HistoryPayReports::cmd源泉徴収簿_Click()
{
    const QString name = m_names->currentText();
    const std::optional<int> year = chosenYear();
    if (name.isEmpty() || !year) {
        ShowMsg(msg::その他未選択, QStringLiteral("氏名と支給年"));
        return;
    }
    const std::optional<reports::WithholdingBook> book = reports::withholdingBook(m_state.MainDb, name, *year);
    if (!book) {
        ShowMsg(msg::エラー帳票読込);
        return;
    }
    if (book->rows.isEmpty()) {
        ShowMsg(msg::その他明細なし, QStringLiteral("%1（%2年支給）").arg(name).arg(*year));
        return;
    }
    m_show(new ReportDialog(
        QStringLiteral("frm源泉徴収簿"), reports::withholdingTable(*book, m_state.CompanyName, QDate::currentDate()),
        reports::withholdingRecords(*book), {QStringLiteral("源泉徴収簿"), name, QString::number(*year)}, window()));
}

void HistoryPayReports::cmd納付集計_Click()
{
    const std::optional<int> year = chosenYear();
    if (!year) {
        ShowMsg(msg::その他未選択, QStringLiteral("支給年"));
        return;
    }
    const std::optional<reports::PaymentSummary> summary = reports::paymentSummary(m_state.MainDb, *year);
    if (!summary) {
        ShowMsg(msg::エラー帳票読込);
        return;
    }
    if (summary->year_.payments == 0) {
        ShowMsg(msg::その他明細なし, QStringLiteral("%1年支給").arg(*year));
        return;
    }
    m_show(new ReportDialog(
        QStringLiteral("frm納付集計"), reports::paymentTable(*summary, m_state.CompanyName, QDate::currentDate()),
        reports::paymentRecords(*summary), {QStringLiteral("納付集計"), QString::number(*year)}, window()));
}

void HistoryPayReports::cmd住民税納付_Click()
{
    const std::optional<int> year = chosenYear();
    if (!year) {
        ShowMsg(msg::その他未選択, QStringLiteral("支給年"));
        return;
    }
    const std::optional<reports::ResidentTaxPayment> payment = reports::residentTaxPayment(m_state.MainDb, *year);
    if (!payment) {
        ShowMsg(msg::エラー帳票読込);
        return;
    }
    if (payment->lines.isEmpty()) {
        ShowMsg(msg::その他明細なし, QStringLiteral("%1年支給の住民税").arg(*year));
        return;
    }
    m_show(new ReportDialog(
        QStringLiteral("frm住民税納付"), reports::residentTaxTable(*payment, m_state.CompanyName, QDate::currentDate()),
        reports::residentTaxRecords(*payment), {QStringLiteral("住民税納付"), QString::number(*year)}, window()));
}

// The worksheet of the chosen name's year, in or out, with every step.
void HistoryPayReports::cmd年末調整_Click()
{
    const QString name = m_names->currentText();
    const std::optional<int> year = chosenYear();
    if (name.isEmpty() || !year) {
        ShowMsg(msg::その他未選択, QStringLiteral("氏名と支給年"));
        return;
    }
    const auto employee = reports::yearEndOf(m_state.MainDb, name, *year);
    if (!employee) {
        ShowMsg(msg::エラー帳票読込);
        return;
    }
    m_show(new ReportDialog(QStringLiteral("frm年末調整"),
                            reports::yearEndWorksheet(*employee, m_state.CompanyName, QDate::currentDate()),
                            reports::yearEndWorksheetRecords(*employee),
                            {QStringLiteral("年末調整"), name, QString::number(*year)}, window()));
}

void HistoryPayReports::cmd年調一覧_Click()
{
    const std::optional<int> year = chosenYear();
    if (!year) {
        ShowMsg(msg::その他未選択, QStringLiteral("支給年"));
        return;
    }
    const auto employees = reports::yearEndOfYear(m_state.MainDb, *year);
    if (!employees) {
        ShowMsg(msg::エラー帳票読込);
        return;
    }
    if (employees->isEmpty()) {
        ShowMsg(msg::その他明細なし, QStringLiteral("%1年支給").arg(*year));
        return;
    }
    m_show(new ReportDialog(QStringLiteral("frm年調一覧"),
                            reports::yearEndListTable(*employees, *year, m_state.CompanyName, QDate::currentDate()),
                            reports::yearEndListRecords(*employees), {QStringLiteral("年末調整一覧"), QString::number(*year)},
                            window()));
}

} // namespace pelmar
