#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "programs/zarize-db/command_line.h"

namespace zarizedb::testing {

// What a run of zarize-db gave: its exit code, its standard output and its standard error.
struct TRun {
  int Exit = -1;
  std::string Out;
  std::string Err;
};

// zarize-db run in this process with these arguments (the program's name left out).
inline TRun RunCommand(const std::vector<std::string>& args) {
  std::ostringstream out;
  std::ostringstream err;
  TRun run;
  run.Exit = RunZarizeDb(args, out, err);
  run.Out = out.str();
  run.Err = err.str();
  return run;
}

}  // namespace zarizedb::testing
