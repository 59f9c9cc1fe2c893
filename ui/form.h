#pragma once

#include <functional>
#include <optional>
#include <string>

#include "ui/color.h"
#include "ui/keys.h"
#include "ui/signal.h"

namespace ui {

class TControl;
class TFormStorage;

enum class TBorderStyle { Sizeable, Dialog };  // Dialog: fixed size, no minimise or maximise
enum class TFormStyle { Normal, StayOnTop };
enum class TPosition { Designed, ScreenCenter, MainFormCenter };

// The toolkit-free model of a window. Form classes (TFMain, TFZipSearch ...) derive from it and
// hold their components as members; a view renders them and forwards events to the handlers.
// The fields without a setter are design settings a view reads once, when it is made.
class TForm {
 public:
  explicit TForm(std::string className) : FClassName(std::move(className)) {}
  virtual ~TForm() = default;
  TForm(const TForm&) = delete;
  TForm& operator=(const TForm&) = delete;

  const std::string& ClassName() const { return FClassName; }

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& caption);

  // A nonzero result set while the form is shown modally ends that showing.
  int ModalResult() const { return FModalResult; }
  void SetModalResult(int result);

  // The control with the keyboard focus. Moving it away from a control runs that control's
  // DoExit; the view follows by moving the real focus.
  TControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TControl* control);

  TBorderStyle BorderStyle = TBorderStyle::Sizeable;
  TFormStyle FormStyle = TFormStyle::Normal;
  TPosition Position = TPosition::Designed;
  int Left = 0;  // screen position when Position is Designed
  int Top = 0;
  int ClientWidth = 400;
  int ClientHeight = 300;
  std::optional<TColor> Color;  // none: the desktop's window colour

  // With KeyPreview the form sees every key before the focused control: OnKeyDown may swallow
  // it by setting it to 0, otherwise the key goes on to the control.
  bool KeyPreview = false;
  std::function<void(TKey& key, TShiftState shift)> OnKeyDown;
  // Called by the view for each key pressed while the form is active; true when the key is to
  // reach the focused control.
  bool KeyDown(TKey key, TShiftState shift);

  std::function<void()> OnShow;   // each time the form is shown
  std::function<void()> OnClose;  // each time it closes, a modal showing's end included
  void DoShow() {
    if (OnShow) OnShow();
  }
  void DoClose() {
    if (OnClose) OnClose();
  }
  // Asked before a window that is not modal closes; clearing the flag (or raising an error)
  // keeps the window open.
  std::function<void(bool& canClose)> OnCloseQuery;
  bool CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(canClose);
    return canClose;
  }

  // Asks for the window to close, as its close box does: a modal showing ends with mrCancel, a
  // window that is not modal asks CloseQuery, runs OnClose and goes, and when it is the main
  // window the program ends. The view listens to CloseRequested and does the closing.
  void Close() { CloseRequested.Emit(); }
  TSignal CloseRequested;

  // The placement store on this form, if any (it registers itself).
  TFormStorage* Storage() const { return FStorage; }

  TSignal Changed;

 private:
  friend class TFormStorage;

  std::string FClassName;
  std::string FCaption;
  int FModalResult = 0;
  TControl* FActiveControl = nullptr;
  TFormStorage* FStorage = nullptr;
};

}  // namespace ui
