#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "dbengine/connection.h"
#include "platform/testing/scratch_dir.h"

namespace dbengine::testing {

// The address database's two statements, as the data module runs them.
inline constexpr const char* kGroupTableSql =
    "CREATE TABLE GROUP_ID (GID Counter Primary Key,그룹명 TEXT(32))";
inline constexpr const char* kAddressTableSql =
    "CREATE TABLE addr_rec (ID Counter Primary Key,GID LONG,SDATE DATETIME,선택 YesNo,이름 "
    "TEXT(32),"
    "존칭 TEXT(20),우편번호 TEXT(7),주소 TEXT(255),상세주소 TEXT(100),전화 TEXT(20),팩스 TEXT(20),"
    "휴대폰 TEXT(20),회사 TEXT(30),부서 TEXT(30),직책 TEXT(30),회사전화 TEXT(30),회사팩스 TEXT(30),"
    "회사우편번호 TEXT(7),회사주소 TEXT(255),C상세주소 TEXT(100),발송명 TEXT(32),발송회사 TEXT(30),"
    "발송부서 TEXT(30),발송직책 TEXT(30),발송우편번호 TEXT(7),발송주소 TEXT(255),D상세주소 "
    "TEXT(100),"
    "발송 TEXT(10))";

// The connection string for a file (quoted), with some of the properties the programs pass.
std::string ConnectionStringFor(const std::string& path);

// A new database file at path, holding what the statements make.
void CreateDatabase(const std::string& path, std::initializer_list<const char*> statements);

// Runs the statements on the file from another process, as another program would; fails the
// test when they did not all run.
void ChangeFromAnotherProcess(const std::string& path, const std::vector<std::string>& statements);

// A scratch folder with one database file made by the statements, and a connection to it.
class DatabaseFixture {
 public:
  explicit DatabaseFixture(std::initializer_list<const char*> statements);
  const std::string& Path() const { return FPath; }
  // Opens conn (again) on the file.
  void Connect();
  // A first column of the first row of a statement run on a connection of its own.
  std::string Scalar(const std::string& jetSql) const;

  platform::testing::ScratchDir scratch;
  TADOConnection conn;

 private:
  std::string FPath;
};

}  // namespace dbengine::testing
