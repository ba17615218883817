#pragma once

#include "widgets/DataGrid.h"

#include <optional>
#include <vector>

namespace pelmar {

// The layout of one grid column as the pages declare it, written with
// designated initialisers ({.column = 2, .widthTwips = 780, ...}). A caption
// that is not given keeps the column's own name; an empty one shows none.
struct ColumnLayout {
    int column = 0;
    std::optional<QString> caption = {};
    double widthTwips = 0; // 0: keep
    Qt::Alignment alignment = {}; // none: keep
    QString format = {};
    QString mask = {};
    bool hidden = false;
    bool locked = false;
};

inline void applyColumnLayout(DataGrid *grid, const std::vector<ColumnLayout> &layout)
{
    for (const ColumnLayout &c : layout) {
        grid->setColumnVisible(c.column, !c.hidden);
        if (c.caption)
            grid->setColumnCaption(c.column, *c.caption);
        if (c.widthTwips > 0)
            grid->setColumnWidthTwips(c.column, c.widthTwips);
        if (c.alignment)
            grid->setColumnAlignment(c.column, c.alignment);
        if (!c.format.isEmpty())
            grid->setColumnFormat(c.column, c.format);
        if (!c.mask.isEmpty())
            grid->setColumnMask(c.column, c.mask);
        if (c.locked)
            grid->setColumnLocked(c.column, true);
    }
}

} // namespace pelmar
