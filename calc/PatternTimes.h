#pragma once

#include <QVariant>

namespace pelmar::patterns {

// A shift type's times as the master holds them: start and end as hhmm
// text, break and worked hours; a field the master leaves empty is null.
struct PatternTimes {
    QVariant start;
    QVariant end;
    QVariant breakHours;
    QVariant worked;
};

} // namespace pelmar::patterns
