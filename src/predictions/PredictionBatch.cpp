// PredictionBatch: times as the lists show them.
#include "predictions/PredictionBatch.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace zentrix {

std::string FormatLocalTime(std::int64_t secondsSinceEpoch)
{
    const std::time_t time = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm local{};
    if (!localtime_r(&time, &local))
        return "----/--/-- --:--";
    char text[64];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min);
    return text;
}

std::int64_t NowSeconds()
{
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

} // namespace zentrix
