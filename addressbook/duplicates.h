#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace addressbook {

// What the duplicate rules look at in a record.
struct DuplicateFields {
  std::string_view Name;      // 이름
  std::string_view Postcode;  // 우편번호
  std::string_view Address;   // 주소
  std::string_view Detail;    // 상세주소
};

// The keys under which two records are probable duplicates; an empty key matches nothing.
struct DuplicateKeys {
  // The same name and the same address: 주소 followed by 상세주소, evened out (so an address
  // split differently between the two columns is still one). Empty without a name or a 주소.
  std::string ByAddress;
  // The same name, postcode and 상세주소, evened out. Empty unless all three are given.
  std::string ByPostcode;
};

DuplicateKeys DuplicateKeysOf(const DuplicateFields& fields);

// Whether two records are probable duplicates by either rule.
bool ProbableDuplicates(const DuplicateFields& a, const DuplicateFields& b);

// Gathers records one at a time and answers the sets of probable duplicates among them: records
// linked by either rule, directly or through others, form one set. Each record costs a few
// hash-map look-ups, so a whole address list takes time in proportion to its size.
class DuplicateFinder {
 public:
  // Room for this many records up front, when the caller knows how many come.
  explicit DuplicateFinder(std::size_t expectedRecords = 0);

  void Add(std::int64_t id, const DuplicateFields& fields);

  // Every set of two or more records, their ids in the order they were added; the sets in the
  // order of their first record.
  std::vector<std::vector<std::int64_t>> Sets();

 private:
  std::uint32_t Root(std::uint32_t index);
  void Link(const std::string& key, std::uint32_t index);

  std::vector<std::int64_t> FIds;
  std::vector<std::uint32_t> FParent;
  std::unordered_map<std::string, std::uint32_t> FFirstWithKey;
};

}  // namespace addressbook
