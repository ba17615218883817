#pragma once

#include <QWidget>

class QFrame;
class QPushButton;
class QToolButton;

namespace pelmar {

class DataGrid;
struct ProgramState;

// The "従業員" page: the employee master with wage and usual shift type.
class EmployeePage : public QWidget {
    Q_OBJECT
public:
    EmployeePage(ProgramState &state, QWidget *parent = nullptr);

    void bindGrid();
    void bindDropDown();
    void setUpGrid();
    void setUpDropDown();
    void unbindGrids();

    void Clear従業員();
    void Read従業員();
    void Entry従業員マスタ();
    void LineDelete従業員();

    QFrame *imContainer3D3 = nullptr;
    QFrame *imContainer3D10 = nullptr;
    DataGrid *Grid従業員 = nullptr;
    DataGrid *DD勤務形態 = nullptr;
    QPushButton *cmdクリア従業員 = nullptr;
    QPushButton *cmd従業員登録 = nullptr;
    QPushButton *cmd従業員行削除 = nullptr;
    QPushButton *cmd従業員読込 = nullptr;
    QToolButton *cmdHint3 = nullptr;

private:
    void onPatternPicked(int column);

    ProgramState &m_state;
};

} // namespace pelmar
