#pragma once

#include <wx/colour.h>
#include <wx/string.h>

#include <string>

#include "ui/color.h"

namespace ui::wx {

// Text is UTF-8 in the models and wxString in the widgets.
inline wxString ToWx(const std::string& utf8) {
  return wxString::FromUTF8(utf8.data(), utf8.size());
}
inline std::string FromWx(const wxString& text) {
  return text.utf8_string();
}

inline wxColour ToWx(TColor colour) {
  return wxColour(colour.R, colour.G, colour.B);
}

}  // namespace ui::wx
