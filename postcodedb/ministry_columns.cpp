#include "postcodedb/ministry_columns.h"

namespace postcodedb {

std::vector<std::string_view> AddressColumns() {
  return {"도로명주소관리번호", "법정동코드",       "시도명",         "시군구명",
          "법정읍면동명",       "법정리명",         "산여부",         "지번본번",
          "지번부번",           "도로명코드",       "도로명",         "지하여부",
          "건물본번",           "건물부번",         "행정동코드",     "행정동명",
          "기초구역번호",       "이전도로명주소",   "효력발생일",     "공동주택구분",
          "이동사유코드",       "건축물대장건물명", "시군구용건물명", "비고"};
}

std::vector<std::string_view> RelatedLotColumns() {
  return {"도로명주소관리번호", "법정동코드", "시도명",   "시군구명",    "법정읍면동명",
          "법정리명",           "산여부",     "지번본번", "지번부번",    "도로명코드",
          "지하여부",           "건물본번",   "건물부번", "이동사유코드"};
}

}  // namespace postcodedb
