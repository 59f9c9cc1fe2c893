#include "devtools/bench/address_records.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>

#include "addressbook/csv_reader.h"
#include "postcodedb/zip_list_reader.h"

namespace bench {

namespace {

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string SampleList(const std::string& name) {
  return std::string(ZARIZE_SOURCE_DIR) + "/data/" + name;
}

// The sample address list as one map per record, keyed by the header's column names.
std::vector<std::map<std::string, std::string>> ReadAddressSample() {
  const std::vector<addressbook::CsvRecord> lines =
      addressbook::ReadCsvRecords(ReadWholeFile(SampleList("address-sample.csv")));
  if (lines.empty()) throw std::runtime_error("the sample address list is empty");
  const std::vector<std::string>& header = lines.front().Fields;
  std::vector<std::map<std::string, std::string>> records;
  for (std::size_t line = 1; line < lines.size(); ++line) {
    const std::vector<std::string>& values = lines[line].Fields;
    if (values.size() == 1 && values.front().empty()) continue;
    std::map<std::string, std::string>& record = records.emplace_back();
    for (std::size_t i = 0; i < header.size() && i < values.size(); ++i)
      record[header[i]] = values[i];
  }
  if (records.empty()) throw std::runtime_error("the sample address list holds no record");
  return records;
}

// Korean names are a one-syllable surname and a given name; a Hangul syllable is three bytes.
constexpr std::size_t kSyllableBytes = 3;

std::vector<std::string> Distinct(const std::set<std::string>& values) {
  return {values.begin(), values.end()};
}

}  // namespace

TAddressGenerator::TAddressGenerator() {
  std::set<std::string> surnames, givenNames, honorifics, details, companies, areaCodes;
  for (const auto& record : ReadAddressSample()) {
    const std::string& name = record.at("이름");
    if (name.size() > kSyllableBytes) {
      surnames.insert(name.substr(0, kSyllableBytes));
      givenNames.insert(name.substr(kSyllableBytes));
    }
    honorifics.insert(record.at("존칭"));
    if (!record.at("상세주소").empty()) details.insert(record.at("상세주소"));
    if (!record.at("회사").empty()) companies.insert(record.at("회사"));
    const std::string& phone = record.at("전화");
    if (!phone.empty()) areaCodes.insert(phone.substr(0, phone.find('-')));
  }
  FSurnames = Distinct(surnames);
  FGivenNames = Distinct(givenNames);
  FHonorifics = Distinct(honorifics);
  FDetails = Distinct(details);
  FCompanies = Distinct(companies);
  FAreaCodes = Distinct(areaCodes);

  postcodedb::ZipListReader zips(SampleList("zipcode-sample.cp949.csv"));
  for (std::vector<std::string> row; zips.Next(row);) {
    FPostcodes.push_back(row[0]);
    FAddresses.push_back(row[1]);
  }
  if (FSurnames.empty() || FDetails.empty() || FCompanies.empty() || FAreaCodes.empty() ||
      FPostcodes.empty())
    throw std::runtime_error("the sample lists are too small to make records from");
}

const std::string& TAddressGenerator::Pick(const std::vector<std::string>& from) {
  return from[FRandom() % from.size()];
}

int TAddressGenerator::Number(int low, int high) {
  return low + static_cast<int>(FRandom() % static_cast<unsigned>(high - low + 1));
}

std::string TAddressGenerator::Digits(int count) {
  std::string digits;
  for (int i = 0; i < count; ++i) digits += static_cast<char>('0' + Number(0, 9));
  return digits;
}

TAddressRecord TAddressGenerator::Next(int tickedPercent) {
  TAddressRecord r;
  char date[16];
  std::snprintf(date, sizeof date, "20%02d-%02d-%02d", Number(5, 8), Number(1, 12), Number(1, 28));
  r.Date = date;
  r.Ticked = Number(1, 100) <= tickedPercent;
  r.Name = Pick(FSurnames) + Pick(FGivenNames);
  r.Honorific = Pick(FHonorifics);
  const std::size_t place = FRandom() % FPostcodes.size();
  r.Postcode = FPostcodes[place];
  r.Address = FAddresses[place];
  r.Detail = Pick(FDetails);
  if (Number(1, 100) <= 45) r.Company = Pick(FCompanies);
  if (Number(1, 100) <= 50) {
    const std::string& area = Pick(FAreaCodes);
    r.Phone = area + "-" + Digits(area == "02" ? 4 : 3) + "-" + Digits(4);
  }
  if (Number(1, 100) <= 70) r.Mobile = "010-" + Digits(4) + "-" + Digits(4);
  return r;
}

}  // namespace bench
