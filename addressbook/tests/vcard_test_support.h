#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "addressbook/vcard_reader.h"

namespace addressbook::testing {

// Every card of a vCard file's bytes.
std::vector<VCard> ReadCards(std::string_view bytes, VCardOptions options = {});

// The bytes of a file of tests/data.
std::string FixtureBytes(const std::string& name);

// The one card of a file's bytes; a failed test when there is not exactly one.
VCard OnlyCard(std::string_view bytes);

}  // namespace addressbook::testing
