#pragma once

#include <string>

#include "ui/signal.h"

namespace ui {

// The toolkit-free model of a window. Form classes (TFMain, TFZipSearch ...) derive from it and
// hold their components as members; a view renders them and forwards events to the handlers.
class TForm {
 public:
  explicit TForm(std::string className) : className_(std::move(className)) {}
  virtual ~TForm() = default;
  TForm(const TForm&) = delete;
  TForm& operator=(const TForm&) = delete;

  const std::string& ClassName() const { return className_; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption) {
    caption_ = caption;
    Changed.Emit();
  }

  // A nonzero result set while the form is shown modally ends that showing.
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) {
    modalResult_ = result;
    Changed.Emit();
  }

  TSignal Changed;

 private:
  std::string className_;
  std::string caption_;
  int modalResult_ = 0;
};

}  // namespace ui
