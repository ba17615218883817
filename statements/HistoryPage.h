#pragma once

#include "widgets/PageControls.h"

#include <QWidget>

namespace pelmar {

// The "履　歴" page: the list of saved statements.
class HistoryPage : public QWidget {
    Q_OBJECT
public:
    HistoryPage(ProgramState &state, QWidget *parent = nullptr);

    void bindGrid();
    void setUpGrid();
    void unbindGrid();

    void Read履歴();
    void Clear履歴();

signals:
    void hintRequested(const QWidget *button);
    // 選択 on a listed statement: the main window reopens it.
    void statementChosen(const QString &name, const QString &title);

public:
    QFrame *imContainer3D2 = nullptr;
    QFrame *imContainer3D9 = nullptr;
    DataGrid *Grid履歴 = nullptr;
    QPushButton *cmd履歴クリア = nullptr;
    QPushButton *cmd履歴読込 = nullptr;
    QPushButton *cmd履歴選択 = nullptr;
    QToolButton *cmdHint2 = nullptr;

private:
    void choose();

    ProgramState &m_state;
};

} // namespace pelmar
