// The toolkit's message boxes of the real program at the display's scale (VINDELOR_TEST_DPI
// pixels per inch): the icon as large as the system's icons are there, and icon, text and
// buttons apart from each other and inside the box.
#include "tests/e2e/VindelorProcess.h"

namespace {

using namespace testing_support;

class MessageBoxes : public ResidentTest {
 protected:
  MessageBoxes() : ResidentTest({120, 90, 421, 293}) {}
  void SetUp() override {
    SetProcessDPIAware();  // the program's pixels, not ones scaled for this process
    ResidentTest::SetUp();
  }
  // Answers the box with `key` once it has been checked.
  static void ExpectLaidOut(HWND box, WORD key) {
    ASSERT_NE(box, nullptr);
    RECT client{};
    GetClientRect(box, &client);
    std::vector<std::pair<std::string, RECT>> parts;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      RECT r{};
      GetWindowRect(child, &r);
      MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
      const bool icon = (GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
      parts.emplace_back(icon ? "icon" : WindowText(child), r);
      EXPECT_TRUE(!icon || r.right - r.left == 32 * VINDELOR_TEST_DPI / 96) << "the icon slot";
    }
    EXPECT_GE(parts.size(), 3u);
    for (std::size_t i = 0; i < parts.size(); ++i) {
      const auto& [name, r] = parts[i];
      EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom)
          << name << " outside the box";
      for (std::size_t j = 0; j < i; ++j) {
        RECT both{};
        EXPECT_FALSE(IntersectRect(&both, &r, &parts[j].second))
            << name << " on " << parts[j].first;
      }
    }
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == box; }));
    PressKey(key);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
  }
};

TEST_F(MessageBoxes, InformationAndConfirmationKeepTheirPartsApartAtTheDisplaysScale) {
  CaptureThePattern();
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
  program_->Click("Get from Clipboard");
  ExpectLaidOut(WaitForWindow({.className = "#32770",
                               .title = "Information",
                               .processId = program_->Id(),
                               .visibleOnly = true}),
                VK_RETURN);
  program_->CancelDialog();
  ASSERT_TRUE(ChooseFromTrayMenu(4));
  ExpectLaidOut(WaitForWindow({.className = "#32770",
                               .title = "Confirm",
                               .processId = program_->Id(),
                               .visibleOnly = true}),
                VK_ESCAPE);
  EXPECT_TRUE(program_->Running()) << "No keeps the program";
}

}  // namespace
