#include "postcodedb/input_kind.h"

#include <algorithm>

#include "platform/ascii_case.h"
#include "postcodedb/input_error.h"

namespace postcodedb {
namespace {

constexpr std::string_view kAddressPrefix = "rnaddrkor_";
constexpr std::string_view kRelatedLotPrefix = "jibun_rnaddrkor_";

std::string_view BaseName(std::string_view name) {
  const std::size_t slash = name.rfind('/');
  return slash == std::string_view::npos ? name : name.substr(slash + 1);
}

bool AllDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string_view WithoutBomAndCr(std::string_view line) {
  if (line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
  if (line.ends_with('\r')) line.remove_suffix(1);
  return line;
}

// '|' is never part of a two-byte code page 949 character, so the raw line splits safely.
std::size_t FieldCount(std::string_view line) {
  return std::count(line.begin(), line.end(), '|') + 1;
}

}  // namespace

std::string InputKindName(TInputKind kind) {
  switch (kind) {
    case TInputKind::BuildingFile:
      return "per-building addresses";
    case TInputKind::RoadRanges:
      return "road ranges";
    case TInputKind::LotRanges:
      return "lot ranges";
    case TInputKind::MinistryAddresses:
      return "road-name addresses";
    case TInputKind::MinistryRelatedLots:
      return "related lots";
    case TInputKind::SixDigitList:
      return "six-digit list";
  }
  return "";
}

std::string MinistryRegion(std::string_view fileName) {
  std::string base = platform::LowerCase(BaseName(fileName));
  if (base.ends_with(".txt")) base.resize(base.size() - 4);
  for (std::string_view prefix : {kRelatedLotPrefix, kAddressPrefix}) {
    if (base.starts_with(prefix) && base.size() > prefix.size()) {
      return base.substr(prefix.size());
    }
  }
  return "";
}

std::optional<TInputKind> DetectInputKind(std::string_view fileName, std::string_view firstLine,
                                          const std::string& displayName) {
  const std::string base = platform::LowerCase(BaseName(fileName));
  if (base.starts_with(kRelatedLotPrefix)) return TInputKind::MinistryRelatedLots;
  if (base.starts_with(kAddressPrefix)) return TInputKind::MinistryAddresses;

  firstLine = WithoutBomAndCr(firstLine);
  if (firstLine.starts_with("ZIPCODE,")) return TInputKind::SixDigitList;
  const std::size_t fields = FieldCount(firstLine);
  const std::string_view first = firstLine.substr(0, firstLine.find('|'));
  if (!AllDigits(first)) {  // a header line
    if (fields == 26) return TInputKind::BuildingFile;
    if (fields == 15) return TInputKind::RoadRanges;
    if (fields == 14) return TInputKind::LotRanges;
  } else if (firstLine.ends_with('|') && (fields == 25 || fields == 15)) {
    throw EInputError(displayName, 1,
                      "a file of the ministry's layout, but its name is not rnaddrkor_<지역>.txt "
                      "or jibun_rnaddrkor_<지역>.txt, which pairs its addresses with their lots");
  }
  return std::nullopt;
}

std::string UnknownLayoutReason(std::string_view firstLine) {
  firstLine = WithoutBomAndCr(firstLine);
  if (firstLine.empty()) return "the first line is empty";
  return "not a postcode file of a known layout (the first line has " +
         std::to_string(FieldCount(firstLine)) + " fields separated by '|')";
}

}  // namespace postcodedb
