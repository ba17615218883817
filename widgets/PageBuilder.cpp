#include "widgets/PageBuilder.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace pelmar {

QIcon hintIcon()
{
    static const QIcon icon = [] {
        QPixmap pixmap(44, 44);
        pixmap.setDevicePixelRatio(2);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(QColor(0xff, 0xd8, 0x4d));
        painter.setPen(QPen(QColor(0xb0, 0x88, 0x10), 1.2));
        painter.drawEllipse(QRectF(1, 1, 20, 20));
        QFont font;
        font.setPixelSize(15);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(QColor(0x5a, 0x3c, 0x00));
        painter.drawText(QRectF(1, 1, 20, 20), Qt::AlignCenter, QStringLiteral("?"));
        return QIcon(pixmap);
    }();
    return icon;
}

QHBoxLayout *buttonRow(QWidget *parent, std::initializer_list<RowButton> buttons, QWidget *owner)
{
    auto *row = owner ? new QHBoxLayout(owner) : new QHBoxLayout;
    for (const RowButton &b : buttons) {
        *b.button = namedButton(b.name, b.caption, parent);
        row->addWidget(*b.button);
    }
    row->addStretch(1);
    return row;
}

QFrame *buttonBar(const QString &frameName, QWidget *parent, std::initializer_list<RowButton> buttons, HintSlot hint)
{
    QFrame *frame = namedFrame(frameName, parent);
    QHBoxLayout *row = buttonRow(frame, buttons, frame);
    if (hint.button) {
        *hint.button = hintButton(hint.name, frame);
        row->addWidget(*hint.button);
    }
    return frame;
}

PageSkeleton::PageSkeleton(QWidget *page, const QString &pageName, const QString &frameName)
    : m_frame(namedFrame(frameName, page))
{
    page->setObjectName(pageName);
    auto *outer = new QVBoxLayout(page);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->addWidget(m_frame);
    m_body = new QVBoxLayout(m_frame);
}

QGridLayout *PageSkeleton::addGridSection(QFrame **frame, const QString &frameName)
{
    *frame = namedFrame(frameName, m_frame);
    m_body->addWidget(*frame);
    return new QGridLayout(*frame);
}

QFrame *PageSkeleton::addButtonBar(const QString &frameName, std::initializer_list<RowButton> buttons, HintSlot hint)
{
    QFrame *bar = buttonBar(frameName, m_frame, buttons, hint);
    m_body->addWidget(bar);
    return bar;
}

} // namespace pelmar
