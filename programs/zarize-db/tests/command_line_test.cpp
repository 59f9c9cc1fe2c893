#include "programs/zarize-db/command_line.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include "addressbook/tests/address_db_fixture.h"
#include "platform/cp949.h"
#include "platform/folders.h"
#include "programs/zarize-db/tests/command_run.h"

namespace zarizedb::testing {
namespace {

// A small list as a spreadsheet program saves it: code page 949, CRLF, a quoted comma.
const std::string kSampleList = platform::ToCp949(
    "이름,존칭,우편번호,주소,회사,선택\r\n"
    "홍길동,님,100-011,\"서울 중구, 충무로\",가나상사,True\r\n"
    "김철수,귀하,600-011,부산 중구,,False\r\n"
    "이영희,님,700-011,대구 중구,다라,\r\n");

class CommandLine : public ::testing::Test, public addressbook::testing::AddressDbFixture {
 protected:
  TRun Run(const std::vector<std::string>& args) { return RunCommand(args); }

  // The real program from the bin folder, in a shell of its own (working in `folder` when given).
  TRun RunProgram(const std::vector<std::string>& args, const std::string& folder = "") {
    std::string command = folder.empty() ? "" : "cd " + Quoted(folder) + " && ";
    command += Quoted(std::string(ZARIZE_BIN_DIR) + "/zarize-db");
    for (const std::string& arg : args) command.append(" ").append(Quoted(arg));
    command.append(" >").append(Quoted(dir.Path("stdout")));
    command.append(" 2>").append(Quoted(dir.Path("stderr")));
    const int status = std::system(command.c_str());
    TRun run;
    run.Exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.Out = dir.Read("stdout");
    run.Err = dir.Read("stderr");
    return run;
  }

  static std::string Quoted(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg) {
      if (c == '\'')
        quoted.append("'\\''");
      else
        quoted.push_back(c);
    }
    quoted.push_back('\'');
    return quoted;
  }
};

TEST_F(CommandLine, HelpDescribesEveryCommand) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--help"}, std::vector<std::string>{"-h"},
        std::vector<std::string>{"count", "--help"}}) {
    const TRun run = Run(args);
    EXPECT_EQ(run.Exit, 0);
    EXPECT_EQ(run.Out, HelpText());
    EXPECT_EQ(run.Err, "");
  }
  for (const char* usage :
       {"create PATH [--force]", "import PATH CSV [--encoding=utf-8|cp949]",
        "export PATH [--ticked] [--label] [--output FILE]", "count PATH", "--help"})
    EXPECT_NE(HelpText().find(usage), std::string::npos) << usage;
}

TEST_F(CommandLine, AWrongCommandLineSaysWhatIsWrongAndExitsWithTwo) {
  struct {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{}, "no command given"},
      {{"drop", "x.mdb"}, "unknown command 'drop'"},
      {{"create"},
       "usage: zarize-db create PATH [--force], or create --server CONNINFO LINKFILE "
       "[--schema NAME] [--share-with ROLE] [--force]"},
      {{"create", "a.mdb", "--schema", "s"}, "--schema and --share-with go with --server"},
      {{"import", "x.mdb"}, "usage: zarize-db import PATH CSV [--encoding=utf-8|cp949]"},
      {{"count", "a.mdb", "b.mdb"}, "usage: zarize-db count PATH"},
      {{"count", "a.mdb", "--force"}, "--force is not an option of count"},
      {{"create", "a.mdb", "--ticked"}, "--ticked is not an option of create"},
      {{"export", "a.mdb", "--bogus"}, "unknown option '--bogus'"},
      {{"export", "a.mdb", "--output"}, "--output needs a value"},
      {{"export", "a.mdb", "--label=yes"}, "--label takes no value"},
      {{"import", "a.mdb", "b.csv", "--encoding=latin1"},
       "unknown encoding 'latin1' (utf-8 or cp949)"},
  };
  for (const auto& c : cases) {
    const TRun run = Run(c.args);
    EXPECT_EQ(run.Exit, 2) << c.message;
    EXPECT_EQ(run.Err, std::string("zarize-db: ") + c.message + "\nTry 'zarize-db --help'.\n");
    EXPECT_EQ(run.Out, "");
  }
  EXPECT_FALSE(platform::FileExists("a.mdb"));
}

TEST_F(CommandLine, CreateImportCountAndExportASampleList) {
  const std::string db = dir.Path("list.mdb");
  const std::string csv = dir.Write("list.csv", kSampleList);

  EXPECT_EQ(Run({"create", db}).Out, "created " + db + "\n");
  const TRun imported = Run({"import", db, csv});
  EXPECT_EQ(imported.Exit, 0) << imported.Err;
  EXPECT_EQ(imported.Out, "imported 3 records into " + db + "\n");
  EXPECT_EQ(Run({"count", db}).Out, "records: 3\nticked: 2\n");

  // Options may come anywhere after the command, in either spelling.
  EXPECT_EQ(Run({"export", "--label", db, "--ticked", "-o", dir.Path("labels.csv")}).Exit, 0);
  EXPECT_EQ(dir.Read("labels.csv"),
            platform::ToCp949("우편번호,주소,상세주소,회사,이름,존칭\n"
                              "100-011,서울 중구, 충무로,,가나상사,홍길동,님\n"
                              "700-011,대구 중구,,다라,이영희,님\n"));
  const TRun all = Run({"export", db, "--output=" + dir.Path("all.csv")});
  EXPECT_EQ(all.Out, "");
  const TRun sheet = Run({"export", db});
  EXPECT_EQ(sheet.Out, dir.Read("all.csv"));
  EXPECT_NE(sheet.Out.find(platform::ToCp949("False,김철수,귀하,600-011,부산 중구,")),
            std::string::npos);

  // The list goes in again, after what is there, and a second create is refused.
  EXPECT_EQ(Run({"import", db, csv, "--encoding", "cp949"}).Exit, 0);
  EXPECT_EQ(Run({"count", db}).Out, "records: 6\nticked: 4\n");
  const TRun again = Run({"create", db});
  EXPECT_EQ(again.Exit, 1);
  EXPECT_EQ(again.Err, "zarize-db: " + db + " exists; add --force to replace it\n");
  EXPECT_EQ(Run({"create", "--force", db}).Exit, 0);
  EXPECT_EQ(Run({"count", db}).Out, "records: 0\nticked: 0\n");
}

TEST_F(CommandLine, FailuresGoToStandardErrorWithExitCodeOne) {
  const std::string db = dir.Path("list.mdb");
  ASSERT_EQ(Run({"create", db}).Exit, 0);
  const std::string bad = dir.Write("bad.csv", "이름,주소\n가,나\n다,라,마\n");
  const std::string junk = dir.Write("junk.mdb", "not a database");
  const std::string readOnly = dir.Path("read-only.mdb");
  ASSERT_EQ(Run({"create", readOnly}).Exit, 0);
  chmod(readOnly.c_str(), 0444);
  const std::string good = dir.Write("good.csv", kSampleList);
  struct {
    std::vector<std::string> args;
    std::string err;
  } cases[] = {
      {{"import", db, bad},
       "zarize-db: " + bad + ": line 3: more than 2 fields; nothing was imported\n"},
      {{"import", db, dir.Path("none.csv")},
       "zarize-db: " + dir.Path("none.csv") + ": No such file or directory\n"},
      {{"import", readOnly, good},
       "zarize-db: " + readOnly + " is read-only; nothing was imported\n"},
      {{"count", junk},
       "zarize-db: " + junk + " is not an address database (it cannot be opened as a database)\n"},
      {{"export", db, "-o", dir.Path("none/out.csv")}, ""},
  };
  for (const auto& c : cases) {
    const TRun run = Run(c.args);
    EXPECT_EQ(run.Exit, 1) << c.err;
    EXPECT_EQ(run.Out, "");
    if (c.err.empty())
      EXPECT_TRUE(run.Err.starts_with("zarize-db: ")) << run.Err;
    else
      EXPECT_EQ(run.Err, c.err);
  }
  EXPECT_EQ(Run({"count", db}).Out, "records: 0\nticked: 0\n");
  EXPECT_EQ(Run({"count", readOnly}).Out, "records: 0\nticked: 0\n");
  EXPECT_FALSE(platform::FileExists(dir.Path("none/out.csv")));
}

TEST_F(CommandLine, AnExportTakesTheUmaskAndAReplacedFileKeepsItsMode) {
  const std::string db = dir.Path("list.mdb");
  ASSERT_EQ(RunProgram({"create", db}).Exit, 0);
  const std::string out = dir.Path("out.csv");
  {
    platform::testing::ScopedUmask mask(077);  // the program inherits it
    ASSERT_EQ(RunProgram({"export", db, "--output", out}).Exit, 0);
  }
  struct stat info;
  ASSERT_EQ(stat(out.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);
  ASSERT_EQ(chmod(out.c_str(), 0640), 0);
  ASSERT_EQ(RunProgram({"export", db, "--label", "-o", out}).Exit, 0);
  ASSERT_EQ(stat(out.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST_F(CommandLine, ReplacingADatabaseKeepsTheOldOneUntilTheNewOneIsWhole) {
  const std::string db = dir.Path("list.mdb");
  const std::string csv = dir.Write("list.csv", kSampleList);
  ASSERT_EQ(RunProgram({"create", db}).Exit, 0);
  ASSERT_EQ(RunProgram({"import", db, csv}).Exit, 0);

  // The data-source file cannot be written (a folder stands where it goes).
  ASSERT_EQ(unlink(dir.Path("odbc.ini").c_str()), 0);
  ASSERT_EQ(mkdir(dir.Path("odbc.ini").c_str(), 0777), 0);
  const TRun failed = RunProgram({"create", "--force", db});
  EXPECT_EQ(failed.Exit, 1);
  const std::string unwritable = "Unable to write to " + dir.Path("odbc.ini");
  EXPECT_EQ(failed.Err, "zarize-db: " + db +
                            ": the database could not be created: the data source could not be "
                            "registered (" +
                            unwritable + "); the file could not be made (" + unwritable + ") (" +
                            db + " is as it was)\n");
  EXPECT_EQ(RunProgram({"count", db}).Out, "records: 3\nticked: 2\n");
  ASSERT_EQ(rmdir(dir.Path("odbc.ini").c_str()), 0);

  // Names the driver's item or the connection string would cut short: each is replaced itself,
  // and the file the cut-short name would give is neither made nor changed.
  // Run in the scratch folder, so a name given as it is can start with a blank too.
  struct {
    std::string name;
    std::string cutShort;
  } cases[] = {{"a\"b.mdb", "a"}, {"list.mdb ", "list.mdb"}, {" list.mdb", "list.mdb"}};
  const std::string here = dir.Root();
  for (const auto& c : cases) {
    const bool cutShortExists = platform::FileExists(dir.Path(c.cutShort));
    ASSERT_EQ(RunProgram({"create", c.name}, here).Exit, 0) << c.name;
    ASSERT_EQ(RunProgram({"import", c.name, csv}, here).Exit, 0) << c.name;
    EXPECT_EQ(RunProgram({"count", c.name}, here).Out, "records: 3\nticked: 2\n") << c.name;
    const TRun replaced = RunProgram({"create", "--force", c.name}, here);
    EXPECT_EQ(replaced.Exit, 0) << c.name << ": " << replaced.Err;
    EXPECT_EQ(RunProgram({"count", c.name}, here).Out, "records: 0\nticked: 0\n") << c.name;
    if (cutShortExists)
      EXPECT_EQ(RunProgram({"count", dir.Path(c.cutShort)}).Out, "records: 3\nticked: 2\n");
    else
      EXPECT_FALSE(platform::FileExists(dir.Path(c.cutShort))) << c.name;
  }
}

TEST_F(CommandLine, TheInstalledProgramRunsTheSameSession) {
  const std::string db = dir.Path("list.mdb");
  const std::string csv = dir.Write("list.csv", kSampleList);
  EXPECT_EQ(RunProgram({"create", db}).Exit, 0);
  const TRun imported = RunProgram({"import", db, csv});
  EXPECT_EQ(imported.Exit, 0) << imported.Err;
  EXPECT_EQ(RunProgram({"count", db}).Out, "records: 3\nticked: 2\n");
  const TRun labels = RunProgram({"export", db, "--label", "--ticked"});
  EXPECT_EQ(labels.Exit, 0);
  EXPECT_EQ(labels.Out, platform::ToCp949("우편번호,주소,상세주소,회사,이름,존칭\n"
                                          "100-011,서울 중구, 충무로,,가나상사,홍길동,님\n"
                                          "700-011,대구 중구,,다라,이영희,님\n"));

  const TRun notADatabase = RunProgram({"count", csv});
  EXPECT_EQ(notADatabase.Exit, 1);
  EXPECT_EQ(
      notADatabase.Err,
      "zarize-db: " + csv + " is not an address database (it cannot be opened as a database)\n");
  EXPECT_EQ(RunProgram({"count"}).Exit, 2);
}

}  // namespace
}  // namespace zarizedb::testing
