// zarize-db import fed far more than any address list through a pipe: a bad header or value stops
// the reading at once, and a long good file is stored as it is read, so the program's peak
// memory stays near that of a tiny import whatever the input's length.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <functional>
#include <string>

#include "addressbook/address_file.h"
#include "addressbook/tests/address_db_fixture.h"
#include "dbengine/query.h"

namespace addressbook::testing {
namespace {

constexpr std::size_t kMiB = 1024 * 1024;

// Under AddressSanitizer freed memory is held back on purpose and every process carries shadow
// memory, so peaks say nothing there: the bounds are compared in the plain build only.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kPeaksCompared = false;
#else
constexpr bool kPeaksCompared = true;
#endif

struct ImportRun {
  int Exit = -1;
  long PeakKb = 0;           // the program's peak resident memory
  std::size_t BytesFed = 0;  // how much of the input the program took before it stopped reading
  std::string Err;
};

// Gives the input piece by piece; answers false when there is no more.
using Feed = std::function<bool(std::string& piece)>;

class ImportBounds : public ::testing::Test, public AddressDbFixture {
 protected:
  void SetUp() override {
    database = dir.Path("list.mdb");
    CreateAddressDatabase(dm, database, false);
  }

  // Runs the program on `database` with the CSV on its standard input, fed until it is all given
  // or the program stops reading. The peak the kernel reports for the child includes the pages it
  // shared with this process until exec, so this process keeps its own memory small.
  ImportRun Import(const Feed& feed) {
    int pipeFds[2];
    EXPECT_EQ(pipe(pipeFds), 0);
    const std::string errPath = dir.Path("stderr");
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
      dup2(pipeFds[0], 0);
      close(pipeFds[0]);
      close(pipeFds[1]);
      const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      dup2(err, 2);
      const int null = open("/dev/null", O_WRONLY);
      dup2(null, 1);
      const std::string program = std::string(ZARIZE_BIN_DIR) + "/zarize-db";
      execl(program.c_str(), program.c_str(), "import", database.c_str(), "/dev/stdin", nullptr);
      _exit(127);
    }
    close(pipeFds[0]);
    ImportRun run;
    // The program may stop reading at any moment: a write then fails instead of killing us.
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    struct sigaction old = {};
    sigaction(SIGPIPE, &ignore, &old);
    std::string piece;
    bool reading = true;
    while (reading && feed(piece)) {
      for (std::size_t done = 0; done < piece.size();) {
        const ssize_t n = write(pipeFds[1], piece.data() + done, piece.size() - done);
        if (n < 0) {
          reading = false;
          break;
        }
        done += static_cast<std::size_t>(n);
        run.BytesFed += static_cast<std::size_t>(n);
      }
    }
    close(pipeFds[1]);
    sigaction(SIGPIPE, &old, nullptr);
    int status = 0;
    rusage usage{};
    EXPECT_EQ(wait4(child, &status, 0, &usage), child);
    run.Exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.PeakKb = usage.ru_maxrss;
    run.Err = dir.Read("stderr");
    return run;
  }

  // A header, then `bytes` of records as a spreadsheet program writes them.
  static Feed Records(std::size_t bytes, int& count) {
    count = 0;
    return [bytes, &count, given = std::size_t{0}](std::string& piece) mutable {
      if (given >= bytes) return false;
      piece = given == 0 ? "이름,주소,회사,선택\r\n" : "";
      while (piece.size() < 64 * 1024) {
        piece += "홍길동" + std::to_string(count) + ",\"서울특별시 중구, 충무로 1가 24-" +
                 std::to_string(count) + "\",가나상사,1\r\n";
        ++count;
      }
      given += piece.size();
      return true;
    };
  }

  // `head`, then `bytes` of one byte repeated, with no separator at all.
  static Feed Endless(const std::string& head, char byte, std::size_t bytes) {
    return [=, headGiven = false, given = std::size_t{0}](std::string& piece) mutable {
      if (!headGiven) {
        piece = head;
        headGiven = true;
        return true;
      }
      if (given >= bytes) return false;
      piece.assign(256 * 1024, byte);
      given += piece.size();
      return true;
    };
  }

  // Counted without reading the rows: a child's peak memory includes what this process held
  // when it forked, so this process stays small.
  int Count() {
    EXPECT_TRUE(dm.OpenDB(database, "list.mdb"));
    dbengine::TADOQuery query;
    query.Connection = &dm.conn;
    query.CursorType = dbengine::ctOpenForwardOnly;
    query.SQL.Add("SELECT count(*) FROM addr_rec");
    query.Open();
    const int count = std::stoi(query.Fields(0).AsString());
    query.Close();
    dm.CloseDB();
    return count;
  }

  std::string database;
};

TEST_F(ImportBounds, MemoryStaysNearATinyImportsWhateverTheInputsLength) {
  int tinyCount = 0;
  const ImportRun tiny = Import(Records(1, tinyCount));
  ASSERT_EQ(tiny.Exit, 0) << tiny.Err;
  ASSERT_GT(tiny.PeakKb, 0);
  const long bound = 3 * tiny.PeakKb;

  // A long list is stored as it is read, all in one transaction.
  int count = 0;
  const ImportRun many = Import(Records(4 * kMiB, count));
  EXPECT_EQ(many.Exit, 0) << many.Err;
  if (kPeaksCompared) {
    EXPECT_LT(many.PeakKb, bound) << "tiny import: " << tiny.PeakKb << " KiB";
  }
  EXPECT_EQ(Count(), tinyCount + count);

  // Input that can never be a list is refused at once, and the rest of it is never read.
  const std::string header = "이름,주소\n";
  std::string fortyThousandNames;
  for (int i = 0; i < 40000; ++i) fortyThousandNames += "열" + std::to_string(i) + ",";
  struct {
    const char* what;
    Feed feed;
    std::string error;
  } cases[] = {
      {"a value longer than any column", Endless(header + "김,", 'x', 64 * kMiB),
       "line 2: a value is longer than any column of the table holds"},
      {"a quoted value that never closes", Endless(header + "김,\"", 'x', 64 * kMiB),
       "line 2: a value is longer than any column of the table holds"},
      {"a header name longer than any", Endless("", 'x', 64 * kMiB),
       "line 1: a value is longer than any column of the table holds"},
      {"40,000 header names", Endless(fortyThousandNames, ',', 0), "line 1: more than 4096 fields"},
      {"a header of endless names", Endless("", ',', 64 * kMiB), "line 1: more than 4096 fields"},
      {"a line of endless fields", Endless(header, ',', 64 * kMiB), "line 2: more than 2 fields"},
  };
  for (const auto& c : cases) {
    const ImportRun run = Import(c.feed);
    EXPECT_EQ(run.Exit, 1) << c.what;
    EXPECT_NE(run.Err.find(c.error), std::string::npos) << c.what << ": " << run.Err;
    EXPECT_LT(run.BytesFed, 4 * kMiB) << c.what;
    if (kPeaksCompared) {
      EXPECT_LT(run.PeakKb, bound) << c.what << " (tiny import: " << tiny.PeakKb << " KiB)";
    }
  }
  EXPECT_EQ(Count(), tinyCount + count);
}

}  // namespace
}  // namespace addressbook::testing
