#include "postcodedb/building_file_reader.h"

namespace postcodedb {
namespace {

enum {
  kPostcode,
  kSido,
  kSidoEnglish,
  kSigungu,
  kSigunguEnglish,
  kEupmyeon,
  kEupmyeonEnglish,
  kRoadCode,
  kRoadName,
  kRoadNameEnglish,
  kUnderground,
  kBuildingMain,
  kBuildingSub,
  kManagementNumber,
  kBulkDeliveryName,
  kBuildingName,
  kLegalDongCode,
  kLegalDong,
  kRi,
  kAdminDong,
  kMountain,
  kLotMain,
  kEupmyeondongSerial,
  kLotSub,
  kOldPostcode,
  kPostcodeSerial,
};

std::vector<std::string_view> Columns() {
  return {"우편번호",       "시도",
          "시도영문",       "시군구",
          "시군구영문",     "읍면",
          "읍면영문",       "도로명코드",
          "도로명",         "도로명영문",
          "지하여부",       "건물번호본번",
          "건물번호부번",   "건물관리번호",
          "다량배달처명",   "시군구용건물명",
          "법정동코드",     "법정동명",
          "리명",           "행정동명",
          "산여부",         "지번본번",
          "읍면동일련번호", "지번부번",
          "구우편번호",     "우편번호일련번호"};
}

}  // namespace

TBuildingFileReader::TBuildingFileReader(std::unique_ptr<TByteSource> source, std::string name)
    : TRowReader(std::move(source), std::move(name), TEncoding::Detect),
      FRecords(FLines, Columns(), false) {
  if (!FRecords.Next()) FLines.Fail("the header line is missing");
}

bool TBuildingFileReader::Next(TAddressRow& row) {
  if (!FRecords.Next()) return false;
  const TRecordReader& r = FRecords;
  row = TAddressRow();
  row.Kind = TRowKind::Building;
  row.Postcode = r.Postcode(kPostcode);
  row.Sido = r.Text(kSido);
  row.Sigungu = r.Text(kSigungu);
  row.Eupmyeon = r.Text(kEupmyeon);
  row.RoadCode = r.Text(kRoadCode);
  row.RoadName = r.Text(kRoadName);
  row.Level = static_cast<TRoadLevel>(r.Code(kUnderground, 1));
  row.BuildingMain = r.Number(kBuildingMain);
  row.BuildingSub = r.Number(kBuildingSub, true);
  row.ManagementNumber = r.Text(kManagementNumber);
  row.BulkDeliveryName = r.Text(kBulkDeliveryName);
  row.BuildingName = r.Text(kBuildingName);
  row.LegalDongCode = r.Text(kLegalDongCode);
  row.Lot.LegalDong = r.Text(kLegalDong);
  row.Lot.Ri = r.Text(kRi);
  row.AdminDong = r.Text(kAdminDong);
  row.Lot.Mountain = r.Code(kMountain, 1) == 1;
  row.Lot.Main = r.Number(kLotMain);
  row.Lot.Sub = r.Number(kLotSub, true);
  return true;
}

}  // namespace postcodedb
