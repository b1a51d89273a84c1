#include "LocalDateTime.h"

#include <ctime>

namespace lumidrax {

LocalDateTime SystemLocalNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    LocalDateTime t;
    t.Year = parts.tm_year + 1900;
    t.Month = parts.tm_mon + 1;
    t.Day = parts.tm_mday;
    t.Hour = parts.tm_hour;
    t.Minute = parts.tm_min;
    t.Second = parts.tm_sec;
    return t;
}

Clock FixedClock(const LocalDateTime& moment)
{
    return [moment] { return moment; };
}

} // namespace lumidrax
