#pragma once

#include "calc/PublicTables.h"

#include <QList>

#include <array>
#include <optional>

// 金種表: the notes and coins that make up pay handed over in envelopes.
namespace pelmar::pay {

// The notes and coins a shop fills envelopes with, largest first. The 2,000
// yen note is left out: banks hand out few, and an envelope never needs it.
inline constexpr std::array<Yen, 9> kDenominations{10000, 5000, 1000, 500, 100, 50, 10, 5, 1};

// How many of each denomination, in the order of kDenominations.
struct CashCount {
    std::array<qint64, kDenominations.size()> pieces{};

    Yen amount() const;
    CashCount &operator+=(const CashCount &other);
    bool operator==(const CashCount &) const = default;
};

// The fewest notes and coins for the amount; nothing for an amount below 0,
// which no envelope can hold.
std::optional<CashCount> cashBreakdown(Yen amount);

// What a set of envelopes takes from the bank: each envelope made up on its
// own, the counts added (two envelopes of 5,000 yen take two 5,000 yen notes,
// not one 10,000 yen note). Nothing when an amount is below 0.
std::optional<CashCount> cashTotal(const QList<Yen> &amounts);

} // namespace pelmar::pay
