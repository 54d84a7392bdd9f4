#include "tests/support/GuiObjects.h"

#include <windows.h>
#include <winternl.h>

#include <cstdint>
#include <cstring>

namespace testing_support {
namespace {

// One entry of the GDI handle table that the PEB points to (x64 layout).
struct GdiHandleEntry {
  std::uint64_t object;
  std::uint32_t owner;
  std::uint16_t unique;
  std::uint8_t type;
  std::uint8_t flags;
  std::uint64_t userPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24);
constexpr std::size_t kPebGdiSharedHandleTable = 0xF8;
constexpr std::size_t kGdiHandleTableSize = 0x10000;

long CountGdiHandleTable() {
  PROCESS_BASIC_INFORMATION basic{};
  if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &basic,
                                sizeof(basic), nullptr) != 0) {
    return 0;
  }
  const auto* peb = reinterpret_cast<const std::uint8_t*>(basic.PebBaseAddress);
  const GdiHandleEntry* table = nullptr;
  std::memcpy(&table, peb + kPebGdiSharedHandleTable, sizeof(table));
  if (!table) return 0;
  long count = 0;
  for (std::size_t i = 0; i < kGdiHandleTableSize; ++i) {
    if (table[i].type != 0) ++count;
  }
  return count;
}

BOOL CALLBACK CountChild(HWND, LPARAM counter) {
  ++*reinterpret_cast<long*>(counter);
  return TRUE;
}

void CountWindowTree(HWND window, long& count) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != GetCurrentProcessId()) return;
  ++count;
  EnumChildWindows(window, &CountChild, reinterpret_cast<LPARAM>(&count));
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM counter) {
  CountWindowTree(window, *reinterpret_cast<long*>(counter));
  return TRUE;
}

long CountOwnWindows() {
  long count = 0;
  EnumWindows(&CountTopLevel, reinterpret_cast<LPARAM>(&count));
  for (HWND messageOnly = FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); messageOnly;
       messageOnly = FindWindowExA(HWND_MESSAGE, messageOnly, nullptr, nullptr)) {
    CountWindowTree(messageOnly, count);
  }
  return count;
}

}  // namespace

GuiObjectCounts CountGuiObjects() {
  HANDLE process = GetCurrentProcess();
  long gdi = static_cast<long>(GetGuiResources(process, GR_GDIOBJECTS));
  long user = static_cast<long>(GetGuiResources(process, GR_USEROBJECTS));
  if (gdi == 0) gdi = CountGdiHandleTable();
  if (user == 0) user = CountOwnWindows();
  return {gdi, user};
}

}  // namespace testing_support
