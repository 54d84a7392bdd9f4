// Move-only owners for every Win32 handle the program holds, and scoped pairs of calls
// (GetDC/ReleaseDC, SelectObject/restore, BeginPaint/EndPaint) as single objects.
#pragma once

#include <windows.h>

#include <utility>

namespace tk {

template <class Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

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
  [[nodiscard]] explicit operator bool() const noexcept { return handle_ != Traits::Invalid(); }

  [[nodiscard]] Handle Release() noexcept { return std::exchange(handle_, Traits::Invalid()); }
  void Reset(Handle handle = Traits::Invalid()) noexcept {
    Handle old = std::exchange(handle_, handle);
    if (old != Traits::Invalid()) Traits::Close(old);
  }

 private:
  Handle handle_ = Traits::Invalid();
};

template <class T>
struct GdiObjectTraits {
  using Handle = T;
  static constexpr Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { DeleteObject(h); }
};
struct MemoryDcTraits {
  using Handle = HDC;
  static constexpr Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { DeleteDC(h); }
};
struct WindowTraits {
  using Handle = HWND;
  static constexpr Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { DestroyWindow(h); }
};
struct MenuTraits {
  using Handle = HMENU;
  static constexpr Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { DestroyMenu(h); }
};
struct IconTraits {
  using Handle = HICON;
  static constexpr Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { DestroyIcon(h); }
};
struct RegistryKeyTraits {
  using Handle = HKEY;
  static constexpr Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { RegCloseKey(h); }
};
struct KernelHandleTraits {
  using Handle = HANDLE;
  static constexpr Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { CloseHandle(h); }
};
struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) noexcept { CloseHandle(h); }
};

template <class T>
using UniqueGdi = UniqueHandle<GdiObjectTraits<T>>;
using UniqueBitmap = UniqueGdi<HBITMAP>;
using UniqueFont = UniqueGdi<HFONT>;
using UniqueBrush = UniqueGdi<HBRUSH>;
using UniquePen = UniqueGdi<HPEN>;
using UniquePalette = UniqueGdi<HPALETTE>;
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;  // CreateCompatibleDC / CreateDCA … DeleteDC
using UniqueWindow = UniqueHandle<WindowTraits>;
using UniqueMenu = UniqueHandle<MenuTraits>;
using UniqueIcon = UniqueHandle<IconTraits>;
using UniqueKey = UniqueHandle<RegistryKeyTraits>;
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFile = UniqueHandle<FileHandleTraits>;

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
