#pragma once

class QWidget;

namespace pelmar {

// Switches Japanese input on (open) or off for a widget. On Windows this is
// the input-method context's open status; elsewhere the widget (and any cell
// editor a grid creates later) is told whether it takes composed input, and
// a direct-input widget asks the input method for Latin text only.
void ImeSetOpen(QWidget *widget, bool open);

// Whether ImeSetOpen last asked this widget for Japanese input.
bool imeWantsOpen(const QWidget *widget);

} // namespace pelmar
