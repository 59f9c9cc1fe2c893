#include "ui/wx/wx_screen.h"

#include <wx/app.h>
#include <wx/filedlg.h>
#include <wx/frame.h>
#include <wx/toplevel.h>
#include <wx/utils.h>

#include <algorithm>
#include <stdexcept>

#include "platform/folders.h"
#include "platform/paths.h"
#include "ui/event_guard.h"
#include "ui/file_dialog.h"
#include "ui/form.h"
#include "ui/wx/convert.h"
#include "ui/wx/form_view.h"
#include "ui/wx/message_dialog.h"

namespace ui::wx {

WxScreen::WxScreen() : FApplicationTitle(platform::ApplicationName(platform::ExecutablePath())) {}

WxScreen::~WxScreen() {
  while (FBusyDepth > 0) SetBusy(false);
}

int WxScreen::MessageBox(const TForm* owner, const std::string& text, const std::string& title,
                         TMsgButtons buttons, TMsgIcon icon) {
  if (FTerminated) return mrCancel;
  TFormView* ownerView = owner ? ViewOf(*owner) : nullptr;
  wxWindow* parent =
      ownerView && ownerView->Window()->IsShown() ? ownerView->Window() : DefaultParent();
  // Every form floats above other windows, so a box that did not would hide behind its owner.
  TMessageDialog dialog(parent, text, title, buttons, icon, TopLevelStyle(wxSTAY_ON_TOP));
  return dialog.Run();
}

void WxScreen::ShowMessage(const std::string& text) {
  MessageBox(nullptr, text, FApplicationTitle, TMsgButtons::Ok, TMsgIcon::None);
}

void WxScreen::ShowError(const std::string& text) {
  MessageBox(nullptr, text, FApplicationTitle, TMsgButtons::Ok, TMsgIcon::Error);
}

std::optional<std::string> WxScreen::ChooseFile(const TFileDialog& dialog) {
  if (FTerminated) return std::nullopt;
  bool open = dialog.Kind == TFileDialog::TKind::Open;
  std::string title = dialog.Title;
  if (title.empty()) title = open ? "열기" : "다른 이름으로 저장";
  wxFileDialog chooser(DefaultParent(), ToWx(title), ToWx(dialog.InitialDir), wxEmptyString,
                       ToWx(dialog.FilterName + "|" + AnyCaseMask(dialog.FilterMask)),
                       open ? wxFD_OPEN : wxFD_SAVE);
  if (chooser.ShowModal() != wxID_OK) return std::nullopt;
  return FromWx(chooser.GetPath());
}

int WxScreen::ShowModal(TForm& form) {
  if (FTerminated) return mrCancel;
  TFormView* view = ViewOf(form);
  if (!view) throw std::logic_error("no view was made for form " + form.ClassName());
  return view->ShowModal();
}

void WxScreen::SetBusy(bool busy) {
  if (busy) {
    ++FBusyDepth;
    wxBeginBusyCursor();
  } else if (FBusyDepth > 0) {
    --FBusyDepth;
    wxEndBusyCursor();
  }
}

void WxScreen::RestoreApplication() {
  wxTopLevelWindow* main = MainWindow();
  // Only a minimised application comes back. Raising a window that is up would put it over the
  // boxes standing above it, and without a window manager nothing lifts them again.
  if (!main || !main->IsIconized()) return;
  main->Iconize(false);
  main->Raise();
}

void WxScreen::SetOnMinimize(std::function<void()> handler) {
  FOnMinimize = std::move(handler);
}

void WxScreen::ApplicationMinimized() {
  if (FOnMinimize) RunGuarded(*this, FOnMinimize);
}

void WxScreen::RemoveTaskbarButton() {
  FNoTaskbar = true;
  for (wxWindow* window : wxTopLevelWindows) {
    window->SetWindowStyleFlag(window->GetWindowStyleFlag() | wxFRAME_NO_TASKBAR);
  }
}

long WxScreen::TopLevelStyle(long style) const {
  return FNoTaskbar ? style | wxFRAME_NO_TASKBAR : style;
}

void WxScreen::Terminate(int exitCode) {
  if (FTerminated) return;
  FTerminated = true;
  FExitCode = exitCode;
  EndOneLevel();
}

void WxScreen::EndOneLevel() {
  if (!FModal.empty()) {
    FModal.back()->EndModal(mrCancel);
  } else if (wxTheApp && wxTheApp->IsMainLoopRunning()) {
    wxTheApp->ExitMainLoop();
  }
}

void WxScreen::AddView(TFormView& view) {
  FViews.push_back(&view);
}

void WxScreen::RemoveView(TFormView& view) {
  std::erase(FViews, &view);
  std::erase(FModal, &view);
}

bool WxScreen::IsMainView(const TFormView& view) const {
  return !FViews.empty() && FViews.front() == &view;
}

wxTopLevelWindow* WxScreen::MainWindow() const {
  return FViews.empty() ? nullptr : FViews.front()->Window();
}

void WxScreen::ModalStarted(TFormView& view) {
  FModal.push_back(&view);
}

void WxScreen::ModalEnded(TFormView& view) {
  std::erase(FModal, &view);
  // A modal showing that Terminate ended hands the end on to the level below it.
  if (FTerminated) EndOneLevel();
}

void WxScreen::MainViewClosed() {
  if (wxTheApp && wxTheApp->IsMainLoopRunning()) wxTheApp->ExitMainLoop();
}

TFormView* WxScreen::ViewOf(const TForm& form) const {
  auto found = std::find_if(FViews.begin(), FViews.end(),
                            [&](const TFormView* view) { return &view->Form() == &form; });
  return found == FViews.end() ? nullptr : *found;
}

wxWindow* WxScreen::DefaultParent() const {
  if (!FModal.empty()) return FModal.back()->Window();
  wxTopLevelWindow* main = MainWindow();
  return main && main->IsShown() ? main : nullptr;
}

}  // namespace ui::wx
