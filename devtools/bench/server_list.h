#pragma once

#include <libpq-fe.h>

#include <memory>
#include <string>

#include "dbengine/testing/test_server.h"
#include "platform/testing/scratch_dir.h"

namespace bench {

// An address list of `records` generated records (the same ones AddressDatabase makes, with the
// same ticks) on a throwaway PostgreSQL server of this process, made as `zarize-db create
// --server` makes a list: the two statements of a new database, the tick kept by each person,
// the index of the list's order. A person uses it through their own link file. Null when the
// server programs are missing (Missing() says why).
class TServerList {
 public:
  static std::unique_ptr<TServerList> Make(int records, int tickedPercent);
  static std::string Missing() { return dbengine::testing::TestServer::Missing(); }

  // The person's link file.
  const std::string& Link() const { return FLink; }
  // The same person's libpq connection string, the list's schema first on the search path.
  std::string ConnInfo() const;

 private:
  TServerList() = default;
  void Fill(int records, int tickedPercent);

  platform::testing::ScratchDir FScratch;
  std::unique_ptr<dbengine::testing::TestServer> FServer;
  std::unique_ptr<dbengine::testing::ServerSchema> FSchema;
  std::string FLink;
};

// The baseline side on a server: libpq with nothing of ours in between. Every failure throws.
class TRawServer {
 public:
  explicit TRawServer(const std::string& connInfo);
  ~TRawServer();
  TRawServer(const TRawServer&) = delete;
  TRawServer& operator=(const TRawServer&) = delete;

  // Runs the statement and reads every value of every row; answers the rows and the bytes of the
  // values, so that the reading cannot be left out.
  std::size_t Walk(const std::string& sql);

 private:
  PGconn* FConn = nullptr;
};

}  // namespace bench
