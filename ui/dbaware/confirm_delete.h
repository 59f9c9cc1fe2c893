#pragma once

namespace ui {

class Screen;
class TForm;

// The question the grid (Ctrl+Delete) and the navigator's delete button ask before a record goes.
inline constexpr const char* kDeleteRecordPrompt = "Delete record?";
inline constexpr const char* kDeleteRecordTitle = "주의";

// Asks the question (OK, Cancel, warning icon) in a message box owned by `owner`; true for OK.
bool ConfirmDelete(Screen& screen, const TForm* owner);

}  // namespace ui
