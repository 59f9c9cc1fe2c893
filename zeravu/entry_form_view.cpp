#include "zeravu/entry_form_view.h"

#include <wx/panel.h>
#include <wx/toplevel.h>

#include "ui/wx/control_views.h"
#include "zeravu/entry_form.h"

namespace zeravu {

using namespace ui::wx;

namespace {

// A label standing right-aligned against the box it names.
void LabelBeside(TFormView& view, wxWindow* parent, ui::TLabel& label, int boxLeft, int top,
                 int width = 68) {
  new TLabelView(view, parent, label, wxRect(boxLeft - width - 2, top + 3, width, -1),
                 wxALIGN_RIGHT | wxST_NO_AUTORESIZE);
}

}  // namespace

TFAddrInfoInView::TFAddrInfoInView(WxScreen& screen, TFAddrInfoIn& form)
    : TFormView(screen, form, TKind::Dialog) {
  wxWindow* window = Window();
  // Made in the focus order: postcode, address, company, name, detail address, honorific.
  LabelBeside(*this, window, form.lblZip, 72, 58);
  new TEditView(*this, window, form.edtZip, wxRect(72, 58, 73, 21));
  new TButtonView(*this, window, form.spZip, wxRect(152, 57, 23, 22));
  new TLabelView(*this, window, form.lblSearch, wxRect(176, 61, -1, -1));
  LabelBeside(*this, window, form.lblAddr, 72, 86);
  new TEditView(*this, window, form.edtAddr, wxRect(72, 86, 337, 21));
  LabelBeside(*this, window, form.lblCompany, 72, 136);
  new TEditView(*this, window, form.edtCompany, wxRect(72, 136, 177, 21));
  LabelBeside(*this, window, form.lblName, 72, 162);
  new TEditView(*this, window, form.edtName, wxRect(72, 162, 121, 21));
  LabelBeside(*this, window, form.lblAddAddr, 72, 111);
  new TEditView(*this, window, form.edtAddAddr, wxRect(72, 111, 337, 21));
  LabelBeside(*this, window, form.lblDear, 232, 162, 34);  // after the name box
  new TEditView(*this, window, form.edtDear, wxRect(232, 162, 69, 21));

  wxPanel* bottom = MakePanel(window, wxRect(0, form.ClientHeight - 37, form.ClientWidth, 37),
                              wxNullColour, wxBORDER_SUNKEN);
  new TButtonView(*this, bottom, form.bbnOK, wxRect(112, 6, 73, 27));
  new TButtonView(*this, bottom, form.bbnCancel, wxRect(192, 6, 73, 27));
}

}  // namespace zeravu
