#pragma once

#include <ostream>
#include <string>

#include "platform/errors.h"

namespace addressbook {

class Tdm;

// An address database that cannot be made, opened or read as asked; the text says why, for the
// user.
class EAddressFileError : public platform::Exception {
 public:
  using Exception::Exception;
};

// A new, empty address database at path, made as Zeravu's new-database flow makes it (which also
// registers the data source). An existing file is refused unless `replace`, and replaced only
// once the new one is whole: when a step fails, it is left as it was. Leaves `dm` closed.
void CreateAddressDatabase(Tdm& dm, const std::string& path, bool replace);

// Whether opening an address database opens its list (dm's table, which reads every row) or only
// checks that the address table is there.
enum class AddressList { Open, CheckOnly };

// Opens the address database at path on `dm`, with its address table open or only checked. A
// missing file, a file that is not a database and a database without the address table are
// refused with a clear EAddressFileError.
void OpenAddressDatabase(Tdm& dm, const std::string& path, AddressList list = AddressList::Open);

struct RecordCounts {
  int Records = 0;
  int Ticked = 0;
};
RecordCounts CountRecords(Tdm& dm);

enum class ExportLayout { Spreadsheet, Label };
// The records of the open database in either layout, through the writers Zeravu's buttons use:
// the ticked ones, or with `tickedOnly` false every record.
void ExportRecords(Tdm& dm, ExportLayout layout, bool tickedOnly, std::ostream& out);

}  // namespace addressbook
