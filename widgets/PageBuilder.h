#pragma once

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace pelmar {

// Small builders the pages share, so every page names and styles its
// controls the same way: the object name is always the control's design name.

inline QFrame *namedFrame(const QString &name, QWidget *parent)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFrameShadow(QFrame::Raised);
    return frame;
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

// The hint button of a page: a question mark, no caption text.
inline QToolButton *hintButton(const QString &name, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setToolTip(QStringLiteral("ヒント"));
    button->setAutoRaise(false);
    button->setIconSize(QSize(22, 22));
    return button;
}

} // namespace pelmar
