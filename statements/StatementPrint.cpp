// The printed pay statement of the page: what the page shows at the click,
// in a print preview with its print command and a PDF copy. The statement
// need not have been saved: its lines are read from the work file (w明細),
// the premium settings and the slips-a-page setting from the main file;
// nothing is written.
#include "statements/StatementPage.h"

#include "calc/Formats.h"
#include "reports/PayslipLayout.h"
#include "reports/PayslipPrinter.h"
#include "reports/PaySlip.h"
#include "statements/PayPanel.h"
#include "store/ProgramState.h"
#include "widgets/NumberBox.h"

#include <QComboBox>
#include <QDate>
#include <QLineEdit>
#include <QPushButton>

namespace pelmar {

namespace {

double amountOf(const QVariant &value)
{
    double number = 0;
    return fmt::toNumber(value, &number) ? number : 0;
}

} // namespace

void StatementPage::connectPrinting()
{
    connect(cmd印刷, &QAbstractButton::clicked, this, &StatementPage::cmd印刷_Click, Qt::UniqueConnection);
}

void StatementPage::cmd印刷_Click()
{
    // Validates nothing and asks nothing: an empty name prints "　様" alone.
    const payslip::PrintValues values =
        payslip::printValues(cmb氏名->currentText(), txtタイトル->text(), num時給->value(), num時間->value(),
                             num調整額->value(), num合計->value());
    // With premium hours or yen the slip also shows them; without, it is
    // the slip it always was. The statement decides, as a stored one does
    // when printed from 履歴.
    const payslip::PremiumPrintValues premiums = payslip::storedPremiumValues(
        num深夜->value(), num時間外->value(), num割増額->value(), num休日->value(), num時間外60超->value());
    // The slip to hand out, as the history page prints it for the same
    // statement once saved: the pay the panel shows. A statement saved
    // before pay was kept, and not changed since, has only its total known;
    // the slip prints that and no deductions.
    statements::StatementPay pay = m_payPanel->payToStore().value_or(statements::StatementPay{});
    if (!pay.kept) {
        pay.adjustment = pay::monthYen(amountOf(num調整額->value())).value_or(0);
        pay.gross = pay::monthYen(amountOf(num合計->value())).value_or(0);
    }
    const payslip::Attendance attendance{payslip::daysOnPage(m_state.WorkDb).value_or(0), amountOf(num時間->value()),
                                         amountOf(num時間外->value()), amountOf(num深夜->value()),
                                         amountOf(num休日->value())};
    const QList<payslip::PayslipItem> items = payslip::handoutSlip(
        values, premiums, attendance, pay, m_state.CompanyName, m_state.CompanyInfo, QDate::currentDate());
    payslip::showPayslipPreview(
        window(), payslip::onPage(items, payslip::slipsPerPage(m_state.MainDb).value_or(payslip::SlipsPerPage::One)),
        payslip::suggestedPdfName(values.PrintName, values.PrintTitle));
}

} // namespace pelmar
