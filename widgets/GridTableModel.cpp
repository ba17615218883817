#include "widgets/GridTableModel.h"

#include "calc/Formats.h"
#include "widgets/GridColumn.h"

#include <QColor>

namespace pelmar {

GridTableModel::GridTableModel(QObject *parent, const QSqlDatabase &db, const GridColumns &columns)
    : QSqlTableModel(parent, db),
      m_columns(columns)
{
    // Every accepted cell edit goes to its row at once.
    setEditStrategy(QSqlTableModel::OnFieldChange);
}

void GridTableModel::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
}

QVariant GridTableModel::data(const QModelIndex &index, int role) const
{
    if (role == Qt::DisplayRole)
        return fmt::format(QSqlTableModel::data(index, Qt::EditRole), m_columns.at(index.column()).format);
    if (role == Qt::TextAlignmentRole) {
        const Qt::Alignment horizontal = m_columns.at(index.column()).alignment & Qt::AlignHorizontal_Mask;
        if (!horizontal)
            return QVariant();
        return int(horizontal | Qt::AlignVCenter);
    }
    if ((role == Qt::BackgroundRole || role == Qt::ToolTipRole) && m_cellNote) {
        const QString note = m_cellNote(index.row(), index.column());
        if (!note.isEmpty())
            return role == Qt::ToolTipRole ? QVariant(note) : QVariant(QColor(255, 205, 150));
    }
    return QSqlTableModel::data(index, role);
}

Qt::ItemFlags GridTableModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QSqlTableModel::flags(index);
    if (!m_programWrite && (m_readOnly || m_columns.at(index.column()).locked))
        f &= ~Qt::ItemIsEditable;
    return f;
}

} // namespace pelmar
