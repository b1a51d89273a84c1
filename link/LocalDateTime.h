#pragma once
// A local calendar date and time of day, and the clock that gives it. The
// clock is passed in wherever the time matters, so that automatic names are
// reproducible in tests and tools.

#include <functional>

namespace lumidrax {

struct LocalDateTime {
    int Year = 2000;
    int Month = 1;
    int Day = 1;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
};

using Clock = std::function<LocalDateTime()>;

// The system's local date and time, to the second.
LocalDateTime SystemLocalNow();

// A clock that always gives the same moment.
Clock FixedClock(const LocalDateTime& moment);

} // namespace lumidrax
