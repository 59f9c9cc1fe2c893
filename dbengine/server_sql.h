#pragma once

// Internal to this layer: the Jet dialect on a database server (PostgreSQL).

#include <functional>
#include <string>
#include <vector>

namespace dbengine {

// How the server spells a name that a statement gives without quotes: the name as the database
// keeps it when one matches without regard to ASCII case, else empty. The server itself would
// fold an unquoted name to lower case, and "GID" would not be found.
using TServerNameLookup = std::function<std::string(const std::string& name)>;

// Rewrites one statement (or a condition) of the Jet dialect into the server's:
// - the closing ';' goes;
// - in CREATE TABLE and ALTER TABLE ... ADD, the names defined keep their case (in double
//   quotes), and the Jet types become the server's: Counter an auto-numbered integer, LONG
//   integer, YesNo the domain yesno (a small integer: 1, 0 or null, as in a file), DATETIME the
//   domain datetime (ISO text, as in a file), TEXT(n) varchar(n), LONGTEXT and MEMO the domain
//   longtext, DOUBLE double precision, SINGLE real, SHORT and BYTE smallint;
// - other unquoted names, and names in [] or ``, become the names the lookup (or the statement
//   itself) knows, in double quotes;
// - TRUE and FALSE become 1 and 0; LIKE matches without regard to ASCII case and with no escape
//   character, as in a file.
// Text in quotes, placeholders and comments are never touched.
std::string TranslateJetSqlForServer(const std::string& jetSql, const TServerNameLookup& lookup);

// Whether the statement makes or changes tables, so that what the server knows of its names
// must be read again afterwards.
bool ChangesDefinitions(const std::string& sql);
// Whether a statement of the Jet dialect declares columns of a table, whose types may need the
// domains yesno, datetime and longtext.
bool DeclaresColumns(const std::string& jetSql);

// The statement with its placeholders ?N, ? and :name numbered as the server takes them ($1,
// $2 ...), as a file numbers them: ?N is N, a bare ? and each new :name the next number, a
// :name seen before its earlier number. `names` gets, for each number, the :name it stands for,
// empty for a ?N.
std::string NumberedPlaceholders(const std::string& sql, std::vector<std::string>& names);

}  // namespace dbengine
