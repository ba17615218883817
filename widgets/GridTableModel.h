#pragma once

#include <QSqlTableModel>

#include <functional>

namespace pelmar {

class DataGrid;
class GridColumns;

// The model behind a DataGrid: the work table itself, shown through the
// grid's column properties (display format, alignment) and kept from the
// user's edits where a column is locked or the whole grid is a list.
class GridTableModel : public QSqlTableModel {
    Q_OBJECT
public:
    // A note the page puts on a cell (row, column), empty for none: a cell
    // with a note is tinted and shows the note as its tool tip.
    using CellNote = std::function<QString(int row, int column)>;

    GridTableModel(QObject *parent, const QSqlDatabase &db, const GridColumns &columns);

    void setReadOnly(bool readOnly);

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    const GridColumns &m_columns; // the grid's, which outlives its model
    bool m_readOnly = false;
    CellNote m_cellNote;
    // The program's own writes reach locked columns; only the user is kept out.
    bool m_programWrite = false;
    friend class DataGrid;
};

} // namespace pelmar
