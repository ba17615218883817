#include "widgets/DataGrid.h"

#include "calc/Formats.h"

namespace pelmar {

// The model behind a grid: the work table plus how its columns show.

GridTableModel::GridTableModel(QObject *parent, const QSqlDatabase &db)
    : QSqlTableModel(parent, db)
{
    // Every accepted cell edit goes to its row at once.
    setEditStrategy(QSqlTableModel::OnFieldChange);
}

void GridTableModel::setColumnFormat(int column, const QString &pattern)
{
    m_formats.insert(column, pattern);
}

QString GridTableModel::columnFormat(int column) const { return m_formats.value(column); }

void GridTableModel::setColumnAlignment(int column, Qt::Alignment alignment)
{
    m_alignments.insert(column, alignment);
}

Qt::Alignment GridTableModel::columnAlignment(int column) const { return m_alignments.value(column); }

void GridTableModel::setColumnLocked(int column, bool locked)
{
    if (locked)
        m_locked.insert(column);
    else
        m_locked.remove(column);
}

bool GridTableModel::isColumnLocked(int column) const { return m_locked.contains(column); }

void GridTableModel::setReadOnly(bool readOnly) { m_readOnly = readOnly; }

QVariant GridTableModel::data(const QModelIndex &index, int role) const
{
    if (role == Qt::DisplayRole)
        return fmt::format(QSqlTableModel::data(index, Qt::EditRole), m_formats.value(index.column()));
    if (role == Qt::TextAlignmentRole) {
        const auto it = m_alignments.constFind(index.column());
        if (it == m_alignments.constEnd() || !(*it & Qt::AlignHorizontal_Mask))
            return QVariant();
        return int((*it & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter);
    }
    return QSqlTableModel::data(index, role);
}

Qt::ItemFlags GridTableModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QSqlTableModel::flags(index);
    if (!m_programWrite && (m_readOnly || m_locked.contains(index.column())))
        f &= ~Qt::ItemIsEditable;
    return f;
}

// ---------------------------------------------------------------- grid

} // namespace pelmar
