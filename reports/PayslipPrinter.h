#pragma once

#include "reports/PayslipLayout.h"

#include <QFont>
#include <QList>
#include <QPageLayout>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <functional>

class QPaintDevice;
class QPainter;
class QPrintPreviewDialog;
class QPrinter;
class QWidget;

namespace pelmar::payslip {

// A4 portrait with half-inch (720-twip) margins all round: 11906 - 2 * 720
// leaves 10466 twips, enough for the 10455 the layout needs.
QPageLayout pageLayout();

// The font family that stands in for a family the layout names: the named
// one when the system has it, otherwise IPA P Gothic or IPA P Mincho.
QString resolvedFamily(const QString &layoutFamily);

// A text as it is drawn in its box.
struct FittedText {
    qreal pointSize = 0;
    QStringList lines; // top to bottom, one line apart
    bool cut = false; // ends in "…"; in a box of several lines, later lines are left out
    bool overflows = false; // wider than the box even at the smallest size, and never cut
};

// How text goes into a box of the given size, measured in the units of
// device (a printer, a PDF writer, an image; null for the screen), starting
// from font's point size and following rule (see FitRule). A box that does
// not wrap holds one line, its line breaks read as spaces; its height is not
// a limit, as some boxes of the sheet are a little lower than their type.
FittedText fitText(const QFont &font, const QSizeF &box, const QString &text, const FitRule &rule,
                   QPaintDevice *device);

// Paints the sheet with its top left corner at the painter's origin, mapping
// twips to the units of the painter's device by the device's resolution, so
// the same call serves a printer, the preview and a PDF file.
void paintPayslip(QPainter &painter, const QList<PayslipItem> &items);

// Writes the sheet as a one-page A4 PDF, whole or not at all; false when
// the file cannot be written or is a place no export may go (*error says why).
bool writePayslipPdf(const QString &path, const QList<PayslipItem> &items, QString *error = nullptr);

// The print dialog can send the pages to a file of the user's choosing; a
// place no export may go is told with its reason and true is returned, and
// the caller then draws nothing. False for a printer, a preview, or a file
// that may be written.
bool refusesPrintFile(QPrinter *printer);

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
