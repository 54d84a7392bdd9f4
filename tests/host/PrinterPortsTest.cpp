#include "toolkit/PrinterPorts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tk {
namespace {

TEST(PrinterPorts, NamesAnAddedPrinterByItsPortLiterally) {
  EXPECT_EQ(PrinterOnPort("100%s Laser", "%s:"), "100%s Laser on %s:");  // never a pattern
}

TEST(PrinterPorts, TakesTheDefaultPrinterNameFromTheDeviceEntry) {
  for (auto [entry, name] : {std::pair("VindelorB,wineps.drv,CUPS:VindelorB", "VindelorB"),
                             std::pair("  HP LaserJet 4,winspool,LPT1:", "HP LaserJet 4"),
                             std::pair("Plain", "Plain")}) {
    EXPECT_EQ(DefaultPrinterName(entry), name) << entry;
  }
}

TEST(PrinterPorts, FindsPrintersByNameAndByTheSetupDialogsChoice) {
  const std::vector<PrinterEntry> nt = {
      {"A", "A", ""}, {"VindelorB", "VindelorB", ""}, {"VindelorB", "VindelorB", ""}};
  const std::vector<PrinterEntry> perPort = {{"Laser on LPT1:", "Laser", "LPT1:"},
                                             {"Laser on FILE:", "Laser", "FILE:"}};
  EXPECT_EQ(FindPrinterByName(nt, "VindelorB"), 1);  // the first of equal names
  EXPECT_EQ(FindPrinterByName(nt, "vindelorb"), kNoPrinter);  // case counts
  // An entry without a port stands for the printer on any port; entries per port need the port.
  EXPECT_EQ(FindChosenPrinter(nt, "VindelorB", "CUPS:VindelorB"), 1);
  EXPECT_EQ(FindChosenPrinter(nt, "VindelorC", "CUPS:VindelorC"), kNoPrinter);
  EXPECT_EQ(FindChosenPrinter(perPort, "Laser", "FILE:"), 1);
  EXPECT_EQ(FindChosenPrinter(perPort, "Laser", "COM1:"), kNoPrinter);
}

}  // namespace
}  // namespace tk
