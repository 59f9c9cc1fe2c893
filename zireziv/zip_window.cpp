#include "zireziv/zip_window.h"

#include <utility>

#include "platform/cp949.h"
#include "platform/launch_token.h"
#include "platform/pick_channel.h"
#include "ui/screen.h"

namespace zireziv {

void SendPickToHost(const std::string& zipCode, const std::string& address) {
  const std::string block =
      platform::BuildPickBlock(platform::ToCp949(zipCode), platform::ToCp949(address));
  platform::SendPick(platform::PickEndpoint(), block);
}

TZipWindow::TZipWindow(ui::Screen& screen, std::string launchToken, std::string executableFolder)
    : FZipSearch(screen, std::move(executableFolder),
                 postcode::TZipSearchWindow{.BeforeOpen = [this] { return BeforeOpen(); },
                                            .SendPick = &SendPickToHost}),
      FScreen(screen),
      FLaunchToken(std::move(launchToken)) {}

bool TZipWindow::BeforeOpen() {
  if (!platform::IsLaunchToken(FLaunchToken)) {
    FScreen.MessageBox(&FZipSearch, "단독으로 실행할 수 없습니다.", "알림", ui::TMsgButtons::Ok,
                       ui::TMsgIcon::Information);
    FScreen.Terminate(100);
    return false;
  }
  FScreen.RemoveTaskbarButton();
  return true;
}

}  // namespace zireziv
