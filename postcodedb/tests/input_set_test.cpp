#include "postcodedb/input_set.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "platform/testing/scratch_dir.h"
#include "postcodedb/input_error.h"
#include "postcodedb/tests/row_fixtures.h"
#include "postcodedb/tests/zip_writer.h"

namespace postcodedb {
namespace {

using platform::testing::ScratchDir;
using testing::Cp949;
using testing::kBom;
using testing::Lines;

TEST(Progress, CountsFilesRowsAndBytesUpToAWholeHundredPercent) {
  ScratchDir dir;
  std::string building = std::string(kBom) + std::string(testing::kBuildingHeader) + "\n";
  constexpr int kBuildings = 10'000;
  for (int i = 0; i < kBuildings; ++i) building += testing::BuildingLines()[i % 3] + "\n";
  const std::string buildingPath = dir.Write("building.txt", building);
  const std::string addresses = Cp949(Lines(testing::MinistryAddressLines()));
  const std::string lots = Cp949(Lines(testing::MinistryRelatedLotLines()));
  const std::string archive = dir.Path("juso.zip");
  testing::WriteZip(archive,
                    {{"rnaddrkor_seoul.txt", addresses}, {"jibun_rnaddrkor_seoul.txt", lots}});

  std::vector<TProgress> seen;
  std::uint64_t rows = 0;
  TInputSet({buildingPath, archive})
      .ReadRows([&](const TAddressRow&) { ++rows; },
                [&](const TProgress& progress) { seen.push_back(progress); });

  const std::uint64_t total = building.size() + addresses.size() + lots.size();
  ASSERT_GE(seen.size(), 3u);
  EXPECT_EQ(seen.front().FilesTotal, 3u);
  EXPECT_EQ(seen.front().BytesTotal, total);
  EXPECT_EQ(seen.front().Percent(), 0);
  std::vector<std::string> files;
  bool between = false;
  for (std::size_t i = 1; i < seen.size(); ++i) {
    const TProgress& before = seen[i - 1];
    const TProgress& now = seen[i];
    EXPECT_GE(now.Rows, before.Rows);
    EXPECT_GE(now.BytesRead, before.BytesRead);
    EXPECT_GE(now.FilesDone, before.FilesDone);
    EXPECT_GE(now.Percent(), before.Percent());
    EXPECT_LE(now.BytesRead, total);
    if (now.Percent() > 0 && now.Percent() < 100) between = true;
    if (files.empty() || files.back() != now.CurrentFile) files.push_back(now.CurrentFile);
  }
  EXPECT_TRUE(between) << "no report while the big file was read";
  // The related lots are read just before their addresses.
  EXPECT_EQ(files, (std::vector<std::string>{buildingPath, archive + " (jibun_rnaddrkor_seoul.txt)",
                                             archive + " (rnaddrkor_seoul.txt)", ""}));
  const TProgress& last = seen.back();
  EXPECT_TRUE(last.Finished);
  EXPECT_EQ(last.Percent(), 100);
  EXPECT_EQ(last.FilesDone, 3u);
  EXPECT_EQ(last.Rows, rows);
  EXPECT_EQ(rows, kBuildings + 3u);
  EXPECT_EQ(last.BytesRead, total);
}

TEST(Progress, NeverShowsAHundredPercentBeforeTheEnd) {
  TProgress progress;
  progress.BytesTotal = 1000;
  progress.BytesRead = 1500;  // an archive that declared less than it held
  EXPECT_EQ(progress.Percent(), 99);
  progress.BytesRead = 505;
  EXPECT_EQ(progress.Percent(), 50);
  progress.BytesTotal = 0;
  EXPECT_EQ(progress.Percent(), 0);
  progress.Finished = true;
  EXPECT_EQ(progress.Percent(), 100);
}

TEST(InputSet, TellsEachKindAndRefusesWhatIsNoPostcodeFile) {
  ScratchDir dir;
  const std::string header = std::string(kBom) + std::string(testing::kBuildingHeader) + "\n";
  const std::string headerOnly = dir.Write("only-header.txt", header);
  const std::string roads = dir.Write("roads.txt",
                                      "구역번호|시도|시도영문|시군구|시군구영문|읍면|읍면영문|"
                                      "도로명|도로명영문|지하여부|시작건물번호(주)|"
                                      "시작건물번호(부)|끝건물번호(주)|끝건물번호(부)|범위종류\n");
  const std::string sixDigit = dir.Write("zipcode.csv", "ZIPCODE,SIDO,GUGUN,DONG,BUNJI,SEQ\r\n");
  TInputSet set({headerOnly, roads, sixDigit});
  ASSERT_EQ(set.Inputs().size(), 3u);
  EXPECT_EQ(set.Inputs()[0].Kind, TInputKind::BuildingFile);
  EXPECT_EQ(set.Inputs()[1].Kind, TInputKind::RoadRanges);
  EXPECT_EQ(set.Inputs()[2].Kind, TInputKind::SixDigitList);
  EXPECT_EQ(testing::ReadAll({headerOnly, roads, sixDigit}).size(), 0u);

  mkdir(dir.Path("folder").c_str(), 0755);
  mkfifo(dir.Path("fifo").c_str(), 0644);
  struct TCase {
    std::string Path;
    std::string Reason;
  };
  const std::vector<TCase> cases = {
      {dir.Path("missing.txt"), "No such file or directory"},
      {dir.Path("folder"), "not a regular file"},
      {dir.Path("fifo"), "not a regular file"},
      {dir.Write("empty.txt", ""), "the first line is empty"},
      {dir.Write("list.csv", "이름,주소\n홍길동,서울\n"), "the first line has 1 fields"},
      {dir.Write("fake.zip", "PK\x03\x04 but nothing more"), "not a readable zip archive"},
  };
  for (const TCase& c : cases) {
    const EInputError e = testing::ReadError({headerOnly, c.Path});
    EXPECT_EQ(e.File, c.Path);
    EXPECT_NE(e.Reason.find(c.Reason), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace postcodedb
