#include "programs/mdb-reader/address_list_conversion.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "addressbook/data_module.h"
#include "dbengine/access/access_cache.h"
#include "dbengine/access/access_file.h"
#include "dbengine/connection.h"
#include "dbengine/database_creation.h"
#include "dbengine/field_def.h"
#include "dbengine/jet_connection_string.h"
#include "dbengine/query.h"
#include "dbengine/quoting.h"
#include "dbengine/scoped_transaction.h"
#include "platform/ascii_case.h"
#include "platform/paths.h"

namespace mdbreader {
namespace {

// The converted copy of the old list, attached to the new file under this name.
constexpr const char* kOld = "old";
constexpr const char* kAddressTable = "addr_rec";

// An identifier in the statements the conversion writes.
std::string Quoted(const std::string& name) {
  return dbengine::QuotedText(name, '"');
}

// The first column of every row of a statement, as text; values go in as parameters.
std::vector<std::string> Strings(dbengine::TADOConnection& db, const std::string& sql,
                                 const std::vector<dbengine::TParameter>& parameters = {}) {
  dbengine::TADOQuery query;
  query.Connection = &db;
  query.SQL.Add(sql);
  for (const dbengine::TParameter& parameter : parameters)
    query.Parameters.ParamByName(parameter.Name).Value = parameter.Value;
  query.Open();
  std::vector<std::string> values;
  for (query.First(); !query.Eof(); query.Next()) values.push_back(query.Fields(0).AsString());
  return values;
}

std::int64_t Count(dbengine::TADOConnection& db, const std::string& sql,
                   const std::vector<dbengine::TParameter>& parameters = {}) {
  return std::stoll(Strings(db, sql, parameters).at(0));
}

struct TColumn {
  std::string Name;
  std::string Type;  // as declared
};

std::vector<TColumn> Columns(dbengine::TADOConnection& db, const char* schema,
                             const std::string& table) {
  const std::string info = " FROM pragma_table_info(:table, :schema) ORDER BY cid";
  const std::vector<dbengine::TParameter> which = {{"table", table}, {"schema", schema}};
  const std::vector<std::string> names = Strings(db, "SELECT name" + info, which);
  const std::vector<std::string> types = Strings(db, "SELECT type" + info, which);
  std::vector<TColumn> columns;
  for (std::size_t i = 0; i < names.size(); ++i) columns.push_back({names[i], types[i]});
  return columns;
}

const TColumn* Find(const std::vector<TColumn>& columns, const std::string& name) {
  for (const TColumn& column : columns)
    if (platform::SameText(column.Name, name)) return &column;
  return nullptr;
}

std::vector<std::string> TableNames(dbengine::TADOConnection& db) {
  return Strings(db, std::string("SELECT name FROM ") + kOld +
                         ".sqlite_master WHERE type = 'table' ORDER BY rowid");
}

// Text longer than its column would be refused when the record is next stored; it is refused
// here instead, before anything is written.
void RequireFits(dbengine::TADOConnection& db, const std::string& table, const TColumn& target) {
  const dbengine::TFieldDef def = dbengine::FieldDefFromDeclaredType(target.Type, false);
  if (def.DataType != dbengine::ftWideString || def.Size <= 0) return;
  const std::int64_t longer =
      Count(db,
            "SELECT count(*) FROM " + std::string(kOld) + "." + Quoted(table) + " WHERE length(" +
                Quoted(target.Name) + ") > :size",
            {{"size", def.Size}});
  if (longer > 0)
    throw EConversionError(table + "." + target.Name + ": " + std::to_string(longer) +
                           " values are longer than the " + std::to_string(def.Size) +
                           " characters the column holds in a new address database");
}

TCopiedTable CopyTable(dbengine::TADOConnection& db, const std::string& table) {
  const std::vector<TColumn> source = Columns(db, kOld, table);
  std::vector<TColumn> target = Columns(db, "main", table);
  const std::string into = "main." + Quoted(table);
  if (target.empty()) {
    std::string definitions;
    for (const TColumn& column : source)
      definitions += (definitions.empty() ? "" : ", ") + Quoted(column.Name) + " " + column.Type;
    db.Execute("CREATE TABLE " + into + " (" + definitions + ")");
    target = source;
  } else {
    for (const TColumn& column : source) {
      if (Find(target, column.Name) != nullptr) continue;
      db.Execute("ALTER TABLE " + into + " ADD COLUMN " + Quoted(column.Name) + " " + column.Type);
      target.push_back(column);
    }
  }
  std::string names;
  for (const TColumn& column : source) {
    RequireFits(db, table, *Find(target, column.Name));
    names += (names.empty() ? "" : ", ") + Quoted(column.Name);
  }
  db.Execute("INSERT INTO " + into + " (" + names + ") SELECT " + names + " FROM " + kOld + "." +
             Quoted(table) + " ORDER BY rowid");
  return {table, Count(db, "SELECT count(*) FROM " + into)};
}

// A hidden name beside target for the file while it is being made.
std::string PartName(const std::string& target) {
  const std::string folder = platform::FolderPart(target);
  std::string name = ".";
  name += platform::FileNamePart(target);
  name += ".part-";
  name += std::to_string(::getpid());
  return platform::JoinPath(folder.empty() ? "." : folder, name);
}

// Gives the complete file its name, unless something took that name meanwhile.
void Publish(const std::string& part, const std::string& target) {
  if (::renameat2(AT_FDCWD, part.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return;
  int error = errno;
  if (error == EINVAL) {  // a file system without that kind of rename
    if (::link(part.c_str(), target.c_str()) == 0) {
      ::unlink(part.c_str());
      return;
    }
    error = errno;
  }
  if (error == EEXIST)
    throw EConversionError("'" + target + "' appeared meanwhile; nothing was written");
  throw EConversionError("Cannot write '" + target + "': " + std::strerror(error));
}

}  // namespace

std::vector<TCopiedTable> ConvertAddressList(const std::string& source, const std::string& target) {
  if (!dbengine::IsAccessFile(source))
    throw EConversionError("'" + source + "' is not an Access database file");
  struct stat info {};
  if (::lstat(target.c_str(), &info) == 0)
    throw EConversionError("'" + target + "' already exists; name a new file");

  const std::string copy = dbengine::UpToDateAccessCopy(source);
  const std::string part = PartName(target);
  ::unlink(part.c_str());  // left by a conversion with this process id that died
  dbengine::CreateEmptyDatabase(part);
  std::vector<TCopiedTable> copied;
  try {
    dbengine::TADOConnection db;
    db.ConnectionString = dbengine::JetConnectionString(part);
    db.Open();
    db.Execute(std::string("ATTACH DATABASE :file AS ") + kOld, {{"file", copy}});
    const std::vector<std::string> tables = TableNames(db);
    bool addressList = false;
    for (const std::string& table : tables) addressList |= platform::SameText(table, kAddressTable);
    if (!addressList)
      throw EConversionError("'" + source + "' holds no table " + kAddressTable +
                             "; it is not an address list");
    {
      // All of it or nothing: a table that cannot be copied takes the others back with it.
      dbengine::TScopedTransaction transaction(db);
      db.Execute(addressbook::kCreateGroupTable);
      db.Execute(addressbook::kCreateAddressTable);
      for (const std::string& table : tables) copied.push_back(CopyTable(db, table));
      transaction.Commit();
    }
    db.Execute(std::string("DETACH DATABASE ") + kOld);
    db.Close();
    Publish(part, target);
  } catch (...) {
    ::unlink(part.c_str());
    throw;
  }
  return copied;
}

}  // namespace mdbreader
