#include "reports/PayslipLayout.h"

#include "calc/Formats.h"

namespace pelmar::payslip {

namespace {

constexpr auto kCentre = Qt::AlignHCenter;
constexpr auto kLeft = Qt::AlignLeft;
constexpr auto kRight = Qt::AlignRight;

PayslipItem textBox(const char *name, QRect rect, const QString &family, qreal size, Qt::Alignment alignment)
{
    PayslipItem item;
    item.kind = PayslipItem::TextBox;
    item.name = QString::fromUtf8(name);
    item.rect = rect;
    item.fontFamily = family;
    item.pointSize = size;
    item.alignment = alignment;
    return item;
}

PayslipItem label(const char *name, const QString &text, QRect rect, qreal size)
{
    PayslipItem item = textBox(name, rect, kGothic, size, kCentre);
    item.kind = PayslipItem::Label;
    item.text = text;
    return item;
}

PayslipItem rule(const char *name, QLine line)
{
    PayslipItem item;
    item.kind = PayslipItem::Line;
    item.name = QString::fromUtf8(name);
    item.line = line;
    return item;
}

// The company details hold an address, telephone numbers and the like on
// several lines; small type there still reads, so they may go down to 6 pt.
PayslipItem severalLines(PayslipItem item)
{
    item.fit.wraps = true;
    item.fit.minPointSize = 6;
    return item;
}

// Amounts, hours and the date are never cut: a missing digit would print a
// wrong figure, so after shrinking they run out past their left edge.
PayslipItem figure(PayslipItem item)
{
    item.fit.mayCut = false;
    return item;
}

// A long name is cut before the honorific, so the line still ends in 様.
PayslipItem addressee(PayslipItem item)
{
    item.fit.keptTail = kHonorific;
    return item;
}

} // namespace

// The premium row lies this far below the row of wage, hours and amounts.
constexpr int kPremiumRowStep = 465;

QList<Section> sections(bool withPremiums)
{
    const int header = withPremiums ? 2160 + kPremiumRowStep + 15 : 2160;
    return {{QStringLiteral("PageHeader"), header}, {QStringLiteral("Detail"), 0}, {QStringLiteral("PageFooter"), 0}};
}

QList<PayslipItem> layout()
{
    // left, top, width, height in twips, as the sheet was designed.
    return {
        label("Lblタイトル", QStringLiteral("給与明細"), {4100, 30, 1701, 354}, 14.5),
        label("Label2", QStringLiteral("氏名"), {213, 600, 779, 354}, 12),
        addressee(textBox("txt氏名", {1140, 630, 3945, 600}, kGothic, 14.5, kLeft)),
        textBox("txtタイトル", {300, 1275, 5805, 360}, kGothic, 12, kLeft),
        label("Label3", QStringLiteral("時給"), {213, 1701, 779, 354}, 12),
        label("Label4", QStringLiteral("時間"), {2339, 1701, 779, 354}, 12),
        label("Label5", QStringLiteral("調整額"), {4606, 1701, 992, 354}, 12),
        label("Label6", QStringLiteral("支給額"), {7583, 1701, 1134, 354}, 12),
        figure(textBox("txt時給", {1140, 1695, 915, 360}, kGothic, 14.5, kRight)),
        figure(textBox("txt時間", {3255, 1695, 990, 360}, kGothic, 14.5, kRight)),
        figure(textBox("txt調整額", {5882, 1701, 1488, 354}, kGothic, 14.5, kRight)),
        figure(textBox("txt合計", {8715, 1695, 1380, 360}, kGothic, 14.5, kRight)),
        severalLines(textBox("txt自社情報", {6236, 820, 3898, 708}, kMincho, 10, kLeft)),
        textBox("txt自社名", {5315, 520, 4890, 284}, kGothic, 14.5, kCentre),
        figure(textBox("txt日付", {7800, 70, 2445, 320}, kGothic, 12, kRight)),
        rule("Line1", QLine(0, 2120, 10350, 2120)),
        rule("Line2", QLine(0, 425, 10346, 425)),
    };
}

QList<PayslipItem> layoutWithPremiums(bool night, bool overtime, bool restDay, bool over60)
{
    QList<PayslipItem> items = layout();
    // The closing rule goes under the premium row.
    for (PayslipItem &item : items)
        if (item.name == QStringLiteral("Line1"))
            item.line.translate(0, kPremiumRowStep);
    // The premium row takes the columns of the row above: hours under the
    // wage and the hours, the premium yen under the adjustment.
    const auto below = [](QRect rect) {
        return rect.translated(0, kPremiumRowStep);
    };
    QList<PayslipItem> row;
    if (night) {
        row << label("lbl深夜", QStringLiteral("深夜"), below({213, 1701, 779, 354}), 12)
            << figure(textBox("txt深夜", below({1140, 1695, 915, 360}), kGothic, 14.5, kRight));
    }
    if (overtime) {
        row << label("lbl時間外", QStringLiteral("時間外"), below({2339, 1701, 779, 354}), 12)
            << figure(textBox("txt時間外", below({3255, 1695, 990, 360}), kGothic, 14.5, kRight));
    }
    row << label("lbl割増額", QStringLiteral("割増額"), below({4606, 1701, 992, 354}), 12)
        << figure(textBox("txt割増額", below({5882, 1701, 1488, 354}), kGothic, 14.5, kRight));
    // Rest-day hours under the amount paid; the overtime past 60 hours on a
    // row of its own under the overtime.
    if (restDay) {
        row << label("lbl休日", QStringLiteral("休日"), below({7583, 1701, 1134, 354}), 12)
            << figure(textBox("txt休日", below({8715, 1695, 1380, 360}), kGothic, 14.5, kRight));
    }
    if (over60) {
        for (PayslipItem &item : items)
            if (item.name == QStringLiteral("Line1"))
                item.line.translate(0, kPremiumRowStep);
        const auto twoBelow = [&below](QRect rect) {
            return below(below(rect));
        };
        row << label("lbl時間外60超", QStringLiteral("うち60時間超"), twoBelow({1140, 1701, 1979, 354}), 12)
            << figure(textBox("txt時間外60超", twoBelow({3255, 1695, 990, 360}), kGothic, 14.5, kRight));
    }
    // Before the two rules, as the other texts are.
    const QList<PayslipItem> rules = items.mid(items.size() - 2);
    items.resize(items.size() - 2);
    return items + row + rules;
}

PremiumPrintValues storedPremiumValues(const QVariant &nightHours, const QVariant &overtimeHours,
                                       const QVariant &premium, const QVariant &restDayHours,
                                       const QVariant &over60Hours)
{
    const auto some = [](const QVariant &value) {
        double number = 0;
        return fmt::toNumber(value, &number) && number != 0;
    };
    PremiumPrintValues values =
        premiumPrintValues(some(nightHours), some(overtimeHours), nightHours, overtimeHours, premium);
    values.restDay = some(restDayHours);
    values.over60 = some(over60Hours);
    values.PrintRestDay = values.restDay ? fmt::format(restDayHours, fmt::kHours) : QString();
    values.PrintOver60 = values.over60 ? fmt::format(over60Hours, fmt::kHours) : QString();
    // A row of hours with no yen would read as a premium left unpaid.
    values.any = some(premium);
    return values;
}

PremiumPrintValues premiumPrintValues(bool night, bool overtime, const QVariant &nightHours,
                                      const QVariant &overtimeHours, const QVariant &premium)
{
    PremiumPrintValues values;
    values.night = night;
    values.overtime = overtime;
    values.PrintNight = night ? fmt::format(nightHours, fmt::kHours) : QString();
    values.PrintOvertime = overtime ? fmt::format(overtimeHours, fmt::kHours) : QString();
    values.PrintPremium = fmt::format(premium, fmt::kYen);
    return values;
}

PrintValues printValues(const QString &name, const QString &title, const QVariant &wage, const QVariant &hours,
                        const QVariant &adjustment, const QVariant &total)
{
    PrintValues values;
    values.PrintName = name;
    values.PrintTitle = title;
    values.PrintWage = fmt::format(wage, fmt::kYen);
    values.PrintHours = fmt::format(hours, fmt::kHours);
    values.PrintAdjustment = fmt::format(adjustment, fmt::kYen);
    values.PrintTotal = fmt::format(total, fmt::kYen);
    return values;
}

QString moneyText(const QString &amount)
{
    return amount.isEmpty() ? QString() : kYenPrefix + amount;
}

QList<HeaderText> PageHeader_Format(const PrintValues &values, const QString &companyName, const QString &companyInfo,
                                    const QDate &today)
{
    return {
        {QStringLiteral("txt氏名"), values.PrintName + kHonorific},
        {QStringLiteral("txtタイトル"), values.PrintTitle},
        {QStringLiteral("txt時給"), moneyText(values.PrintWage)},
        {QStringLiteral("txt時間"), values.PrintHours},
        {QStringLiteral("txt調整額"), moneyText(values.PrintAdjustment)},
        {QStringLiteral("txt合計"), moneyText(values.PrintTotal)},
        {QStringLiteral("txt自社名"), companyName},
        {QStringLiteral("txt自社情報"), companyInfo},
        {QStringLiteral("txt日付"), fmt::format(today, fmt::kJapaneseDate)},
    };
}

QList<PayslipItem> filledPageHeader(const PrintValues &values, const QString &companyName, const QString &companyInfo,
                                    const QDate &today)
{
    QList<PayslipItem> items = layout();
    for (const HeaderText &step : PageHeader_Format(values, companyName, companyInfo, today)) {
        for (PayslipItem &item : items)
            if (item.name == step.control)
                item.text = step.text;
    }
    return items;
}

QList<PayslipItem> filledPageHeader(const PrintValues &values, const PremiumPrintValues &premiums,
                                    const QString &companyName, const QString &companyInfo, const QDate &today)
{
    QList<PayslipItem> items = layoutWithPremiums(premiums.night, premiums.overtime, premiums.restDay, premiums.over60);
    QList<HeaderText> steps = PageHeader_Format(values, companyName, companyInfo, today);
    steps << HeaderText{QStringLiteral("txt深夜"), premiums.PrintNight}
          << HeaderText{QStringLiteral("txt時間外"), premiums.PrintOvertime}
          << HeaderText{QStringLiteral("txt割増額"), moneyText(premiums.PrintPremium)}
          << HeaderText{QStringLiteral("txt休日"), premiums.PrintRestDay}
          << HeaderText{QStringLiteral("txt時間外60超"), premiums.PrintOver60};
    for (const HeaderText &step : steps) {
        for (PayslipItem &item : items)
            if (item.name == step.control)
                item.text = step.text;
    }
    return items;
}

QString suggestedPdfName(const QString &name, const QString &title)
{
    QStringList parts{QStringLiteral("給与明細")};
    for (const QString &part : {name.trimmed(), title.trimmed()})
        if (!part.isEmpty())
            parts << part;
    QString base = parts.join(u'_');
    // Characters that Windows or a Unix file system refuse, and control characters.
    for (QChar &c : base)
        if (c.unicode() < 0x20 || QStringLiteral("\\/:*?\"<>|").contains(c))
            c = u'_';
    // A name ending in a dot or a space is not kept as typed on Windows.
    while (base.endsWith(u'.') || base.endsWith(u' '))
        base.chop(1);
    return base + QStringLiteral(".pdf");
}

} // namespace pelmar::payslip
