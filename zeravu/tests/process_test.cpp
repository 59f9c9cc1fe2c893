// The real Zeravu on the test's display, started as the host starts it and driven from outside as
// a user drives it; each test checks what the host sees afterwards: the exit code, the settings
// file beside the executable, the hand-off file and the data folders. Dialogs are told apart by
// their titles; the texts inside them are checked by the form tests in this folder. Run under
// xvfb-run; the tests that minimise or close by the frame bring a window manager of their own.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "addressbook/address_file.h"
#include "addressbook/address_import.h"
#include "addressbook/csv_reader.h"
#include "addressbook/data_module.h"
#include "addressbook/server_list.h"
#include "dbengine/testing/test_server.h"
#include "devtools/desktop-test/desktop_driver.h"
#include "devtools/desktop-test/window_manager.h"
#include "platform/cp949.h"
#include "platform/profile_file.h"
#include "platform/testing/scoped_env.h"
#include "platform/testing/scratch_dir.h"
#include "platform/testing/unprivileged.h"

namespace zeravu {
namespace {

using namespace desktoptest;
using platform::testing::ScopedEnv;
using platform::testing::ScratchDir;

const std::string kToken = "(갑)";
const std::string kBin = ZARIZE_BIN_DIR;
const std::string kSampleName = "주소록.mdb";
const std::string kMainTitle = "자료관리";
const std::string kLabelHeader = "우편번호,주소,상세주소,회사,이름,존칭";

// Points in the client areas, from the designed layouts.
constexpr int kDesignX = 361, kDesignY = 22;        // main window: "라벨 디자인"
constexpr int kNameX = 130, kNameY = 172;           // entry dialog: the name box
constexpr int kZipButtonX = 163, kZipButtonY = 68;  // entry dialog: the postcode search button
constexpr int kZipRowX = 60, kZipRowY = 62;         // postcode dialog: the first row of the grid

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The label hand-off lines the sample list's ticked records give, in the file's order.
std::vector<std::string> SampleLabelLines() {
  std::vector<addressbook::CsvRecord> records = addressbook::ReadCsvRecords(
      ReadFile(std::string(ZARIZE_SOURCE_DIR) + "/data/address-sample.csv"),
      addressbook::TextEncoding::Utf8);
  const std::vector<std::string>& header = records.front().Fields;
  auto value = [&](const addressbook::CsvRecord& record, const std::string& column) {
    auto at = std::find(header.begin(), header.end(), column);
    EXPECT_NE(at, header.end()) << column;
    return at == header.end() ? std::string() : record.Fields.at(at - header.begin());
  };
  std::vector<std::string> lines;
  for (auto record = records.begin() + 1; record != records.end(); ++record) {
    if (value(*record, "선택") != "True") continue;
    std::string line;
    for (const char* column : {"우편번호", "주소", "상세주소", "회사", "이름", "존칭"}) {
      if (!line.empty()) line += ',';
      line += value(*record, column);
    }
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

class ZeravuProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "run the window tests under xvfb-run -a";
    for (const char* folder : {"home", "config", "tmp"})
      scratch.Write(folder + std::string("/.keep"), "");
  }

  // A copy of Zeravu under `name` in a folder of its own, with the postcode database beside it,
  // as the host installs it; answers the program's path.
  std::string Install(const std::string& name, const std::string& place = "install") {
    const std::string folder = scratch.Path(place);
    std::filesystem::create_directories(folder + "/DB/Zip");
    chmod(folder.c_str(), 0777);  // where the settings file goes, for any user a test runs as
    std::filesystem::copy_file(kBin + "/Zeravu", folder + "/" + name);
    std::filesystem::copy_file(kBin + "/DB/Zip/20080327.mdb", folder + "/DB/Zip/20080327.mdb");
    return folder + "/" + name;
  }
  static std::string Ini(const std::string& program) {
    return std::filesystem::path(program).parent_path() / "zeder.INI";
  }
  // The settings file as a host left it: a section of its own, the flag reset.
  static void HostSettings(const std::string& program) {
    platform::ProfileFile ini(Ini(program));
    ini.WriteString("HOST", "PRINTER", "라벨 프린터");
    ini.WriteString("ZERAVU", "DESIGNOK", "0");
  }
  static std::string Key(const std::string& program, const std::string& key) {
    return platform::ProfileFile(Ini(program)).ReadString("ZERAVU", key, "(none)");
  }

  // The shipped sample address database, copied where the user keeps it.
  std::string SampleDatabase() {
    const std::string path = scratch.Path("home/주소/" + kSampleName);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::filesystem::copy_file(kBin + "/Sample/" + kSampleName, path);
    return path;
  }

  std::string HandOffPath() const { return scratch.Path("tmp/hhh.csv"); }
  // The hand-off file as UTF-8 lines; nothing when there is none.
  std::vector<std::string> HandOff() const {
    if (!std::filesystem::exists(HandOffPath())) return {};
    return Lines(platform::FromCp949(scratch.Read("tmp/hhh.csv")));
  }

  std::string MainWindow(TChild& zeravu) {
    std::optional<std::string> window = WaitForWindow(zeravu.Pid(), kMainTitle);
    EXPECT_TRUE(window) << "no " << kMainTitle << " window came up";
    return window.value_or("");
  }
  // A modal window of Zeravu with this title, answered with Enter once it is there.
  bool Answer(TChild& zeravu, const std::string& title) {
    std::optional<std::string> window = WaitForWindow(zeravu.Pid(), title);
    EXPECT_TRUE(window) << "no window titled '" << title << "' came up; " << Titles(zeravu);
    return window && PressKey(*window, "Return");
  }
  // What the user sees of the program, for a failure's message.
  static std::string Titles(TChild& zeravu) {
    std::string titles = "its windows:";
    for (const std::string& window : VisibleWindows(zeravu.Pid())) {
      titles += " '" + WindowName(window) + "'";
    }
    return titles;
  }
  // The unprivileged user reaches the display through a copy of its key.
  void ShareTheDisplay() {
    if (auto key = CopyDisplayKey(scratch.Path("Xauthority")))
      authority.emplace("XAUTHORITY", *key);
  }
  // A runtime folder of the unprivileged user's own, as the test's is the test user's.
  std::string OtherUsersRuntimeFolder() {
    const std::string folder = scratch.PrivateFolder("run-other");
    const uid_t id = platform::testing::kUnprivilegedId;
    EXPECT_EQ(chown(folder.c_str(), id, id), 0);
    return folder;
  }
  bool Shows(TChild& zeravu, const std::string& window) {
    std::vector<std::string> windows = VisibleWindows(zeravu.Pid());
    return std::find(windows.begin(), windows.end(), window) != windows.end();
  }

  ScratchDir scratch;
  ScopedEnv runtime{"XDG_RUNTIME_DIR", scratch.PrivateFolder("run")};
  ScopedEnv home{"HOME", scratch.Path("home")};
  ScopedEnv config{"XDG_CONFIG_HOME", scratch.Path("config")};
  ScopedEnv temp{"TMPDIR", scratch.Path("tmp")};
  ScopedEnv backend{"GDK_BACKEND", "x11"};
  ScopedEnv noAccessibility{"NO_AT_BRIDGE", "1"};
  std::optional<ScopedEnv> authority;
};

TEST_F(ZeravuProcess, WithoutTheTokenItSaysSoAndEndsWithExitCode100) {
  TChild zeravu(Install("Zeravu"), {});
  std::optional<std::string> box = WaitForWindow(zeravu.Pid(), "알림");
  ASSERT_TRUE(box) << "the 알림 box did not come";
  for (const std::string& window : VisibleWindows(zeravu.Pid())) {
    EXPECT_NE(WindowName(window), kMainTitle) << "the main window showed before the token check";
  }
  ASSERT_TRUE(PressKey(*box, "Return"));
  EXPECT_EQ(zeravu.WaitExit(10s), 100);
}

TEST_F(ZeravuProcess, OneCopyPerExecutableFileName) {
  const std::string program = Install("Zeravu");
  TChild first(program, {kToken, "2"});  // mode 2: the window waits with no database
  const std::string window = MainWindow(first);
  ASSERT_FALSE(window.empty());

  // The same file name from another folder gives way: the plain message window, titled with
  // the application's name, its only window; then exit code 0, whatever its arguments.
  TChild second(Install("Zeravu", "second"), {});
  std::optional<std::string> refusal = WaitForWindow(second.Pid(), "Zeravu");
  ASSERT_TRUE(refusal) << "the second copy did not say it gives way";
  EXPECT_EQ(VisibleWindows(second.Pid()).size(), 1u);
  ASSERT_TRUE(PressKey(*refusal, "Return"));
  EXPECT_EQ(second.WaitExit(10s), 0);
  EXPECT_TRUE(first.Running());
  EXPECT_TRUE(Shows(first, window));

  // Another file name is another program and starts beside the first.
  TChild renamed(Install("Zeravu2", "renamed"), {kToken, "2"});
  const std::string renamedWindow = MainWindow(renamed);
  ASSERT_FALSE(renamedWindow.empty());
  EXPECT_TRUE(first.Running());

  // With no database open, "라벨 디자인" only closes: exit code 0, no keys, no hand-off.
  ASSERT_TRUE(Click(renamedWindow, kDesignX, kDesignY));
  EXPECT_EQ(renamed.WaitExit(10s), 0);
  ASSERT_TRUE(Click(window, kDesignX, kDesignY));
  EXPECT_EQ(first.WaitExit(10s), 0);
  EXPECT_FALSE(std::filesystem::exists(Ini(program)));
  EXPECT_TRUE(HandOff().empty());
}

// When the single-instance lock cannot be made, Zeravu goes on without it: the host still sees
// only its exit codes, 100 for a refused token and 0 for every other end.
TEST_F(ZeravuProcess, ALockThatCannotBeMadeEndsNothingWithAnUnknownCode) {
  const std::string program = Install("Zeravu");
  const std::string victim = scratch.Write("victim", "precious");
  ASSERT_EQ(symlink(victim.c_str(), scratch.Path("run/Zeravu.lock").c_str()), 0);
  {
    TChild refused(program, {});
    ASSERT_TRUE(Answer(refused, "알림")) << "the token was not checked";
    EXPECT_EQ(refused.WaitExit(10s), 100);
  }
  {
    TChild zeravu(program, {kToken, "2"});
    const std::string window = MainWindow(zeravu);
    ASSERT_FALSE(window.empty());
    ASSERT_TRUE(Click(window, kDesignX, kDesignY));
    EXPECT_EQ(zeravu.WaitExit(10s), 0);
  }
  EXPECT_EQ(scratch.Read("victim"), "precious");

  // A runtime folder of another user's: the private folder in /tmp serves instead.
  if (geteuid() != 0) return;  // another user needs root to start
  ShareTheDisplay();
  platform::testing::RunAsUnprivileged([&] {
    TChild refused(program, {});
    ASSERT_TRUE(Answer(refused, "알림")) << "the token was not checked";
    EXPECT_EQ(refused.WaitExit(10s), 100);
  });
}

TEST_F(ZeravuProcess, ModeOneOpensTheDatabaseAndLabelDesignHandsItsTickedRecordsOver) {
  const std::string program = Install("Zeravu");
  HostSettings(program);
  const std::string database = SampleDatabase();
  TChild zeravu(program, {kToken, "1", database});
  const std::string window = MainWindow(zeravu);
  ASSERT_FALSE(window.empty());
  ASSERT_TRUE(Click(window, kDesignX, kDesignY));
  EXPECT_EQ(zeravu.WaitExit(10s), 0);

  // The records come in the order the database gives them, which the hand-off leaves open.
  std::vector<std::string> handOff = HandOff();
  ASSERT_FALSE(handOff.empty()) << "no hand-off file";
  EXPECT_EQ(handOff.front(), kLabelHeader);
  std::vector<std::string> records(handOff.begin() + 1, handOff.end());
  std::vector<std::string> expected = SampleLabelLines();
  std::sort(records.begin(), records.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(records, expected);

  EXPECT_EQ(Key(program, "DBOPENDIR"), std::filesystem::path(database).parent_path().string());
  EXPECT_EQ(Key(program, "DBOPENNAME"), kSampleName);
  EXPECT_EQ(Key(program, "DESIGNOK"), "1");
  EXPECT_EQ(platform::ProfileFile(Ini(program)).ReadString("HOST", "PRINTER", ""), "라벨 프린터");
}

// The same records kept on a database server: the host names the list's link file in mode 1,
// and the hand-off is byte for byte the one the database file gives, the keys naming the link.
TEST_F(ZeravuProcess, ModeOneOnAServerListHandsOverWhatTheFileWould) {
  ZARIZE_REQUIRE_TEST_SERVER();
  dbengine::testing::ServerSchema schema(*dbengine::testing::TestServer::Shared(), scratch);
  const std::string link = scratch.Path("home/주소/사무실.mdb");
  std::filesystem::create_directories(std::filesystem::path(link).parent_path());
  const std::string connInfo =
      dbengine::testing::TestServer::Shared()->ConnInfo(dbengine::testing::kTestAdministrator);
  {
    addressbook::Tdm dm;
    addressbook::CreateServerAddressList(dm, connInfo, link, {schema.Name(), ""}, false);
    addressbook::OpenAddressDatabase(dm, link, addressbook::AddressList::CheckOnly);
    std::ifstream csv(std::string(ZARIZE_SOURCE_DIR) + "/data/address-sample.csv",
                      std::ios::binary);
    ASSERT_GT(addressbook::ImportSpreadsheetCsv(dm, csv, {addressbook::TextEncoding::Utf8, ""}), 0);
  }

  const std::string program = Install("Zeravu");
  std::string handOffs[2];
  const std::string lists[2] = {SampleDatabase(), link};
  for (int i = 0; i < 2; ++i) {
    HostSettings(program);
    TChild zeravu(program, {kToken, "1", lists[i]});
    const std::string window = MainWindow(zeravu);
    ASSERT_FALSE(window.empty()) << lists[i];
    ASSERT_TRUE(Click(window, kDesignX, kDesignY));
    EXPECT_EQ(zeravu.WaitExit(10s), 0) << lists[i];
    handOffs[i] = scratch.Read("tmp/hhh.csv");
  }
  ASSERT_FALSE(handOffs[0].empty());
  EXPECT_EQ(handOffs[1], handOffs[0]);
  EXPECT_EQ(Key(program, "DBOPENDIR"), std::filesystem::path(link).parent_path().string());
  EXPECT_EQ(Key(program, "DBOPENNAME"), "사무실.mdb");
  EXPECT_EQ(Key(program, "DESIGNOK"), "1");
}

// The whole first run: a new database named in the dialog, a record added with a looked-up
// postcode, and the hand-off. The documents folder is the one user-dirs.dirs names.
TEST_F(ZeravuProcess, ModeZeroCreatesADatabaseWhoseNewRecordReachesTheHost) {
  scratch.Write("config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/문서\"\n");
  const std::string documents = scratch.Path("home/문서");
  std::filesystem::create_directories(documents);
  const std::string program = Install("Zeravu");
  HostSettings(program);
  TChild zeravu(program, {kToken, "0"});

  // A name typed without an extension.
  std::optional<std::string> dialog = WaitForWindow(zeravu.Pid(), "새주소 등록");
  ASSERT_TRUE(dialog) << "the new-database dialog did not come";
  // The file chooser maps its window before its name box takes keys...
  std::this_thread::sleep_for(1s);
  ASSERT_TRUE(TypeText(*dialog, "friends"));
  std::this_thread::sleep_for(1s);  // and completes the typed name before it takes Enter
  ASSERT_TRUE(PressKey(*dialog, "Return"));
  ASSERT_TRUE(Answer(zeravu, "성공")) << "the database was not made";

  std::optional<std::string> entry = WaitForWindow(zeravu.Pid(), "자료추가");
  ASSERT_TRUE(entry) << "the add dialog did not follow";
  ASSERT_TRUE(Click(*entry, kNameX, kNameY));
  ASSERT_TRUE(TypeText(*entry, "Hong Gildong"));
  ASSERT_TRUE(Click(*entry, kZipButtonX, kZipButtonY));
  std::optional<std::string> lookup = WaitForWindow(zeravu.Pid(), "우편번호검색");
  ASSERT_TRUE(lookup) << "the postcode dialog did not come";
  ASSERT_TRUE(TypeText(*lookup, "청운동"));
  ASSERT_TRUE(PressKey(*lookup, "Return"));
  ASSERT_TRUE(Click(*lookup, kZipRowX, kZipRowY, 2));
  ASSERT_TRUE(WaitUntil([&] { return !Shows(zeravu, *lookup); })) << "the pick did not close it";
  ASSERT_TRUE(PressKey(*entry, "Return"));
  ASSERT_TRUE(WaitUntil([&] { return !Shows(zeravu, *entry); })) << "Enter did not confirm";

  const std::string window = MainWindow(zeravu);
  ASSERT_FALSE(window.empty());
  ASSERT_TRUE(Click(window, kDesignX, kDesignY));
  EXPECT_EQ(zeravu.WaitExit(10s), 0);

  const std::string addressFolder = documents + "/ZARIZE/DB/Address";
  EXPECT_TRUE(std::filesystem::is_directory(documents + "/ZARIZE/DB/Excel"));
  EXPECT_TRUE(std::filesystem::is_regular_file(addressFolder + "/friends.mdb"));
  EXPECT_EQ(HandOff(),
            (std::vector<std::string>{kLabelHeader, "110-030,서울 종로구 청운동,,,Hong Gildong,"}));
  EXPECT_EQ(Key(program, "DBOPENDIR"), addressFolder);
  EXPECT_EQ(Key(program, "DBOPENNAME"), "friends.mdb");
  EXPECT_EQ(Key(program, "DESIGNOK"), "1");
}

TEST_F(ZeravuProcess, MinimisingBringsTheWindowStraightBackWithTheReminder) {
  TWindowManager windowManager(scratch.Path("wm-ready"));
  ASSERT_TRUE(windowManager.Started()) << "openbox did not start";
  TChild zeravu(Install("Zeravu"), {kToken, "2"});
  const std::string window = MainWindow(zeravu);
  ASSERT_FALSE(window.empty());

  // The reminder has an empty title. A request that comes while openbox is still taking the
  // new window over is lost, so it is asked again when nothing came.
  std::optional<std::string> reminder;
  WaitUntil([&] {
    reminder = Minimize(window) ? WaitForWindow(zeravu.Pid(), "", 2s) : std::nullopt;
    return reminder.has_value();
  });
  ASSERT_TRUE(reminder) << "no reminder came";
  EXPECT_TRUE(Shows(zeravu, window)) << "the main window stayed minimised";
  ASSERT_TRUE(PressKey(*reminder, "Return"));
  ASSERT_TRUE(WaitUntil([&] { return !Shows(zeravu, *reminder); }));
  EXPECT_TRUE(Shows(zeravu, window));
  EXPECT_TRUE(zeravu.Running());
}

// Closing by the frame is a plain end: exit code 0, the flag as the host left it, and an earlier
// hand-off file still there.
TEST_F(ZeravuProcess, ClosingByTheFrameEndsWithZeroAndLeavesTheHostsFilesAlone) {
  TWindowManager windowManager(scratch.Path("wm-ready"));
  ASSERT_TRUE(windowManager.Started()) << "openbox did not start";
  const std::string program = Install("Zeravu");
  HostSettings(program);
  scratch.Write("tmp/hhh.csv", "earlier run\n");
  TChild zeravu(program, {kToken, "1", SampleDatabase()});
  const std::string window = MainWindow(zeravu);
  ASSERT_FALSE(window.empty());
  // openbox's close, as the frame's close box; asked again if openbox was not ready for it.
  WaitUntil([&] { return PressKey(window, "alt+F4") && zeravu.WaitExit(2s).has_value(); });
  EXPECT_EQ(zeravu.WaitExit(0s), 0);
  EXPECT_EQ(Key(program, "DESIGNOK"), "0");
  EXPECT_EQ(Key(program, "DBOPENNAME"), "(none)");
  EXPECT_EQ(scratch.Read("tmp/hhh.csv"), "earlier run\n");
}

// Without the postcode database its box comes while the windows are being made. The start-up timer
// restores the main window meanwhile; without a window manager nothing would lift the box again if
// that put the main window over it, and the user would face a window that takes no input.
TEST_F(ZeravuProcess, TheMissingPostcodeDatabaseBoxStaysAboveTheMainWindow) {
  const std::string program = Install("Zeravu");
  std::filesystem::remove(std::filesystem::path(program).parent_path() / "DB/Zip/20080327.mdb");
  // Mode 0: the new-database dialog shows only after the timer has restored the main window.
  TChild zeravu(program, {kToken, "0"});
  ASSERT_TRUE(WaitForWindow(zeravu.Pid(), "새주소 등록")) << Titles(zeravu);
  const std::string window = MainWindow(zeravu);
  std::optional<std::string> box = WaitForWindow(zeravu.Pid(), "Zeravu");
  ASSERT_TRUE(box) << "no box said the postcode database is missing; " << Titles(zeravu);
  EXPECT_TRUE(IsAbove(*box, window));
}

// A documents folder the user cannot write: the standard error box (titled with the
// application's name), then the window, but no mode is carried out: the database on the command
// line was never opened, so "라벨 디자인" hands nothing over.
TEST_F(ZeravuProcess, AnUnwritableDocumentsFolderStopsTheStartBeforeTheMode) {
  const std::string documents = scratch.Path("home/documents");
  std::filesystem::create_directories(documents);
  chmod(documents.c_str(), 0555);
  scratch.Write("config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"" + documents + "\"\n");
  const std::string program = Install("Zeravu");
  const std::string database = SampleDatabase();
  ShareTheDisplay();
  const std::string runtimeFolder = OtherUsersRuntimeFolder();

  platform::testing::RunAsUnprivileged([&] {
    ScopedEnv ownRuntime("XDG_RUNTIME_DIR", runtimeFolder);
    TChild zeravu(program, {kToken, "1", database});
    ASSERT_TRUE(Answer(zeravu, "Zeravu")) << "no error box";
    const std::string window = MainWindow(zeravu);
    ASSERT_FALSE(window.empty());
    ASSERT_TRUE(Click(window, kDesignX, kDesignY));
    EXPECT_EQ(zeravu.WaitExit(10s), 0);
  });
  EXPECT_FALSE(std::filesystem::exists(documents + "/ZARIZE"));
  EXPECT_TRUE(HandOff().empty());
  EXPECT_FALSE(std::filesystem::exists(Ini(program)));
}

}  // namespace
}  // namespace zeravu
