#include "zireziv/zip_window.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <future>
#include <memory>
#include <optional>
#include <string>

#include "platform/cp949.h"
#include "platform/pick_channel.h"
#include "platform/testing/scoped_env.h"
#include "platform/testing/scratch_dir.h"
#include "postcodedb/zip_database.h"
#include "ui/event_guard.h"
#include "ui/testing/scripted_screen.h"

namespace zireziv {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;
using platform::PickReceiver;
using platform::testing::ScopedEnv;
using platform::testing::ScratchDir;
using postcode::TFZipSearch;
using ui::testing::ScriptedScreen;

const std::string kToken = "(갑)";

// In code page 949 the postcode is 7 bytes and the address 30: a pick of it is 41 bytes.
const std::string kLongAddress = "서울특별시 종로구 청운동 1번지";
const std::string kZipList =
    "우편번호,주소,읍면동\n"
    "110-033," +
    kLongAddress +
    ",청운동\n"
    "110-034,,신교동\n"
    "135-080,서울 강남구 역삼동,역삼동\n";

// Zireziv's folder with the postcode database where the window looks for it, a runtime folder
// of its own where the host's pick endpoint is, and a scripted screen that must expect every
// dialog the window puts up.
class ZirezivWindow : public ::testing::Test {
 protected:
  ZirezivWindow() {
    std::filesystem::create_directories(exe.Path("DB/Zip"));
    postcodedb::BuildZipDatabase(exe.Write("zip.csv", kZipList), postcode::ZipDBPathBeside(exe.Root()));
  }
  void TearDown() override { screen.VerifyAllMet(); }

  // Makes the window and runs its creation event, as start-up does.
  TFZipSearch& Start(const std::string& token) {
    window = std::make_unique<TZipWindow>(screen, token, exe.Root());
    window->FZipSearch.FormCreate();
    return window->FZipSearch;
  }

  // A handler run as the view runs it: an escaped error ends in the standard error box.
  void Run(const std::function<void()>& handler) { ui::RunGuarded(screen, handler); }

  void Search(TFZipSearch& form, const std::string& text) {
    form.edIn.SetText(text);
    Run([&] { form.spbSearch.Click(); });
  }

  // Presses "확인" while the host's window takes whatever comes; answers the data block it got.
  std::optional<std::string> PickAndReceive(TFZipSearch& form, PickReceiver& host) {
    auto received = std::async(std::launch::async, [&] { return host.Receive(10s); });
    Run([&] { form.bbnOk.Click(); });
    return received.get();
  }

  std::string Endpoint() const { return runtime.Path("run/TFAddrInput"); }

  ScratchDir exe;
  ScratchDir runtime;
  ScopedEnv runtimeEnv{"XDG_RUNTIME_DIR", runtime.PrivateFolder("run")};
  ScriptedScreen screen;
  std::unique_ptr<TZipWindow> window;
};

TEST_F(ZirezivWindow, LaidOutAsTheStandAloneWindow) {
  TFZipSearch& form = Start(kToken);
  EXPECT_EQ(form.Caption(), "우편번호검색");
  EXPECT_EQ(form.FormStyle, ui::TFormStyle::StayOnTop);
  EXPECT_EQ(form.BorderStyle, ui::TBorderStyle::Dialog);
  EXPECT_EQ(form.ClientWidth, 334);
  EXPECT_EQ(form.ClientHeight, 385);
  EXPECT_EQ(form.Position, ui::TPosition::Designed);
  EXPECT_EQ(form.Left, 574);
  EXPECT_EQ(form.Top, 78);
  EXPECT_EQ(form.Color, ui::clFormBlue);
  EXPECT_EQ(form.wwDBGrid1.TitleColor(), ui::clFormBlue);
  EXPECT_EQ(form.spbSearch.Caption(), "검색");
  EXPECT_EQ(form.bbnOk.Caption(), "확인");
  EXPECT_EQ(form.bbnCancel.Caption(), "취소(닫기)");
  EXPECT_EQ(form.spbAll.Hint(), "전국우편번호");
  EXPECT_FALSE(form.chOnlyZip.Visible());  // every pick takes both values

  int closeRequests = 0;
  form.CloseRequested.Connect([&] { ++closeRequests; });
  Run([&] { form.bbnCancel.Click(); });
  EXPECT_EQ(closeRequests, 1);
  EXPECT_EQ(form.ModalResult(), ui::mrNone);
}

struct TTokenCase {
  const char* Name;
  std::string Arg;
  bool Accepted;
};

class LaunchToken : public ZirezivWindow, public ::testing::WithParamInterface<TTokenCase> {};

TEST_P(LaunchToken, DecidesWhetherTheWindowOpens) {
  if (!GetParam().Accepted) {
    screen.ExpectMessageBox("단독으로 실행할 수 없습니다.", "알림", ui::TMsgButtons::Ok,
                            ui::TMsgIcon::Information);
  }
  TFZipSearch& form = Start(GetParam().Arg);

  if (GetParam().Accepted) {
    EXPECT_EQ(screen.TerminatedWith(), std::nullopt);
    EXPECT_TRUE(screen.TaskbarButtonRemoved());
    EXPECT_TRUE(form.conn.Connected());
  } else {
    ASSERT_EQ(screen.Shown().size(), 1u);
    EXPECT_EQ(screen.Shown()[0].Owner, &form);
    EXPECT_EQ(screen.TerminatedWith(), 100);
    EXPECT_FALSE(screen.TaskbarButtonRemoved());
    EXPECT_FALSE(form.conn.Connected());
    EXPECT_EQ(form.ZipDBPath(), "");
  }
}

INSTANTIATE_TEST_SUITE_P(Arguments, LaunchToken,
                         ::testing::Values(TTokenCase{"NoArgument", "", false},
                                           TTokenCase{"Utf8", "(갑)", true},
                                           TTokenCase{"RawCp949", "\x28\xB0\xA9\x29", true},
                                           TTokenCase{"OtherSyllable", "(을)", false},
                                           TTokenCase{"NoParentheses", "갑", false},
                                           TTokenCase{"TrailingBlank", "(갑) ", false},
                                           TTokenCase{"Cp949Neighbour", "\x28\xB0\xAA\x29", false}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(ZirezivWindow, OpensWithoutThePostcodeDatabaseAfterSayingSo) {
  std::filesystem::remove(postcode::ZipDBPathBeside(exe.Root()));
  screen.ExpectPlainMessage("데이터베이스 오류");
  TFZipSearch& form = Start(kToken);
  EXPECT_EQ(screen.TerminatedWith(), std::nullopt);
  EXPECT_TRUE(screen.TaskbarButtonRemoved());
  EXPECT_FALSE(form.conn.Connected());
}

TEST_F(ZirezivWindow, PickSendsPostcodeCrLfAddressAndTwoZerosInCp949) {
  TFZipSearch& form = Start(kToken);
  PickReceiver host(Endpoint());
  Search(form, "청운동");

  std::optional<std::string> block = PickAndReceive(form, host);
  ASSERT_TRUE(block);
  ASSERT_EQ(block->size(), 41u);
  EXPECT_EQ(block->substr(0, 7), "110-033");
  EXPECT_EQ(block->substr(7, 2), "\r\n");
  EXPECT_EQ(block->substr(9, 30), platform::ToCp949(kLongAddress));
  EXPECT_EQ(block->substr(39), "\0\0"s);
  EXPECT_EQ(form.ZipCode(), "110-033");
  EXPECT_EQ(form.Address(), kLongAddress);
  // The window keeps its listing for the next pick.
  EXPECT_TRUE(form.HasRows());
  EXPECT_EQ(form.wwDBGrid1.RowCount(), 1);
}

TEST_F(ZirezivWindow, EmptyAddressSendsThePostcodeAndTheSeparators) {
  TFZipSearch& form = Start(kToken);
  PickReceiver host(Endpoint());
  Search(form, "신교동");
  EXPECT_EQ(PickAndReceive(form, host), "110-034\r\n\0\0"s);  // P + 4
}

TEST_F(ZirezivWindow, EachPickIsItsOwnMessage) {
  TFZipSearch& form = Start(kToken);
  PickReceiver host(Endpoint());
  Run([&] { form.spbAll.Click(); });

  EXPECT_EQ(PickAndReceive(form, host),
            platform::BuildPickBlock("110-033", platform::ToCp949(kLongAddress)));
  form.wwDBGrid1.SetCurrentCell(2, 0);
  EXPECT_EQ(PickAndReceive(form, host),
            platform::BuildPickBlock("135-080", platform::ToCp949("서울 강남구 역삼동")));
  EXPECT_EQ(host.Receive(0ms), std::nullopt);
  EXPECT_EQ(form.wwDBGrid1.RowCount(), 3);
}

TEST_F(ZirezivWindow, PickWithoutTheHostShowsNothingAndALaterOneIsDelivered) {
  TFZipSearch& form = Start(kToken);
  Search(form, "역삼동");
  Run([&] { form.bbnOk.Click(); });  // nobody listens: no dialog may come
  EXPECT_EQ(form.ZipCode(), "135-080");
  EXPECT_TRUE(form.HasRows());

  PickReceiver host(Endpoint());
  EXPECT_EQ(PickAndReceive(form, host),
            platform::BuildPickBlock("135-080", platform::ToCp949("서울 강남구 역삼동")));
}

TEST_F(ZirezivWindow, PickWithNothingListedSendsNothing) {
  TFZipSearch& form = Start(kToken);
  PickReceiver host(Endpoint());

  Run([&] { form.wwDBGrid1.DblClick(); });  // before any search
  Search(form, "없는동");
  Run([&] { form.bbnOk.Click(); });

  EXPECT_EQ(host.Receive(0ms), std::nullopt);
  EXPECT_EQ(form.ZipCode(), "");
  EXPECT_EQ(form.Address(), "");
  EXPECT_EQ(form.ModalResult(), ui::mrNone);
}

}  // namespace
}  // namespace zireziv
