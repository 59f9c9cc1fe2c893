#include "ui/spin_edit.h"

#include <gtest/gtest.h>

#include <vector>

#include "ui/form.h"

namespace ui {
namespace {

// The fixed-columns box of the main window: 1 to 10, step 1, starting at 1.
struct SpinFixture {
  SpinFixture() {
    Spin.SetMinValue(1);
    Spin.SetMaxValue(10);
    Spin.SetValue(1);
    Spin.OnChange = [this] { Seen.push_back(Spin.Value()); };
  }
  TSpinEdit Spin{"RxSE"};
  std::vector<int> Seen;
};

TEST(SpinEdit, TypedTextCountsAsItsNumberOrAsTheMinimum) {
  struct {
    const char* typed;
    int value;
  } cases[] = {
      {"3", 3}, {" 4 ", 4}, {"+5", 5}, {"15", 15}, {"0", 0},   {"-3", -3}, {"abc", 1},
      {"", 1},  {"2.5", 1}, {"7x", 1}, {"$A", 1},  {"- 2", 1}, {" ", 1},   {"99999999999", 1},
  };
  for (const auto& c : cases) {
    SpinFixture f;
    f.Spin.SetText(c.typed);
    EXPECT_EQ(f.Spin.Value(), c.value) << '"' << c.typed << '"';
    EXPECT_EQ(f.Spin.Text(), c.typed) << "typed text is kept as it is";
  }
}

TEST(SpinEdit, OnChangeRunsOnEveryChangeOfValueAndOnlyThen) {
  SpinFixture f;
  for (const char* typed : {"", "3", "03", "3", "31", "x", "1", "7"}) f.Spin.SetText(typed);
  // "" and "x" count as the minimum 1, the value it already had; "03" is still 3.
  EXPECT_EQ(f.Seen, (std::vector<int>{3, 31, 1, 7}));
}

TEST(SpinEdit, LeavingTheBoxBringsTheValueIntoRange) {
  struct {
    const char* typed;
    const char* shown;
    std::vector<int> seen;  // values the handler saw, typing and leaving together
  } cases[] = {
      {"15", "10", {15, 10}}, {"0", "1", {0, 1}}, {"-4", "1", {-4, 1}},
      {"abc", "1", {}},  // not a number: the minimum, which the box already held
      {" 6", "6", {6}},       {"10", "10", {10}},
  };
  for (const auto& c : cases) {
    SpinFixture f;
    TSpinEdit other("other");
    TForm form("TFTest");
    form.SetActiveControl(&f.Spin);
    f.Spin.SetText(c.typed);
    form.SetActiveControl(&other);
    EXPECT_EQ(f.Spin.Text(), c.shown) << c.typed;
    EXPECT_EQ(f.Seen, c.seen) << c.typed;
  }
}

TEST(SpinEdit, ArrowsAndSetValueStayInRange) {
  SpinFixture f;
  f.Spin.SetIncrement(4);
  f.Spin.StepDown();  // 1 - 4: held at the minimum, no change
  f.Spin.StepUp();
  f.Spin.StepUp();
  f.Spin.StepUp();  // 9 + 4: held at 10
  f.Spin.StepUp();
  f.Spin.SetValue(-20);
  EXPECT_EQ(f.Seen, (std::vector<int>{5, 9, 10, 1}));
  EXPECT_EQ(f.Spin.Text(), "1");
}

TEST(SpinEdit, EqualBoundsMeanNoRange) {
  TSpinEdit spin;
  spin.SetValue(123456);
  spin.DoExit();
  EXPECT_EQ(spin.Value(), 123456);
  spin.SetValue(2147483647);
  spin.StepUp();
  EXPECT_EQ(spin.Value(), 2147483647);
}

}  // namespace
}  // namespace ui
