#pragma once

#include <QList>

namespace pelmar {

struct ReadyAtStart;
class TabPage;

// The window's pages and the orders it runs them in. Binding, set-up and
// release go in the order of the tabs. The pages load in their own order,
// the one whose messages a user sees when reads fail: the statement page
// first, as it readies the shift-type reference the others pick from, the
// settings (which hand on the pay settings) before the two masters. After a
// bulk delete they empty in a third order, the statement page last.
class PageSet {
public:
    PageSet() = default;
    PageSet(QList<TabPage *> tabOrder, QList<TabPage *> loadOrder, QList<TabPage *> clearOrder);

    const QList<TabPage *> &pages() const { return m_tabOrder; }

    // Once the files are open: every page bound, then every page set up.
    void bindAndSetUp() const;
    void bind() const;
    void release() const;
    void load(const ReadyAtStart &ready) const;
    void clear() const;
    // Every page may let its unsaved edits go; the first that may not stops.
    bool confirmDiscardEdits() const;

private:
    QList<TabPage *> m_tabOrder;
    QList<TabPage *> m_loadOrder;
    QList<TabPage *> m_clearOrder;
};

} // namespace pelmar
