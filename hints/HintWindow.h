#pragma once

#include "widgets/PageControls.h"

#include <QColor>
#include <QSqlDatabase>
#include <QString>
#include <QWidget>

class QHBoxLayout;

namespace pelmar {

// What a window hands to the hint window when one of its hint buttons is
// pressed: its own name, the button's name and its caption at that moment.
struct HintHandOver {
    QString HintFormName;
    QString HintCtlName;
    QString HintFormTitle;
};

// The hint window "Hint": shows the text kept for one hint button and lets
// the user edit, store, delete and clear it. The labels and the text are
// filled once, when the window is made; closing destroys it, so the next
// press of a hint button makes it afresh.
//
// The window touches the work database only while one of its operations
// runs: it looks the connection up by name each time and holds nothing in
// between, so it can never keep the database from closing.
class HintWindow : public QWidget {
    Q_OBJECT
public:
    HintWindow(const HintHandOver &handOver, const QString &workConnection, QWidget *parent = nullptr);

    QLabel *lblFormName = nullptr;
    QLabel *lblFormTitle = nullptr;
    QLabel *lblCtlName = nullptr;
    QPlainTextEdit *txtContents = nullptr;
    // The buttons, left to right.
    QPushButton *cmd登録 = nullptr, *cmd編集 = nullptr, *cmd削除 = nullptr, *cmdクリア = nullptr, *cmd閉じる = nullptr;

    // Shows the stored text of the labels' pair; without one the box stays
    // as it is.
    void ReadHint();
    // Stores the box under the labels' pair, replacing an earlier text.
    // False when nothing was stored.
    bool EntryHint();
    // Removes the pair's text and empties the box. False when nothing was
    // removed because the database refused; the box then keeps its text.
    bool Deleteヒント();

    // Edit mode lives in the back colour of cmd編集: grey is off, light red on.
    QColor editButtonColour() const;
    static QColor editOffColour();
    static QColor editOnColour();

    // Whether the box differs from the text as last read, stored or deleted.
    bool hasUnsavedText() const;

    // Whether this window shows the hint of that window's button.
    bool shows(const QString &formName, const QString &ctlName) const;

private:
    void cmd登録_Click();
    void cmd編集_Click();
    void cmd削除_Click();
    void cmdクリア_Click();
    QWidget *buildNames(const HintHandOver &handOver);
    QHBoxLayout *buildButtons();
    void setEditButtonColour(const QColor &colour);
    QSqlDatabase workDb() const;

    QString m_workConnection;
    QString m_savedText;
};

} // namespace pelmar
