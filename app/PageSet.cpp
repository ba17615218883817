#include "app/PageSet.h"

#include "widgets/TabPage.h"

namespace pelmar {

PageSet::PageSet(QList<TabPage *> tabOrder, QList<TabPage *> loadOrder, QList<TabPage *> clearOrder)
    : m_tabOrder(std::move(tabOrder)),
      m_loadOrder(std::move(loadOrder)),
      m_clearOrder(std::move(clearOrder))
{
}

void PageSet::bindAndSetUp() const
{
    // A page's set-up may measure its grids by what they are bound to.
    bind();
    for (TabPage *page : m_tabOrder)
        page->setUp();
}

void PageSet::bind() const
{
    for (TabPage *page : m_tabOrder)
        page->bindData();
}

void PageSet::release() const
{
    for (TabPage *page : m_tabOrder)
        page->releaseData();
}

void PageSet::load(const ReadyAtStart &ready) const
{
    for (TabPage *page : m_loadOrder)
        page->load(ready);
}

void PageSet::clear() const
{
    for (TabPage *page : m_clearOrder)
        page->clear();
}

bool PageSet::confirmDiscardEdits() const
{
    for (TabPage *page : m_tabOrder)
        if (!page->confirmDiscardEdits())
            return false;
    return true;
}

} // namespace pelmar
