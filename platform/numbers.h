#pragma once

#include <string>

namespace platform {

// Integer text as the run-time library reads it: leading blanks, an optional sign, decimal
// digits or a hexadecimal number after '$', 'x' or "0x" (a hexadecimal number fills all 32 bits,
// so "$FFFFFFFF" is -1); nothing may follow the digits and the value must fit in 32 bits.
bool TryStrToInt(const std::string& text, int& value);
// Throws EConvertError "'<text>' is not a valid integer value".
int StrToInt(const std::string& text);
int StrToIntDef(const std::string& text, int defaultValue);

}  // namespace platform
