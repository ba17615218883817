#include "widgets/RowHeader.h"

#include <QEvent>

namespace pelmar {

RowHeader::RowHeader(QWidget *parent) : QHeaderView(Qt::Vertical, parent)
{
}

QSize RowHeader::sizeHint() const
{
    const int rows = count();
    int first = 0;
    while (first < rows && isSectionHidden(first))
        ++first;
    int last = rows - 1;
    while (last > first && isSectionHidden(last))
        --last;
    const Measured now{rows, first, last};
    if (now == m_measured)
        return m_hint;
    QSize hint(0, 0);
    if (first < rows) {
        hint = sectionSizeFromContents(first);
        if (last != first)
            hint = hint.expandedTo(sectionSizeFromContents(last));
    }
    m_hint = hint;
    m_measured = now;
    return m_hint;
}

void RowHeader::changeEvent(QEvent *event)
{
    // Another font or style gives other widths.
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        m_measured = {};
    QHeaderView::changeEvent(event);
}

} // namespace pelmar
