#pragma once

#include <array>
#include <optional>
#include <string>

#include "ui/color.h"
#include "ui/control.h"
#include "ui/dbaware/data_link.h"

namespace ui {

class Screen;
class TForm;

// The navigator's buttons, in the order it shows them.
enum class TNavigateBtn { nbFirst, nbPriorPage, nbPrior, nbNext, nbNextPage, nbLast, nbDelete };
inline constexpr std::array<TNavigateBtn, 7> kNavigateButtons = {
    TNavigateBtn::nbFirst, TNavigateBtn::nbPriorPage, TNavigateBtn::nbPrior,
    TNavigateBtn::nbNext,  TNavigateBtn::nbNextPage,  TNavigateBtn::nbLast,
    TNavigateBtn::nbDelete};

// A row of buttons that move through the data source's data set and delete its current record.
// Each button is enabled by the data set's state: none while it is closed or empty, the backward
// ones not on the first record, the forward ones not on the last, delete while there is a record
// the data set may delete.
class TwwDBNavigator : public TControl, private TDataLink {
 public:
  // Records a page button moves.
  static constexpr int kPageSize = 10;
  // A movement button held down repeats its move after the delay, then at the interval. The view
  // keeps the time; these are its constants.
  static constexpr int kRepeatDelayMs = 500;
  static constexpr int kRepeatIntervalMs = 100;

  TwwDBNavigator(std::string name, Screen& screen, const TForm* owner = nullptr);

  using TDataLink::DataSource;
  void SetDataSource(dbengine::TDataSource* dataSource) { TDataLink::SetDataSource(dataSource); }

  // The panel's colour; none: the desktop's.
  const std::optional<TColor>& Color() const { return FColor; }
  void SetColor(std::optional<TColor> color);

  bool ButtonEnabled(TNavigateBtn button) const;
  static bool Repeats(TNavigateBtn button) { return button != TNavigateBtn::nbDelete; }
  // The button's action; a disabled button does nothing. Delete asks first.
  void BtnClick(TNavigateBtn button);

 private:
  // TDataSetListener: every change of the data set may change which buttons are enabled.
  void ActiveChanged() override { UpdateButtons(); }
  void StateChanged() override { UpdateButtons(); }
  void DataSetChanged() override { UpdateButtons(); }
  void DataSetScrolled() override { UpdateButtons(); }

  void UpdateButtons();

  Screen& FScreen;
  const TForm* FOwner;
  std::optional<TColor> FColor;
  std::array<bool, kNavigateButtons.size()> FEnabled{};
};

}  // namespace ui
