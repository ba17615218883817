#include "calc/ResidentTax.h"

#include <algorithm>
#include <numeric>

namespace pelmar::pay {

namespace {

constexpr int kJune = 6;

} // namespace

int fiscalYearOf(const QDate &date)
{
    return date.month() >= kJune ? date.year() : date.year() - 1;
}

int fiscalMonthOf(const QDate &date)
{
    return (date.month() - kJune + 12) % 12;
}

std::array<Yen, kResidentTaxMonths> noticeAmounts(Yen june, Yen julyToMay)
{
    std::array<Yen, kResidentTaxMonths> amounts;
    amounts.fill(julyToMay);
    amounts[0] = june;
    return amounts;
}

bool isNoticeForm(const std::array<Yen, kResidentTaxMonths> &amounts)
{
    return std::all_of(amounts.begin() + 2, amounts.end(), [&](Yen a) { return a == amounts[1]; });
}

Remainder remainderFor(const QDate &left)
{
    return left.month() < kJune ? Remainder::Lump : Remainder::Ordinary;
}

bool isLastPay(const QDate &left, const QDate &closing, const QDate &payDate)
{
    if (!left.isValid())
        return false;
    if (closing.isValid())
        return closing >= QDate(left.year(), left.month(), 1);
    return payDate.isValid() && payDate >= left;
}

Yen residentTaxOfPay(const ResidentTaxYear &year, const QDate &payDate, const QDate &left, const QDate &closing)
{
    if (!payDate.isValid())
        return 0;
    const int month = fiscalMonthOf(payDate);
    Yen amount = year.amounts[month];
    if (!isLastPay(left, closing, payDate))
        return amount;
    const Remainder remainder = year.remainder == Remainder::Undecided ? remainderFor(left) : year.remainder;
    if (remainder == Remainder::Lump)
        amount = std::accumulate(year.amounts.begin() + month, year.amounts.end(), Yen(0));
    return amount;
}

} // namespace pelmar::pay
