// The paths an old address list and the delivered postcode file take once the reader has turned
// them into the engine's format. No genuine Korean file is at hand, so these files enter through
// the same seam the reader feeds: its stream, here made from the project's own fixtures.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "addressbook/csv_writers.h"
#include "addressbook/data_module.h"
#include "dbengine/access/access_file.h"
#include "dbengine/database_creation.h"
#include "dbengine/errors.h"
#include "platform/cp949.h"
#include "platform/paths.h"
#include "platform/testing/scoped_env.h"
#include "platform/testing/scratch_dir.h"
#include "postcode/zip_search.h"
#include "postcodedb/zip_list_reader.h"
#include "programs/mdb-reader/address_list_conversion.h"
#include "programs/mdb-reader/tests/test_support.h"
#include "ui/testing/scripted_screen.h"

namespace mdbreader {
namespace {

namespace fs = std::filesystem;
using dbengine::TAccessKind;
using testing::TFixtureTable;
using TRecord = std::map<std::string, std::string>;  // column -> value; a missing one is null

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Records as an old list holds them: a gap in the numbers, a time of day, a null tick (not
// ticked), a comma and a quote for the spreadsheet's quoting, a name as long as its column.
const std::vector<TRecord> kRecords = {
    {{"ID", "1"},
     {"SDATE", "2008-03-27 00:00:00"},
     {"선택", "1"},
     {"이름", "홍길동"},
     {"존칭", "귀하"},
     {"우편번호", "110-011"},
     {"주소", "서울 종로구 구기동"},
     {"상세주소", "12-3"},
     {"회사", "가나상사, 서울지점"},
     {"전화", "02-123-4567"}},
    {{"ID", "2"},
     {"SDATE", "2008-04-01 09:30:00"},
     {"선택", "0"},
     {"이름", "김철수"},
     {"우편번호", "612-020"},
     {"주소", "부산 해운대구 우동"}},
    {{"ID", "5"},
     {"SDATE", "2009-12-31 00:00:00"},
     {"선택", "1"},
     {"이름", "가나다라마바사아자차카타파하가나다라마바사아자차카타파하가나다라"},
     {"존칭", "님"},
     {"우편번호", "700-010"},
     {"주소", "대구 \"중구\" 동인동"},
     {"발송", "우편"}},
    {{"ID", "6"}, {"SDATE", "2010-01-02 00:00:00"}, {"이름", "이영희"}},
};

// The address table's columns as the original program made them in Access, read back from a new
// address database so the two can never drift apart.
dbengine::TAccessTable OldAddressTable(const std::string& scratchPath) {
  dbengine::CreateEmptyDatabase(scratchPath);
  dbengine::TADOConnection conn;
  conn.ConnectionString = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + scratchPath;
  conn.Open();
  conn.Execute(addressbook::kCreateAddressTable);
  dbengine::TADOTable table;
  table.Connection = &conn;
  table.TableName = "addr_rec";
  table.Open();
  dbengine::TAccessTable header{"addr_rec", {}};
  for (int i = 0; i < table.FieldCount(); ++i) {
    const dbengine::TField& field = table.Fields(i);
    TAccessKind kind = TAccessKind::Text;
    int size = field.Size();
    switch (field.DataType()) {
      case dbengine::ftAutoInc:
        kind = TAccessKind::AutoNumber;
        size = 4;
        break;
      case dbengine::ftInteger:
        kind = TAccessKind::LongInteger;
        size = 4;
        break;
      case dbengine::ftDateTime:
        kind = TAccessKind::DateTime;
        size = 8;
        break;
      case dbengine::ftBoolean:
        kind = TAccessKind::Boolean;
        break;
      default:
        break;
    }
    header.Columns.push_back({field.FieldName(), kind, size});
  }
  return header;
}

std::vector<std::optional<std::string>> Row(const dbengine::TAccessTable& table,
                                            const TRecord& record) {
  std::vector<std::optional<std::string>> row;
  for (const dbengine::TAccessColumn& column : table.Columns) {
    const auto it = record.find(column.Name);
    row.push_back(it == record.end() ? std::nullopt : std::optional<std::string>(it->second));
  }
  return row;
}

std::string LongMemo() {
  std::string memo;
  for (int i = 0; i < 40; ++i) memo += "메모 " + std::to_string(i) + "번째 줄\n";
  return memo;
}

class AccessSeam : public ::testing::Test {
 protected:
  // An old address list: its address table, the group table, and a table of the user's own.
  std::string WriteOldList(const std::string& name, const std::vector<TRecord>& records) {
    const std::string path = scratch.Path(name);
    testing::WriteAccessFixture(path, OldListStream(name, records));
    return path;
  }
  // What the reader writes for such a list.
  std::string OldListStream(const std::string& name, const std::vector<TRecord>& records) {
    TFixtureTable address{OldAddressTable(scratch.Path("schema-" + name)), {}};
    for (const TRecord& record : records) address.Rows.push_back(Row(address.Header, record));
    const TFixtureTable groups{
        {"GROUP_ID", {{"GID", TAccessKind::AutoNumber, 4}, {"그룹명", TAccessKind::Text, 32}}},
        {{"1", "친구"}, {"2", "거래처"}}};
    const TFixtureTable notes{
        {"메모", {{"번호", TAccessKind::LongInteger, 4}, {"내용", TAccessKind::Memo, 0}}},
        {{"1", LongMemo()}, {"2", std::nullopt}}};
    return testing::StreamOf({groups, address, notes});
  }

  // The same records in a database Zeravu made and filled itself.
  std::string WriteNativeList(const std::vector<TRecord>& records) {
    const std::string path = scratch.Path("native.mdb");
    dbengine::CreateEmptyDatabase(path);
    addressbook::Tdm dm;
    EXPECT_TRUE(dm.CreateTables(path, "native.mdb"));
    EXPECT_TRUE(dm.OpenDB(path, "native.mdb"));
    dm.adoTblMember.Open();
    for (const TRecord& record : records) {
      dm.adoTblMember.Insert();
      for (const auto& [column, value] : record)
        if (column != "ID") dm.adoTblMember.FieldByName(column).SetAsString(value);
      dm.adoTblMember.Post();
    }
    dm.CloseDB();
    return path;
  }

  struct TExports {
    std::string Spreadsheet;
    std::string Labels;
  };
  // Both exports, as the main window's buttons make them.
  TExports Export(const std::string& path) {
    addressbook::Tdm dm;
    EXPECT_TRUE(dm.OpenDB(path, platform::FileNamePart(path)));
    dm.adoTblMember.Open();
    std::ostringstream spreadsheet;
    addressbook::WriteSpreadsheetCsv(dm.adoTblMember, spreadsheet);
    dm.Qmember.SQL.Clear();
    dm.Qmember.SQL.Add(addressbook::kLabelQuery);
    dm.Qmember.Open();
    std::ostringstream labels;
    addressbook::WriteLabelRows(dm.Qmember, labels);
    return {spreadsheet.str(), labels.str()};
  }

  void TearDown() override { screen.VerifyAllMet(); }

  platform::testing::ScratchDir scratch;
  platform::testing::ScopedEnv cache{"XDG_CACHE_HOME", scratch.Path("cache")};
  ui::testing::ScriptedScreen screen;
};

TEST_F(AccessSeam, AnOldListOpensReadOnlyAndExportsAsZeravusOwnList) {
  const std::string old = WriteOldList("old.mdb", kRecords);
  addressbook::Tdm dm;
  ASSERT_TRUE(dm.OpenDB(old, "old.mdb"));
  EXPECT_TRUE(dm.conn.ReadOnly());
  dm.adoTblMember.Open();
  EXPECT_EQ(dm.adoTblMember.RecordCount(), 4);
  EXPECT_EQ(dm.adoTblMember.FieldByName("선택").DataType(), dbengine::ftBoolean);
  EXPECT_EQ(dm.adoTblMember.FieldByName("SDATE").DataType(), dbengine::ftDateTime);
  EXPECT_EQ(dm.adoTblMember.FieldByName("이름").Size(), 32);
  dm.CloseDB();

  const TExports fromOld = Export(old);
  const TExports fromNative = Export(WriteNativeList(kRecords));
  EXPECT_EQ(fromOld.Spreadsheet, fromNative.Spreadsheet);
  EXPECT_EQ(fromOld.Labels, fromNative.Labels);
  EXPECT_EQ(
      fromOld.Labels,
      platform::ToCp949("우편번호,주소,상세주소,회사,이름,존칭\n"
                        "110-011,서울 종로구 구기동,12-3,가나상사, 서울지점,홍길동,귀하\n"
                        "700-010,대구 \"중구\" 동인동,,,"
                        "가나다라마바사아자차카타파하가나다라마바사아자차카타파하가나다라,님\n"));
  EXPECT_NE(fromOld.Spreadsheet.find(
                platform::ToCp949("True,홍길동,귀하,110-011,서울 종로구 "
                                  "구기동,12-3,02-123-4567,,,\"가나상사, 서울지점\",")),
            std::string::npos)
      << fromOld.Spreadsheet;
}

TEST_F(AccessSeam, EveryChangeToAnOldListIsRefusedWithTheWayToConvertIt) {
  const std::string old = WriteOldList("old.mdb", kRecords);
  const std::string before = ReadFile(old);
  addressbook::Tdm dm;
  ASSERT_TRUE(dm.OpenDB(old, "old.mdb"));
  dbengine::TADOTable& table = dm.adoTblMember;
  table.Open();
  const std::string refusal = dbengine::AccessChangeRefusal(old);
  EXPECT_NE(refusal.find("zarize-mdb-convert '" + old + "'"), std::string::npos) << refusal;
  EXPECT_FALSE(table.CanModify());

  const std::pair<const char*, std::function<void()>> changes[] = {
      {"edit", [&] { table.Edit(); }},
      {"insert", [&] { table.Insert(); }},
      {"delete", [&] { table.Delete(); }},
      {"statement", [&] { dm.conn.Execute("UPDATE addr_rec SET 이름 = '누구'"); }},
  };
  for (const auto& [label, change] : changes) {
    try {
      change();
      ADD_FAILURE() << label << " was not refused";
    } catch (const dbengine::EDatabaseError& error) {
      EXPECT_EQ(error.what(), refusal) << label;
    }
    EXPECT_EQ(table.State(), dbengine::dsBrowse) << label;
  }
  table.Close();
  table.Open();
  EXPECT_EQ(table.FieldByName("이름").AsString(), "홍길동");
  dm.CloseDB();
  EXPECT_EQ(ReadFile(old), before);
}

TEST_F(AccessSeam, TheConverterMakesAListZeravuCanChange) {
  const std::string old = WriteOldList("old.mdb", kRecords);
  const std::string before = ReadFile(old);
  const std::string converted = scratch.Path("new.mdb");
  const std::vector<TCopiedTable> report = ConvertAddressList(old, converted);
  ASSERT_EQ(report.size(), 3u);
  EXPECT_EQ(report[0].Name, "GROUP_ID");
  EXPECT_EQ(report[0].Rows, 2);
  EXPECT_EQ(report[1].Name, "addr_rec");
  EXPECT_EQ(report[1].Rows, 4);
  EXPECT_EQ(report[2].Name, "메모");
  EXPECT_EQ(report[2].Rows, 2);
  EXPECT_EQ(ReadFile(old), before);

  // Its address table is exactly a new database's, holding the old rows as they were.
  addressbook::Tdm dm;
  ASSERT_TRUE(dm.OpenDB(converted, "new.mdb"));
  EXPECT_FALSE(dm.conn.ReadOnly());
  dm.adoTblMember.Open();
  addressbook::Tdm native;
  const std::string nativePath = WriteNativeList({});
  ASSERT_TRUE(native.OpenDB(nativePath, "native.mdb"));
  native.adoTblMember.Open();
  ASSERT_EQ(dm.adoTblMember.FieldCount(), native.adoTblMember.FieldCount());
  for (int i = 0; i < dm.adoTblMember.FieldCount(); ++i) {
    const dbengine::TField& got = dm.adoTblMember.Fields(i);
    const dbengine::TField& want = native.adoTblMember.Fields(i);
    EXPECT_EQ(got.FieldName(), want.FieldName());
    EXPECT_EQ(got.DataType(), want.DataType()) << got.FieldName();
    EXPECT_EQ(got.Size(), want.Size()) << got.FieldName();
  }
  ASSERT_EQ(dm.adoTblMember.RecordCount(), 4);
  EXPECT_EQ(dm.adoTblMember.FieldByName("ID").AsString(), "1");
  dm.adoTblMember.Last();
  EXPECT_EQ(dm.adoTblMember.FieldByName("ID").AsString(), "6");
  EXPECT_EQ(dm.adoTblMember.FieldByName("SDATE").AsString(), "2010-01-02");
  EXPECT_TRUE(dm.adoTblMember.FieldByName("선택").IsNull());

  // Changes now go through, and a new record takes the next number.
  dm.adoTblMember.Insert();
  dm.adoTblMember.FieldByName("이름").SetAsString("새사람");
  dm.adoTblMember.Post();
  EXPECT_EQ(dm.adoTblMember.FieldByName("ID").AsString(), "7");
  dbengine::TADOQuery notes;
  notes.Connection = &dm.conn;
  notes.SQL.Add("SELECT 내용 FROM 메모 ORDER BY 번호");
  notes.Open();
  EXPECT_EQ(notes.Fields(0).AsString(), LongMemo());
  dm.CloseDB();

  // The exports read as they did from the old list.
  const TExports fromOld = Export(old);
  const TExports fromNew = Export(converted);
  EXPECT_EQ(fromNew.Spreadsheet, fromOld.Spreadsheet);
  EXPECT_EQ(fromNew.Labels, fromOld.Labels);
}

TEST_F(AccessSeam, TheConverterNeverWritesOverAFileAndWritesNothingWhenItFails) {
  const std::string old = WriteOldList("old.mdb", kRecords);
  const std::string existing = scratch.Write("existing.mdb", "keep me");
  TRecord tooLong = kRecords[0];
  tooLong["우편번호"] = "110-0111";  // one character more than the column holds
  const std::string bad = WriteOldList("bad.mdb", {tooLong});
  const std::string notAccess = scratch.Write("plain.mdb", "not an Access file");
  const struct {
    std::string Label;
    std::string Source;
    std::string Target;
    std::string Says;
  } cases[] = {
      {"onto itself", old, old, "already exists"},
      {"onto another file", old, existing, "already exists"},
      {"too long a value", bad, scratch.Path("out1.mdb"), "addr_rec.우편번호"},
      {"not an Access file", notAccess, scratch.Path("out2.mdb"), "is not an Access database"},
  };
  for (const auto& c : cases) {
    const std::string before = ReadFile(c.Source);
    const bool targetExisted = fs::exists(c.Target);
    const std::string targetBefore = targetExisted ? ReadFile(c.Target) : "";
    try {
      ConvertAddressList(c.Source, c.Target);
      ADD_FAILURE() << c.Label << ": converted";
    } catch (const EConversionError& error) {
      EXPECT_NE(std::string(error.what()).find(c.Says), std::string::npos)
          << c.Label << ": " << error.what();
    }
    EXPECT_EQ(ReadFile(c.Source), before) << c.Label;
    EXPECT_EQ(fs::exists(c.Target), targetExisted) << c.Label;
    if (targetExisted) {
      EXPECT_EQ(ReadFile(c.Target), targetBefore) << c.Label;
    }
  }
  for (const auto& entry : fs::directory_iterator(scratch.Root()))
    EXPECT_EQ(entry.path().filename().string().find(".part-"), std::string::npos) << entry.path();
}

// Names are never spliced into the converter's statements: a cache folder and a table whose
// names hold an apostrophe convert like any others.
TEST_F(AccessSeam, TheConverterTakesApostrophesInPathsAndTableNames) {
  platform::testing::ScopedEnv quotedCache{"XDG_CACHE_HOME", scratch.Path("it's cache")};
  TFixtureTable address{OldAddressTable(scratch.Path("schema.mdb")), {}};
  address.Rows.push_back(Row(address.Header, kRecords[0]));
  const TFixtureTable notes{{"O'Brien 메모", {{"번호", TAccessKind::LongInteger, 4}}},
                            {{"1"}, {"2"}, {"3"}}};
  const std::string old = scratch.Path("old's.mdb");
  testing::WriteAccessFixture(old, testing::StreamOf({address, notes}));
  const std::vector<TCopiedTable> report = ConvertAddressList(old, scratch.Path("new's.mdb"));
  ASSERT_EQ(report.size(), 2u);
  EXPECT_EQ(report[0].Name, "addr_rec");
  EXPECT_EQ(report[0].Rows, 1);
  EXPECT_EQ(report[1].Name, "O'Brien 메모");
  EXPECT_EQ(report[1].Rows, 3);
}

// A program runs the reader beside it and no other: a copy of the converter on its own has none
// (though the build's reader is still where the build put it), and a copy beside a stand-in
// reader runs that one.
TEST_F(AccessSeam, TheConverterRunsOnlyTheReaderBesideIt) {
  const std::string old = scratch.Path("old.mdb");
  const std::string stream = OldListStream("old.mdb", kRecords);
  testing::WriteAccessFile(old, stream);  // not converted yet: the reader has to run
  scratch.Write("old.mdb.stream", stream);
  auto install = [&](const std::string& folder) {
    fs::create_directories(scratch.Path(folder));
    const std::string program = scratch.Path(folder + "/zarize-mdb-convert");
    fs::copy_file(std::string(ZARIZE_BIN_DIR) + "/zarize-mdb-convert", program);
    return program;
  };

  const testing::TRun alone = testing::RunProgram({install("alone"), old, scratch.Path("a.mdb")});
  EXPECT_EQ(alone.ExitCode, 1);
  EXPECT_EQ(alone.Errors,
            "zarize-mdb-convert: The program zarize-mdb-read, which reads Access files, is missing "
            "beside this program.\n");
  EXPECT_FALSE(fs::exists(scratch.Path("a.mdb")));

  const std::string beside = install("beside");
  const std::string reader =
      scratch.Write("beside/zarize-mdb-read", "#!/bin/sh\ntouch \"$0.ran\"\ncat \"$1.stream\"\n");
  fs::permissions(reader, fs::perms::owner_all);
  const testing::TRun run = testing::RunProgram({beside, old, scratch.Path("b.mdb")});
  EXPECT_EQ(run.ExitCode, 0) << run.Errors;
  EXPECT_TRUE(fs::exists(reader + ".ran"));
  EXPECT_TRUE(fs::exists(scratch.Path("b.mdb")));
}

TEST_F(AccessSeam, TheConverterCommandReportsTheRowsItCopied) {
  const std::string old = WriteOldList("old.mdb", kRecords);
  const std::string converter = std::string(ZARIZE_BIN_DIR) + "/zarize-mdb-convert";
  const std::string converted = scratch.Path("new.mdb");
  const testing::TRun run = testing::RunProgram({converter, old, converted});
  EXPECT_EQ(run.ExitCode, 0) << run.Errors;
  EXPECT_EQ(run.Output, "GROUP_ID: 2 rows\naddr_rec: 4 rows\n메모: 2 rows\nConverted '" + old +
                            "' into '" + converted + "': 3 tables, 8 rows.\n");
  const testing::TRun again = testing::RunProgram({converter, old, converted});
  EXPECT_EQ(again.ExitCode, 1);
  EXPECT_EQ(again.Errors,
            "zarize-mdb-convert: '" + converted + "' already exists; name a new file\n");
  EXPECT_EQ(testing::RunProgram({converter, old}).ExitCode, 2);
}

TEST_F(AccessSeam, TheDeliveredPostcodeFileWorksInTheLookup) {
  postcodedb::ZipListReader list(std::string(ZARIZE_SOURCE_DIR) + "/data/zipcode-sample.cp949.csv");
  TFixtureTable zip{{"zip", {}}, {}};
  for (const std::string& column : list.Columns())
    zip.Header.Columns.push_back(
        {column, TAccessKind::Text, static_cast<int>(postcodedb::kMaxZipTextChars)});
  for (std::vector<std::string> cells; list.Next(cells);) {
    std::vector<std::optional<std::string>> values;
    for (const std::string& cell : cells)
      values.push_back(cell.empty() ? std::nullopt : std::optional<std::string>(cell));
    zip.Rows.push_back(std::move(values));
  }
  const std::string folder = scratch.Path("bin");
  fs::create_directories(folder + "/DB/Zip");
  testing::WriteAccessFixture(postcode::ZipDBPathBeside(folder), testing::StreamOf({zip}));

  postcode::TFZipSearch form(screen, folder);
  form.FormCreate();  // no "데이터베이스 오류"
  ASSERT_TRUE(form.conn.Connected());

  const std::string town = "종로";
  std::vector<std::string> expected;  // the postcodes whose 읍면동 holds the text, in order
  for (const auto& row : zip.Rows)
    if (row[2] && row[2]->find(town) != std::string::npos) expected.push_back(*row[0]);
  std::sort(expected.begin(), expected.end());
  ASSERT_FALSE(expected.empty());

  form.edIn.SetText(town);
  form.sbDongClick();
  ASSERT_TRUE(form.HasRows());
  std::vector<std::string> listed;
  for (form.DQ1.First(); !form.DQ1.Eof(); form.DQ1.Next())
    listed.push_back(form.DQ1.FieldByName("우편번호").AsString());
  EXPECT_EQ(listed, expected);

  form.spbAllClick();
  EXPECT_EQ(form.ADOT.RecordCount(), static_cast<int>(zip.Rows.size()));
  form.wwDBGrid1DblClick();
  EXPECT_EQ(form.ZipCode(), zip.Rows.front()[0]);
  EXPECT_EQ(form.Address(), zip.Rows.front()[1]);
}

}  // namespace
}  // namespace mdbreader
