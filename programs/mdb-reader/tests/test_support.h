#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dbengine/access/access_stream.h"

namespace mdbreader::testing {

// A table of a fixture stream: its header and its rows (nullopt for null).
struct TFixtureTable {
  dbengine::TAccessTable Header;
  std::vector<std::vector<std::optional<std::string>>> Rows;
};

// The stream the reader would write for these tables.
std::string StreamOf(const std::vector<TFixtureTable>& tables);

// Writes a file at path that starts as a genuine Access file does, followed by the stream.
void WriteAccessFile(const std::string& path, const std::string& stream);

// Writes a file at path that starts as a genuine Access file does, and keeps its converted copy,
// made from the stream, where the engine looks for it: what the reader would have left there.
// The cache folder follows XDG_CACHE_HOME, which the test points into a scratch folder.
void WriteAccessFixture(const std::string& path, const std::string& stream);

struct TRun {
  int ExitCode = -1;
  std::string Output;  // standard output
  std::string Errors;  // standard error
};

// Runs a program (found on PATH when the name has no '/') with extra environment variables and
// collects what it writes.
TRun RunProgram(const std::vector<std::string>& arguments,
                const std::vector<std::pair<std::string, std::string>>& environment = {});

// What the reader program writes for a file, read back.
struct TReaderOutput {
  struct TTable {
    dbengine::TAccessTable Header;
    std::vector<std::vector<dbengine::TAccessValue>> Rows;
  };
  std::vector<TTable> Tables;
};
TReaderOutput ParseStream(const std::string& stream);

}  // namespace mdbreader::testing
