#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "addressbook/address_record.h"
#include "addressbook/vcard.h"

namespace addressbook {

// A card as a record of the address table, and what of the card the record does not hold.
struct CardRecord {
  AddressRecord Record;
  // In the card's order: property names once each ("EMAIL", "NOTE", "PHOTO"), and each telephone
  // number or address that found no column with its value ("TEL 02-555-1234").
  std::vector<std::string> Dropped;
};

// The columns a card fills:
// - 이름 from N (see PersonName), else FN;
// - 회사 from ORG's first part, 부서 from the others joined by blanks; 직책 from TITLE;
// - 우편번호, 주소 and 상세주소 from the preferred address (the one with the strongest PREF or
//   TYPE=pref, else TYPE=home, else the first; addresses without any part do not count), and
//   회사우편번호, 회사주소, C상세주소 from the first other address of TYPE=work (see
//   PostalAddress);
// - 휴대폰 from TYPE=cell, 회사팩스 from work fax, 팩스 from other fax, 회사전화 from work, 전화
//   from the rest (home, voice, untyped); pagers go nowhere. Of several for one column the
//   preferred one wins, else the first.
// Line breaks inside a value become blanks. 존칭 and the mailing columns stay empty.
CardRecord RecordFromCard(const VCard& card);

// The columns RecordFromCard may fill, in the table's order.
std::span<const std::string_view> CardColumns();

// A personal name as a Korean address list writes it: a name in Hangul, Han or kana is family
// name then given name with no blank (홍 + 길동: 홍길동); any other is "Given Family" (John Doe).
// Honorific prefixes and suffixes are left out: the list has 존칭 for that.
std::string PersonName(std::string_view family, std::string_view given);

struct PostalLines {
  std::string Postcode;
  std::string Address;
  std::string Detail;
  bool operator==(const PostalLines&) const = default;
};

// An ADR value's parts (post-office box, extended address, street, locality, region, postal
// code, country) as the three address columns. A Korean address (country Korea in any common
// spelling, or no country and Hangul in the parts) reads region, locality, street with blanks
// (서울특별시 강남구 논현로 508), leaving out a part the next one already starts with and the
// country; any other reads street, locality, region, country with commas. The detail is the
// extended address followed by the post-office box.
PostalLines PostalAddress(const std::vector<std::string>& parts);

}  // namespace addressbook
