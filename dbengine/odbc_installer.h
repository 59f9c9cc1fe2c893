#pragma once

#include <string>

namespace dbengine {

// Requests the data module makes of the driver installer.
inline constexpr int ODBC_ADD_DSN = 1;
inline constexpr int ODBC_ADD_SYS_DSN = 4;

// Adds a data source: registers a section named by the item DSN= in the user's data-source file
// ($ODBCINI, else ~/.odbc.ini; made 0600 when missing) holding the driver and the other items.
// With the item CREATE_DB="<path>" (quotes inside the path doubled) it first creates an empty
// database file there, which fails when a file exists at the path or its folder cannot be
// written. attributes is "k=v\0k=v\0...\0" (a list of NUL-ended items, ended by one more NUL).
// Answers whether it all worked; never throws.
bool ConfigDataSource(int request, const std::string& driver, const std::string& attributes);

// Why the last ConfigDataSource of this thread failed, as the installer's error query tells it;
// empty after one that worked.
std::string InstallerError();

}  // namespace dbengine
