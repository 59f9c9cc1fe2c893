// Zeravu's forms on an address list kept on the test run's PostgreSQL server: the link file
// opens as a database does, and each person's label hand-off holds only the records they ticked.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "addressbook/server_list.h"
#include "dbengine/server_link.h"
#include "dbengine/testing/test_server.h"
#include "platform/cp949.h"
#include "platform/paths.h"
#include "platform/profile_file.h"
#include "zeravu/tests/zeravu_fixture.h"

namespace zeravu::testing {
namespace {

class ServerList : public ::testing::Test, public ZeravuFixture {
 protected:
  void SetUp() override {
    ZARIZE_REQUIRE_TEST_SERVER();
    server = dbengine::testing::TestServer::Shared();
    schema = std::make_unique<dbengine::testing::ServerSchema>(*server, dir);
    const std::string office = schema->Role("office");
    schema->Run({"CREATE ROLE " + office});
    Tdm maker;
    addressbook::CreateServerAddressList(maker,
                                         server->ConnInfo(dbengine::testing::kTestAdministrator),
                                         dir.Path("admin.mdb"), {schema->Name(), office}, false);
    // Records anyone may print, ticked by the one who typed them in.
    FillAddressDatabase(dir.Path("admin.mdb"),
                        {{"가", "서울"}, {"나", "부산"}, {"다", "대구"}, {"라", "광주"}});
    for (const char* person : {"kim", "lee"})
      schema->Run({"CREATE ROLE " + schema->Role(person) + " LOGIN IN ROLE " + office});
  }
  // The person's link file, in their own documents folder.
  std::string LinkOf(const std::string& person) {
    const dbengine::TServerLink link{server->ConnInfo(schema->Role(person)), "", schema->Name()};
    return dir.Write("docs/" + person + "/사무실.mdb", dbengine::ServerLinkText(link));
  }
  std::string HandOff() { return platform::FromCp949(dir.Read("tmp/hhh.csv")); }

  dbengine::testing::TestServer* server = nullptr;
  std::unique_ptr<dbengine::testing::ServerSchema> schema;
};

TEST_F(ServerList, EachPersonsHandOffHoldsOnlyTheRecordsTheyTicked) {
  // Kim starts Zeravu on the list from the host's command line, as on any database.
  TInstance kim(*this, {kToken, "1", LinkOf("kim")});
  kim.form.FormCreate();
  kim.form.tmActTimer();
  ASSERT_TRUE(kim.dm.adoTblMember.Active());
  ui::TwwDBGrid& kimGrid = kim.form.wwDBGMember;
  ASSERT_EQ(kimGrid.RowCount(), 4);
  for (int row = 0; row < 4; ++row) EXPECT_FALSE(kimGrid.CellChecked(row, 0)) << row;
  EXPECT_EQ(kimGrid.CellText(1, 5), "나");
  kimGrid.ClickCell(1, 0);  // 나, pending until the hand-off stores it

  // Lee opens it with "자료열기" and ticks two others.
  TInstance lee(*this, {kToken, "2"});
  lee.form.FormCreate();
  lee.form.tmActTimer();
  lee.screen.ExpectFileDialog("자료열기", LinkOf("lee"));
  lee.form.spbDBOpenClick();
  lee.screen.VerifyAllMet();
  EXPECT_EQ(lee.form.StatusBar1.PanelText(1), "사무실.mdb");
  lee.form.wwDBGMember.ClickCell(2, 0);
  lee.form.wwDBGMember.ClickCell(3, 0);

  kim.form.spbDesignClick();
  EXPECT_EQ(HandOff(), "우편번호,주소,상세주소,회사,이름,존칭\n,부산,,,나,\n");
  EXPECT_EQ(platform::ProfileFile(SettingsPath()).ReadString("ZERAVU", "DBOPENDIR", ""),
            platform::FolderPart(LinkOf("kim")));
  EXPECT_EQ(platform::ProfileFile(SettingsPath()).ReadString("ZERAVU", "DBOPENNAME", ""),
            "사무실.mdb");
  lee.form.spbDesignClick();
  EXPECT_EQ(HandOff(), "우편번호,주소,상세주소,회사,이름,존칭\n,대구,,,다,\n,광주,,,라,\n");
}

}  // namespace
}  // namespace zeravu::testing
