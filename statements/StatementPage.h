#pragma once

#include <QWidget>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace pelmar {

class DataGrid;
class NumberBox;
struct ProgramState;

// The "勤務表" page: the statement being edited, with its person, shift
// type, title, totals and day lines.
class StatementPage : public QWidget {
    Q_OBJECT
public:
    StatementPage(ProgramState &state, QWidget *parent = nullptr);

    // Set-up, in the order the main window runs it.
    void bindGrid();
    void applyNumberFormats();
    void setUpGrid();
    void unbindGrid();

    QFrame *imContainer3D1 = nullptr;
    QFrame *imContainer3D4 = nullptr;
    QFrame *imContainer3D13 = nullptr;
    QFrame *imContainer3D5 = nullptr;
    QComboBox *cmb氏名 = nullptr;
    NumberBox *num時給 = nullptr;
    QComboBox *cmb勤務形態 = nullptr;
    QLabel *Lbl勤務形態 = nullptr;
    QLineEdit *txtタイトル = nullptr;
    NumberBox *num休憩 = nullptr;
    NumberBox *num時間 = nullptr;
    NumberBox *num調整額 = nullptr;
    NumberBox *num合計 = nullptr;
    DataGrid *Grid明細 = nullptr;
    QPushButton *cmd履歴閉じる = nullptr;
    QPushButton *cmdクリア = nullptr;
    QPushButton *cmd登録 = nullptr;
    QPushButton *cmd行削除 = nullptr;
    QPushButton *cmd読込 = nullptr;
    QPushButton *Cmd印刷 = nullptr;
    QPushButton *cmd削除 = nullptr;
    QToolButton *cmdHint = nullptr;

private:
    ProgramState &m_state;
};

} // namespace pelmar
