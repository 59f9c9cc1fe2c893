#pragma once

#include "postcodedb/record_reader.h"
#include "postcodedb/related_lots.h"
#include "postcodedb/row_reader.h"

namespace postcodedb {

// The ministry's road-name addresses (rnaddrkor_<지역>.txt): code page 949, no header, 24 columns
// with a `|` closing each line. Each address gets the related lots its region's file lists for
// it; addresses whose 이동사유코드 is 63 (폐지) are skipped.
class TMinistryReader : public TRowReader {
 public:
  // `relatedLots` (may be null) must outlive the reader.
  TMinistryReader(std::unique_ptr<TByteSource> source, std::string name,
                  const TRelatedLots* relatedLots);
  bool Next(TAddressRow& row) override;

 private:
  void Fill(TAddressRow& row) const;

  TRecordReader FRecords;
  const TRelatedLots* FRelatedLots;
};

}  // namespace postcodedb
