#pragma once

#include <cstdint>

namespace ui {

// A colour by its red, green and blue parts.
struct TColor {
  std::uint8_t R = 0;
  std::uint8_t G = 0;
  std::uint8_t B = 0;
  friend bool operator==(const TColor&, const TColor&) = default;
};

// The light blue of the forms, their bottom bars and the grid titles.
inline constexpr TColor clFormBlue{204, 221, 255};

}  // namespace ui
