#include "app/Look.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QSettings>
#include <QTranslator>
#include <QWidget>

namespace pelmar {

QString uiFontFamily()
{
    const QStringList families = QFontDatabase::families();
    for (const QString &wanted : {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                                  QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック")}) {
        if (families.contains(wanted))
            return wanted;
    }
    return QStringLiteral("IPAPGothic");
}

QFont uiFont()
{
    QFont font(uiFontFamily());
    font.setPointSizeF(10);
    return font;
}

bool installJapaneseTranslation(QCoreApplication &app)
{
    auto *translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
        return true;
    }
    delete translator;
    return false;
}

QPixmap bannerPixmap()
{
    QPixmap pixmap(468, 60);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, 468, 0);
    gradient.setColorAt(0, QColor(0x1f, 0x5f, 0x9f));
    gradient.setColorAt(1, QColor(0x4f, 0x9f, 0xcf));
    painter.setBrush(gradient);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(0.5, 0.5, 467, 59), 6, 6);
    painter.setPen(Qt::white);
    QFont title(uiFontFamily());
    title.setPixelSize(22);
    title.setBold(true);
    painter.setFont(title);
    painter.drawText(QRectF(16, 4, 440, 30), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Pelmar ヘルプ"));
    QFont line(uiFontFamily());
    line.setPixelSize(13);
    painter.setFont(line);
    painter.drawText(QRectF(16, 32, 440, 22), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("使い方・よくある質問はこちらをクリック"));
    return pixmap;
}

void restoreWindowGeometry(QWidget *window)
{
    const QByteArray geometry = QSettings(QStringLiteral("Pelmar"), QStringLiteral("Pelmar"))
                                    .value(QStringLiteral("window/geometry"))
                                    .toByteArray();
    if (!geometry.isEmpty())
        window->restoreGeometry(geometry);
}

void keepWindowGeometry(const QWidget *window)
{
    QSettings(QStringLiteral("Pelmar"), QStringLiteral("Pelmar"))
        .setValue(QStringLiteral("window/geometry"), window->saveGeometry());
}

} // namespace pelmar
