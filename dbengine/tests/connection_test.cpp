#include "dbengine/connection.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <random>

#include "dbengine/errors.h"
#include "dbengine/query.h"
#include "dbengine/scoped_transaction.h"
#include "dbengine/table.h"
#include "dbengine/tests/test_database.h"
#include "platform/testing/unprivileged.h"

namespace dbengine {
namespace {

namespace fs = std::filesystem;
using testing::ConnectionStringFor;

void ExpectOpenFails(const std::string& path, const std::string& label) {
  TADOConnection conn;
  conn.ConnectionString = ConnectionStringFor(path);
  EXPECT_THROW(conn.Open(), EDatabaseError) << label;
  EXPECT_FALSE(conn.Connected()) << label;
}

std::string RandomBytes(std::size_t size) {
  std::mt19937 generator(42);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(generator());
  return bytes;
}

// A real database of several pages, cut to `keep` bytes.
std::string TruncatedDatabase(const platform::testing::ScratchDir& scratch, double keep) {
  const std::string whole = scratch.Path("whole.mdb");
  testing::CreateDatabase(
      whole, {"CREATE TABLE t (n LONG, s TEXT(255))",
              "WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM k WHERE i<2000) "
              "INSERT INTO t SELECT i, printf('%0200d', i) FROM k"});
  std::ifstream in(whole, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return scratch.Write("truncated.mdb",
                       bytes.substr(0, static_cast<std::size_t>(bytes.size() * keep)));
}

TEST(Connection, OpenRefusesWhatIsNotAWholeDatabase) {
  platform::testing::ScratchDir scratch;
  fs::create_directory(scratch.Path("folder.mdb"));
  struct {
    std::string label;
    std::string path;
  } cases[] = {
      {"missing", scratch.Path("missing.mdb")},
      {"zero bytes", scratch.Write("empty.mdb", "")},
      {"text", scratch.Write("text.mdb", "이름,주소\n홍길동,서울\n")},
      {"garbage", scratch.Write("garbage.mdb", RandomBytes(8192))},
      {"header only",
       scratch.Write("header.mdb", std::string("SQLite format 3\0", 16) + RandomBytes(84))},
      {"truncated", TruncatedDatabase(scratch, 0.5)},
      {"folder", scratch.Path("folder.mdb")},
  };
  for (const auto& c : cases) {
    const bool existed = fs::exists(c.path);
    const auto sizeBefore = existed && fs::is_regular_file(c.path) ? fs::file_size(c.path) : 0;
    ExpectOpenFails(c.path, c.label);
    EXPECT_EQ(fs::exists(c.path), existed) << c.label << ": open must never create a file";
    if (existed && fs::is_regular_file(c.path)) {
      EXPECT_EQ(fs::file_size(c.path), sizeBefore) << c.label;
    }
  }
}

TEST(Connection, AFileTheUserCannotReadFailsAtOpen) {
  platform::testing::ScratchDir scratch;
  const std::string path = scratch.Path("secret.mdb");
  testing::CreateDatabase(path, {"CREATE TABLE t (a LONG)"});
  ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
  platform::testing::RunAsUnprivileged([&] { ExpectOpenFails(path, "unreadable"); });
}

void ExpectReadOnly(const std::string& path) {
  TADOConnection conn;
  conn.ConnectionString = ConnectionStringFor(path);
  ASSERT_NO_THROW(conn.Open());
  EXPECT_TRUE(conn.ReadOnly());

  TADOTable table;
  table.Connection = &conn;
  table.TableName = "t";
  table.Open();
  EXPECT_EQ(table.RecordCount(), 1);
  EXPECT_EQ(table.FieldByName("a").AsString(), "7");
  EXPECT_FALSE(table.CanModify());
  EXPECT_THROW(table.Edit(), EDatabaseError);

  try {
    conn.Execute("INSERT INTO t VALUES (8)");
    ADD_FAILURE() << "a write to a read-only file succeeded";
  } catch (const EDatabaseError& error) {
    EXPECT_NE(std::string(error.what()).find("read-only"), std::string::npos) << error.what();
  }
}

TEST(Connection, AReadOnlyFileOpensReadOnly) {
  platform::testing::ScratchDir scratch;
  const std::string path = scratch.Path("locked.mdb");
  testing::CreateDatabase(path, {"CREATE TABLE t (a LONG)", "INSERT INTO t VALUES (7)"});
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  ExpectReadOnly(path);
  // Another user's file that only its owner may write.
  ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
  platform::testing::RunAsUnprivileged([&] { ExpectReadOnly(path); });
}

TEST(Connection, ModeReadOpensReadOnly) {
  testing::DatabaseFixture db({"CREATE TABLE t (a LONG)"});
  TADOConnection conn;
  conn.ConnectionString = "Provider=Microsoft.Jet.OLEDB.4.0;Mode=Read;Data Source=" + db.Path();
  conn.Open();
  EXPECT_TRUE(conn.ReadOnly());
  EXPECT_THROW(conn.Execute("INSERT INTO t VALUES (1)"), EDatabaseError);
  EXPECT_FALSE(db.conn.ReadOnly());
}

TEST(Connection, RollbackUndoesEverySinceBegin) {
  testing::DatabaseFixture db({"CREATE TABLE t (a LONG)"});
  db.conn.BeginTrans();
  EXPECT_TRUE(db.conn.InTransaction());
  db.conn.Execute("INSERT INTO t VALUES (1)");
  db.conn.Execute("CREATE TABLE u (b LONG)");
  db.conn.RollbackTrans();
  EXPECT_FALSE(db.conn.InTransaction());
  EXPECT_EQ(db.Scalar("SELECT count(*) FROM t"), "0");
  EXPECT_EQ(db.Scalar("SELECT count(*) FROM sqlite_master WHERE name='u'"), "0");

  db.conn.BeginTrans();
  db.conn.Execute("INSERT INTO t VALUES (2)");
  db.conn.CommitTrans();
  EXPECT_EQ(db.Scalar("SELECT sum(a) FROM t"), "2");
  EXPECT_THROW(db.conn.CommitTrans(), EDatabaseError);
}

// A scoped transaction keeps its changes only when committed: leaving the scope any other way,
// an error included, takes back everything since it began.
TEST(Connection, AScopedTransactionRollsBackUnlessCommitted) {
  testing::DatabaseFixture db({"CREATE TABLE t (a LONG)"});
  {
    TScopedTransaction transaction(db.conn);
    db.conn.Execute("INSERT INTO t VALUES (1)");
  }
  EXPECT_FALSE(db.conn.InTransaction());
  try {
    TScopedTransaction transaction(db.conn);
    db.conn.Execute("INSERT INTO t VALUES (2)");
    db.conn.Execute("INSERT INTO nowhere VALUES (3)");
    transaction.Commit();
  } catch (const EDatabaseError&) {
  }
  EXPECT_FALSE(db.conn.InTransaction());
  EXPECT_EQ(db.Scalar("SELECT count(*) FROM t"), "0");
  {
    TScopedTransaction transaction(db.conn);
    db.conn.Execute("INSERT INTO t VALUES (4)");
    transaction.Commit();
  }
  EXPECT_EQ(db.Scalar("SELECT group_concat(a) FROM t"), "4");
  // A second one inside the first is refused and leaves the first as it was.
  {
    TScopedTransaction outer(db.conn);
    db.conn.Execute("INSERT INTO t VALUES (5)");
    EXPECT_THROW(TScopedTransaction inner(db.conn), EDatabaseError);
    EXPECT_TRUE(db.conn.InTransaction());
    outer.Commit();
  }
  EXPECT_EQ(db.Scalar("SELECT group_concat(a) FROM t"), "4,5");
  // A connection closed in the scope has rolled back already; the scope's end is quiet.
  {
    TScopedTransaction transaction(db.conn);
    db.conn.Execute("INSERT INTO t VALUES (6)");
    db.conn.Close();
  }
  EXPECT_EQ(db.Scalar("SELECT count(*) FROM t"), "2");
}

TEST(Connection, ClosingClosesItsDataSetsAndDropsTheirPendingRows) {
  testing::DatabaseFixture db({"CREATE TABLE t (a LONG)", "INSERT INTO t VALUES (1)"});
  TADOTable table;
  table.Connection = &db.conn;
  table.TableName = "t";
  TADOQuery query;
  query.Connection = &db.conn;
  query.SQL.Add("SELECT * FROM t");
  table.Open();
  query.Open();
  table.Insert();
  table.FieldByName("a").SetAsString("2");

  db.conn.Close();
  EXPECT_FALSE(db.conn.Connected());
  EXPECT_FALSE(table.Active());
  EXPECT_FALSE(query.Active());
  EXPECT_EQ(db.Scalar("SELECT count(*) FROM t"), "1");
  // Opening a dataset opens its connection again.
  table.Open();
  EXPECT_TRUE(db.conn.Connected());
  EXPECT_EQ(table.RecordCount(), 1);
}

TEST(Connection, ExecuteRunsOneStatementAndReportsSqliteErrors) {
  testing::DatabaseFixture db({"CREATE TABLE t (a LONG)"});
  try {
    db.conn.Execute("INSERT INTO nowhere VALUES (1)");
    FAIL() << "no error";
  } catch (const EDatabaseError& error) {
    EXPECT_NE(error.ErrorCode, 0);
    EXPECT_NE(std::string(error.what()).find("nowhere"), std::string::npos) << error.what();
  }
  EXPECT_THROW(db.conn.Execute("INSERT INTO t VALUES (1); INSERT INTO t VALUES (2)"),
               EDatabaseError);
  EXPECT_EQ(db.Scalar("SELECT count(*) FROM t"), "0");
  db.conn.Execute("SELECT * FROM t;");
  TADOConnection closed;
  EXPECT_THROW(closed.Execute("SELECT 1"), EDatabaseError);
}

// A second process's transaction holds the write lock; a writer here waits for it.
TEST(Connection, AWriterWaitsForAnotherProcesssTransaction) {
  testing::DatabaseFixture db({"CREATE TABLE t (who TEXT(10))"});
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    int status = 0;
    try {
      TADOConnection conn;
      conn.ConnectionString = ConnectionStringFor(db.Path());
      conn.Open();
      conn.BeginTrans();
      conn.Execute("INSERT INTO t VALUES ('child')");
      (void)!::write(ready[1], "x", 1);
      ::usleep(400 * 1000);
      conn.CommitTrans();
    } catch (...) {
      status = 1;
    }
    _exit(status);
  }
  char signal = 0;
  ASSERT_EQ(::read(ready[0], &signal, 1), 1);
  TADOTable table;
  table.Connection = &db.conn;
  table.TableName = "t";
  table.Open();
  table.Insert();
  table.FieldByName("who").SetAsString("parent");
  EXPECT_NO_THROW(table.Post());
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(db.Scalar("SELECT group_concat(who, '+') FROM (SELECT who FROM t ORDER BY rowid)"),
            "child+parent");
  ::close(ready[0]);
  ::close(ready[1]);
}

}  // namespace
}  // namespace dbengine
