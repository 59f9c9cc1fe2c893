#include "ui/dbaware/db_navigator.h"

#include "dbengine/dataset.h"
#include "ui/dbaware/confirm_delete.h"

namespace ui {

namespace {

std::size_t Slot(TNavigateBtn button) {
  return static_cast<std::size_t>(button);
}

}  // namespace

TwwDBNavigator::TwwDBNavigator(std::string name, Screen& screen, const TForm* owner)
    : TControl(std::move(name)), FScreen(screen), FOwner(owner) {}

void TwwDBNavigator::SetColor(std::optional<TColor> color) {
  FColor = color;
  Changed.Emit();
}

bool TwwDBNavigator::ButtonEnabled(TNavigateBtn button) const {
  return FEnabled[Slot(button)];
}

void TwwDBNavigator::UpdateButtons() {
  std::array<bool, kNavigateButtons.size()> enabled{};
  const dbengine::TDataSet* dataSet = DataSet();
  if (Active() && !dataSet->IsEmpty()) {
    // A forward-only data set can neither go back nor jump to its end.
    const int count = dataSet->RecordCount();
    const bool forwardOnly = count < 0;
    const bool atFirst = forwardOnly || dataSet->RecNo() <= 1;
    const bool atLast = forwardOnly ? dataSet->Eof() : dataSet->RecNo() >= count;
    enabled[Slot(TNavigateBtn::nbFirst)] = !atFirst;
    enabled[Slot(TNavigateBtn::nbPriorPage)] = !atFirst;
    enabled[Slot(TNavigateBtn::nbPrior)] = !atFirst;
    enabled[Slot(TNavigateBtn::nbNext)] = !atLast;
    enabled[Slot(TNavigateBtn::nbNextPage)] = !atLast;
    enabled[Slot(TNavigateBtn::nbLast)] = !atLast && !forwardOnly;
    enabled[Slot(TNavigateBtn::nbDelete)] = dataSet->CanModify();
  }
  if (enabled == FEnabled) return;
  FEnabled = enabled;
  Changed.Emit();
}

void TwwDBNavigator::BtnClick(TNavigateBtn button) {
  if (!ButtonEnabled(button)) return;
  dbengine::TDataSet& dataSet = *DataSet();
  switch (button) {
    case TNavigateBtn::nbFirst:
      dataSet.First();
      break;
    case TNavigateBtn::nbPriorPage:
      dataSet.MoveBy(-kPageSize);
      break;
    case TNavigateBtn::nbPrior:
      dataSet.Prior();
      break;
    case TNavigateBtn::nbNext:
      dataSet.Next();
      break;
    case TNavigateBtn::nbNextPage:
      dataSet.MoveBy(kPageSize);
      break;
    case TNavigateBtn::nbLast:
      dataSet.Last();
      break;
    case TNavigateBtn::nbDelete:
      if (ConfirmDelete(FScreen, FOwner)) dataSet.Delete();
      break;
  }
}

}  // namespace ui
