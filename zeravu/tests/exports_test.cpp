#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "platform/cp949.h"
#include "platform/folders.h"
#include "platform/profile_file.h"
#include "platform/testing/scoped_env.h"
#include "platform/testing/scratch_dir.h"
#include "platform/testing/unprivileged.h"
#include "zeravu/tests/zeravu_fixture.h"

namespace zeravu::testing {
namespace {

namespace fs = std::filesystem;

const char* const kHeader =
    "선택,이름,존칭,우편번호,주소,상세주소,전화,팩스,휴대폰,회사,부서,직책,회사전화,회사팩스,"
    "회사우편번호,회사주소,C상세주소,발송명,발송회사,발송부서,발송직책,발송우편번호,발송주소,"
    "D상세주소,발송,\n";
const char* const kLabelHeader = "우편번호,주소,상세주소,회사,이름,존칭\n";
const char* const kHostSection = "; the host's own settings\r\n[HOST]\r\nPrinter=라벨 1\r\n\r\n";

std::string Cp949(const std::string& utf8) {
  return platform::ToCp949(utf8);
}

// A spreadsheet line for a ticked record with only a name and an address.
std::string SheetLine(const std::string& name, const std::string& address) {
  return Cp949("True," + name + ",,," + address + ",,,,,,,,,,,,,,,,,,,,,\n");
}

class Exports : public ::testing::Test, public ZeravuFixture {
 protected:
  // Zeravu started on a database of these records, the settings file holding a host section.
  TFMain& StartOn(const std::vector<Record>& records) {
    dir.Write("bin/zeder.INI", kHostSection);
    const std::string path = MakeAddressDatabase(dir.Path("list.mdb"), records);
    TFMain& form = Start({kToken, "1", path});
    form.tmActTimer();
    return form;
  }
  std::string HandOff() { return dir.Read("tmp/hhh.csv"); }
  std::string Setting(const std::string& section, const std::string& key) {
    return platform::ProfileFile(SettingsPath()).ReadString(section, key, "<none>");
  }
  // `error`: a part of the error the export ends in; none when it succeeds.
  void SaveSheet(TFMain& form, const std::string& name, const char* error = nullptr) {
    screen.ExpectFileDialog("", std::optional<std::string>(dir.Path(name)));
    if (error) screen.ExpectErrorContaining(error);
    ui::RunGuarded(screen, [&] { form.spbExcelSaveAsClick(); });
  }
  int closeRequests = 0;
  void CountCloses(TFMain& form) {
    form.CloseRequested.Connect([this] { ++closeRequests; });
  }
};

TEST_F(Exports, SpreadsheetHoldsTheTickedRecordsInListOrder) {
  TFMain& form =
      StartOn({{"김철수", "서울 종로구"}, {"빼기", "대전", false}, {"박영희", "부산 중구"}});
  SaveSheet(form, "out/sheet", "Path not found");  // the export fails, nothing is left

  EXPECT_FALSE(platform::FileExists(dir.Path("out/sheet.csv")));
  screen.VerifyAllMet();

  SaveSheet(form, "sheet");
  EXPECT_EQ(dir.Read("sheet.csv"),
            Cp949(kHeader) + SheetLine("김철수", "서울 종로구") + SheetLine("박영희", "부산 중구"));
  EXPECT_EQ(Setting("EXCEL", "PATH"), dir.Root());
  EXPECT_EQ(dir.Read("bin/zeder.INI").substr(0, std::string(kHostSection).size()), kHostSection);
  // The second export's dialog starts where the first one saved.
  SaveSheet(form, "again.csv");
  EXPECT_EQ(screen.Shown().back().Dialog->InitialDir, dir.Root());
}

TEST_F(Exports, SpreadsheetDialogStartsInTheDefaultFolderAndCancelWritesNothing) {
  TFMain& form = StartOn({{"김", "서울"}});
  screen.ExpectFileDialog("", std::optional<std::string>());
  form.spbExcelSaveAsClick();
  const auto& dialog = *screen.Shown().back().Dialog;
  EXPECT_EQ(dialog.InitialDir, form.FExcelDir());
  EXPECT_EQ(dialog.DefaultExt, "csv");
  EXPECT_EQ(dialog.FilterName, "엑셀텍스트파일(*.csv)");
  EXPECT_EQ(Setting("EXCEL", "PATH"), "<none>");
}

TEST_F(Exports, SpreadsheetSituations) {
  struct {
    const char* what;
    std::vector<Record> records;
    std::function<void(Tdm&)> before;
    std::string body;  // after the header
  } cases[] = {
      {"none ticked", {{"김", "서울", false}}, nullptr, ""},
      {"comma and quote are quoted",
       {{"김, 철수", "서울 \"중앙\"로"}},
       nullptr,
       Cp949("True,\"김, 철수\",,,\"서울 \"\"중앙\"\"로\",,,,,,,,,,,,,,,,,,,,,\n")},
      {"null tick counts as not ticked",
       {{"김", "서울"}},
       [](Tdm& d) {
         d.adoTblMember.Edit();
         d.adoTblMember.FieldByName("선택").Clear();
         d.adoTblMember.Post();
       },
       ""},
      {"pending edit is stored and written",
       {{"김", "서울"}},
       [](Tdm& d) {
         d.adoTblMember.Edit();
         d.adoTblMember.FieldByName("이름").SetAsString("이");
       },
       SheetLine("이", "서울")},
      {"pending new record is stored and written",
       {{"김", "서울"}},
       [](Tdm& d) {
         d.adoTblMember.Last();
         d.adoTblMember.Insert();
         d.adoTblMember.FieldByName("이름").SetAsString("새");
         d.adoTblMember.FieldByName("주소").SetAsString("대구");
         d.adoTblMember.FieldByName("선택").SetAsBoolean(true);
       },
       SheetLine("새", "대구") + SheetLine("김", "서울")},
      {"characters code page 949 cannot hold become ?",
       {{"김😀", "서울"}},
       nullptr,
       SheetLine("김?", "서울")},
  };
  for (const auto& c : cases) {
    const std::string path = MakeAddressDatabase(dir.Path(std::string(c.what) + ".mdb"), c.records);
    TInstance z(*this, {kToken, "1", path});
    auto& d = z.dm;
    TFMain& form = z.form;
    form.FormCreate();
    form.tmActTimer();
    if (c.before) c.before(d);
    form.SaveSelectedCsv(dir.Path("case.csv"));
    EXPECT_EQ(dir.Read("case.csv"), Cp949(kHeader) + c.body) << c.what;
    EXPECT_EQ(d.adoTblMember.State(), dbengine::dsBrowse) << c.what;
  }
}

TEST_F(Exports, SpreadsheetLeavesOutExactlyTheFourColumnsNamedSo) {
  // Names compare with case: "id" or "Gid" is a column like any other. The engine, like the
  // provider, takes names without case, so the two spellings need tables of their own.
  struct {
    const char* columns;
    std::string header;
  } cases[] = {
      {"ID Counter Primary Key,GID LONG,SDATE DATETIME,ZIP2 TEXT(7),선택 YesNo,이름 TEXT(32)",
       "선택,이름,\n"},
      {"id Counter Primary Key,Gid LONG,sdate DATETIME,Zip2 TEXT(7),선택 YesNo,이름 TEXT(32)",
       "id,Gid,sdate,Zip2,선택,이름,\n"},
  };
  for (const auto& c : cases) {
    const std::string path = dir.Path(std::string("columns") + c.header.substr(0, 2) + ".mdb");
    TInstance z(*this, {kToken, "1", path});
    ASSERT_TRUE(z.dm.CreateMDBFile(path));
    ASSERT_TRUE(z.dm.OpenDB(path, "x"));
    z.dm.conn.Execute(std::string("CREATE TABLE addr_rec (") + c.columns + ")");
    z.dm.conn.Execute(
        "INSERT INTO addr_rec (GID,sdate,ZIP2,선택,이름) VALUES (7,'2024-01-02','123',1,'김')");
    z.dm.CloseDB();
    z.form.FormCreate();
    z.form.tmActTimer();
    ASSERT_TRUE(z.dm.adoTblMember.Active());
    z.form.SaveSelectedCsv(dir.Path("columns.csv"));
    const std::string keptId = c.header.starts_with("id") ? "1,7,2024-01-02,123," : "";
    EXPECT_EQ(dir.Read("columns.csv"), Cp949(c.header) + keptId + Cp949("True,김,\n")) << c.header;
  }
}

TEST_F(Exports, SpreadsheetFileTakesTheUmaskAndAReplacedFileKeepsItsMode) {
  TFMain& form = StartOn({{"김", "서울"}});
  struct {
    mode_t umask;
    mode_t existing;  // 0: a new file
    mode_t want;
  } cases[] = {{077, 0, 0600}, {022, 0, 0644}, {022, 0600, 0600}, {077, 0664, 0664}};
  for (const auto& c : cases) {
    const std::string path = dir.Path("mode.csv");
    fs::remove(path);
    if (c.existing != 0) {
      dir.Write("mode.csv", "the user's old export");
      ASSERT_EQ(chmod(path.c_str(), c.existing), 0);
    }
    {
      platform::testing::ScopedUmask mask(c.umask);
      form.SaveSelectedCsv(path);
    }
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, c.want) << std::oct << c.umask << " " << c.existing;
  }
}

TEST_F(Exports, SpreadsheetReturnsToTheRememberedRecord) {
  TFMain& form = StartOn({{"가", "1"}, {"나", "2"}, {"다", "3"}});
  dm.adoTblMember.First();
  dm.adoTblMember.Next();
  form.SaveSelectedCsv(dir.Path("x.csv"));
  EXPECT_EQ(dm.adoTblMember.FieldByName("이름").AsString(), "나");
}

TEST_F(Exports, AFailedSpreadsheetNeitherMakesNorReplacesTheUsersFile) {
  struct {
    const char* what;
    const char* createTable;  // null: no database open
    const char* error;
  } cases[] = {
      {"no database", nullptr, "Cannot perform this operation on a closed dataset"},
      // Without the tick nothing says which records go: the data layer's missing-field error.
      {"no 선택 column", "CREATE TABLE addr_rec (ID Counter Primary Key,GID LONG,이름 TEXT(32))",
       "Field '선택' not found"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    platform::testing::ScratchDir out;
    const std::string existing = out.Write("keep.csv", "the user's data");
    const std::string path = dir.Path(std::string(c.what) + ".mdb");
    TInstance z(*this, {kToken, "1", path});
    if (c.createTable) {
      ASSERT_TRUE(z.dm.CreateMDBFile(path));
      ASSERT_TRUE(z.dm.OpenDB(path, "x.mdb"));
      z.dm.conn.Execute(c.createTable);
      z.dm.conn.Execute("INSERT INTO addr_rec (이름) VALUES ('김')");
      z.dm.CloseDB();
    }
    z.form.FormCreate();
    z.form.tmActTimer();
    for (const std::string& target : {existing, out.Path("new.csv")}) {
      z.screen.ExpectFileDialog("", std::optional<std::string>(target));
      z.screen.ExpectError(c.error);
      ui::RunGuarded(z.screen, [&] { z.form.spbExcelSaveAsClick(); });
    }
    EXPECT_EQ(out.Read("keep.csv"), "the user's data");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out.Root()), {}), 1);
    EXPECT_EQ(Setting("EXCEL", "PATH"), "<none>");
  }
}

TEST_F(Exports, LabelHandOffSituations) {
  struct {
    const char* what;
    std::vector<Record> records;
    std::string file;  // empty: no file
    bool keys;
  } cases[] = {
      {"some ticked",
       {{"김,철수", "서울"}, {"박", "부산", false}},
       Cp949(kLabelHeader) + Cp949(",서울,,,김,철수,\n"),
       true},
      {"none ticked", {{"박", "부산", false}}, Cp949(kLabelHeader), true},
      {"no records", {}, "", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    dir.Write("bin/zeder.INI", kHostSection);
    dir.Write("tmp/hhh.csv", "an old hand-off");
    const std::string path = MakeAddressDatabase(dir.Path(std::string(c.what) + ".mdb"), c.records);
    TInstance z(*this, {kToken, "1", path});
    TFMain& form = z.form;
    form.FormCreate();
    form.tmActTimer();
    int closes = 0;
    form.CloseRequested.Connect([&] { ++closes; });
    form.spbDesignClick();
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(platform::FileExists(dir.Path("tmp/hhh.csv")), !c.file.empty());
    if (!c.file.empty()) {
      EXPECT_EQ(HandOff(), c.file);
    }
    const std::string settings = dir.Read("bin/zeder.INI");
    EXPECT_EQ(settings.substr(0, std::string(kHostSection).size()), kHostSection);
    EXPECT_EQ(Setting("ZERAVU", "DESIGNOK"), c.keys ? "1" : "<none>");
    EXPECT_EQ(Setting("ZERAVU", "DBOPENDIR"), c.keys ? dir.Root() : "<none>");
    EXPECT_EQ(Setting("ZERAVU", "DBOPENNAME"), c.keys ? std::string(c.what) + ".mdb" : "<none>");
  }
}

TEST_F(Exports, LabelHandOffHoldsExactlyOneLinePerTickedRecord) {
  const std::string path = MakeAddressDatabase(dir.Path("list.mdb"));
  {
    Tdm maker;
    ASSERT_TRUE(maker.OpenDB(path, "list.mdb"));
    dbengine::TDataSet& table = maker.adoTblMember;
    table.Open();
    struct {
      std::optional<bool> tick;         // nullopt: NULL
      std::vector<std::string> values;  // 우편번호, 주소, 상세주소, 회사, 이름, 존칭
    } records[] = {
        {true,
         {"100-011", "서울\r\n중구", "1층\n2호", "가나\r", std::string("김\0철수", 10), "님"}},
        {std::nullopt, {"200-100", "강원", "", "", "빠짐", ""}},
        {false, {"300-200", "대전", "", "", "아님", ""}},
        {true, {"\n", "", "", "", "\r\n", ""}},
    };
    const char* const columns[] = {"우편번호", "주소", "상세주소", "회사", "이름", "존칭"};
    for (const auto& r : records) {
      table.Last();
      table.Insert();
      if (r.tick) table.FieldByName("선택").SetAsBoolean(*r.tick);
      for (std::size_t i = 0; i < r.values.size(); ++i)
        table.FieldByName(columns[i]).SetAsString(r.values[i]);
      table.Post();
    }
  }
  TFMain& form = Start({kToken, "1", path});
  form.tmActTimer();
  form.spbDesignClick();
  EXPECT_EQ(HandOff(), Cp949(kLabelHeader) +
                           Cp949("100-011,서울  중구,1층 2호,가나 ,김 철수,님\n") +
                           Cp949(" ,,,,  ,\n"));
}

TEST_F(Exports, LabelHandOffStoresPendingChangesAndIsPrivate) {
  TFMain& form = StartOn({{"김", "서울"}});
  platform::testing::ScopedUmask openUmask(0);  // private all the same
  dm.adoTblMember.Insert();
  dm.adoTblMember.FieldByName("이름").SetAsString("새");
  dm.adoTblMember.FieldByName("주소").SetAsString("대구");
  dm.adoTblMember.FieldByName("선택").SetAsBoolean(true);
  form.spbDesignClick();
  const std::string file = HandOff();
  EXPECT_NE(file.find(Cp949(",대구,,,새,\n")), std::string::npos);
  EXPECT_NE(file.find(Cp949(",서울,,,김,\n")), std::string::npos);
  struct stat st {};
  ASSERT_EQ(stat(dir.Path("tmp/hhh.csv").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(Exports, LabelHandOffReplacesAPlantedLinkInsteadOfFollowingIt) {
  TFMain& form = StartOn({{"김", "서울"}});
  const std::string victim = dir.Write("victim.txt", "keep me");
  ASSERT_EQ(symlink(victim.c_str(), dir.Path("tmp/hhh.csv").c_str()), 0);
  form.spbDesignClick();
  EXPECT_EQ(dir.Read("victim.txt"), "keep me");
  EXPECT_EQ(HandOff().substr(0, Cp949(kLabelHeader).size()), Cp949(kLabelHeader));
}

TEST_F(Exports, LabelHandOffNamesAFileAnotherUserPlantedAndLeaksNothing) {
  if (geteuid() != 0) GTEST_SKIP() << "running two other users (setpriv) needs root";
  // The temporary folder as /tmp is: everyone may create in it, only an owner may remove.
  ASSERT_EQ(chmod(TempDir().c_str(), 01777), 0);
  TFMain& form = StartOn({{"김", "서울"}});
  CountCloses(form);
  const std::string handOff = form.HandOffFileName();
  const std::string theirs = dir.Path("theirs.txt");
  const std::string planter = std::to_string(platform::testing::kUnprivilegedId - 1);
  struct {
    const char* kind;
    std::string plant;  // shell command, run as the other user
    mode_t type;
  } cases[] = {
      {"file", "echo theirs > " + handOff, S_IFREG},
      {"folder", "mkdir " + handOff, S_IFDIR},
      {"FIFO", "mkfifo " + handOff, S_IFIFO},
      {"link", "echo secret > " + theirs + " && ln -s " + theirs + " " + handOff, S_IFLNK},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kind);
    const std::string command = "setpriv --reuid=" + planter + " --regid=" + planter +
                                " --clear-groups sh -c '" + c.plant + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    platform::testing::RunAsUnprivileged([&] {
      screen.ExpectError("File access denied: " + handOff + " belongs to another user");
      ui::RunGuarded(screen, [&] { form.spbDesignClick(); });
      screen.VerifyAllMet();
    });
    EXPECT_EQ(closeRequests, 0);
    EXPECT_EQ(Setting("ZERAVU", "DESIGNOK"), "<none>");
    // What was planted is as it was, and the labels went nowhere.
    struct stat st {};
    ASSERT_EQ(lstat(handOff.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & S_IFMT, c.type);
    EXPECT_EQ(st.st_uid, platform::testing::kUnprivilegedId - 1);
    if (c.type == S_IFREG) {
      EXPECT_EQ(HandOff(), "theirs\n");
    } else if (c.type == S_IFLNK) {
      EXPECT_EQ(dir.Read("theirs.txt"), "secret\n");
    } else if (c.type == S_IFDIR) {
      EXPECT_TRUE(fs::is_empty(handOff));
    }
    for (const auto& entry : fs::directory_iterator(TempDir()))
      EXPECT_EQ(entry.path().string(), handOff) << "left behind";
    fs::remove_all(handOff);
  }
}

TEST_F(Exports, LabelHandOffWithNoDatabaseDeletesTheOldFileAndCloses) {
  TFMain& form = Start({kToken});
  dir.Write("tmp/hhh.csv", "old");
  CountCloses(form);
  form.spbDesignClick();
  EXPECT_FALSE(platform::FileExists(dir.Path("tmp/hhh.csv")));
  EXPECT_EQ(closeRequests, 1);
  EXPECT_EQ(Setting("ZERAVU", "DESIGNOK"), "<none>");
}

TEST_F(Exports, LabelHandOffFailuresKeepZeravuOpenAndWriteNoKey) {
  // A table without one of the six columns: the query fails before any file is made.
  {
    const std::string path = dir.Path("odd.mdb");
    TInstance z(*this, {kToken, "1", path});
    auto& s = z.screen;
    auto& d = z.dm;
    TFMain& form = z.form;
    ASSERT_TRUE(d.CreateMDBFile(path));
    ASSERT_TRUE(d.OpenDB(path, "odd.mdb"));
    d.conn.Execute(
        "CREATE TABLE addr_rec (ID Counter Primary Key,GID LONG,선택 YesNo,이름 TEXT(32))");
    d.conn.Execute("INSERT INTO addr_rec (선택,이름) VALUES (1,'김')");
    d.CloseDB();
    form.FormCreate();
    form.tmActTimer();
    int closes = 0;
    form.CloseRequested.Connect([&] { ++closes; });
    s.ExpectErrorContaining("우편번호");
    ui::RunGuarded(s, [&] { form.spbDesignClick(); });
    EXPECT_EQ(closes, 0);
    EXPECT_FALSE(platform::FileExists(dir.Path("tmp/hhh.csv")));
    EXPECT_EQ(Setting("ZERAVU", "DESIGNOK"), "<none>");
  }
  TFMain& form = StartOn({{"김", "서울"}});
  CountCloses(form);
  // The temporary folder cannot be written: the error, no file, no key, Zeravu stays open.
  chmod(TempDir().c_str(), 0555);
  platform::testing::RunAsUnprivileged([&] {
    screen.ExpectErrorContaining("File access denied");
    ui::RunGuarded(screen, [&] { form.spbDesignClick(); });
    screen.VerifyAllMet();
    EXPECT_EQ(closeRequests, 0);
  });
  EXPECT_FALSE(platform::FileExists(dir.Path("tmp/hhh.csv")));
  EXPECT_EQ(Setting("ZERAVU", "DESIGNOK"), "<none>");
  // The settings file cannot be written: the hand-off file is there, no key, Zeravu stays open.
  chmod(TempDir().c_str(), 0777);
  chmod(ExeDir().c_str(), 0555);
  chmod(SettingsPath().c_str(), 0444);
  platform::testing::RunAsUnprivileged([&] {
    screen.ExpectError("Unable to write to " + SettingsPath());
    ui::RunGuarded(screen, [&] { form.spbDesignClick(); });
    screen.VerifyAllMet();
    EXPECT_EQ(closeRequests, 0);
    EXPECT_TRUE(platform::FileExists(dir.Path("tmp/hhh.csv")));
  });
  EXPECT_EQ(Setting("ZERAVU", "DESIGNOK"), "<none>");
}

}  // namespace
}  // namespace zeravu::testing
