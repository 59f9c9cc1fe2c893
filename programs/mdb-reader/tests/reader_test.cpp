// The reader program against Debian's mdb-export on genuine Access files: every table, column and
// row must arrive as mdb-export prints it.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "platform/testing/scratch_dir.h"
#include "platform/testing/shared_data.h"
#include "programs/mdb-reader/tests/test_support.h"

namespace mdbreader {
namespace {

using dbengine::TAccessKind;
using testing::RunProgram;
using testing::TReaderOutput;

const std::string kReader = std::string(ZARIZE_BIN_DIR) + "/zarize-mdb-read";
constexpr const char* kDateTimeFormat = "%Y-%m-%d %H:%M:%S";
using TEnvironment = std::vector<std::pair<std::string, std::string>>;

std::vector<std::string> GenuineFiles() {
  return platform::testing::SharedDataFiles("mdb", ".mdb");
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TReaderOutput RunReader(const std::string& path) {
  const testing::TRun run = RunProgram({kReader, path});
  EXPECT_EQ(run.ExitCode, 0) << path << ": " << run.Errors;
  return testing::ParseStream(run.Output);
}

struct CsvField {
  std::string Text;
  bool Quoted = false;
};

// mdb-export's CSV: fields in double quotes (quotes doubled) may hold any byte; rows end with LF.
std::vector<std::vector<CsvField>> ParseCsv(const std::string& text) {
  std::vector<std::vector<CsvField>> rows;
  std::vector<CsvField> row;
  CsvField field;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '"' && field.Text.empty() && !field.Quoted) {
      field.Quoted = true;
      for (++i; i < text.size(); ++i) {
        if (text[i] != '"') {
          field.Text += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == '"') {
          field.Text += '"';
          ++i;
        } else {
          ++i;
          break;
        }
      }
    } else if (text[i] == ',') {
      row.push_back(std::move(field));
      field = {};
      ++i;
    } else if (text[i] == '\n') {
      row.push_back(std::move(field));
      field = {};
      rows.push_back(std::move(row));
      row.clear();
      ++i;
    } else {
      field.Text += text[i++];
    }
  }
  return rows;
}

std::string Hex(const std::string& bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (unsigned char c : bytes) {
    hex += kDigits[c >> 4];
    hex += kDigits[c & 15];
  }
  return hex;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  return lines;
}

void ExpectSameAsMdbExport(const std::string& path, const TEnvironment& environment = {}) {
  SCOPED_TRACE(path);
  const TReaderOutput output = RunReader(path);
  std::vector<std::string> names;
  for (const auto& table : output.Tables) names.push_back(table.Header.Name);
  EXPECT_EQ(names, Lines(RunProgram({"mdb-tables", "-1", path}, environment).Output));

  for (const auto& table : output.Tables) {
    SCOPED_TRACE(table.Header.Name);
    const testing::TRun exported = RunProgram({"mdb-export", "-b", "hex", "-D", kDateTimeFormat,
                                               "-T", kDateTimeFormat, path, table.Header.Name},
                                              environment);
    ASSERT_EQ(exported.ExitCode, 0) << exported.Errors;
    const auto csv = ParseCsv(exported.Output);
    ASSERT_EQ(csv.size(), table.Rows.size() + 1);
    const auto& columns = table.Header.Columns;
    ASSERT_EQ(csv[0].size(), columns.size());
    for (std::size_t c = 0; c < columns.size(); ++c) EXPECT_EQ(csv[0][c].Text, columns[c].Name);
    for (std::size_t r = 0; r < table.Rows.size(); ++r) {
      ASSERT_EQ(csv[r + 1].size(), columns.size()) << "row " << r;
      for (std::size_t c = 0; c < columns.size(); ++c) {
        const dbengine::TAccessValue& value = table.Rows[r][c];
        const CsvField& field = csv[r + 1][c];
        if (value.IsNull) {
          EXPECT_TRUE(field.Text.empty() && !field.Quoted) << "row " << r << " " << columns[c].Name;
        } else {
          const std::string expected =
              dbengine::IsBinaryKind(columns[c].Kind) ? Hex(value.Bytes) : value.Bytes;
          EXPECT_EQ(field.Text, expected) << "row " << r << " " << columns[c].Name;
        }
      }
    }
  }
}

TEST(Reader, EveryGenuineFileArrivesAsMdbExportPrintsIt) {
  ZARIZE_SKIP_WITHOUT_SHARED_DATA("mdb");
  const std::vector<std::string> files = GenuineFiles();
  ASSERT_FALSE(files.empty());
  for (const std::string& file : files) ExpectSameAsMdbExport(file);
}

// Kinds and sizes come from the file: Jet 3 counts text in bytes of its code page, Jet 4 in
// two-byte characters, which the reader turns into characters.
TEST(Reader, ColumnsCarryTheirKindsAndSizes) {
  ZARIZE_SKIP_WITHOUT_SHARED_DATA("mdb");
  const std::string folder = platform::testing::SharedDataPath("mdb/");
  struct Expected {
    std::string Name;
    TAccessKind Kind;
    int Size;
  };
  const struct {
    std::string File;
    std::string Table;
    std::vector<Expected> Columns;
  } cases[] = {
      {"mdb-reader_V1997_test.mdb",
       "Table1",
       {{"A", TAccessKind::Text, 50},
        {"B", TAccessKind::Text, 100},
        {"C", TAccessKind::Byte, 1},
        {"D", TAccessKind::Integer, 2},
        {"E", TAccessKind::LongInteger, 4},
        {"F", TAccessKind::Double, 8},
        {"G", TAccessKind::DateTime, 8},
        {"H", TAccessKind::Currency, 8},
        {"I", TAccessKind::Boolean, 0}}},
      {"jackcess_testUnicodeCompV2003.mdb",
       "Table",
       {{"ID", TAccessKind::AutoNumber, 4}, {"Unicode", TAccessKind::Text, 255}}},
  };
  for (const auto& c : cases) {
    const TReaderOutput output = RunReader(folder + c.File);
    const auto table = std::find_if(output.Tables.begin(), output.Tables.end(),
                                    [&](const auto& t) { return t.Header.Name == c.Table; });
    ASSERT_NE(table, output.Tables.end()) << c.File;
    ASSERT_EQ(table->Header.Columns.size(), c.Columns.size()) << c.File;
    for (std::size_t i = 0; i < c.Columns.size(); ++i) {
      const dbengine::TAccessColumn& column = table->Header.Columns[i];
      EXPECT_EQ(column.Name, c.Columns[i].Name) << c.File;
      EXPECT_EQ(column.Kind, c.Columns[i].Kind) << c.File << " " << column.Name;
      EXPECT_EQ(column.Size, c.Columns[i].Size) << c.File << " " << column.Name;
    }
  }
  // MEMO and OLE values arrive whole, however long.
  const TReaderOutput projects = RunReader(folder + "jackcess_test2V2000.mdb");
  const auto& columns = projects.Tables.at(0).Header.Columns;
  const auto& row = projects.Tables.at(0).Rows.at(0);
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (columns[i].Name == "PROJ_PROP_AUTHOR") {
      EXPECT_EQ(columns[i].Kind, TAccessKind::Memo);
      EXPECT_GT(row[i].Bytes.size(), 255u);
    }
    if (columns[i].Name == "RESERVED_BINARY_DATA") {
      EXPECT_EQ(columns[i].Kind, TAccessKind::Ole);
      EXPECT_EQ(row[i].Bytes.size(), 22970u);
    }
  }
}

// A Jet 3 file keeps text in the code page its header names. No genuine Korean Jet 3 file is at
// hand, so a genuine one is made into one: its header says code page 949 and one name is Korean.
TEST(Reader, Jet3TextDecodesFromTheCodePageItsHeaderNames) {
  ZARIZE_SKIP_WITHOUT_SHARED_DATA("mdb");
  std::string bytes = ReadFile(std::string(ZARIZE_SHARED_DATA_DIR) + "/mdb/fpc_testodbc.mdb");
  ASSERT_GT(bytes.size(), 0x40u);
  // The header from 0x18 on is masked with a fixed key stream, so a stored byte changes from old
  // to new by xor with both.
  const unsigned oldPage = 1252;
  const unsigned newPage = 949;
  bytes[0x3c] = static_cast<char>(bytes[0x3c] ^ ((oldPage ^ newPage) & 0xff));
  bytes[0x3d] = static_cast<char>(bytes[0x3d] ^ ((oldPage ^ newPage) >> 8));
  // Every copy of the name the file keeps, so whichever the library reads is Korean.
  const std::string name = "Michael ";
  int replaced = 0;
  for (std::size_t at = bytes.find(name + "Van Canneyt"); at != std::string::npos;
       at = bytes.find(name + "Van Canneyt", at + 1), ++replaced)
    bytes.replace(at, name.size(), "\xC8\xAB\xB1\xE6\xB5\xBF  ");  // 홍길동 in code page 949
  ASSERT_GT(replaced, 0);
  platform::testing::ScratchDir scratch;
  const std::string path = scratch.Write("korean.mdb", bytes);

  const TReaderOutput output = RunReader(path);
  ASSERT_EQ(output.Tables.size(), 1u);
  EXPECT_EQ(output.Tables[0].Rows.at(0).at(1).Bytes, "홍길동  Van Canneyt");
  // mdb-export agrees once told the code page.
  ExpectSameAsMdbExport(path, {{"MDB_JET3_CHARSET", "CP949"}});
}

TEST(Reader, FailsOnWhatIsNotAWholeAccessFile) {
  ZARIZE_SKIP_WITHOUT_SHARED_DATA("mdb");
  platform::testing::ScratchDir scratch;
  const std::string genuine =
      ReadFile(std::string(ZARIZE_SHARED_DATA_DIR) + "/mdb/jackcess_testUnicodeCompV2003.mdb");
  const struct {
    std::string Label;
    std::string Bytes;
  } cases[] = {
      {"empty", ""},
      {"header only", genuine.substr(0, 4096)},
      {"half", genuine.substr(0, genuine.size() / 2)},
      {"text", "이름,주소\n홍길동,서울\n"},
  };
  for (const auto& c : cases) {
    const testing::TRun run = RunProgram({kReader, scratch.Write("damaged.mdb", c.Bytes)});
    EXPECT_NE(run.ExitCode, 0) << c.Label;
    EXPECT_EQ(run.Output.find("end\n"), std::string::npos) << c.Label;
  }
}

}  // namespace
}  // namespace mdbreader
