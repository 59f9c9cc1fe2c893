#pragma once

#include "postcodedb/record_reader.h"
#include "postcodedb/row_reader.h"

namespace postcodedb {

// The postal service's per-building file ("지역별 주소 DB"): a header line, then one building a
// line in 26 `|`-separated columns; UTF-8 with a byte-order mark in current editions, code page
// 949 in older ones, told apart by the bytes. The file has no 공동주택 mark, so Apartment stays
// unset.
class TBuildingFileReader : public TRowReader {
 public:
  TBuildingFileReader(std::unique_ptr<TByteSource> source, std::string name);
  bool Next(TAddressRow& row) override;

 private:
  TRecordReader FRecords;
};

}  // namespace postcodedb
