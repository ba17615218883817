#pragma once

#include "reports/ReportLayout.h"
#include "store/Csv.h"

#include <QList>
#include <QPageLayout>
#include <QString>

#include <functional>

class QPrintPreviewDialog;
class QWidget;

// Printing and saving the reports of several pages: every slip of a title,
// the monthly summary and the wage ledger. The pages are drawn by the
// single slip's painter, on A4 with the slip's margins.
namespace pelmar::reports {

QPageLayout pageLayoutOf(bool landscape);

// Writes the document as a PDF of its pages, whole or not at all: an
// existing file stays as it was when writing fails. *error then says why.
bool writePdf(const QString &path, const Document &document, QString *error = nullptr);

// The print preview of the document, with its print command (the system's
// print dialog) and "PDFで保存". Not yet shown.
QPrintPreviewDialog *createPreview(QWidget *parent, const Document &document, const QString &suggestedPdfName);

// Shows that preview and returns when the user closes it.
void showPreview(QWidget *parent, const Document &document, const QString &suggestedPdfName);

// Asks where to save, offering suggestedName in the documents folder; the
// extension is added when the name has none. Empty when the user cancels.
QString askSavePath(QWidget *parent, const QString &caption, const QString &suggestedName, const QString &extension);

// Ask for a file and write the document or the records there; a file that
// cannot be written is told by name. False when nothing was written.
bool savePdf(QWidget *parent, const Document &document, const QString &suggestedName);
bool saveCsv(QWidget *parent, const QList<csv::Record> &records, const QString &suggestedName);

// While set, showPreview hands the document here instead of opening the
// preview. An empty function restores the preview.
using PreviewHook = std::function<void(const Document &document, const QString &suggestedPdfName)>;
void setPreviewHook(PreviewHook hook);

// While set, askSavePath takes the path from here instead of a file
// dialog; an empty result cancels. An empty function restores the dialog.
using SaveNameHook = std::function<QString(const QString &suggestedPath)>;
void setSaveNameHook(SaveNameHook hook);

} // namespace pelmar::reports
