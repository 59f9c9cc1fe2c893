#include "devtools/desktop-test/desktop_driver.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <thread>

extern char** environ;

namespace desktoptest {

namespace {

// Runs a command, killed after 10 s; answers its output, or nothing when it failed.
std::optional<std::string> RunBounded(const std::vector<std::string>& args) {
  std::vector<std::string> command = {"timeout", "10"};
  command.insert(command.end(), args.begin(), args.end());
  int out[2];
  if (pipe(out) != 0) return std::nullopt;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  std::vector<char*> argv;
  for (std::string& arg : command) argv.push_back(arg.data());
  argv.push_back(nullptr);
  pid_t pid;
  int spawned = posix_spawnp(&pid, "timeout", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  std::string output;
  if (spawned == 0) {
    std::array<char, 512> buffer;
    for (ssize_t n; (n = read(out[0], buffer.data(), buffer.size())) > 0;) {
      output.append(buffer.data(), static_cast<std::size_t>(n));
    }
  }
  close(out[0]);
  if (spawned != 0) return std::nullopt;
  int status = 0;
  waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return output;
}

std::optional<std::string> Xdotool(std::vector<std::string> args) {
  args.insert(args.begin(), "xdotool");
  return RunBounded(args);
}

bool Focus(const std::string& window) {
  return Xdotool({"windowfocus", "--sync", window}).has_value();
}

}  // namespace

TChild::TChild(const std::string& program, const std::vector<std::string>& args,
               const std::string& stdoutPath) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!stdoutPath.empty()) {
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, stdoutPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
  }
  std::vector<std::string> owned = {program};
  owned.insert(owned.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : owned) argv.push_back(arg.data());
  argv.push_back(nullptr);
  if (posix_spawn(&FPid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
    FPid = -1;
    FExitCode = 127;
  }
  posix_spawn_file_actions_destroy(&actions);
}

TChild::~TChild() {
  if (!Running()) return;
  kill(FPid, SIGKILL);
  waitpid(FPid, nullptr, 0);
}

bool TChild::Running() {
  if (FExitCode) return false;
  int status = 0;
  if (waitpid(FPid, &status, WNOHANG) != FPid) return true;
  FExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return false;
}

std::optional<int> TChild::WaitExit(std::chrono::milliseconds timeout) {
  WaitUntil([this] { return !Running(); }, timeout);
  return FExitCode;
}

void TChild::Signal(int signal) {
  if (Running()) kill(FPid, signal);
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(50ms);
  }
  return true;
}

std::vector<std::string> VisibleWindows(pid_t pid) {
  std::vector<std::string> windows;
  // xdotool answers 1 when it finds nothing: that is an empty list.
  std::optional<std::string> found =
      Xdotool({"search", "--onlyvisible", "--pid", std::to_string(pid)});
  std::istringstream lines(found.value_or(""));
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty()) windows.push_back(line);
  }
  return windows;
}

std::string WindowName(const std::string& window) {
  std::string name = Xdotool({"getwindowname", window}).value_or("");
  if (!name.empty() && name.back() == '\n') name.pop_back();
  return name;
}

std::optional<std::string> WaitForWindow(pid_t pid, const std::string& name,
                                         std::chrono::milliseconds timeout) {
  std::optional<std::string> found;
  WaitUntil(
      [&] {
        for (const std::string& window : VisibleWindows(pid)) {
          if (WindowName(window) == name) found = window;
        }
        return found.has_value();
      },
      timeout);
  return found;
}

bool IsAbove(const std::string& upper, const std::string& lower) {
  if (upper.empty() || lower.empty()) return false;
  // xwininfo lists the root's children topmost first, their ids in hexadecimal; xdotool names
  // windows in decimal.
  std::istringstream lines(RunBounded({"xwininfo", "-root", "-children"}).value_or(""));
  std::vector<unsigned long> topFirst;
  for (std::string line; std::getline(lines, line);) {
    const std::size_t at = line.find_first_not_of(' ');
    if (at == std::string::npos || line.compare(at, 2, "0x") != 0) continue;
    topFirst.push_back(std::stoul(line.substr(at), nullptr, 16));
  }
  auto position = [&](const std::string& window) {
    return static_cast<std::size_t>(
        std::find(topFirst.begin(), topFirst.end(), std::stoul(window)) - topFirst.begin());
  };
  const std::size_t up = position(upper);
  const std::size_t down = position(lower);
  return up < topFirst.size() && down < topFirst.size() && up < down;
}

bool TypeText(const std::string& window, const std::string& text) {
  return Focus(window) && Xdotool({"type", "--delay", "20", text}).has_value();
}

bool PressKey(const std::string& window, const std::string& key) {
  return Focus(window) && Xdotool({"key", key}).has_value();
}

bool Click(const std::string& window, int x, int y, int clicks) {
  return Focus(window) &&
         Xdotool({"mousemove", "--window", window, std::to_string(x), std::to_string(y), "click",
                  "--repeat", std::to_string(clicks), "--delay", "80", "1"})
             .has_value();
}

bool Minimize(const std::string& window) {
  return Xdotool({"windowminimize", window}).has_value();
}

bool Screenshot(const std::string& window, const std::string& path) {
  return RunBounded({"import", "-window", window, path}).has_value();
}

std::optional<std::string> CopyDisplayKey(const std::string& path) {
  const char* key = std::getenv("XAUTHORITY");
  if (key == nullptr) return std::nullopt;
  namespace fs = std::filesystem;
  fs::copy_file(key, path, fs::copy_options::overwrite_existing);
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                            fs::perms::others_read);
  return path;
}

}  // namespace desktoptest
