#include "addressbook/tests/vcard_test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace addressbook::testing {

std::vector<TVCard> ReadCards(std::string_view bytes, TVCardOptions options) {
  std::istringstream in{std::string(bytes)};
  TVCardReader reader(in, std::move(options));
  std::vector<TVCard> cards;
  while (std::optional<TVCard> card = reader.Next()) cards.push_back(std::move(*card));
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

TVCard OnlyCard(std::string_view bytes) {
  std::vector<TVCard> cards = ReadCards(bytes);
  EXPECT_EQ(cards.size(), 1u);
  return cards.empty() ? TVCard() : std::move(cards.front());
}

}  // namespace addressbook::testing
