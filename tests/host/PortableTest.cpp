#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "components/Nstatln/StatusLineGeometry.h"
#include "options/PrinterList.h"
#include "output/BmpFormat.h"
#include "output/PageLayout.h"
#include "output/PrintDateLine.h"
#include "toolkit/Error.h"
#include "toolkit/Hints.h"
#include "toolkit/MessageLayout.h"
#include "toolkit/PrinterPorts.h"
#include "toolkit/RegistryData.h"
#include "toolkit/Scaling.h"
#include "toolkit/ScreenArea.h"
#include "toolkit/Text.h"

namespace vindelor {
namespace {

using namespace tk;
using Bytes = std::vector<uint8_t>;
using Words = std::vector<uint32_t>;
constexpr int32_t kMax = std::numeric_limits<int32_t>::max(), kMin = -kMax - 1;

Words Get32(const Bytes& b, size_t at, size_t count = 1) {
  Words out(count);
  for (size_t i = 0; i < 4 * count; ++i) out[i / 4] |= uint32_t{b.at(at + i)} << 8 * (i % 4);
  return out;
}
uint32_t Colour(uint32_t i) { return i * 0x010101u ^ 0x123456u; }

DibImage MakeImage(int32_t width, int32_t height, uint16_t bpp) {
  DibImage image{width, height, bpp, {}, Bytes(PlanBmp(width, height, bpp).pixelBytes)};
  for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = uint8_t(3 + 7 * i);
  // The top byte is set on purpose: the writer must store the reserved byte as 0.
  for (uint32_t i = 0; bpp <= 8 && i < 1u << bpp; ++i)
    image.colorTable.push_back(0xAB000000u | Colour(i));
  return image;
}

// 10 x 2 pixels at 1 bpp with the old 12-byte header: colours 1 2 3 and 4 5 6, then two rows.
const Bytes kCoreFile = {'B', 'M', 0, 0, 0,    0,    0, 0, 0,    0,    0, 0, 0, 0,
                         12,  0,   0, 0, 10,   0,    2, 0, 1,    0,    1, 0, 1, 2,
                         3,   4,   5, 6, 0x11, 0x22, 0, 0, 0x33, 0x44, 0, 0};

// The Windows tests take EncodeBmp as their reference, so its bytes are checked field by field.
TEST(BmpFormat, WritesTheLayoutAndReadsItBack) {
  // Bits per pixel, width, height, pixel bytes (rows padded to 4; 97 bits need 4 words), offset.
  const std::tuple<uint16_t, int32_t, int32_t, uint32_t, uint32_t> cases[] = {
      {1, 97, 3, 48, 62}, {8, 5, 2, 16, 1078}, {24, 1, 2, 8, 54}};
  for (const auto& [bpp, width, height, pixelBytes, offset] : cases) {
    const DibImage image = MakeImage(width, height, bpp);
    const Bytes f = EncodeBmp(image);
    ASSERT_EQ(f.size(), offset + pixelBytes);
    // "BM", then file size to important colours; planes and depth share a word.
    EXPECT_EQ(std::tuple(f[0], f[1], Get32(f, 2, 13)),
              std::tuple('B', 'M',
                         Words{uint32_t(f.size()), 0, offset, 40, uint32_t(width), uint32_t(height),
                               1u | uint32_t{bpp} << 16, 0, pixelBytes, 0, 0, 0, 0}));
    for (uint32_t i = 0; i < image.colorTable.size(); ++i)
      EXPECT_EQ(Get32(f, 54 + 4 * i), Words{Colour(i)}) << "entry " << i;
    const ParsedBmp b = ParseBmp(f);
    EXPECT_EQ(std::tuple(b.width, b.height, b.bitsPerPixel, b.monochrome, b.colorEntries,
                         Bytes(b.pixels.begin(), b.pixels.end())),
              std::tuple(width, height, bpp, bpp == 1, image.colorTable.size(), image.pixels));
    EXPECT_EQ(ToInfoHeaderForm(b), Bytes(f.begin() + 14, f.begin() + offset));
  }
  EXPECT_EQ(std::tuple(EncodeBmp({0, 5, 24, {}, {}}).size(), ParseBmp({}).empty, BmpWrittenDepth(8),
                       BmpWrittenDepth(16), BmpWrittenDepth(32)),
            std::tuple(0u, true, 8, 24, 24));
  EXPECT_THROW(PlanBmp(65536, 65536, 8), std::invalid_argument);  // 4 GiB of pixels
}

// Patches (offset, value, bytes) to a written 3 x 2, 8 bpp file or the old-header one; without a
// height, refused. (A zero size and other plane counts: the fuzz target's rules.)
TEST(BmpFormat, ReadsOtherLayoutsAndRefusesWhatTheWin32SideCouldNotDrawSafely) {
  // In the info header form: 1 plane of 1 bit, 8 bytes of pixels, 2 colours, 4 bytes each.
  const ParsedBmp core = ParseBmp(kCoreFile);
  const Bytes info = ToInfoHeaderForm(core);
  EXPECT_EQ(std::tuple(core.pixels.data(), core.monochrome, info.size(), Get32(info, 0, 12)),
            std::tuple(&kCoreFile[32], true, 48u,
                       Words{40, 10, 2, 1 | 1 << 16, 0, 8, 0, 0, 2, 0, 0x030201, 0x060504}));

  const std::tuple<const char*, std::vector<Words>, int32_t, uint32_t, size_t> cases[] = {
      {"top-down rows", {{22, uint32_t(-2), 4}}, -2, 256, 8},
      {"short colour table", {{46, 2, 4}}, 2, 2, 8},
      {"table before 24-bit rows", {{28, 24, 2}, {46, 5, 4}}, 2, 5, 24},
      {"16 bpp", {{28, 16, 2}}, 2, 0, 16},
      {"32 bpp", {{28, 32, 2}}, 2, 0, 24},
      {"odd size and offset", {{2, 1, 4}, {10, 99999, 4}}, 2, 256, 8},
      {"no BM", {{1, 'A', 1}}, 0, 0, 0},
      // These still fit in the file, so only the header size or the colour count refuses them.
      {"header size 108", {{14, 108, 4}, {46, 2, 4}}, 0, 0, 0},
      {"3 colours at 1 bpp", {{28, 1, 2}, {46, 3, 4}}, 0, 0, 0},
      {"2 bpp", {{28, 2, 2}}, 0, 0, 0},
      {"64 bpp", {{28, 64, 2}}, 0, 0, 0},
      {"compressed", {{30, 1, 4}}, 0, 0, 0},
      {"2^32-1 colours at 24 bpp", {{28, 24, 2}, {46, 0xFFFFFFFF, 4}}, 0, 0, 0},
      {"2^31-1 square at 32 bpp", {{18, kMax, 4}, {22, kMax, 4}, {28, 32, 2}}, 0, 0, 0},
      {"row bits wrap to 0 in 32 bits", {{18, 1 << 29, 4}}, 0, 0, 0},
      {"pixel bytes wrap to 0 in 32 bits", {{18, 65536, 4}, {22, 65536, 4}}, 0, 0, 0},
      {"core: 65535 rows, not -1", {{20, 0xFFFF, 2}}, 0, 0, 0},
  };
  for (const auto& [name, patches, height, entries, pixelBytes] : cases) {
    Bytes f = std::string(name).starts_with("core") ? kCoreFile : EncodeBmp(MakeImage(3, 2, 8));
    for (const Words& p : patches)
      for (uint32_t i = 0; i < p[2]; ++i) f.at(p[0] + i) = uint8_t(p[1] >> 8 * i);
    f.resize(f.size() + 9, 0xEE);  // trailing bytes are ignored
    if (height == 0) {
      EXPECT_THROW(ParseBmp(f), BmpFormatError) << name;
      continue;
    }
    const ParsedBmp b = ParseBmp(f);
    EXPECT_EQ(std::tuple(b.height, b.colorEntries, b.pixels.data(), b.pixels.size()),
              std::tuple(height, entries, &f[54 + 4 * entries], pixelBytes))
        << name;
  }
}

TEST(PageLayout, PlacesTheImageKeepingItsProportions) {
  ASSERT_EQ(std::numeric_limits<long double>::digits, 64) << "x87 extended precision expected";
  // Page, printer dpi, screen dpi and image size per axis; stretched, centered. Halves go to even.
  const std::tuple<const char*, PageLayoutInput, PageRect> cases[] = {
      {"too wide", {4800, 6600, 600, 600, 96, 96, 800, 600, 0, 1}, {0, 1500, 4800, 5100}},
      {"too high", {5000, 1000, 600, 600, 96, 96, 400, 400, 0, 1}, {2000, 0, 3000, 1000}},
      {"fits", {4800, 6600, 600, 600, 96, 96, 640, 480, 0, 1}, {400, 1800, 4400, 4800}},
      {"12.5 rounds to 12", {100, 100, 240, 240, 96, 96, 5, 5, 0, 0}, {0, 0, 12, 12}},
      {"13.5 rounds to 14", {100, 100, 144, 144, 96, 96, 9, 9, 0, 0}, {0, 0, 14, 14}},
      {"1837.5 to even", {2450, 3200, 300, 300, 96, 96, 800, 600, 0, 1}, {0, 681, 2450, 2519}},
      {"3712.5 to even", {6600, 4800, 600, 600, 96, 96, 1920, 1080, 0, 1}, {0, 544, 6600, 4256}},
      // 150 / 72 first, in long double: the exact product gives 238 wide, double 63 high.
      {"114 x 30 at 150 / 72", {1000, 1000, 150, 150, 72, 72, 114, 30, 0, 0}, {0, 0, 237, 62}},
      // One axis scaled alone: the other spans the page, and each is clipped on its own.
      {"printer no finer", {2400, 3300, 96, 300, 96, 96, 800, 600, 0, 1}, {0, 712, 2400, 2587}},
      {"no finer, too high", {2400, 1000, 96, 300, 96, 96, 800, 600, 0, 1}, {0, 0, 2400, 1000}},
      {"screen dpi 0", {300, 400, 600, 600, 0, 0, 10, 10, 0, 1}, {0, 0, 300, 400}},
      {"stretched wins", {4800, 6600, 600, 600, 96, 96, 80, 60, 1, 1}, {0, 0, 4800, 6600}},
      {"top left", {3200, 2450, 300, 300, 96, 96, 1920, 1080, 0, 0}, {0, 0, 3200, 1800}},
      {"no pixels high", {4800, 6600, 600, 600, 96, 96, 1000, 0, 0, 1}, {0, 3300, 4800, 3300}},
      {"huge image", {4800, 6600, kMax, kMax, 1, 1, kMax, kMax, 0, 1}, {0, 900, 4800, 5700}},
      {"negatives count as 0", {-5, 400, 600, 600, -96, 96, -10, -10, 0, 1}, {0, 200, 0, 200}},
  };
  for (const auto& [name, in, rect] : cases) EXPECT_EQ(PlaceImageOnPage(in).rect, rect) << name;
}

TEST(PrintDateLine, FormatsTheTimeAfterTheDate) {
  const TimeStyle us{false, true, "AM", "PM"}, de{true, false, "", ""};
  const TimeStyle z12{true, true, "am", "pm"}, nod{false, true, "", ""};
  const std::tuple<const TimeStyle&, int, int, int, const char*> cases[] = {
      {de, 0, 0, 1, "D 00:00:01"},     {us, 0, 0, 0, "D"},
      {us, 12, 0, 0, "D 12:00:00 PM"}, {us, 0, 0, 1, "D 12:00:01 AM"},
      {us, 13, 5, 9, "D 1:05:09 PM"},  {z12, 21, 30, 0, "D 09:30:00 pm"},
      {nod, 15, 4, 3, "D 3:04:03"}};
  const std::string prefix = "Page Printed on the  ";
  for (const auto& [t, h, m, s, line] : cases)
    EXPECT_EQ(PrintDateLine("D", h, m, s, t), prefix + line);
  EXPECT_EQ(PrintDateLine("", 8, 0, 0, de), prefix + "08:00:00");
  for (auto [h, m, s] :
       {std::tuple(24, 0, 0), {-1, 0, 0}, {0, 60, 0}, {0, -1, 0}, {0, 0, 60}, {0, 0, -1}})
    EXPECT_THROW(PrintDateLine("D", h, m, s, us), std::invalid_argument) << h << m << s;
  // Up to 67 dots the cell and 3 dots fit the 70 under the image area; beyond, the reserve grows.
  for (auto [cell, reserve] : {std::pair(0, 110), {67, 110}, {68, 111}, {160, 203}})
    EXPECT_EQ(DateLineReserve(cell), reserve) << cell;
}

TEST(PrinterList, TheSavedNameSelectsTheLastEntryOfExactlyThatName) {
  using Entries = std::vector<std::string>;
  const char* dp = "Default Printer";  // the entry, and in `named` a printer of that name too
  const Entries usual{"VindelorA", "VindelorB", dp}, named{dp, "Laser", dp}, accents{"Â", "A", "Â"};
  const std::tuple<Entries, const char*, int> cases[] = {
      {usual, "VindelorB", 1}, {usual, "vindelorb", -1}, {usual, "VindelorB ", -1},
      {usual, "Gone", -1},     {usual, "", -1},          {usual, dp, 2},
      {named, dp, 2},          {named, "Laser", 1},      {{}, "Laser", -1},
      {accents, "Â", 2}};
  for (const auto& [entries, saved, entry] : cases)
    EXPECT_EQ(PreselectedEntry(entries, saved), entry) << saved;
}

TEST(StatusLine, PlacesTheBoxesTicksAndKeepsProgressInRange) {
  // Size, space, vertical and horizontal margin, clock and progress width, progress shown.
  const std::tuple<StatusLineLayoutInput, StatusLineLayout> cases[] = {
      {{305, 21, 5, 3, 3, 120, 100, false}, {{3, 3, 174, 15}, {177, 3, 0, 15}, {182, 3, 120, 15}}},
      {{305, 21, 5, 3, 3, 120, 100, true}, {{3, 3, 69, 15}, {77, 3, 100, 15}, {182, 3, 120, 15}}},
      {{305, 21, 5, 3, 3, 0, 100, false}, {{3, 3, 299, 15}, {297, 3, 0, 15}, {302, 3, 0, 15}}},
      {{305, 21, 2, 1, 10, 120, 0, false}, {{10, 1, 163, 19}, {173, 1, 0, 19}, {175, 1, 120, 19}}},
  };
  for (const auto& [input, expected] : cases) EXPECT_EQ(LayOutStatusLine(input), expected);
  // Interval, timer period, ticks per event; 99 is ignored.
  const std::tuple<int, uint32_t, int> timers[] = {
      {99, 1000, 1}, {100, 100, 1}, {1499, 1000, 1}, {1500, 1000, 2}, {65535, 1000, 66}};
  for (const auto& [interval, period, ticksPerEvent] : timers) {
    TimerSchedule timer;
    timer.SetInterval(uint16_t(interval));
    EXPECT_EQ(timer.Period(), period) << interval;
    for (int tick = 1; tick <= 200; ++tick)
      EXPECT_EQ(timer.Tick(), tick % ticksPerEvent == 0) << interval << ", tick " << tick;
  }
  ProgressRange bar;
  bar.SetMax(10);
  bar.Advance(6);
  const int32_t sixTenths = bar.FilledWidth(98);
  bar.Advance(kMax);
  EXPECT_EQ(std::tuple(sixTenths, bar.Position(), bar.FilledWidth(98)), std::tuple(58, 10, 98));
  EXPECT_THROW(bar.SetMin(-1), Error);
  EXPECT_THROW(bar.SetMax(65536), Error);
  bar.SetMax(65535);
  bar.SetMin(65535);
  bar.Advance(-kMax);
  EXPECT_EQ(std::tuple(bar.Position(), bar.FilledWidth(98)), std::tuple(65535, 0));
}

TEST(Toolkit, TextTicksPrintersScalingAndRegistryData) {
  EXPECT_EQ(ApplicationTitleFromPath("C:\\x\\VINDELOR.backup.EXE"), "Vindelor");
  EXPECT_EQ(ApplicationTitleFromPath("Z:/bin/win_tests.exe"), "win_tests");
  const std::tuple<uint32_t, uint32_t, bool> ticks[] = {
      {1000, 1199, false}, {1000, 1200, true}, {~0u - 99, 100, true}, {~0u - 99, 99, false}};
  for (const auto& [start, now, elapsed] : ticks)  // 200 ms, also across the wrap
    EXPECT_EQ(TickIntervalElapsed(start, now, 200), elapsed) << start << " " << now;
  const std::tuple<int, int, int, int> scaled[] = {
      {278, 6, 5, 334}, {-13, 5, 6, -11}, {5, 1, 2, 3}, {-5, 1, 2, -3}, {5, 1, -2, -3}};
  for (const auto& [value, num, den, expected] : scaled)
    EXPECT_EQ(ScaleRounded(value, num, den), expected) << value << "*" << num << "/" << den;
  EXPECT_THROW((void)ScaleRounded(1, 1, 0), std::invalid_argument);
  EXPECT_THROW((void)ScaleRounded(kMax, 2, 1), std::out_of_range);
  // Font heights go by whole points: at 96 dpi -12 px is 9 pt, 11 pt after scaling, -15 px.
  const std::tuple<int, int, int, int, int> fonts[] = {
      {-12, 6, 5, 96, -15}, {-15, 5, 6, 96, -12}, {-15, 6, 5, 120, -18}, {-12, 6, 5, 0, -14}};
  for (const auto& [height, num, den, pixelsPerInch, expected] : fonts)
    EXPECT_EQ((Scale{num, den, pixelsPerInch}.FontHeight(height)), expected) << height;
  EXPECT_EQ(FormatText("%s and %s", "a%sb"), "a%sb and %s");
  EXPECT_EQ(PrinterOnPort("100%s Laser", "%s:"), "100%s Laser on %s:");  // never a pattern
  EXPECT_EQ(DefaultPrinterName("  HP LaserJet 4,winspool,LPT1:"), "HP LaserJet 4");
  // An entry without a port stands for the printer on any port.
  const std::vector<PrinterEntry> list = {{"A", "A", ""}, {"L X:", "L", "X:"}, {"L Y:", "L", "Y:"}};
  EXPECT_EQ(std::tuple(FindChosenPrinter(list, "A", "Z:"), FindChosenPrinter(list, "L", "Y:"),
                       FindChosenPrinter(list, "L", "Z:")),
            std::tuple(0, 2, kNoPrinter));
  EXPECT_EQ(DecodeRegistryInteger(4, Bytes{0xEC, 0xFF, 0xFF, 0xFF}, ""), -20);
  EXPECT_EQ(DecodeRegistryInteger(4, Bytes{0x34, 0x12}, ""), 0x1234);
  EXPECT_EQ(DecodeRegistryString(2, {"Vin\0xy", 6}, ""), "Vin");
  EXPECT_THROW((void)DecodeRegistryInteger(4, Bytes(5), ""), Error);
}

// An 800 x 600 monitor left of a 1024 x 768 primary; windows of 100 x 100 unless told.
TEST(Toolkit, AWindowLiesOnAMonitorWhenHalfOfItDoes) {
  const std::vector<ScreenRect> monitors{{0, 0, 1024, 768}, {-800, 0, 0, 600}};
  const std::tuple<const char*, int32_t, int32_t, int32_t, bool> cases[] = {
      {"half off the right", 974, 0, 100, true},     {"a dot less than half", 975, 0, 100, false},
      {"half below the left", -400, 550, 100, true}, {"under the left only", -400, 640, 100, false},
      {"pieces don't add up", -60, 550, 100, false}, {"half on each", -50, 100, 100, true},
      {"far away", 5000, 3000, 100, false},          {"empty", 300, 200, 0, false}};
  for (const auto& [name, left, top, size, on] : cases)
    EXPECT_EQ(HalfOnOneMonitor(left, top, size, size, monitors), on) << name;
  // Edges beyond the 32-bit range, a window covering it, no monitor.
  EXPECT_FALSE(HalfOnOneMonitor(kMax - 50, kMax - 50, kMax, kMax, monitors) ||
               HalfOnOneMonitor(kMin, kMin, kMax, kMax, monitors) ||
               HalfOnOneMonitor(0, 0, 10, 10, {}));
}

// "ü" is 2 bytes, "東" 3, "𝄞" (beyond U+FFFF) 4 and two UTF-16 units.
TEST(Toolkit, Utf8TextIsCountedAsWindowsCountsAndCutOnlyBetweenCharacters) {
  EXPECT_EQ(Utf16Length("Büro-東京"), 7u);
  EXPECT_EQ(Utf16Length("𝄞x"), 3u);
  const std::tuple<std::string, size_t, std::string> cuts[] = {
      {"abc", 3, "abc"}, {"abc", 2, "ab"},    {"aü", 2, "a"},
      {"a東京", 3, "a"}, {"a東京", 4, "a東"}, {"𝄞", 3, ""}};
  for (const auto& [text, bytes, cut] : cuts)
    EXPECT_EQ(CutToWholeCharacters(text, bytes), cut) << text << " at " << bytes;
  EXPECT_EQ(CutToWholeCharacters("ab\x80\x80\x80\x80\x80", 4), "ab\x80\x80");  // stray bytes
}

// At every scale the icon, a two-line text and each button lie apart inside the box.
TEST(Toolkit, MessageDialogsLayOutTheirPartsApartAtEveryScale) {
  for (auto [dpi, icon, buttons] :
       {std::tuple(96, 32, 1), {144, 48, 2}, {192, 64, 2}, {192, 32, 2}}) {
    const MessageLayout layout = LayOutMessage(
        {dpi, icon, MaxMessageTextWidth(dpi) / 2, dpi * 26 / 96, buttons, dpi * 52 / 96});
    std::vector<ScreenRect> parts{layout.icon, layout.text};
    parts.insert(parts.end(), layout.buttons.begin(), layout.buttons.end());
    ASSERT_EQ(parts.size(), size_t(2 + buttons));
    for (size_t i = 0; i < parts.size(); ++i) {
      const ScreenRect& p = parts[i];
      EXPECT_TRUE(0 <= p.left && p.left < p.right && p.right <= layout.clientWidth && 0 <= p.top &&
                  p.top < p.bottom && p.bottom <= layout.clientHeight)
          << dpi << " dpi, part " << i << " outside the box";
      for (size_t j = 0; j < i; ++j)
        EXPECT_FALSE(p.left < parts[j].right && parts[j].left < p.right &&
                     p.top < parts[j].bottom && parts[j].top < p.bottom)
            << dpi << " dpi: parts " << i << " and " << j << " overlap";
    }
    EXPECT_EQ(std::tuple(layout.icon.left, layout.icon.right - layout.icon.left,
                         layout.buttons[0].bottom - layout.buttons[0].top),
              std::tuple(12 * dpi / 96, icon, ScaleRounded(23, dpi, 96)));
  }
  const MessageLayout design = LayOutMessage({96, 32, 200, 26, 2, 20});
  EXPECT_EQ(std::tuple(design.icon, design.text, design.buttons[1], design.clientWidth,
                       design.clientHeight),
            std::tuple(ScreenRect{12, 12, 44, 44}, ScreenRect{56, 15, 256, 41},
                       ScreenRect{138, 56, 213, 79}, 268, 91));
}

}  // namespace
}  // namespace vindelor

namespace tk {
namespace {

// Each subscriber hears every change once, in order, until its own subscription ends; ending
// one (even from inside a listener, or by moving over it) leaves the others listening.
TEST(Toolkit, HintsReachEverySubscriberUntilItsOwnSubscriptionEnds) {
  std::vector<std::string> heard;
  HintSubscription second;
  HintSubscription first = FollowHints([&](const std::string& hint) {
    heard.push_back("1" + hint);
    if (hint == "end 2") second.End();
  });
  second = FollowHints([&](const std::string& hint) { heard.push_back("2" + hint); });
  SetHint("a");
  SetHint("a");  // no change, nothing to hear
  {
    const HintSubscription third =
        FollowHints([&](const std::string& h) { heard.push_back("3" + h); });
    SetHint("b");
  }
  SetHint("end 2");
  SetHint("c");
  first = FollowHints([&](const std::string& hint) { heard.push_back("4" + hint); });
  SetHint("");
  EXPECT_EQ(heard, (std::vector<std::string>{"1a", "2a", "1b", "2b", "3b", "1end 2", "1c", "4"}));
  EXPECT_EQ(CurrentHint(), "");
}

}  // namespace
}  // namespace tk
