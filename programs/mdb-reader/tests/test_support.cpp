#include "programs/mdb-reader/tests/test_support.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include "dbengine/access/access_cache.h"
#include "dbengine/access/access_import.h"
#include "platform/unique_fd.h"

extern char** environ;

namespace mdbreader::testing {
namespace {

// Page 0 of a Jet 4 file as far as the engine looks at it.
constexpr char kJet4Header[] = "\x00\x01\x00\x00Standard Jet DB\x00\x01\x00\x00\x00";

std::string Drain(int fd) {
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  return bytes;
}

class Collector : public dbengine::TAccessStreamSink {
 public:
  explicit Collector(TReaderOutput& output) : FOutput(output) {}
  void Table(const dbengine::TAccessTable& table) override {
    FOutput.Tables.push_back({table, {}});
  }
  void Row(const std::vector<dbengine::TAccessValue>& values) override {
    FOutput.Tables.back().Rows.push_back(values);
  }

 private:
  TReaderOutput& FOutput;
};

}  // namespace

std::string StreamOf(const std::vector<TFixtureTable>& tables) {
  std::ostringstream out;
  dbengine::TAccessStreamWriter writer(out);
  for (const TFixtureTable& table : tables) {
    writer.Table(table.Header);
    for (const auto& row : table.Rows) {
      writer.BeginRow();
      for (const auto& value : row) value ? writer.Value(*value) : writer.Null();
      writer.EndRow();
    }
  }
  writer.End();
  return out.str();
}

void WriteAccessFile(const std::string& path, const std::string& stream) {
  std::ofstream file(path, std::ios::binary);
  file.write(kJet4Header, sizeof kJet4Header - 1);
  file << stream;  // makes the content, and so the copy's name, differ from fixture to fixture
  EXPECT_TRUE(file.good()) << path;
}

void WriteAccessFixture(const std::string& path, const std::string& stream) {
  WriteAccessFile(path, stream);
  dbengine::TStringSource source(stream);
  dbengine::ImportAccessStream(source, dbengine::AccessCopyPath(path), 1'000'000);
}

TRun RunProgram(const std::vector<std::string>& arguments,
                const std::vector<std::pair<std::string, std::string>>& environment) {
  int out[2];
  int err[2];
  EXPECT_EQ(::pipe2(out, O_CLOEXEC), 0);
  EXPECT_EQ(::pipe2(err, O_CLOEXEC), 0);
  platform::UniqueFd outRead(out[0]), errRead(err[0]);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);

  std::vector<std::string> variables;
  for (char** e = environ; *e != nullptr; ++e) {
    const std::string entry = *e;
    bool replaced = false;
    for (const auto& [name, value] : environment) replaced |= entry.rfind(name + "=", 0) == 0;
    if (!replaced) variables.push_back(entry);
  }
  for (const auto& [name, value] : environment) variables.push_back(name + "=" + value);
  std::vector<char*> envp;
  for (std::string& v : variables) envp.push_back(v.data());
  envp.push_back(nullptr);
  std::vector<std::string> args = arguments;
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  pid_t pid = -1;
  const int rc = ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  ::close(err[1]);
  TRun run;
  EXPECT_EQ(rc, 0) << arguments[0] << ": " << std::strerror(rc);
  if (rc != 0) return run;
  std::string errors;
  std::thread errorReader([&] { errors = Drain(errRead.Get()); });
  run.Output = Drain(outRead.Get());
  errorReader.join();
  run.Errors = errors;
  int status = 0;
  ::waitpid(pid, &status, 0);
  run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return run;
}

TReaderOutput ParseStream(const std::string& stream) {
  TReaderOutput output;
  Collector collector(output);
  dbengine::TStringSource source(stream);
  dbengine::ReadAccessStream(source, collector);
  return output;
}

}  // namespace mdbreader::testing
