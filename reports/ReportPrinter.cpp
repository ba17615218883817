#include "reports/ReportPrinter.h"

#include "messages/ShowMsg.h"
#include "reports/PayslipPrinter.h"
#include "store/ExportFile.h"

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QToolBar>

namespace pelmar::reports {

namespace {

PreviewHook &previewHook()
{
    static PreviewHook hook;
    return hook;
}

SaveNameHook &saveNameHook()
{
    static SaveNameHook hook;
    return hook;
}

// Every page on the device, each from the printable area's top left.
bool paintPages(QPagedPaintDevice &device, const Document &document)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    for (qsizetype i = 0; i < document.pages.size(); ++i) {
        if (i > 0 && !device.newPage())
            return false;
        payslip::paintPayslip(painter, document.pages[i]);
    }
    return painter.end();
}

void tellNotWritten(const QString &path)
{
    ShowMsg(msg::エラー書出し, QDir::toNativeSeparators(path));
}

// A place no export may go is told with its reason before anything is drawn.
bool refusedPlace(const QString &path)
{
    const QString why = exportfile::refusal(path);
    if (why.isEmpty())
        return false;
    ShowMsg(msg::エラー書出し先, QDir::toNativeSeparators(path) + QStringLiteral("\n理由: ") + why);
    return true;
}

} // namespace

QPageLayout pageLayoutOf(bool landscape)
{
    QPageLayout layout = payslip::pageLayout();
    layout.setOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    return layout;
}

bool writePdf(const QString &path, const Document &document, QString *error)
{
    // Refused before the pages are drawn, and drawn whole before the file is
    // touched: the file is written in one go, or not at all.
    if (const QString refused = exportfile::refusal(path); !refused.isEmpty()) {
        if (error)
            *error = refused;
        return false;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    bool painted = false;
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(pageLayoutOf(document.landscape));
        // One device unit is one twip.
        writer.setResolution(1440);
        writer.setTitle(document.name);
        writer.setCreator(QStringLiteral("Pelmar"));
        painted = paintPages(writer, document);
    }
    if (!painted) {
        if (error)
            *error = QStringLiteral("PDF を作れませんでした。");
        return false;
    }
    return exportfile::write(path, bytes, error);
}

QPrintPreviewDialog *createPreview(QWidget *parent, const Document &document, const QString &suggestedPdfName)
{
    auto *printer = new QPrinter(QPrinter::HighResolution);
    printer->setPageLayout(pageLayoutOf(document.landscape));
    printer->setDocName(document.name);
    auto *dialog = new QPrintPreviewDialog(printer, parent);
    dialog->setWindowTitle(document.name);
    QObject::connect(dialog, &QObject::destroyed, [printer] { delete printer; });
    QObject::connect(dialog, &QPrintPreviewDialog::paintRequested, dialog, [document](QPrinter *target) {
        if (!payslip::refusesPrintFile(target))
            paintPages(*target, document);
    });
    if (auto *toolBar = dialog->findChild<QToolBar *>()) {
        toolBar->addSeparator();
        QAction *save = toolBar->addAction(QStringLiteral("PDFで保存"));
        save->setObjectName(QStringLiteral("actionSavePdf"));
        QObject::connect(save, &QAction::triggered, dialog,
                         [dialog, document, suggestedPdfName] { savePdf(dialog, document, suggestedPdfName); });
    }
    return dialog;
}

void showPreview(QWidget *parent, const Document &document, const QString &suggestedPdfName)
{
    if (previewHook()) {
        previewHook()(document, suggestedPdfName);
        return;
    }
    QPointer<QPrintPreviewDialog> dialog = createPreview(parent, document, suggestedPdfName);
    dialog->resize(900, 800);
    dialog->exec();
    delete dialog;
}

QString askSavePath(QWidget *parent, const QString &caption, const QString &suggestedName, const QString &extension)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString suggested = folder.isEmpty() ? suggestedName : QDir(folder).filePath(suggestedName);
    QString path = saveNameHook()
        ? saveNameHook()(suggested)
        : QFileDialog::getSaveFileName(parent, caption, suggested,
                                       QStringLiteral("%1 (*.%2)").arg(extension.toUpper(), extension));
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += u'.' + extension;
    return path;
}

bool savePdf(QWidget *parent, const Document &document, const QString &suggestedName)
{
    const QString path = askSavePath(parent, QStringLiteral("PDFで保存"), suggestedName, QStringLiteral("pdf"));
    if (path.isEmpty() || refusedPlace(path))
        return false;
    if (!writePdf(path, document)) {
        tellNotWritten(path);
        return false;
    }
    ShowMsg(msg::その他保存完了, QDir::toNativeSeparators(path));
    return true;
}

bool saveCsv(QWidget *parent, const QList<csv::Record> &records, const QString &suggestedName)
{
    const QString path = askSavePath(parent, QStringLiteral("CSVで保存"), suggestedName, QStringLiteral("csv"));
    if (path.isEmpty() || refusedPlace(path))
        return false;
    if (!csv::writeFile(path, records)) {
        tellNotWritten(path);
        return false;
    }
    ShowMsg(msg::その他保存完了, QDir::toNativeSeparators(path));
    return true;
}

void setPreviewHook(PreviewHook hook)
{
    previewHook() = std::move(hook);
}

void setSaveNameHook(SaveNameHook hook)
{
    saveNameHook() = std::move(hook);
}

} // namespace pelmar::reports
