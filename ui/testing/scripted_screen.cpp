#include "ui/testing/scripted_screen.h"

#include <gtest/gtest.h>

#include "ui/form.h"

namespace ui::testing {

namespace {

const char* KindName(ScriptedScreen::TKind kind) {
  switch (kind) {
    case ScriptedScreen::TKind::MessageBox:
      return "message box";
    case ScriptedScreen::TKind::PlainMessage:
      return "plain message";
    case ScriptedScreen::TKind::Error:
      return "error box";
    case ScriptedScreen::TKind::FileDialog:
      return "file dialog";
    case ScriptedScreen::TKind::Modal:
      return "modal form";
  }
  return "?";
}

const char* IconName(TMsgIcon icon) {
  switch (icon) {
    case TMsgIcon::None:
      return "no icon";
    case TMsgIcon::Information:
      return "information";
    case TMsgIcon::Warning:
      return "warning";
    case TMsgIcon::Error:
      return "error";
  }
  return "?";
}

ScriptedScreen::TShown MakeShown(ScriptedScreen::TKind kind, const std::string& text) {
  ScriptedScreen::TShown s;
  s.Kind = kind;
  s.Text = text;
  return s;
}

}  // namespace

ScriptedScreen::~ScriptedScreen() {
  VerifyAllMet();
}

std::string ScriptedScreen::Describe(const TShown& s) {
  std::string d = std::string(KindName(s.Kind)) + " \"" + s.Text + "\"";
  if (s.Kind == TKind::MessageBox) {
    d += " titled \"" + s.Title + "\", " + (s.Buttons == TMsgButtons::Ok ? "OK" : "OK/Cancel") +
         ", " + IconName(s.Icon);
  }
  return d;
}

ScriptedScreen& ScriptedScreen::ExpectMessageBox(const std::string& text, const std::string& title,
                                                 TMsgButtons buttons, TMsgIcon icon, int answer) {
  TExpected e;
  e.Want = MakeShown(TKind::MessageBox, text);
  e.Want.Title = title;
  e.Want.Buttons = buttons;
  e.Want.Icon = icon;
  e.Answer = answer;
  FExpected.push_back(std::move(e));
  return *this;
}

ScriptedScreen& ScriptedScreen::ExpectPlainMessage(const std::string& text) {
  TExpected e;
  e.Want = MakeShown(TKind::PlainMessage, text);
  FExpected.push_back(std::move(e));
  return *this;
}

ScriptedScreen& ScriptedScreen::ExpectError(const std::string& text) {
  TExpected e;
  e.Want = MakeShown(TKind::Error, text);
  FExpected.push_back(std::move(e));
  return *this;
}

ScriptedScreen& ScriptedScreen::ExpectErrorContaining(const std::string& part) {
  // Every text contains the empty one: such an expectation would take any error at all.
  if (part.empty()) ADD_FAILURE() << "ExpectErrorContaining needs a part of the error's text";
  TExpected e;
  e.Want = MakeShown(TKind::Error, part);
  e.TextIsPart = true;
  FExpected.push_back(std::move(e));
  return *this;
}

ScriptedScreen& ScriptedScreen::ExpectFileDialog(const std::string& title,
                                                 std::optional<std::string> answer) {
  return ExpectFileDialog(title, [answer](const TFileDialog&) { return answer; });
}

ScriptedScreen& ScriptedScreen::ExpectFileDialog(const std::string& title, TFileAnswer answer) {
  TExpected e;
  e.Want = MakeShown(TKind::FileDialog, title);
  e.FileAnswer = std::move(answer);
  FExpected.push_back(std::move(e));
  return *this;
}

ScriptedScreen& ScriptedScreen::ExpectModal(const std::string& caption, TModalScript script) {
  TExpected e;
  e.Want = MakeShown(TKind::Modal, caption);
  e.ModalScript = std::move(script);
  FExpected.push_back(std::move(e));
  return *this;
}

void ScriptedScreen::VerifyAllMet() {
  for (const auto& e : FExpected) ADD_FAILURE() << "expected but never shown: " << Describe(e.Want);
  FExpected.clear();
}

std::optional<ScriptedScreen::TExpected> ScriptedScreen::Take(const TShown& shown) {
  FShown.push_back(shown);
  if (FExpected.empty()) {
    ADD_FAILURE() << "unexpected " << Describe(shown);
    return std::nullopt;
  }
  TExpected e = std::move(FExpected.front());
  FExpected.pop_front();
  const TShown& w = e.Want;
  bool textOk = e.TextIsPart ? shown.Text.find(w.Text) != std::string::npos : shown.Text == w.Text;
  bool same = w.Kind == shown.Kind && textOk;
  if (same && w.Kind == TKind::MessageBox) {
    same = w.Title == shown.Title && w.Buttons == shown.Buttons && w.Icon == shown.Icon;
  }
  if (!same) {
    ADD_FAILURE() << "expected " << Describe(w) << "\n     but got " << Describe(shown);
    return std::nullopt;
  }
  return e;
}

int ScriptedScreen::MessageBox(const TForm* owner, const std::string& text,
                               const std::string& title, TMsgButtons buttons, TMsgIcon icon) {
  TShown shown = MakeShown(TKind::MessageBox, text);
  shown.Title = title;
  shown.Buttons = buttons;
  shown.Icon = icon;
  shown.Owner = owner;
  auto e = Take(shown);
  return e ? e->Answer : mrCancel;
}

void ScriptedScreen::ShowMessage(const std::string& text) {
  Take(MakeShown(TKind::PlainMessage, text));
}

void ScriptedScreen::ShowError(const std::string& text) {
  Take(MakeShown(TKind::Error, text));
}

std::optional<std::string> ScriptedScreen::ChooseFile(const TFileDialog& dialog) {
  TShown shown = MakeShown(TKind::FileDialog, dialog.Title);
  shown.Dialog = dialog;
  auto e = Take(shown);
  return e ? e->FileAnswer(dialog) : std::nullopt;
}

int ScriptedScreen::ShowModal(TForm& form) {
  auto e = Take(MakeShown(TKind::Modal, form.Caption()));
  if (!e) return mrCancel;
  form.SetModalResult(mrNone);
  form.DoShow();
  int result = e->ModalScript(form);
  form.SetModalResult(result);
  form.DoClose();
  return result;
}

void ScriptedScreen::SetBusy(bool busy) {
  FBusyDepth += busy ? 1 : -1;
  if (busy) ++FBusyCount;
}

}  // namespace ui::testing
