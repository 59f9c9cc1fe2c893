#include "ui/wx/message_dialog.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include "ui/wx/convert.h"
#include "ui/wx/font.h"

namespace ui::wx {

namespace {

wxArtID ArtFor(TMsgIcon icon) {
  switch (icon) {
    case TMsgIcon::None:
      break;
    case TMsgIcon::Information:
      return wxART_INFORMATION;
    case TMsgIcon::Warning:
      return wxART_WARNING;
    case TMsgIcon::Error:
      return wxART_ERROR;
  }
  return {};
}

// Texts written for the other system break lines with CR LF; a lone CR would show as a box.
wxString WithPlainLineBreaks(const std::string& text) {
  wxString shown = ToWx(text);
  shown.Replace("\r\n", "\n");
  return shown;
}

}  // namespace

TMessageDialog::TMessageDialog(wxWindow* parent, const std::string& text, const std::string& title,
                               TMsgButtons buttons, TMsgIcon icon, long extraStyle)
    : wxDialog(parent, wxID_ANY, ToWx(title), wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxCLOSE_BOX | wxSYSTEM_MENU | extraStyle),
      FEscapeAnswer(buttons == TMsgButtons::OkCancel ? mrCancel : mrOk) {
  SetFont(FormFont());
  auto* body = new wxBoxSizer(wxHORIZONTAL);
  wxArtID art = ArtFor(icon);
  if (!art.empty()) {
    body->Add(new wxStaticBitmap(this, wxID_ANY, wxArtProvider::GetBitmap(art, wxART_MESSAGE_BOX)),
              0, wxALL | wxALIGN_TOP, 10);
  }
  body->Add(new wxStaticText(this, wxID_ANY, WithPlainLineBreaks(text)), 1,
            wxALL | wxALIGN_CENTER_VERTICAL, 12);

  auto* row = new wxBoxSizer(wxHORIZONTAL);
  auto* ok = new wxButton(this, wxID_OK, wxString::FromUTF8("확인"));
  row->Add(ok, 0, wxALL, 4);
  if (buttons == TMsgButtons::OkCancel) {
    row->Add(new wxButton(this, wxID_CANCEL, wxString::FromUTF8("취소")), 0, wxALL, 4);
  }
  ok->SetDefault();
  ok->SetFocus();
  SetAffirmativeId(wxID_OK);
  SetEscapeId(buttons == TMsgButtons::OkCancel ? wxID_CANCEL : wxID_OK);

  auto* all = new wxBoxSizer(wxVERTICAL);
  all->Add(body, 1, wxEXPAND);
  all->Add(row, 0, wxALIGN_CENTER | wxBOTTOM, 6);
  SetSizerAndFit(all);
  SetMinSize(wxSize(200, -1));
  Fit();
  CentreOnParent();

  Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { EndModal(FEscapeAnswer); });
  Bind(
      wxEVT_BUTTON, [this](wxCommandEvent&) { EndModal(mrOk); }, wxID_OK);
  Bind(
      wxEVT_BUTTON, [this](wxCommandEvent&) { EndModal(mrCancel); }, wxID_CANCEL);
}

int TMessageDialog::Run() {
  return ShowModal() == mrOk ? mrOk : mrCancel;
}

}  // namespace ui::wx
