#include "toolkit/PrinterPorts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tk {
namespace {

using Ports = std::vector<std::string>;

TEST(PrinterPorts, SplitsAPortListUpToTheFirstEmptyPort) {
  const struct {
    const char* list;
    Ports expected;
  } cases[] = {
      {"LPT1:", {"LPT1:"}},
      {"LPT1:, FILE:", {"LPT1:", "FILE:"}},
      {"LPT1:,FILE:,COM1:", {"LPT1:", "FILE:", "COM1:"}},
      {"  LPT1:,,FILE:", {"LPT1:"}},
      {",LPT1:", {}},
      {"", {}},
      {"   ", {}},
      {"LPT1:,   ,FILE:", {"LPT1:"}},         // blank only is empty once the blanks are skipped
      {"LPT1:,", {"LPT1:"}},                   // a trailing comma adds nothing
      {"LPT1: , FILE: ", {"LPT1: ", "FILE: "}},  // trailing blanks belong to the port
      {"\\\\server\\queue, NUL:", {"\\\\server\\queue", "NUL:"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SplitPortList(c.list), c.expected) << '"' << c.list << '"';
  }
}

TEST(PrinterPorts, ListsAPrinterOncePerPortWithItsDisplayText) {
  EXPECT_EQ(EntriesOnPorts("Laser", "LPT1:, FILE:"),
            (std::vector<PrinterEntry>{{"Laser on LPT1:", "Laser", "LPT1:"},
                                       {"Laser on FILE:", "Laser", "FILE:"}}));
  EXPECT_TRUE(EntriesOnPorts("Laser", ",LPT1:").empty());
  // Names are taken literally, never as a pattern.
  EXPECT_EQ(PrinterOnPort("100%s Laser", "%s:"), "100%s Laser on %s:");
  EXPECT_EQ(PrinterOnPort("", ""), " on ");
}

TEST(PrinterPorts, TakesTheDefaultPrinterNameFromTheDeviceEntry) {
  const struct {
    const char* entry;
    const char* name;
  } cases[] = {
      {"VindelorB,wineps.drv,CUPS:VindelorB", "VindelorB"},
      {"  HP LaserJet 4,winspool,LPT1:", "HP LaserJet 4"},  // blanks inside the name stay
      {"Plain", "Plain"},
      {"Trailing ,winspool", "Trailing "},
      {"", ""},
      {",winspool,LPT1:", ""},
      {"   ,winspool", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(DefaultPrinterName(c.entry), c.name) << c.entry;
}

TEST(PrinterPorts, FindsPrintersByNameAndByTheSetupDialogsChoice) {
  const std::vector<PrinterEntry> nt = {
      {"VindelorA", "VindelorA", ""}, {"VindelorB", "VindelorB", ""}, {"VindelorB", "VindelorB", ""}};
  const std::vector<PrinterEntry> perPort = {{"Laser on LPT1:", "Laser", "LPT1:"},
                                             {"Laser on FILE:", "Laser", "FILE:"}};

  EXPECT_EQ(FindPrinterByName(nt, "VindelorB"), 1);  // the first of equal names
  EXPECT_EQ(FindPrinterByName(nt, "vindelorb"), kNoPrinter);  // case counts
  EXPECT_EQ(FindPrinterByName(nt, "VindelorB "), kNoPrinter);
  EXPECT_EQ(FindPrinterByName(perPort, "Laser"), 0);
  EXPECT_EQ(FindPrinterByName({}, ""), kNoPrinter);

  // An entry without a port stands for the printer on any port.
  EXPECT_EQ(FindChosenPrinter(nt, "VindelorB", "CUPS:VindelorB"), 1);
  EXPECT_EQ(FindChosenPrinter(nt, "VindelorC", "CUPS:VindelorC"), kNoPrinter);
  // Entries per port need the port as well.
  EXPECT_EQ(FindChosenPrinter(perPort, "Laser", "FILE:"), 1);
  EXPECT_EQ(FindChosenPrinter(perPort, "Laser", "COM1:"), kNoPrinter);
  EXPECT_EQ(FindChosenPrinter(perPort, "laser", "LPT1:"), kNoPrinter);
}

}  // namespace
}  // namespace tk
