#pragma once

#include <QWidget>

namespace pelmar {

// What start-up readied for the pages' first fill (store/ProgramState.h);
// a page only passes it on to its own reads.
struct ReadyAtStart;

// A page of the window's tabs. The tabs ask every page for its sizes so that
// the window is never smaller than its largest page; measuring a page means
// laying out each caption, note and button on it, which is most of what
// showing the window costs. A page that has never been on screen therefore
// asks for no room: it is measured the first time it is shown, and from then
// on it counts as before, shown or not.
//
// The window runs every page through the same few steps: bindData() and
// setUp() once the files are open, load() for the first fill and after a
// file was replaced, clear() after everything stored was deleted, and
// releaseData() before the work file closes or is replaced.
class TabPage : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Whether the page has been laid out for the screen yet.
    bool measured() const;

    // Binds the page's grids to their work tables; nothing is read yet.
    virtual void bindData() {}
    // Lets go of the work tables: the grids hold the work connection.
    virtual void releaseData() {}
    // Number formats and grid columns, once, after the first bindData().
    virtual void setUp() {}
    // The page from a clean start on what the files hold now. What `ready`
    // says start-up already did is not done again.
    void load(const ReadyAtStart &ready);
    // The page empty, as after everything stored was deleted.
    virtual void clear() = 0;
    // Edits typed on the page and not yet saved or registered.
    virtual bool hasUnsavedEdits() const { return false; }
    // Asks before unsaved edits would be thrown away with the whole file;
    // true when the page may let them go.
    virtual bool confirmDiscardEdits() { return true; }

signals:
    // A hint button of the page was pressed.
    void hintRequested(const QWidget *button);

protected:
    void showEvent(QShowEvent *event) override;
    // The page's own part of load().
    virtual void loadPage() = 0;
    // While load() runs, what start-up readied; nullptr at any other time,
    // when the page reads and writes everything itself.
    const ReadyAtStart *readyAtStart() const { return m_ready; }

private:
    bool m_shown = false;
    const ReadyAtStart *m_ready = nullptr;
};

} // namespace pelmar
