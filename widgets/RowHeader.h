#pragma once

#include <QHeaderView>

namespace pelmar {

// The row numbers down a grid's left edge. A plain header works out its
// width by laying out up to two hundred of its labels each time the grid's
// rows or columns change, many times over while the pages are set up. Its
// labels here are the row numbers (the grids never add rows of their own to
// the model, so no row shows a mark instead), and the widest is the last
// shown row's: it and the first shown row's are measured, once for each
// number of rows and rows shown at the ends.
class RowHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit RowHeader(QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    void changeEvent(QEvent *event) override;

private:
    // What the hint was measured for: the number of rows and the first and
    // last of them shown; nothing after a change of font or style.
    struct Measured {
        int count = -1;
        int first = -1;
        int last = -1;
        bool operator==(const Measured &) const = default;
    };
    mutable Measured m_measured;
    mutable QSize m_hint;
};

} // namespace pelmar
