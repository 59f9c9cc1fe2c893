#include "dbengine/pg_statement.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

#include "dbengine/errors.h"
#include "dbengine/parameters.h"
#include "dbengine/pg_catalog.h"
#include "dbengine/server_sql.h"

namespace dbengine {
namespace {

// The first batch a cursor fetches, and the most it ever fetches at once: a walk that goes on
// fetches ever more at a time, so that long walks cost few round trips and short ones little.
constexpr int kFirstBatch = 256;
constexpr int kLargestBatch = 8192;

// The server's own types, as its catalogue numbers them.
CellKind KindOf(Oid type) {
  switch (type) {
    case 16:  // boolean
    case 20:  // bigint
    case 21:  // smallint
    case 23:  // integer
    case 26:  // oid
      return CellKind::Integer;
    case 700:   // real
    case 701:   // double precision
    case 1700:  // numeric
      return CellKind::Float;
    case 17:  // bytea
      return CellKind::Blob;
    default:
      return CellKind::Text;
  }
}

// What a column that shows no table column says of its field, from its type alone.
std::string DeclaredType(Oid type, int modifier) {
  switch (type) {
    case 16:
      return "BOOLEAN";
    case 20:
    case 21:
    case 23:
      return "INTEGER";
    case 700:
      return "REAL";
    case 701:
    case 1700:
      return "DOUBLE";
    case 1043:  // character varying(n): the modifier counts 4 more
      return modifier > 4 ? "TEXT(" + std::to_string(modifier - 4) + ")" : "TEXT";
    default:
      return "";
  }
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 0;
}

// Whether a plan (EXPLAIN's lines) has a node that sorts every row before the first comes.
bool PlanSorts(const PGresult* plan) {
  for (int row = 0; row < PQntuples(plan); ++row) {
    std::string_view line = PQgetvalue(plan, row, 0);
    while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    if (line.rfind("->", 0) == 0) line.remove_prefix(2);
    while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    if (line == "Sort") return true;
  }
  return false;
}

}  // namespace

PgStatement::PgStatement(PgSession& session, PgCatalog& catalog, const std::string& sql,
                         TReading reading)
    : FSession(session),
      FCatalog(catalog),
      FSql(NumberedPlaceholders(sql, FNames)),
      FReading(reading) {}

PgStatement::~PgStatement() {
  Reset();
}

void PgStatement::Describe(const PGresult* result) const {
  std::vector<TColumn> columns;
  for (int i = 0; i < PQnfields(result); ++i) {
    const Oid type = PQftype(result, i);
    columns.push_back({PQfname(result, i), type, PQfmod(result, i), PQftable(result, i),
                       PQftablecol(result, i), KindOf(type)});
  }
  FColumns = std::move(columns);
  FDecoded.assign(FColumns->size(), std::string());
}

void PgStatement::KnowColumns(int leading, Oid relation, const std::vector<TPgColumn>& columns) {
  constexpr Oid kBigint = 20;
  std::vector<TColumn> known(static_cast<std::size_t>(leading),
                             TColumn{"", kBigint, -1, InvalidOid, 0, CellKind::Integer});
  for (const TPgColumn& column : columns)
    known.push_back(
        {column.Name, column.ValueType, -1, relation, column.Number, KindOf(column.ValueType)});
  FDecoded.assign(known.size(), std::string());
  FColumns = std::move(known);
}

int PgStatement::ColumnCount() const {
  if (!FColumns) {
    const std::vector<PgResult> described =
        FSession.RunTogether({{FSql, FValues.Count() > 0 ? &FValues : nullptr, true}});
    Describe(described.front().get());
  }
  return static_cast<int>(FColumns->size());
}

void PgStatement::Bind(int index, const CellView& value) {
  FValues.Set(index, value);
}

void PgStatement::Bind(const TParameters& parameters) {
  for (std::size_t i = 0; i < FNames.size(); ++i) {
    if (FNames[i].empty()) continue;
    const TParameter* parameter = parameters.FindParam(FNames[i]);
    if (parameter == nullptr) throw EDatabaseError("Parameter '" + FNames[i] + "' has no value");
    const TParamValue& value = parameter->Value;
    const int number = static_cast<int>(i) + 1;
    switch (value.Kind()) {
      case TParamValue::TKind::Null:
        FValues.Set(number, CellView{});
        break;
      case TParamValue::TKind::Integer:
        FValues.Set(number, CellView{CellKind::Integer, value.Integer(), 0, {}});
        break;
      case TParamValue::TKind::Float:
        FValues.Set(number, CellView{CellKind::Float, 0, value.Float(), {}});
        break;
      case TParamValue::TKind::Text:
        FValues.Set(number, CellView{CellKind::Text, 0, 0, value.Text()});
        break;
    }
  }
}

void PgStatement::Start() {
  // A placeholder never bound reads as null, as in a file.
  if (FValues.Count() < static_cast<int>(FNames.size()))
    FValues.Set(static_cast<int>(FNames.size()), CellView{});
  const PgValues* values = FValues.Count() > 0 ? &FValues : nullptr;
  if (FReading == TReading::Few) {
    FResult = FSession.Run(FSql, values);
    if (!FColumns) Describe(FResult.get());
    return;
  }
  const bool withinCall = FReading == TReading::WithinCall;
  std::vector<PgSession::TCommand> commands;
  if (withinCall && FSession.AdoptOwnTransaction()) {
    FOwnTransaction = true;
    commands.push_back({"BEGIN"});
  }
  const std::string cursor = FSession.NewName("zarize_cursor_");
  FBatch = kFirstBatch;
  commands.push_back({"DECLARE " + cursor + " NO SCROLL CURSOR " +
                          (withinCall ? "" : "WITH HOLD ") + "FOR " + FSql,
                      values});
  commands.push_back({"FETCH FORWARD " + std::to_string(FBatch) + " FROM " + cursor});
  std::vector<PgResult> results = FSession.RunTogether(commands);
  FCursor = cursor;
  FCursorGeneration = FSession.Generation();
  FResult = std::move(results.back());
  if (!FColumns) Describe(FResult.get());
}

void PgStatement::Fetch() {
  FResult = FSession.Run("FETCH FORWARD " + std::to_string(FBatch) + " FROM " + FCursor);
  FRow = -1;
}

bool PgStatement::Step() {
  if (FDone) return false;
  if (!FStarted) {
    FStarted = true;
    FRow = -1;
    Start();
  }
  if (++FRow < PQntuples(FResult.get())) return true;
  // A cursor that gave a whole batch may have more.
  if (!FCursor.empty() && PQntuples(FResult.get()) == FBatch) {
    FBatch = std::min(FBatch * 2, kLargestBatch);
    Fetch();
    if (++FRow < PQntuples(FResult.get())) return true;
  }
  FDone = true;
  return false;
}

void PgStatement::Reset() {
  FResult.reset();
  FRow = -1;
  FStarted = false;
  FDone = false;
  // A cursor of an earlier connection went with it.
  const std::string close = !FCursor.empty() && FSession.Generation() == FCursorGeneration
                                ? "CLOSE " + FCursor
                                : std::string();
  FCursor.clear();
  if (FOwnTransaction) {
    FOwnTransaction = false;
    FSession.EndOwnTransaction(true, close);
  } else if (!close.empty()) {
    try {
      if (FSession.Usable()) FSession.Run(close);
    } catch (const EDatabaseError&) {
      // The user's transaction failed, and took the cursor with it.
    }
  }
}

CellView PgStatement::Column(int index) const {
  PGresult* result = FResult.get();
  CellView cell;
  if (PQgetisnull(result, FRow, index)) return cell;
  const char* text = PQgetvalue(result, FRow, index);
  const auto length = static_cast<std::size_t>(PQgetlength(result, FRow, index));
  cell.Kind = (*FColumns)[static_cast<std::size_t>(index)].Kind;
  switch (cell.Kind) {
    case CellKind::Integer:
      if (length == 1 && (*text == 't' || *text == 'f'))
        cell.Integer = *text == 't' ? 1 : 0;
      else
        std::from_chars(text, text + length, cell.Integer);
      break;
    case CellKind::Float:
      cell.Float = std::strtod(text, nullptr);
      break;
    case CellKind::Blob: {
      // "\x" and two hex digits a byte.
      std::string& bytes = FDecoded[static_cast<std::size_t>(index)];
      bytes.clear();
      for (std::size_t i = 2; i + 1 < length; i += 2)
        bytes += static_cast<char>(HexDigit(text[i]) * 16 + HexDigit(text[i + 1]));
      cell.Bytes = bytes;
      break;
    }
    default:
      cell.Bytes = std::string_view(text, length);
      break;
  }
  return cell;
}

std::vector<ColumnInfo> PgStatement::DescribeColumns(int first) const {
  std::vector<ColumnInfo> columns;
  const auto count = static_cast<std::size_t>(ColumnCount());
  for (std::size_t i = static_cast<std::size_t>(first); i < count; ++i) {
    const TColumn& column = (*FColumns)[i];
    const TFieldDef def =
        column.Table != InvalidOid
            ? FCatalog.Field(column.Table, column.TableColumn)
            : FieldDefFromDeclaredType(DeclaredType(column.Type, column.Modifier), false);
    columns.push_back({column.Name, def});
  }
  return columns;
}

// Asked of the plan the server makes for reading the rows through a cursor.
bool PgStatement::Sorted() const {
  if (!FSorted) {
    const PgResult plan =
        FSession.Run("EXPLAIN (COSTS OFF) DECLARE zarize_plan NO SCROLL CURSOR FOR " + FSql,
                     FValues.Count() > 0 ? &FValues : nullptr);
    FSorted = PlanSorts(plan.get());
  }
  return *FSorted;
}

}  // namespace dbengine
