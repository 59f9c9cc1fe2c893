#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "postcodedb/row_reader.h"

namespace postcodedb {

// The first line of the six-digit list.
inline constexpr std::string_view kSixDigitHeader = "ZIPCODE,SIDO,GUGUN,DONG,BUNJI,SEQ";

// The postal service's six-digit list: header ZIPCODE,SIDO,GUGUN,DONG,BUNJI,SEQ, code page 949,
// comma-separated (a field in double quotes may hold commas, "" in it is one quote). DONG, BUNJI
// and SEQ are kept as written (Town, LotText, Sequence); DONG is also taken apart: a first word
// ending in 읍/면 is the 읍면 (and, as in the other files, the lot's area), a 리 after it the
// 리, a first word ending in 사서함 a post-office box, any other first word the 동; what follows
// is the building's name.
class TSixDigitReader : public TRowReader {
 public:
  TSixDigitReader(std::unique_ptr<TByteSource> source, std::string name);
  bool Next(TAddressRow& row) override;

 private:
  std::vector<std::string> FFields;
};

// The fields of one comma-separated line. Throws platform::Exception for a quote that is not
// closed or is followed by anything but a comma.
void SplitCsvFields(std::string_view line, std::vector<std::string>& fields);

}  // namespace postcodedb
