#include <gtest/gtest.h>

#include <vector>

#include "toolkit/RegistryData.h"

namespace {

TEST(RegistryData, IntegersAreLittleEndianSignedAndShortDataIsZeroExtended) {
  struct Case {
    std::vector<std::uint8_t> data;
    std::int32_t value;
  };
  for (const Case& c : {Case{{1, 0, 0, 0}, 1}, Case{{2, 0, 0, 0}, 2},
                        Case{{0xFF, 0xFF, 0xFF, 0xFF}, -1}, Case{{0xEC, 0xFF, 0xFF, 0xFF}, -20},
                        Case{{0x34, 0x12}, 0x1234}, Case{{}, 0}}) {
    EXPECT_EQ(tk::DecodeRegistryInteger(c.data), c.value);
  }
  std::vector<std::uint8_t> tooLong{1, 0, 0, 0, 0};
  EXPECT_THROW((void)tk::DecodeRegistryInteger(tooLong), std::invalid_argument);
}

TEST(RegistryData, StringsAreCutAtTheirFirstNul) {
  using namespace std::string_view_literals;
  EXPECT_EQ(tk::DecodeRegistryString("Default Printer"sv), "Default Printer");
  EXPECT_EQ(tk::DecodeRegistryString("Default Printer\0"sv), "Default Printer");
  EXPECT_EQ(tk::DecodeRegistryString("Vin\0xy\0"sv), "Vin");
  EXPECT_EQ(tk::DecodeRegistryString(""sv), "");
}

}  // namespace
