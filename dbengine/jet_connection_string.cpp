#include "dbengine/jet_connection_string.h"

namespace dbengine {

namespace {

// The path goes in as it is, unless a ';' or a quote in it would end the value early: then it is
// quoted, quotes doubled, so such a file still opens.
std::string DataSourceValue(const std::string& path) {
  if (path.find_first_of(";\"'") == std::string::npos) return path;
  std::string quoted = "\"";
  for (char c : path) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + "\"";
}

}  // namespace

std::string JetConnectionString(const std::string& path) {
  return "Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=" + DataSourceValue(path) +
         ";" +
         "Mode=ReadWrite;"
         "Extended Properties=\"\";Jet OLEDB:System database=\"\";Jet OLEDB:Registry Path=\"\";"
         "Jet OLEDB:Database Password=\"\";Jet OLEDB:Engine Type=5;"
         "Jet OLEDB:Database Locking Mode=1;Jet OLEDB:Global Partial Bulk Ops=2;"
         "Jet OLEDB:Global Bulk Transactions=1;Jet OLEDB:New Database Password=\"\";"
         "Jet OLEDB:Create System Database=False;Jet OLEDB:Encrypt Database=False;"
         "Jet OLEDB:Don't Copy Locale on Compact=False;"
         "Jet OLEDB:Compact Without Replica Repair=False;Jet OLEDB:SFP=False";
}

}  // namespace dbengine
