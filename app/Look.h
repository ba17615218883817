#pragma once

#include <QFont>
#include <QIcon>
#include <QPixmap>

class QCoreApplication;

namespace pelmar {

// The caption font: ＭＳ Ｐゴシック where the system has it, IPA P Gothic otherwise.
QString uiFontFamily();
QFont uiFont();

// Qt's own dialog buttons in Japanese (はい / いいえ).
bool installJapaneseTranslation(QCoreApplication &app);

// The support banner of the information page.
QPixmap bannerPixmap();

} // namespace pelmar
