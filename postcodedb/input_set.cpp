#include "postcodedb/input_set.h"

#include <map>

#include "postcodedb/building_file_reader.h"
#include "postcodedb/file_source.h"
#include "postcodedb/input_error.h"
#include "postcodedb/line_reader.h"
#include "postcodedb/ministry_reader.h"
#include "postcodedb/range_file_reader.h"
#include "postcodedb/six_digit_reader.h"

namespace postcodedb {
namespace {

constexpr std::uint64_t kRowsBetweenReports = 4096;

// The first line as read, without its line end; at most kMaxLineBytes of it, so a binary entry
// with no line end costs no more than that.
std::string FirstLine(TByteSource& source) {
  std::string line;
  char buffer[4096];
  while (line.size() < kMaxLineBytes) {
    const std::size_t got = source.Read(buffer, sizeof buffer);
    if (got == 0) break;
    line.append(buffer, got);
    const std::size_t lf = line.find('\n');
    if (lf != std::string::npos) {
      line.resize(lf);
      break;
    }
  }
  return line;
}

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::unique_ptr<TRowReader> OpenReader(const TInput& input, const TRelatedLots* relatedLots) {
  switch (input.Kind) {
    case TInputKind::BuildingFile:
      return std::make_unique<TBuildingFileReader>(input.Open(), input.Name);
    case TInputKind::RoadRanges:
      return std::make_unique<TRangeFileReader>(input.Open(), input.Name,
                                                TRangeFileReader::TLayout::Road);
    case TInputKind::LotRanges:
      return std::make_unique<TRangeFileReader>(input.Open(), input.Name,
                                                TRangeFileReader::TLayout::Lot);
    case TInputKind::MinistryAddresses:
      return std::make_unique<TMinistryReader>(input.Open(), input.Name, relatedLots);
    case TInputKind::SixDigitList:
      return std::make_unique<TSixDigitReader>(input.Open(), input.Name);
    case TInputKind::MinistryRelatedLots:
      break;
  }
  throw EInputError(input.Name, 0, "related lots are read only with their addresses");
}

// Counts what is read into the progress and passes it on now and then.
class TProgressReporter {
 public:
  TProgressReporter(const std::vector<TInput>& inputs, const TProgressCallback& callback)
      : FCallback(callback) {
    FProgress.FilesTotal = inputs.size();
    for (const TInput& input : inputs) FProgress.BytesTotal += input.Size;
    Report();
  }

  void StartFile(const TInput& input) {
    FProgress.CurrentFile = input.Name;
    Report();
  }
  void BytesInFile(std::uint64_t bytes) { FProgress.BytesRead = FBytesBefore + bytes; }
  void Row(std::uint64_t bytesInFile) {
    if (++FProgress.Rows % kRowsBetweenReports != 0) return;
    BytesInFile(bytesInFile);
    Report();
  }
  void EndFile(const TInput& input, std::uint64_t bytesInFile) {
    FBytesBefore += std::max(input.Size, bytesInFile);
    FProgress.BytesRead = FBytesBefore;
    ++FProgress.FilesDone;
    Report();
  }
  void Finish() {
    FProgress.CurrentFile.clear();
    FProgress.Finished = true;
    Report();
  }
  void Report() const {
    if (FCallback) FCallback(FProgress);
  }

 private:
  const TProgressCallback& FCallback;
  TProgress FProgress;
  std::uint64_t FBytesBefore = 0;
};

}  // namespace

TInputSet::TInputSet(const std::vector<std::string>& paths, TZipLimits limits) {
  for (const std::string& path : paths) {
    if (LooksLikeZipArchive(path)) {
      AddArchive(path, limits);
    } else {
      AddFile(path);
    }
  }
  CheckRegions();
}

void TInputSet::AddFile(const std::string& path) {
  TInput input;
  input.Name = path;
  input.FileName = BaseName(path);
  input.Open = [path]() -> std::unique_ptr<TByteSource> {
    return std::make_unique<TFileSource>(path);
  };
  auto source = std::make_unique<TFileSource>(path);
  input.Size = source->Size();
  const std::string first = FirstLine(*source);
  const std::optional<TInputKind> kind = DetectInputKind(input.FileName, first, path);
  if (!kind) throw EInputError(path, 1, UnknownLayoutReason(first));
  input.Kind = *kind;
  FInputs.push_back(std::move(input));
}

void TInputSet::AddArchive(const std::string& path, const TZipLimits& limits) {
  auto archive = std::make_shared<TZipArchive>(path, limits);
  for (const TZipEntry& entry : archive->Entries()) {
    TInput input;
    input.Name = archive->EntryDisplayName(entry);
    input.FileName = BaseName(entry.Name);
    input.Size = entry.Size;
    input.Open = [archive, entry] { return archive->Open(entry); };
    const std::string first = FirstLine(*input.Open());
    const std::optional<TInputKind> kind = DetectInputKind(input.FileName, first, input.Name);
    if (!kind) {
      FSkipped.push_back({input.Name, UnknownLayoutReason(first)});
      continue;
    }
    input.Kind = *kind;
    FInputs.push_back(std::move(input));
  }
}

void TInputSet::CheckRegions() const {
  std::map<std::string, const TInput*> addresses;
  std::map<std::string, const TInput*> relatedLots;
  for (const TInput& input : FInputs) {
    if (input.Kind != TInputKind::MinistryAddresses &&
        input.Kind != TInputKind::MinistryRelatedLots) {
      continue;
    }
    auto& seen = input.Kind == TInputKind::MinistryAddresses ? addresses : relatedLots;
    auto [it, added] = seen.try_emplace(MinistryRegion(input.FileName), &input);
    if (!added) {
      throw EInputError(input.Name, 0, "the same region's file as " + it->second->Name);
    }
  }
  for (const auto& [region, input] : relatedLots) {
    if (!addresses.contains(region)) {
      throw EInputError(input->Name, 0,
                        "related lots without their addresses (rnaddrkor_" + region + ".txt)");
    }
  }
}

const TInput* TInputSet::RelatedLotsOf(const TInput& addresses) const {
  const std::string region = MinistryRegion(addresses.FileName);
  for (const TInput& input : FInputs) {
    if (input.Kind == TInputKind::MinistryRelatedLots && MinistryRegion(input.FileName) == region) {
      return &input;
    }
  }
  return nullptr;
}

void TInputSet::ReadRows(const TRowSink& sink, const TProgressCallback& progress) const {
  TProgressReporter reporter(FInputs, progress);
  TAddressRow row;
  for (const TInput& input : FInputs) {
    if (input.Kind == TInputKind::MinistryRelatedLots) continue;
    TRelatedLots relatedLots;
    if (const TInput* lots =
            input.Kind == TInputKind::MinistryAddresses ? RelatedLotsOf(input) : nullptr) {
      reporter.StartFile(*lots);
      std::uint64_t lotBytes = 0;
      relatedLots.Read(lots->Open(), lots->Name, [&](std::uint64_t bytes) {
        lotBytes = bytes;
        reporter.BytesInFile(bytes);
        reporter.Report();
      });
      reporter.EndFile(*lots, lotBytes);
    }
    std::unique_ptr<TRowReader> reader = OpenReader(input, &relatedLots);
    reporter.StartFile(input);
    while (reader->Next(row)) {
      sink(row);
      reporter.Row(reader->BytesRead());
    }
    reporter.EndFile(input, reader->BytesRead());
  }
  reporter.Finish();
}

}  // namespace postcodedb
