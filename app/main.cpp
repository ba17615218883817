// Pelmar: pay statements for part-time staff paid by the hour.
#include "app/DataFolder.h"
#include "app/FrmPelmar.h"
#include "app/Look.h"
#include "app/SingleInstance.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QMessageBox>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelmar"));
    pelmar::installJapaneseTranslation(app);
    QApplication::setFont(pelmar::uiFont());

    const QString dataPath =
        pelmar::DataFolder(QCoreApplication::applicationDirPath(), pelmar::platformDataFolderRule());

    // A copy already running on this data comes to the front instead. When
    // this copy can neither reach a running one nor become the running copy
    // itself, a second copy could open the same work database unnoticed, so
    // it stops before opening anything.
    pelmar::SingleInstance instance(pelmar::SingleInstance::keyFor(dataPath));
    switch (pelmar::decideStart(instance)) {
    case pelmar::StartDecision::Run:
        break;
    case pelmar::StartDecision::AlreadyRunning:
        return 0;
    case pelmar::StartDecision::CannotGuard: {
        const QString message =
            QStringLiteral("Pelmar をもう一つ起動しているか、起動の準備ができませんでした。\n\n"
                           "このデータフォルダー（%1）で Pelmar が一つだけ動いていることを確かめられないため、"
                           "データを守るために起動を取りやめます。\n\n"
                           "ほかに開いている Pelmar があれば閉じてから、もう一度起動してください。"
                           "それでも起動できないときは、パソコンを再起動してからお試しください。")
                .arg(QDir::toNativeSeparators(dataPath));
        qCritical().noquote() << message;
        QMessageBox::critical(nullptr, QStringLiteral("Pelmar"), message);
        return 1;
    }
    }

    FrmPelmar window(dataPath);
    if (!window.isOpen()) {
        QMessageBox::critical(nullptr, QStringLiteral("Pelmar"), window.openError());
        return 1;
    }
    QObject::connect(&instance, &pelmar::SingleInstance::activationRequested, &window, &FrmPelmar::bringToFront);
    QObject::connect(&window, &FrmPelmar::unloaded, &app, [] { QCoreApplication::exit(0); });
    window.setWindowState(Qt::WindowNoState);
    window.show();
    return app.exec();
}
