#pragma once

#include <sys/types.h>

#include <string>

// Plays the user at a display nobody watches, through the same desktop driver as the
// real-window tests. Each answers "" when done, else what went wrong.
namespace desktoptest {

// Waits for Zeravu's main window, gives the start-up a moment to open the database, saves a
// picture of the window, clicks "라벨 디자인" and waits for Zeravu to end.
std::string PressLabelDesign(pid_t zeravu, const std::string& screenshot);

// Waits for Zireziv's window, searches `place`, picks the first row twice (double click, then
// "확인"), saves a picture of the window and closes it with "취소(닫기)".
std::string PickTwice(pid_t zireziv, const std::string& place, const std::string& screenshot);

}  // namespace desktoptest
