#include "statements/PayslipPrinter.h"

#include "messages/ShowMsg.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QToolBar>

namespace pelmar::payslip {

namespace {

constexpr qreal kTwipsPerInch = 1440;
constexpr qreal kMarginTwips = 720;
constexpr qreal kRuleWidthTwips = 15; // 0.75 pt: a thin, clearly printed rule

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

// Twips to the units of one device.
struct TwipScale {
    qreal x = 1;
    qreal y = 1;
    QPointF point(QPointF twips) const { return {twips.x() * x, twips.y() * y}; }
    QRectF rect(const QRect &twips) const
    {
        return {twips.x() * x, twips.y() * y, twips.width() * x, twips.height() * y};
    }
};

TwipScale scaleOf(const QPaintDevice *device)
{
    if (!device)
        return {};
    return {device->logicalDpiX() / kTwipsPerInch, device->logicalDpiY() / kTwipsPerInch};
}

QFont fontFor(const PayslipItem &item)
{
    QFont font(resolvedFamily(item.fontFamily));
    font.setPointSizeF(item.pointSize);
    font.setWeight(QFont::Weight(item.weight));
    font.setItalic(item.italic);
    return font;
}

void paintText(QPainter &painter, const PayslipItem &item, const TwipScale &scale)
{
    if (item.text.isEmpty())
        return;
    painter.setFont(fontFor(item));
    QString text = item.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    const QRectF box = scale.rect(item.rect);
    // Boxes made for several lines (the company details) wrap at their width;
    // a one-line box never breaks an amount or a name in two, and a text too
    // wide for it runs over the edge opposite its alignment rather than being cut.
    int flags = int(item.alignment & Qt::AlignHorizontal_Mask) | Qt::AlignTop | Qt::TextDontClip;
    const QFontMetricsF metrics(painter.font(), painter.device());
    if (box.height() >= 2 * metrics.lineSpacing())
        flags |= Qt::TextWordWrap;
    painter.drawText(box, flags, text);
}

void paintLine(QPainter &painter, const PayslipItem &item, const TwipScale &scale)
{
    QPen pen(Qt::black);
    pen.setWidthF(kRuleWidthTwips * scale.y);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    painter.drawLine(QLineF(scale.point(item.line.p1()), scale.point(item.line.p2())));
}

QString defaultPdfPath(const QString &suggestedPdfName)
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return folder.isEmpty() ? suggestedPdfName : QDir(folder).filePath(suggestedPdfName);
}

void savePdfFromPreview(QWidget *dialog, const QList<PayslipItem> &items, const QString &suggestedPdfName)
{
    const QString suggested = defaultPdfPath(suggestedPdfName);
    const QString title = QStringLiteral("PDFで保存");
    QString path = saveNameHook()
        ? saveNameHook()(suggested)
        : QFileDialog::getSaveFileName(dialog, title, suggested, QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    if (!writePayslipPdf(path, items))
        ShowMsg(QStringLiteral("その他"), QStringLiteral("メッセージ"),
                QStringLiteral("%1 に書き込めませんでした。").arg(QDir::toNativeSeparators(path)));
}

} // namespace

QPageLayout pageLayout()
{
    const qreal margin = kMarginTwips / 20; // points
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(margin, margin, margin, margin), QPageLayout::Point);
}

QString resolvedFamily(const QString &layoutFamily)
{
    QStringList candidates{layoutFamily};
    QString standIn = layoutFamily;
    // The English names, then IPA's own names in both spellings: under a
    // Japanese locale the font database lists IPA fonts by their Japanese names.
    if (layoutFamily == kGothic) {
        candidates << QStringLiteral("MS PGothic") << QStringLiteral("IPAPGothic") << QStringLiteral("IPA Pゴシック");
        standIn = QStringLiteral("IPAPGothic");
    } else if (layoutFamily == kMincho) {
        candidates << QStringLiteral("MS PMincho") << QStringLiteral("IPAPMincho") << QStringLiteral("IPA P明朝");
        standIn = QStringLiteral("IPAPMincho");
    }
    const QStringList families = QFontDatabase::families();
    for (const QString &family : candidates)
        if (families.contains(family))
            return family;
    return standIn;
}

void paintPayslip(QPainter &painter, const QList<PayslipItem> &items)
{
    const TwipScale scale = scaleOf(painter.device());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(Qt::black);
    for (const PayslipItem &item : items) {
        if (item.drawsText()) {
            painter.setPen(Qt::black);
            paintText(painter, item, scale);
        } else {
            paintLine(painter, item, scale);
        }
    }
    painter.restore();
}

bool writePayslipPdf(const QString &path, const QList<PayslipItem> &items)
{
    QPdfWriter writer(path);
    writer.setPageLayout(pageLayout());
    // One device unit is one twip.
    writer.setResolution(int(kTwipsPerInch));
    writer.setTitle(QStringLiteral("給与明細"));
    writer.setCreator(QStringLiteral("Pelmar"));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    paintPayslip(painter, items);
    return painter.end();
}

QPrintPreviewDialog *createPayslipPreview(QWidget *parent, const QList<PayslipItem> &items,
                                          const QString &suggestedPdfName)
{
    auto *printer = new QPrinter(QPrinter::HighResolution);
    printer->setPageLayout(pageLayout());
    printer->setDocName(QStringLiteral("給与明細"));
    auto *dialog = new QPrintPreviewDialog(printer, parent);
    dialog->setWindowTitle(QStringLiteral("給与明細"));
    // The printer lives exactly as long as its dialog.
    QObject::connect(dialog, &QObject::destroyed, [printer] { delete printer; });
    QObject::connect(dialog, &QPrintPreviewDialog::paintRequested, dialog, [items](QPrinter *target) {
        QPainter painter(target);
        paintPayslip(painter, items);
    });
    if (auto *toolBar = dialog->findChild<QToolBar *>()) {
        toolBar->addSeparator();
        QAction *save = toolBar->addAction(QStringLiteral("PDFで保存"));
        save->setObjectName(QStringLiteral("actionSavePdf"));
        save->setToolTip(QStringLiteral("給与明細をPDFファイルに保存します"));
        QObject::connect(save, &QAction::triggered, dialog, [dialog, items, suggestedPdfName] {
            savePdfFromPreview(dialog, items, suggestedPdfName);
        });
    }
    return dialog;
}

void showPayslipPreview(QWidget *parent, const QList<PayslipItem> &items, const QString &suggestedPdfName)
{
    if (previewHook()) {
        previewHook()(items, suggestedPdfName);
        return;
    }
    QPointer<QPrintPreviewDialog> dialog = createPayslipPreview(parent, items, suggestedPdfName);
    dialog->resize(900, 800);
    dialog->exec();
    delete dialog; // null when the parent went away meanwhile
}

void setPreviewHook(PreviewHook hook)
{
    previewHook() = std::move(hook);
}

void setSaveNameHook(SaveNameHook hook)
{
    saveNameHook() = std::move(hook);
}

} // namespace pelmar::payslip
