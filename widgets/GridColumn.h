#pragma once

#include <QHash>
#include <QString>

#include <optional>

namespace pelmar {

class DataGrid;

// Everything a grid knows about one of its columns: how it is headed and
// sized, how its values show, and what the user may type into it. The grid
// keeps these from the moment a page sets them, before the first refresh
// and across every refresh; the model and the delegate read them there.
struct GridColumn {
    std::optional<QString> caption; // none: the table's column name
    bool hidden = false;
    int widthPixels = -1; // -1: as the view sizes it
    Qt::Alignment alignment = {}; // none: the style's own
    QString format; // a calc/Formats display pattern
    QString mask; // "Date Mask" or "##:##"
    bool locked = false; // the user cannot edit it
    bool checkBox = false; // a tick box: -1 ticked, 0 not
    DataGrid *dropDown = nullptr; // the list opened from its cells
};

// The columns of a grid, by column index of the table. A column never set
// reads as the defaults.
class GridColumns {
public:
    const GridColumn &at(int column) const
    {
        static const GridColumn none;
        const auto it = m_columns.constFind(column);
        return it == m_columns.constEnd() ? none : *it;
    }
    GridColumn &edit(int column) { return m_columns[column]; }

    auto begin() const { return m_columns.constKeyValueBegin(); }
    auto end() const { return m_columns.constKeyValueEnd(); }

private:
    QHash<int, GridColumn> m_columns;
};

} // namespace pelmar
