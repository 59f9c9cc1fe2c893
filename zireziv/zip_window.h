#pragma once

#include <string>

#include "postcode/zip_search.h"

namespace ui {
class Screen;
}

namespace zireziv {

// Hands a pick to the host's address-entry window: the postcode and address in code page 949,
// in one pick message to whoever listens at the pick endpoint at this moment. Nobody there, or
// no answer, changes nothing and shows nothing; the answer itself means nothing to Zireziv.
void SendPickToHost(const std::string& zipCode, const std::string& address);

// Zireziv's only window: the postcode lookup form, which checks the launch token and drops the
// taskbar button before it opens the postcode database, and sends every pick to the host.
class TZipWindow {
 public:
  // `launchToken` is the first command-line argument as the host gave it (empty when missing).
  TZipWindow(ui::Screen& screen, std::string launchToken, std::string executableFolder);

  postcode::TFZipSearch FZipSearch;

 private:
  // A wrong or missing token ends the program with exit code 100 before the window is shown
  // and without opening the postcode database.
  bool BeforeOpen();

  ui::Screen& FScreen;
  std::string FLaunchToken;
};

}  // namespace zireziv
