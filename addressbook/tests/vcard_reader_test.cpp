#include "addressbook/vcard_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "addressbook/tests/vcard_test_support.h"
#include "platform/cp949.h"

namespace addressbook {
namespace {

using ::testing::ElementsAre;
using testing::FixtureBytes;
using ::testing::HasSubstr;
using testing::OnlyCard;
using testing::ReadCards;

std::string Card(const std::string& body, const std::string& eol = "\r\n") {
  return "BEGIN:VCARD" + eol + "VERSION:3.0" + eol + body + eol + "END:VCARD" + eol;
}

const VCardProperty& Property(const VCard& card, std::string_view name) {
  const VCardProperty* property = card.First(name);
  if (!property) throw std::runtime_error("no " + std::string(name) + " in the card");
  return *property;
}

TEST(VCardReader, PhoneExportInVersion21) {
  const std::vector<VCard> cards = ReadCards(FixtureBytes("korean_21.vcf"));
  ASSERT_EQ(cards.size(), 2u);
  const VCard& card = cards[0];
  EXPECT_EQ(card.Number, 1);
  EXPECT_EQ(card.Line, 1);
  EXPECT_EQ(card.Version, "2.1");
  EXPECT_THAT(card.Warnings, ElementsAre());
  EXPECT_THAT(Property(card, "N").Components(), ElementsAre("홍", "길동", "", "", ""));
  // Quoted-printable over soft line breaks that cut between the bytes of one character.
  EXPECT_THAT(
      Property(card, "ADR").Components(),
      ElementsAre("", "101동 202호", "논현로 508", "강남구", "서울특별시", "06035", "대한민국"));
  EXPECT_THAT(Property(card, "ORG").Components(), ElementsAre("(주)자리즈", "영업부"));
  EXPECT_EQ(Property(card, "NOTE").Text(), "첫째 줄\r\n둘째 줄");
  EXPECT_TRUE(Property(card, "PHOTO").Skipped);
  EXPECT_EQ(Property(card, "PHOTO").Value, "");
  EXPECT_EQ(Property(card, "EMAIL").Line, 16);

  const std::vector<const VCardProperty*> tels = card.All("TEL");
  ASSERT_EQ(tels.size(), 4u);
  EXPECT_TRUE(tels[0]->HasType("cell"));
  EXPECT_EQ(tels[0]->Preference(), 1);
  EXPECT_EQ(tels[2]->Preference(), 101);
  EXPECT_TRUE(tels[3]->HasType("FAX"));

  EXPECT_EQ(cards[1].Number, 2);
  EXPECT_THAT(Property(cards[1], "N").Components(), ElementsAre("남궁", "민수", "", "", ""));
}

TEST(VCardReader, MailProgramExportInVersion30) {
  const VCard card = OnlyCard(FixtureBytes("korean_30.vcf"));
  EXPECT_EQ(card.Version, "3.0");
  EXPECT_THAT(card.Warnings, ElementsAre());
  // The ORG line is folded in the middle of the three bytes of 본.
  EXPECT_THAT(Property(card, "ORG").Components(),
              ElementsAre("주식회사 가나다, 본사", "인사팀", "채용파트"));
  EXPECT_EQ(Property(card, "NOTE").Text(), "메모, 쉼표; 세미콜론\n둘째 줄 \\ 끝");
  const VCardProperty& cell = Property(card, "TEL");
  EXPECT_EQ(cell.Group, "item1");
  EXPECT_TRUE(cell.HasType("cell") && cell.HasType("voice"));
  EXPECT_EQ(cell.Preference(), 1);
  const std::vector<const VCardProperty*> addresses = card.All("ADR");
  ASSERT_EQ(addresses.size(), 2u);
  EXPECT_EQ(addresses[1]->Group, "item3");
  EXPECT_THAT(addresses[1]->Components(),
              ElementsAre("", "", "해운대해변로 264\n(우동)", "해운대구", "부산광역시", "48099",
                          "대한민국"));
}

TEST(VCardReader, CardInVersion40) {
  const VCard card = OnlyCard(FixtureBytes("korean_40.vcf"));
  EXPECT_EQ(card.Version, "4.0");
  const VCardProperty& cell = Property(card, "TEL");
  EXPECT_TRUE(cell.HasType("cell") && cell.HasType("voice"));
  EXPECT_EQ(cell.Param("value"), "uri");
  EXPECT_EQ(cell.Text(), "tel:+82-10-4444-5555");
  const VCardProperty& home = *card.All("ADR")[1];
  EXPECT_EQ(home.Preference(), 1);
  // A quoted parameter holds ':' and ';'; the value goes on in a folded line.
  EXPECT_EQ(home.Param("LABEL"), "서울특별시 강남구 논현로 508\\n101동: 1001호");
  EXPECT_THAT(home.Components(), ElementsAre("", "101동 1001호", "논현로 508", "강남구",
                                             "서울특별시", "06035", "대한민국"));
  // A picture inside a data: URI is read past like base64 content.
  EXPECT_TRUE(Property(card, "PHOTO").Skipped);
}

TEST(VCardReader, LineEndsFoldsAndByteOrderMark) {
  struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"CRLF", Card("FN:홍길동")},
      {"LF", Card("FN:홍길동", "\n")},
      {"CR CR LF", Card("FN:홍길동", "\r\r\n")},
      {"byte-order mark", "\xEF\xBB\xBF" + Card("FN:홍길동")},
      {"no line end after END", Card("FN:홍길동").substr(0, Card("FN:홍길동").size() - 2)},
      {"fold with a blank", Card("FN:홍\r\n 길동")},
      {"fold with a tab", Card("FN:홍\r\n\t길동")},
      {"fold inside a character", Card("FN:\xED\x99\r\n \x8D길동")},
      {"fold inside the name", Card("F\r\n N:홍길동")},
      {"blank lines between properties", Card("\r\n\r\nFN:홍길동\r\n\r\n")},
  };
  for (const auto& c : cases) {
    const VCard card = OnlyCard(c.bytes);
    ASSERT_NE(card.First("FN"), nullptr) << c.what;
    EXPECT_EQ(card.First("FN")->Text(), "홍길동") << c.what;
    EXPECT_THAT(card.Warnings, ElementsAre()) << c.what;
  }
  // Only one blank of a fold goes: a second one is the value's.
  EXPECT_EQ(OnlyCard(Card("FN:Gil\r\n  Dong")).First("FN")->Text(), "Gil Dong");
}

TEST(VCardReader, QuotedPrintableSoftLineBreaks) {
  const VCard card =
      OnlyCard(Card("NOTE;ENCODING=QUOTED-PRINTABLE:Now's the time =\r\n"
                    "for all folk to come=\r\n"
                    " to the aid=\r\n"
                    "\r\n"
                    "TITLE;QUOTED-PRINTABLE:1+1=3D2, a=lone =ZZ=\r\n"
                    "END:VCARD\r\n"
                    "FN:after"));
  // A line after a soft break is taken as it is, its leading blank included; an empty line
  // after a soft break ends the value.
  EXPECT_EQ(Property(card, "NOTE").Text(), "Now's the time for all folk to come to the aid");
  // '=' before anything but two hex digits stays; a soft break never takes in END:VCARD.
  EXPECT_EQ(Property(card, "TITLE").Text(), "1+1=2, a=lone =ZZ");
  EXPECT_EQ(card.First("FN"), nullptr);
}

TEST(VCardReader, BinaryContentIsReadPastWhateverItsForm) {
  const std::string photo(5000, 'A');
  std::string folded;
  for (std::size_t i = 0; i < photo.size(); i += 70) folded += "\r\n " + photo.substr(i, 70);
  std::string unindented;
  for (std::size_t i = 0; i < photo.size(); i += 70) unindented += "\r\n" + photo.substr(i, 70);
  const std::string cases[] = {
      "PHOTO;ENCODING=BASE64;TYPE=JPEG:" + photo,        // one long line
      "PHOTO;ENCODING=b;TYPE=JPEG:" + folded.substr(3),  // 3.0, folded
      "LOGO;BASE64:" + folded,                           // bare parameter, empty first line
      "PHOTO;ENCODING=BASE64:" + unindented + "\r\n",    // 2.1: up to a blank line
      "SOUND;ENCODING=BASE64:" + unindented.substr(2),   // 2.1: no blank line before TEL
      "PHOTO:data:image/jpeg;base64," + photo,           // 4.0
  };
  VCardOptions small;
  small.MaxLineBytes = 200;  // far less than the photo
  for (const std::string& binary : cases) {
    const std::vector<VCard> cards = ReadCards(Card(binary + "\r\nTEL:010-1234-5678"), small);
    ASSERT_EQ(cards.size(), 1u) << binary.substr(0, 40);
    EXPECT_EQ(cards[0].Properties.size(), 2u) << binary.substr(0, 40);
    EXPECT_TRUE(cards[0].Properties[0].Skipped) << binary.substr(0, 40);
    ASSERT_NE(cards[0].First("TEL"), nullptr) << binary.substr(0, 40);
    EXPECT_EQ(cards[0].First("TEL")->Text(), "010-1234-5678") << binary.substr(0, 40);
  }
}

TEST(VCardReader, LineEndedByABackslashGoesOnInTheNext) {
  const VCard card = OnlyCard(
      Card("ADR;HOME:;;Hermann v. Brevern\\\r\n9999999\\\r\nPackstation 999;Hamburg;;99999;DE\r\n"
           "NOTE:ends in an escaped backslash\\\\\r\n"
           "TEL:1"));
  EXPECT_THAT(Property(card, "ADR").Components(),
              ElementsAre("", "", "Hermann v. Brevern\n9999999\nPackstation 999", "Hamburg", "",
                          "99999", "DE"));
  EXPECT_EQ(Property(card, "NOTE").Text(), "ends in an escaped backslash\\");
  EXPECT_EQ(Property(card, "TEL").Text(), "1");
}

TEST(VCardReader, WhatLiesOutsideCardsAndMissingEnds) {
  const std::vector<VCard> cards = ReadCards(
      "stray text before\r\n\x01\x02\xFF binary\r\nEND:VCARD\r\n"
      "BEGIN:VCARD\r\nFN:하나\r\nEND:VCARD\r\n"
      "between\r\n"
      "begin:vcard\r\nFN:둘\r\n"          // no END before the next card
      "BEGIN:VCARD\r\nFN:셋\r\nNOTE:x");  // no END before the end of the file
  ASSERT_EQ(cards.size(), 3u);
  EXPECT_EQ(Property(cards[0], "FN").Text(), "하나");
  EXPECT_EQ(cards[0].Line, 4);
  EXPECT_THAT(cards[0].Warnings, ElementsAre());
  EXPECT_EQ(Property(cards[1], "FN").Text(), "둘");
  EXPECT_EQ(cards[1].Number, 2);
  EXPECT_EQ(cards[1].Line, 8);
  EXPECT_THAT(cards[1].Warnings,
              ElementsAre("line 10: a new card begins before this one's END:VCARD"));
  EXPECT_EQ(Property(cards[2], "FN").Text(), "셋");
  EXPECT_EQ(cards[2].Line, 10);
  EXPECT_THAT(cards[2].Warnings, ElementsAre("line 12: the file ends before the card's END:VCARD"));
  EXPECT_TRUE(cards[2].Version.empty());
}

TEST(VCardReader, LineWithoutColonIsLeftOutWithAWarning) {
  const VCard card = OnlyCard(Card("FN\r\nN:홍;길동\r\n continued\r\nTEL:1", "\r\n"));
  EXPECT_EQ(card.First("FN"), nullptr);
  EXPECT_EQ(Property(card, "N").Text(), "홍;길동continued");
  EXPECT_THAT(card.Warnings, ElementsAre("line 3: no ':' in \"FN\"; left out"));
  // A continuation line right after BEGIN has nothing to continue.
  const VCard orphan = OnlyCard("BEGIN:VCARD\r\n orphan\r\nFN:x\r\nEND:VCARD\r\n");
  EXPECT_THAT(orphan.Warnings,
              ElementsAre("line 2: a continued line that follows no property; left out"));
}

TEST(VCardReader, CharacterSets) {
  using platform::ToCp949;
  struct {
    std::string line;
    std::string text;
    std::string warning;  // part of the one warning expected, or empty for none
  } cases[] = {
      {"FN;CHARSET=EUC-KR:" + ToCp949("홍길동"), "홍길동", ""},
      {"FN;CHARSET=ks_c_5601-1987:" + ToCp949("똠방각하"), "똠방각하", ""},  // 똠: CP949 only
      {"FN;CHARSET=ISO-8859-1:M\xFCller", "Müller", ""},
      {"FN;CHARSET=SHIFT_JIS:\x88\xC0\x93\xA1", "安藤", ""},
      {"FN;CHARSET=EUC-KR;ENCODING=QUOTED-PRINTABLE:=C8=AB", "홍", ""},
      {"FN;CHARSET=us-ascii:홍길동", "홍길동", ""},
      {"FN;CHARSET=UTF-8:\xED\x99\x8D\x80", "홍\uFFFD", "FN: bytes that are not valid UTF-8"},
      {"FN:" + ToCp949("홍길동"), "홍길동", "FN: not UTF-8; read as CP949"},
      {"FN:T\xF6"
       "cken",
       "Töcken", "FN: not UTF-8; read as WINDOWS-1252"},
      {"FN;CHARSET=X-NOPE:홍길동", "홍길동", "unknown character set X-NOPE"},
  };
  for (const auto& c : cases) {
    const VCard card = OnlyCard(Card(c.line));
    ASSERT_NE(card.First("FN"), nullptr) << c.line;
    EXPECT_EQ(card.First("FN")->Text(), c.text) << c.line;
    if (c.warning.empty()) {
      EXPECT_THAT(card.Warnings, ElementsAre()) << c.line;
    } else {
      EXPECT_THAT(card.Warnings, ElementsAre(HasSubstr(c.warning))) << c.line;
      EXPECT_THAT(card.Warnings, ElementsAre(::testing::StartsWith("line 3: "))) << c.line;
    }
  }
  // In Shift_JIS the second byte of ソ is the byte of '\': the value is decoded before its
  // escapes are, so that byte escapes nothing.
  const VCard sjis = OnlyCard(Card("N;CHARSET=SHIFT_JIS:\x83\x5C;x"));
  EXPECT_THAT(Property(sjis, "N").Components(), ElementsAre("ソ", "x"));
}

TEST(VCardReader, ParametersInTheFormsOfEachVersion) {
  struct {
    std::string line;
    std::vector<std::string> types;
    int preference;
  } cases[] = {
      {"TEL;CELL:1", {"cell"}, 101},
      {"TEL;TYPE=CELL:1", {"cell"}, 101},
      {"TEL;TYPE=cell,voice:1", {"cell", "voice"}, 101},
      {"TEL;TYPE=\"cell,voice\":1", {"cell", "voice"}, 101},
      {"TEL;type=CELL;type=VOICE;type=pref:1", {"cell", "voice", "pref"}, 1},
      {"TEL;WORK;PREF:1", {"work", "pref"}, 1},
      {"TEL;TYPE=work;PREF=3:1", {"work"}, 3},
      {"item7.TEL;X-LABEL=\"a;b:c\";HOME:1", {"home"}, 101},
  };
  for (const auto& c : cases) {
    const VCard card = OnlyCard(Card(c.line));
    ASSERT_EQ(card.Properties.size(), 1u) << c.line;
    const VCardProperty& tel = card.Properties[0];
    EXPECT_EQ(tel.Name, "TEL") << c.line;
    EXPECT_EQ(tel.Text(), "1") << c.line;
    EXPECT_EQ(tel.Preference(), c.preference) << c.line;
    std::vector<std::string> types;
    for (const auto& [name, value] : tel.Params) {
      if (name == "TYPE") types.push_back(value);
    }
    EXPECT_EQ(types, c.types) << c.line;
  }
  const VCard grouped = OnlyCard(Card("item7.tel;x-label=\"a;b:c\":1"));
  EXPECT_EQ(grouped.Properties[0].Group, "item7");
  EXPECT_EQ(grouped.Properties[0].Name, "TEL");
  EXPECT_EQ(grouped.Properties[0].Param("X-LABEL"), "a;b:c");
}

TEST(VCardReader, EscapesAndStructuredValues) {
  struct {
    std::string value;
    std::string text;
    std::vector<std::string> components;
  } cases[] = {
      {"a\\,b\\;c", "a,b;c", {"a,b;c"}},
      {"one;two;;four", "one;two;;four", {"one", "two", "", "four"}},
      {"line\\nbreak\\Nagain", "line\nbreak\nagain", {"line\nbreak\nagain"}},
      {"back\\\\;slash", "back\\;slash", {"back\\", "slash"}},
      {"http\\://x", "http://x", {"http://x"}},
      {"C:\\temp", "C:\\temp", {"C:\\temp"}},  // not an escape: both characters stay
      {"", "", {""}},
  };
  for (const auto& c : cases) {
    const VCard card = OnlyCard(Card("X-VALUE:" + c.value));
    EXPECT_EQ(Property(card, "X-VALUE").Text(), c.text) << c.value;
    EXPECT_EQ(Property(card, "X-VALUE").Components(), c.components) << c.value;
  }
}

TEST(VCardReader, LimitsEndTheReadWithTheCardAndLine) {
  VCardOptions small;
  small.MaxLineBytes = 100;
  small.MaxCardBytes = 1000;
  small.MaxCardProperties = 20;
  const std::string first = Card("FN:ok");
  struct {
    const char* what;
    std::string second;
    std::string message;
  } cases[] = {
      {"a long line", Card("NOTE:" + std::string(200, 'x')),
       "card 2, line 7: a property longer than 100 bytes"},
      {"a long folded value", Card("NOTE:" + std::string(60, 'x') + "\r\n " + std::string(60, 'y')),
       "card 2, line 7: a property longer than 100 bytes"},
      {"a long line without ':'", Card(std::string(200, 'x')),
       "card 2, line 7: a property longer than 100 bytes"},
      {"a big card", Card([] {
         std::string photo = "PHOTO;ENCODING=b:";
         for (int i = 0; i < 30; ++i) photo += "\r\n " + std::string(60, 'A');
         return photo;
       }()),
       "card 2, line 23: the card is larger than 1000 bytes"},
      {"many properties", Card([] {
         std::string lines = "TEL:1";
         for (int i = 0; i < 25; ++i) lines += "\r\nTEL:1";
         return lines;
       }()),
       "card 2, line 27: the card has more than 20 properties"},
  };
  for (const auto& c : cases) {
    std::istringstream in(first + c.second);
    VCardReader reader(in, small);
    ASSERT_TRUE(reader.Next()) << c.what;
    try {
      reader.Next();
      ADD_FAILURE() << c.what << ": no error";
    } catch (const EVCardError& e) {
      EXPECT_EQ(std::string(e.what()), c.message) << c.what;
      EXPECT_EQ(e.Card, 2) << c.what;
    }
    // The read does not go on past the fault as if the file ended there.
    EXPECT_THROW(reader.Next(), EVCardError) << c.what;
  }
}

TEST(VCardReader, Utf16FileIsRefusedPlainly) {
  try {
    ReadCards(
        std::string("\xFF\xFE"
                    "B\0E\0",
                    6));
    ADD_FAILURE() << "no error";
  } catch (const EVCardError& e) {
    EXPECT_EQ(std::string(e.what()),
              "line 1: the file is UTF-16 text; save it as UTF-8 and import that");
  }
}

// A stream that tells how much of it was taken.
class CountingBuffer : public std::streambuf {
 public:
  explicit CountingBuffer(std::string bytes) : FBytes(std::move(bytes)) {
    setg(FBytes.data(), FBytes.data(), FBytes.data() + FBytes.size());
  }
  std::size_t Taken() const { return static_cast<std::size_t>(gptr() - eback()); }

 private:
  std::string FBytes;
};

TEST(VCardReader, ReadsCardByCardNotTheWholeFile) {
  std::string file;
  for (int i = 0; i < 20000; ++i)
    file += Card("FN:이름 " + std::to_string(i) + "\r\nTEL:010-0000-0000");
  ASSERT_GT(file.size(), 1000000u);
  CountingBuffer buffer(file);
  std::istream in(&buffer);
  VCardReader reader(in);
  ASSERT_TRUE(reader.Next());
  EXPECT_LE(buffer.Taken(), 64u * 1024);
  int cards = 1;
  while (std::optional<VCard> card = reader.Next()) {
    EXPECT_EQ(card->First("FN")->Text(), "이름 " + std::to_string(cards));
    ++cards;
  }
  EXPECT_EQ(cards, 20000);
}

}  // namespace
}  // namespace addressbook
