#include "postcode/zip_search_view.h"

#include <wx/artprov.h>
#include <wx/toplevel.h>

#include <optional>

#include "postcode/zip_search.h"
#include "ui/wx/control_views.h"
#include "ui/wx/dbaware/db_grid_view.h"

namespace postcode {

namespace {

// Where the components sit: left, top, width and height within their panel, as designed.
// Panel1 holds the search row and the grid at the top of the form, Panel2 the buttons at the
// bottom; both are as wide as the form.
struct TZipSearchLayout {
  int Panel1Height;
  int Panel2Height;
  wxPoint Label1;
  wxRect edIn;
  wxRect spbAll;
  wxRect wwDBGrid1;
  std::optional<wxRect> chOnlyZip;
  wxRect spbSearch;
  wxRect bbnOk;
  wxRect bbnCancel;
};

const TZipSearchLayout kZeravuDialog{
    .Panel1Height = 343,
    .Panel2Height = 41,
    .Label1 = {6, 7},
    .edIn = {62, 4, 248, 21},
    .spbAll = {318, 3, 23, 22},
    .wwDBGrid1 = {2, 29, 342, 312},
    .chOnlyZip = wxRect(3, 11, 116, 17),
    .spbSearch = {124, 6, 66, 27},
    .bbnOk = {192, 6, 73, 27},
    .bbnCancel = {267, 6, 73, 27},
};

const TZipSearchLayout kZirezivWindow{
    .Panel1Height = 351,
    .Panel2Height = 33,
    .Label1 = {3, 12},
    .edIn = {58, 8, 247, 21},
    .spbAll = {307, 7, 23, 22},
    .wwDBGrid1 = {2, 33, 329, 314},
    .chOnlyZip = std::nullopt,  // every pick takes both values
    .spbSearch = {6, 3, 75, 27},
    .bbnOk = {176, 3, 73, 27},
    .bbnCancel = {253, 3, 79, 27},
};

}  // namespace

TZipSearchView::TZipSearchView(ui::wx::WxScreen& screen, TFZipSearch& form, TLayout layout)
    : TFormView(screen, form, layout == TLayout::ZeravuDialog ? TKind::Dialog : TKind::Frame) {
  using namespace ui::wx;
  const TZipSearchLayout& at = layout == TLayout::ZeravuDialog ? kZeravuDialog : kZirezivWindow;
  const int width = form.ClientWidth;

  wxPanel* top = MakePanel(Window(), wxRect(0, 0, width, at.Panel1Height));
  wxPanel* bottom =
      MakePanel(Window(), wxRect(0, form.ClientHeight - at.Panel2Height, width, at.Panel2Height));

  // Made in tab order: the edit box first, then the grid; the buttons take no focus.
  new TLabelView(*this, top, form.Label1, wxRect(at.Label1, wxSize(-1, -1)));
  new TEditView(*this, top, form.edIn, at.edIn);
  new TButtonView(*this, top, form.spbAll, at.spbAll);
  new TwwDBGridView(*this, top, form.wwDBGrid1, at.wwDBGrid1);

  if (at.chOnlyZip) new TCheckBoxView(*this, bottom, form.chOnlyZip, *at.chOnlyZip);
  new TButtonView(*this, bottom, form.spbSearch, at.spbSearch);
  new TButtonView(*this, bottom, form.bbnOk, at.bbnOk);
  new TButtonView(*this, bottom, form.bbnCancel, at.bbnCancel);

  if (layout == TLayout::ZirezivWindow) {
    Window()->SetIcon(wxArtProvider::GetIcon(wxART_FIND, wxART_FRAME_ICON));
  }
}

}  // namespace postcode
