#include "postcodedb/address_text.h"
#include "platform/ascii_case.h"

#include <algorithm>
#include <array>

namespace postcodedb {
namespace {

constexpr std::array<std::string_view, 14> kApartmentBrands = {
    "래미안",   "힐스테이트", "아이파크", "푸르지오", "e편한세상", "이편한세상", "롯데캐슬",
    "센트레빌", "더샵",       "꿈에그린", "하늘채",   "데시앙",    "스위첸",     "해링턴플레이스"};

constexpr std::array<std::string_view, 12> kOtherUses = {"빌딩", "상가",   "오피스텔", "센터",
                                                         "사옥", "호텔",   "병원",     "학교",
                                                         "교회", "주차장", "몰",       "백화점"};

bool EndsWithApt(std::string_view name) {
  if (name.size() < 3) return false;
  return platform::SameText(name.substr(name.size() - 3), "apt");
}

bool HoldsApartmentWord(std::string_view name) {
  for (std::size_t at = name.find("아파트"); at != std::string_view::npos;
       at = name.find("아파트", at + 1)) {
    if (!name.substr(at).starts_with("아파트상가")) return true;
  }
  return false;
}

std::string Number(int main, int sub) {
  std::string text = std::to_string(main);
  if (sub > 0) {
    text += '-';
    text += std::to_string(sub);
  }
  return text;
}

void Append(std::string& text, std::string_view part) {
  if (part.empty()) return;
  if (!text.empty()) text += ' ';
  text += part;
}

bool LiesInDong(const TAddressRow& row) {
  return row.Eupmyeon.empty() && row.Lot.Ri.empty() && !row.Lot.LegalDong.empty() &&
         !IsEupmyeonName(row.Lot.LegalDong);
}

std::string_view ApartmentName(const TAddressRow& row) {
  return row.BuildingName.empty() ? row.RegisteredBuildingName : row.BuildingName;
}

}  // namespace

bool LooksLikeApartmentName(std::string_view name) {
  for (std::string_view other : kOtherUses) {
    if (name.ends_with(other)) return false;
  }
  if (HoldsApartmentWord(name) || EndsWithApt(name) || name.ends_with("자이")) return true;
  return std::any_of(kApartmentBrands.begin(), kApartmentBrands.end(),
                     [&](std::string_view brand) { return name.find(brand) != name.npos; });
}

bool IsApartment(const TAddressRow& row) {
  if (row.Apartment) return *row.Apartment;
  return LooksLikeApartmentName(row.BuildingName);
}

std::string RoadAddress(const TAddressRow& row) {
  std::string text;
  Append(text, row.Sido);
  Append(text, row.Sigungu);
  Append(text, row.Eupmyeon);
  Append(text, row.RoadName);
  if (row.Level == TRoadLevel::Underground) Append(text, "지하");
  if (row.Level == TRoadLevel::Aerial) Append(text, "공중");
  Append(text, Number(row.BuildingMain, row.BuildingSub));

  std::string reference;
  if (LiesInDong(row)) reference = row.Lot.LegalDong;
  if (IsApartment(row) && !ApartmentName(row).empty()) {
    if (!reference.empty()) reference += ", ";
    reference += ApartmentName(row);
  }
  if (!reference.empty()) text += " (" + reference + ")";
  return text;
}

std::string LotAddress(const TAddressRow& row) {
  std::string text;
  Append(text, row.Sido);
  Append(text, row.Sigungu);
  if (row.Eupmyeon != row.Lot.LegalDong) Append(text, row.Eupmyeon);
  Append(text, row.Lot.LegalDong);
  Append(text, row.Lot.Ri);
  if (row.Lot.Mountain) Append(text, "산");
  Append(text, Number(row.Lot.Main, row.Lot.Sub));
  return text;
}

}  // namespace postcodedb
