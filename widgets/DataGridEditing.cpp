// The grid's cell editing: opening an editor, writing its text to the
// table, closing it and reporting the accepted edit to the page.
#include "widgets/DataGrid.h"

#include "widgets/GridDelegate.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QSqlField>
#include <QSqlRecord>

namespace pelmar {

QLineEdit *DataGrid::openEditor() const
{
    return m_delegate->openEditor();
}

// Closes the editor without writing it, before the rows under it are re-read.
// Closing it here, rather than letting the reset hide it, keeps the focus in
// the grid.
void DataGrid::discardEdit()
{
    if (QLineEdit *editor = openEditor())
        closeEditor(editor, QAbstractItemDelegate::NoHint);
}

bool DataGrid::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    if (m_dropDownMode || !m_model || (index.isValid() && m_columns.at(index.column()).checkBox))
        return false;
    if (trigger == AnyKeyPressed && event && event->type() == QEvent::KeyPress) {
        // Only a character starts an edit; control keys and shortcuts do not.
        const auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text();
        if (text.isEmpty() || !text.at(0).isPrint()
            || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
            return false;
    }
    m_openingEditor = true;
    const bool opened = QTableView::edit(index, trigger, event);
    m_openingEditor = false;
    if (opened)
        m_pastLast = false;
    return opened;
}

void DataGrid::commitData(QWidget *editor)
{
    // The grid's own editor is written here; anything else goes Qt's way,
    // which for a line edit ends in the delegate, and from there in
    // commitEditorText all the same.
    auto *lineEdit = qobject_cast<QLineEdit *>(editor);
    if (m_model && lineEdit && lineEdit == openEditor())
        commitEditorText(lineEdit, m_delegate->editorIndex());
    else
        QTableView::commitData(editor);
}

// The one place where an editor's text reaches the table, whoever commits
// it. An edit that leaves the text as it was writes nothing and reports
// nothing; a written one is marked so (committing it again writes nothing)
// and its after-update becomes due, to be reported once the editor closes.
bool DataGrid::commitEditorText(QLineEdit *editor, const QModelIndex &cell)
{
    if (!m_model || !cell.isValid() || !m_delegate->editorChanged(editor))
        return false;
    const QMetaType type = m_model->record().field(cell.column()).metaType();
    const QString typed = GridDelegate::typedText(editor);
    if (GridDelegate::refusesText(typed, type)) {
        // Nothing is written: the editor closes on what the table holds.
        m_delegate->markWritten(editor);
        emit entryRefused(cell.column(), typed);
        return false;
    }
    const QVariant before = m_model->data(cell, Qt::EditRole);
    if (!m_model->setData(cell, GridDelegate::valueFromText(typed, type), Qt::EditRole)) {
        // The editor closes on what the table holds, not on the typed text.
        m_delegate->markWritten(editor);
        undoFailedWrite(cell);
        return false;
    }
    m_delegate->markWritten(editor);
    m_pendingUpdate = cell;
    m_valueBeforeEdit = before;
    return true;
}

void DataGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    // Moving on to the next cell is done here, after the after-update of the
    // closed cell, so that the notification still sees the edited cell.
    int step = 0;
    if (hint == QAbstractItemDelegate::EditNextItem)
        step = 1;
    else if (hint == QAbstractItemDelegate::EditPreviousItem)
        step = -1;
    QTableView::closeEditor(editor, step ? QAbstractItemDelegate::NoHint : hint);
    reportAfterUpdate();
    if (step)
        moveToEditableColumn(step);
}

// Emits the after-update of the last written edit, once its editor is
// closed. Meanwhile the edited cell stands for the current one, also when
// the edit was committed by moving to another row.
void DataGrid::reportAfterUpdate()
{
    // A due row that is gone by now (deleted under the editor) reports nothing.
    const QPersistentModelIndex cell = m_pendingUpdate;
    m_pendingUpdate = QPersistentModelIndex();
    if (!cell.isValid())
        return;
    const QPersistentModelIndex outer = m_editContext;
    m_editContext = cell;
    emit afterColUpdate(cell.column());
    m_editContext = outer;
}

void DataGrid::finishEditing(QLineEdit *editor, int columnStep)
{
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    if (columnStep)
        moveToEditableColumn(columnStep);
}

void DataGrid::moveToEditableColumn(int step)
{
    const QModelIndex cell = currentIndex();
    if (!m_model || !cell.isValid())
        return;
    for (int column = cell.column() + step; column >= 0 && column < m_model->columnCount(); column += step) {
        if (!isColumnHidden(column) && !m_columns.at(column).locked) {
            setCurrentIndex(m_model->index(cell.row(), column));
            return;
        }
    }
}

void DataGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    // Leaving a cell commits its edit; its after-update runs with the grid
    // still reporting the cell that was left (reportAfterUpdate).
    if (QLineEdit *editor = openEditor(); editor && m_delegate->editorIndex() == previous)
        finishEditing(editor, 0);
    // Qt switches the view's input method on and off with the editability
    // of the new cell; here ImeSetOpen alone decides, so keep what it said.
    const bool inputMethod = testAttribute(Qt::WA_InputMethodEnabled);
    QTableView::currentChanged(current, previous);
    setAttribute(Qt::WA_InputMethodEnabled, inputMethod);
    emit rowColChange(previous.row(), previous.column());
}

void DataGrid::toggleCheckBox(const QModelIndex &cell)
{
    if (!cell.isValid() || !(m_model->flags(cell) & Qt::ItemIsEditable))
        return;
    const bool ticked = GridDelegate::isTicked(m_model->data(cell, Qt::EditRole));
    if (!writeCell(cell, ticked ? 0 : -1))
        return;
    m_pendingUpdate = cell;
    m_valueBeforeEdit = ticked ? -1 : 0;
    reportAfterUpdate();
}

} // namespace pelmar
