#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace postcodedb {

enum class TInputKind {
  BuildingFile,         // the postal service's per-building file: header, 26 columns
  RoadRanges,           // the postal service's road ranges: header, 15 columns
  LotRanges,            // the postal service's lot ranges: header, 14 columns
  MinistryAddresses,    // rnaddrkor_<지역>.txt: no header, 24 columns
  MinistryRelatedLots,  // jibun_rnaddrkor_<지역>.txt: no header, 14 columns
  SixDigitList,         // header ZIPCODE,SIDO,GUGUN,DONG,BUNJI,SEQ
};

// A few words for progress lines and messages.
std::string InputKindName(TInputKind kind);

// Tells the kind from the file's name (the part after the last '/') and its first line as
// read, before decoding: the ministry's files by their names, the others by their header;
// nullopt when it is none of them. Throws EInputError naming `displayName` for a file of the
// ministry's layout under another name, which could not be paired with its related lots.
std::optional<TInputKind> DetectInputKind(std::string_view fileName, std::string_view firstLine,
                                          const std::string& displayName);
// Why a first line was not recognised, for the message that stops or skips the input.
std::string UnknownLayoutReason(std::string_view firstLine);

// The <지역> of a ministry file's name (rnaddrkor_<지역>.txt, jibun_rnaddrkor_<지역>.txt), the key
// that pairs an address file with its related lots; "" for any other name.
std::string MinistryRegion(std::string_view fileName);

}  // namespace postcodedb
