#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

// The public figures net pay is worked out from: the National Tax Agency's
// monthly withholding table and the employment insurance rates. They come
// with the program as data files (data/tables/, compiled in as resources),
// each with the comment lines that name its source, and are read here; no
// figure of them is written in code. A table is chosen by a date, and a date
// that no shipped table covers has none: nothing is guessed from a
// neighbouring year.
namespace pelmar::pay {

// Whole yen. Net pay is counted in whole yen throughout, so sums never drift.
using Yen = qint64;

// A rate held exactly, in millionths: 3.063 % is 30630, 5.5 per mille is
// 5500. Applying it to whole yen is integer arithmetic with the rounding the
// rule names, never a float.
using PartsPerMillion = qint64;

// The 扶養親族等の数 the 甲欄 lists a column for (0 to 7).
inline constexpr int kKouColumns = 8;

// One row of the 月額表: amounts from <= a < to.
struct WithholdingRow {
    Yen from = 0;
    Yen to = 0;
    std::array<Yen, kKouColumns> kou{};
    Yen otsu = 0;
};

// A point of the table from which a rate of the excess applies (740,000 yen
// and up): at the amount itself its own figures, above it up to the next
// point the figure plus the rate of the excess, fractions dropped. 乙欄 has
// fewer points; where it has none the last 乙 point before goes on.
struct WithholdingAnchor {
    Yen amount = 0;
    std::array<Yen, kKouColumns> kou{};
    PartsPerMillion kouRate = 0;
    std::optional<Yen> otsu;
    std::optional<PartsPerMillion> otsuRate;
};

// One year's 月額表 with the rules its rows do not hold.
struct WithholdingTable {
    QString file; // the data file's name, for messages
    QString folder; // where a table of the data folder was read from; empty for one shipped with the program
    QDate payFrom, payTo; // the 支払日 it applies to, inclusive
    Yen kouZeroBelow = 0; // 甲欄 below this: 0 yen
    PartsPerMillion otsuRateBelow = 0; // 乙欄 below it: this rate, fractions dropped
    Yen perPersonBeyondSeven = 0; // 甲欄, 8 or more: taken off the 7-person figure per person
    QList<WithholdingRow> rows;
    QList<WithholdingAnchor> anchors;
};

// 雇用保険's 事業の種類: the rate depends on it.
enum class BusinessKind {
    General, // 一般の事業
    Agriculture, // 農林水産・清酒製造の事業
    Construction, // 建設の事業
};

// The employee's share of the employment insurance premium for one business
// kind over one 年度.
struct InsuranceRate {
    QDate from, to; // inclusive
    BusinessKind kind = BusinessKind::General;
    PartsPerMillion employee = 0;
};

struct PublicTables {
    QList<WithholdingTable> withholding;
    QList<InsuranceRate> employmentInsurance;

    // The 月額表 for pay dated on payDate, or nullptr when none is shipped.
    const WithholdingTable *withholdingFor(const QDate &payDate) const;
    // The employee's employment insurance rate in force on date, or nothing
    // when no shipped rate covers it.
    std::optional<PartsPerMillion> employmentRateFor(const QDate &date, BusinessKind kind) const;
};

// Reading the data files. Each checks what the arithmetic relies on (rows in
// order and without gaps, the anchors following the last row, every figure a
// whole number of yen, every rate exact) and on a fault returns nothing with
// `error` naming the line and the reason.
// The rows and anchors of one 月額表 file.
std::optional<WithholdingTable> readWithholdingTable(const QString &text, QString *error);
// A listed file's text, or nothing when it is missing.
using TableFileText = std::function<std::optional<QString>(const QString &)>;
// One line of a list of 月額表 files: the table it names, read and checked,
// or nothing with the reason ("12 行目: ..."). The dates are the line's, when
// they read.
struct ListedTable {
    QString file;
    QDate payFrom, payTo;
    std::optional<WithholdingTable> table;
    QString refusal;
};
// Every line of the list, each checked on its own; a line whose pay dates
// overlap those of an earlier table is refused.
QList<ListedTable> readTableList(const QString &listText, const TableFileText &fileText);
// The list of 月額表 files with their pay dates and rules, all or nothing:
// the first refused line's reason in `error`.
std::optional<QList<WithholdingTable>> readWithholdingTables(const QString &listText, const TableFileText &fileText,
                                                             QString *error);
std::optional<QList<InsuranceRate>> readInsuranceRates(const QString &text, QString *error);

// The tables that come with the program, read once from its resources. If
// one of them cannot be read (a broken build), its part stays empty, every
// date then has no table, and `errors` says why.
struct ShippedTables {
    PublicTables tables;
    QStringList errors;
};
const ShippedTables &shippedTables();

// A decimal text as an integer of `decimals` places: "5.5" with 3 places is
// 5500, "-8296" with 0 is -8296. Nothing for a text that is no plain decimal
// or has more places than asked (no figure is silently cut).
std::optional<qint64> scaledDecimal(QStringView text, int decimals);

// How the owner is shown a table: 令和9年分 for one serving a calendar year,
// else its pay dates; "（データフォルダ）" after one of the data folder.
QString tableName(const WithholdingTable &table);

// The resource folder of the shipped data files.
inline const QString kTablesResource = QStringLiteral(":/tables/");

} // namespace pelmar::pay
