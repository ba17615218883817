#pragma once

#include <QDate>
#include <QLine>
#include <QList>
#include <QRect>
#include <QString>
#include <QVariant>

// The printed pay statement "給与明細" as data: its sections, every control
// with its place in twips (1/1440 inch), font and alignment, and the texts
// that fill it. Nothing here draws; reports/PayslipPrinter paints the list.
namespace pelmar::payslip {

// The width, in twips, that the layout needs on the page.
constexpr int kPrintableWidth = 10455;

// The prefix of the money fields. The layout was made for Japanese fonts that
// draw the backslash 0x5C as the yen sign; the program writes the yen sign
// itself (U+00A5), so the sheet shows ¥ in every font and a PDF's text says ¥.
inline const QString kYenPrefix = QStringLiteral("\u00A5");

// Between the name and 様: an ideographic space.
inline const QString kHonorific = QStringLiteral("\u3000様");

inline const QString kGothic = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString kMincho = QStringLiteral("ＭＳ Ｐ明朝");

struct Section {
    QString name;
    int height = 0; // twips
};

// PageHeader (2160), Detail (0), PageFooter (0): every control is in the
// page header; the day lines are never printed. A slip with premiums has a
// taller page header (2640) for their row.
QList<Section> sections(bool withPremiums = false);

// What the printer does with a text too large for its box. It first shrinks
// the type, half a point at a time, down to minPointSize; a text that still
// does not fit is cut and ends in "…", unless cutting would lose information
// that must be read whole (an amount, hours, the date): such a text keeps
// every character and runs out past the edge opposite its alignment.
struct FitRule {
    bool wraps = false; // a box for several lines: wraps at its width, fills its height
    qreal minPointSize = 8; // the smallest type that still reads well on one line
    bool mayCut = true;
    QString keptTail; // kept whole after the "…" when the text ends with it
};

struct PayslipItem {
    enum Kind { Label, TextBox, Line };
    Kind kind = Label;
    QString name; // the control's name, as Lblタイトル or txt合計
    QString section = QStringLiteral("PageHeader");
    QRect rect; // twips, for labels and text boxes
    QLine line; // twips, the two end points of a rule
    Qt::PenStyle penStyle = Qt::SolidLine; // a rule's; the cut line between two slips is dashed
    QString fontFamily; // as the layout names it
    qreal pointSize = 0;
    int weight = 400; // normal; same scale as QFont::Weight
    bool italic = false;
    Qt::Alignment alignment = Qt::AlignLeft;
    QString text;
    FitRule fit;

    bool drawsText() const { return kind != Line; }
};

// The layout with the labels' fixed texts and empty text boxes, in layout order.
QList<PayslipItem> layout();

// The layout of a slip with premiums: under the row of wage, hours,
// adjustment and amount paid, a row with the night hours (when 深夜割増 is
// on), the overtime hours (when 時間外割増 is on) and the premium yen
// included in the amount paid; the closing rule moves below it.
// With rest-day hours (restDay) they stand under the amount paid; the
// overtime past 60 hours (over60) takes a second row under the overtime.
QList<PayslipItem> layoutWithPremiums(bool night, bool overtime, bool restDay = false, bool over60 = false);

// The six values the click hands over to the sheet, already formatted.
struct PrintValues {
    QString PrintName;
    QString PrintTitle;
    QString PrintWage; // "#,###"
    QString PrintHours; // "#,##0.0#": 7.75, 8.0
    QString PrintAdjustment; // "#,###"
    QString PrintTotal; // "#,###"
};

// What the click of the print button hands over: the two texts as they
// stand, the four numbers through their display formats. An invalid value
// (an empty number box) gives the empty text.
PrintValues printValues(const QString &name, const QString &title, const QVariant &wage, const QVariant &hours,
                        const QVariant &adjustment, const QVariant &total);

// The premium values a slip with premiums prints, already formatted.
struct PremiumPrintValues {
    bool night = false; // 深夜割増 is on: the night hours are printed
    bool overtime = false; // 時間外割増 is on: the overtime hours are printed
    QString PrintNight; // "#,##0.0#"
    QString PrintOvertime; // "#,##0.0#"
    QString PrintPremium; // "#,###"
    bool restDay = false; // rest-day hours are printed
    bool over60 = false; // overtime past 60 hours is printed
    QString PrintRestDay; // "#,##0.0#"
    QString PrintOver60; // "#,##0.0#"
    bool any = true; // the statement has premium hours or yen: the slip prints the row
};

// What a stored statement (or the page) prints of its premiums: each kind
// of hours it holds, whatever today's settings; no row at all (any false)
// when it holds no premium yen, as statements before premiums.
PremiumPrintValues storedPremiumValues(const QVariant &nightHours, const QVariant &overtimeHours,
                                       const QVariant &premium, const QVariant &restDayHours,
                                       const QVariant &over60Hours);

// The premium values of the statement on the page; an invalid value gives
// the empty text, as a statement saved before premiums has none.
PremiumPrintValues premiumPrintValues(bool night, bool overtime, const QVariant &nightHours,
                                      const QVariant &overtimeHours, const QVariant &premium);

// A money field: the yen sign and the amount, or nothing for an empty amount.
QString moneyText(const QString &amount);

struct HeaderText {
    QString control;
    QString text;
};

// The page header's texts in the order they are filled: name with 様,
// title, wage, hours, adjustment, total, company name, company details, date.
QList<HeaderText> PageHeader_Format(const PrintValues &values, const QString &companyName, const QString &companyInfo,
                                    const QDate &today);

// The whole sheet: the layout with the page header filled.
QList<PayslipItem> filledPageHeader(const PrintValues &values, const QString &companyName, const QString &companyInfo,
                                    const QDate &today);

// The whole sheet of a statement with premiums: layoutWithPremiums filled,
// the premium fields after the others.
QList<PayslipItem> filledPageHeader(const PrintValues &values, const PremiumPrintValues &premiums,
                                    const QString &companyName, const QString &companyInfo, const QDate &today);

// A file name for the statement's PDF from the employee and the title, with
// every character a file name cannot hold replaced. "給与明細.pdf" when both
// are empty.
QString suggestedPdfName(const QString &name, const QString &title);

} // namespace pelmar::payslip
