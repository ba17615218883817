#pragma once

#include "calc/DetailLine.h"
#include "calc/Premium.h"
#include "masters/PaySettings.h"
#include "payroll/StatementStore.h"
#include "widgets/PageControls.h"
#include "widgets/TabPage.h"

#include <QWidget>

#include <QPair>
#include <QStringList>

#include <optional>

class QVBoxLayout;

namespace pelmar {

struct GridKey;
class PageSkeleton;
class PayPanel;

// The shift-type label after a pick or a reopened statement has two spaces
// before 実労.
inline constexpr int kSpacesAfterPick = 2;

// The "勤務表" page: the statement being edited, with its person, shift
// type, title, totals and day lines.
class StatementPage : public TabPage {
    Q_OBJECT
public:
    StatementPage(ProgramState &state, QWidget *parent = nullptr);
    ~StatementPage() override;

    // The steps the window runs on every page (TabPage).
    void bindData() override;
    void releaseData() override;
    void setUp() override;
    void clear() override { Clear時給(); }
    // Lines typed or changed since the page was last emptied, read or saved.
    bool hasUnsavedEdits() const override { return m_linesEdited; }
    bool confirmDiscardEdits() override { return confirmDiscardLines(); }

    // The page's operations.
    void Clear時給(); // the page back to its initial state
    void Clear明細(); // 60 empty numbered lines
    void ReadComb氏名();
    void ReadComb勤務形態();
    void Read勤務形態参照();
    void Seek勤務形態(); // looks up m_curPatternType into m_pattern
    void Get時給(); // the named employee's wage and usual shift type
    void Calc明細(); // the four totals from the lines
    void get日付データ(); // the current line from the chosen shift type
    void Delete行();
    // What the save records in the employee master, as the user agreed:
    // a new employee, or the statement's wage as the employee's; written
    // by the save inside its transaction. An employee already in the master
    // keeps its shift type and times.
    statements::EmployeeUpdate Entry従業員();
    void cmd印刷_Click(); // the pay statement of the page, in a print preview
    void Entry時給(); // saves the statement under name + title
    void Read時給(); // reopens the statement of name + title
    void Delete時給(); // deletes the statement of name + title

    // Reopens a stored statement chosen elsewhere (the history list). Tells
    // the user and changes nothing when none is stored under the pair, and
    // asks before unsaved lines are replaced. True when it was reopened.
    bool openStatement(const QString &name, const QString &title);
    // Asks before unsaved lines are thrown away; true when there are none
    // or the user agreed.
    bool confirmDiscardLines();
    // The pickers and the shift-type reference, after a master changed.
    void refreshPickers();
    // The focus to the name box, where work on a statement starts.
    void focusName();
    // The premiums and rounding the statement is worked out with. The
    // premium columns and totals show while their premium is on; lines typed
    // since the page was emptied or read follow the new settings at once,
    // a reopened statement left as it is keeps its stored amounts.
    void applyPaySettings(const settings::PaySettings &paySettings);
    const settings::PaySettings &paySettings() const { return m_pay; }
    // Reads again whether the statement on the page belongs to a closed
    // title, after a title was closed or reopened.
    void refreshCloseState();

    // The name and title of the page's unsaved lines, for an import to name
    // before it stores statements the page's 登録 would replace; nothing
    // when the page holds no unsaved lines.
    std::optional<QPair<QString, QString>> unsavedStatement() const;
    // Statements of these employees were imported under the title: when the
    // page holds unsaved lines of one of them, its 登録 says that the stored
    // statement changed rather than ask the usual question.
    void noteImported(const QString &title, const QStringList &names);

signals:
    // 閉じる: the program is to end.
    void closeRequested();
    // A save added an employee or changed an employee's wage.
    void employeeMasterChanged();

protected:
    // Empties the page; the lines and pickers as start-up readied them.
    void loadPage() override { Clear時給(); }

private:
    // The frames: the page's, then who, the title and totals, the buttons.
    QFrame *imContainer3D1 = nullptr, *imContainer3D4 = nullptr, *imContainer3D13 = nullptr, *imContainer3D5 = nullptr;
    QComboBox *cmb氏名 = nullptr;
    NumberBox *num時給 = nullptr;
    QComboBox *cmb勤務形態 = nullptr;
    QLabel *lbl勤務形態 = nullptr;
    QLineEdit *txtタイトル = nullptr;
    NumberBox *num休憩 = nullptr;
    NumberBox *num時間 = nullptr;
    NumberBox *num調整額 = nullptr;
    NumberBox *num合計 = nullptr;
    // The premium totals, shown while premiums are paid.
    NumberBox *num深夜 = nullptr;
    NumberBox *num時間外 = nullptr;
    NumberBox *num割増額 = nullptr;
    QLabel *lbl深夜 = nullptr, *lbl時間外 = nullptr, *lbl割増額 = nullptr;
    // Rest-day hours, shown while a rest day is named; overtime past 60
    // hours, shown with the overtime.
    NumberBox *num休日 = nullptr;
    NumberBox *num時間外60超 = nullptr;
    QLabel *lbl休日 = nullptr, *lbl時間外60超 = nullptr;
    DataGrid *grid明細 = nullptr;
    // Says that the reopened statement's title is closed and cannot be changed.
    QLabel *lbl締め = nullptr;
    // The button bar, left to right.
    QPushButton *cmd履歴閉じる = nullptr, *cmdクリア = nullptr, *cmd登録 = nullptr, *cmd行削除 = nullptr,
                *cmd読込 = nullptr, *cmd印刷 = nullptr, *cmd削除 = nullptr;
    QToolButton *cmdHint = nullptr;

    void applyNumberFormats();
    void setUpGrid();
    void onGridAfterUpdate(int column);
    void tellRefusal(const daylines::EditOutcome &outcome, int editedColumn, const QVariant &typed);
    void onGridKeyDown(GridKey &key);
    void onPatternChosen();
    // Looks up the chosen shift type and shows its times in the label.
    void showPattern(int spacesBeforeWorked = kSpacesAfterPick);
    void onFocusChanged(QWidget *old, QWidget *now);
    bool eventFilter(QObject *watched, QEvent *event) override;
    void buildPersonSection(PageSkeleton &skeleton);
    void buildTotalsSection(PageSkeleton &skeleton);
    void buildLinesAndPay(QVBoxLayout *page);
    void connectOperations();
    QList<premium::DayLine> dayLinesForPremiums();
    bool payReadyToSave();
    void askToUpdateWage(const QString &name);
    void storeStatement(const QString &name, const QString &title, const statements::Expectation &expected);
    // Why the save wrote nothing, with the message of the situation.
    void tellRefusal(const statements::SaveResult &result);
    void connectPrinting();
    void connectSaving();
    bool checkNameAndTitle();
    // The name and title boxes hold what the typed text stands for: a
    // stored name or title as it is stored, any other without what cannot
    // be seen (calc/TypedText).
    void settleName();
    void settleTitle();
    daylines::Line currentLine() const;
    void writeLine(const daylines::Line &line, const daylines::Line &before);
    QVariant wageForLines() const;
    bool recalculateTotals();
    // The premium hours and yen and the amount of every line, under the
    // settings as they stand. A line keeps an amount typed into 金額
    // (typedRow, or a line with an amount and no premium yen), rounded by
    // the rule; byRuleRow is the line the plain amount rule just set again.
    void Calc割増(int byRuleRow = -1, int typedRow = -1);
    // The employee's lines stored in other statements in the weeks of `lines`.
    QList<premium::DayLine> linesOfEarlierStatements(const QList<premium::DayLine> &lines);
    void showPremiumControls();
    // Names the dates of stored lines with too short a break; the save goes on.
    void tellShortBreaks();
    // The mark of a grid cell: a break too short, a line whose night hours
    // cannot be known, a wage below the minimum wage. Empty for none.
    QString cellNote(int row, int column) const;
    // What 登録 tells in one notice, a line each: hours of a premium that is
    // off, lines without times, wages below the minimum, overtime over the
    // month's 45 or the year's 360 hours. The save goes on.
    QStringList lawFindings();
    void tellLawFindings();
    void clearTotals();
    void loadStatement(const QString &name, const QString &title);
    // Whether the pair is stored; nothing when the read failed.
    std::optional<bool> isStored(const QString &name, const QString &title);
    void tellReadFailure();
    bool confirmLeftOutLines();
    // What a save does to the employee master, as the user answered.
    enum class EmployeeRecord { None, Add, Wage };
    // A name the master does not hold is added only on Yes, the registered
    // names it may be a slip for named; nothing when the save is to stop.
    std::optional<EmployeeRecord> askAboutNewEmployee(const QString &name);
    // The employee's wage in the master, when it is another than the wage box's.
    std::optional<QVariant> masterWageIfOther(const QString &name) const;
    // Another stored statement of the employee over the same days is named
    // and the user decides; false stops the save. A day already paid under
    // a closed title stops it without a question. The titles the user
    // agreed to go into *accepted.
    bool confirmOverlaps(const QString &name, const QString &title, QStringList *accepted);
    // After another employee was picked: lines that hold the wage the page
    // had before are offered the new one.
    void offerNewWage(const QVariant &previousWage);
    // クリア: asks first when there are unsaved lines, as 閉じる does.
    void clearAfterAsking();
    // The page read-only, with its label, while `title` is closed; open
    // again for an empty title or one that is not closed.
    void showCloseState(const QString &title);
    // True, after telling why, when `title` is closed (or its state cannot
    // be read): `what` of the pair is refused.
    bool refusedAsClosed(const QString &name, const QString &title, const QString &what);

    ProgramState &m_state;
    // The shift type being looked up, and what the last lookup found: the
    // stored values (a null field stays null), or nothing at all for a type
    // the master does not hold.
    QString m_curPatternType;
    patterns::PatternTimes m_pattern;
    // The employee whose wage and shift type the page holds: the one last
    // looked up or reopened. Leaving the name box looks up again only when
    // its text is another name, so a reopened statement keeps its own wage.
    QString m_settledName;
    bool m_linesEdited = false;
    // The statement (name, title) of the page's unsaved lines that an import
    // stored meanwhile; empty when none.
    QPair<QString, QString> m_importedMeanwhile;
    // The question before 登録 replaces the stored statement.
    bool confirmReplacing(const QString &name, const QString &title);
    EmployeeRecord m_employeeRecord = EmployeeRecord::None;
    // A read of a statement failed after the page was given to it: the page
    // holds part of it at most, so 登録 is refused until a read succeeds or
    // the page starts afresh.
    bool m_readFailed = false;
    settings::PaySettings m_pay;
    // The title of the statement reopened or typed on the page, and whether
    // it is closed: the page is then read-only.
    QString m_openedTitle;
    bool m_closed = false;
    // The statement's pay beside its lines.
    PayPanel *m_payPanel = nullptr;
};

} // namespace pelmar
