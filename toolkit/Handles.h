// Move-only owners for every Win32 handle the program holds, and scoped pairs of calls
// (GetDC/ReleaseDC, SelectObject/restore, BeginPaint/EndPaint) as single objects.
#pragma once

#include <windows.h>

#include <cstdint>
#include <utility>

namespace tk {

// Owns a handle of type H, freed by Close; InvalidValue is the "no handle" value (0, or -1 for
// file and search handles).
template <class H, auto Close, std::intptr_t InvalidValue = 0>
class UniqueHandle {
 public:
  using Handle = H;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Reset(); }

  [[nodiscard]] Handle Get() const noexcept { return handle_; }
  [[nodiscard]] explicit operator bool() const noexcept { return handle_ != Invalid(); }
  // For an out-parameter: frees what is held and hands out the place to put the new handle.
  [[nodiscard]] Handle* Put() noexcept {
    Reset();
    return &handle_;
  }

  [[nodiscard]] Handle Release() noexcept { return std::exchange(handle_, Invalid()); }
  void Reset(Handle handle = Invalid()) noexcept {
    Handle old = std::exchange(handle_, handle);
    if (old != Invalid()) static_cast<void>(Close(old));
  }

 private:
  static Handle Invalid() noexcept { return reinterpret_cast<Handle>(InvalidValue); }
  Handle handle_ = Invalid();
};

using UniqueBitmap = UniqueHandle<HBITMAP, &DeleteObject>;
using UniqueFont = UniqueHandle<HFONT, &DeleteObject>;
using UniqueBrush = UniqueHandle<HBRUSH, &DeleteObject>;
using UniquePen = UniqueHandle<HPEN, &DeleteObject>;
using UniquePalette = UniqueHandle<HPALETTE, &DeleteObject>;
using UniqueMemoryDc = UniqueHandle<HDC, &DeleteDC>;  // CreateCompatibleDC / CreateDCA … DeleteDC
using UniqueWindow = UniqueHandle<HWND, &DestroyWindow>;
using UniqueMenu = UniqueHandle<HMENU, &DestroyMenu>;
using UniqueIcon = UniqueHandle<HICON, &DestroyIcon>;
using UniqueKey = UniqueHandle<HKEY, &RegCloseKey>;
using UniqueKernelHandle = UniqueHandle<HANDLE, &CloseHandle>;
using UniqueFile = UniqueHandle<HANDLE, &CloseHandle, -1>;

// GetDC or GetWindowDC … ReleaseDC.
class WindowDc {
 public:
  enum class Area { Client, WholeWindow };
  explicit WindowDc(HWND window, Area area = Area::Client) noexcept
      : window_(window), dc_(area == Area::Client ? GetDC(window) : GetWindowDC(window)) {}
  WindowDc(WindowDc&& other) noexcept
      : window_(other.window_), dc_(std::exchange(other.dc_, nullptr)) {}
  WindowDc& operator=(WindowDc&&) = delete;
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  [[nodiscard]] HDC Get() const noexcept { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// SelectObject … SelectObject(old).
class SelectGuard {
  // HGDI_ERROR, spelled without the macro's sign conversion.
  static inline const HGDIOBJ kSelectFailed = reinterpret_cast<HGDIOBJ>(static_cast<LONG_PTR>(-1));

 public:
  SelectGuard(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(SelectObject(dc, object)) {}
  SelectGuard(SelectGuard&& other) noexcept
      : dc_(other.dc_), old_(std::exchange(other.old_, nullptr)) {}
  SelectGuard& operator=(SelectGuard&&) = delete;
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;
  ~SelectGuard() {
    if (old_ && old_ != kSelectFailed) SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// SaveDC … RestoreDC: every object, mode, colour and clip set in between is put back.
class SavedDcState {
 public:
  explicit SavedDcState(HDC dc) noexcept : dc_(dc), saved_(SaveDC(dc)) {}
  SavedDcState(const SavedDcState&) = delete;
  SavedDcState& operator=(const SavedDcState&) = delete;
  ~SavedDcState() {
    if (saved_) RestoreDC(dc_, saved_);
  }

 private:
  HDC dc_;
  int saved_;
};

// SelectPalette + RealizePalette … SelectPalette(old). A null palette selects nothing.
class PaletteGuard {
 public:
  PaletteGuard(HDC dc, HPALETTE palette) noexcept
      : dc_(dc), old_(palette ? SelectPalette(dc, palette, FALSE) : nullptr) {
    if (old_) RealizePalette(dc_);
  }
  PaletteGuard(const PaletteGuard&) = delete;
  PaletteGuard& operator=(const PaletteGuard&) = delete;
  ~PaletteGuard() {
    if (old_) SelectPalette(dc_, old_, TRUE);
  }

 private:
  HDC dc_;
  HPALETTE old_;
};

// BeginPaint … EndPaint.
class PaintScope {
 public:
  explicit PaintScope(HWND window) noexcept : window_(window) { dc_ = BeginPaint(window, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  ~PaintScope() { EndPaint(window_, &paint_); }
  [[nodiscard]] HDC Get() const noexcept { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

}  // namespace tk
