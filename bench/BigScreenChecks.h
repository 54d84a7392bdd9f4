// What the big-screen benchmark checks: printed pages against the screen through the page layout,
// and BMP files against the screen pixel by pixel. Each check prints one line.
#pragma once

#include <windows.h>

#include <string>

#include "bench/ScreenPattern.h"

namespace bench {

class Checks {
 public:
  void Report(const std::string& what, bool passed, const std::string& detail);
  [[nodiscard]] int Failures() const noexcept { return failures_; }

  // A landscape page (the defaults: centred, not stretched, no date line) whose picture is
  // `area` of the screen: where the layout puts it, and its colours, sampled across it where the
  // screen is even around the sample, next to the screen's.
  void CheckPage(const std::string& pageFile, const ScreenShot& screen, RECT area,
                 const std::string& what);
  // A 24-bit file of `area` of the screen (white where the area lies beyond it): its size, its
  // headers and every pixel.
  void CheckBmp(const std::string& path, const ScreenShot& screen, RECT area);

 private:
  int failures_ = 0;
};

}  // namespace bench
