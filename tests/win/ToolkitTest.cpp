// The toolkit's own rules, tested once here rather than in every form: click reactions of
// controls set from code, mouse releases, dialog keys, the error report, message dialogs,
// bitmaps and timers.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "tests/support/WinTestSupport.h"
#include "toolkit/Application.h"
#include "toolkit/Bitmap.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Form.h"
#include "toolkit/Menu.h"
#include "toolkit/Timer.h"

namespace {

using namespace testing_support;

class ControlsForm final : public tk::Form {
 public:
  ControlsForm() : tk::Form({.caption = "Controls", .clientWidth = 300, .clientHeight = 200}) {
    box.OnClick = [this] { ++boxClicks; };
    box.OnMouseUp = [this](tk::MouseButton button, tk::ShiftState, int, int) {
      lastRelease = button;
      ++boxReleases;
    };
    ok.OnClick = [this] { ++okClicks; };
    cancel.OnClick = [this] { ++cancelClicks; };
  }
  tk::Button ok{*this, {10, 120, 75, 23}, "OK", {.tabOrder = 0, .isDefault = true}};
  tk::CheckBox box{*this, {10, 10, 120, 17}, "Box", {.tabOrder = 1}};
  tk::RadioButton radioA{*this, {10, 40, 120, 17}, "A", {.tabOrder = 2, .checked = true}};
  tk::RadioButton radioB{*this, {10, 60, 120, 17}, "B", {.tabOrder = 3}};
  tk::Button cancel{*this, {100, 120, 75, 23}, "Cancel", {.tabOrder = 4, .isCancel = true}};
  int boxClicks = 0;
  int boxReleases = 0;
  tk::MouseButton lastRelease = tk::MouseButton::Middle;
  int okClicks = 0;
  int cancelClicks = 0;
};

class Toolkit : public ::testing::Test {
 protected:
  void SetUp() override {
    app_ = std::make_unique<tk::Application>();
    app_->CreateForm(form_);
    form_->Show();
    WaitUntil([&] { return GetActiveWindow() == form_->Handle(); });
  }
  void TearDown() override { app_.reset(); }

  // Posts a key press to the window with the focus and lets the program's loop handle it.
  static void PostKey(WPARAM key) {
    HWND focus = GetFocus();
    PostMessageA(focus, WM_KEYDOWN, key, 1);
    PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
    PumpMessagesFor(50ms);
  }
  static void ReleaseMouseOver(HWND window, UINT down, UINT up, WPARAM keys) {
    SendMessageA(window, down, keys, MAKELPARAM(5, 5));
    SendMessageA(window, up, 0, MAKELPARAM(5, 5));
  }

  std::unique_ptr<tk::Application> app_;
  ControlsForm* form_ = nullptr;
};

TEST_F(Toolkit, ACheckBoxRunsItsClickOnEveryChangeButItsReleaseOnlyForRealMouseReleases) {
  // From code: a click reaction only when the state changes, never a release.
  form_->box.SetChecked(true);
  form_->box.SetChecked(true);
  EXPECT_EQ(form_->boxClicks, 1);
  form_->box.SetChecked(false);
  EXPECT_EQ(form_->boxClicks, 2);
  EXPECT_EQ(form_->boxReleases, 0);

  // The space bar toggles it: a click, no release.
  form_->box.SetFocus();
  PostKey(VK_SPACE);
  EXPECT_TRUE(form_->box.Checked());
  EXPECT_EQ(form_->boxClicks, 3);
  EXPECT_EQ(form_->boxReleases, 0);

  // The left button toggles it and the release follows the click; the right button does not
  // toggle it, but its release is still a release.
  ReleaseMouseOver(form_->box.Handle(), WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON);
  EXPECT_FALSE(form_->box.Checked());
  EXPECT_EQ(form_->boxClicks, 4);
  EXPECT_EQ(form_->boxReleases, 1);
  EXPECT_EQ(form_->lastRelease, tk::MouseButton::Left);
  ReleaseMouseOver(form_->box.Handle(), WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON);
  EXPECT_FALSE(form_->box.Checked());
  EXPECT_EQ(form_->boxClicks, 4);
  EXPECT_EQ(form_->boxReleases, 2);
  EXPECT_EQ(form_->lastRelease, tk::MouseButton::Right);
}

TEST_F(Toolkit, CheckingARadioButtonUnchecksItsSiblingsButUncheckingTouchesNothingElse) {
  form_->radioB.SetChecked(true);
  EXPECT_TRUE(form_->radioB.Checked());
  EXPECT_FALSE(form_->radioA.Checked());
  form_->radioB.SetChecked(false);
  EXPECT_FALSE(form_->radioA.Checked());
  EXPECT_FALSE(form_->radioB.Checked());

  // A click on a radio button checks it, and so unchecks the other.
  form_->radioA.SetChecked(true);
  ReleaseMouseOver(form_->radioB.Handle(), WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON);
  EXPECT_TRUE(form_->radioB.Checked());
  EXPECT_FALSE(form_->radioA.Checked());
}

TEST_F(Toolkit, SettingAMenuItemsCheckMarkRunsNothing) {
  tk::PopupMenu menu;
  tk::MenuItem item{menu, "Item"};
  int clicks = 0;
  item.OnClick = [&] { ++clicks; };
  item.SetChecked(true);
  EXPECT_TRUE(item.Checked());
  EXPECT_EQ(GetMenuState(menu.Handle(), item.CommandId(), MF_BYCOMMAND) & MF_CHECKED,
            static_cast<UINT>(MF_CHECKED));
  EXPECT_EQ(clicks, 0);
  // A chosen command arrives later as a message to the application's window.
  PostMessageA(tk::App().Handle(), WM_COMMAND, item.CommandId(), 0);
  PumpMessagesFor(50ms);
  EXPECT_EQ(clicks, 1);
}

TEST_F(Toolkit, AnErrorEscapingAHandlerIsReportedAndTheProgramGoesOn) {
  form_->ok.OnClick = [] { throw tk::Error("Printer index out of range"); };
  int later = 0;
  form_->cancel.OnClick = [&] { ++later; };
  DialogAnswerer answerer;
  PostMessageA(form_->ok.Handle(), BM_CLICK, 0, 0);
  PostMessageA(form_->cancel.Handle(), BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return later == 1; }));
  auto seen = answerer.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, tk::App().Title());
  EXPECT_EQ(seen[0].text, "Printer index out of range.");
  EXPECT_EQ(seen[0].buttons, std::vector<std::string>{"OK"});
}

TEST_F(Toolkit, ProcessMessagesConsumesTheQuitMessageAndMarksTheEnd) {
  int handled = 0;
  form_->ok.OnClick = [&] { ++handled; };
  PostMessageA(form_->ok.Handle(), BM_CLICK, 0, 0);
  PostQuitMessage(0);
  tk::App().ProcessMessages();
  EXPECT_EQ(handled, 1);
  EXPECT_TRUE(tk::App().Terminated());
  MSG left{};
  EXPECT_FALSE(PeekMessageA(&left, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

TEST_F(Toolkit, MessageDialogsAreCentredAndAnswerAsLabelled) {
  struct Case {
    int answer;
    bool expected;
  };
  for (Case c : {Case{IDYES, true}, Case{IDNO, false}, Case{IDCANCEL, false}}) {
    DialogAnswerer answerer(c.answer);  // IDCANCEL is what Escape sends
    EXPECT_EQ(tk::ConfirmYesNo("Confirm", "Do you really want to Close Vindelor V2.0"),
              c.expected);
    auto seen = answerer.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Confirm");
    EXPECT_EQ(seen[0].text, "Do you really want to Close Vindelor V2.0");
    EXPECT_EQ(seen[0].buttons, (std::vector<std::string>{"&Yes", "&No"}));
    int centreX = (seen[0].bounds.left + seen[0].bounds.right) / 2;
    int centreY = (seen[0].bounds.top + seen[0].bounds.bottom) / 2;
    EXPECT_NEAR(centreX, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR(centreY, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    EXPECT_TRUE(form_->Enabled()) << "the other windows come back when the dialog closes";
  }
  DialogAnswerer answerer;
  tk::ShowInformation("Settings saved successfully");
  auto seen = answerer.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, "Information");
  EXPECT_EQ(seen[0].text, "Settings saved successfully");
  EXPECT_EQ(seen[0].buttons, std::vector<std::string>{"OK"});
}

TEST_F(Toolkit, ATimerTicksWhileEnabledAndStopsWhenDisabled) {
  tk::Timer timer(50, true);
  int ticks = 0;
  timer.OnTimer = [&] { ++ticks; };
  ASSERT_TRUE(WaitUntil([&] { return ticks >= 3; }, 5s));
  timer.SetEnabled(false);
  int atStop = ticks;
  PumpMessagesFor(300ms);
  EXPECT_EQ(ticks, atStop);
}

// --- Bitmap ----------------------------------------------------------------------------------

COLORREF PixelOf(tk::Bitmap& bitmap, int x, int y) {
  return GetPixel(bitmap.SurfaceForReading(), x, y);
}

TEST(Bitmap, ResizingKeepsTheFormatAndThePixelsThatFitAndAddsWhite) {
  tk::Application app;
  {
    tk::Bitmap empty;
    empty.SetSize(7, 0);
    EXPECT_TRUE(empty.Empty());
    EXPECT_EQ(empty.Handle(), nullptr) << "no pixels, no bitmap";
  }
  for (bool monochrome : {false, true}) {
    tk::Bitmap bitmap;
    bitmap.SetMonochrome(monochrome);
    bitmap.SetSize(10, 10);
    EXPECT_EQ(PixelOf(bitmap, 5, 5), RGB(255, 255, 255));
    SetPixel(bitmap.Surface(), 2, 2, RGB(0, 0, 0));
    bitmap.SetWidth(20);
    bitmap.SetHeight(4);
    EXPECT_EQ(bitmap.Monochrome(), monochrome);
    EXPECT_EQ(bitmap.BitsPerPixel() == 1, monochrome);
    EXPECT_EQ(PixelOf(bitmap, 2, 2), RGB(0, 0, 0));
    EXPECT_EQ(PixelOf(bitmap, 15, 2), RGB(255, 255, 255));
    BITMAP info{};
    GetObjectA(bitmap.Handle(), sizeof(info), &info);
    EXPECT_EQ(info.bmWidth, 20);
    EXPECT_EQ(info.bmHeight, 4);
  }
}

TEST(Bitmap, OneBitKeepsOnlyExactWhiteAndBlackComesBackInTheWindowTextColour) {
  tk::Application app;
  tk::Bitmap bitmap;
  bitmap.SetSize(4, 1);
  const COLORREF colours[] = {RGB(255, 255, 255), RGB(254, 255, 255), RGB(255, 255, 0),
                              RGB(192, 192, 192)};
  for (int x = 0; x < 4; ++x) SetPixel(bitmap.Surface(), x, 0, colours[x]);
  bitmap.SetMonochrome(true);
  EXPECT_EQ(bitmap.BitsPerPixel(), 1);
  EXPECT_EQ(PixelOf(bitmap, 0, 0), RGB(255, 255, 255));
  for (int x = 1; x < 4; ++x) EXPECT_EQ(PixelOf(bitmap, x, 0), RGB(0, 0, 0)) << "x=" << x;

  bitmap.SetMonochrome(false);
  EXPECT_GT(bitmap.BitsPerPixel(), 1);
  EXPECT_EQ(PixelOf(bitmap, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(PixelOf(bitmap, 1, 0), GetSysColor(COLOR_WINDOWTEXT));
}

TEST(Bitmap, RawSurfaceAccessDropsTheCachedEncodingButReadingKeepsIt) {
  tk::Application app;
  tk::Bitmap bitmap;
  bitmap.SetSize(2, 2);
  (void)bitmap.SurfaceForReading();
  bitmap.SetCachedEncoding({1, 2, 3});
  (void)bitmap.SurfaceForReading();
  ASSERT_NE(bitmap.CachedEncoding(), nullptr);
  (void)bitmap.Surface();
  EXPECT_EQ(bitmap.CachedEncoding(), nullptr);
  bitmap.SetCachedEncoding({1});
  bitmap.SetWidth(3);
  (void)bitmap.SurfaceForReading();
  EXPECT_EQ(bitmap.CachedEncoding(), nullptr) << "new pixels, so the old encoding is gone";
}

}  // namespace
