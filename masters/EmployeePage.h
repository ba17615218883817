#pragma once

#include "masters/EmployeeStore.h"
#include "widgets/PageControls.h"
#include "widgets/TabPage.h"

#include <QVariant>
#include <QWidget>

namespace pelmar {

// The "従業員" page: the employee master with wage and usual shift type.
class EmployeePage : public TabPage {
    Q_OBJECT
public:
    EmployeePage(ProgramState &state, QWidget *parent = nullptr);

    // The steps the window runs on every page (TabPage).
    void bindData() override;
    void releaseData() override;
    void setUp() override;
    void clear() override { Clear従業員(); }
    bool hasUnsavedEdits() const override { return m_edited; }

    void Clear従業員();
    void Read従業員();
    // The master on the page, whatever the page held, without asking: what
    // 読込 does once any unsaved rows may go.
    void showMaster();
    void Entry従業員マスタ();
    void LineDelete従業員();
    // The shift types offered by the drop-down, after the master changed.
    void refreshDropDown();
    // The regional minimum wage (0: none): a wage below it is marked.
    void setMinimumWage(double yen);

signals:
    // The employee master was changed from this page.
    void masterChanged();

protected:
    // The master, as start-up may have copied it already: 登録 on a page
    // nobody filled can then never replace the master with nothing.
    void loadPage() override { showMaster(); }

private:
    QFrame *imContainer3D3 = nullptr;
    QFrame *imContainer3D10 = nullptr;
    DataGrid *grid従業員 = nullptr;
    DataGrid *DD勤務形態 = nullptr;
    QPushButton *cmdクリア従業員 = nullptr;
    QPushButton *cmd従業員登録 = nullptr;
    QPushButton *cmd従業員行削除 = nullptr;
    QPushButton *cmd従業員読込 = nullptr;
    // The payroll details of the employee on the current row.
    QPushButton *cmd給与設定 = nullptr;
    QPushButton *cmd社会保険 = nullptr;
    QPushButton *cmd年調申告 = nullptr;
    QToolButton *cmdHint3 = nullptr;

    void connectGrid();
    void setUpGrid();
    void setUpDropDown();
    void onPatternPicked(int column);
    void settleTypedName();
    QString sameNames() const;
    static QString deletionSubject(const employees::TickedDeletion &deletion);
    void checkTypedCell(int column);
    void settleTypedPattern();
    // Opens the payroll details of the employee on the current row.
    void openPayroll();
    // 社会保険: the chosen registered employee's 健康保険・厚生年金.
    void openInsurance();
    void openDeclarations();

    ProgramState &m_state;
    // Rows typed since the page was last read, emptied or registered.
    bool m_edited = false;
    // After a failed read the page shows no master: registering it could
    // only lose employees, so it is refused until a read succeeds.
    bool m_readFailed = false;
    // The shift type of the cell being edited, as it was before the edit.
    QVariant m_patternBefore;
    double m_minimumWage = 0;
};

} // namespace pelmar
