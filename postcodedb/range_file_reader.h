#pragma once

#include "postcodedb/record_reader.h"
#include "postcodedb/row_reader.h"

namespace postcodedb {

// The postal service's range files ("범위주소 DB"), a header line then one range a line:
// - road ranges, 15 columns: a run of building numbers on a road, its kind (0 that address only,
//   1 odd, 2 even, 3 every number);
// - lot ranges, 14 columns: a run of lots in a 동 or 리. The layout has no kind column; every lot
//   between the bounds belongs to the range, so the kind is All.
// An end left empty (as for a single address) is the start; an end before the start is refused.
class TRangeFileReader : public TRowReader {
 public:
  enum class TLayout { Road, Lot };

  TRangeFileReader(std::unique_ptr<TByteSource> source, std::string name, TLayout layout);
  bool Next(TAddressRow& row) override;

 private:
  void ReadRoadRange(TAddressRow& row) const;
  void ReadLotRange(TAddressRow& row) const;

  TLayout FLayout;
  TRecordReader FRecords;
};

}  // namespace postcodedb
