// Whether Print Screen captures, through the real handlers: the armed flag after each step, the
// drain of a held Print Screen, Open's capture that never prints; the overlay losing the mouse
// mid-drag; and "Get from Clipboard" against what other programs leave on the clipboard.
#include <atomic>
#include <thread>

#include "tests/support/HarnessAccess.h"
#include "tests/support/Pictures.h"
#include "tests/support/ProgramFixture.h"
#include "toolkit/Monitors.h"
#include "toolkit/Timer.h"

namespace {

using namespace testing_support;
using Arming = ProgramTest;
using Selection = ProgramTest;
using Clipboard = ProgramTest;

bool CapturedTheDesktop() {
  return vindelor::Shared().captureSource == vindelor::kSourceDesktop &&
         vindelor::Shared().captureRect == tk::VirtualScreen();
}

TEST_F(Arming, EveryStepLeavesTheFlagAsTheRulesSayAndNoPressCountsWhileACaptureRuns) {
  // Alt+Print Screen as the system reports it: were it handled, the foreground window is taken.
  const auto windowKey = [] {
    PostMessageA(Form2->Handle(), WM_HOTKEY, static_cast<WPARAM>(vindelor::kSourceActiveWindow),
                 MAKELPARAM(MOD_ALT, VK_SNAPSHOT));
  };
  const std::tuple<const char*, std::function<void()>, bool> steps[] = {
      {"created", [] {}, false},
      {"splash ended", [] { EndSplash(); }, true},
      {"capturing",
       [&] {
         windowKey();  // handled during the repaint wait
         CaptureDesktop();
         windowKey();  // and while the dialog is open
         PumpMessagesFor(300ms);
         EXPECT_TRUE(CapturedTheDesktop());
       },
       false},
      {"cancelled", [] { Form2->Button4Click(); }, true},
      {"suspended", [] { Form1->SuspendClick(); }, false},
      {"captured while suspended", [] { CaptureDesktop(); }, false},
      {"cancelled while suspended", [] { Form2->Button4Click(); }, false},
      {"closed while suspended",
       [] { CaptureDesktop(), SendMessageA(Form2->Handle(), WM_CLOSE, 0, 0); }, false},
      {"resumed", [] { Form1->SuspendClick(); }, true},
  };
  for (const auto& [what, step, armed] : steps) {
    step();
    EXPECT_EQ(vindelor::Shared().armed, armed) << what;
  }
  EXPECT_FALSE(Form2->Visible());
}

// A Print Screen still down when the hotkeys come back on must not start a capture then.
TEST_F(Arming, TheKeyBufferIsClearedOnlyOncePrintScreenIsUp) {
  std::optional<HeldKey> printScreen(std::in_place, WORD{VK_SNAPSHOT});
  ASSERT_TRUE(WaitUntil([] { return GetAsyncKeyState(VK_SNAPSHOT) < 0; }));
  tk::Timer release(400, true);
  release.OnTimer = [&] { printScreen.reset(); };
  const auto started = std::chrono::steady_clock::now();
  Form1->ClearKeyBuffer();
  EXPECT_GE(std::chrono::steady_clock::now() - started, 350ms);
  EXPECT_FALSE(printScreen.has_value()) << "returned while the key was down";
}

// Queues: one. Open never prints, not even with Immediate Action, and the capture after it does.
TEST_F(Arming, OpenCapturesWithoutPrintingAndTheNextCapturePrintsWithImmediateAction) {
  EndSplash();
  Form1->immediatClick();
  ASSERT_TRUE(WaitUntilPrintingIsDone());
  const std::size_t pages = PageFiles("VindelorA").size();
  Form1->Open1Click();  // a print would run inside it and hide the dialog
  EXPECT_TRUE(Form2->Visible() && CapturedTheDesktop());
  ASSERT_TRUE(WaitUntilPrintingIsDone());
  EXPECT_EQ(PageFiles("VindelorA").size(), pages);
  Form2->Button4Click();
  EXPECT_EQ(Answered([] { Form1->Desktop1Click(); }), Strings{});
  EXPECT_EQ(WaitForPages("VindelorA", pages + 1).size(), pages + 1) << "the next one prints";
  EXPECT_FALSE(Form2->Visible());
}

// Another window taking the mouse ends the drag as a release would; the later release ends
// nothing, and the second selection gives back every object it took.
TEST_F(Selection, ADragWhoseMouseIsTakenEndsThereAndLeavesNothingBehind) {
  EndSplash();
  CaptureDesktop();
  std::optional<ObjectCounts> afterFirst;
  for (int round = 0; round < 2; ++round) {
    Form2->Button6Click();
    ASSERT_TRUE(Form3->Visible());
    ASSERT_TRUE(MoveMouseTo(100, 90));
    SetMouseButton(false, true);
    ASSERT_TRUE(MoveMouseTo(150, 130));
    ASSERT_TRUE(WaitUntil([] { return GetCapture() == Form3->Handle(); })) << "the press holds it";
    ReleaseCapture();
    EXPECT_FALSE(Form3->Visible());
    EXPECT_EQ(vindelor::Shared().captureRect, (tk::ScreenRect{100, 90, 150, 130}));
    SetMouseButton(false, false);
    PumpMessagesFor(200ms);
    EXPECT_EQ(std::pair(Work().Width(), Work().Height()), std::pair(50, 40)) << "nothing more";
    EXPECT_TRUE(!afterFirst || CountObjectsOf() == *afterFirst);
    if (!afterFirst) afterFirst = CountObjectsOf();
  }
}

constexpr char kNone[] = "Information: There is no Bitmap on the Clipboard";

TEST_F(Clipboard, GetFromClipboardTakesOnlyABitmapWithItsFormatAndPalette) {
  static const std::vector<std::uint8_t> zeros(1 << 16);  // black bitmaps
  static const LOGPALETTE green{0x300, 1, {{10, 200, 30, 0}}};
  const auto black = [](int width, int height, int bits) {
    return Picture{width, height, bits, std::vector<std::uint32_t>(std::size_t(width * height))};
  };
  const char* const taken = "Information: Bitmap taken from Clipboard";
  // Put on the opened, emptied clipboard; the report; what is pasted (empty: the work image stays
  // as it was); whether its palette comes too.
  const std::tuple<void (*)(), const char*, Picture, bool> cases[] = {
      {[] { SetClipboardData(CF_TEXT, GlobalAlloc(GHND, 8)); }, kNone, {}, false},
      {[] {
         SetClipboardData(CF_BITMAP, CreateBitmap(40, 30, 1, 32, zeros.data()));
         SetClipboardData(CF_PALETTE, CreatePalette(&green));
       },
       taken, black(40, 30, 32), true},
      {[] { SetClipboardData(CF_BITMAP, CreateBitmap(33, 17, 1, 1, zeros.data())); }, taken,
       black(33, 17, 1), false},
      {[] { SetClipboardData(CF_BITMAP, nullptr); },  // announced but never rendered
       "win_tests: Unsupported clipboard format.",
       {},
       false}};
  for (int row = 0; const auto& [put, report, pasted, palette] : cases) {
    SCOPED_TRACE(row++);
    ASSERT_TRUE(WaitUntil([] { return OpenClipboard(tk::App().Handle()) != FALSE; }));
    EmptyClipboard();
    put();
    CloseClipboard();
    const Picture before = PictureOf(Work().Handle());
    EXPECT_EQ(Answered([] { SendMessageA(Form2->Button8.Handle(), BM_CLICK, 0, 0); }),
              Strings{report});
    EXPECT_EQ(GetOpenClipboardWindow(), nullptr);
    EXPECT_EQ(PictureOf(Work().Handle()), pasted.width ? pasted : before);
    PALETTEENTRY entry{};
    EXPECT_EQ(GetPaletteEntries(Work().Palette(), 0, 1, &entry) == 1 && entry.peGreen == 200,
              palette);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP) || !pasted.width) << "the clipboard keeps it";
  }
}

// The copy that a clipboard held by another program refuses gives back its objects.
TEST_F(Clipboard, AClipboardHeldByAnotherProgramRefusesTheCopyWhichIsFreedAndNoBitmapIsFound) {
  EndSplash();
  Form2->CopyToClipBoard();   // a bitmap to find; the work image makes its bitmap and surface
  std::atomic<int> step = 0;  // another program holds the clipboard open from step 1 to 2
  std::thread holder([&] {
    while (!OpenClipboard(nullptr)) Sleep(5);
    for (step = 1; step == 1;) Sleep(5);
    CloseClipboard();
  });
  while (step == 0) Sleep(5);
  const long before = CountObjectsOf().gdi;
  for (int i = 0; i < 3; ++i) Form2->CopyToClipBoard();
  EXPECT_EQ(CountObjectsOf().gdi, before);
  const Strings seen = Answered([] { Form2->Button8Click(); });
  step = 2;
  holder.join();
  EXPECT_EQ(seen, Strings{kNone});
}

}  // namespace
