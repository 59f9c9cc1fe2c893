#include "postcodedb/ministry_reader.h"

#include "postcodedb/ministry_columns.h"

namespace postcodedb {

TMinistryReader::TMinistryReader(std::unique_ptr<TByteSource> source, std::string name,
                                 const TRelatedLots* relatedLots)
    : TRowReader(std::move(source), std::move(name), TEncoding::Detect),
      FRecords(FLines, AddressColumns(), true),
      FRelatedLots(relatedLots) {}

bool TMinistryReader::Next(TAddressRow& row) {
  do {
    if (!FRecords.Next()) return false;
  } while (FRecords.Text(kAddrChangeReason) == kWithdrawnCode);
  Fill(row);
  return true;
}

void TMinistryReader::Fill(TAddressRow& row) const {
  const TRecordReader& r = FRecords;
  row = TAddressRow();
  row.Kind = TRowKind::Building;
  row.ManagementNumber = r.Text(kAddrManagementNumber);
  if (row.ManagementNumber.empty() || row.ManagementNumber.size() > kMaxManagementNumberBytes) {
    r.FailColumn(kAddrManagementNumber, "is not a management number");
  }
  row.Postcode = r.Postcode(kAddrPostcode);
  row.LegalDongCode = r.Text(kAddrLegalDongCode);
  row.Sido = r.Text(kAddrSido);
  row.Sigungu = r.Text(kAddrSigungu);
  row.Lot.LegalDong = r.Text(kAddrEupmyeondong);
  if (IsEupmyeonName(row.Lot.LegalDong)) row.Eupmyeon = row.Lot.LegalDong;
  row.Lot.Ri = r.Text(kAddrRi);
  row.Lot.Mountain = r.Code(kAddrMountain, 1) == 1;
  row.Lot.Main = r.Number(kAddrLotMain);
  row.Lot.Sub = r.Number(kAddrLotSub, true);
  row.RoadCode = r.Text(kAddrRoadCode);
  row.RoadName = r.Text(kAddrRoadName);
  row.Level = static_cast<TRoadLevel>(r.Code(kAddrUnderground, 2));
  row.BuildingMain = r.Number(kAddrBuildingMain);
  row.BuildingSub = r.Number(kAddrBuildingSub, true);
  row.AdminDong = r.Text(kAddrAdminDong);
  if (!r.Text(kAddrApartment).empty()) row.Apartment = r.Code(kAddrApartment, 1) == 1;
  row.RegisteredBuildingName = r.Text(kAddrRegisteredBuildingName);
  row.BuildingName = r.Text(kAddrBuildingName);
  if (FRelatedLots != nullptr) FRelatedLots->Find(row.ManagementNumber, row.RelatedLots);
}

}  // namespace postcodedb
