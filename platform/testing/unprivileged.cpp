#include "platform/testing/unprivileged.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <iostream>

namespace platform::testing {
namespace {

int FailedParts(const ::testing::TestResult& result, int from) {
  int failed = 0;
  for (int i = from; i < result.total_part_count(); ++i) {
    if (result.GetTestPartResult(i).failed()) ++failed;
  }
  return failed;
}

[[noreturn]] void RunChild(const std::function<void()>& body) {
  int status = 0;
  if (setgroups(0, nullptr) != 0 || setgid(kUnprivilegedId) != 0 || setuid(kUnprivilegedId) != 0) {
    std::perror("cannot drop to the unprivileged user");
    status = 3;
  } else {
    const ::testing::TestResult* result =
        ::testing::UnitTest::GetInstance()->current_test_info()->result();
    int before = result->total_part_count();
    try {
      body();
      if (FailedParts(*result, before) > 0) status = 1;
    } catch (const std::exception& e) {
      std::cerr << "unprivileged part threw: " << e.what() << '\n';
      status = 2;
    } catch (...) {
      std::cerr << "unprivileged part threw an unknown exception\n";
      status = 2;
    }
  }
  std::fflush(nullptr);
  std::cerr.flush();
  // _exit: the child must not run the parent's exit handlers or report the test a second time.
  _exit(status);
}

}  // namespace

void RunAsUnprivileged(const std::function<void()>& body) {
  if (geteuid() != 0) {
    body();
    return;
  }
  std::fflush(nullptr);
  pid_t child = fork();
  ASSERT_GE(child, 0) << "fork failed";
  if (child == 0) RunChild(body);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
      << "the part run as user " << kUnprivilegedId << " failed (wait status " << status << ")";
}

}  // namespace platform::testing
