#pragma once

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/panel.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include <cstddef>

#include "ui/button.h"
#include "ui/check_box.h"
#include "ui/edit.h"
#include "ui/label.h"
#include "ui/status_bar.h"
#include "ui/timer.h"
#include "ui/wx/control_binding.h"

class wxFrame;

// The widgets that show the components of a form. Each is made as a child of its form view's
// window (or of a panel in it) at the given place, keeps itself in step with its model both
// ways and forwards the user's actions to the model's handlers through the form's guard. The
// model must outlive the widget.
namespace ui::wx {

class TFormView;

// A flat button with a picture and a caption; it never takes the keyboard focus. The greyed
// picture of a disabled button is drawn by the toolkit.
class TButtonView : public wxButton {
 public:
  TButtonView(TFormView& form, wxWindow* parent, TButton& model, const wxRect& rect);
  bool AcceptsFocus() const override { return false; }

 private:
  void Refresh();

  TButton& FModel;
  TGlyph FShownGlyph = TGlyph::None;
  TControlBinding FBinding;
};

class TLabelView : public wxStaticText {
 public:
  // A size of -1 fits the caption; style as for wxStaticText (wxALIGN_RIGHT ...).
  TLabelView(TFormView& form, wxWindow* parent, TLabel& model, const wxRect& rect, long style = 0);

 private:
  TLabel& FModel;
  TControlBinding FBinding;
};

// Every typed character goes through the model's OnKeyPress first, which may swallow it.
class TEditView : public wxTextCtrl {
 public:
  TEditView(TFormView& form, wxWindow* parent, TEdit& model, const wxRect& rect);

 private:
  void Refresh();

  TEdit& FModel;
  TControlBinding FBinding;
};

class TCheckBoxView : public wxCheckBox {
 public:
  TCheckBoxView(TFormView& form, wxWindow* parent, TCheckBox& model, const wxRect& rect);

 private:
  void Refresh();

  TCheckBox& FModel;
  TControlBinding FBinding;
};

// The status bar of a frame; it takes its place at the bottom of the frame.
class TStatusBarView : public wxStatusBar {
 public:
  TStatusBarView(TFormView& form, wxFrame* frame, TStatusBar& model, int height);

 private:
  void Refresh();

  TStatusBar& FModel;
  TControlBinding FBinding;
};

// Runs the model's ticks while it is enabled. Not a window: the form view that shows the timer's
// form holds it.
class TTimerView : public wxTimer {
 public:
  TTimerView(TFormView& form, TTimer& model);
  ~TTimerView() override;

  void Notify() override;

 private:
  void Refresh();

  TFormView& FForm;
  TTimer& FModel;
  std::size_t FChangedId;
};

// A plain panel: a colour of its own, or its parent's when none is given.
wxPanel* MakePanel(wxWindow* parent, const wxRect& rect, const wxColour& colour = wxNullColour,
                   long border = wxBORDER_NONE);

}  // namespace ui::wx
