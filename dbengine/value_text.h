#pragma once

// Internal to this layer: how a stored value reads as text and how text becomes a value of a
// field's kind.

#include <cstdint>
#include <string>
#include <string_view>

#include "dbengine/row_buffer.h"
#include "dbengine/types.h"

namespace dbengine {

// A yes/no value reads "True" or "False", null reads empty, text as stored.
std::string CellText(const CellView& cell, TFieldType type);
// Non-zero numbers and the texts True/Yes/1 (any case) are true; null is false.
bool CellBoolean(const CellView& cell);

// Text typed for a field of this kind as the value to store; empty text is null (a text field
// keeps it as empty text). A date-time becomes "YYYY-MM-DD", or "YYYY-MM-DD HH:MM:SS" when it has
// a time of day; its parts may be separated by '-', '/' or '.'. Throws platform::EConvertError for
// text that is no value of the kind.
CellValue ValueFromText(const std::string& text, TFieldType type);

// Characters (code points) of UTF-8 text.
std::size_t CharacterCount(std::string_view utf8);

}  // namespace dbengine
