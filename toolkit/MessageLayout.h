// Where the toolkit's message dialogs put their icon, text and buttons (platform-neutral). The
// design's sizes are those of 96 pixels per inch; at other scales margins, gaps, buttons and the
// widest text scale with the display, and the icon slot is as large as the icon really is.
#pragma once

#include <vector>

#include "toolkit/ScreenArea.h"

namespace tk {

struct MessageMeasures {
  int pixelsPerInch = 96;
  int iconSize = 32;  // the icon's width and height in pixels
  int textWidth = 0;  // the text as drawn, wrapped at MaxMessageTextWidth
  int textHeight = 0;
  int buttonCount = 1;
  int widestCaption = 0;  // the widest button caption in pixels
};

struct MessageLayout {
  ScreenRect icon;
  ScreenRect text;
  std::vector<ScreenRect> buttons;  // in a centred row under icon and text
  int clientWidth = 0;
  int clientHeight = 0;
};

// The width at which the text wraps.
[[nodiscard]] int MaxMessageTextWidth(int pixelsPerInch);
[[nodiscard]] MessageLayout LayOutMessage(const MessageMeasures& measures);

}  // namespace tk
