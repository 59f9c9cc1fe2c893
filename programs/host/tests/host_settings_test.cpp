#include "programs/host/host_settings.h"

#include <gtest/gtest.h>

#include "platform/cp949.h"
#include "platform/profile_file.h"
#include "platform/testing/scratch_dir.h"

namespace zarizehost {
namespace {

using platform::testing::ScratchDir;

TEST(HostSettings, ClearingTheFlagKeepsEveryOtherLine) {
  ScratchDir scratch;
  const std::string before = platform::ToCp949(
      "; host settings\n[HOST]\nPRINTER=라벨\n[ZERAVU]\nDBOPENNAME=주소록.mdb\nDESIGNOK=1\n");
  platform::ProfileFile ini(scratch.Write("zeder.INI", before));
  ClearDesignFlag(ini);
  EXPECT_EQ(platform::FromCp949(scratch.Read("zeder.INI")),
            "; host settings\n[HOST]\nPRINTER=라벨\n[ZERAVU]\nDBOPENNAME=주소록.mdb\nDESIGNOK=0\n");
}

TEST(HostSettings, KeysTellAMissingKeyFromAnEmptyOne) {
  ScratchDir scratch;
  platform::ProfileFile ini(scratch.Path("zeder.INI"));
  EXPECT_EQ(ZeravuKeys(ini), "DBOPENDIR is not set\nDBOPENNAME is not set\nDESIGNOK is not set\n");
  ini.WriteString("ZERAVU", "DBOPENDIR", "");
  ini.WriteString("ZERAVU", "DBOPENNAME", "주소록.mdb");
  ClearDesignFlag(ini);
  EXPECT_EQ(ZeravuKeys(ini), "DBOPENDIR=\nDBOPENNAME=주소록.mdb\nDESIGNOK=0\n");
}

}  // namespace
}  // namespace zarizehost
