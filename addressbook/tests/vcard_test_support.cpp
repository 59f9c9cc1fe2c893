#include "addressbook/tests/vcard_test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace addressbook::testing {

std::vector<VCard> ReadCards(std::string_view bytes, VCardOptions options) {
  std::istringstream in{std::string(bytes)};
  VCardReader reader(in, std::move(options));
  std::vector<VCard> cards;
  while (std::optional<VCard> card = reader.Next()) cards.push_back(std::move(*card));
  return cards;
}

std::string FixtureBytes(const std::string& name) {
  const std::string path = std::string(ZARIZE_SOURCE_DIR) + "/addressbook/tests/data/" + name;
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << "cannot read " << path;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

VCard OnlyCard(std::string_view bytes) {
  std::vector<VCard> cards = ReadCards(bytes);
  EXPECT_EQ(cards.size(), 1u);
  return cards.empty() ? VCard() : std::move(cards.front());
}

}  // namespace addressbook::testing
