// Pelmar: pay statements for part-time staff paid by the hour.
#include "app/DataFolder.h"
#include "app/FrmPelmar.h"
#include "app/Look.h"
#include "app/SingleInstance.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelmar"));
    pelmar::installJapaneseTranslation(app);
    QApplication::setFont(pelmar::uiFont());

    const QString dataPath =
        pelmar::DataFolder(QCoreApplication::applicationDirPath(), pelmar::platformDataFolderRule());

    // A copy already running on this data comes to the front instead.
    pelmar::SingleInstance instance(pelmar::SingleInstance::keyFor(dataPath));
    if (instance.notifyRunning())
        return 0;
    if (!instance.listen() && instance.notifyRunning())
        return 0;

    FrmPelmar window(dataPath);
    if (!window.isOpen()) {
        QMessageBox::critical(nullptr, QStringLiteral("Pelmar"), window.openError());
        return 1;
    }
    QObject::connect(&instance, &pelmar::SingleInstance::activationRequested, &window,
                     &FrmPelmar::bringToFront);
    QObject::connect(&window, &FrmPelmar::unloaded, &app, [] { QCoreApplication::exit(0); });
    window.setWindowState(Qt::WindowNoState);
    window.show();
    return app.exec();
}
