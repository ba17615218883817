#pragma once

#include "widgets/GridColumn.h"
#include "widgets/GridTableModel.h"

#include <QPersistentModelIndex>
#include <QPointer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QTableView>
#include <QVariant>

class QLineEdit;

namespace pelmar {

class GridDelegate;

// What the key-down notification hands its handler. Setting key to 0
// swallows the key, as the pages' shortcuts do.
struct GridKey {
    int key = 0; // a Qt::Key
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

// A grid bound to one table of a database: the user edits cells, each
// accepted edit is written to its row at once, and the pages react to the
// grid's notifications. Users can neither add nor delete rows; rows come and
// go only through the program's own operations.
class DataGrid : public QTableView {
    Q_OBJECT
public:
    explicit DataGrid(QWidget *parent = nullptr);
    ~DataGrid() override;

    // The binding (database and table) is set once; refresh() re-reads the
    // table and shows its rows in table order.
    void bind(const QSqlDatabase &db, const QString &table);
    void unbind(); // drops the model, before the database connection closes
    void refresh();
    GridTableModel *tableModel() const;

    // Column properties, by column index of the table.
    const GridColumn &column(int index) const { return m_columns.at(index); }
    void setColumnCaption(int column, const QString &caption);
    void setColumnVisible(int column, bool visible);
    void setColumnLocked(int column, bool locked);
    void setColumnWidthTwips(int column, double twips); // 15 twips to the pixel
    void setColumnAlignment(int column, Qt::Alignment alignment);
    Qt::Alignment columnAlignment(int column) const; // left unless set
    void setColumnFormat(int column, const QString &pattern); // calc/Formats patterns
    // "Date Mask" (eight digits yyyymmdd) or "##:##" (four digits hhmm).
    void setColumnMask(int column, const QString &mask);
    // A tick box column: -1 ticked, 0 not.
    void setColumnCheckBox(int column, bool checkBox);
    // The drop-down list opened from a column (F4, Alt+Down or the cell's arrow).
    void setColumnDropDown(int column, DataGrid *dropDown);

    // Makes this grid a drop-down list: a read-only popup that another
    // grid opens under one of its cells.
    void setDropDownMode(bool dropDown);
    bool isDropDownMode() const;
    // Cells take no typing while read-only; the program still writes them.
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return m_readOnly; }

    // Current row and column.
    int currentColumn() const;
    void setCurrentColumn(int column);
    int currentRowIndex() const;
    bool onRow() const; // stands on a row (false when empty or moved past the last)
    void moveNext(); // to the next row; past the last row when there is none
    bool pastLast() const;
    void moveLast(); // back to the last row

    // Cells of the current row. A null value is an empty cell; writing one
    // empties the cell. Writes go straight to the table.
    QVariant cellValue(int column) const;
    bool setCellValue(int column, const QVariant &value);
    QString cellText(int column) const; // as shown, through the column's format

    // Any row's cells, for work on the whole table.
    int rowCount() const;
    QVariant valueAt(int row, int column) const;

    // Puts the page's notes on cells: a cell with a note is tinted and shows
    // the note as its tool tip. Asked each time a cell is drawn.
    void setCellNote(GridTableModel::CellNote note);

    // While afterColUpdate is reported: what the edited cell held before the
    // edit, for a page that refuses the entry to put it back.
    QVariant valueBeforeEdit() const { return m_valueBeforeEdit; }

    // Writes the edit in progress to the table; does nothing when there is none.
    bool commitRow();
    // Deletes the current row from the table.
    bool deleteCurrentRow();

    // Opens the drop-down list of the current column, if it has one.
    void openDropDown();

signals:
    // The user's edit of a cell of the current row was accepted and written.
    void afterColUpdate(int column);
    // A key went down in the grid or in its cell editor. Set key.key = 0 to swallow it.
    void keyDown(pelmar::GridKey &key);
    // The current cell moved; carries where it was.
    void rowColChange(int lastRow, int lastColumn);
    // The grid received the input focus from outside.
    void gridActivated();
    // An entry was picked from a column's drop-down list; the list's
    // current row is the picked entry.
    void dropDownPicked(int column);
    // The user's edit of a cell was refused before it reached the table: a
    // number column given text that reads as no number. The cell keeps what
    // it held; the page tells the user.
    void entryRefused(int column, const QString &typed);
    // A cell or row could not be written to the table (a read-only or full
    // disk, a file another program holds). The grid already shows what the
    // table holds again; the page tells the user.
    void writeFailed(const QSqlError &error);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void commitData(QWidget *editor) override;
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    void inputMethodEvent(QInputMethodEvent *event) override;

private:
    friend class GridDelegate;
    QModelIndex currentCell() const;
    void pickFromDropDown(int column, DataGrid *dropDown);
    bool dropDownArrowHit(const QPoint &viewportPos) const;

    QLineEdit *openEditor() const;
    void discardEdit();
    void handleEditorKey(QLineEdit *editor, QKeyEvent *event);
    void actOnKey(QKeyEvent *event);
    void finishEditing(QLineEdit *editor, int columnStep);
    bool commitEditorText(QLineEdit *editor, const QModelIndex &cell);
    void reportAfterUpdate();
    void moveToEditableColumn(int step);
    void toggleCheckBox(const QModelIndex &cell);
    bool writeCell(const QModelIndex &cell, const QVariant &value);
    void undoFailedWrite(const QModelIndex &cell);
    void applyColumnProperties();
    void reselect(int row, int column);
    int firstVisibleColumn() const;
    void chooseCurrentEntry();
    bool ownsFocusWidget(const QWidget *widget) const;

    GridColumns m_columns;
    GridTableModel::CellNote m_cellNote;
    GridTableModel *m_model = nullptr;
    GridDelegate *m_delegate = nullptr;
    bool m_dropDownMode = false;
    bool m_readOnly = false;
    bool m_pastLast = false;

    QPersistentModelIndex m_editContext; // the edited cell while its after-update runs
    QPersistentModelIndex m_pendingUpdate; // a written edit whose after-update is due
    QVariant m_valueBeforeEdit; // what the cell of m_pendingUpdate held before it
    QPointer<DataGrid> m_dropDownOwner; // drop-down mode: the grid that opened this list
    int m_dropDownOwnerColumn = -1;
    bool m_openingEditor = false;
    bool m_focusWithin = false;
    bool m_pressInside = false;
};

} // namespace pelmar
