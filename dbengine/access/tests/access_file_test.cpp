// Genuine Access files: recognised by their header, converted by the reader program in a child
// process into a read-only copy kept in the user's cache, refused cleanly when damaged.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "dbengine/access/access_cache.h"
#include "dbengine/access/access_conversion.h"
#include "dbengine/access/access_file.h"
#include "dbengine/access/access_import.h"
#include "dbengine/access/access_stream.h"
#include "dbengine/connection.h"
#include "dbengine/query.h"
#include "dbengine/table.h"
#include "dbengine/tests/test_database.h"
#include "platform/folders.h"
#include "platform/testing/scoped_env.h"
#include "platform/testing/scratch_dir.h"
#include "platform/testing/shared_data.h"
#include "platform/testing/unprivileged.h"

namespace dbengine {
namespace {

namespace fs = std::filesystem;
using platform::testing::ScopedEnv;
using platform::testing::ScratchDir;

std::vector<std::string> GenuineFiles() {
  return platform::testing::SharedDataFiles("mdb", ".mdb");
}

std::string Genuine(const std::string& name) {
  return platform::testing::SharedDataPath("mdb/" + name);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string NotADatabase(const std::string& path) {
  return "The file '" + path + "' is not a database.";
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  if (!fs::is_directory(folder)) return names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// A stream with two tables, written as the reader writes it.
std::string SampleStream(int rows = 2) {
  std::ostringstream out;
  TAccessStreamWriter writer(out);
  writer.Table({"사람", {{"번호", TAccessKind::LongInteger, 4}, {"이름", TAccessKind::Text, 10}}});
  for (int i = 1; i <= rows; ++i) {
    writer.BeginRow();
    writer.Value(std::to_string(i));
    i % 2 == 0 ? writer.Null() : writer.Value("홍길동\n,\"");
    writer.EndRow();
  }
  writer.Table({"빈 표", {{"a", TAccessKind::Memo, 0}}});
  writer.End();
  return out.str();
}

class CountingSink : public TAccessStreamSink {
 public:
  void Table(const TAccessTable&) override { ++Tables; }
  void Row(const std::vector<TAccessValue>&) override { ++Rows; }
  int Tables = 0;
  int Rows = 0;
};

void Parse(const std::string& stream) {
  CountingSink sink;
  TStringSource source(stream);
  ReadAccessStream(source, sink);
}

TEST(AccessFile, RecognisedByTheHeaderOfGenuineFilesOnly) {
  ZARIZE_SKIP_WITHOUT_SHARED_DATA("mdb");
  for (const std::string& file : GenuineFiles()) EXPECT_TRUE(IsAccessFile(file)) << file;
  ScratchDir scratch;
  const std::string database = scratch.Path("database.mdb");
  testing::CreateDatabase(database, {"CREATE TABLE t (a LONG)"});
  fs::create_directory(scratch.Path("folder.mdb"));
  const std::string jet(Genuine("fpc_testodbc.mdb"));
  const std::string header = ReadFile(jet).substr(0, 20);
  std::string ace = header;
  ace.replace(13, 3, "ACE");
  std::string other = header;
  other.replace(4, 8, "Standart");
  EXPECT_TRUE(IsAccessFile(scratch.Write("ace.accdb", ace)));
  EXPECT_FALSE(IsAccessFile(scratch.Write("other.mdb", other)));
  EXPECT_FALSE(IsAccessFile(scratch.Write("short.mdb", header.substr(0, 19))));
  EXPECT_FALSE(IsAccessFile(scratch.Write("empty.mdb", "")));
  EXPECT_FALSE(IsAccessFile(database));
  EXPECT_FALSE(IsAccessFile(scratch.Path("folder.mdb")));
  EXPECT_FALSE(IsAccessFile(scratch.Path("missing.mdb")));
}

TEST(AccessStream, OnlyAWholeWellFormedStreamIsRead) {
  const std::string whole = SampleStream();
  CountingSink sink;
  TStringSource source(whole);
  ReadAccessStream(source, sink);
  EXPECT_EQ(sink.Tables, 2);
  EXPECT_EQ(sink.Rows, 2);

  for (std::size_t cut = 0; cut < whole.size(); ++cut)
    EXPECT_THROW(Parse(whole.substr(0, cut)), EAccessStreamError) << "cut at " << cut;

  const std::string first = "zarize-access 1\n";
  const std::string table = "table 1:t\ncolumn long 4 1:a\ncolumn text 5 1:b\n";
  const struct {
    const char* Label;
    std::string Stream;
  } damaged[] = {
      {"another version", "zarize-access 2\nend\n"},
      {"unknown kind", first + "table 1:t\ncolumn blob 0 1:a\nend\n"},
      {"a short row", first + table + "row 1:1\nend\n"},
      {"a long row", first + table + "row 1:1 - -\nend\n"},
      {"a column after rows", first + table + "row - -\ncolumn text 1 1:c\nend\n"},
      {"a column twice", first + "table 1:t\ncolumn long 4 1:a\ncolumn text 1 1:A\nend\n"},
      {"a table twice", first + table + "table 1:T\ncolumn long 4 1:a\nend\n"},
      {"a table without columns", first + "table 1:t\nend\n"},
      {"a row before any table", first + "row 1:1\nend\n"},
      {"bytes after the end", first + table + "end\nend\n"},
      {"a name that is not UTF-8", first + "table 1:\xff\ncolumn long 4 1:a\nend\n"},
      {"an empty name", first + "table 0:\ncolumn long 4 1:a\nend\n"},
      {"a length past the end", first + table + "row 9:1 -\nend\n"},
      {"a huge length", first + table + "row 99999999999999999999:1 -\nend\n"},
      {"an unknown line", first + table + "rows - -\nend\n"},
  };
  for (const auto& c : damaged) EXPECT_THROW(Parse(c.Stream), EAccessStreamError) << c.Label;
}

// Each kind lands as the file format stores it, so the fields read back as from any database of
// the programs: numbers as numbers, text as text even when it looks like a number.
TEST(AccessImport, StoresEveryKindAsTheFileFormatDoes) {
  const std::vector<TAccessColumn> columns = {
      {"text", TAccessKind::Text, 10},
      {"memo", TAccessKind::Memo, 0},
      {"flag", TAccessKind::Boolean, 0},
      {"small", TAccessKind::Byte, 1},
      {"short", TAccessKind::Integer, 2},
      {"long", TAccessKind::LongInteger, 4},
      {"counter", TAccessKind::AutoNumber, 4},
      {"money", TAccessKind::Currency, 8},
      {"single", TAccessKind::Single, 4},
      {"double", TAccessKind::Double, 8},
      {"numeric", TAccessKind::Numeric, 9},
      {"day", TAccessKind::DateTime, 8},
      {"moment", TAccessKind::DateTime, 8},
      {"binary", TAccessKind::Binary, 4},
      {"ole", TAccessKind::Ole, 0},
      {"guid", TAccessKind::Guid, 16},
  };
  const std::string blob("\x00\x01\xff\x00", 4);
  const std::vector<std::string> values = {"007",
                                           "00123",
                                           "1",
                                           "255",
                                           "-3",
                                           "70000",
                                           "5",
                                           "3.5000",
                                           "0.5",
                                           "444.555",
                                           "1234567890",
                                           "2008-03-27 00:00:00",
                                           "2008-03-27 13:45:09",
                                           std::string("\x00\x02", 2),
                                           blob,
                                           "{6B29FC40-CA47-1067-B31D-00DD010662DA}"};
  std::ostringstream stream;
  TAccessStreamWriter writer(stream);
  writer.Table({"kinds", columns});
  writer.BeginRow();
  for (const std::string& value : values) writer.Value(value);
  writer.EndRow();
  writer.BeginRow();
  for (std::size_t i = 0; i < columns.size(); ++i) writer.Null();
  writer.EndRow();
  writer.End();

  ScratchDir scratch;
  const std::string path = scratch.Path("kinds.mdb");
  const std::string bytes = stream.str();
  TStringSource source(bytes);
  const TAccessImportCounts counts = ImportAccessStream(source, path, 10);
  EXPECT_EQ(counts.Tables, 1u);
  EXPECT_EQ(counts.Rows, 2u);

  TADOConnection conn;
  conn.ConnectionString = testing::ConnectionStringFor(path);
  TADOTable table;
  table.Connection = &conn;
  table.TableName = "kinds";
  table.Open();
  const struct {
    const char* Name;
    TFieldType Type;
    int Size;
    std::string Text;
  } expected[] = {
      {"text", ftWideString, 10, "007"},
      {"memo", ftWideString, 0, "00123"},
      {"flag", ftBoolean, 0, "True"},
      {"small", ftInteger, 0, "255"},
      {"short", ftInteger, 0, "-3"},
      {"long", ftInteger, 0, "70000"},
      {"counter", ftAutoInc, 0, "5"},
      {"money", ftFloat, 0, "3.5"},
      {"single", ftFloat, 0, "0.5"},
      {"double", ftFloat, 0, "444.555"},
      {"numeric", ftFloat, 0, "1234567890"},
      {"day", ftDateTime, 0, "2008-03-27"},
      {"moment", ftDateTime, 0, "2008-03-27 13:45:09"},
      {"binary", ftUnknown, 0, std::string("\x00\x02", 2)},
      {"ole", ftUnknown, 0, blob},
      {"guid", ftUnknown, 0, "{6B29FC40-CA47-1067-B31D-00DD010662DA}"},
  };
  ASSERT_EQ(table.RecordCount(), 2);
  for (const auto& e : expected) {
    const TField& field = table.FieldByName(e.Name);
    EXPECT_EQ(field.DataType(), e.Type) << e.Name;
    EXPECT_EQ(field.Size(), e.Size) << e.Name;
    EXPECT_EQ(field.AsString(), e.Text) << e.Name;
  }
  TADOQuery classes;
  classes.Connection = &conn;
  classes.SQL.Add(
      "SELECT typeof(text) || typeof(memo) || typeof(flag) || typeof(money) || typeof(day) || "
      "typeof(ole) FROM kinds WHERE rowid = 1");
  classes.Open();
  EXPECT_EQ(classes.Fields(0).AsString(), "texttextintegerrealtextblob");
  table.Last();
  for (const auto& e : expected) EXPECT_TRUE(table.FieldByName(e.Name).IsNull()) << e.Name;
}

TEST(AccessImport, MoreRowsThanTheCapLeaveNoFile) {
  ScratchDir scratch;
  const std::string path = scratch.Path("capped.mdb");
  const std::string stream = SampleStream(5);
  TStringSource source(stream);
  EXPECT_THROW(ImportAccessStream(source, path, 4), EAccessStreamError);
  EXPECT_FALSE(fs::exists(path));
  TStringSource again(stream);
  EXPECT_EQ(ImportAccessStream(again, path, 5).Rows, 5u);
}

// A reader stood in for by a script, so each way a reader can fail happens for certain. The
// source file holds the stream it writes.
class ReaderFailure : public ::testing::Test {
 protected:
  std::string Reader(const std::string& body) {
    const std::string path = scratch.Write("reader.sh", "#!/bin/sh\n" + body + "\n");
    fs::permissions(path, fs::perms::owner_all);
    return path;
  }
  ScratchDir scratch;
  const std::string source = scratch.Write("list.mdb", SampleStream());
  const std::string target = scratch.Path("copy.db");
  TAccessReadLimits limits{std::chrono::milliseconds(400), 1000, 1 << 20};
};

TEST_F(ReaderFailure, EveryFailingReaderMakesTheFileNotADatabase) {
  const struct {
    const char* Label;
    std::string Script;
  } readers[] = {
      {"hangs", "sleep 30"},
      {"hangs after its output", "cat \"$1\"; exec >&-; sleep 30"},
      {"floods its output", "yes"},
      {"crashes halfway", "head -c 40 \"$1\"; kill -SEGV $$"},
      {"fails after a whole stream", "cat \"$1\"; exit 1"},
      {"writes after the end", "cat \"$1\"; echo more"},
      {"writes something else", "echo hello"},
      {"writes nothing", "exit 0"},
  };
  for (const auto& r : readers) {
    try {
      ConvertAccessFile(source, target, Reader(r.Script), limits);
      ADD_FAILURE() << r.Label << ": converted";
    } catch (const EDatabaseError& error) {
      EXPECT_EQ(error.what(), NotADatabase(source)) << r.Label;
    }
    EXPECT_EQ(FilesIn(scratch.Root()), (std::vector<std::string>{"list.mdb", "reader.sh"}))
        << r.Label;
  }
  limits.MaxRows = 1;
  EXPECT_THROW(ConvertAccessFile(source, target, Reader("cat \"$1\""), limits), EDatabaseError);
  EXPECT_FALSE(fs::exists(target));
}

TEST_F(ReaderFailure, AWholeStreamBecomesTheCopyAndAMissingReaderIsNoFaultOfTheFile) {
  ConvertAccessFile(source, target, Reader("cat \"$1\""), limits);
  TADOConnection conn;
  conn.ConnectionString = testing::ConnectionStringFor(target);
  TADOTable table;
  table.Connection = &conn;
  table.TableName = "사람";
  table.Open();
  EXPECT_EQ(table.RecordCount(), 2);
  EXPECT_EQ(table.FieldByName("이름").AsString(), "홍길동\n,\"");

  try {
    ConvertAccessFile(source, scratch.Path("other.db"), scratch.Path("no-such-reader"), limits);
    ADD_FAILURE() << "converted without a reader";
  } catch (const EDatabaseError& error) {
    EXPECT_NE(std::string(error.what()).find("Cannot run"), std::string::npos) << error.what();
  }
}

// A program may be started with its standard files closed; the descriptors the reader is set up
// with then lie where its standard files go, and must not be lost on the way.
TEST_F(ReaderFailure, AProgramStartedWithoutStandardFilesStillConverts) {
  const std::string reader = Reader("cat \"$1\"");
  const pid_t child = fork();
  if (child == 0) {
    close(0);
    close(1);
    close(2);
    try {
      ConvertAccessFile(source, target, reader, limits);
      _exit(0);
    } catch (...) {
      _exit(1);
    }
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "wait status " << status;
  EXPECT_TRUE(fs::exists(target));
}

TEST_F(ReaderFailure, TheReaderRunsUnderAProcessorTimeLimit) {
  limits.Time = std::chrono::milliseconds(2500);
  const std::string limit = scratch.Path("cpu-limit");
  ConvertAccessFile(source, target, Reader("ulimit -t > '" + limit + "'; cat \"$1\""), limits);
  EXPECT_EQ(scratch.Read("cpu-limit"), "3\n");  // seconds, rounded up
}

// The reader the build makes; the programs find it beside them, these tests name it.
const std::string kReader = std::string(ZARIZE_BIN_DIR) + "/" + kAccessReaderProgram;

// Opens the file through the engine the way both programs do.
void OpenConnection(TADOConnection& conn, const std::string& path,
                    const std::string& reader = kReader) {
  conn.Close();
  conn.ConnectionString = testing::ConnectionStringFor(path);
  conn.AccessReader = reader;
  conn.Open();
}

std::vector<std::string> TableNames(TADOConnection& conn) {
  TADOQuery query;
  query.Connection = &conn;
  query.SQL.Add("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY rowid");
  query.Open();
  std::vector<std::string> names;
  for (; !query.Eof(); query.Next()) names.push_back(query.Fields(0).AsString());
  return names;
}

// The build's reader lies beside the programs, not beside this test program; no other place is
// looked in, so a program whose reader is missing runs none.
TEST(AccessReader, OnlyTheOneBesideTheRunningProgramIsRun) {
  ZARIZE_SKIP_WITHOUT_SHARED_DATA("mdb");
  ASSERT_TRUE(fs::exists(kReader));
  const std::string missing =
      "The program zarize-mdb-read, which reads Access files, is missing beside this program.";
  try {
    AccessReaderProgram();
    ADD_FAILURE() << "found a reader away from " << platform::ExecutableFolder();
  } catch (const EDatabaseError& error) {
    EXPECT_EQ(error.what(), missing);
  }
  ScratchDir scratch;
  const ScopedEnv cache("XDG_CACHE_HOME", scratch.Path("cache"));
  TADOConnection conn;
  try {
    OpenConnection(conn, Genuine("fpc_testodbc.mdb"), "");
    ADD_FAILURE() << "opened without a reader";
  } catch (const EDatabaseError& error) {
    EXPECT_EQ(error.what(), missing);
  }
}

// Access files made at will: the header of a genuine one and bytes of their own, with the
// stream a stand-in reader writes for them beside them.
class AccessCache : public ::testing::Test {
 protected:
  std::string AccessFile(const std::string& name, const char* table) {
    std::ostringstream stream;
    TAccessStreamWriter writer(stream);
    writer.Table({table, {{"a", TAccessKind::LongInteger, 4}}});
    writer.End();
    scratch.Write(name + ".stream", stream.str());
    return scratch.Write(name, std::string("\x00\x01\x00\x00Standard Jet DB\x00", 20) + name);
  }
  std::vector<std::string> Tables(const std::string& path) {
    TADOConnection conn;
    OpenConnection(conn, path, reader);
    return TableNames(conn);
  }
  // A file of the user's own in the cache folder, as a conversion leaves it.
  void OwnEntry(const std::string& name) {
    std::ofstream(folder + "/" + name) << "entry";
    fs::permissions(folder + "/" + name, fs::perms::owner_read | fs::perms::owner_write);
  }

  ScratchDir scratch;
  const ScopedEnv cache{"XDG_CACHE_HOME", scratch.Path("cache")};
  const std::string folder = scratch.Path("cache/zarize");
  const std::string reader = [this] {
    const std::string path = scratch.Write("reader.sh", "#!/bin/sh\ncat \"$1.stream\"\n");
    fs::permissions(path, fs::perms::owner_all);
    return path;
  }();
};

// While the folder was open to others, another user planted a link and a database of theirs at
// the names two copies will have: neither is served, and both are gone once the cache is used.
TEST_F(AccessCache, EntriesOfAnotherUserAreNeverServedAndAreRemoved) {
  if (geteuid() != 0) GTEST_SKIP() << "another user's entries need root to plant";
  const std::string linked = AccessFile("linked.mdb", "mine");
  const std::string replaced = AccessFile("replaced.mdb", "mine too");
  const std::string linkedCopy = AccessCopyPath(linked);
  const std::string replacedCopy = AccessCopyPath(replaced);
  const std::string theirs = scratch.Path("theirs.db");
  testing::CreateDatabase(theirs, {"CREATE TABLE planted (a LONG)"});
  ASSERT_EQ(chmod(theirs.c_str(), 0644), 0);
  ASSERT_EQ(chmod(scratch.Path("cache").c_str(), 0755), 0);
  ASSERT_EQ(chmod(folder.c_str(), 0777), 0);
  platform::testing::RunAsUnprivileged([&] {
    ASSERT_EQ(symlink(theirs.c_str(), linkedCopy.c_str()), 0);
    fs::copy_file(theirs, replacedCopy);
    ASSERT_EQ(mkdir((folder + "/a folder").c_str(), 0777), 0);
  });

  EXPECT_EQ(Tables(linked), std::vector<std::string>{"mine"});
  EXPECT_EQ(Tables(replaced), std::vector<std::string>{"mine too"});
  struct stat info {};
  ASSERT_EQ(::stat(folder.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  for (const std::string& name : FilesIn(folder)) {
    ASSERT_EQ(::lstat((folder + "/" + name).c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode) && info.st_uid == geteuid()) << name;
  }
  EXPECT_EQ(FilesIn(folder).size(), 2u);
}

// A conversion killed halfway leaves its part file behind; the next use of the cache takes it
// away, but never the part of a conversion still at work.
TEST_F(AccessCache, PartFilesOfConversionsWhoseProcessIsGoneAreSwept) {
  AccessCacheFolder();
  const pid_t gone = fork();
  if (gone == 0) _exit(0);
  ASSERT_GT(gone, 0);
  ASSERT_EQ(waitpid(gone, nullptr, 0), gone);
  const std::string copy = "0123456789abcdef-00-1-2.3.db";
  const std::string dead = copy + ".part-" + std::to_string(gone) + "-1";
  const std::string live = copy + ".part-" + std::to_string(getppid()) + "-1";
  const std::string own = copy + ".part-" + std::to_string(getpid()) + "-7";
  for (const std::string& name : {copy, dead, live, own}) OwnEntry(name);
  AccessCacheFolder();
  std::vector<std::string> kept{copy, live, own};
  std::sort(kept.begin(), kept.end());
  EXPECT_EQ(FilesIn(folder), kept);
}

TEST(GenuineAccessFile, OpensReadOnlyFromItsCopyAndRefusesChangesWithTheWayToConvert) {
  ZARIZE_SKIP_WITHOUT_SHARED_DATA("mdb");
  ScratchDir scratch;
  const ScopedEnv cache("XDG_CACHE_HOME", scratch.Path("cache"));
  for (const std::string& file : GenuineFiles()) {
    SCOPED_TRACE(file);
    const std::string before = ReadFile(file);
    TADOConnection conn;
    OpenConnection(conn, file);
    EXPECT_TRUE(conn.ReadOnly());
    EXPECT_EQ(conn.ReadOnlyReason(), AccessChangeRefusal(file));
    const std::vector<std::string> tables = TableNames(conn);
    ASSERT_FALSE(tables.empty());
    TADOTable table;
    table.Connection = &conn;
    table.TableName = tables[0];
    table.Open();
    EXPECT_FALSE(table.CanModify());
    try {
      table.Insert();
      ADD_FAILURE() << "inserted";
    } catch (const EDatabaseError& error) {
      EXPECT_EQ(error.what(), AccessChangeRefusal(file));
    }
    try {
      conn.Execute("DELETE FROM [" + tables[0] + "]");
      ADD_FAILURE() << "deleted";
    } catch (const EDatabaseError& error) {
      EXPECT_EQ(error.what(), AccessChangeRefusal(file));
    }
    conn.Close();
    EXPECT_EQ(ReadFile(file), before);
  }
  // The copies are the user's own business.
  struct stat info {};
  ASSERT_EQ(::stat(scratch.Path("cache/zarize").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_EQ(FilesIn(scratch.Path("cache/zarize")).size(), GenuineFiles().size());
}

TEST(GenuineAccessFile, TheCopyIsKeptUntilTheFileChanges) {
  ZARIZE_SKIP_WITHOUT_SHARED_DATA("mdb");
  ScratchDir scratch;
  const ScopedEnv cache("XDG_CACHE_HOME", scratch.Path("cache"));
  const std::string folder = scratch.Path("cache/zarize");
  const std::string path =
      scratch.Write("list.mdb", ReadFile(Genuine("mdb-reader_V1997_test.mdb")));
  TADOConnection conn;
  OpenConnection(conn, path);
  EXPECT_EQ(TableNames(conn), (std::vector<std::string>{"Table1", "Table2", "Table3", "Table4"}));
  const std::vector<std::string> first = FilesIn(folder);
  ASSERT_EQ(first.size(), 1u);
  struct stat kept {};
  ASSERT_EQ(::stat((folder + "/" + first[0]).c_str(), &kept), 0);

  OpenConnection(conn, path);  // served from the same copy, not read again
  struct stat again {};
  ASSERT_EQ(::stat((folder + "/" + first[0]).c_str(), &again), 0);
  EXPECT_EQ(again.st_ino, kept.st_ino);
  EXPECT_EQ(again.st_mtim.tv_nsec, kept.st_mtim.tv_nsec);

  // Other content under the same name: a new copy replaces the old one.
  scratch.Write("list.mdb", ReadFile(Genuine("fpc_testodbc.mdb")));
  OpenConnection(conn, path);
  EXPECT_EQ(TableNames(conn), std::vector<std::string>{"FPdev"});
  const std::vector<std::string> second = FilesIn(folder);
  ASSERT_EQ(second.size(), 1u);
  EXPECT_NE(second, first);

  // Only the time changed: read again all the same.
  const auto time = fs::last_write_time(path);
  fs::last_write_time(path, time + std::chrono::seconds(10));
  OpenConnection(conn, path);
  EXPECT_EQ(FilesIn(folder).size(), 1u);
  EXPECT_NE(FilesIn(folder), second);
  conn.Close();

  // Without an absolute XDG_CACHE_HOME the copies go under the home folder.
  const ScopedEnv relative("XDG_CACHE_HOME", "cache");
  const ScopedEnv home("HOME", scratch.Path("home"));
  fs::create_directory(scratch.Path("home"));
  OpenConnection(conn, path);
  EXPECT_EQ(FilesIn(scratch.Path("home/.cache/zarize")).size(), 1u);
}

// What the library makes of damage is unknown (it may crash or loop), so every damaged file must
// end as a clean refusal, or open with what could be read of it; the caller goes on either way.
TEST(GenuineAccessFile, ADamagedFileFailsCleanly) {
  ZARIZE_SKIP_WITHOUT_SHARED_DATA("mdb");
  ScratchDir scratch;
  const ScopedEnv cache("XDG_CACHE_HOME", scratch.Path("cache"));
  std::mt19937 random(20080327);
  const auto bytesOf = [&](std::size_t size) {
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    return bytes;
  };
  for (const char* name : {"fpc_testodbc.mdb", "jackcess_testUnicodeCompV2003.mdb"}) {
    const std::string genuine = ReadFile(Genuine(name));
    const std::string header = genuine.substr(0, 20);
    const struct {
      const char* Label;
      std::string Bytes;
    } refused[] = {
        {"the header alone", header},
        {"the first page", genuine.substr(0, 4096)},
        {"half of it", genuine.substr(0, genuine.size() / 2)},
        {"random bytes behind its header", header + bytesOf(genuine.size() - 20)},
    };
    std::vector<std::pair<std::string, std::string>> cases;
    for (const auto& c : refused) cases.emplace_back(c.Label, c.Bytes);
    // Cut at a page boundary, the file still opens in the library, which then ends the catalogue
    // or a table quietly at the first page it cannot read.
    if (std::string(name) == "fpc_testodbc.mdb") {
      cases.emplace_back("cut within the catalogue", genuine.substr(0, 3 * 4096));
      cases.emplace_back("cut within a table", genuine.substr(0, 19 * 4096));
    }
    for (const auto& c : cases) {
      const std::string path = scratch.Write("damaged.mdb", c.second);
      TADOConnection conn;
      try {
        OpenConnection(conn, path);
        ADD_FAILURE() << name << ", " << c.first << ": opened";
      } catch (const EDatabaseError& error) {
        EXPECT_EQ(error.what(), NotADatabase(path)) << name << ", " << c.first;
      }
      EXPECT_FALSE(conn.Connected());
    }
    for (int copy = 0; copy < 25; ++copy) {
      std::string fuzzed = genuine;
      const int flips = 1 + static_cast<int>(random() % 16);
      for (int i = 0; i < flips; ++i)
        fuzzed[20 + random() % (fuzzed.size() - 20)] = static_cast<char>(random());
      const std::string path = scratch.Write("fuzzed.mdb", fuzzed);
      TADOConnection conn;
      try {
        OpenConnection(conn, path);
        for (const std::string& table : TableNames(conn)) {
          TADOTable rows;
          rows.Connection = &conn;
          rows.TableName = table;
          rows.Open();
        }
      } catch (const EDatabaseError& error) {
        EXPECT_EQ(error.what(), NotADatabase(path)) << name << ", copy " << copy;
      }
    }
  }
  for (const std::string& name : FilesIn(scratch.Path("cache/zarize")))
    EXPECT_EQ(name.find(".part-"), std::string::npos) << name;
}

}  // namespace
}  // namespace dbengine
