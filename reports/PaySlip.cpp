#include "reports/PaySlip.h"

#include "calc/Formats.h"
#include "masters/PayrollSettings.h"
#include "store/Query.h"

#include <QHash>

namespace pelmar::payslip {

namespace {

using pay::Deduction;

constexpr int kWidth = 10350; // as the rules of the top band
constexpr int kLabelWidth = 600; // the block's name on its left
constexpr int kColumns = 8;
constexpr int kCellWidth = (kWidth - kLabelWidth) / kColumns;
constexpr int kCaptionHeight = 300;
constexpr int kValueHeight = 420;
constexpr int kBlockHeight = kCaptionHeight + kValueHeight;
constexpr int kBlockGap = 150;
constexpr int kNetHeight = 600;
// Two slips a page: the cut line halves the sheet of paper (the printable
// area starts a margin below its edge), and the lower slip keeps the same
// margin from the cut as the upper one from the paper's edge.
constexpr int kCutLine = 16838 / 2 - 720;
constexpr int kLowerSlipTop = 16838 / 2;

const QString kMoney = QStringLiteral("#,##0");

PayslipItem box(const QString &name, const QString &value, QRect rect, qreal size, Qt::Alignment alignment,
                int weight = 400)
{
    PayslipItem item;
    item.kind = PayslipItem::TextBox;
    item.name = name;
    item.text = value;
    item.rect = rect;
    item.fontFamily = kGothic;
    item.pointSize = size;
    item.weight = weight;
    item.alignment = alignment;
    item.fit.minPointSize = qMin(size, qreal(7));
    return item;
}

PayslipItem figure(PayslipItem item)
{
    item.fit.mayCut = false;
    return item;
}

PayslipItem rule(QLine line, Qt::PenStyle style = Qt::SolidLine)
{
    PayslipItem item;
    item.kind = PayslipItem::Line;
    item.name = QStringLiteral("rule");
    item.line = line;
    item.penStyle = style;
    return item;
}

void addFrame(QList<PayslipItem> &items, QRect rect)
{
    items << rule(QLine(rect.topLeft(), rect.topRight())) << rule(QLine(rect.bottomLeft(), rect.bottomRight()))
          << rule(QLine(rect.topLeft(), rect.bottomLeft())) << rule(QLine(rect.topRight(), rect.bottomRight()));
}

struct Cell {
    QString caption;
    QString value;
    QString name; // the value's box, as txt総支給額
};

// One block: its name on the left, then a caption over each value.
void addBlock(QList<PayslipItem> &items, int top, const QString &label, const QList<Cell> &cells)
{
    const int right = kLabelWidth + int(cells.size()) * kCellWidth;
    addFrame(items, QRect(QPoint(0, top), QPoint(right, top + kBlockHeight)));
    items << rule(QLine(kLabelWidth, top + kCaptionHeight, right, top + kCaptionHeight));
    items << box(QStringLiteral("lbl") + label, label, {0, top + (kBlockHeight - 230) / 2, kLabelWidth, 260}, 10.5,
                 Qt::AlignHCenter, 700);
    for (qsizetype i = 0; i < cells.size(); ++i) {
        const int left = kLabelWidth + int(i) * kCellWidth;
        items << rule(QLine(left, top, left, top + kBlockHeight));
        items << box(QStringLiteral("lbl") + cells[i].caption, cells[i].caption,
                     {left + 30, top + 50, kCellWidth - 60, 240}, 9, Qt::AlignHCenter);
        items << figure(box(cells[i].name, cells[i].value,
                            {left + 60, top + kCaptionHeight + 80, kCellWidth - 120, 300}, 11, Qt::AlignRight));
    }
}

QString money(pay::Yen yen)
{
    return fmt::formatNumber(double(yen), kMoney);
}

QString money(const std::optional<pay::Yen> &yen)
{
    return yen ? money(*yen) : QString();
}

QString hours(double value)
{
    return fmt::formatNumber(value, fmt::kHours);
}

// The value's box is named after its caption, or `name` when the top band
// already has a box of that name (txt時間外 holds the premium row's hours).
Cell cell(const char *caption, const QString &value, const char *name = nullptr)
{
    const QString text = QString::fromUtf8(caption);
    return {text, value, QStringLiteral("txt") + QString::fromUtf8(name ? name : caption)};
}

} // namespace

QList<PayslipItem> handoutSlip(const PrintValues &values, const PremiumPrintValues &premiums,
                               const Attendance &attendance, const statements::StatementPay &pay,
                               const QString &companyName, const QString &companyInfo, const QDate &printed)
{
    QList<PayslipItem> items = premiums.any ? filledPageHeader(values, premiums, companyName, companyInfo, printed)
                                            : filledPageHeader(values, companyName, companyInfo, printed);
    int top = 2120;
    for (PayslipItem &item : items) {
        if (item.name == QStringLiteral("Line1"))
            top = item.line.y1();
        // One pay figure on the slip: the band's 支給額 is the 総支給額 the
        // blocks below add up to, allowances included.
        if (item.name == QStringLiteral("txt合計") && pay.kept)
            item.text = moneyText(fmt::format(double(pay.gross), fmt::kYen));
        // The slip is dated by the day the pay is handed over.
        if (item.name == QStringLiteral("txt日付") && pay.kept && pay.payDate.isValid()) {
            item.text = QStringLiteral("支給日　") + fmt::formatJapaneseDate(pay.payDate);
            item.rect.setLeft(item.rect.left() - 1200);
        }
    }
    top += kBlockGap;

    addBlock(items, top, QStringLiteral("勤怠"),
             {cell("出勤日数", QString::number(attendance.days)), cell("労働時間", hours(attendance.hours)),
              cell("時間外", hours(attendance.overtime), "時間外時間"),
              cell("深夜", hours(attendance.night), "深夜時間"), cell("休日", hours(attendance.holiday), "休日時間")});
    top += kBlockHeight + kBlockGap;

    // Of a statement saved before its pay was kept only the adjustment and
    // the total are known; the other items stay blank rather than guessed.
    const auto known = [&pay](pay::Yen yen) {
        return pay.kept ? money(yen) : QString();
    };
    addBlock(items, top, QStringLiteral("支給"),
             {cell("基本給", known(pay.basic)), cell("時間外手当", known(pay.overtime)),
              cell("深夜手当", known(pay.night)), cell("休日手当", known(pay.holiday)),
              cell("調整額", money(pay.adjustment), "支給調整額"), cell("通勤手当", known(pay.commute)),
              cell("", QString(), "空欄"), cell("総支給額", money(pay.gross))});
    top += kBlockHeight + kBlockGap;

    if (!pay.kept) {
        items << box(QStringLiteral("txt控除なし"),
                     QStringLiteral("この明細は控除を記録する前に保存されたため、控除と差引支給額は印刷されません。"),
                     {0, top, kWidth, 300}, 10, Qt::AlignLeft);
        return items;
    }
    const auto deduction = [&pay](Deduction d) {
        return money(pay.deductions[pay::index(d)]);
    };
    addBlock(items, top, QStringLiteral("控除"),
             {cell("健康保険", deduction(Deduction::HealthInsurance)),
              cell("介護保険", deduction(Deduction::CareInsurance)), cell("厚生年金", deduction(Deduction::Pension)),
              cell("雇用保険", deduction(Deduction::EmploymentInsurance)),
              cell("所得税", deduction(Deduction::IncomeTax)), cell("住民税", deduction(Deduction::ResidentTax)),
              cell("その他", money(pay.other)), cell("控除合計", money(pay.deductionTotal))});
    top += kBlockHeight + kBlockGap;

    // 差引支給額 under the totals, in a double frame and large type. Without
    // every deduction there is no such figure, and the slip says so.
    const QRect net(kLabelWidth + 5 * kCellWidth, top, 3 * kCellWidth, kNetHeight);
    addFrame(items, net);
    addFrame(items, net.adjusted(40, 40, -40, -40));
    items << box(QStringLiteral("lbl差引支給額"), QStringLiteral("差引支給額"),
                 {net.left() + 120, top + 170, 1300, 300}, 12, Qt::AlignLeft, 700);
    items << figure(box(QStringLiteral("txt差引支給額"),
                        pay.netPay ? kYenPrefix + money(*pay.netPay) : QStringLiteral("未計算"),
                        {net.left() + 1400, top + 120, net.width() - 1560, 380}, 16, Qt::AlignRight, 700));
    return items;
}

std::optional<int> daysOnPage(const QSqlDatabase &work)
{
    Query query(work);
    const QVariant days = query.single(
        QStringLiteral("select count(distinct 日付) from w明細 where 日付 is not null and 金額 is not null"));
    if (!days.isValid())
        return std::nullopt;
    return days.toInt();
}

std::optional<SlipsPerPage> slipsPerPage(const QSqlDatabase &main)
{
    const std::optional<settings::PayrollSettings> payroll = settings::loadPayroll(main);
    if (!payroll)
        return std::nullopt;
    return payroll->slipsPerPage == 2 ? SlipsPerPage::Two : SlipsPerPage::One;
}

namespace {

QList<PayslipItem> cutLine()
{
    PayslipItem caption = box(QStringLiteral("lbl切り取り線"), QStringLiteral("切り取り線"),
                              {kWidth / 2 - 700, kCutLine - 120, 1400, 240}, 8, Qt::AlignHCenter);
    return {rule(QLine(0, kCutLine, kWidth / 2 - 750, kCutLine), Qt::DashLine),
            rule(QLine(kWidth / 2 + 750, kCutLine, kWidth, kCutLine), Qt::DashLine), caption};
}

QList<PayslipItem> lowered(QList<PayslipItem> slip)
{
    for (PayslipItem &item : slip) {
        item.rect.translate(0, kLowerSlipTop);
        item.line.translate(0, kLowerSlipTop);
    }
    return slip;
}

} // namespace

QList<PayslipItem> onPage(const QList<PayslipItem> &slip, SlipsPerPage perPage)
{
    return perPage == SlipsPerPage::Two ? slip + cutLine() : slip;
}

} // namespace pelmar::payslip

namespace pelmar::reports {

QList<Page> handoutPages(const QList<StoredStatement> &statements, const QList<statements::StatementPay> &pays,
                         bool dayLines, payslip::SlipsPerPage perPage, const QString &companyName,
                         const QString &companyInfo, const QDate &printed)
{
    QHash<QString, statements::StatementPay> payOf;
    for (const statements::StatementPay &pay : pays)
        payOf.insert(pay.name, pay);
    QList<Page> pages;
    QList<Page> linesOfPage; // the day lines of the slips on the page being filled
    const bool two = perPage == payslip::SlipsPerPage::Two;
    for (qsizetype i = 0; i < statements.size(); ++i) {
        const StoredStatement &s = statements[i];
        const statements::Header &h = s.header;
        statements::StatementPay pay = payOf.value(h.name);
        if (!pay.kept) {
            // What is known without the kept pay: the statement's own figures.
            pay.adjustment = pay::monthYen(amountOf(h.adjustment)).value_or(0);
            pay.gross = pay::monthYen(amountOf(h.total)).value_or(0);
        }
        const payslip::Attendance attendance{s.days, amountOf(h.hours), amountOf(h.overtimeHours),
                                             amountOf(h.nightHours), amountOf(h.restDayHours)};
        const Page slip = payslip::handoutSlip(
            payslip::printValues(h.name, h.title, h.wage, h.hours, h.adjustment, h.total),
            payslip::storedPremiumValues(h.nightHours, h.overtimeHours, h.premium, h.restDayHours, h.over60Hours),
            attendance, pay, companyName, companyInfo, printed);
        if (dayLines)
            linesOfPage << tablePages(dayLinesTable(s, companyName, printed));
        if (two && i % 2 == 1) {
            pages.last() << payslip::lowered(slip);
        } else {
            pages << payslip::onPage(slip, perPage);
        }
        if (!two || i % 2 == 1 || i + 1 == statements.size()) {
            pages << linesOfPage;
            linesOfPage.clear();
        }
    }
    return pages;
}

} // namespace pelmar::reports
