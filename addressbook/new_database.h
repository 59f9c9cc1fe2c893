#pragma once

#include <string>

#include "addressbook/data_module.h"

namespace addressbook {

// Where making a new address database stopped, step by step as the new-database flow reports it.
enum class NewDatabaseStep {
  Created,       // both tables are in and the file is at its path
  DriverFailed,  // a request of CreateMDBFile failed
  NoFile,        // the driver answered true, yet no file is there
  TablesFailed,  // CreateTables answered false; the half-made file is deleted
};

struct NewDatabaseResult {
  NewDatabaseStep Step = NewDatabaseStep::Created;
  MdbFileRequests Requests;  // which driver requests failed, and why
};

// Makes a new, empty address database at `path` the way the new-database flow does: CreateMDBFile,
// a check that the file is there, CreateTables. When a file exists at `path` already, the new one
// is built beside it and takes its place (and its mode) only once both tables are in, so a step
// that fails leaves the old file as it was. Leaves `dm` closed. Throws (EInOutError,
// EDatabaseError) when the replacement cannot be made beside the old file or cannot take its
// place.
NewDatabaseResult BuildNewDatabase(Tdm& dm, const std::string& path);

}  // namespace addressbook
