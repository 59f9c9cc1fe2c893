#pragma once

// Internal to this layer: columns that each user of a server database keeps for themselves.

#include <string>

namespace dbengine {

class PgCatalog;
class PgSession;

// Turns column C of table T (which needs a single-column integer primary key K) into one each
// role keeps for itself, every other column staying shared:
// - T's rows move to the table T_shared, without C;
// - T_per_user holds (role_name, K, C) for each role that set C on a row, each role seeing and
//   changing only its own (row-level security), and goes with the row;
// - T becomes a view with T's columns in T's order, whose C is the connected role's;
// - the trigger T_write (INSTEAD OF) takes inserts, updates and deletes through the view: the
//   shared columns into T_shared (only when they changed, so that a row's version changes only
//   with them), C into T_per_user.
// Statements, datasets and conditions on C (WHERE C=1) keep working on T unchanged. All in one
// transaction: a failure leaves T as it was.
void MakeServerColumnPerUser(PgSession& session, PgCatalog& catalog, const std::string& table,
                             const std::string& column);

// Lets `role` read and change the rows of a table (and of the tables behind a view made above),
// and use its schema.
void ShareServerTable(PgSession& session, PgCatalog& catalog, const std::string& table,
                      const std::string& role);

}  // namespace dbengine
