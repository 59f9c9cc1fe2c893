#include "ui/wx/form_view.h"

#include <wx/dialog.h>
#include <wx/display.h>
#include <wx/frame.h>

#include <stdexcept>

#include "ui/control.h"
#include "ui/event_guard.h"
#include "ui/form.h"
#include "ui/form_storage.h"
#include "ui/wx/convert.h"
#include "ui/wx/font.h"
#include "ui/wx/keys.h"
#include "ui/wx/wx_screen.h"

namespace ui::wx {

namespace {

long StyleFor(const TForm& form, TFormView::TKind kind) {
  long style = wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxCLIP_CHILDREN;
  if (form.BorderStyle == TBorderStyle::Sizeable) {
    style |= wxRESIZE_BORDER | wxMAXIMIZE_BOX;
    // A dialog cannot be minimised on its own; its owner is.
    if (kind == TFormView::TKind::Frame) style |= wxMINIMIZE_BOX;
  }
  if (form.FormStyle == TFormStyle::StayOnTop) style |= wxSTAY_ON_TOP;
  return style;
}

wxTopLevelWindow* MakeWindow(const TForm& form, TFormView::TKind kind, long style) {
  wxString title = ToWx(form.Caption());
  wxString name = ToWx(form.ClassName());
  if (kind == TFormView::TKind::Frame) {
    return new wxFrame(nullptr, wxID_ANY, title, wxDefaultPosition, wxDefaultSize, style, name);
  }
  // Dialogs have no wx parent: every form lives until the program ends, whatever goes first.
  auto* dialog =
      new wxDialog(nullptr, wxID_ANY, title, wxDefaultPosition, wxDefaultSize, style, name);
  // Escape belongs to the form's own key handling, as it does for frames.
  dialog->SetEscapeId(wxID_NONE);
  return dialog;
}

bool OnSomeDisplay(const wxRect& rect) {
  for (unsigned i = 0; i < wxDisplay::GetCount(); ++i) {
    if (wxDisplay(i).GetGeometry().Intersects(rect)) return true;
  }
  return false;
}

}  // namespace

TFormView::TFormView(WxScreen& screen, TForm& form, TKind kind)
    : FScreen(screen),
      FForm(form),
      FWindow(MakeWindow(form, kind, screen.TopLevelStyle(StyleFor(form, kind)))) {
  FWindow->SetFont(FormFont());
  if (form.Color) FWindow->SetBackgroundColour(ToWx(*form.Color));
  FWindow->SetClientSize(form.ClientWidth, form.ClientHeight);
  if (form.Position == TPosition::Designed) FWindow->Move(form.Left, form.Top);
  FNormalRect = FWindow->GetRect();

  FChangedId = form.Changed.Connect([this] { Refresh(); });
  FCloseId = form.CloseRequested.Connect([this] { OnCloseRequested(); });
  FWindow->Bind(wxEVT_CLOSE_WINDOW, &TFormView::OnCloseBox, this);
  FWindow->Bind(wxEVT_CHAR_HOOK, &TFormView::OnCharHook, this);
  FWindow->Bind(wxEVT_CHILD_FOCUS, &TFormView::OnChildFocus, this);
  FWindow->Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
    RememberNormalRect();
    event.Skip();
  });
  FWindow->Bind(wxEVT_MOVE, [this](wxMoveEvent& event) {
    RememberNormalRect();
    event.Skip();
  });
  FWindow->Bind(wxEVT_ICONIZE, [this](wxIconizeEvent& event) {
    if (event.IsIconized() && FScreen.IsMainView(*this)) FScreen.ApplicationMinimized();
    event.Skip();
  });
  screen.AddView(*this);
}

TFormView::~TFormView() {
  FScreen.RemoveView(*this);
  FForm.Changed.Disconnect(FChangedId);
  FForm.CloseRequested.Disconnect(FCloseId);
  // At once rather than at idle time: the control views in it disconnect from their models,
  // which may go right after this.
  delete FWindow;
}

wxFrame* TFormView::Frame() const {
  return dynamic_cast<wxFrame*>(FWindow);
}

bool TFormView::Guarded(const std::function<void()>& handler) const {
  bool finished = false;
  RunGuarded(FScreen, [&] {
    handler();
    finished = true;
  });
  return finished;
}

void TFormView::Refresh() {
  wxString title = ToWx(FForm.Caption());
  if (FWindow->GetTitle() != title) FWindow->SetTitle(title);
  if (IsModal() && FForm.ModalResult() != mrNone) EndModal(FForm.ModalResult());
  // Only a change of the active control moves the focus; other changes leave it where it is.
  if (FForm.ActiveControl() != FFocusedControl) FocusActiveControl();
}

void TFormView::FocusActiveControl() {
  FFocusedControl = FForm.ActiveControl();
  if (!FWindow->IsShown()) return;
  auto found = FControls.find(FForm.ActiveControl());
  if (found == FControls.end()) return;
  wxWindow* focus = wxWindow::FindFocus();
  for (wxWindow* w = focus; w; w = w->GetParent()) {
    if (w == found->second) return;
  }
  found->second->SetFocus();
}

void TFormView::RegisterControl(TControl& control, wxWindow& widget) {
  FControls[&control] = &widget;
}

void TFormView::UnregisterControl(TControl& control) {
  FControls.erase(&control);
}

void TFormView::OnChildFocus(wxChildFocusEvent& event) {
  event.Skip();
  // The toolkit focuses a first child of its own choosing as a window shows; the form's choice
  // comes right after it, and the form must not take the toolkit's for the user's.
  if (FPlacingFocus) return;
  NoteFocus();
}

void TFormView::FocusAfterShowing() {
  FPlacingFocus = false;
  if (FControls.contains(FForm.ActiveControl())) {
    FocusActiveControl();
  } else {
    NoteFocus();
  }
}

void TFormView::NoteFocus() {
  TControl* now = nullptr;
  for (wxWindow* w = wxWindow::FindFocus(); w && w != FWindow && !now; w = w->GetParent()) {
    for (const auto& [control, widget] : FControls) {
      if (widget == w) now = control;
    }
  }
  Guarded([&] { FForm.SetActiveControl(now); });
}

void TFormView::OnCharHook(wxKeyEvent& event) {
  TKey key = ToKey(event.GetKeyCode());
  bool goesOn = true;
  if (key != 0) {
    goesOn = false;
    Guarded([&] { goesOn = FForm.KeyDown(key, ToShiftState(event)); });
  }
  if (goesOn) event.Skip();
}

void TFormView::OnCloseBox(wxCloseEvent&) {
  Guarded([&] { FForm.Close(); });
}

void TFormView::OnCloseRequested() {
  if (IsModal()) {
    FForm.SetModalResult(mrCancel);
  } else if (FWindow->IsShown()) {
    CloseWindow();
  }
}

void TFormView::CloseWindow() {
  bool canClose = false;
  if (!Guarded([&] { canClose = FForm.CloseQuery(); }) || !canClose) return;
  Guarded([&] { FForm.DoClose(); });
  SavePlacement();
  FWindow->Hide();
  if (FScreen.IsMainView(*this)) FScreen.MainViewClosed();
}

void TFormView::Show() {
  if (FScreen.Terminated()) return;
  if (!FShownOnce) {
    FShownOnce = true;
    RestorePlacement();
  }
  PlaceForShowing();
  Guarded([&] { FForm.DoShow(); });
  FPlacingFocus = true;
  FWindow->Show();
  FWindow->CallAfter([this] { FocusAfterShowing(); });
}

int TFormView::ShowModal() {
  auto* dialog = dynamic_cast<wxDialog*>(FWindow);
  if (!dialog) throw std::logic_error(FForm.ClassName() + " is a frame; only dialogs are modal");
  FForm.SetModalResult(mrNone);
  PlaceForShowing();
  Guarded([&] { FForm.DoShow(); });
  if (FForm.ModalResult() == mrNone) {
    FScreen.ModalStarted(*this);
    FPlacingFocus = true;
    dialog->CallAfter([this] { FocusAfterShowing(); });
    dialog->ShowModal();
    FScreen.ModalEnded(*this);
  }
  Guarded([&] { FForm.DoClose(); });
  return FForm.ModalResult() == mrNone ? mrCancel : FForm.ModalResult();
}

bool TFormView::IsModal() const {
  auto* dialog = dynamic_cast<wxDialog*>(FWindow);
  return dialog && dialog->IsModal();
}

void TFormView::EndModal(int result) {
  if (IsModal()) static_cast<wxDialog*>(FWindow)->EndModal(result);
}

void TFormView::PlaceForShowing() {
  if (FForm.Position == TPosition::ScreenCenter) {
    FWindow->CentreOnScreen();
  } else if (FForm.Position == TPosition::MainFormCenter) {
    wxTopLevelWindow* main = FScreen.MainWindow();
    if (!main || main == FWindow || !main->IsShown()) return;
    wxRect over = main->GetRect();
    wxSize size = FWindow->GetSize();
    FWindow->Move(over.x + (over.width - size.x) / 2, over.y + (over.height - size.y) / 2);
  }
}

void TFormView::RememberNormalRect() {
  if (FWindow->IsShown() && !FWindow->IsMaximized() && !FWindow->IsIconized()) {
    FNormalRect = FWindow->GetRect();
  }
}

void TFormView::RestorePlacement() {
  TFormStorage* storage = FForm.Storage();
  if (!storage || !storage->Active) return;
  bool found = false;
  Guarded([&] { found = storage->RestoreFormPlacement(); });
  if (!found) return;
  const TPlacement& p = storage->Placement;
  wxRect rect(p.Left, p.Top, p.Width, p.Height);
  // A window stored on a monitor that is gone would open out of sight: keep the designed place.
  if (!OnSomeDisplay(rect)) return;
  FWindow->SetSize(rect);
  FNormalRect = rect;
  if (p.Maximized) FWindow->Maximize();
}

void TFormView::SavePlacement() {
  TFormStorage* storage = FForm.Storage();
  if (!storage || !storage->Active) return;
  bool maximized = FWindow->IsMaximized();
  // While maximised or minimised the window's own rectangle is not the one to come back to.
  wxRect normal = maximized || FWindow->IsIconized() ? FNormalRect : FWindow->GetRect();
  storage->Placement = {normal.x, normal.y, normal.width, normal.height, maximized};
  Guarded([&] { storage->SaveFormPlacement(); });
}

}  // namespace ui::wx
