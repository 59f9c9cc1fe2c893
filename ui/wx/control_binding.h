#pragma once

#include <cstddef>
#include <functional>

class wxWindow;

namespace ui {
class TControl;
}

namespace ui::wx {

class TFormView;

// What every control view shares: it registers the widget with its form view, keeps Enabled,
// Visible, Hint and Name in step with the model, and runs the view's own refresh on every
// change of the model. A member of the widget, so it goes with it.
class TControlBinding {
 public:
  TControlBinding(TFormView& form, TControl& model, wxWindow& widget,
                  std::function<void()> refresh);
  ~TControlBinding();
  TControlBinding(const TControlBinding&) = delete;
  TControlBinding& operator=(const TControlBinding&) = delete;

  // The widget's constructor calls this once it is complete.
  void Refresh();
  // A handler of the model, run as every forwarded event runs.
  bool Guarded(const std::function<void()>& handler) const;

 private:
  TFormView& FForm;
  TControl& FModel;
  wxWindow& FWidget;
  std::function<void()> FRefresh;
  std::size_t FChangedId;
};

}  // namespace ui::wx
