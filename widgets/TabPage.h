#pragma once

#include <QWidget>

namespace pelmar {

// A page of the window's tabs. The tabs ask every page for its sizes so that
// the window is never smaller than its largest page; measuring a page means
// laying out each caption, note and button on it, which is most of what
// showing the window costs. A page that has never been on screen therefore
// asks for no room: it is measured the first time it is shown, and from then
// on it counts as before, shown or not.
class TabPage : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Whether the page has been laid out for the screen yet.
    bool measured() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool m_shown = false;
};

} // namespace pelmar
