#include "toolkit/MessageLayout.h"

#include <algorithm>

#include "toolkit/Scaling.h"

namespace tk {
namespace {

constexpr int kMargin = 12, kButtonWidth = 75, kButtonHeight = 23, kButtonGap = 8;
constexpr int kCaptionPadding = 16;  // room beside a caption inside its button
constexpr int kMaxTextWidth = 420;

int Scaled(int pixelsAt96, int pixelsPerInch) {
  return ScaleRounded(pixelsAt96, pixelsPerInch, 96);
}

}  // namespace

int MaxMessageTextWidth(int pixelsPerInch) { return Scaled(kMaxTextWidth, pixelsPerInch); }

MessageLayout LayOutMessage(const MessageMeasures& m) {
  const int dpi = m.pixelsPerInch;
  const int margin = Scaled(kMargin, dpi), gap = Scaled(kButtonGap, dpi);
  const int buttonWidth =
      std::max(Scaled(kButtonWidth, dpi), m.widestCaption + Scaled(kCaptionPadding, dpi));
  const int buttonHeight = Scaled(kButtonHeight, dpi);
  const int textHeight = std::max(m.textHeight, 1);
  const int bodyHeight = std::max(m.iconSize, textHeight);
  const int textLeft = margin + m.iconSize + margin;
  const int buttonsWidth = m.buttonCount * buttonWidth + (m.buttonCount - 1) * gap;

  MessageLayout layout;
  layout.clientWidth = std::max(textLeft + m.textWidth + margin, buttonsWidth + 2 * margin);
  const int buttonsTop = margin + bodyHeight + margin;
  layout.clientHeight = buttonsTop + buttonHeight + margin;
  layout.icon = {margin, margin, margin + m.iconSize, margin + m.iconSize};
  const int textTop = margin + (bodyHeight - textHeight) / 2;
  layout.text = {textLeft, textTop, textLeft + m.textWidth, textTop + textHeight};
  int x = (layout.clientWidth - buttonsWidth) / 2;
  for (int i = 0; i < m.buttonCount; ++i, x += buttonWidth + gap) {
    layout.buttons.push_back({x, buttonsTop, x + buttonWidth, buttonsTop + buttonHeight});
  }
  return layout;
}

}  // namespace tk
