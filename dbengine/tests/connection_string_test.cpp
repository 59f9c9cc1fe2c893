#include "dbengine/connection_string.h"

#include <gtest/gtest.h>

#include "dbengine/connection.h"
#include "dbengine/errors.h"
#include "dbengine/jet_connection_string.h"
#include "dbengine/tests/test_database.h"

namespace dbengine {
namespace {

TEST(ConnectionString, ParsesPairsByTheProviderRules) {
  struct {
    const char* text;
    const char* key;
    const char* value;
  } cases[] = {
      {"Data Source=/tmp/a.mdb", "Data Source", "/tmp/a.mdb"},
      {"  data source  =  /tmp/my list.mdb  ;", "DATA SOURCE", "/tmp/my list.mdb"},
      {"Data Source=\"/tmp/a;b.mdb\";Mode=Read", "Data Source", "/tmp/a;b.mdb"},
      {"Data Source='/tmp/it''s.mdb'", "Data Source", "/tmp/it's.mdb"},
      {"Extended Properties=\"\";Mode=ReadWrite", "Extended Properties", ""},
      {"Extended Properties=\"\";Mode=ReadWrite", "Mode", "ReadWrite"},
      {"Password=\"say \"\"hi\"\"\"", "Password", "say \"hi\""},
      {"Mode=Read;;Mode=ReadWrite", "mode", "ReadWrite"},
      {"a==b=c", "a=b", "c"},
      {"Jet OLEDB:Don't Copy Locale on Compact=False", "Jet OLEDB:Don't Copy Locale on Compact",
       "False"},
  };
  for (const auto& c : cases) {
    const TConnectionProperties properties = ParseConnectionString(c.text);
    const auto it = properties.find(c.key);
    ASSERT_NE(it, properties.end()) << c.text;
    EXPECT_EQ(it->second, c.value) << c.text;
  }
}

TEST(ConnectionString, TheProgramsStringGivesTheFileAndEveryProperty) {
  const std::string text =
      "Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=/home/u/주소록.mdb;"
      "Mode=ReadWrite;Extended Properties=\"\";Jet OLEDB:System database=\"\";"
      "Jet OLEDB:Registry Path=\"\";Jet OLEDB:Database Password=\"\";Jet OLEDB:Engine Type=5;"
      "Jet OLEDB:Database Locking Mode=1;Jet OLEDB:Global Partial Bulk Ops=2;"
      "Jet OLEDB:Global Bulk Transactions=1;Jet OLEDB:New Database Password=\"\";"
      "Jet OLEDB:Create System Database=False;Jet OLEDB:Encrypt Database=False;"
      "Jet OLEDB:Don't Copy Locale on Compact=False;"
      "Jet OLEDB:Compact Without Replica Repair=False;Jet OLEDB:SFP=False";
  const TConnectionProperties properties = ParseConnectionString(text);
  EXPECT_EQ(properties.size(), 18u);
  EXPECT_EQ(properties.at("Data Source"), "/home/u/주소록.mdb");
  EXPECT_EQ(properties.at("Jet OLEDB:Database Password"), "");
  EXPECT_EQ(properties.at("Jet OLEDB:SFP"), "False");
}

TEST(ConnectionString, TheProgramsStringIsTheProviderStringWordForWord) {
  const std::string path = "/home/u/주소록/my list.mdb";
  EXPECT_EQ(JetConnectionString(path),
            "Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=" + path + ";" +
                "Mode=ReadWrite;" +
                "Extended Properties=\"\";Jet OLEDB:System database=\"\";Jet OLEDB:Registry "
                "Path=\"\";Jet OLEDB:Database Password=\"\";Jet OLEDB:Engine Type=5;Jet "
                "OLEDB:Database Locking Mode=1;Jet OLEDB:Global Partial Bulk Ops=2;Jet "
                "OLEDB:Global Bulk Transactions=1;Jet OLEDB:New Database Password=\"\";Jet "
                "OLEDB:Create System Database=False;Jet OLEDB:Encrypt Database=False;Jet "
                "OLEDB:Don't Copy Locale on Compact=False;Jet OLEDB:Compact Without Replica "
                "Repair=False;Jet OLEDB:SFP=False");
}

TEST(ConnectionString, TheProgramsStringCarriesAnyFileName) {
  struct {
    std::string path;
    std::string written;  // as it stands after "Data Source="
  } cases[] = {
      {"/home/u/주소록.mdb", "/home/u/주소록.mdb"},
      {"/tmp/a;b.mdb", "\"/tmp/a;b.mdb\""},
      {"/tmp/it's \"new\".mdb", "\"/tmp/it's \"\"new\"\".mdb\""},
      {"/tmp/list.mdb ", "\"/tmp/list.mdb \""},
      {" list.mdb", "\" list.mdb\""},
      {"/tmp/list.mdb\t", "\"/tmp/list.mdb\t\""},
      {"'list.mdb", "\"'list.mdb\""},
  };
  for (const auto& c : cases) {
    const std::string text = JetConnectionString(c.path);
    EXPECT_NE(text.find(";Data Source=" + c.written + ";Mode=ReadWrite;"), std::string::npos)
        << text;
    EXPECT_EQ(ParseConnectionString(text).at("Data Source"), c.path);
  }
}

TEST(ConnectionString, TheFileNamedIsTheFileOpenedWhateverItsName) {
  // Beside each oddly named file lies the one a careless reading of its name would give.
  const std::pair<const char*, const char*> names[] = {
      {"a;b.mdb", "a"}, {"list.mdb ", "list.mdb"}, {"q\"x\".mdb", "q"}};
  for (const auto& [name, other] : names) {
    platform::testing::ScratchDir scratch;
    const std::string path = scratch.Path(name);
    testing::CreateDatabase(path, {"CREATE TABLE t (a LONG)"});
    testing::CreateDatabase(scratch.Path(other), {"CREATE TABLE other (a LONG)"});
    TADOConnection conn;
    conn.ConnectionString = JetConnectionString(path);
    ASSERT_NO_THROW(conn.Open()) << name;
    EXPECT_NO_THROW(conn.Execute("INSERT INTO t VALUES (1)")) << name;
  }
}

TEST(ConnectionString, MalformedTextIsRefused) {
  for (const char* text :
       {"Provider", "Data Source=\"/tmp/a.mdb", "Data Source=\"/a\" b;Mode=Read", "=value"}) {
    EXPECT_THROW(ParseConnectionString(text), EDatabaseError) << text;
  }
}

TEST(ConnectionString, OpenNeedsTheJetProviderAndIgnoresOtherProperties) {
  testing::DatabaseFixture db({"CREATE TABLE t (a LONG)"});
  const std::string& path = db.Path();
  struct {
    std::string text;
    bool opens;
  } cases[] = {
      {"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path, true},
      {"data source=" + path +
           ";PROVIDER=microsoft.jet.oledb.4.0;Unknown Key=1;Jet OLEDB:SFP=False",
       true},
      {"Provider=Microsoft.ACE.OLEDB.12.0;Data Source=" + path, false},
      {"Data Source=" + path, false},
      {"Provider=Microsoft.Jet.OLEDB.4.0", false},
  };
  for (const auto& c : cases) {
    TADOConnection conn;
    conn.ConnectionString = c.text;
    if (c.opens) {
      EXPECT_NO_THROW(conn.Open()) << c.text;
    } else {
      EXPECT_THROW(conn.Open(), EDatabaseError) << c.text;
    }
    EXPECT_EQ(conn.Connected(), c.opens) << c.text;
  }
}

TEST(ConnectionString, WrongProviderSaysItCannotBeFound) {
  TADOConnection conn;
  conn.ConnectionString = "Provider=SQLOLEDB;Data Source=/tmp/x.mdb";
  try {
    conn.Open();
    FAIL() << "opened";
  } catch (const EDatabaseError& error) {
    EXPECT_NE(std::string(error.what()).find("'SQLOLEDB' cannot be found"), std::string::npos)
        << error.what();
  }
}

}  // namespace
}  // namespace dbengine
