#pragma once

#include "statements/PayslipLayout.h"

#include <QList>
#include <QPageLayout>
#include <QString>

#include <functional>

class QPainter;
class QPrintPreviewDialog;
class QWidget;

namespace pelmar::payslip {

// A4 portrait with half-inch (720-twip) margins all round: 11906 - 2 * 720
// leaves 10466 twips, enough for the 10455 the layout needs.
QPageLayout pageLayout();

// The font family that stands in for a family the layout names: the named
// one when the system has it, otherwise IPA P Gothic or IPA P Mincho.
QString resolvedFamily(const QString &layoutFamily);

// Paints the sheet with its top left corner at the painter's origin, mapping
// twips to the units of the painter's device by the device's resolution, so
// the same call serves a printer, the preview and a PDF file.
void paintPayslip(QPainter &painter, const QList<PayslipItem> &items);

// Writes the sheet as a one-page A4 PDF; false when the file cannot be written.
bool writePayslipPdf(const QString &path, const QList<PayslipItem> &items);

// The print preview of the sheet, with its print command and a "PDFで保存"
// action that offers suggestedPdfName in a file dialog. Not yet shown.
QPrintPreviewDialog *createPayslipPreview(QWidget *parent, const QList<PayslipItem> &items,
                                          const QString &suggestedPdfName);

// Shows that preview and returns when the user closes it.
void showPayslipPreview(QWidget *parent, const QList<PayslipItem> &items, const QString &suggestedPdfName);

// While set, showPayslipPreview hands the sheet here instead of opening the
// preview. An empty function restores the preview.
using PreviewHook = std::function<void(const QList<PayslipItem> &items, const QString &suggestedPdfName)>;
void setPreviewHook(PreviewHook hook);

// While set, "PDFで保存" takes its file name from here instead of a file
// dialog; an empty result cancels. An empty function restores the dialog.
using SaveNameHook = std::function<QString(const QString &suggestedPath)>;
void setSaveNameHook(SaveNameHook hook);

} // namespace pelmar::payslip
