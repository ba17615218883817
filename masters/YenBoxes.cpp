#include "masters/YenBoxes.h"

#include "calc/Formats.h"
#include "calc/TypedText.h"
#include "messages/ShowMsg.h"
#include "widgets/YenSpinBox.h"

#include <QLabel>
#include <QLocale>

#include <cmath>

namespace pelmar {

std::optional<qint64> typedWholeYen(const QString &text)
{
    QString plain = text.trimmed();
    if (plain.endsWith(u'円'))
        plain.chop(1);
    const std::optional<double> number = fmt::parseTypedNumber(plain);
    if (!number || *number != std::floor(*number))
        return std::nullopt;
    return qint64(*number);
}

YenSpinBox *yenBox(const QString &name, QWidget *parent, int maxYen)
{
    auto *box = named<YenSpinBox>(name, parent);
    box->setRange(0, maxYen);
    box->setGroupSeparatorShown(true);
    box->setSuffix(QStringLiteral(" 円"));
    box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return box;
}

namespace {

QString labelCaption(const YenSpinBox *box)
{
    const QWidget *owner = box->parentWidget();
    if (!owner)
        return QString();
    for (const QLabel *label : owner->findChildren<QLabel *>())
        if (label->buddy() == box)
            return label->text();
    return QString();
}

} // namespace

void tellRefusedEntries(QWidget *dialog, const QList<YenSpinBox *> &boxes)
{
    for (YenSpinBox *box : boxes) {
        if (box->accessibleName().isEmpty())
            box->setAccessibleName(labelCaption(box));
        QObject::connect(
            box, &YenSpinBox::entryRefused, dialog,
            [box] {
                if (box->refusedEntry().isEmpty())
                    return;
                ShowMsg(msg::入力範囲外, typed::refusedEntry(box->accessibleName(), box->refusedEntry()));
                box->forgetRefusal();
            },
            Qt::QueuedConnection);
    }
}

QStringList unreadAmounts(const QList<YenSpinBox *> &boxes)
{
    QStringList problems;
    for (const YenSpinBox *box : boxes) {
        QString refused = box->refusedEntry();
        if (refused.isEmpty() && !box->typedAmount())
            refused = box->typedText();
        if (!refused.isEmpty())
            problems << QStringLiteral("%1「%2」は金額として読めません（例 12,300、0 から %3 円）。")
                            .arg(box->accessibleName(), refused, QLocale(QLocale::English).toString(box->maximum()));
    }
    return problems;
}

void forgetRefusals(const QList<YenSpinBox *> &boxes)
{
    for (YenSpinBox *box : boxes)
        box->forgetRefusal();
}

} // namespace pelmar
