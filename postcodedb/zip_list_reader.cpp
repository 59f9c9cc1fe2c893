#include "postcodedb/zip_list_reader.h"

#include <algorithm>

#include "dbengine/value_text.h"
#include "platform/errors.h"
#include "postcodedb/input_error.h"
#include "postcodedb/line_reader.h"

namespace postcodedb {
namespace {

const std::string kZipCode = "우편번호";
const std::string kAddress = "주소";
const std::string kDong = "읍면동";

// The first line as written, without a UTF-8 byte-order mark; empty for an empty file.
std::string FirstLine(const std::string& path) {
  TFileSource source(path);
  TLineReader lines(source, path);
  std::string_view line;
  if (!lines.Next(line)) return {};
  if (line.starts_with("\xEF\xBB\xBF")) line.remove_prefix(3);
  return std::string(line);
}

[[noreturn]] void ThrowWrongHeader(const std::string& path) {
  throw EInputError(path, 1,
                    "the header is neither " + std::string(kSixDigitHeader) +
                        " (code page 949) nor a UTF-8 header naming the columns " + kZipCode +
                        ", " + kAddress + " and " + kDong);
}

std::string JoinedAddress(const TAddressRow& row) {
  std::string address;
  for (const std::string* part : {&row.Sido, &row.Sigungu, &row.Town, &row.LotText}) {
    if (part->empty()) continue;
    if (!address.empty()) address += ' ';
    address += *part;
  }
  return address;
}

}  // namespace

ZipListReader::ZipListReader(const std::string& path) : FPath(path) {
  if (FirstLine(path) == kSixDigitHeader) {
    FColumns = {kZipCode, kAddress, kDong, "SIDO", "GUGUN", "BUNJI", "SEQ"};
    FSixDigit = std::make_unique<TSixDigitReader>(std::make_unique<TFileSource>(path), path);
  } else {
    ReadPlainHeader(path);
  }
}

void ZipListReader::ReadPlainHeader(const std::string& path) {
  FSource = std::make_unique<TFileSource>(path);
  FLines = std::make_unique<TTextLines>(*FSource, path, TEncoding::Utf8);
  std::string_view header;
  if (!FLines->Next(header)) ThrowWrongHeader(path);
  std::vector<std::string> names;
  try {
    SplitCsvFields(header, names);
  } catch (const platform::Exception& e) {
    FLines->Fail(e.what());
  }
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i].empty()) FLines->Fail("column " + std::to_string(i + 1) + " has no name");
    if (std::find(names.begin(), names.begin() + i, names[i]) != names.begin() + i)
      FLines->Fail("the column " + names[i] + " is named twice");
  }
  // The three known columns first, then the rest in their order.
  for (const std::string& known : {kZipCode, kAddress, kDong}) {
    const auto it = std::find(names.begin(), names.end(), known);
    if (it == names.end()) ThrowWrongHeader(path);
    FOrder.push_back(static_cast<std::size_t>(it - names.begin()));
  }
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (std::find(FOrder.begin(), FOrder.end(), i) == FOrder.end()) FOrder.push_back(i);
  }
  for (std::size_t i : FOrder) FColumns.push_back(names[i]);
}

bool ZipListReader::Next(std::vector<std::string>& values) {
  return FSixDigit ? NextSixDigit(values) : NextPlain(values);
}

bool ZipListReader::NextSixDigit(std::vector<std::string>& values) {
  if (!FSixDigit->Next(FRow)) return false;
  values = {FRow.Postcode, JoinedAddress(FRow), FRow.Town,    FRow.Sido,
            FRow.Sigungu,  FRow.LotText,        FRow.Sequence};
  CheckLengths(values, FSixDigit->LineNumber());
  return true;
}

bool ZipListReader::NextPlain(std::vector<std::string>& values) {
  std::string_view line;
  do {
    if (!FLines->Next(line)) return false;
  } while (line.empty());
  try {
    SplitCsvFields(line, FFields);
  } catch (const platform::Exception& e) {
    FLines->Fail(e.what());
  }
  if (FFields.size() != FOrder.size()) {
    FLines->Fail(std::to_string(FFields.size()) + " fields where the header has " +
                 std::to_string(FOrder.size()));
  }
  values.clear();
  for (std::size_t i : FOrder) values.push_back(std::move(FFields[i]));
  if (values.front().empty()) FLines->Fail("the postcode is empty");
  CheckLengths(values, FLines->Number());
  return true;
}

void ZipListReader::CheckLengths(const std::vector<std::string>& values, std::int64_t line) const {
  for (std::size_t c = 0; c < values.size(); ++c) {
    if (dbengine::CharacterCount(values[c]) > kMaxZipTextChars) {
      throw EInputError(FPath, line,
                        "the value of " + FColumns[c] + " is longer than " +
                            std::to_string(kMaxZipTextChars) + " characters");
    }
  }
}

}  // namespace postcodedb
