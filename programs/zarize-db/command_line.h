#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace zarizedb {

inline constexpr const char* kProgramName = "zarize-db";

// Runs zarize-db with these arguments (the program's name left out); output goes to `out`,
// messages and errors to `err`. Answers the exit code: 0 done, 1 the command failed, 2 the
// command line is wrong.
int RunZarizeDb(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// What --help prints.
std::string HelpText();

}  // namespace zarizedb
