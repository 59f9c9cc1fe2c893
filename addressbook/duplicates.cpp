#include "addressbook/duplicates.h"

#include <algorithm>
#include <cstdint>

#include "addressbook/address_evening.h"

namespace addressbook {
namespace {

// Between the parts of a key: a control character no evened text holds.
constexpr char kSeparator = '\x1F';

}  // namespace

DuplicateKeys DuplicateKeysOf(const DuplicateFields& fields) {
  DuplicateKeys keys;
  const std::string name = EvenedName(fields.Name);
  if (name.empty()) return keys;
  const std::string address = EvenedAddress(fields.Address);
  if (!address.empty()) {
    keys.ByAddress = "A" + name + kSeparator +
                     EvenedAddress(std::string(fields.Address) + " " + std::string(fields.Detail));
  }
  const std::string postcode = EvenedPostcode(fields.Postcode);
  const std::string detail = EvenedAddress(fields.Detail);
  if (!postcode.empty() && !detail.empty())
    keys.ByPostcode = "P" + name + kSeparator + postcode + kSeparator + detail;
  return keys;
}

bool ProbableDuplicates(const DuplicateFields& a, const DuplicateFields& b) {
  const DuplicateKeys ka = DuplicateKeysOf(a), kb = DuplicateKeysOf(b);
  return (!ka.ByAddress.empty() && ka.ByAddress == kb.ByAddress) ||
         (!ka.ByPostcode.empty() && ka.ByPostcode == kb.ByPostcode);
}

DuplicateFinder::DuplicateFinder(std::size_t expectedRecords) {
  FIds.reserve(expectedRecords);
  FParent.reserve(expectedRecords);
  FFirstWithKey.reserve(2 * expectedRecords);  // up to two keys a record
}

void DuplicateFinder::Add(std::int64_t id, const DuplicateFields& fields) {
  const auto index = static_cast<std::uint32_t>(FIds.size());
  FIds.push_back(id);
  FParent.push_back(index);
  const DuplicateKeys keys = DuplicateKeysOf(fields);
  if (!keys.ByAddress.empty()) Link(keys.ByAddress, index);
  if (!keys.ByPostcode.empty()) Link(keys.ByPostcode, index);
}

std::uint32_t DuplicateFinder::Root(std::uint32_t index) {
  while (FParent[index] != index) {
    FParent[index] = FParent[FParent[index]];  // halve the path on the way
    index = FParent[index];
  }
  return index;
}

void DuplicateFinder::Link(const std::string& key, std::uint32_t index) {
  const auto [found, inserted] = FFirstWithKey.emplace(key, index);
  if (inserted) return;
  const std::uint32_t a = Root(found->second), b = Root(index);
  // The earlier record stays the root, so a set's root is its first record.
  if (a != b) FParent[std::max(a, b)] = std::min(a, b);
}

std::vector<std::vector<std::int64_t>> DuplicateFinder::Sets() {
  const auto count = static_cast<std::uint32_t>(FIds.size());
  std::vector<std::uint32_t> members(count, 0);
  for (std::uint32_t i = 0; i < count; ++i) ++members[Root(i)];
  // A set's root is its first record, so sets come out in the order of their first records.
  constexpr std::uint32_t kNoSet = UINT32_MAX;
  std::vector<std::uint32_t> setOfRoot(count, kNoSet);
  std::vector<std::vector<std::int64_t>> sets;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint32_t root = Root(i);
    if (members[root] < 2) continue;
    if (setOfRoot[root] == kNoSet) {
      setOfRoot[root] = static_cast<std::uint32_t>(sets.size());
      sets.emplace_back().reserve(members[root]);
    }
    sets[setOfRoot[root]].push_back(FIds[i]);
  }
  return sets;
}

}  // namespace addressbook
