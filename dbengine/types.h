#pragma once

#include <cstdint>

namespace dbengine {

enum TFieldType { ftUnknown, ftAutoInc, ftInteger, ftFloat, ftDateTime, ftBoolean, ftWideString };
enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };
enum TCursorType { ctStatic, ctOpenForwardOnly };
enum TLockType { ltOptimistic, ltReadOnly };
enum TCommandType { cmdText };

// Changes whenever the data of a database may have changed: a write through this connection, or a
// commit by another one. Equal stamps mean rows read in between are still what it holds.
struct TChangeStamp {
  std::int64_t DataVersion = -1;
  std::int64_t OwnChanges = -1;
  friend bool operator==(const TChangeStamp&, const TChangeStamp&) = default;
};

// Size a plain TEXT column reports when its declaration names none.
inline constexpr int kDefaultTextSize = 255;

}  // namespace dbengine
