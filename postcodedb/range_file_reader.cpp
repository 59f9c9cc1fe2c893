#include "postcodedb/range_file_reader.h"

#include <utility>

namespace postcodedb {
namespace {

enum {
  kPostcode,
  kSido,
  kSidoEnglish,
  kSigungu,
  kSigunguEnglish,
};

enum {
  kRoadEupmyeon = 5,
  kRoadEupmyeonEnglish,
  kRoadName,
  kRoadNameEnglish,
  kRoadUnderground,
  kRoadFirstMain,
  kRoadFirstSub,
  kRoadLastMain,
  kRoadLastSub,
  kRoadRangeKind,
};

enum {
  kLotEupmyeondong = 5,
  kLotEupmyeondongEnglish,
  kLotRi,
  kLotMountain,
  kLotAdminDong,
  kLotFirstMain,
  kLotFirstSub,
  kLotLastMain,
  kLotLastSub,
};

std::vector<std::string_view> RoadColumns() {
  return {"구역번호",       "시도",           "시도영문",         "시군구",
          "시군구영문",     "읍면",           "읍면영문",         "도로명",
          "도로명영문",     "지하여부",       "시작건물번호(주)", "시작건물번호(부)",
          "끝건물번호(주)", "끝건물번호(부)", "범위종류"};
}

std::vector<std::string_view> LotColumns() {
  return {"구역번호", "시도",   "시도영문", "시군구",     "시군구영문", "읍면동",   "읍면동영문",
          "리명",     "산여부", "행정동",   "시작주번지", "시작부번지", "끝주번지", "끝부번지"};
}

// The last number of a range: as the start when both end columns are empty.
std::pair<int, int> RangeEnd(const TRecordReader& r, int mainColumn, int subColumn,
                             std::pair<int, int> start) {
  if (r.Text(mainColumn).empty() && r.Text(subColumn).empty()) return start;
  std::pair<int, int> end{r.Number(mainColumn), r.Number(subColumn, true)};
  if (end < start) r.Fail("the range ends before it starts");
  return end;
}

}  // namespace

TRangeFileReader::TRangeFileReader(std::unique_ptr<TByteSource> source, std::string name,
                                   TLayout layout)
    : TRowReader(std::move(source), std::move(name), TEncoding::Detect),
      FLayout(layout),
      FRecords(FLines, layout == TLayout::Road ? RoadColumns() : LotColumns(), false) {
  if (!FRecords.Next()) FLines.Fail("the header line is missing");
}

bool TRangeFileReader::Next(TAddressRow& row) {
  if (!FRecords.Next()) return false;
  row = TAddressRow();
  row.Postcode = FRecords.Postcode(kPostcode);
  row.Sido = FRecords.Text(kSido);
  row.Sigungu = FRecords.Text(kSigungu);
  if (FLayout == TLayout::Road) {
    ReadRoadRange(row);
  } else {
    ReadLotRange(row);
  }
  return true;
}

void TRangeFileReader::ReadRoadRange(TAddressRow& row) const {
  const TRecordReader& r = FRecords;
  row.Kind = TRowKind::RoadRange;
  row.Eupmyeon = r.Text(kRoadEupmyeon);
  row.RoadName = r.Text(kRoadName);
  row.Level = static_cast<TRoadLevel>(r.Code(kRoadUnderground, 1));
  row.BuildingMain = r.Number(kRoadFirstMain);
  row.BuildingSub = r.Number(kRoadFirstSub, true);
  std::tie(row.BuildingMainEnd, row.BuildingSubEnd) =
      RangeEnd(r, kRoadLastMain, kRoadLastSub, {row.BuildingMain, row.BuildingSub});
  row.Range = static_cast<TRangeKind>(r.Code(kRoadRangeKind, 3));
}

void TRangeFileReader::ReadLotRange(TAddressRow& row) const {
  const TRecordReader& r = FRecords;
  row.Kind = TRowKind::LotRange;
  row.Lot.LegalDong = r.Text(kLotEupmyeondong);
  if (IsEupmyeonName(row.Lot.LegalDong)) row.Eupmyeon = row.Lot.LegalDong;
  row.Lot.Ri = r.Text(kLotRi);
  row.Lot.Mountain = r.Code(kLotMountain, 1) == 1;
  row.AdminDong = r.Text(kLotAdminDong);
  row.Lot.Main = r.Number(kLotFirstMain);
  row.Lot.Sub = r.Number(kLotFirstSub, true);
  std::tie(row.LotMainEnd, row.LotSubEnd) =
      RangeEnd(r, kLotLastMain, kLotLastSub, {row.Lot.Main, row.Lot.Sub});
  row.Range = TRangeKind::All;
}

}  // namespace postcodedb
