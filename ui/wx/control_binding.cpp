#include "ui/wx/control_binding.h"

#include <wx/window.h>

#include "ui/control.h"
#include "ui/wx/convert.h"
#include "ui/wx/form_view.h"

namespace ui::wx {

TControlBinding::TControlBinding(TFormView& form, TControl& model, wxWindow& widget,
                                 std::function<void()> refresh)
    : FForm(form), FModel(model), FWidget(widget), FRefresh(std::move(refresh)) {
  if (!model.Name().empty()) widget.SetName(ToWx(model.Name()));
  form.RegisterControl(model, widget);
  FChangedId = model.Changed.Connect([this] { Refresh(); });
}

TControlBinding::~TControlBinding() {
  FModel.Changed.Disconnect(FChangedId);
  FForm.UnregisterControl(FModel);
}

void TControlBinding::Refresh() {
  if (FWidget.IsEnabled() != FModel.Enabled()) FWidget.Enable(FModel.Enabled());
  if (FWidget.IsShown() != FModel.Visible()) FWidget.Show(FModel.Visible());
  wxString hint = ToWx(FModel.Hint());
  if (FWidget.GetToolTipText() != hint) {
    if (hint.empty()) {
      FWidget.UnsetToolTip();
    } else {
      FWidget.SetToolTip(hint);
    }
  }
  FRefresh();
}

bool TControlBinding::Guarded(const std::function<void()>& handler) const {
  return FForm.Guarded(handler);
}

}  // namespace ui::wx
