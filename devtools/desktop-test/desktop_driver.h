#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Running real programs on a (virtual) display and playing the user on them from outside, with
// every wait bounded so that a window nobody answers fails the caller instead of hanging it. The
// input goes through xdotool, pictures through ImageMagick's import.
namespace desktoptest {

using namespace std::chrono_literals;

// A started program. Killed and reaped when the object goes, if it is still running then.
class TChild {
 public:
  // Starts `program` with `args`, in the test's environment; stdout goes to `stdoutPath` when
  // one is given.
  TChild(const std::string& program, const std::vector<std::string>& args,
         const std::string& stdoutPath = "");
  ~TChild();
  TChild(const TChild&) = delete;
  TChild& operator=(const TChild&) = delete;

  pid_t Pid() const { return FPid; }
  // The exit code once the program has ended within `timeout`; nothing while it still runs
  // (then it is left running). A program ended by a signal answers 128 + the signal.
  std::optional<int> WaitExit(std::chrono::milliseconds timeout);
  bool Running();
  void Signal(int signal);

 private:
  pid_t FPid = -1;
  std::optional<int> FExitCode;
};

// Polls `done` until it holds or `timeout` passes; answers whether it held.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 10s);

// The visible top-level windows of the process, as xdotool finds them.
std::vector<std::string> VisibleWindows(pid_t pid);
// Window names (titles) as the window manager hints carry them, UTF-8.
std::string WindowName(const std::string& window);
// The first visible window of the process with this title, once one shows within `timeout`.
std::optional<std::string> WaitForWindow(pid_t pid, const std::string& name,
                                         std::chrono::milliseconds timeout = 10s);

// Whether the top-level window `upper` is stacked above `lower` on the display (which of the two
// covers the other where they overlap); false when either is not there.
bool IsAbove(const std::string& upper, const std::string& lower);

// Input to a window, the way a user gives it. Each gives the window the keyboard focus first;
// false when xdotool failed or did not finish in time.
bool TypeText(const std::string& window, const std::string& text);
bool PressKey(const std::string& window, const std::string& key);
// A click (or a double click) at a point of the window's client area.
bool Click(const std::string& window, int x, int y, int clicks = 1);
// Asks the window manager to minimise the window, as its title bar's button does. Without a
// window manager nothing happens.
bool Minimize(const std::string& window);

// The window as it looks on the display, as a PNG file at `path`.
bool Screenshot(const std::string& window, const std::string& path);

// The display's key (XAUTHORITY), which only its owner may read, copied to `path` where any user
// may read it, for a part of a test run as another user; nothing when the display takes no key.
std::optional<std::string> CopyDisplayKey(const std::string& path);

}  // namespace desktoptest
