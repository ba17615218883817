#pragma once

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

#include <initializer_list>

class QGridLayout;
class QHBoxLayout;
class QVBoxLayout;

namespace pelmar {

// The builders the pages share, so every page names and styles its controls
// the same way: the object name is always the control's design name.

inline QFrame *namedFrame(const QString &name, QWidget *parent)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFrameShadow(QFrame::Raised);
    return frame;
}

// A control of the given kind under its design name.
template <class Control> Control *namedControl(const QString &name, QWidget *parent)
{
    auto *control = new Control(parent);
    control->setObjectName(name);
    return control;
}

inline QLabel *captionLabel(const QString &text, QWidget *parent, const QString &name = {})
{
    auto *label = new QLabel(text, parent);
    if (!name.isEmpty())
        label->setObjectName(name);
    return label;
}

inline QPushButton *namedButton(const QString &name, const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setMinimumWidth(72);
    return button;
}

// The question mark in a yellow disc of every hint button, and of the window.
QIcon hintIcon();

// The hint button of a page: a question mark, no caption text.
inline QToolButton *hintButton(const QString &name, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setToolTip(QStringLiteral("ヒント"));
    button->setAutoRaise(false);
    button->setIconSize(QSize(22, 22));
    button->setIcon(hintIcon());
    return button;
}

// A button of a button row: where the page keeps it, its name and caption.
struct RowButton {
    QPushButton **button;
    QString name;
    QString caption;
};

// The hint button that ends a page's button bar.
struct HintSlot {
    QToolButton **button;
    QString name;
};

// Named buttons left to right, kept to the left by a stretch; whatever the
// caller adds to the row afterwards stands at its right end. The row is
// installed on owner when one is given, else left for the caller to place.
QHBoxLayout *buttonRow(QWidget *parent, std::initializer_list<RowButton> buttons, QWidget *owner = nullptr);

// A button bar: a named frame holding a row of named buttons and, at its
// right end, the hint button when one is given. The caller places the frame.
QFrame *buttonBar(const QString &frameName, QWidget *parent, std::initializer_list<RowButton> buttons,
                  HintSlot hint = {});

// The skeleton every tab page shares: the page under its name, one named
// frame filling it four pixels in from its edge, whose vertical layout (body)
// takes the page's parts from top to bottom, the button bar last.
class PageSkeleton {
public:
    PageSkeleton(QWidget *page, const QString &pageName, const QString &frameName);

    QFrame *frame() const { return m_frame; }
    QVBoxLayout *body() const { return m_body; }

    // Adds a named frame to the body, below what is there, and returns the
    // grid its controls are laid out in.
    QGridLayout *addGridSection(QFrame **frame, const QString &frameName);

    // Adds the page's button bar to the bottom of the body and returns its frame.
    QFrame *addButtonBar(const QString &frameName, std::initializer_list<RowButton> buttons, HintSlot hint);

private:
    QFrame *m_frame;
    QVBoxLayout *m_body;
};

} // namespace pelmar
