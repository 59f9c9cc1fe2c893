#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zipdb {

// The fields of one CSV line (without its line end). A field in double quotes may hold commas,
// and "" inside it stands for one quote. Throws platform::Exception for a quote that is not
// closed or is followed by anything but a comma.
std::vector<std::string> SplitCsvLine(std::string_view line);

}  // namespace zipdb
