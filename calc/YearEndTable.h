#pragma once

#include "calc/PublicTables.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The figures of one year's 年末調整 (data/tables/year-end-<year>.tsv): the
// 給与所得控除後の給与等の金額 table and the rules around it, every 所得控除,
// the 速算表 and the 102.1 %. They are read from the data file, each with the
// source line it was checked against; none is written in code. A year with
// no file has no 年末調整 in Pelmar: nothing is guessed from another year.
namespace pelmar::yearend {

using pay::Yen;

// A band of the file's #@ tables: over < x <= upto. The first band of a
// table starting at 0 also covers 0; no upto is no upper limit.
struct Band {
    Yen over = 0;
    std::optional<Yen> upto;

    bool contains(Yen x) const { return (x > over || (over == 0 && x == 0)) && (!upto || x <= *upto); }
};

// 給与等の金額 from <= I < to: the table's amount.
struct PayRow {
    Yen from = 0, to = 0, amount = 0;
};

// from <= I < to: max(0, floor(I × numerator / denominator) − subtract).
struct PayFormula {
    Yen from = 0, to = 0, numerator = 0, denominator = 1, subtract = 0;
};

struct AmountBand {
    Band band;
    Yen amount = 0;
};

// 配偶者控除 by the employee's 合計所得金額.
struct SpouseBand {
    Band own;
    Yen general = 0, elderly = 0; // 一般, 老人
};

// 配偶者特別控除 by the spouse's 合計所得金額, one amount for each limit of
// the employee's own (SpecialSpouseTable::ownUpto).
struct SpecialSpouseBand {
    Band spouse;
    QList<Yen> byOwn;
};

// premium × numerator / denominator + add, a fraction of a yen rounded up.
struct PremiumFormula {
    Band band;
    Yen numerator = 0, denominator = 1, add = 0;
};

// How one kind of 生命保険料 is deducted: 新 and 旧 by their formulas, and
// the cap of 新 + 旧 together (no old formula: 新 only).
struct LifeUse {
    QString newFormula, oldFormula;
    Yen newPlusOldCap = 0;
};

// A kind of 扶養親族 by birth date (the age at the year's end).
struct BirthBand {
    QDate bornFrom, bornTo; // inclusive; invalid: open
    Yen amount = 0;

    bool contains(const QDate &birth) const
    {
        return birth.isValid() && (!bornFrom.isValid() || birth >= bornFrom) && (!bornTo.isValid() || birth <= bornTo);
    }
};

struct TaxBand {
    Band band;
    Yen ratePercent = 0, deduct = 0;
};

struct YearEndTable {
    QString file;
    int year = 0;
    QList<PayRow> payRows;
    QList<PayFormula> payFormulas;
    QList<AmountBand> basic; // 基礎控除
    QList<SpouseBand> spouse; // 配偶者控除
    QList<Yen> specialSpouseOwnUpto; // 配偶者特別控除: the limits of the employee's own income
    QList<SpecialSpouseBand> specialSpouse;
    QHash<QString, BirthBand> dependantKinds; // 扶養控除: nensho, ippan_16_18, tokutei, ...
    QList<AmountBand> specificRelative; // 特定親族特別控除
    QHash<QString, Yen> personal; // 障害者, 寡婦, ひとり親, 勤労学生
    QHash<QString, Yen> limits;
    QHash<QString, QList<PremiumFormula>> lifeFormulas; // I, II, III
    QHash<QString, LifeUse> lifeUse;
    Yen lifeTotalCap = 0;
    QHash<QString, QList<PremiumFormula>> earthquake; // jishin, kyu_choki
    Yen earthquakeTotalCap = 0;
    // 所得金額調整控除: (min(I, payCap) − payOver) × percent, up, at most max.
    Yen adjustmentPayOver = 0, adjustmentPayCap = 0, adjustmentPercent = 0, adjustmentMax = 0;
    QList<TaxBand> rates; // 速算表
    Yen annualNumerator = 0, annualDenominator = 1, annualUnit = 1; // 102.1 %, 100 yen down
    // The lines the file marks NOT VERIFIED, as written, for the worksheet's notes.
    QStringList notVerified;

    Yen limit(const QString &name) const { return limits.value(name); }
    Yen personalAmount(const QString &name) const { return personal.value(name); }
};

// One year's file. Checks what the arithmetic relies on (every table
// present, the pay rows and formulas covering 0 to the top without a gap or
// an overlap, the bands in order and joined, every named figure there, every
// figure whole yen, every line marked CHECKED or NOT VERIFIED) and on a fault
// returns nothing with `error` naming the line and the reason.
std::optional<YearEndTable> readYearEndTable(const QString &text, QString *error);
// The list of year files; `fileText` gives a listed file's text.
std::optional<QList<YearEndTable>>
readYearEndTables(const QString &listText, const std::function<std::optional<QString>(const QString &)> &fileText,
                  QString *error);

// The years that come with the program, read once from its resources; a
// file that cannot be read leaves no year and `errors` says why.
struct ShippedYearEnd {
    QList<YearEndTable> years;
    QStringList errors;

    const YearEndTable *forYear(int year) const;
};
const ShippedYearEnd &shippedYearEnd();

} // namespace pelmar::yearend
