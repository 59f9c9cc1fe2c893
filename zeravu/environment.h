#pragma once

#include <string>
#include <vector>

namespace zeravu {

// What Zeravu takes from the machine at start-up. main() fills it from the process; tests point
// every folder at a scratch folder of their own.
struct TEnvironment {
  std::vector<std::string> Args;  // the command line without the program: token, mode, path
  std::string ExecutableFolder;   // where zeder.INI lives, beside the executable
  std::string DocumentsFolder;    // the user's documents folder; ZARIZE is made under it
  std::string TempFolder;         // where the label hand-off file goes

  // Argument `position` (1-based, as the host numbers them); empty text when it is missing.
  std::string Arg(std::size_t position) const {
    return position >= 1 && position <= Args.size() ? Args[position - 1] : std::string();
  }

  static TEnvironment FromProcess(int argc, char** argv);
};

}  // namespace zeravu
