#pragma once

#include <functional>
#include <string>

#include "ui/control.h"

namespace ui {

// The picture a button carries beside its caption; the view draws the greyed state itself.
enum class TGlyph { None, New, Open, Save, SaveAs, Add, Edit, Print, Find, List, Ok, Cancel, Undo };

// A flat speed button: a picture and a caption, never the keyboard focus.
class TButton : public TControl {
 public:
  using TControl::TControl;

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& caption) { Set(FCaption, caption); }
  TGlyph Glyph() const { return FGlyph; }
  void SetGlyph(TGlyph glyph) { Set(FGlyph, glyph); }

  std::function<void()> OnClick;
  // A click, by the user through the view or by a handler ("perform a click").
  void Click() {
    if (OnClick) OnClick();
  }

 private:
  std::string FCaption;
  TGlyph FGlyph = TGlyph::None;
};

}  // namespace ui
