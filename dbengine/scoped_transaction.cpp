#include "dbengine/scoped_transaction.h"

#include "dbengine/connection.h"

namespace dbengine {

TScopedTransaction::TScopedTransaction(TADOConnection& connection) : FConnection(connection) {
  FConnection.BeginTrans();
}

TScopedTransaction::~TScopedTransaction() {
  if (!FPending || !FConnection.Connected() || !FConnection.InTransaction()) return;
  try {
    FConnection.RollbackTrans();
  } catch (...) {
    // Nothing is left to undo it with; closing the connection rolls back what remains.
  }
}

void TScopedTransaction::Commit() {
  FConnection.CommitTrans();
  FPending = false;
}

}  // namespace dbengine
