#include "reports/PayslipPrinter.h"

#include "messages/ShowMsg.h"
#include "store/ExportFile.h"

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStandardPaths>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <QToolBar>

namespace pelmar::payslip {

namespace {

constexpr qreal kTwipsPerInch = 1440;
constexpr qreal kMarginTwips = 720;
constexpr qreal kRuleWidthTwips = 15; // 0.75 pt: a thin, clearly printed rule
constexpr qreal kSizeStep = 0.5; // points between the type sizes tried for a long text
// Widths come from the same font engine that draws, but summed in floating
// point: a text that fills its box to the last hundredth of a unit fits.
constexpr qreal kFitSlack = 0.01;
const QString kEllipsis = QStringLiteral("\u2026");

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

// Point sizes to try for a text, from the layout's own down to the rule's smallest.
QList<qreal> sizesToTry(qreal designSize, qreal minSize)
{
    const qreal smallest = qMin(minSize, designSize);
    QList<qreal> sizes;
    for (qreal size = designSize; size > smallest + kFitSlack; size -= kSizeStep)
        sizes << size;
    sizes << smallest;
    return sizes;
}

QString withoutTrailingBlanks(QString text)
{
    while (!text.isEmpty() && text.back().isSpace()) // the ideographic space too
        text.chop(1);
    return text;
}

bool fitsWidth(const QFontMetricsF &metrics, const QString &text, qreal width)
{
    return metrics.horizontalAdvance(text) <= width + kFitSlack;
}

// The longest start of text that, followed by "…" and tail, fits width. It
// never splits a character made of several code points.
QString cutToWidth(const QFontMetricsF &metrics, const QString &text, const QString &tail, qreal width)
{
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    graphemes.toEnd();
    for (qsizetype end = text.size(); end > 0; end = graphemes.toPreviousBoundary()) {
        const QString candidate = withoutTrailingBlanks(text.left(end)) + kEllipsis + tail;
        if (fitsWidth(metrics, candidate, width))
            return candidate;
    }
    return kEllipsis + tail;
}

// The lines of text broken at width the way the device's font engine breaks
// them: at spaces and between Japanese characters, anywhere within a word
// that is wider than the whole line (an e-mail address, a long number).
QStringList wrappedLines(const QString &text, const QFont &font, qreal width, QPaintDevice *device)
{
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    QStringList lines;
    for (const QString &paragraph : text.split(u'\n')) {
        if (paragraph.isEmpty()) {
            lines << QString();
            continue;
        }
        QTextLayout layout(paragraph, font, device);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            lines << withoutTrailingBlanks(paragraph.mid(line.textStart(), line.textLength()));
        }
        layout.endLayout();
    }
    return lines;
}

void paintText(QPainter &painter, const PayslipItem &item, const TwipScale &scale)
{
    if (item.text.isEmpty())
        return;
    const QRectF box = scale.rect(item.rect);
    QFont font = fontFor(item);
    const FittedText fitted = fitText(font, box.size(), item.text, item.fit, painter.device());
    font.setPointSizeF(fitted.pointSize);
    painter.setFont(font);
    const qreal lineSpacing = QFontMetricsF(font, painter.device()).lineSpacing();
    // Each line at the top of its own row. A figure still too wide for its
    // box runs out past the edge opposite its alignment instead of losing digits.
    const int flags = int(item.alignment & Qt::AlignHorizontal_Mask) | Qt::AlignTop | Qt::TextDontClip;
    for (qsizetype i = 0; i < fitted.lines.size(); ++i) {
        const QRectF row(box.left(), box.top() + i * lineSpacing, box.width(), lineSpacing);
        painter.drawText(row, flags, fitted.lines[i]);
    }
}

void paintLine(QPainter &painter, const PayslipItem &item, const TwipScale &scale)
{
    QPen pen(Qt::black);
    pen.setWidthF(kRuleWidthTwips * scale.y);
    pen.setCapStyle(Qt::FlatCap);
    pen.setStyle(item.penStyle);
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
    if (const QString why = exportfile::refusal(path); !why.isEmpty())
        ShowMsg(msg::エラー書出し先, QDir::toNativeSeparators(path) + QStringLiteral("\n理由: ") + why);
    else if (!writePayslipPdf(path, items))
        ShowMsg(msg::エラーPDF書込み, QDir::toNativeSeparators(path));
    else
        ShowMsg(msg::その他保存完了, QDir::toNativeSeparators(path));
}

} // namespace

FittedText fitText(const QFont &font, const QSizeF &box, const QString &text, const FitRule &rule, QPaintDevice *device)
{
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    plain.replace(u'\r', u'\n');
    if (rule.wraps) {
        while (plain.endsWith(u'\n')) // an empty last line would only take room
            plain.chop(1);
    } else {
        plain.replace(u'\n', u' ');
    }
    FittedText fitted;
    fitted.pointSize = font.pointSizeF();
    if (plain.isEmpty())
        return fitted;

    QFont sized = font;
    for (const qreal size : sizesToTry(font.pointSizeF(), rule.minPointSize)) {
        sized.setPointSizeF(size);
        const QFontMetricsF metrics(sized, device);
        fitted.pointSize = size;
        fitted.lines = rule.wraps ? wrappedLines(plain, sized, box.width(), device) : QStringList{plain};
        bool fits = !rule.wraps || fitted.lines.size() * metrics.lineSpacing() <= box.height() + kFitSlack;
        for (const QString &line : std::as_const(fitted.lines))
            fits = fits && fitsWidth(metrics, line, box.width());
        if (fits)
            return fitted;
    }

    // Too large even in the smallest type.
    if (!rule.mayCut) {
        fitted.overflows = true;
        return fitted;
    }
    fitted.cut = true;
    const QFontMetricsF metrics(sized, device);
    if (!rule.wraps) {
        const bool keepsTail =
            !rule.keptTail.isEmpty() && plain.endsWith(rule.keptTail) && plain.size() > rule.keptTail.size();
        fitted.lines = {keepsTail ? cutToWidth(metrics, plain.chopped(rule.keptTail.size()), rule.keptTail, box.width())
                                  : cutToWidth(metrics, plain, QString(), box.width())};
        return fitted;
    }
    // As many lines as the box holds; the last of them ends in "…" to tell
    // that more was written than the sheet shows.
    const qsizetype room = qMax(qsizetype(1), qsizetype((box.height() + kFitSlack) / metrics.lineSpacing()));
    if (fitted.lines.size() > room) {
        fitted.lines.resize(room);
        fitted.lines.last() = cutToWidth(metrics, fitted.lines.last(), QString(), box.width());
    }
    for (QString &line : fitted.lines)
        if (!fitsWidth(metrics, line, box.width()))
            line = cutToWidth(metrics, line, QString(), box.width());
    return fitted;
}

QPageLayout pageLayout()
{
    const qreal margin = kMarginTwips / 20; // points
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(margin, margin, margin, margin),
                       QPageLayout::Point);
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

bool writePayslipPdf(const QString &path, const QList<PayslipItem> &items, QString *error)
{
    // Drawn whole first, then written in one go through the export check:
    // a failure leaves a file that was there as it was.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    bool painted = false;
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(pageLayout());
        // One device unit is one twip.
        writer.setResolution(int(kTwipsPerInch));
        writer.setTitle(QStringLiteral("給与明細"));
        writer.setCreator(QStringLiteral("Pelmar"));
        QPainter painter;
        painted = painter.begin(&writer);
        if (painted) {
            paintPayslip(painter, items);
            painted = painter.end();
        }
    }
    if (!painted) {
        if (error)
            *error = QStringLiteral("PDF を作れませんでした。");
        return false;
    }
    return exportfile::write(path, bytes, error);
}

bool refusesPrintFile(QPrinter *printer)
{
    // The preview draws through its own engine into pictures, even when the
    // printer already names a file from an earlier print.
    const QPaintEngine *engine = printer->paintEngine();
    if (printer->outputFileName().isEmpty() || (engine && engine->type() == QPaintEngine::Picture))
        return false;
    const QString why = exportfile::refusal(printer->outputFileName());
    if (why.isEmpty())
        return false;
    ShowMsg(msg::エラー書出し先,
            QDir::toNativeSeparators(printer->outputFileName()) + QStringLiteral("\n理由: ") + why);
    return true;
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
        if (refusesPrintFile(target))
            return;
        QPainter painter(target);
        paintPayslip(painter, items);
    });
    if (auto *toolBar = dialog->findChild<QToolBar *>()) {
        toolBar->addSeparator();
        QAction *save = toolBar->addAction(QStringLiteral("PDFで保存"));
        save->setObjectName(QStringLiteral("actionSavePdf"));
        save->setToolTip(QStringLiteral("給与明細をPDFファイルに保存します"));
        QObject::connect(save, &QAction::triggered, dialog,
                         [dialog, items, suggestedPdfName] { savePdfFromPreview(dialog, items, suggestedPdfName); });
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
