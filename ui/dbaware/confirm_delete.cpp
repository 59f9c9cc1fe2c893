#include "ui/dbaware/confirm_delete.h"

#include "ui/screen.h"

namespace ui {

bool ConfirmDelete(Screen& screen, const TForm* owner) {
  return screen.MessageBox(owner, kDeleteRecordPrompt, kDeleteRecordTitle, TMsgButtons::OkCancel,
                           TMsgIcon::Warning) == mrOk;
}

}  // namespace ui
