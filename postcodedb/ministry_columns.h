#pragma once

#include <string_view>
#include <vector>

namespace postcodedb {

// The 도로명주소관리번호 joins the ministry's two files; no genuine one is longer than this.
inline constexpr std::size_t kMaxManagementNumberBytes = 40;
// 이동사유코드 of an address that was withdrawn.
inline constexpr std::string_view kWithdrawnCode = "63";

// rnaddrkor_<지역>.txt
enum TAddressColumn {
  kAddrManagementNumber,
  kAddrLegalDongCode,
  kAddrSido,
  kAddrSigungu,
  kAddrEupmyeondong,
  kAddrRi,
  kAddrMountain,
  kAddrLotMain,
  kAddrLotSub,
  kAddrRoadCode,
  kAddrRoadName,
  kAddrUnderground,
  kAddrBuildingMain,
  kAddrBuildingSub,
  kAddrAdminDongCode,
  kAddrAdminDong,
  kAddrPostcode,
  kAddrFormerAddress,
  kAddrEffectiveDate,
  kAddrApartment,
  kAddrChangeReason,
  kAddrRegisteredBuildingName,
  kAddrBuildingName,
  kAddrRemark,
};

// jibun_rnaddrkor_<지역>.txt
enum TRelatedLotColumn {
  kLotManagementNumber,
  kLotLegalDongCode,
  kLotSido,
  kLotSigungu,
  kLotEupmyeondong,
  kLotRi,
  kLotMountain,
  kLotMain,
  kLotSub,
  kLotRoadCode,
  kLotUnderground,
  kLotBuildingMain,
  kLotBuildingSub,
  kLotChangeReason,
};

std::vector<std::string_view> AddressColumns();
std::vector<std::string_view> RelatedLotColumns();

}  // namespace postcodedb
