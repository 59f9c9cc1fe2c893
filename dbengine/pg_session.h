#pragma once

// Internal to this layer: the connection to a database server, through libpq.

#include <libpq-fe.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dbengine/row_buffer.h"
#include "dbengine/server_link.h"

namespace dbengine {

struct PgResultFree {
  void operator()(PGresult* result) const { PQclear(result); }
};
using PgResult = std::unique_ptr<PGresult, PgResultFree>;

// The values of a statement's placeholders as libpq takes them: as text, whole numbers typed
// bigint and other numbers double precision, text left for the server to type from where it
// stands (as a file takes a value of any kind anywhere), and bytes as bytea.
class PgValues {
 public:
  // For placeholder $number.
  void Set(int number, const CellView& value);
  void SetText(int number, std::string text);
  int Count() const { return static_cast<int>(FTypes.size()); }
  const char* const* Values() const;
  const int* Lengths() const { return FLengths.data(); }
  const int* Formats() const { return FFormats.data(); }
  const Oid* Types() const { return FTypes.data(); }

 private:
  void Grow(int number);

  std::vector<std::optional<std::string>> FBytes;
  std::vector<Oid> FTypes;
  std::vector<int> FFormats;
  std::vector<int> FLengths;
  mutable std::vector<const char*> FPointers;
};

// "$n", the server's placeholder number n.
std::string PgPlaceholder(std::size_t number);

// One connection to the server a link file names. Every call runs on a working connection: one
// that was lost is made again first (and what was prepared on it is prepared again, see
// Generation). A lost connection is an error for the call that met it, telling the user so; the
// next call connects again.
class PgSession {
 public:
  // Connects; throws EDatabaseError when it cannot.
  PgSession(TServerLink link, bool readOnly);
  PgSession(const PgSession&) = delete;
  PgSession& operator=(const PgSession&) = delete;
  ~PgSession();

  // Runs one statement, with values for its placeholders $1, $2 ...; answers its result (rows, or
  // a command's count). Throws EDatabaseError for the server's error.
  PgResult Run(const std::string& sql, const PgValues* values = nullptr);

  // One statement of several sent together. With Describe, the statement is not run: its result
  // describes the columns it would give.
  struct TCommand {
    std::string Sql;
    const PgValues* Values = nullptr;
    bool Describe = false;
  };
  // Sends the statements at once and waits once for all their results, in order: a round trip
  // for several statements. The first that fails throws, and those after it do not run.
  std::vector<PgResult> RunTogether(const std::vector<TCommand>& commands);

  // Changes with every new connection: what a cursor or a transaction was is gone.
  std::uint64_t Generation() const { return FGeneration; }
  bool Usable() const;
  // A name no other cursor of this session has.
  std::string NewName(const char* prefix);

  // The user's transaction. After the connection was lost within one, every statement is refused
  // until it is rolled back (or its commit reports the loss): the rest of it must not run alone.
  void Begin();
  void Commit();
  void Rollback();
  // Whether statements run inside a transaction: the user's or one begun for a change or a read.
  bool InTransaction() const { return FUserTransaction || FOwnTransaction; }

  // A transaction of this session's own, for the statements of one change or one read that
  // spans several statements: begun when none is open (answers whether it began one), and ended
  // by whoever began it. Ending never throws: a failure leaves nothing that must be undone.
  bool BeginOwnTransaction();
  // The same for a caller that sends BEGIN itself, with its first statements: answers whether it
  // must (no transaction is open), and the transaction is then this session's own.
  bool AdoptOwnTransaction();
  // Ends it: `last` (closing a cursor) and a commit sent together, or a rollback.
  void EndOwnTransaction(bool commit, const std::string& last = {});
  // The same for a scope: rolled back unless finished.
  class TOwnTransaction {
   public:
    explicit TOwnTransaction(PgSession& session);
    TOwnTransaction(const TOwnTransaction&) = delete;
    TOwnTransaction& operator=(const TOwnTransaction&) = delete;
    ~TOwnTransaction();  // rolls back unless finished
    void Finish();

   private:
    PgSession& FSession;
    bool FOwn;
  };

 private:
  void Connect();
  void ApplySettings();
  void EnsureConnected();
  [[noreturn]] void Fail(const PGresult* result);

  TServerLink FLink;
  bool FReadOnly;
  PGconn* FConn = nullptr;
  std::uint64_t FGeneration = 0;
  std::uint64_t FNames = 0;
  bool FUserTransaction = false;
  bool FOwnTransaction = false;
  bool FTransactionLost = false;
};

}  // namespace dbengine
