// The label hand-off file under a writer that dies at any moment: the host finds it whole or
// not at all.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <iostream>
#include <string>

#include "devtools/crash/tests/kill_loop.h"
#include "platform/folders.h"
#include "platform/testing/scoped_env.h"
#include "platform/testing/scratch_dir.h"

namespace crash::testing {
namespace {

using namespace std::chrono_literals;

void RunToEnd(const std::vector<std::string>& args) {
  TChild child(args);
  const int status = child.Wait();
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << args[0] << " failed";
}

TEST(HandOffKill, TheHandOffFileIsAbsentOrWholeAfterAKill) {
  platform::testing::ScratchDir dir;
  platform::testing::ScopedEnv odbcIni("ODBCINI", dir.Path("odbc.ini"));
  const std::string database = dir.Path("list.mdb");
  mkdir(dir.Path("tmp").c_str(), 0700);
  RunToEnd({"create", database});
  RunToEnd({"post", database, "홍길동", "0", "300"});
  RunToEnd({"handoff", database, dir.Path("tmp"), "1"});
  const std::string whole = dir.Read("tmp/hhh.csv");
  ASSERT_GT(whole.size(), 300u * 200u);

  TKillLoop loop("hand-off", 12, 300);
  int found = 0;
  for (int round = 0; round < loop.Rounds(); ++round) {
    SCOPED_TRACE("round " + std::to_string(round) + ", seed " + std::to_string(loop.Seed()));
    TChild writer({"handoff", database, dir.Path("tmp"), "100000"});
    ASSERT_TRUE(writer.WaitForFirstReport());
    loop.KillWithin(writer, 100ms);
    if (platform::FileExists(dir.Path("tmp/hhh.csv"))) {
      ASSERT_EQ(dir.Read("tmp/hhh.csv"), whole);
      ++found;
    }
  }
  std::cout << "hand-off: " << found << " kills left a whole file, the others none\n";
}

}  // namespace
}  // namespace crash::testing
