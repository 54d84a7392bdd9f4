#include "toolkit/Error.h"
#include "toolkit/Text.h"

#include <cctype>

namespace tk {

std::string FormatText(std::string_view pattern, std::string_view argument) {
  std::string text(pattern);
  if (auto at = text.find("%s"); at != std::string::npos) text.replace(at, 2, argument);
  return text;
}

namespace {
bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
}  // namespace

std::size_t Utf16Length(std::string_view utf8) {
  std::size_t units = 0;
  for (char c : utf8) {
    if (IsContinuationByte(c)) continue;
    units += static_cast<unsigned char>(c) >= 0xF0 ? 2 : 1;  // four bytes: a surrogate pair
  }
  return units;
}

std::string_view CutToWholeCharacters(std::string_view utf8, std::size_t maxBytes) {
  if (utf8.size() <= maxBytes) return utf8;
  // Back from the first byte left out to the start of its character, three bytes at most.
  std::size_t start = maxBytes;
  for (int back = 0; back < 3 && start > 0 && IsContinuationByte(utf8[start]); ++back) --start;
  const bool leadByte = static_cast<unsigned char>(utf8[start]) >= 0xC0;
  return utf8.substr(0, start < maxBytes && leadByte ? start : maxBytes);
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
