#include "dbengine/jet_connection_string.h"

#include "dbengine/connection_string.h"

namespace dbengine {

std::string JetConnectionString(const std::string& path) {
  return "Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=" +
         ConnectionStringValue(path) + ";" +
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
