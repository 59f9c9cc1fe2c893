#include "devtools/desktop-test/autopilot.h"

#include <signal.h>

#include <thread>

#include "devtools/desktop-test/desktop_driver.h"

namespace desktoptest {

namespace {

// Where the buttons and the first grid row sit in each window's client area.
constexpr int kDesignX = 361, kDesignY = 22;           // "라벨 디자인"
constexpr int kZipRowX = 60, kZipRowY = 66;            // Zireziv's first row
constexpr int kZipOkX = 212, kZipOkY = 368;            // "확인"
constexpr int kZipCloseX = 292, kZipCloseY = 368;      // "취소(닫기)"
constexpr std::chrono::milliseconds kSettle = 1500ms;  // for the list to draw

}  // namespace

std::string PressLabelDesign(pid_t zeravu, const std::string& screenshot) {
  const std::optional<std::string> window = WaitForWindow(zeravu, "자료관리", 30s);
  if (!window) return "Zeravu's window (자료관리) did not come up";
  std::this_thread::sleep_for(kSettle);
  if (!Screenshot(*window, screenshot)) return "no screenshot could be taken";
  if (!Click(*window, kDesignX, kDesignY)) return "라벨 디자인 could not be clicked";
  // Zeravu ends once the hand-off is written; a box it shows instead goes into the picture.
  if (!WaitUntil([&] { return kill(zeravu, 0) != 0; })) {
    Screenshot("root", screenshot);
    return "Zeravu did not end after 라벨 디자인; " + screenshot + " shows why";
  }
  return "";
}

std::string PickTwice(pid_t zireziv, const std::string& place, const std::string& screenshot) {
  const std::optional<std::string> window = WaitForWindow(zireziv, "우편번호검색", 30s);
  if (!window) return "Zireziv's window (우편번호검색) did not come up";
  if (!TypeText(*window, place) || !PressKey(*window, "Return")) return "the search failed";
  std::this_thread::sleep_for(kSettle);
  if (!Click(*window, kZipRowX, kZipRowY, 2)) return "the row could not be double-clicked";
  std::this_thread::sleep_for(kSettle);
  if (!Click(*window, kZipOkX, kZipOkY)) return "확인 could not be clicked";
  if (!Screenshot(*window, screenshot)) return "no screenshot could be taken";
  if (!Click(*window, kZipCloseX, kZipCloseY)) return "취소(닫기) could not be clicked";
  return "";
}

}  // namespace desktoptest
