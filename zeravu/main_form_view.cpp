#include "zeravu/main_form_view.h"

#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/settings.h>
#include <wx/sizer.h>

#include "ui/wx/control_views.h"
#include "ui/wx/convert.h"
#include "ui/wx/dbaware/db_grid_view.h"
#include "ui/wx/dbaware/db_navigator_view.h"
#include "ui/wx/spin_edit_view.h"
#include "zeravu/main_form.h"

namespace zeravu {

using namespace ui::wx;

TFMainView::TFMainView(WxScreen& screen, TFMain& form) : TFormView(screen, form, TKind::Frame) {
  wxWindow* window = Window();
  const wxColour blue(ui::clFormBlue.R, ui::clFormBlue.G, ui::clFormBlue.B);
  const wxColour windowColour = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW);

  wxPanel* buttons = MakePanel(window, wxRect(0, 0, form.ClientWidth, 49), windowColour);
  new TButtonView(*this, buttons, form.spdNewDB, wxRect(0, 0, 97, 22));
  new TButtonView(*this, buttons, form.spbMemberAdd, wxRect(100, 0, 97, 22));
  new TButtonView(*this, buttons, form.spbExcelSaveAs, wxRect(200, 0, 107, 22));
  new TButtonView(*this, buttons, form.spbDBOpen, wxRect(0, 24, 97, 22));
  new TButtonView(*this, buttons, form.spbMemberEdit, wxRect(101, 24, 96, 22));
  new TButtonView(*this, buttons, form.spbMDBSave, wxRect(200, 24, 107, 22));
  new TButtonView(*this, buttons, form.spbDesign, wxRect(309, 0, 105, 45));

  auto* grid = new TwwDBGridView(*this, window, form.wwDBGMember, wxRect(0, 49, 762, 483));

  wxPanel* bottom = MakePanel(window, wxRect(0, 0, form.ClientWidth, 35), blue);
  new TLabelView(*this, bottom, form.Label1, wxRect(10, 10, -1, -1));
  new TSpinEditView(*this, bottom, form.RxSE, wxRect(68, 6, 53, 21));
  new TwwDBNavigatorView(*this, bottom, form.wwDBNav, wxPoint(128, 5));

  new TStatusBarView(*this, Frame(), form.StatusBar1, 19);
  FStartTimer = std::make_unique<TTimerView>(*this, form.tmAct);

  // The grid takes whatever room the window has between the two bars.
  auto* column = new wxBoxSizer(wxVERTICAL);
  column->Add(buttons, 0, wxEXPAND);
  column->Add(grid, 1, wxEXPAND);
  column->Add(bottom, 0, wxEXPAND);
  window->SetSizer(column);
}

TFMainView::~TFMainView() = default;

}  // namespace zeravu
