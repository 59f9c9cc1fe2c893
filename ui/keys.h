#pragma once

namespace ui {

// Key codes as the handlers compare them: letters and digits are their upper-case character
// codes, the others follow the classic virtual-key numbering.
using TKey = int;

inline constexpr TKey VK_BACK = 8;
inline constexpr TKey VK_TAB = 9;
inline constexpr TKey VK_RETURN = 13;
inline constexpr TKey VK_ESCAPE = 27;
inline constexpr TKey VK_SPACE = 32;
inline constexpr TKey VK_PRIOR = 33;
inline constexpr TKey VK_NEXT = 34;
inline constexpr TKey VK_END = 35;
inline constexpr TKey VK_HOME = 36;
inline constexpr TKey VK_LEFT = 37;
inline constexpr TKey VK_UP = 38;
inline constexpr TKey VK_RIGHT = 39;
inline constexpr TKey VK_DOWN = 40;
inline constexpr TKey VK_INSERT = 45;
inline constexpr TKey VK_DELETE = 46;
inline constexpr TKey VK_F1 = 112;  // F2 to F12 follow

// Modifier keys held with a key, as bit flags.
using TShiftState = unsigned;
inline constexpr TShiftState ssShift = 1;
inline constexpr TShiftState ssAlt = 2;
inline constexpr TShiftState ssCtrl = 4;

}  // namespace ui
