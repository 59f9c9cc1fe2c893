#pragma once

#include <wx/gdicmn.h>

#include <cstddef>
#include <functional>
#include <map>

class wxChildFocusEvent;
class wxCloseEvent;
class wxFrame;
class wxKeyEvent;
class wxTopLevelWindow;
class wxWindow;

namespace ui {
class TControl;
class TForm;
}  // namespace ui

namespace ui::wx {

class WxScreen;

// The window of a form: a frame (a main window) or a dialog (shown modally). It keeps the title,
// size, position, colour, stay-on-top and the keyboard focus in step with the model, forwards
// key preview, the close box and focus moves to it, restores and saves the placement through the
// form's TFormStorage, and ends a modal showing when the model's ModalResult becomes nonzero.
// Concrete views derive from it and put their control views into Window() (or panels in it).
// The form model must outlive its view.
class TFormView {
 public:
  enum class TKind { Frame, Dialog };

  TFormView(WxScreen& screen, TForm& form, TKind kind);
  virtual ~TFormView();
  TFormView(const TFormView&) = delete;
  TFormView& operator=(const TFormView&) = delete;

  wxTopLevelWindow* Window() const { return FWindow; }
  wxFrame* Frame() const;  // null for a dialog
  TForm& Form() const { return FForm; }
  WxScreen& Screen() const { return FScreen; }

  // Shows the window without waiting (a main window); nothing after Terminate.
  void Show();
  // Shows a dialog modally until the model's ModalResult is nonzero; answers it (mrCancel when
  // the showing was ended from outside).
  int ShowModal();
  bool IsModal() const;
  void EndModal(int result);

  // Control views tell the form which widget shows which control, for focus.
  void RegisterControl(TControl& control, wxWindow& widget);
  void UnregisterControl(TControl& control);

  // Runs a handler of the model the way every forwarded event runs: an escaped error ends in
  // the standard error box. False when it did.
  bool Guarded(const std::function<void()>& handler) const;

 private:
  void Refresh();
  void FocusActiveControl();
  // Once a showing has begun: the form's active control gets the focus, or, when it has none
  // here, learns where the focus is.
  void FocusAfterShowing();
  // Tells the form which of its controls has the focus now.
  void NoteFocus();
  void OnCloseRequested();
  void CloseWindow();
  void OnCloseBox(wxCloseEvent& event);
  void OnCharHook(wxKeyEvent& event);
  void OnChildFocus(wxChildFocusEvent& event);
  void RememberNormalRect();
  void PlaceForShowing();
  void RestorePlacement();
  void SavePlacement();

  WxScreen& FScreen;
  TForm& FForm;
  wxTopLevelWindow* FWindow;
  std::map<TControl*, wxWindow*> FControls;
  TControl* FFocusedControl = nullptr;  // the active control the focus was last moved to
  std::size_t FChangedId;
  std::size_t FCloseId;
  bool FShownOnce = false;
  // From the start of a showing until the form's own focus is placed.
  bool FPlacingFocus = false;
  wxRect FNormalRect;
};

}  // namespace ui::wx
