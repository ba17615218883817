#include "app/FrmPelmar.h"
#include "reports/PayslipLayout.h"
#include "reports/PayslipPrinter.h"
#include "statements/StatementPage.h"
#include "widgets/NumberBox.h"

#include "../support/WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace pelmar;
using namespace pelmar::payslip;

namespace {

constexpr int kMargin = 720; // twips between the paper's edge and the sheet's origin

const PayslipItem *findItem(const QList<PayslipItem> &items, const QString &name)
{
    for (const PayslipItem &item : items)
        if (item.name == name)
            return &item;
    return nullptr;
}

// An image whose pixel is one twip: boxes measure as the sheet gives them.
QImage twipDevice()
{
    QImage image(1, 1, QImage::Format_Grayscale8);
    image.setDotsPerMeterX(qRound(1440 / 0.0254));
    image.setDotsPerMeterY(qRound(1440 / 0.0254));
    return image;
}

const QString kLongName =
    QStringLiteral("寿限無寿限無五劫の擦り切れ海砂利水魚の水行末雲来末風来末食う"); // 30 characters
const QString kLongTitle = QStringLiteral("2026年3月分（3月1日〜3月31日）アルバイト・パートタイム給与明細");
const QString kLongCompany = QStringLiteral("株式会社ペルマー・ロングネーム・ホールディングス東日本営業所");
const QString kFourLineDetails =
    QStringLiteral("〒100-0001\n東京都千代田区千代田1-1-1 長い長い建物の名前ビルディング 12階\n"
                   "TEL 03-1234-5678 FAX 03-1234-5679\nE-mail: info@example.co.jp 営業時間 9:00〜18:00");

// A statement whose texts are all longer than their boxes were drawn for.
QList<PayslipItem> longStatement()
{
    const PrintValues values = printValues(kLongName, kLongTitle, 1150.0, 1234.25, -12345.0, 1419387.5);
    return filledPageHeader(values, kLongCompany, kFourLineDetails, QDate(2026, 12, 31));
}

QString withoutBlanks(QString text)
{
    text.remove(QRegularExpression(QStringLiteral("\\s")));
    return text;
}

// A week's statement, as the done check prints it.
QList<PayslipItem> weekStatement()
{
    const PrintValues values =
        printValues(QStringLiteral("佐藤 花子"), QStringLiteral("2026年3月分"), 1150.0, 54.25, 0.0, 62387.5);
    return filledPageHeader(values, QStringLiteral("有限会社ペルマー"),
                            QStringLiteral("〒150-0001 東京都渋谷区神宮前1-2-3\nTEL 03-1234-5678"), QDate(2026, 3, 6));
}

// The same week with both premiums paid.
QList<PayslipItem> weekWithPremiums()
{
    const PrintValues values =
        printValues(QStringLiteral("佐藤 花子"), QStringLiteral("2026年3月分"), 1150.0, 54.25, 0.0, 64643.13);
    return filledPageHeader(values, premiumPrintValues(true, true, 7.75, 14.25, 2255.63),
                            QStringLiteral("有限会社ペルマー"),
                            QStringLiteral("〒150-0001 東京都渋谷区神宮前1-2-3\nTEL 03-1234-5678"), QDate(2026, 3, 6));
}

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted())
        return QStringLiteral("<%1 is missing: scripts/deps installs poppler-utils>").arg(program);
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

struct Word {
    QString text;
    QRectF twips; // relative to the sheet's origin
};

// The words of a PDF with their boxes, as pdftotext -bbox reports them in points.
QList<Word> wordsOf(const QString &pdf)
{
    const QString html = run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QList<Word> words;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        const QPointF topLeft(m.captured(1).toDouble() * 20 - kMargin, m.captured(2).toDouble() * 20 - kMargin);
        const QPointF bottomRight(m.captured(3).toDouble() * 20 - kMargin, m.captured(4).toDouble() * 20 - kMargin);
        words.append({m.captured(5), QRectF(topLeft, bottomRight)});
    }
    return words;
}

} // namespace

class TestPayslip : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void handOverFormatting_data();
    void handOverFormatting();
    void dateOfPrinting_data();
    void dateOfPrinting();
    void sectionsHoldTheLayout();
    void boxesNeitherOverlapNorStandEmpty();
    void headerFilledInOrder();
    void emptyNamePrintsHonorificAlone();
    void suggestedFileName_data();
    void suggestedFileName();
    void japaneseFontsStandIn();
    void wideAmountIsNotCut_data();
    void wideAmountIsNotCut();
    void longTextFitsItsBox_data();
    void longTextFitsItsBox();
    void longTextsStayInTheirBoxesInPdf();
    void premiumRowFitsTheSheet_data();
    void premiumRowFitsTheSheet();
    void pdfHoldsEveryText_data();
    void pdfHoldsEveryText();
    void pdfPlacesEveryText_data();
    void pdfPlacesEveryText();
    void pdfIsOneA4PageWithJapaneseFonts();
    void previewSavesPdf();
    void printButtonShowsThePage();

private:
    QTemporaryDir m_dir;
    QString m_weekPdf;
    QString m_premiumPdf;
};

void TestPayslip::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_weekPdf = m_dir.filePath(QStringLiteral("week.pdf"));
    QVERIFY(writePayslipPdf(m_weekPdf, weekStatement()));
    m_premiumPdf = m_dir.filePath(QStringLiteral("premiums.pdf"));
    QVERIFY(writePayslipPdf(m_premiumPdf, weekWithPremiums()));
}

void TestPayslip::handOverFormatting_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("printed");
    QTest::newRow("wage 1200") << "txt時給" << QVariant(1200.0) << "¥1,200";
    QTest::newRow("hours 7.5") << "txt時間" << QVariant(7.5) << "7.5";
    QTest::newRow("adjustment 0") << "txt調整額" << QVariant(0.0) << "";
    QTest::newRow("total 9000") << "txt合計" << QVariant(9000.0) << "¥9,000";
    QTest::newRow("hours 0") << "txt時間" << QVariant(0.0) << "0.0";
    QTest::newRow("hours box empty") << "txt時間" << QVariant() << "";
    QTest::newRow("adjustment -500") << "txt調整額" << QVariant(-500.0) << "¥-500";
    QTest::newRow("wage 1234.5") << "txt時給" << QVariant(1234.5) << "¥1,235";
    QTest::newRow("total empty: no lone yen") << "txt合計" << QVariant() << "";
    QTest::newRow("total 62387.5") << "txt合計" << QVariant(62387.5) << "¥62,388";
    QTest::newRow("hours 1234.25") << "txt時間" << QVariant(1234.25) << "1,234.25";
}

void TestPayslip::handOverFormatting()
{
    QFETCH(QString, control);
    QFETCH(QVariant, value);
    QFETCH(QString, printed);
    const QVariant none;
    const PrintValues values = printValues(QStringLiteral("山田"), QStringLiteral("3月"),
                                           control == "txt時給" ? value : none, control == "txt時間" ? value : none,
                                           control == "txt調整額" ? value : none, control == "txt合計" ? value : none);
    const QList<PayslipItem> items = filledPageHeader(values, QString(), QString(), QDate(2026, 3, 6));
    const PayslipItem *item = findItem(items, control);
    QVERIFY(item);
    QCOMPARE(item->text, printed);
    // The other three boxes had no value and print nothing.
    for (const char *other : {"txt時給", "txt時間", "txt調整額", "txt合計"})
        if (control != QString::fromUtf8(other))
            QCOMPARE(findItem(items, QString::fromUtf8(other))->text, QString());
}

void TestPayslip::dateOfPrinting_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("printed");
    QTest::newRow("6 March 2026") << QDate(2026, 3, 6) << "2026年03月06日";
    QTest::newRow("new year's eve") << QDate(2007, 12, 31) << "2007年12月31日";
    QTest::newRow("first of October") << QDate(2026, 10, 1) << "2026年10月01日";
}

void TestPayslip::dateOfPrinting()
{
    QFETCH(QDate, today);
    QFETCH(QString, printed);
    const QList<PayslipItem> items = filledPageHeader({}, QString(), QString(), today);
    QCOMPARE(findItem(items, QStringLiteral("txt日付"))->text, printed);
}

void TestPayslip::sectionsHoldTheLayout()
{
    const QList<Section> parts = sections();
    QCOMPARE(parts.size(), 3);
    QCOMPARE(parts[0].name, QStringLiteral("PageHeader"));
    QCOMPARE(parts[0].height, 2160);
    QCOMPARE(parts[1].name, QStringLiteral("Detail"));
    QCOMPARE(parts[1].height, 0);
    QCOMPARE(parts[2].name, QStringLiteral("PageFooter"));
    QCOMPARE(parts[2].height, 0);

    const QList<PayslipItem> items = layout();
    QCOMPARE(items.size(), 17); // fifteen texts, two rules; no day lines
    // Everything lies in the page header and within the printable width.
    const QRect header(0, 0, kPrintableWidth, parts[0].height);
    for (const PayslipItem &item : items) {
        QCOMPARE(item.section, QStringLiteral("PageHeader"));
        QVERIFY2(item.drawsText() ? header.contains(item.rect)
                                  : header.contains(item.line.p1()) && header.contains(item.line.p2()),
                 qPrintable(item.name));
    }
    QVERIFY(pageLayout().paintRect(QPageLayout::Point).width() * 20 >= kPrintableWidth);
    QCOMPARE(pageLayout().pageSize().id(), QPageSize::A4);
}

// No text is drawn over another or over a rule, each box's font is one the
// system has, and every label and filled box of a statement has its text.
void TestPayslip::boxesNeitherOverlapNorStandEmpty()
{
    const QList<PayslipItem> items = weekStatement();
    QList<const PayslipItem *> texts, rules;
    for (const PayslipItem &item : items)
        (item.drawsText() ? texts : rules) << &item;
    QCOMPARE(rules.size(), 2);
    for (const PayslipItem *rule : rules) {
        // A rule runs across the sheet.
        QCOMPARE(rule->line.p1().y(), rule->line.p2().y());
        QVERIFY2(qAbs(rule->line.dx()) > kPrintableWidth * 9 / 10, qPrintable(rule->name));
    }
    for (const PayslipItem *item : texts) {
        // Boxes drawn edge to edge on the sheet may share a screen pixel (15 twips).
        const QRect inner = item->rect.adjusted(15, 15, -15, -15);
        for (const PayslipItem *other : texts)
            QVERIFY2(item == other || !inner.intersects(other->rect),
                     qPrintable(item->name + QStringLiteral(" overlaps ") + other->name));
        for (const PayslipItem *rule : rules) {
            const int y = rule->line.p1().y();
            QVERIFY2(y < item->rect.top() || y > item->rect.bottom(), qPrintable(item->name + u' ' + rule->name));
        }
        QVERIFY2(item->fontFamily == kGothic || item->fontFamily == kMincho, qPrintable(item->name));
        QVERIFY2(QFontDatabase::families().contains(resolvedFamily(item->fontFamily)), qPrintable(item->name));
        QVERIFY2(item->pointSize >= 8 && item->pointSize <= 20, qPrintable(item->name));
        // The zero adjustment is the one box the week leaves empty.
        if (item->name != QStringLiteral("txt調整額"))
            QVERIFY2(!item->text.isEmpty(), qPrintable(item->name));
    }
    // Amounts line up on the right of their boxes.
    for (const char *amount : {"txt時給", "txt時間", "txt調整額", "txt合計"})
        QVERIFY(findItem(items, QString::fromUtf8(amount))->alignment & Qt::AlignRight);
}

void TestPayslip::headerFilledInOrder()
{
    const PrintValues values{QStringLiteral("N"),   QStringLiteral("T"), QStringLiteral("1"),
                             QStringLiteral("2.0"), QStringLiteral("3"), QStringLiteral("4")};
    const QList<HeaderText> steps =
        PageHeader_Format(values, QStringLiteral("C"), QStringLiteral("I"), QDate(2026, 3, 6));
    QStringList order, texts;
    for (const HeaderText &step : steps)
        order << step.control, texts << step.text;
    QCOMPARE(order,
             QStringList({"txt氏名", "txtタイトル", "txt時給", "txt時間", "txt調整額", "txt合計", "txt自社名",
                          "txt自社情報", "txt日付"}));
    QCOMPARE(texts, QStringList({"N　様", "T", "¥1", "2.0", "¥3", "¥4", "C", "I", "2026年03月06日"}));
    // Each text lands in its own control, and the labels keep theirs.
    const QList<PayslipItem> items =
        filledPageHeader(values, QStringLiteral("C"), QStringLiteral("I"), QDate(2026, 3, 6));
    for (const HeaderText &step : steps)
        QCOMPARE(findItem(items, step.control)->text, step.text);
    QCOMPARE(findItem(items, QStringLiteral("Label6"))->text, QStringLiteral("支給額"));
}

void TestPayslip::emptyNamePrintsHonorificAlone()
{
    const QList<PayslipItem> items = filledPageHeader(printValues({}, {}, {}, {}, {}, {}), {}, {}, QDate(2026, 3, 6));
    QCOMPARE(findItem(items, QStringLiteral("txt氏名"))->text, QStringLiteral("\u3000様"));
    QCOMPARE(findItem(items, QStringLiteral("txtタイトル"))->text, QString());
    QCOMPARE(findItem(items, QStringLiteral("txt時給"))->text, QString());
}

void TestPayslip::suggestedFileName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("file");
    QTest::newRow("name and title") << "佐藤 花子"
                                    << "2026年3月分"
                                    << "給与明細_佐藤 花子_2026年3月分.pdf";
    QTest::newRow("forbidden characters") << "a/b\\c"
                                          << "3:4*5?\"<>|"
                                          << "給与明細_a_b_c_3_4_5_____.pdf";
    QTest::newRow("line break in the title") << "山田"
                                             << "3月\n前半"
                                             << "給与明細_山田_3月_前半.pdf";
    QTest::newRow("trailing dot") << "山田"
                                  << "3月分."
                                  << "給与明細_山田_3月分.pdf";
    QTest::newRow("no title") << "山田"
                              << ""
                              << "給与明細_山田.pdf";
    QTest::newRow("nothing") << ""
                             << "　"
                             << "給与明細.pdf";
}

void TestPayslip::suggestedFileName()
{
    QFETCH(QString, name);
    QFETCH(QString, title);
    QFETCH(QString, file);
    QCOMPARE(suggestedPdfName(name, title), file);
}

void TestPayslip::japaneseFontsStandIn()
{
    // Without the fonts the layout names, the IPA P fonts must really be used.
    const QStringList gothic{"ＭＳ Ｐゴシック", "MS PGothic", "IPAPGothic", "IPA Pゴシック"};
    const QStringList mincho{"ＭＳ Ｐ明朝", "MS PMincho", "IPAPMincho", "IPA P明朝"};
    QVERIFY2(gothic.contains(QFontInfo(QFont(resolvedFamily(kGothic))).family()),
             qPrintable(QFontInfo(QFont(resolvedFamily(kGothic))).family()));
    QVERIFY2(mincho.contains(QFontInfo(QFont(resolvedFamily(kMincho))).family()),
             qPrintable(QFontInfo(QFont(resolvedFamily(kMincho))).family()));
    QCOMPARE(resolvedFamily(QStringLiteral("Some Other")), QStringLiteral("Some Other"));
}

void TestPayslip::wideAmountIsNotCut_data()
{
    QTest::addColumn<double>("wage");
    QTest::addColumn<bool>("runsOver");
    QTest::newRow("shrunk into its box") << 99999.0 << false;
    QTest::newRow("too wide even in the smallest type") << 1234567890.0 << true;
}

void TestPayslip::wideAmountIsNotCut()
{
    // An amount wider than its box first takes smaller type; one still too
    // wide runs out to the left instead of losing digits.
    QFETCH(double, wage);
    QFETCH(bool, runsOver);
    const QList<PayslipItem> items = filledPageHeader(printValues({}, {}, wage, {}, {}, {}), {}, {}, QDate(2026, 3, 6));
    const PayslipItem wageBox = *findItem(items, QStringLiteral("txt時給"));
    QImage image(1100, 220, QImage::Format_Grayscale8); // 144 dpi: a pixel is ten twips
    image.setDotsPerMeterX(qRound(144 / 0.0254));
    image.setDotsPerMeterY(qRound(144 / 0.0254));
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        paintPayslip(painter, {wageBox});
    }
    int leftmost = image.width(), rightmost = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                leftmost = qMin(leftmost, x), rightmost = qMax(rightmost, x);
    const int boxLeft = wageBox.rect.left() / 10, boxRight = (wageBox.rect.left() + wageBox.rect.width()) / 10;
    if (runsOver)
        QVERIFY2(leftmost < boxLeft - 20, qPrintable(QString::number(leftmost)));
    else
        QVERIFY2(leftmost >= boxLeft, qPrintable(QString::number(leftmost)));
    QVERIFY(rightmost <= boxRight && rightmost > boxRight - 10);
}

enum FittedSize { DesignSize, Shrunk, Smallest };
enum FitOutcome { Whole, Cut, RunsOver };

void TestPayslip::longTextFitsItsBox_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("outcome");
    const QString twentyName = kLongName.left(20) + kHonorific;
    QTest::newRow("short name") << "txt氏名"
                                << "佐藤 花子　様" << int(DesignSize) << int(Whole);
    QTest::newRow("20-character name") << "txt氏名" << twentyName << int(Shrunk) << int(Whole);
    QTest::newRow("30-character name keeps 様") << "txt氏名" << kLongName + kHonorific << int(Smallest) << int(Cut);
    QTest::newRow("title with a line break") << "txtタイトル"
                                             << "3月\n前半" << int(DesignSize) << int(Whole);
    QTest::newRow("long title") << "txtタイトル" << kLongTitle << int(Shrunk) << int(Whole);
    QTest::newRow("title far too long") << "txtタイトル" << kLongTitle + kLongTitle << int(Smallest) << int(Cut);
    QTest::newRow("long company name") << "txt自社名" << kLongCompany << int(Shrunk) << int(Whole);
    QTest::newRow("¥1,150 wage") << "txt時給"
                                 << "¥1,150" << int(Shrunk) << int(Whole);
    QTest::newRow("nine-digit wage") << "txt時給"
                                     << "¥123,456,789" << int(Smallest) << int(RunsOver);
    QTest::newRow("details of two lines")
        << "txt自社情報"
        << "〒150-0001 東京都渋谷区神宮前1-2-3\nTEL 03-1234-5678" << int(DesignSize) << int(Whole);
    QTest::newRow("details of four lines") << "txt自社情報" << kFourLineDetails << int(Shrunk) << int(Whole);
    QTest::newRow("details with a trailing line break") << "txt自社情報"
                                                        << "東京都\r\nTEL 03\r\n\r\n"
                                                        << int(DesignSize) << int(Whole);
    QTest::newRow("address wider than the box, no spaces")
        << "txt自社情報"
        << "E-mail:\nverylongaddressfortheshop.accounts.payroll.section@example-company.co.jp" << int(DesignSize)
        << int(Whole);
    QTest::newRow("details of twelve lines")
        << "txt自社情報" << QStringList(3, kFourLineDetails).join(u'\n') << int(Smallest) << int(Cut);
}

void TestPayslip::longTextFitsItsBox()
{
    QFETCH(QString, control);
    QFETCH(QString, text);
    QFETCH(int, size);
    QFETCH(int, outcome);
    const PayslipItem item = *findItem(layout(), control);
    QImage device = twipDevice();
    QFont font(resolvedFamily(item.fontFamily));
    font.setPointSizeF(item.pointSize);
    const QSizeF box = item.rect.size();
    const FittedText fitted = fitText(font, box, text, item.fit, &device);

    switch (size) {
    case DesignSize:
        QCOMPARE(fitted.pointSize, item.pointSize);
        break;
    case Shrunk:
        QVERIFY2(fitted.pointSize < item.pointSize && fitted.pointSize > item.fit.minPointSize,
                 qPrintable(QString::number(fitted.pointSize)));
        break;
    case Smallest:
        QCOMPARE(fitted.pointSize, item.fit.minPointSize);
        break;
    }
    QCOMPARE(fitted.cut, outcome == Cut);
    QCOMPARE(fitted.overflows, outcome == RunsOver);
    QVERIFY(!fitted.lines.isEmpty());
    if (!item.fit.wraps)
        QCOMPARE(fitted.lines.size(), 1);

    QFont used = font;
    used.setPointSizeF(fitted.pointSize);
    const QFontMetricsF metrics(used, &device);
    if (outcome != RunsOver) {
        for (const QString &line : fitted.lines)
            QVERIFY2(metrics.horizontalAdvance(line) <= box.width(), qPrintable(line));
        QVERIFY(fitted.lines.size() * metrics.lineSpacing() <= box.height() || !item.fit.wraps);
    }
    if (size == Shrunk && !item.fit.wraps) {
        // Not smaller than needed: half a point more would not fit.
        QFont larger = font;
        larger.setPointSizeF(fitted.pointSize + 0.5);
        QVERIFY(QFontMetricsF(larger, &device).horizontalAdvance(fitted.lines.first()) > box.width());
    }

    const QString printed = withoutBlanks(fitted.lines.join(QString()));
    if (outcome != Cut) {
        QCOMPARE(printed, withoutBlanks(text));
        return;
    }
    // A cut text shows its beginning, then "…", then the part always kept.
    const QString tail = withoutBlanks(item.fit.keptTail);
    QVERIFY2(printed.endsWith(QStringLiteral("…") + tail), qPrintable(printed));
    const QString shown = printed.chopped(tail.size() + 1);
    QVERIFY2(shown.size() >= 5 && withoutBlanks(text).startsWith(shown), qPrintable(printed));
    if (item.fit.wraps)
        QCOMPARE(fitted.lines.size(), int(box.height() / metrics.lineSpacing()));
}

void TestPayslip::longTextsStayInTheirBoxesInPdf()
{
    const QString pdf = m_dir.filePath(QStringLiteral("long.pdf"));
    const QList<PayslipItem> items = longStatement();
    QVERIFY(writePayslipPdf(pdf, items));
    const QList<Word> words = wordsOf(pdf);
    QVERIFY(words.size() > 15);
    // pdftotext gives each word the font's full height; 14.5 pt type (290
    // twips) stands 6 twips taller than the company name's box.
    constexpr qreal tolerance = 10;
    const QRectF page(-kMargin, -kMargin, 11906, 16838);
    for (const Word &word : words) {
        QVERIFY2(page.contains(word.twips), qPrintable(word.text));
        const PayslipItem *owner = nullptr;
        for (const PayslipItem &item : items)
            if (item.drawsText() && QRectF(item.rect).contains(word.twips.center()))
                owner = &item;
        QVERIFY2(owner, qPrintable(word.text));
        const QRectF allowed = QRectF(owner->rect).adjusted(-tolerance, -tolerance, tolerance, tolerance);
        QVERIFY2(allowed.contains(word.twips),
                 qPrintable(QStringLiteral("%1 in %2: %3,%4 %5x%6")
                                .arg(word.text, owner->name)
                                .arg(word.twips.x())
                                .arg(word.twips.y())
                                .arg(word.twips.width())
                                .arg(word.twips.height())));
    }

    // What fits is printed whole; the name shows its beginning and 様.
    const QString flat =
        withoutBlanks(run(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), pdf, QStringLiteral("-")}));
    for (const QString &whole :
         {kLongTitle, kLongCompany, kFourLineDetails, QStringLiteral("¥1,150"), QStringLiteral("1,234.25"),
          QStringLiteral("¥-12,345"), QStringLiteral("¥1,419,388"), QStringLiteral("2026年12月31日")})
        QVERIFY2(flat.contains(withoutBlanks(whole)), qPrintable(whole + u'\n' + flat));
    QVERIFY2(flat.contains(kLongName.left(15)) && flat.contains(QStringLiteral("…様")), qPrintable(flat));
    QVERIFY(!flat.contains(kLongName));
}

void TestPayslip::premiumRowFitsTheSheet_data()
{
    QTest::addColumn<bool>("night");
    QTest::addColumn<bool>("overtime");
    QTest::newRow("both") << true << true;
    QTest::newRow("night only") << true << false;
    QTest::newRow("overtime only") << false << true;
}

// The premium row sits under the amounts, inside a taller header, overlaps
// nothing, and leaves the rest of the slip where it always was.
void TestPayslip::premiumRowFitsTheSheet()
{
    QFETCH(bool, night);
    QFETCH(bool, overtime);
    const QList<PayslipItem> plain = layout();
    const QList<PayslipItem> items = layoutWithPremiums(night, overtime);
    QCOMPARE(findItem(items, QStringLiteral("txt深夜")) != nullptr, night);
    QCOMPARE(findItem(items, QStringLiteral("txt時間外")) != nullptr, overtime);
    QVERIFY(findItem(items, QStringLiteral("txt割増額")));
    QCOMPARE(items.size(), plain.size() + 2 * (1 + int(night) + int(overtime)));

    const QRect header(0, 0, kPrintableWidth, sections(true)[0].height);
    const PayslipItem *closing = findItem(items, QStringLiteral("Line1"));
    for (const PayslipItem &item : items) {
        if (!item.drawsText())
            continue;
        QVERIFY2(header.contains(item.rect), qPrintable(item.name));
        QVERIFY2(item.rect.bottom() < closing->line.y1(), qPrintable(item.name));
        const QRect inner = item.rect.adjusted(15, 15, -15, -15);
        for (const PayslipItem &other : items)
            QVERIFY2(&item == &other || !other.drawsText() || !inner.intersects(other.rect),
                     qPrintable(item.name + QStringLiteral(" overlaps ") + other.name));
        if (const PayslipItem *before = findItem(plain, item.name))
            QCOMPARE(item.rect, before->rect);
    }
    QVERIFY(closing->line.y1() > findItem(plain, QStringLiteral("Line1"))->line.y1());
}

void TestPayslip::pdfHoldsEveryText_data()
{
    QTest::addColumn<bool>("premiums");
    QTest::addColumn<int>("texts");
    QTest::newRow("as ever") << false << 15; // fourteen filled texts, the company details on two lines
    QTest::newRow("with premiums") << true << 21; // and three labels and three values
}

void TestPayslip::pdfHoldsEveryText()
{
    QFETCH(bool, premiums);
    QFETCH(int, texts);
    const QString pdf = premiums ? m_premiumPdf : m_weekPdf;
    const QString text = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    const QString flat = text.simplified();
    int found = 0;
    for (const PayslipItem &item : premiums ? weekWithPremiums() : weekStatement()) {
        for (const QString &line : item.text.split(u'\n', Qt::SkipEmptyParts)) {
            QVERIFY2(flat.contains(line.simplified()),
                     qPrintable(item.name + QStringLiteral(": ") + line + QStringLiteral("\n") + text));
            ++found;
        }
    }
    QCOMPARE(found, texts);
    QVERIFY(flat.contains(premiums ? QStringLiteral("¥64,643") : QStringLiteral("¥62,388")));
    if (premiums)
        QVERIFY(flat.contains(QStringLiteral("¥2,256")) && flat.contains(QStringLiteral("14.25")));
    QVERIFY(!text.contains(u'\\'));
}

void TestPayslip::pdfPlacesEveryText_data()
{
    QTest::addColumn<bool>("premiums");
    QTest::newRow("as ever") << false;
    QTest::newRow("with premiums") << true;
}

void TestPayslip::pdfPlacesEveryText()
{
    QFETCH(bool, premiums);
    const QList<Word> words = wordsOf(premiums ? m_premiumPdf : m_weekPdf);
    QVERIFY(!words.isEmpty());
    constexpr qreal tolerance = 30; // twips, 1.5 pt
    for (const PayslipItem &item : premiums ? weekWithPremiums() : weekStatement()) {
        if (item.text.isEmpty() || !item.drawsText())
            continue;
        // The first line's first and last words, found within the control's rows.
        // simplified() also takes the ideographic space before 様 as a word break.
        const QStringList tokens = item.text.section(u'\n', 0, 0).simplified().split(u' ');
        auto find = [&](const QString &token) -> const Word * {
            for (const Word &w : words)
                if (w.text == token && w.twips.center().y() > item.rect.top()
                    && w.twips.center().y() < item.rect.bottom())
                    return &w;
            return nullptr;
        };
        const Word *first = find(tokens.first());
        const Word *last = find(tokens.last());
        QVERIFY2(first && last, qPrintable(item.name + QStringLiteral(": ") + item.text));
        // The text starts at the top of its box.
        QVERIFY2(qAbs(first->twips.top() - item.rect.top()) < 80, qPrintable(item.name));
        const qreal left = first->twips.left(), right = last->twips.right();
        if (item.alignment & Qt::AlignLeft)
            QVERIFY2(qAbs(left - item.rect.left()) < tolerance, qPrintable(item.name));
        else if (item.alignment & Qt::AlignRight)
            QVERIFY2(qAbs(right - (item.rect.left() + item.rect.width())) < tolerance, qPrintable(item.name));
        else
            QVERIFY2(qAbs((left + right) / 2 - QRectF(item.rect).center().x()) < tolerance, qPrintable(item.name));
        // Glyph height tells the point size: 14.5 pt is 290 twips, 12 pt 240, 10 pt 200.
        QVERIFY2(qAbs(first->twips.height() - item.pointSize * 20) < item.pointSize * 20 * 0.25,
                 qPrintable(item.name + u' ' + QString::number(first->twips.height())));
    }
}

void TestPayslip::pdfIsOneA4PageWithJapaneseFonts()
{
    const QString info = run(QStringLiteral("pdfinfo"), {m_weekPdf});
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("^Pages:\\s+1$"), QRegularExpression::MultilineOption)),
             qPrintable(info));
    const auto size = QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(info);
    QVERIFY2(size.hasMatch(), qPrintable(info));
    QVERIFY(qAbs(size.captured(1).toDouble() - 595.28) < 1);
    QVERIFY(qAbs(size.captured(2).toDouble() - 841.89) < 1);

    const QString fonts = run(QStringLiteral("pdffonts"), {m_weekPdf});
    for (const QString &family : {QStringLiteral("IPAPGothic"), QStringLiteral("IPAPMincho")}) {
        // name type encoding emb sub uni object ID
        const QRegularExpression row(
            QStringLiteral("^\\S*%1\\s.*\\s(yes|no)\\s+(yes|no)\\s+(yes|no)\\s+\\d+\\s+\\d+$").arg(family),
            QRegularExpression::MultilineOption);
        const auto m = row.match(fonts);
        QVERIFY2(m.hasMatch(), qPrintable(family + u'\n' + fonts));
        QCOMPARE(m.captured(1), QStringLiteral("yes")); // embedded
    }
}

void TestPayslip::previewSavesPdf()
{
    const QString target = m_dir.filePath(QStringLiteral("from-preview"));
    QString offered;
    std::unique_ptr<QPrintPreviewDialog> dialog(
        createPayslipPreview(nullptr, weekStatement(), QStringLiteral("給与明細_佐藤 花子_2026年3月分.pdf")));
    QCOMPARE(dialog->printer()->pageLayout().pageSize().id(), QPageSize::A4);
    QCOMPARE(dialog->printer()->pageLayout().orientation(), QPageLayout::Portrait);
    auto *save = dialog->findChild<QAction *>(QStringLiteral("actionSavePdf"));
    QVERIFY(save);
    QCOMPARE(save->text(), QStringLiteral("PDFで保存"));
    setSaveNameHook([&](const QString &suggested) {
        offered = suggested;
        return target;
    });
    QStringList told;
    setMessageAnswerer([&told](const MessageRequest &request) {
        told << request.subKey + u'/' + request.subject;
        return false;
    });
    save->trigger();
    setMessageAnswerer({});
    setSaveNameHook({});
    QCOMPARE(QFileInfo(offered).fileName(), QStringLiteral("給与明細_佐藤 花子_2026年3月分.pdf"));
    // The user is told where the file went.
    QCOMPARE(told,
             QStringList{QStringLiteral("保存完了/") + QDir::toNativeSeparators(target + QStringLiteral(".pdf"))});
    // A name typed without an extension gets ".pdf".
    QVERIFY(QFileInfo::exists(target + QStringLiteral(".pdf")));
    QVERIFY(run(QStringLiteral("pdftotext"), {target + QStringLiteral(".pdf"), QStringLiteral("-")})
                .contains(QStringLiteral("有限会社ペルマー")));
}

void TestPayslip::printButtonShowsThePage()
{
    test::TestDataFolder data;
    QVERIFY(data.isValid());
    QSqlDatabase main = data.mainDb();
    QSqlDatabase work = data.workDb();
    const QStringList mainTables{"従業員", "勤務形態マスタ", "時給ヘッダ", "時給明細", "自社情報"};
    const QStringList workTables{"w明細", "w従業員", "w勤務形態", "w履歴"};
    FrmPelmar window(data.path());
    QVERIFY2(window.isOpen(), qPrintable(window.openError()));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto rowCounts = [&] {
        QList<int> counts;
        for (const QString &table : mainTables)
            counts << test::rowCount(main, table);
        for (const QString &table : workTables)
            counts << test::rowCount(work, table);
        return counts;
    };
    const QList<int> before = rowCounts();

    StatementPage *page = window.statementPage();
    test::findControl<QComboBox>(page, "cmb氏名")->setEditText(QStringLiteral("佐藤 花子"));
    test::findControl<QLineEdit>(page, "txtタイトル")->setText(QStringLiteral("2026年3月分"));
    test::findControl<NumberBox>(page, "num時給")->setValue(1200.0);
    test::findControl<NumberBox>(page, "num時間")->setValue(7.5);
    test::findControl<NumberBox>(page, "num調整額")->setValue(0.0);
    test::findControl<NumberBox>(page, "num合計")->setValue(9000.0);
    window.state().CompanyName = QStringLiteral("有限会社ペルマー");
    window.state().CompanyInfo = QStringLiteral("東京都\nTEL 03");

    const QDate dayBefore = QDate::currentDate();
    const test::Printed printed = test::pressPrint(test::findControl<QPushButton>(page, "Cmd印刷"));
    const QDate dayAfter = QDate::currentDate();

    QCOMPARE(printed.previews.size(), 1);
    const QList<PayslipItem> &items = printed.previews.first();
    // Every control of the slip's top band, and the blocks under it.
    for (const PayslipItem &control : layout())
        QVERIFY2(findItem(items, control.name), qPrintable(control.name));
    QCOMPARE(findItem(items, QStringLiteral("txt氏名"))->text, QStringLiteral("佐藤 花子　様"));
    QCOMPARE(findItem(items, QStringLiteral("txtタイトル"))->text, QStringLiteral("2026年3月分"));
    QCOMPARE(findItem(items, QStringLiteral("txt時給"))->text, QStringLiteral("¥1,200"));
    QCOMPARE(findItem(items, QStringLiteral("txt時間"))->text, QStringLiteral("7.5"));
    QCOMPARE(findItem(items, QStringLiteral("txt調整額"))->text, QString());
    QCOMPARE(findItem(items, QStringLiteral("txt合計"))->text, QStringLiteral("¥9,000"));
    QCOMPARE(findItem(items, QStringLiteral("txt自社名"))->text, QStringLiteral("有限会社ペルマー"));
    QCOMPARE(findItem(items, QStringLiteral("txt自社情報"))->text, QStringLiteral("東京都\nTEL 03"));
    // Today's date; a click just at midnight may give either day.
    auto written = [](QDate d) {
        return d.toString(QStringLiteral("yyyy年MM月dd日"));
    };
    const QString date = findItem(items, QStringLiteral("txt日付"))->text;
    QVERIFY2(date == written(dayBefore) || date == written(dayAfter), qPrintable(date));
    QCOMPARE(printed.suggestedPdfName, QStringLiteral("給与明細_佐藤 花子_2026年3月分.pdf"));
    // Printing stores nothing, and the unsaved statement stays on the page.
    QCOMPARE(rowCounts(), before);
    QCOMPARE(test::findControl<QLineEdit>(page, "txtタイトル")->text(), QStringLiteral("2026年3月分"));
}

QTEST_MAIN(TestPayslip)
#include "tst_payslip.moc"
