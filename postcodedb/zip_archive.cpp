#include "postcodedb/zip_archive.h"

#include <unistd.h>
#include <zip.h>

#include <algorithm>

#include "platform/cp949.h"
#include "platform/unique_fd.h"
#include "platform/utf8.h"
#include "postcodedb/file_source.h"
#include "postcodedb/input_error.h"

namespace postcodedb {
namespace {

std::string LibraryErrorText(int code) {
  zip_error_t error;
  zip_error_init_with_code(&error, code);
  std::string text = zip_error_strerror(&error);
  zip_error_fini(&error);
  return text;
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// `strict` is the library's reading of the name by the letter of the format: unchanged when the
// archive marks it UTF-8, else taken as code page 437. Archives made on Korean systems leave
// code page 949 names unmarked.
std::string DecodeEntryName(const std::string& raw, const std::string& strict) {
  if (IsAscii(raw)) return raw;
  const bool markedUtf8 = raw == strict;
  if (platform::IsValidUtf8(raw) && (markedUtf8 || !platform::IsValidCp949(raw))) return raw;
  return platform::FromCp949(raw);
}

// An entry's bytes as they are inflated, never more than it declared.
class TZipEntrySource : public TByteSource {
 public:
  TZipEntrySource(zip_file_t* file, std::string name, std::uint64_t declared)
      : FFile(file), FName(std::move(name)), FDeclared(declared) {}
  ~TZipEntrySource() override { zip_fclose(FFile); }
  TZipEntrySource(const TZipEntrySource&) = delete;
  TZipEntrySource& operator=(const TZipEntrySource&) = delete;

  std::size_t Read(char* buffer, std::size_t size) override {
    // Asking for one byte beyond the declared size shows an entry that inflates further.
    const std::uint64_t wanted = std::min<std::uint64_t>(size, FDeclared - FRead + 1);
    const zip_int64_t got = zip_fread(FFile, buffer, wanted);
    if (got < 0) throw EInputError(FName, 0, zip_file_strerror(FFile));
    FRead += static_cast<std::uint64_t>(got);
    if (FRead > FDeclared) {
      throw EInputError(FName, 0, "the entry inflates beyond the size it declares");
    }
    if (got == 0 && FRead < FDeclared) {
      throw EInputError(FName, 0, "the entry ends before the size it declares");
    }
    return static_cast<std::size_t>(got);
  }

 private:
  zip_file_t* FFile;
  std::string FName;
  std::uint64_t FDeclared;
  std::uint64_t FRead = 0;
};

}  // namespace

bool LooksLikeZipArchive(const std::string& path) {
  std::uint64_t size = 0;
  platform::UniqueFd fd(OpenRegularFile(path, size));
  char magic[4] = {};
  if (pread(fd.Get(), magic, sizeof magic, 0) != static_cast<ssize_t>(sizeof magic)) return false;
  const std::string_view start(magic, sizeof magic);
  return start == std::string_view("PK\x03\x04", 4) || start == std::string_view("PK\x05\x06", 4);
}

TZipArchive::TZipArchive(const std::string& path, TZipLimits limits)
    : FPath(path), FLimits(limits) {
  std::uint64_t size = 0;
  platform::UniqueFd fd(OpenRegularFile(path, size));
  int error = 0;
  FArchive = zip_fdopen(fd.Get(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
  if (FArchive == nullptr) {
    throw EInputError(path, 0, "not a readable zip archive: " + LibraryErrorText(error));
  }
  fd.Release();  // the archive owns it now
  const zip_int64_t count = zip_get_num_entries(FArchive, 0);
  if (count < 0 || static_cast<std::uint64_t>(count) > FLimits.MaxEntries) {
    zip_discard(FArchive);
    throw EInputError(
        path, 0, "the archive holds more than " + std::to_string(FLimits.MaxEntries) + " entries");
  }
  for (zip_uint64_t index = 0; index < static_cast<zip_uint64_t>(count); ++index) {
    zip_stat_t status;
    const char* raw = zip_get_name(FArchive, index, ZIP_FL_ENC_RAW);
    if (raw == nullptr || zip_stat_index(FArchive, index, 0, &status) != 0) continue;
    const std::string rawName = raw;
    const char* strict = zip_get_name(FArchive, index, ZIP_FL_ENC_STRICT);
    TZipEntry entry;
    entry.Index = index;
    entry.Name = DecodeEntryName(rawName, strict == nullptr ? rawName : std::string(strict));
    if (entry.Name.empty() || entry.Name.back() == '/') continue;  // a folder
    entry.Size = status.size;
    entry.CompressedSize = status.comp_size;
    FEntries.push_back(std::move(entry));
  }
}

TZipArchive::~TZipArchive() {
  zip_discard(FArchive);
}

std::string TZipArchive::EntryDisplayName(const TZipEntry& entry) const {
  return FPath + " (" + entry.Name + ")";
}

std::unique_ptr<TByteSource> TZipArchive::Open(const TZipEntry& entry) const {
  const std::string name = EntryDisplayName(entry);
  if (entry.Size > FLimits.MaxEntryBytes) {
    throw EInputError(name, 0,
                      "the entry would inflate to " + std::to_string(entry.Size) +
                          " bytes, more than the " + std::to_string(FLimits.MaxEntryBytes) +
                          " a postcode file may hold");
  }
  if (entry.Size > FLimits.RatioFreeBytes && entry.Size / FLimits.MaxRatio > entry.CompressedSize) {
    throw EInputError(name, 0,
                      "the entry would inflate more than " + std::to_string(FLimits.MaxRatio) +
                          "-fold, which no postcode file does");
  }
  zip_stat_t status;
  if (zip_stat_index(FArchive, entry.Index, 0, &status) == 0 &&
      (status.valid & ZIP_STAT_ENCRYPTION_METHOD) != 0 && status.encryption_method != ZIP_EM_NONE) {
    throw EInputError(name, 0, "the entry is encrypted");
  }
  zip_file_t* file = zip_fopen_index(FArchive, entry.Index, 0);
  if (file == nullptr) throw EInputError(name, 0, zip_strerror(FArchive));
  return std::make_unique<TZipEntrySource>(file, name, entry.Size);
}

}  // namespace postcodedb
