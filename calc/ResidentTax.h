#pragma once

#include "calc/NetPay.h"

#include <QDate>

#include <array>

// 住民税 collected from pay (特別徴収): the amounts of one 年度, June to May,
// as the 特別徴収税額の決定通知書 gives them, and what one pay deducts.
namespace pelmar::pay {

inline constexpr int kResidentTaxMonths = 12;

// How the rest of the 年度 is collected once the employee leaves.
enum class Remainder {
    Undecided, // not asked: the month of leaving decides (see remainderFor)
    Ordinary, // 普通徴収: the employee pays it; the pay deducts nothing more
    Lump, // 一括徴収: the last pay deducts the rest at once
};

struct ResidentTaxYear {
    int fiscalYear = 0; // 年度: the year of its June
    QString municipality; // 市区町村
    std::array<Yen, kResidentTaxMonths> amounts{}; // June first, May last
    Remainder remainder = Remainder::Undecided;
};

// The 年度 a date falls in (June to May: 2027-05-31 is 2026, 2027-06-01 2027),
// and its month's place in it (June 0 … May 11).
int fiscalYearOf(const QDate &date);
int fiscalMonthOf(const QDate &date);

// The notice's usual form: June's amount apart, July to May each the same.
std::array<Yen, kResidentTaxMonths> noticeAmounts(Yen june, Yen julyToMay);
// Whether the amounts have that form.
bool isNoticeForm(const std::array<Yen, kResidentTaxMonths> &amounts);

// The rule when nothing was decided: leaving January to May, the rest is
// collected from the last pay (一括徴収, the law asks it unless the pay is
// too small); leaving June to December, the employee pays it (普通徴収)
// unless they ask for 一括徴収.
Remainder remainderFor(const QDate &left);

// Whether a pay is the leaver's last: its work reaches the month of the
// 退職日 (the last line's date in or after it), or, without lines, it is paid
// on or after the 退職日.
bool isLastPay(const QDate &left, const QDate &closing, const QDate &payDate);

// What a pay dated `payDate` deducts: the amount of its month; the leaver's
// last pay under 一括徴収 adds every later month of the 年度 up to May.
Yen residentTaxOfPay(const ResidentTaxYear &year, const QDate &payDate, const QDate &left, const QDate &closing);

} // namespace pelmar::pay
