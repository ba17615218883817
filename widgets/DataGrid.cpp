#include "widgets/DataGrid.h"

#include "widgets/GridDelegate.h"
#include "widgets/RowHeader.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QSqlField>
#include <QSqlRecord>

namespace pelmar {

DataGrid::DataGrid(QWidget *parent) : QTableView(parent)
{
    m_delegate = new GridDelegate(this);
    setItemDelegate(m_delegate);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed);
    setAttribute(Qt::WA_InputMethodEnabled, true);
    setVerticalHeader(new RowHeader(this));
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);

    // Remember whether the focus was somewhere in this grid (its editor, its
    // drop-down list) so that focusInEvent can tell a real activation from
    // the focus coming back after an edit.
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget *, QWidget *now) { m_focusWithin = ownsFocusWidget(now); });
}

DataGrid::~DataGrid()
{
    // No focus notification may reach a grid that is half destroyed.
    disconnect(qApp, nullptr, this, nullptr);
    unbind();
}

void DataGrid::bind(const QSqlDatabase &db, const QString &table)
{
    unbind();
    m_model = new GridTableModel(this, db, m_columns);
    m_model->setTable(table);
    m_model->setReadOnly(m_dropDownMode || m_readOnly);
    m_model->m_cellNote = m_cellNote;
    setModel(m_model);
    applyColumnProperties();
}

void DataGrid::unbind()
{
    if (!m_model)
        return;
    discardEdit();
    QItemSelectionModel *selection = selectionModel();
    setModel(nullptr);
    delete selection;
    delete m_model;
    m_model = nullptr;
    m_pastLast = false;
}

void DataGrid::refresh()
{
    if (!m_model)
        return;
    const int column = currentIndex().isValid() ? currentIndex().column() : -1;
    reselect(0, column);
}

// Re-reads the whole table and stands on (row, column) as far as they exist.
void DataGrid::reselect(int row, int column)
{
    m_pastLast = false;
    discardEdit();
    m_model->select();
    while (m_model->canFetchMore())
        m_model->fetchMore();
    applyColumnProperties();

    const int rows = m_model->rowCount();
    if (rows == 0)
        return;
    if (column < 0 || column >= m_model->columnCount() || isColumnHidden(column))
        column = firstVisibleColumn();
    if (column >= 0)
        setCurrentIndex(m_model->index(qBound(0, row, rows - 1), column));
}

GridTableModel *DataGrid::tableModel() const
{
    return m_model;
}

void DataGrid::applyColumnProperties()
{
    if (!m_model)
        return;
    for (const auto &[index, column] : m_columns)
        if (column.caption)
            m_model->setHeaderData(index, Qt::Horizontal, *column.caption);
    const int columns = m_model->columnCount();
    for (int index = 0; index < columns; ++index) {
        const GridColumn &column = m_columns.at(index);
        setColumnHidden(index, column.hidden);
        if (column.widthPixels >= 0)
            setColumnWidth(index, column.widthPixels);
    }
}

int DataGrid::firstVisibleColumn() const
{
    const int columns = m_model ? m_model->columnCount() : 0;
    for (int column = 0; column < columns; ++column)
        if (!isColumnHidden(column))
            return column;
    return -1;
}

// ---------------------------------------------------------------- columns

void DataGrid::setColumnCaption(int column, const QString &caption)
{
    m_columns.edit(column).caption = caption;
    if (m_model)
        m_model->setHeaderData(column, Qt::Horizontal, caption);
}

void DataGrid::setColumnVisible(int column, bool visible)
{
    m_columns.edit(column).hidden = !visible;
    setColumnHidden(column, !visible);
}

void DataGrid::setColumnLocked(int column, bool locked)
{
    m_columns.edit(column).locked = locked;
}

void DataGrid::setColumnWidthTwips(int column, double twips)
{
    const int pixels = qRound(twips / 15.0);
    m_columns.edit(column).widthPixels = pixels;
    setColumnWidth(column, pixels);
}

void DataGrid::setColumnAlignment(int column, Qt::Alignment alignment)
{
    m_columns.edit(column).alignment = alignment;
    viewport()->update();
}

Qt::Alignment DataGrid::columnAlignment(int column) const
{
    const Qt::Alignment alignment = m_columns.at(column).alignment;
    return alignment ? alignment : Qt::AlignLeft;
}

void DataGrid::setColumnFormat(int column, const QString &pattern)
{
    m_columns.edit(column).format = pattern;
    viewport()->update();
}

void DataGrid::setColumnMask(int column, const QString &mask)
{
    m_columns.edit(column).mask = mask;
}

void DataGrid::setColumnCheckBox(int column, bool checkBox)
{
    m_columns.edit(column).checkBox = checkBox;
    viewport()->update();
}

void DataGrid::setColumnDropDown(int column, DataGrid *dropDown)
{
    m_columns.edit(column).dropDown = dropDown;
}

void DataGrid::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    if (m_model)
        m_model->setReadOnly(m_dropDownMode || readOnly);
}

void DataGrid::setDropDownMode(bool dropDown)
{
    m_dropDownMode = dropDown;
    if (m_model)
        m_model->setReadOnly(dropDown || m_readOnly);
    if (!dropDown)
        return;
    setWindowFlag(Qt::Popup, true);
    hide();
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->hide();
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

bool DataGrid::isDropDownMode() const
{
    return m_dropDownMode;
}

// ---------------------------------------------------------------- position

QModelIndex DataGrid::currentCell() const
{
    // While the after-update of an edit runs, the edited cell stands for the
    // current one, even when the edit was committed by moving away from it.
    if (m_editContext.isValid())
        return m_editContext;
    return currentIndex();
}

int DataGrid::currentColumn() const
{
    return currentCell().column();
}

void DataGrid::setCurrentColumn(int column)
{
    if (!m_model || column < 0 || column >= m_model->columnCount())
        return;
    int row = currentCell().row();
    if (row < 0 && m_model->rowCount() > 0)
        row = 0;
    if (row >= 0)
        setCurrentIndex(m_model->index(row, column));
}

int DataGrid::currentRowIndex() const
{
    return currentCell().row();
}

bool DataGrid::onRow() const
{
    const QModelIndex cell = currentCell();
    return m_model && !m_pastLast && cell.isValid() && cell.row() < m_model->rowCount();
}

void DataGrid::moveNext()
{
    if (!m_model || m_pastLast)
        return;
    const QModelIndex cell = currentCell();
    if (!cell.isValid())
        return;
    if (cell.row() >= m_model->rowCount() - 1) {
        commitRow();
        m_pastLast = true;
        return;
    }
    setCurrentIndex(m_model->index(cell.row() + 1, cell.column()));
}

bool DataGrid::pastLast() const
{
    return m_pastLast;
}

void DataGrid::moveLast()
{
    m_pastLast = false;
    if (!m_model || m_model->rowCount() == 0)
        return;
    int column = currentCell().column();
    if (column < 0)
        column = firstVisibleColumn();
    setCurrentIndex(m_model->index(m_model->rowCount() - 1, column));
}

// ---------------------------------------------------------------- cells

QVariant DataGrid::cellValue(int column) const
{
    if (!onRow() || column < 0 || column >= m_model->columnCount())
        return QVariant();
    return m_model->data(m_model->index(currentCell().row(), column), Qt::EditRole);
}

bool DataGrid::setCellValue(int column, const QVariant &value)
{
    if (!onRow() || column < 0 || column >= m_model->columnCount())
        return false;
    return writeCell(m_model->index(currentCell().row(), column), value);
}

QString DataGrid::cellText(int column) const
{
    if (!onRow() || column < 0 || column >= m_model->columnCount())
        return QString();
    return m_model->data(m_model->index(currentCell().row(), column), Qt::DisplayRole).toString();
}

int DataGrid::rowCount() const
{
    return m_model ? m_model->rowCount() : 0;
}

QVariant DataGrid::valueAt(int row, int column) const
{
    if (!m_model || row < 0 || row >= m_model->rowCount() || column < 0 || column >= m_model->columnCount())
        return QVariant();
    return m_model->data(m_model->index(row, column), Qt::EditRole);
}

void DataGrid::setCellNote(GridTableModel::CellNote note)
{
    m_cellNote = std::move(note);
    if (m_model) {
        m_model->m_cellNote = m_cellNote;
        viewport()->update();
    }
}

bool DataGrid::writeCell(const QModelIndex &cell, const QVariant &value)
{
    QVariant stored = value;
    if (!stored.isValid() || stored.isNull())
        stored = QVariant(m_model->record().field(cell.column()).metaType());
    m_model->m_programWrite = true;
    const bool written = m_model->setData(cell, stored, Qt::EditRole);
    m_model->m_programWrite = false;
    if (!written)
        undoFailedWrite(cell);
    return written;
}

// A write the table refused stays in the model's cache as if it had been
// made, and would go out again with the next write of the row. It is
// dropped, the row is read again from the table, and the failure is told.
void DataGrid::undoFailedWrite(const QModelIndex &cell)
{
    if (!cell.isValid() || !m_model->isDirty(cell))
        return; // refused before anything reached the table
    const QSqlError error = m_model->lastError();
    m_model->revertRow(cell.row());
    m_model->selectRow(cell.row());
    emit writeFailed(error);
}

bool DataGrid::commitRow()
{
    if (QLineEdit *editor = openEditor())
        finishEditing(editor, 0);
    return true;
}

bool DataGrid::deleteCurrentRow()
{
    if (!onRow())
        return false;
    discardEdit(); // the row goes anyway
    const int row = currentCell().row();
    const int column = currentCell().column();
    const int before = m_model->rowCount();
    m_model->removeRow(row);
    if (!m_model->submit()) {
        const QSqlError error = m_model->lastError();
        m_model->revertAll();
        reselect(row, column);
        emit writeFailed(error);
        return false;
    }
    reselect(row, column);
    return m_model->rowCount() < before;
}

} // namespace pelmar
