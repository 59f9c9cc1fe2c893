#include "zeravu/tests/zeravu_fixture.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/paths.h"

#include "postcodedb/zip_database.h"

namespace zeravu::testing {

std::string ZeravuFixture::MakeAddressDatabase(const std::string& path,
                                               const std::vector<Record>& records) {
  mkdir(platform::FolderPart(path).c_str(), 0777);
  Tdm maker;
  EXPECT_TRUE(maker.CreateMDBFile(path));
  EXPECT_TRUE(maker.CreateTables(path, "x"));
  FillAddressDatabase(path, records);
  return path;
}

void ZeravuFixture::FillAddressDatabase(const std::string& path,
                                        const std::vector<Record>& records) {
  Tdm maker;
  EXPECT_TRUE(maker.OpenDB(path, "x"));
  maker.adoTblMember.Open();
  for (const Record& r : records) {
    maker.adoTblMember.Insert();
    maker.adoTblMember.FieldByName("이름").SetAsString(r.Name);
    maker.adoTblMember.FieldByName("주소").SetAsString(r.Address);
    maker.adoTblMember.FieldByName("선택").SetAsBoolean(r.Ticked);
    maker.adoTblMember.Post();
  }
  maker.adoTblMember.Close();
  maker.CloseDB();
}

std::vector<std::string> ZeravuFixture::StoredNames(const std::string& path) const {
  Tdm reader;
  std::vector<std::string> names;
  if (!reader.OpenDB(path, "x")) {
    ADD_FAILURE() << path << " does not open";
    return names;
  }
  try {
    reader.adoTblMember.Open();
    for (reader.adoTblMember.First(); !reader.adoTblMember.Eof(); reader.adoTblMember.Next())
      names.push_back(reader.adoTblMember.FieldByName("이름").AsString());
  } catch (const std::exception& e) {
    ADD_FAILURE() << path << ": " << e.what();
  }
  return names;
}

void ZeravuFixture::MakeZipDatabase(const std::vector<std::string>& rows) {
  std::string csv = "우편번호,주소,읍면동\n";
  for (const std::string& row : rows) csv += row + "\n";
  mkdir((ExeDir() + "/DB").c_str(), 0777);
  mkdir((ExeDir() + "/DB/Zip").c_str(), 0777);
  postcodedb::BuildZipDatabase(dir.Write("zip.csv", csv), ExeDir() + "/DB/Zip/20080327.mdb");
}

}  // namespace zeravu::testing
