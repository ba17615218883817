#pragma once

#include <QFont>
#include <QIcon>
#include <QPixmap>

class QCoreApplication;
class QWidget;

namespace pelmar {

// The caption font: ＭＳ Ｐゴシック where the system has it, IPA P Gothic otherwise.
QString uiFontFamily();
QFont uiFont();

// Qt's own dialog buttons in Japanese (はい / いいえ).
bool installJapaneseTranslation(QCoreApplication &app);

// The support banner of the information page.
QPixmap bannerPixmap();

// The size and place a window had when the program last closed, and keeping
// them for the next start. They are the user's and the screen's, not the
// shop's data: they live in the user's settings, never in the data files.
void restoreWindowGeometry(QWidget *window);
void keepWindowGeometry(const QWidget *window);

} // namespace pelmar
