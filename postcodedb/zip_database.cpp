#include "postcodedb/zip_database.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "dbengine/connection.h"
#include "dbengine/database_creation.h"
#include "dbengine/jet_connection_string.h"
#include "dbengine/parameters.h"
#include "dbengine/quoting.h"
#include "dbengine/scoped_transaction.h"
#include "dbengine/value_text.h"
#include "platform/errors.h"
#include "platform/staged_file.h"
#include "postcodedb/zip_list_reader.h"

namespace postcodedb {
namespace {

struct TListShape {
  std::vector<std::string> Columns;
  std::vector<std::size_t> Widths;  // characters of each column's longest value, at least 1
};

// Reads the whole list once: every line checked, every column measured.
TListShape MeasureList(const std::string& path) {
  ZipListReader list(path);
  TListShape shape{list.Columns(), std::vector<std::size_t>(list.Columns().size(), 1)};
  std::vector<std::string> values;
  while (list.Next(values)) {
    for (std::size_t c = 0; c < values.size(); ++c)
      shape.Widths[c] = std::max(shape.Widths[c], dbengine::CharacterCount(values[c]));
  }
  return shape;
}

std::string CreateStatement(const TListShape& shape) {
  std::string sql = std::string("CREATE TABLE ") + kZipTable + " (";
  for (std::size_t c = 0; c < shape.Columns.size(); ++c) {
    if (c > 0) sql += ", ";
    sql += dbengine::QuotedText(shape.Columns[c], '"') + " TEXT(" +
           std::to_string(shape.Widths[c]) + ")";
  }
  return sql + ")";
}

// A row's values go in as parameters :c1, :c2 ...; an empty value is NULL.
std::string InsertStatement(std::size_t columns) {
  std::string sql = std::string("INSERT INTO ") + kZipTable + " VALUES (";
  for (std::size_t c = 1; c <= columns; ++c) sql += (c > 1 ? ",:c" : ":c") + std::to_string(c);
  return sql + ")";
}

void FillDatabase(const std::string& databasePath, const std::string& listPath,
                  const TListShape& shape) {
  dbengine::CreateEmptyDatabase(databasePath);
  dbengine::TADOConnection db;
  db.ConnectionString = dbengine::JetConnectionString(databasePath);
  db.Open();
  dbengine::TScopedTransaction transaction(db);
  db.Execute(CreateStatement(shape));
  const std::string insert = InsertStatement(shape.Columns.size());
  dbengine::TParameters row;
  row.ParseSQL(insert);
  ZipListReader list(listPath);
  std::vector<std::string> values;
  while (list.Next(values)) {
    for (std::size_t c = 0; c < values.size(); ++c) {
      row[static_cast<int>(c)].Value =
          values[c].empty() ? dbengine::TParamValue() : dbengine::TParamValue(std::move(values[c]));
    }
    db.Execute(insert, row);
  }
  transaction.Commit();
}

}  // namespace

void BuildZipDatabase(const std::string& inputPath, const std::string& outputPath) {
  const TListShape shape = MeasureList(inputPath);
  platform::StagedFile database(outputPath);
  FillDatabase(database.Path(), inputPath, shape);
  // The database is data for every user of the programs, not a private file.
  if (chmod(database.Path().c_str(), 0644) != 0)
    throw platform::EInOutError("Cannot share " + database.Path(), errno);
  database.Commit();
}

}  // namespace postcodedb
