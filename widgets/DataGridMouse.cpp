// The grid's mouse handling and its drop-down list.
#include "widgets/DataGrid.h"

#include "widgets/GridDelegate.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>

namespace pelmar {

// ---------------------------------------------------------------- mouse

void DataGrid::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (m_dropDownMode) {
        m_pressInside = viewport()->rect().contains(pos);
        if (!m_pressInside) {
            hide();
            return;
        }
        QTableView::mousePressEvent(event);
        return;
    }
    m_pastLast = false;
    if (event->button() == Qt::LeftButton && dropDownArrowHit(pos)) {
        openDropDown();
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
    const QModelIndex hit = indexAt(pos);
    if (event->button() == Qt::LeftButton && hit.isValid() && hit == currentIndex()
        && m_columns.at(hit.column()).checkBox)
        toggleCheckBox(hit);
}

void DataGrid::mouseReleaseEvent(QMouseEvent *event)
{
    QTableView::mouseReleaseEvent(event);
    if (!m_dropDownMode)
        return;
    // Only a click that began in the list chooses; the release of the press
    // that opened the list does not.
    const bool chosen = m_pressInside && indexAt(event->position().toPoint()).isValid();
    m_pressInside = false;
    if (chosen)
        chooseCurrentEntry();
}

void DataGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QModelIndex hit = indexAt(event->position().toPoint());
    if (!m_dropDownMode && hit.isValid() && m_columns.at(hit.column()).checkBox) {
        // The second click of a double click is a click of its own on a tick box.
        toggleCheckBox(hit);
        event->accept();
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
}

// ---------------------------------------------------------------- drop-down

bool DataGrid::dropDownArrowHit(const QPoint &viewportPos) const
{
    const QModelIndex cell = currentIndex();
    if (m_dropDownMode || !cell.isValid() || !m_columns.at(cell.column()).dropDown)
        return false;
    return GridDelegate::dropDownArrowRect(visualRect(cell)).contains(viewportPos);
}

void DataGrid::openDropDown()
{
    if (m_dropDownMode || m_readOnly || !m_model || !onRow())
        return;
    const int column = currentColumn();
    DataGrid *dropDown = m_columns.at(column).dropDown;
    if (!dropDown || !dropDown->tableModel())
        return;
    commitRow();

    dropDown->refresh();
    GridTableModel *list = dropDown->tableModel();
    const QVariant value = cellValue(column);
    const int rows = list->rowCount();
    if (rows > 0) {
        int row = 0;
        if (!value.isNull()) {
            for (int r = 0; r < rows; ++r) {
                if (list->data(list->index(r, 0), Qt::EditRole).toString() == value.toString()) {
                    row = r;
                    break;
                }
            }
        }
        const int firstColumn = qMax(0, dropDown->firstVisibleColumn());
        dropDown->setCurrentIndex(list->index(row, firstColumn));
    }

    // As wide as its visible columns, at most ten rows high.
    int width = 2 * dropDown->frameWidth();
    for (int c = 0; c < list->columnCount(); ++c)
        if (!dropDown->isColumnHidden(c))
            width += dropDown->columnWidth(c);
    const int shownRows = qBound(1, rows, 10);
    if (rows > shownRows)
        width += dropDown->verticalScrollBar()->sizeHint().width();
    const int height = 2 * dropDown->frameWidth() + dropDown->horizontalHeader()->sizeHint().height()
        + shownRows * dropDown->verticalHeader()->defaultSectionSize();
    dropDown->resize(width, height);
    dropDown->move(viewport()->mapToGlobal(visualRect(currentIndex()).bottomLeft()));

    dropDown->m_dropDownOwner = this;
    dropDown->m_dropDownOwnerColumn = column;
    dropDown->show();
    dropDown->setFocus(Qt::PopupFocusReason);
}

void DataGrid::chooseCurrentEntry()
{
    if (!currentIndex().isValid())
        return;
    hide();
    if (DataGrid *owner = m_dropDownOwner.data())
        owner->pickFromDropDown(m_dropDownOwnerColumn, this);
}

void DataGrid::pickFromDropDown(int column, DataGrid *dropDown)
{
    if (!onRow())
        return;
    const QVariant picked = dropDown->cellValue(0);
    writeCell(m_model->index(currentCell().row(), column), picked.isNull() ? QVariant() : QVariant(picked.toString()));
    setFocus(Qt::PopupFocusReason);
    emit dropDownPicked(column);
}

} // namespace pelmar
