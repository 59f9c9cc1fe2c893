#include "postcodedb/zip_database.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/cp949.h"
#include "platform/testing/scratch_dir.h"
#include "platform/testing/shared_data.h"
#include "platform/testing/unprivileged.h"
#include "postcodedb/input_error.h"

namespace postcodedb {
namespace {

using platform::testing::ScratchDir;
using TValue = std::optional<std::string>;  // nullopt for NULL

// A database file read back with SQLite itself, as any other tool would read it.
struct TDump {
  std::vector<std::string> Columns;  // "name type"
  std::vector<std::vector<TValue>> Rows;
};

TDump Dump(const std::string& path, const std::string& where = "") {
  TDump dump;
  sqlite3* db = nullptr;
  EXPECT_EQ(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
  auto query = [&](const std::string& sql, auto onRow) {
    sqlite3_stmt* stmt = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db);
    while (sqlite3_step(stmt) == SQLITE_ROW) onRow(stmt);
    sqlite3_finalize(stmt);
  };
  auto text = [](sqlite3_stmt* stmt, int i) -> TValue {
    if (sqlite3_column_type(stmt, i) == SQLITE_NULL) return std::nullopt;
    return reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
  };
  query("PRAGMA table_info(zip)",
        [&](sqlite3_stmt* s) { dump.Columns.push_back(*text(s, 1) + " " + *text(s, 2)); });
  query("SELECT * FROM zip " + where + " ORDER BY rowid", [&](sqlite3_stmt* s) {
    std::vector<TValue> row;
    for (int i = 0; i < sqlite3_column_count(s); ++i) row.push_back(text(s, i));
    dump.Rows.push_back(row);
  });
  sqlite3_close(db);
  return dump;
}

std::string Lines(const std::vector<std::string>& lines, const std::string& end) {
  std::string text;
  for (const std::string& line : lines) text += line + end;
  return text;
}

const std::vector<std::string> kPostalLines = {
    "ZIPCODE,SIDO,GUGUN,DONG,BUNJI,SEQ",
    "110-062,서울,종로구,신문로2가,,1",
    "476-830,경기,양평군,양서면 양수리,,2",
    "339-700,세종,,조치원읍 교리,,3",
    "110-600,서울,종로구,광화문우체국사서함,1∼100,4",
};

std::string WithoutFinalLineEnd(std::string text) {
  text.pop_back();
  return text;
}

struct TLineEnds {
  const char* Name;
  std::string Bytes;
};

class PostalLayout : public ::testing::TestWithParam<TLineEnds> {};

TEST_P(PostalLayout, JoinsTheAddressAndKeepsTheSourceColumns) {
  ScratchDir dir;
  std::string input = dir.Write("list.csv", GetParam().Bytes);
  BuildZipDatabase(input, dir.Path("zip.mdb"));

  TDump dump = Dump(dir.Path("zip.mdb"));
  EXPECT_EQ(dump.Columns, (std::vector<std::string>{
                              "우편번호 TEXT(7)", "주소 TEXT(22)", "읍면동 TEXT(9)", "SIDO TEXT(2)",
                              "GUGUN TEXT(3)", "BUNJI TEXT(5)", "SEQ TEXT(1)"}));
  using R = std::vector<TValue>;
  const TValue null;
  EXPECT_EQ(
      dump.Rows,
      (std::vector<R>{
          R{"110-062", "서울 종로구 신문로2가", "신문로2가", "서울", "종로구", null, "1"},
          R{"476-830", "경기 양평군 양서면 양수리", "양서면 양수리", "경기", "양평군", null, "2"},
          R{"339-700", "세종 조치원읍 교리", "조치원읍 교리", "세종", null, null, "3"},
          R{"110-600", "서울 종로구 광화문우체국사서함 1∼100", "광화문우체국사서함", "서울",
            "종로구", "1∼100", "4"},
      }));
}

INSTANTIATE_TEST_SUITE_P(
    LineEnds, PostalLayout,
    ::testing::Values(TLineEnds{"Crlf", platform::ToCp949(Lines(kPostalLines, "\r\n"))},
                      TLineEnds{"Lf", platform::ToCp949(Lines(kPostalLines, "\n"))},
                      TLineEnds{"NoFinalLineEnd",
                                WithoutFinalLineEnd(platform::ToCp949(Lines(kPostalLines, "\n")))}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(PlainLayout, PutsTheThreeColumnsFirstAndKeepsTheOthersInOrder) {
  ScratchDir dir;
  std::string input =
      dir.Write("list.csv",
                "\xEF\xBB\xBF"
                "주소,우편번호,비고,읍면동\r\n"
                "\"서울 중구 태평로1가, 시청\",100-101,\"큰 \"\"따옴표\"\"\",태평로1가\r\n"
                "\r\n"
                "부산 해운대구 우동,612-010,,우동\r\n");
  BuildZipDatabase(input, dir.Path("zip.mdb"));

  TDump dump = Dump(dir.Path("zip.mdb"));
  EXPECT_EQ(dump.Columns, (std::vector<std::string>{"우편번호 TEXT(7)", "주소 TEXT(15)",
                                                    "읍면동 TEXT(5)", "비고 TEXT(7)"}));
  using R = std::vector<TValue>;
  EXPECT_EQ(dump.Rows, (std::vector<R>{
                           R{"100-101", "서울 중구 태평로1가, 시청", "태평로1가", "큰 \"따옴표\""},
                           R{"612-010", "부산 해운대구 우동", "우동", std::nullopt},
                       }));
}

struct TBadInput {
  const char* Name;
  std::string Bytes;
  int Line;
  std::string Reason;  // a part of the reason the error gives after the file and line
};

std::string Postal(const std::vector<std::string>& rows) {
  std::vector<std::string> lines = {kPostalLines[0]};
  lines.insert(lines.end(), rows.begin(), rows.end());
  return platform::ToCp949(Lines(lines, "\r\n"));
}

class BadInput : public ::testing::TestWithParam<TBadInput> {};

TEST_P(BadInput, StopsAtTheLineAndLeavesTheOutputAlone) {
  ScratchDir dir;
  std::string input = dir.Write("list.csv", GetParam().Bytes);
  dir.Write("zip.mdb", "the old database");

  try {
    BuildZipDatabase(input, dir.Path("zip.mdb"));
    FAIL() << "the bad list was accepted";
  } catch (const EInputError& e) {
    EXPECT_EQ(e.File, input);
    EXPECT_EQ(e.Line, GetParam().Line);
    EXPECT_EQ(
        std::string(e.what()).rfind(input + ": line " + std::to_string(GetParam().Line) + ": ", 0),
        0u)
        << e.what();
    EXPECT_NE(e.Reason.find(GetParam().Reason), std::string::npos) << e.what();
  }
  EXPECT_EQ(dir.Read("zip.mdb"), "the old database");
  std::set<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Root())) {
    left.insert(entry.path().filename());
  }
  EXPECT_EQ(left, (std::set<std::string>{"list.csv", "zip.mdb"}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadInput,
    ::testing::Values(
        TBadInput{"EmptyFile", "", 1, "the header is neither"},
        TBadInput{"PostalHeaderShort", "ZIPCODE,SIDO,GUGUN,DONG,BUNJI\r\n110-062,a,b,c,d\r\n", 1,
                  "the header is neither"},
        TBadInput{"PlainHeaderWithoutDong", "우편번호,주소\n110-062,서울\n", 1,
                  "the header is neither"},
        TBadInput{"PlainHeaderNamesAColumnTwice", "우편번호,주소,읍면동,주소\n", 1,
                  "the column 주소 is named twice"},
        TBadInput{"PostalRowTooFewFields",
                  Postal({"110-062,서울,종로구,신문로2가,,1", "110-600,서울,종로구,,4"}), 3,
                  "5 fields where 6 are expected"},
        TBadInput{"PostalRowTooManyFields", Postal({"110-062,서울,종로구,신문로2가,12,3,,1"}), 2,
                  "8 fields where 6 are expected"},
        TBadInput{"PlainRowTooFewAfterABlankLine",
                  "우편번호,주소,읍면동\r\n100-101,서울 중구 태평로1가,태평로1가\r\n\r\n"
                  "612-010,우동\r\n",
                  4, "2 fields where the header has 3"},
        TBadInput{"NotCp949", Postal({"110-062,서울,종로구,신문로2가,,1"}) + "110-600,\xFF\r\n", 3,
                  "not valid code page 949"},
        TBadInput{"NotUtf8", "우편번호,주소,읍면동\n100-101,\xC3\x28,x\n", 2, "not valid UTF-8"},
        TBadInput{"QuoteNotClosed", "우편번호,주소,읍면동\n100-101,\"서울 중구,태평로1가\n", 2,
                  "a quoted field is not closed"},
        TBadInput{"TextAfterAClosingQuote", "우편번호,주소,읍면동\n100-101,\"서울\" 중구,x\n", 2,
                  "text follows a closing quote"},
        TBadInput{"EmptyPostalPostcode", Postal({",서울,종로구,신문로2가,,1"}), 2,
                  "is not a six-digit postcode"},
        TBadInput{"EmptyPostcode", "우편번호,주소,읍면동\n,서울 중구,태평로1가\n", 2,
                  "the postcode is empty"},
        TBadInput{"PostalValueTooLong",
                  Postal({"110-062,서울,종로구,신문로2가," + std::string(256, '1') + ",1"}), 2,
                  "the value of 주소 is longer than 255 characters"},
        TBadInput{"ValueTooLong", "우편번호,주소,읍면동\n100-101," + std::string(256, 'x') + ",x\n",
                  2, "the value of 주소 is longer than 255 characters"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(ZipDatabase, AFolderThatCannotBeWrittenLeavesNothingBehind) {
  ScratchDir dir;
  std::string input = dir.Write("list.csv", Postal({"110-062,서울,종로구,신문로2가,,1"}));
  std::filesystem::create_directory(dir.Path("locked"));
  chmod(dir.Path("locked").c_str(), 0555);
  platform::testing::RunAsUnprivileged([&] {
    EXPECT_THROW(BuildZipDatabase(input, dir.Path("locked/zip.mdb")), platform::EInOutError);
  });
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path("locked")));
}

TEST(ZipDatabase, ReplacesAnOlderDatabaseWhole) {
  ScratchDir dir;
  BuildZipDatabase(dir.Write("a.csv", Postal({"110-062,서울,종로구,신문로2가,,1",
                                              "476-830,경기,양평군,양서면 양수리,,2"})),
                   dir.Path("zip.mdb"));
  BuildZipDatabase(dir.Write("b.csv", Postal({"339-700,세종,,조치원읍 교리,,3"})),
                   dir.Path("zip.mdb"));
  TDump dump = Dump(dir.Path("zip.mdb"));
  ASSERT_EQ(dump.Rows.size(), 1u);
  EXPECT_EQ(dump.Rows[0][0], "339-700");
  struct stat st {};
  ASSERT_EQ(stat(dir.Path("zip.mdb").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);  // readable by every user of the programs
}

TEST(ZipDatabase, BuildsTheRealPostalList) {
  ZARIZE_SKIP_WITHOUT_SHARED_DATA("zipcode-kr-6digit.cp949.csv");
  const std::string list = platform::testing::SharedDataPath("zipcode-kr-6digit.cp949.csv");
  ScratchDir dir;
  BuildZipDatabase(list, dir.Path("zip.mdb"));

  EXPECT_EQ(Dump(dir.Path("zip.mdb")).Rows.size(), 52144u);
  using R = std::vector<TValue>;
  EXPECT_EQ(
      Dump(dir.Path("zip.mdb"), "WHERE SEQ IN ('2', '52144')").Rows,
      (std::vector<R>{
          R{"135-807", "서울 강남구 개포1동 우성3차아파트 (1∼6동)", "개포1동 우성3차아파트", "서울",
            "강남구", "(1∼6동)", "2"},
          R{"363-820", "충북 청원군 현도면", "현도면", "충북", "청원군", std::nullopt, "52144"},
      }));
}

TEST(ZipDatabase, TheShippedSampleIsAGoodPostalList) {
  ScratchDir dir;
  BuildZipDatabase(ZARIZE_SOURCE_DIR "/data/zipcode-sample.cp949.csv", dir.Path("zip.mdb"));
  TDump dump = Dump(dir.Path("zip.mdb"));
  EXPECT_GE(dump.Rows.size(), 300u);
  std::set<std::string> provinces;
  bool ri = false, poBox = false;
  for (const auto& row : dump.Rows) {
    const std::string& code = *row[0];
    EXPECT_TRUE(code.size() == 7 && code[3] == '-' &&
                code.find_first_not_of("0123456789", 4) == std::string::npos &&
                code.substr(0, 3).find_first_not_of("0123456789") == std::string::npos)
        << code;
    provinces.insert(*row[3]);
    ri = ri || row[2]->ends_with("리");
    poBox = poBox || row[2]->ends_with("사서함");
  }
  EXPECT_GE(provinces.size(), 10u);
  EXPECT_TRUE(ri);
  EXPECT_TRUE(poBox);
}

// The program itself: its exit status and what it tells the person running the build.
int RunBuilder(const std::string& arguments, const std::string& errorFile) {
  int status =
      std::system((std::string(ZIPDB_BUILD_PROGRAM) + " " + arguments + " 2>" + errorFile).c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(ZipdbBuildProgram, ExitStatusAndMessages) {
  ScratchDir dir;
  std::string good = dir.Write("good.csv", Postal({"110-062,서울,종로구,신문로2가,,1"}));
  std::string bad = dir.Write("bad.csv", Postal({"110-062,서울,종로구,,1"}));

  EXPECT_EQ(RunBuilder(good + " " + dir.Path("good.mdb"), dir.Path("err")), 0);
  EXPECT_EQ(Dump(dir.Path("good.mdb")).Rows.size(), 1u);

  EXPECT_EQ(RunBuilder(bad + " " + dir.Path("bad.mdb"), dir.Path("err")), 1);
  EXPECT_EQ(dir.Read("err"), "zipdb-build: " + bad + ": line 2: 5 fields where 6 are expected\n");
  EXPECT_FALSE(std::filesystem::exists(dir.Path("bad.mdb")));

  EXPECT_EQ(RunBuilder(good, dir.Path("err")), 2);
  EXPECT_NE(dir.Read("err").find("usage:"), std::string::npos);
}

}  // namespace
}  // namespace postcodedb
