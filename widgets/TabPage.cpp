#include "widgets/TabPage.h"

namespace pelmar {

bool TabPage::measured() const
{
    // The page the tabs start on is not hidden: it is measured with the
    // window, before its first show event.
    return m_shown || !isHidden();
}

QSize TabPage::sizeHint() const
{
    return measured() ? QWidget::sizeHint() : QSize(0, 0);
}

QSize TabPage::minimumSizeHint() const
{
    return measured() ? QWidget::minimumSizeHint() : QSize(0, 0);
}

void TabPage::load(const ReadyAtStart &ready)
{
    m_ready = &ready;
    loadPage();
    m_ready = nullptr;
}

void TabPage::showEvent(QShowEvent *event)
{
    // Showing a hidden page has its tabs lay out again, and from now on its
    // sizes count in theirs even while another page is in front.
    m_shown = true;
    QWidget::showEvent(event);
}

} // namespace pelmar
