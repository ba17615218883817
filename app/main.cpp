// Pelmar: pay statements for part-time staff paid by the hour.
#include "app/CommandLine.h"
#include "app/DataFolder.h"
#include "app/FirstStart.h"
#include "app/FrmPelmar.h"
#include "app/Look.h"
#include "app/SingleInstance.h"
#include "store/Reasons.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

namespace {

// Before the first question, so that it speaks in the program's font with
// はい / いいえ.
void prepareLook(QApplication &app)
{
    // The desktop matches the window with the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("pelmar"));
    pelmar::installJapaneseTranslation(app);
    QApplication::setFont(pelmar::uiFont());
}

// No data anywhere: the user may have an empty pair made, or end here. The
// exit code when the program ends here.
std::optional<int> offerData(const QString &programFolder, const pelmar::DataFolderRule &rule, const QString &dataPath)
{
    switch (pelmar::offerFirstStart(programFolder, rule, dataPath)) {
    case pelmar::FirstStart::Go:
    case pelmar::FirstStart::Created:
        return std::nullopt;
    case pelmar::FirstStart::Declined:
        return 0;
    case pelmar::FirstStart::Failed:
        return 1;
    }
    return std::nullopt;
}

// One copy per data folder: the lock inside the folder decides, before
// anything is opened. A copy already running comes to the front instead.
// The lock is taken before the application gets its display name, so that
// the name recorded in the lock file is the program file's, which is what
// the liveness check of a later start compares it with. The exit code when
// the program ends here.
std::optional<int> guardDataFolder(QLockFile &lock, pelmar::SingleInstance &instance, const QString &dataPath)
{
    // A lock whose holder does not answer is never a silent end: who holds
    // it is said, and one that cannot be checked from here may be taken over.
    const pelmar::StartDecision decision = pelmar::startOnDataFolder(lock, instance);

    QApplication::setApplicationName(QStringLiteral("Pelmar"));
    switch (decision) {
    case pelmar::StartDecision::Run:
        return std::nullopt;
    case pelmar::StartDecision::AlreadyRunning:
    case pelmar::StartDecision::HeldUnchecked:
    case pelmar::StartDecision::HeldUnreachable:
        return 0;
    case pelmar::StartDecision::StaleStuck:
        return 1;
    case pelmar::StartDecision::CannotGuard:
        break;
    }
    // Without the folder there is no data either; opening tells so.
    if (!QFileInfo(dataPath).isDir())
        return std::nullopt;
    const QString message =
        pelmar::reasons::cannotGuardDataFolder(QDir::toNativeSeparators(dataPath), pelmar::kLockFileName);
    qCritical().noquote() << message;
    QMessageBox::critical(nullptr, QStringLiteral("Pelmar"), message);
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    // The exports, --help and --version need no window and no display.
    if (const std::optional<int> done = pelmar::cli::run(argc, argv))
        return *done;
    QApplication app(argc, argv);
    prepareLook(app);
    const QString programFolder = QCoreApplication::applicationDirPath();
    const pelmar::DataFolderRule rule = pelmar::platformDataFolderRule();
    const QString dataPath = pelmar::DataFolder(programFolder, rule);
    if (const std::optional<int> end = offerData(programFolder, rule, dataPath))
        return *end;

    QLockFile lock(QDir(dataPath).filePath(pelmar::kLockFileName));
    pelmar::SingleInstance instance(pelmar::SingleInstance::keyFor(dataPath));
    if (const std::optional<int> end = guardDataFolder(lock, instance, dataPath))
        return *end;

    FrmPelmar window(dataPath);
    if (!window.isOpen()) {
        QMessageBox::critical(nullptr, QStringLiteral("Pelmar"), window.openError());
        return 1;
    }
    QObject::connect(&instance, &pelmar::SingleInstance::activationRequested, &window, &FrmPelmar::bringToFront);
    QObject::connect(&window, &FrmPelmar::unloaded, &app, [] { QCoreApplication::exit(0); });
    window.setWindowState(Qt::WindowNoState);
    window.rememberWindowGeometry();
    window.show();
    return app.exec();
}
