#pragma once

namespace dbengine {

enum TFieldType { ftUnknown, ftAutoInc, ftInteger, ftFloat, ftDateTime, ftBoolean, ftWideString };
enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };
enum TCursorType { ctStatic, ctOpenForwardOnly };
enum TLockType { ltOptimistic, ltReadOnly };
enum TCommandType { cmdText };

// Size a plain TEXT column reports when its declaration names none.
inline constexpr int kDefaultTextSize = 255;

}  // namespace dbengine
