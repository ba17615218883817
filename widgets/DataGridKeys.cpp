// The grid's keyboard: the key-down notification first, then what the grid
// itself does with a key it was left.
#include "widgets/DataGrid.h"

#include "widgets/GridDelegate.h"

#include <QApplication>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace pelmar {

void DataGrid::keyPressEvent(QKeyEvent *event)
{
    // Keys that reach the grid while its editor is open belong to the editor.
    if (QLineEdit *editor = openEditor(); editor && editor->isVisible()) {
        QCoreApplication::sendEvent(editor, event);
        return;
    }
    GridKey key{event->key(), event->modifiers()};
    emit keyDown(key);
    if (key.key == 0) {
        event->accept();
        return;
    }
    actOnKey(event);
}

bool DataGrid::eventFilter(QObject *watched, QEvent *event)
{
    QLineEdit *editor = openEditor();
    if (!editor || watched != editor || event->type() != QEvent::KeyPress)
        return QTableView::eventFilter(watched, event);
    auto *keyEvent = static_cast<QKeyEvent *>(event);
    if (m_openingEditor) {
        // The key that opened the editor has been reported already.
        static_cast<QObject *>(editor)->event(keyEvent);
        return true;
    }
    GridKey key{keyEvent->key(), keyEvent->modifiers()};
    emit keyDown(key);
    if (key.key != 0) {
        if (openEditor() == editor)
            handleEditorKey(editor, keyEvent);
        else
            actOnKey(keyEvent); // the handler finished the edit itself; the key now acts on the grid
    }
    // Handled here in every case: the key must not travel on to the grid,
    // which would report it a second time.
    keyEvent->accept();
    return true;
}

void DataGrid::handleEditorKey(QLineEdit *editor, QKeyEvent *event)
{
    const int column = m_delegate->editorIndex().column();
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
        finishEditing(editor, 1);
        return;
    case Qt::Key_Backtab:
        finishEditing(editor, -1);
        return;
    case Qt::Key_Escape:
        closeEditor(editor, QAbstractItemDelegate::NoHint);
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        if (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier) && m_columns.at(column).dropDown) {
            openDropDown();
            return;
        }
        actOnKey(event); // the move commits the edit (currentChanged)
        return;
    case Qt::Key_F4:
        if (m_columns.at(column).dropDown) {
            openDropDown();
            return;
        }
        break;
    default:
        break;
    }
    // Everything else is the editor's own; what it leaves goes to the grid.
    event->accept();
    static_cast<QObject *>(editor)->event(event);
    if (!event->isAccepted() && openEditor() == editor)
        actOnKey(event);
}

// What the grid does with a key once keyDown has let it through.
void DataGrid::actOnKey(QKeyEvent *event)
{
    if (m_dropDownMode) {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            chooseCurrentEntry();
            return;
        case Qt::Key_Escape:
        case Qt::Key_F4:
            hide();
            return;
        default:
            QTableView::keyPressEvent(event);
            return;
        }
    }
    m_pastLast = false;
    const int column = currentIndex().column();
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        moveToEditableColumn(1);
        event->accept();
        return;
    case Qt::Key_F4:
        if (m_columns.at(column).dropDown) {
            openDropDown();
            event->accept();
            return;
        }
        break;
    case Qt::Key_Down:
        if ((event->modifiers() & Qt::AltModifier) && m_columns.at(column).dropDown) {
            openDropDown();
            event->accept();
            return;
        }
        break;
    case Qt::Key_Space:
        if (m_columns.at(column).checkBox) {
            toggleCheckBox(currentIndex());
            event->accept();
            return;
        }
        break;
    case Qt::Key_Delete:
    case Qt::Key_Escape:
        // Rows are never deleted from the grid itself.
        event->accept();
        return;
    default:
        break;
    }
    QTableView::keyPressEvent(event);
}

void DataGrid::inputMethodEvent(QInputMethodEvent *event)
{
    // Composed text typed on a cell starts its edit, as a typed key does.
    const bool text = !event->commitString().isEmpty() || !event->preeditString().isEmpty();
    if (text && !openEditor() && edit(currentIndex(), AnyKeyPressed, event)) {
        if (QLineEdit *editor = openEditor()) {
            QCoreApplication::sendEvent(editor, event);
            return;
        }
    }
    QTableView::inputMethodEvent(event);
}

void DataGrid::focusInEvent(QFocusEvent *event)
{
    QTableView::focusInEvent(event);
    if (!m_focusWithin && event->reason() != Qt::PopupFocusReason)
        emit gridActivated();
}

bool DataGrid::ownsFocusWidget(const QWidget *widget) const
{
    if (!widget)
        return false;
    if (widget == this || isAncestorOf(widget))
        return true;
    for (const auto &[index, column] : m_columns)
        if (const DataGrid *dropDown = column.dropDown;
            dropDown && (widget == dropDown || dropDown->isAncestorOf(widget)))
            return true;
    return false;
}

} // namespace pelmar
