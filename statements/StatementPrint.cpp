// The printed pay statement of the page: what the page shows at the click,
// in a print preview with its print command and a PDF copy. Nothing is read
// from or written to a database, and the statement need not have been saved.
#include "statements/StatementPage.h"

#include "reports/PayslipLayout.h"
#include "reports/PayslipPrinter.h"
#include "store/ProgramState.h"
#include "widgets/NumberBox.h"

#include <QComboBox>
#include <QDate>
#include <QLineEdit>
#include <QPushButton>

namespace pelmar {

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
    const QList<payslip::PayslipItem> items = premiums.any
        ? payslip::filledPageHeader(values, premiums, m_state.CompanyName, m_state.CompanyInfo, QDate::currentDate())
        : payslip::filledPageHeader(values, m_state.CompanyName, m_state.CompanyInfo, QDate::currentDate());
    payslip::showPayslipPreview(window(), items, payslip::suggestedPdfName(values.PrintName, values.PrintTitle));
}

} // namespace pelmar
