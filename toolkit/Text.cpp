#include "toolkit/Error.h"
#include "toolkit/Text.h"

#include <cctype>

namespace tk {

std::string FormatText(std::string_view pattern, std::string_view argument) {
  std::string text(pattern);
  if (auto at = text.find("%s"); at != std::string::npos) text.replace(at, 2, argument);
  return text;
}

std::string ApplicationTitleFromPath(std::string_view modulePath) {
  auto nameStart = modulePath.find_last_of("\\/:");
  std::string_view name =
      nameStart == std::string_view::npos ? modulePath : modulePath.substr(nameStart + 1);
  name = name.substr(0, name.find('.'));
  std::string title(name);
  for (std::size_t i = 1; i < title.size(); ++i) {
    title[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(title[i])));
  }
  return title;
}

bool TickIntervalElapsed(std::uint32_t startTicks, std::uint32_t nowTicks, std::int32_t interval) {
  // Unsigned subtraction wraps; reading the difference as signed keeps the test right across the
  // 49.7-day wrap of the tick counter and makes zero or negative intervals elapse at once.
  auto elapsed = static_cast<std::int32_t>(nowTicks - startTicks);
  return elapsed >= interval;
}

}  // namespace tk
