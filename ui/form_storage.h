#pragma once

#include <string>

namespace ui {

class TForm;

// Where a window stood and how big it was; the size and position are those of the normal
// (not maximised) window, so a maximised window comes back maximised over the same spot.
struct TPlacement {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
  bool Maximized = false;
  friend bool operator==(const TPlacement&, const TPlacement&) = default;
};

// The form placement store: the view restores the window's state and position from it when the
// window is first shown and saves them into it when the window closes. It lives in a settings
// file named after the executable, under a section named after the form class.
class TFormStorage {
 public:
  // Registers with the form; file and section as described above.
  explicit TFormStorage(TForm& owner);
  ~TFormStorage();
  TFormStorage(const TFormStorage&) = delete;
  TFormStorage& operator=(const TFormStorage&) = delete;

  bool Active = true;
  std::string IniFileName;
  std::string IniSection;

  TPlacement Placement;
  // Reads the stored placement into Placement; false, and Placement untouched, when the file
  // holds none or only part of one.
  bool RestoreFormPlacement();
  // Writes Placement; a settings file that cannot be written raises its error.
  void SaveFormPlacement() const;

 private:
  TForm& FOwner;
};

// <config folder>/<executable's file name with the extension ".INI">.
std::string DefaultPlacementFileName();

}  // namespace ui
