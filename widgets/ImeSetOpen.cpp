#include "widgets/ImeSetOpen.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QWidget>

#ifdef Q_OS_WIN
#include <imm.h>
#include <windows.h>
#endif

namespace pelmar {

namespace {
const char *const kImeOpenProperty = "pelmarImeOpen";
}

void ImeSetOpen(QWidget *widget, bool open)
{
    if (!widget)
        return;
    widget->setProperty(kImeOpenProperty, open);
#ifdef Q_OS_WIN
    const HWND window = reinterpret_cast<HWND>(widget->winId());
    if (HIMC context = ImmGetContext(window)) {
        ImmSetOpenStatus(context, open ? TRUE : FALSE);
        ImmReleaseContext(window, context);
    }
#else
    // Composed (Japanese) input is what WA_InputMethodEnabled admits; the
    // hints keep a direct-input widget on Latin text where the input method
    // honours them.
    widget->setAttribute(Qt::WA_InputMethodEnabled, open);
    widget->setInputMethodHints(open ? Qt::ImhNone : (Qt::ImhPreferLatin | Qt::ImhNoPredictiveText));
    if (widget->hasFocus() && QGuiApplication::inputMethod())
        QGuiApplication::inputMethod()->update(Qt::ImEnabled | Qt::ImHints);
#endif
}

bool imeWantsOpen(const QWidget *widget)
{
    return widget && widget->property(kImeOpenProperty).toBool();
}

} // namespace pelmar
