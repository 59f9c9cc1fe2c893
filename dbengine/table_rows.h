#pragma once

// Internal to this layer: the statements a table dataset stores its rows with, keyed by rowid.

#include <cstdint>
#include <string>
#include <vector>

#include "dbengine/row_buffer.h"

struct sqlite3;

namespace dbengine {

// An identifier in double quotes, inner quotes doubled.
std::string QuotedIdentifier(const std::string& name);

// The row's statement: its columns in the table's order behind the rowid.
std::string SelectRowsStatement(const std::string& table);

// Stores the changed values as a new row; answers its rowid.
std::int64_t InsertRow(sqlite3* db, const std::string& table,
                       const std::vector<std::string>& columns,
                       const std::vector<CellValue>& values, const std::vector<bool>& changed);
void UpdateRow(sqlite3* db, const std::string& table, std::int64_t rowId,
               const std::vector<std::string>& columns, const std::vector<CellValue>& values,
               const std::vector<bool>& changed);
void DeleteRow(sqlite3* db, const std::string& table, std::int64_t rowId);
// Reads the row back as stored (auto-numbers, defaults, the column's own conversions).
Record ReadRow(sqlite3* db, const std::string& table, std::int64_t rowId);

}  // namespace dbengine
