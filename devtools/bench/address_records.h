#pragma once

#include <random>
#include <string>
#include <vector>

namespace bench {

// One generated record of the address table, in the columns the programs fill.
struct TAddressRecord {
  std::string Date;  // SDATE, YYYY-MM-DD
  bool Ticked = false;
  std::string Name;
  std::string Honorific;
  std::string Postcode;
  std::string Address;
  std::string Detail;
  std::string Company;  // empty: NULL, as for most people
  std::string Phone;
  std::string Mobile;
};

// Realistic records from the lists the project ships: names (surname and given name mixed),
// honorifics, address details, companies and telephone area codes from data/address-sample.csv;
// postcodes with their addresses from data/zipcode-sample.cp949.csv. The same seed gives the
// same records, so every run measures the same data.
class TAddressGenerator {
 public:
  TAddressGenerator();  // reads both lists; throws when one cannot be read

  TAddressRecord Next(int tickedPercent);

 private:
  const std::string& Pick(const std::vector<std::string>& from);
  int Number(int low, int high);
  std::string Digits(int count);

  std::mt19937 FRandom{20080327};
  std::vector<std::string> FSurnames;
  std::vector<std::string> FGivenNames;
  std::vector<std::string> FHonorifics;
  std::vector<std::string> FDetails;
  std::vector<std::string> FCompanies;
  std::vector<std::string> FAreaCodes;
  std::vector<std::string> FPostcodes;  // parallel to FAddresses
  std::vector<std::string> FAddresses;
};

}  // namespace bench
