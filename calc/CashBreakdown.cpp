#include "calc/CashBreakdown.h"

namespace pelmar::pay {

Yen CashCount::amount() const
{
    Yen sum = 0;
    for (size_t i = 0; i < kDenominations.size(); ++i)
        sum += pieces[i] * kDenominations[i];
    return sum;
}

CashCount &CashCount::operator+=(const CashCount &other)
{
    for (size_t i = 0; i < kDenominations.size(); ++i)
        pieces[i] += other.pieces[i];
    return *this;
}

std::optional<CashCount> cashBreakdown(Yen amount)
{
    if (amount < 0)
        return std::nullopt;
    // The denominations go 1, 5, 10 at every power of ten, and for such a
    // set taking the largest first always gives the fewest pieces.
    CashCount count;
    for (size_t i = 0; i < kDenominations.size(); ++i) {
        count.pieces[i] = amount / kDenominations[i];
        amount %= kDenominations[i];
    }
    return count;
}

std::optional<CashCount> cashTotal(const QList<Yen> &amounts)
{
    CashCount total;
    for (const Yen amount : amounts) {
        const auto count = cashBreakdown(amount);
        if (!count)
            return std::nullopt;
        total += *count;
    }
    return total;
}

} // namespace pelmar::pay
