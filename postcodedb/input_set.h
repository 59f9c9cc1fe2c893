#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "postcodedb/address_row.h"
#include "postcodedb/byte_source.h"
#include "postcodedb/input_kind.h"
#include "postcodedb/progress.h"
#include "postcodedb/zip_archive.h"

namespace postcodedb {

// One file to read: a file named on the command line or an archive's entry.
struct TInput {
  std::string Name;      // as errors and progress name it
  std::string FileName;  // the file's or entry's own name, which may tell its kind and region
  TInputKind Kind = TInputKind::BuildingFile;
  std::uint64_t Size = 0;  // bytes of text (an entry's inflated size as declared)
  std::function<std::unique_ptr<TByteSource>()> Open;
};

// An archive's entry that is not a postcode file (a read-me, a guide to the layout) and is left
// out, with the reason.
struct TSkippedEntry {
  std::string Name;
  std::string Reason;
};

using TRowSink = std::function<void(const TAddressRow&)>;

// Everything one run reads: files and zip archives as the user names them, each archive's
// entries read in place. Kinds are told when the set is made, so a wrong file stops the run
// before any row is read.
class TInputSet {
 public:
  // Throws EInputError for a missing or unreadable file, a file of no known layout, a damaged
  // archive, two address files of one region, or related lots without their addresses.
  explicit TInputSet(const std::vector<std::string>& paths, TZipLimits limits = {});

  const std::vector<TInput>& Inputs() const { return FInputs; }
  const std::vector<TSkippedEntry>& Skipped() const { return FSkipped; }

  // Reads every row of every input, in the order given, into `sink`. A ministry address file is
  // read right after its region's related lots, which are held only while it is read. Throws
  // EInputError at the first bad line; whatever `sink` throws goes through.
  void ReadRows(const TRowSink& sink, const TProgressCallback& progress = {}) const;

 private:
  void AddFile(const std::string& path);
  void AddArchive(const std::string& path, const TZipLimits& limits);
  void CheckRegions() const;
  const TInput* RelatedLotsOf(const TInput& addresses) const;

  std::vector<TInput> FInputs;
  std::vector<TSkippedEntry> FSkipped;
};

}  // namespace postcodedb
