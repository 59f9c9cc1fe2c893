#include "programs/host/host_settings.h"

#include "platform/profile_file.h"

namespace zarizehost {

void ClearDesignFlag(platform::ProfileFile& ini) {
  ini.WriteString(kSection, "DESIGNOK", "0");
}

std::string ZeravuKeys(const platform::ProfileFile& ini) {
  // No stored value holds a line break, so this default tells a missing key from an empty one.
  const std::string absent = "\n";
  std::string keys;
  for (const char* key : {"DBOPENDIR", "DBOPENNAME", "DESIGNOK"}) {
    const std::string value = ini.ReadString(kSection, key, absent);
    keys += value == absent ? std::string(key) + " is not set\n" : key + ("=" + value) + '\n';
  }
  return keys;
}

}  // namespace zarizehost
