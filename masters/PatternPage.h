#pragma once

#include "widgets/PageControls.h"
#include "widgets/TabPage.h"

#include <QWidget>

namespace pelmar {

// The "勤務形態" page: the ten shift types "A" to "J" with their times.
class PatternPage : public TabPage {
    Q_OBJECT
public:
    PatternPage(ProgramState &state, QWidget *parent = nullptr);

    // The steps the window runs on every page (TabPage).
    void bindData() override;
    void releaseData() override;
    void setUp() override;
    void clear() override { Clear勤務形態(); }

    void Clear勤務形態();
    void Read勤務形態();
    void Entry勤務形態();
    void LineDelete勤務形態();

signals:
    // The shift-type master was changed from this page.
    void masterChanged();

protected:
    // The master, as start-up may have copied it already.
    void loadPage() override { Read勤務形態(); }

private:
    QFrame *imContainer3D11 = nullptr;
    QFrame *imContainer3D12 = nullptr;
    DataGrid *grid勤務形態 = nullptr;
    QPushButton *cmd勤務クリア = nullptr;
    QPushButton *cmd勤務登録 = nullptr;
    QPushButton *cmd勤務行削除 = nullptr;
    QPushButton *cmd勤務読込 = nullptr;
    QToolButton *cmdHint5 = nullptr;

    void onGridAfterUpdate(int column);
    // How the user knows a column of the page: 開始時間, 休憩 …
    static QString columnCaption(int column);

    ProgramState &m_state;
    // After a failed read the page shows no master; registering it is
    // refused until a read succeeds.
    bool m_readFailed = false;
};

} // namespace pelmar
