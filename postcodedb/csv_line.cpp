#include "postcodedb/csv_line.h"

#include "platform/errors.h"

namespace zipdb {

std::vector<std::string> SplitCsvLine(std::string_view line) {
  std::vector<std::string> fields;
  std::size_t pos = 0;
  while (true) {
    std::string field;
    if (pos < line.size() && line[pos] == '"') {
      ++pos;
      while (true) {
        std::size_t quote = line.find('"', pos);
        if (quote == std::string_view::npos) {
          throw platform::Exception("a quoted field is not closed");
        }
        field.append(line.substr(pos, quote - pos));
        pos = quote + 1;
        if (pos < line.size() && line[pos] == '"') {
          field.push_back('"');
          ++pos;
          continue;
        }
        break;
      }
      if (pos < line.size() && line[pos] != ',') {
        throw platform::Exception("text follows a closing quote");
      }
    } else {
      std::size_t comma = line.find(',', pos);
      std::size_t end = comma == std::string_view::npos ? line.size() : comma;
      field.assign(line.substr(pos, end - pos));
      pos = end;
    }
    fields.push_back(std::move(field));
    if (pos >= line.size()) return fields;
    ++pos;  // the comma
  }
}

}  // namespace zipdb
