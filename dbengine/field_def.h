#pragma once

#include <string>

#include "dbengine/types.h"

namespace dbengine {

// What a column's declared type says about the field that shows it.
struct TFieldDef {
  TFieldType DataType = ftUnknown;
  int Size = 0;  // characters for ftWideString (0 for long text), 0 for the other kinds
};

// Maps a declared column type (as written in CREATE TABLE, any case) to a field kind:
// LONG/INTEGER -> ftInteger (ftAutoInc when isRowIdKey), DATETIME -> ftDateTime,
// YESNO -> ftBoolean, TEXT(n) -> ftWideString of size n, TEXT -> size 255, LONGTEXT/MEMO ->
// ftWideString of size 0 (no limit), REAL/DOUBLE/FLOAT -> ftFloat. A server's spellings read
// the same ("character varying(32)" as TEXT(32), "double precision" as DOUBLE, "timestamp ..."
// as DATETIME). An empty or unknown type gives ftUnknown.
TFieldDef FieldDefFromDeclaredType(const std::string& declaredType, bool isRowIdKey);

}  // namespace dbengine
