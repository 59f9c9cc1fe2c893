#include "dbengine/pg_session.h"

#include <cstring>

#include "dbengine/errors.h"
#include "dbengine/quoting.h"

namespace dbengine {
namespace {

// Type numbers of the server's own types, as libpq's catalogue headers give them.
constexpr Oid kByteaOid = 17;
constexpr Oid kInt8Oid = 20;
constexpr Oid kFloat8Oid = 701;

// Waiting this long for a server that does not answer, unless the link says otherwise.
constexpr const char* kConnectTimeout = "10";

std::string Trimmed(const char* text) {
  std::string trimmed = text != nullptr ? text : "";
  while (!trimmed.empty() && (trimmed.back() == '\n' || trimmed.back() == ' ')) trimmed.pop_back();
  return trimmed;
}

std::string ServerMessage(const PGresult* result, PGconn* conn) {
  if (result != nullptr) {
    const char* primary = PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY);
    if (primary != nullptr) {
      std::string message = primary;
      if (const char* detail = PQresultErrorField(result, PG_DIAG_MESSAGE_DETAIL))
        message += " (" + std::string(detail) + ")";
      return message;
    }
  }
  return Trimmed(PQerrorMessage(conn));
}

std::string FloatText(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.17g", value);
  return buffer;
}

}  // namespace

std::string PgPlaceholder(std::size_t number) {
  std::string placeholder(1, '$');
  placeholder += std::to_string(number);
  return placeholder;
}

// ---- values ----

void PgValues::Grow(int number) {
  const auto size = static_cast<std::size_t>(number);
  if (FTypes.size() >= size) return;
  FBytes.resize(size);
  FTypes.resize(size, 0);
  FFormats.resize(size, 0);
  FLengths.resize(size, 0);
}

void PgValues::Set(int number, const CellView& value) {
  Grow(number);
  const auto i = static_cast<std::size_t>(number - 1);
  FFormats[i] = 0;
  switch (value.Kind) {
    case CellKind::Null:
      FBytes[i].reset();
      FTypes[i] = 0;
      break;
    case CellKind::Integer:
      FBytes[i] = std::to_string(value.Integer);
      FTypes[i] = kInt8Oid;
      break;
    case CellKind::Float:
      FBytes[i] = FloatText(value.Float);
      FTypes[i] = kFloat8Oid;
      break;
    case CellKind::Text:
      FBytes[i] = std::string(value.Bytes);
      FTypes[i] = 0;
      break;
    case CellKind::Blob:
      FBytes[i] = std::string(value.Bytes);
      FTypes[i] = kByteaOid;
      FFormats[i] = 1;
      break;
  }
  FLengths[i] = FBytes[i] ? static_cast<int>(FBytes[i]->size()) : 0;
}

void PgValues::SetText(int number, std::string text) {
  Grow(number);
  const auto i = static_cast<std::size_t>(number - 1);
  FLengths[i] = static_cast<int>(text.size());
  FBytes[i] = std::move(text);
  FTypes[i] = 0;
  FFormats[i] = 0;
}

const char* const* PgValues::Values() const {
  FPointers.resize(FBytes.size());
  for (std::size_t i = 0; i < FBytes.size(); ++i)
    FPointers[i] = FBytes[i] ? FBytes[i]->data() : nullptr;
  return FPointers.data();
}

// ---- the connection ----

PgSession::PgSession(TServerLink link, bool readOnly)
    : FLink(std::move(link)), FReadOnly(readOnly) {
  Connect();
}

PgSession::~PgSession() {
  PQfinish(FConn);  // the server rolls back an open transaction
}

namespace {

// The connection string's own server options, when it has any.
std::string OptionsOf(const std::string& connInfo) {
  std::string options;
  if (PQconninfoOption* parsed = PQconninfoParse(connInfo.c_str(), nullptr)) {
    for (const PQconninfoOption* option = parsed; option->keyword != nullptr; ++option)
      if (std::strcmp(option->keyword, "options") == 0 && option->val != nullptr)
        options = option->val;
    PQconninfoFree(parsed);
  }
  return options;
}

// The schema first on the search path, as a server option: its name in double quotes, and
// blanks and backslashes escaped as the options string wants them.
std::string SearchPathOption(const std::string& schema) {
  std::string option = "-c search_path=";
  for (char c : QuotedIdentifier(schema)) {
    if (c == ' ' || c == '\\') option += '\\';
    option += c;
  }
  return option;
}

}  // namespace

void PgSession::Connect() {
  // Later entries win: the link's own settings over the defaults, the schema added to the
  // connection string's own options, and UTF-8 over everything, since every text of the engine
  // is UTF-8. A service's options are not known here: its schema is set once connected.
  std::vector<const char*> keywords = {"connect_timeout", "fallback_application_name"};
  std::vector<const char*> values = {kConnectTimeout, "zarize"};
  std::string options;
  if (!FLink.Service.empty()) {
    keywords.push_back("service");
    values.push_back(FLink.Service.c_str());
  } else {
    keywords.push_back("dbname");
    values.push_back(FLink.ConnInfo.c_str());
    if (!FLink.Schema.empty()) {
      options = OptionsOf(FLink.ConnInfo);
      if (!options.empty()) options += ' ';
      options += SearchPathOption(FLink.Schema);
      keywords.push_back("options");
      values.push_back(options.c_str());
    }
  }
  keywords.push_back("client_encoding");
  values.push_back("UTF8");
  keywords.push_back(nullptr);
  values.push_back(nullptr);
  FConn = PQconnectdbParams(keywords.data(), values.data(), 1);
  if (FConn == nullptr) throw EDatabaseError("Out of memory connecting to the database server");
  if (PQstatus(FConn) != CONNECTION_OK) {
    const std::string why = Trimmed(PQerrorMessage(FConn));
    PQfinish(FConn);
    FConn = nullptr;
    throw EDatabaseError("The database server cannot be reached: " + why);
  }
  // The server's notices (a cascade, an index there already) are for a console, not the user.
  PQsetNoticeProcessor(
      FConn, [](void*, const char*) {}, nullptr);
  ApplySettings();
}

void PgSession::ApplySettings() {
  ++FGeneration;
  if (!FLink.Schema.empty() && !FLink.Service.empty()) {
    PgValues schema;
    schema.SetText(1, FLink.Schema);
    Run("SELECT pg_catalog.set_config('search_path', pg_catalog.quote_ident($1), false)", &schema);
  }
  if (FReadOnly) Run("SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY");
}

bool PgSession::Usable() const {
  return PQstatus(FConn) == CONNECTION_OK;
}

void PgSession::EnsureConnected() {
  if (FTransactionLost)
    throw EDatabaseError(
        "The connection to the database server was lost in the middle of a transaction, which "
        "was rolled back; nothing more of it can run.");
  if (Usable()) return;
  PQreset(FConn);
  if (!Usable())
    throw EDatabaseError("The database server cannot be reached: " +
                         Trimmed(PQerrorMessage(FConn)));
  ApplySettings();
}

void PgSession::Fail(const PGresult* result) {
  const std::string message = ServerMessage(result, FConn);
  if (Usable()) throw EDatabaseError(message);
  // The transaction went with the connection; the next call connects again.
  FTransactionLost = FUserTransaction;
  FUserTransaction = false;
  FOwnTransaction = false;
  throw EDatabaseError("The connection to the database server was lost (" + message +
                       "); the next action connects again.");
}

PgResult PgSession::Run(const std::string& sql, const PgValues* values) {
  EnsureConnected();
  PgResult result(values == nullptr
                      ? PQexecParams(FConn, sql.c_str(), 0, nullptr, nullptr, nullptr, nullptr, 0)
                      : PQexecParams(FConn, sql.c_str(), values->Count(), values->Types(),
                                     values->Values(), values->Lengths(), values->Formats(), 0));
  const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
  if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) Fail(result.get());
  return result;
}

std::vector<PgResult> PgSession::RunTogether(const std::vector<TCommand>& commands) {
  EnsureConnected();
  bool sent = PQenterPipelineMode(FConn) == 1;
  for (const TCommand& command : commands) {
    const PgValues* values = command.Values;
    const int count = values != nullptr ? values->Count() : 0;
    if (command.Describe)
      sent = sent &&
             PQsendPrepare(FConn, "", command.Sql.c_str(), count,
                           values != nullptr ? values->Types() : nullptr) == 1 &&
             PQsendDescribePrepared(FConn, "") == 1;
    else
      sent = sent && PQsendQueryParams(FConn, command.Sql.c_str(), count,
                                       values != nullptr ? values->Types() : nullptr,
                                       values != nullptr ? values->Values() : nullptr,
                                       values != nullptr ? values->Lengths() : nullptr,
                                       values != nullptr ? values->Formats() : nullptr, 0) == 1;
  }
  sent = sent && PQpipelineSync(FConn) == 1;
  std::vector<PgResult> results;
  PgResult failed;
  // Each statement's result, then the end of it (null); a Describe answers for its prepare
  // first. Then the sync that ends them all.
  const auto next = [this] { return PgResult(PQgetResult(FConn)); };
  for (const TCommand& command : commands) {
    if (!sent) break;
    for (int part = command.Describe ? 2 : 1; part > 0; --part) {
      PgResult result = next();
      while (PgResult end = next()) {
      }
      const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
      if (status == PGRES_FATAL_ERROR && !failed) failed = std::move(result);
      if (part == 1) results.push_back(std::move(result));
    }
  }
  while (PgResult rest = next())
    if (PQresultStatus(rest.get()) == PGRES_PIPELINE_SYNC) break;
  PQexitPipelineMode(FConn);
  if (!sent || failed) Fail(failed.get());
  return results;
}

std::string PgSession::NewName(const char* prefix) {
  return std::string(prefix) + std::to_string(++FNames);
}

// ---- transactions ----

void PgSession::Begin() {
  if (FOwnTransaction) throw EDatabaseError("A transaction is already in progress.");
  Run("BEGIN");
  FUserTransaction = true;
}

void PgSession::Commit() {
  if (FTransactionLost) {
    FTransactionLost = false;
    throw EDatabaseError(
        "The connection to the database server was lost in the middle of the transaction; "
        "nothing of it was stored.");
  }
  const PgResult result = Run("COMMIT");
  FUserTransaction = false;
  // A transaction in which a statement failed ends in a rollback, whatever COMMIT asked.
  if (std::strcmp(PQcmdStatus(result.get()), "ROLLBACK") == 0)
    throw EDatabaseError("The transaction failed and was rolled back; nothing of it was stored.");
}

void PgSession::Rollback() {
  FTransactionLost = false;
  if (!FUserTransaction) return;
  FUserTransaction = false;
  // On a lost connection the server rolled it back already.
  if (Usable()) PgResult(PQexec(FConn, "ROLLBACK"));
}

bool PgSession::BeginOwnTransaction() {
  if (InTransaction()) return false;
  Run("BEGIN");
  FOwnTransaction = true;
  return true;
}

bool PgSession::AdoptOwnTransaction() {
  if (InTransaction()) return false;
  FOwnTransaction = true;
  return true;
}

void PgSession::EndOwnTransaction(bool commit, const std::string& last) {
  if (!FOwnTransaction) return;
  FOwnTransaction = false;
  if (!Usable()) return;
  const PGTransactionStatusType state = PQtransactionStatus(FConn);
  // Not begun after all (the BEGIN sent with the statements never ran), or failed.
  if (state == PQTRANS_IDLE) return;
  if (!commit || state == PQTRANS_INERROR) {
    PgResult(PQexec(FConn, "ROLLBACK"));
    return;
  }
  try {
    if (last.empty())
      Run("COMMIT");
    else
      RunTogether({{last}, {"COMMIT"}});
  } catch (const EDatabaseError&) {
    // Nothing was changed: a failed end leaves nothing to undo.
    if (Usable() && PQtransactionStatus(FConn) != PQTRANS_IDLE) PgResult(PQexec(FConn, "ROLLBACK"));
  }
}

PgSession::TOwnTransaction::TOwnTransaction(PgSession& session)
    : FSession(session), FOwn(session.BeginOwnTransaction()) {}

PgSession::TOwnTransaction::~TOwnTransaction() {
  if (FOwn) FSession.EndOwnTransaction(false);
}

void PgSession::TOwnTransaction::Finish() {
  if (!FOwn) return;
  FOwn = false;
  // Committed through Run, so that a failed commit is an error like any other.
  FSession.FOwnTransaction = false;
  const PgResult result = FSession.Run("COMMIT");
  if (std::strcmp(PQcmdStatus(result.get()), "ROLLBACK") == 0)
    throw EDatabaseError("The change failed and was rolled back.");
}

}  // namespace dbengine
