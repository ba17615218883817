#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <optional>

namespace pelmar {

class YenSpinBox;

// A control of the dialogs, made with its object name.
template <typename T> T *named(const QString &name, QWidget *parent)
{
    auto *control = new T(parent);
    control->setObjectName(name);
    return control;
}

// Whole yen typed in a table cell, read as the grid reads numbers: commas
// only between groups of three ("220,000", never "2,2,0" for 220), a
// trailing 円 allowed; nothing for anything else, fractions included.
std::optional<qint64> typedWholeYen(const QString &text);

// A box of whole yen from 0 to maxYen, read as the grid reads numbers.
YenSpinBox *yenBox(const QString &name, QWidget *parent, int maxYen = 9'999'999);

// Makes the dialog tell what its yen boxes refuse. Each box is known in
// messages by its accessible name, or else by the caption of its label (a
// form row's label, or a label whose buddy it is). Text a box refused as it
// was left is told once the focus has moved, unless 保存 (which the focus
// moved to) told it first.
void tellRefusedEntries(QWidget *dialog, const QList<YenSpinBox *> &boxes);

// One line for each box whose text is no amount: refused as the box was
// left, or still in it.
QStringList unreadAmounts(const QList<YenSpinBox *> &boxes);
// After unreadAmounts' lines were told: the boxes' refusals are told.
void forgetRefusals(const QList<YenSpinBox *> &boxes);

} // namespace pelmar
