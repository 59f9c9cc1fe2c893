#pragma once

#include <string>

namespace platform {
class ProfileFile;
}

// The host's side of the shared settings file: what it reads after Zeravu ended, and the
// completion flag it resets before it starts Zeravu (Zeravu only ever sets it).
namespace zarizehost {

inline constexpr const char* kSection = "ZERAVU";

void ClearDesignFlag(platform::ProfileFile& ini);

// DBOPENDIR, DBOPENNAME and DESIGNOK of section ZERAVU, one "KEY=value" line each; a key that
// is not there reads "KEY is not set".
std::string ZeravuKeys(const platform::ProfileFile& ini);

}  // namespace zarizehost
