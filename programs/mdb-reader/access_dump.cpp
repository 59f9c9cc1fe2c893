// The only place that includes the library that parses Access files: it runs in a process of its
// own, since a damaged file can crash that library or make it loop.
#include "programs/mdb-reader/access_dump.h"

#include <iconv.h>

#include <cstdlib>
#include <memory>
#include <vector>

// The library's header includes glib's inside extern "C", which C++ takes only when glib's
// header came first.
#include <glib.h>
#include <mdbtools.h>

namespace mdbreader {
namespace {

// Room for a bound value; MEMO values are cut at this size, so it is far above any genuine one.
constexpr std::size_t kBindSize = std::size_t{1} << 20;
constexpr const char* kDateTimeFormat = "%Y-%m-%d %H:%M:%S";
constexpr unsigned kLibraryCodePage = 1252;

struct HandleCloser {
  void operator()(MdbHandle* mdb) const { mdb_close(mdb); }
};
using Handle = std::unique_ptr<MdbHandle, HandleCloser>;

struct TableFreer {
  void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};
using Table = std::unique_ptr<MdbTableDef, TableFreer>;

bool IconvKnows(const std::string& charset) {
  const iconv_t cd = iconv_open("UTF-8", charset.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  iconv_close(cd);
  return true;
}

Handle OpenFile(const std::string& path) {
  Handle mdb(mdb_open(path.c_str(), MDB_NOFLAGS));
  if (!mdb) throw EAccessReadError("not an Access database");
  return mdb;
}

// Jet 3 text is in the code page of the machine that wrote the file, which its header names; the
// library assumes 1252 unless told otherwise before it opens the file.
Handle Open(const std::string& path) {
  ::unsetenv("MDB_JET3_CHARSET");
  ::unsetenv("MDB_ICONV");  // the library's output would follow it instead of UTF-8
  Handle mdb = OpenFile(path);
  const unsigned codePage = mdb->f->code_page;
  if (mdb->f->jet_version != MDB_VER_JET3 || codePage == 0 || codePage == kLibraryCodePage)
    return mdb;
  const std::string charset = "CP" + std::to_string(codePage);
  if (!IconvKnows(charset)) throw EAccessReadError("unknown code page " + charset);
  ::setenv("MDB_JET3_CHARSET", charset.c_str(), 1);
  mdb.reset();
  return OpenFile(path);
}

dbengine::TAccessKind Kind(const MdbColumn& column) {
  using dbengine::TAccessKind;
  switch (column.col_type) {
    case MDB_BOOL:
      return TAccessKind::Boolean;
    case MDB_BYTE:
      return TAccessKind::Byte;
    case MDB_INT:
      return TAccessKind::Integer;
    case MDB_LONGINT:
      return column.is_long_auto ? TAccessKind::AutoNumber : TAccessKind::LongInteger;
    case MDB_COMPLEX:
      return TAccessKind::LongInteger;  // the number of the attached records
    case MDB_MONEY:
      return TAccessKind::Currency;
    case MDB_FLOAT:
      return TAccessKind::Single;
    case MDB_DOUBLE:
      return TAccessKind::Double;
    case MDB_NUMERIC:
      return TAccessKind::Numeric;
    case MDB_DATETIME:
      return TAccessKind::DateTime;
    case MDB_BINARY:
      return TAccessKind::Binary;
    case MDB_OLE:
      return TAccessKind::Ole;
    case MDB_MEMO:
      return TAccessKind::Memo;
    case MDB_REPID:
      return TAccessKind::Guid;
    default:
      return TAccessKind::Text;
  }
}

// Characters for text: Jet 4 and later store it as UCS-2, two bytes a character.
int Size(const MdbHandle& mdb, const MdbColumn& column) {
  if (column.col_type == MDB_TEXT && mdb.f->jet_version != MDB_VER_JET3) return column.col_size / 2;
  return column.col_size;
}

MdbColumn& Column(MdbTableDef& table, unsigned index) {
  return *static_cast<MdbColumn*>(g_ptr_array_index(table.columns, index));
}

// The library ends a table quietly at a page it cannot read, as in a file cut short: a table
// that declares more rows than were found has lost pages.
void RequireDeclaredRows(const MdbTableDef& table, unsigned found) {
  if (found < table.num_rows)
    throw EAccessReadError("table " + std::string(table.name) + " has lost rows");
}

void DumpRows(MdbHandle& mdb, MdbTableDef& table, dbengine::TAccessStreamWriter& writer) {
  const unsigned count = table.num_cols;
  std::vector<std::unique_ptr<char[]>> values(count);
  std::vector<int> lengths(count, 0);
  for (unsigned i = 0; i < count; ++i) {
    values[i].reset(new char[kBindSize]);
    mdb_bind_column(&table, static_cast<int>(i) + 1, values[i].get(), &lengths[i]);
  }
  mdb_rewind_table(&table);
  unsigned rows = 0;
  while (mdb_fetch_row(&table)) {
    ++rows;
    writer.BeginRow();
    for (unsigned i = 0; i < count; ++i) {
      MdbColumn& column = Column(table, i);
      const auto length = static_cast<std::size_t>(lengths[i]);
      if (length == 0) {
        writer.Null();
      } else if (column.col_type == MDB_OLE) {
        std::size_t size = 0;
        const std::unique_ptr<void, decltype(&std::free)> whole(
            mdb_ole_read_full(&mdb, &column, &size), &std::free);
        if (!whole) throw EAccessReadError("an OLE value of " + std::string(column.name));
        writer.Value({static_cast<const char*>(whole.get()), size});
      } else {
        if (length >= kBindSize - 1)
          throw EAccessReadError("a value of " + std::string(column.name) + " is too long");
        writer.Value({values[i].get(), length});
      }
    }
    writer.EndRow();
  }
  RequireDeclaredRows(table, rows);
}

void DumpTable(MdbHandle& mdb, MdbCatalogEntry& entry, dbengine::TAccessStreamWriter& writer) {
  const Table table(mdb_read_table(&entry));
  if (!table || !mdb_read_columns(table.get()))
    throw EAccessReadError("table " + std::string(entry.object_name));
  dbengine::TAccessTable header{table->name, {}};
  for (unsigned i = 0; i < table->num_cols; ++i) {
    const MdbColumn& column = Column(*table, i);
    header.Columns.push_back({column.name, Kind(column), Size(mdb, column)});
  }
  writer.Table(header);
  DumpRows(mdb, *table, writer);
}

// Every genuine file lists its objects, its own system tables among them, in this table.
void RequireWholeCatalogue(MdbHandle& mdb) {
  MdbCatalogEntry* entry = mdb_get_catalogentry_by_name(&mdb, "MSysObjects");
  const Table table(entry != nullptr ? mdb_read_table(entry) : nullptr);
  if (!table || !mdb_read_columns(table.get())) throw EAccessReadError("no catalogue");
  mdb_rewind_table(table.get());
  unsigned rows = 0;
  while (mdb_fetch_row(table.get())) ++rows;
  RequireDeclaredRows(*table, rows);
}

}  // namespace

void DumpAccessFile(const std::string& path, dbengine::TAccessStreamWriter& writer) {
  const Handle mdb = Open(path);
  mdb_set_date_fmt(mdb.get(), kDateTimeFormat);
  mdb_set_shortdate_fmt(mdb.get(), kDateTimeFormat);
  if (!mdb_read_catalog(mdb.get(), MDB_TABLE)) throw EAccessReadError("no catalogue");
  RequireWholeCatalogue(*mdb);
  // Only now: raising it before the catalogue is read crashes the library.
  mdb_set_bind_size(mdb.get(), kBindSize);
  for (unsigned i = 0; i < mdb->num_catalog; ++i) {
    auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
    if (mdb_is_user_table(entry)) DumpTable(*mdb, *entry, writer);
  }
  writer.End();
}

}  // namespace mdbreader
