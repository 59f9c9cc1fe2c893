#include "postcodedb/zip_archive.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/testing/scratch_dir.h"
#include "postcodedb/input_error.h"
#include "postcodedb/input_set.h"
#include "postcodedb/tests/row_fixtures.h"
#include "postcodedb/tests/zip_writer.h"

namespace postcodedb {
namespace {

using platform::testing::ScratchDir;
using testing::Cp949;
using testing::kBom;
using testing::Lines;
using testing::ReadAll;
using testing::TZipFixtureEntry;
using testing::WriteZip;

std::string BuildingFile() {
  std::vector<std::string> lines = {std::string(testing::kBuildingHeader)};
  for (const std::string& line : testing::BuildingLines()) lines.push_back(line);
  return std::string(kBom) + Lines(lines);
}

TEST(ZipArchives, EntriesReadInPlaceGiveTheRowsOfTheSameFilesOnDisk) {
  ScratchDir dir;
  const std::string building = BuildingFile();
  const std::string addresses = Cp949(Lines(testing::MinistryAddressLines()));
  const std::string lots = Cp949(Lines(testing::MinistryRelatedLotLines()));
  const std::string oldBuilding =
      Cp949(Lines({std::string(testing::kBuildingHeader), testing::BuildingLines()[1]}));
  const std::string archive = dir.Path("juso.zip");
  WriteZip(archive, {
                        {Cp949("서울특별시.txt"), building},
                        {Cp949("도로명주소/"), ""},
                        // Names are only names: a '..' or a leading '/' leads nowhere.
                        {Cp949("도로명주소/../../rnaddrkor_seoul.txt"), addresses},
                        {"/jibun_rnaddrkor_seoul.txt", lots, false, false},
                        {Cp949("읽어주세요.txt"), Cp949("이 파일은 안내문입니다.\n")},
                        {"세종특별자치시.txt", oldBuilding, true},
                    });

  TInputSet set({archive});
  std::vector<std::pair<std::string, TInputKind>> inputs;
  for (const TInput& input : set.Inputs()) inputs.emplace_back(input.Name, input.Kind);
  EXPECT_EQ(
      inputs,
      (std::vector<std::pair<std::string, TInputKind>>{
          {archive + " (서울특별시.txt)", TInputKind::BuildingFile},
          {archive + " (도로명주소/../../rnaddrkor_seoul.txt)", TInputKind::MinistryAddresses},
          {archive + " (/jibun_rnaddrkor_seoul.txt)", TInputKind::MinistryRelatedLots},
          {archive + " (세종특별자치시.txt)", TInputKind::BuildingFile},
      }));
  ASSERT_EQ(set.Skipped().size(), 1u);
  EXPECT_EQ(set.Skipped()[0].Name, archive + " (읽어주세요.txt)");
  EXPECT_NE(set.Skipped()[0].Reason.find("not a postcode file"), std::string::npos);

  const std::vector<std::string> files = {
      dir.Write("disk/서울특별시.txt", building), dir.Write("disk/rnaddrkor_seoul.txt", addresses),
      dir.Write("disk/jibun_rnaddrkor_seoul.txt", lots), dir.Write("disk/old.txt", oldBuilding)};
  const std::vector<TAddressRow> fromDisk = ReadAll(files);
  ASSERT_EQ(fromDisk.size(), 3u + 3u + 1u);
  EXPECT_EQ(ReadAll({archive}), fromDisk);
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(dir.Root()).parent_path() /
                                       "rnaddrkor_seoul.txt"));
}

// Overwrites the uncompressed size of the archive's only entry in its local and central headers.
void DeclareSize(std::string& archive, std::uint32_t size) {
  auto patch = [&](std::string_view signature, std::size_t offset) {
    const std::size_t at = archive.find(signature);
    ASSERT_NE(at, std::string::npos);
    for (int i = 0; i < 4; ++i) archive[at + offset + i] = static_cast<char>(size >> (8 * i));
  };
  patch(std::string_view("PK\x03\x04", 4), 22);
  patch(std::string_view("PK\x01\x02", 4), 24);
}

TEST(ZipArchives, HostileOrDamagedArchivesStopTheRunNamingTheArchive) {
  TZipLimits limits;
  limits.MaxEntryBytes = 256 * 1024;
  limits.MaxRatio = 50;
  limits.RatioFreeBytes = 16 * 1024;
  limits.MaxEntries = 3;
  const std::string rows = BuildingFile();
  std::string repeated = BuildingFile();
  while (repeated.size() < 100 * 1024) repeated += testing::BuildingLines()[0] + "\n";

  struct TCase {
    const char* Name;
    std::function<void(const std::string& path)> Make;
    std::string Reason;
  };
  const std::vector<TCase> cases = {
      {"over the size cap",
       [&](const std::string& path) {
         std::string big = rows;
         while (big.size() <= limits.MaxEntryBytes) big += testing::BuildingLines()[0] + "\n";
         WriteZip(path, {{"big.txt", big, false, false}});
       },
       "more than the 262144 a postcode file may hold"},
      {"inflates too far",
       [&](const std::string& path) {
         WriteZip(path, {{"bomb.txt", repeated}});
       },
       "more than 50-fold"},
      {"too many entries",
       [&](const std::string& path) {
         WriteZip(path, {{"a.txt", rows}, {"b.txt", rows}, {"c.txt", rows}, {"d.txt", rows}});
       },
       "more than 3 entries"},
      {"inflates beyond its declared size",
       [&](const std::string& path) {
         ScratchDir scratch;
         const std::string made = scratch.Path("made.zip");
         WriteZip(made, {{"lies.txt", rows, false, false}});
         std::string bytes = scratch.Read("made.zip");
         DeclareSize(bytes, 100);
         scratch.Write("lies.zip", bytes);
         std::filesystem::copy_file(scratch.Path("lies.zip"), path,
                                    std::filesystem::copy_options::overwrite_existing);
       },
       "the entry inflates beyond the size it declares"},
      {"encrypted",
       [&](const std::string& path) {
         WriteZip(path, {{"a.txt", rows, false, true, true}});
       },
       "the entry is encrypted"},
      {"cut short",
       [&](const std::string& path) {
         ScratchDir scratch;
         WriteZip(scratch.Path("whole.zip"), {{"a.txt", rows}});
         std::string bytes = scratch.Read("whole.zip");
         bytes.resize(bytes.size() - 30);
         std::filesystem::copy_file(scratch.Write("cut.zip", bytes), path,
                                    std::filesystem::copy_options::overwrite_existing);
       },
       "not a readable zip archive"},
  };
  for (const TCase& c : cases) {
    ScratchDir dir;
    const std::string path = dir.Path("hostile.zip");
    c.Make(path);
    const EInputError e = testing::ReadError({path}, limits);
    EXPECT_TRUE(e.File.starts_with(path)) << c.Name << ": " << e.what();
    EXPECT_NE(e.Reason.find(c.Reason), std::string::npos) << c.Name << ": " << e.what();
  }
}

}  // namespace
}  // namespace postcodedb
