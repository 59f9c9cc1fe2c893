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
// EDatabaseError when the row is no longer there.
void UpdateRow(sqlite3* db, const std::string& table, std::int64_t rowId,
               const std::vector<std::string>& columns, const std::vector<CellValue>& values,
               const std::vector<bool>& changed);
void DeleteRow(sqlite3* db, const std::string& table, std::int64_t rowId);

// Makes the index that gives the table's rows in the order of these columns (ties by rowid),
// unless the file has it already or cannot take it: without it, opening a large table, jumping
// to its end and scrolling would each sort every row. A failure changes nothing: the rows are
// then sorted when read.
void EnsureOrderIndex(sqlite3* db, const std::string& table,
                      const std::vector<std::string>& columns);

}  // namespace dbengine
