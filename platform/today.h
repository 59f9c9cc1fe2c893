#pragma once

#include <string>

namespace platform {

// Today's date in the local time zone as "yyyy-MM-dd": the day a record is added on.
std::string TodayText();

}  // namespace platform
