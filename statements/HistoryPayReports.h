#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QFrame;
class QPushButton;
class QWidget;

namespace pelmar {

struct ProgramState;
class ReportDialog;

// The history page's reports of the pay handed over, in its report frame:
// 金種表 for the chosen title, and for a year of pay dates the chosen
// name's 源泉徴収簿 and the tax withheld by month (納付集計), the 年末調整's
// worksheet of the chosen name and the list of the year's employees.
class HistoryPayReports : public QObject {
    Q_OBJECT
public:
    // Adds its controls to the frame's grid: 金種表 beside the title's
    // buttons, the year picker and its two buttons on a row of their own.
    // show puts a report window up, as the page's other reports.
    HistoryPayReports(ProgramState &state, QFrame *frame, QComboBox *titlePicker, QComboBox *namePicker,
                      std::function<void(ReportDialog *)> show);

    // The years of the stored pay dates, newest first; the choice is kept.
    void ReadComb支給年();

    void cmd金種表_Click();
    void cmd源泉徴収簿_Click();
    void cmd納付集計_Click();
    // 住民税 to pay over by 支給月 and 市区町村, for the chosen year.
    void cmd住民税納付_Click();
    void cmd年末調整_Click();
    void cmd年調一覧_Click();

    QComboBox *cmb支給年 = nullptr;
    QPushButton *cmd金種表 = nullptr;
    QPushButton *cmd源泉徴収簿 = nullptr;
    QPushButton *cmd納付集計 = nullptr;
    QPushButton *cmd住民税納付 = nullptr;
    QPushButton *cmd年末調整 = nullptr;
    QPushButton *cmd年調一覧 = nullptr;

private:
    std::optional<int> chosenYear();
    QWidget *window() const;

    ProgramState &m_state;
    QFrame *m_frame;
    QComboBox *m_titles;
    QComboBox *m_names;
    std::function<void(ReportDialog *)> m_show;
};

} // namespace pelmar
