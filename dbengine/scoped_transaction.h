#pragma once

namespace dbengine {

class TADOConnection;

// A transaction for as long as it is in scope: begun when made, and rolled back when the scope
// ends without Commit, by an error, an early return or anything else, so that a failure never
// leaves half of a change in the file.
class TScopedTransaction {
 public:
  explicit TScopedTransaction(TADOConnection& connection);
  TScopedTransaction(const TScopedTransaction&) = delete;
  TScopedTransaction& operator=(const TScopedTransaction&) = delete;
  ~TScopedTransaction();

  void Commit();

 private:
  TADOConnection& FConnection;
  bool FPending = true;
};

}  // namespace dbengine
