// The stored settings of the real program, from outside.
#include "tests/e2e/VindelorProcess.h"
#include "tests/support/RegistryFixture.h"

namespace {

using namespace testing_support;
using OptionsE2e = VindelorTest;

// By stored name: the booleans, the printer name and the dialog's centred position.
TEST_F(OptionsE2e, TheFirstRunStoresExactlyTheFourteenDefaultsWithTheDialogsCentredPosition) {
  VindelorProcess program;
  program.EndSplashWithKeyPress();
  RECT bounds{};
  GetWindowRect(program.OptionsDialog(), &bounds);
  EXPECT_EQ(bounds.left, (GetSystemMetrics(SM_CXSCREEN) - (bounds.right - bounds.left)) / 2);
  std::string stored;
  for (const auto& [name, value] : ReadSettings()) {
    const std::string text(value.data.begin(), value.data.end());
    stored +=
        name + "=" + (value.type == REG_SZ ? text.c_str() : std::to_string(value.Dword())) + ";";
  }
  EXPECT_EQ(stored,
            "Centered=1;Clipboard=0;Date + Time=0;DefPrinter=Default Printer;Immediat "
            "Action=0;Inversed=0;Landscape=1;Mirrored=0;Monochrom=0;Portrait=0;ScaleBy=0;"
            "Stretched=0;WinPosLeft=" +
                std::to_string(bounds.left) + ";WinPosTop=" + std::to_string(bounds.top) + ";");
}

// A position saved on a monitor that is gone would hide the dialog: it is taken, exactly, only
// when at least half of the dialog lies on a monitor there; otherwise the dialog stays centred.
TEST_F(OptionsE2e, TheDialogTakesItsSavedPositionOnlyWhereHalfOfItIsOnAMonitor) {
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  for (auto [left, top, kept] : {std::tuple(5000, 3000, false), {300, 200, true},
                                 {-100, 200, true}, {screenWidth - 100, 200, false}}) {
    ExpectDialogAtSavedPosition(left, top, kept);
  }
}

}  // namespace
