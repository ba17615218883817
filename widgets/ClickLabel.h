#pragma once

#include <QLabel>

namespace pelmar {

// A label (the banner picture) that reports a click.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

} // namespace pelmar
