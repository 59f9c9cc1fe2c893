#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "postcodedb/address_row.h"
#include "postcodedb/byte_source.h"
#include "postcodedb/text_lines.h"

namespace postcodedb {

// Turns one input into rows, one at a time; only the current line is in memory.
class TRowReader {
 public:
  TRowReader(std::unique_ptr<TByteSource> source, std::string name, TEncoding encoding)
      : FSource(std::move(source)), FLines(*FSource, std::move(name), encoding) {}
  virtual ~TRowReader() = default;
  TRowReader(const TRowReader&) = delete;
  TRowReader& operator=(const TRowReader&) = delete;

  // The next row, every field set afresh; false at the end. Throws EInputError.
  virtual bool Next(TAddressRow& row) = 0;
  std::uint64_t BytesRead() const { return FLines.BytesRead(); }
  // 1-based number of the line the last row came from.
  std::int64_t LineNumber() const { return FLines.Number(); }

 protected:
  std::unique_ptr<TByteSource> FSource;
  TTextLines FLines;
};

}  // namespace postcodedb
