// Move-only owners of Win32 handles: each releases its handle exactly once, with
// the call that matches how it was made. A handle given to the window system
// (a region passed to SetWindowRgn, say) is released from its owner first.
#pragma once

#include <windows.h>
#include <objidl.h>  // before commctrl.h, for ImageList_Read
#include <commctrl.h>

#include <utility>

namespace pimblo::win {

// How many handles of each kind our owners hold right now: the soak test's census
// of the program's GDI and USER objects (the window system's own counts are not
// available everywhere).
enum class HandleKind : int { Gdi, Dc, Global, Menu, ImageList, Count };
inline int g_liveHandles[static_cast<int>(HandleKind::Count)] = {};
inline int LiveHandles(HandleKind kind) { return g_liveHandles[static_cast<int>(kind)]; }

template <class Handle, class Traits>
class Scoped {
 public:
  Scoped() = default;
  explicit Scoped(Handle h) : h_(h) { Count(h_, +1); }
  ~Scoped() { Reset(); }
  Scoped(Scoped&& o) noexcept : h_(std::exchange(o.h_, Handle{})) {}
  Scoped& operator=(Scoped&& o) noexcept {
    if (this != &o) {
      Reset();
      h_ = std::exchange(o.h_, Handle{});
    }
    return *this;
  }
  Scoped(const Scoped&) = delete;
  Scoped& operator=(const Scoped&) = delete;

  Handle Get() const { return h_; }
  explicit operator bool() const { return h_ != Handle{}; }
  // Gives the handle away; the caller (or the window system) owns it now.
  Handle Release() {
    Count(h_, -1);
    return std::exchange(h_, Handle{});
  }
  void Reset(Handle h = Handle{}) {
    if (h_ != Handle{}) {
      Traits::Close(h_);
      Count(h_, -1);
    }
    h_ = h;
    Count(h_, +1);
  }

 private:
  static void Count(Handle h, int step) {
    if (h != Handle{}) g_liveHandles[static_cast<int>(Traits::kKind)] += step;
  }
  Handle h_{};
};

// What an owner knows of one kind of handle: the census it is counted in and
// the call that releases it.
template <HandleKind Kind, auto CloseCall>
struct HandleTraits {
  static constexpr HandleKind kKind = Kind;
  template <class Handle>
  static void Close(Handle h) {
    CloseCall(h);
  }
};
using GdiObjectTraits = HandleTraits<HandleKind::Gdi, &DeleteObject>;
using DcTraits = HandleTraits<HandleKind::Dc, &DeleteDC>;
using GlobalTraits = HandleTraits<HandleKind::Global, &GlobalFree>;
using MenuTraits = HandleTraits<HandleKind::Menu, &DestroyMenu>;
using ImageListTraits = HandleTraits<HandleKind::ImageList, &ImageList_Destroy>;

using ScopedBitmap = Scoped<HBITMAP, GdiObjectTraits>;
using ScopedRegion = Scoped<HRGN, GdiObjectTraits>;
using ScopedBrush = Scoped<HBRUSH, GdiObjectTraits>;
using ScopedFont = Scoped<HFONT, GdiObjectTraits>;
using ScopedPen = Scoped<HPEN, GdiObjectTraits>;
using ScopedMemoryDc = Scoped<HDC, DcTraits>;  // from CreateCompatibleDC, never a window's DC
using ScopedGlobal = Scoped<HGLOBAL, GlobalTraits>;
using ScopedMenu = Scoped<HMENU, MenuTraits>;
using ScopedImageList = Scoped<HIMAGELIST, ImageListTraits>;

// Selects an object into a device context and puts the previous one back. It
// owns neither the context nor the object.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~ScopedSelect() {
    if (old_) SelectObject(dc_, old_);
  }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A window's device context, given back with ReleaseDC: its client area's from GetDC, or the whole
// window's, frame included, from GetWindowDC. It does not own the window.
class WindowDc {
 public:
  enum Area { kClient, kWholeWindow };
  explicit WindowDc(HWND window, Area area = kClient)
      : window_(window), dc_(area == kWholeWindow ? GetWindowDC(window) : GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// A hook procedure installed with SetWindowsHookEx, taken out with UnhookWindowsHookEx. It owns the
// installation only: neither the procedure nor anything the procedure reaches.
class ScopedHook {
 public:
  ScopedHook() = default;
  explicit ScopedHook(HHOOK hook) : hook_(hook) {}
  ~ScopedHook() {
    if (hook_) UnhookWindowsHookEx(hook_);
  }
  ScopedHook(ScopedHook&& o) noexcept : hook_(std::exchange(o.hook_, nullptr)) {}
  ScopedHook& operator=(ScopedHook&& o) noexcept {
    if (this != &o) {
      if (hook_) UnhookWindowsHookEx(hook_);
      hook_ = std::exchange(o.hook_, nullptr);
    }
    return *this;
  }
  ScopedHook(const ScopedHook&) = delete;
  ScopedHook& operator=(const ScopedHook&) = delete;
  HHOOK Get() const { return hook_; }
  explicit operator bool() const { return hook_ != nullptr; }

 private:
  HHOOK hook_ = nullptr;
};

// A locked global memory block, unlocked on leaving. It does not own the block.
class GlobalLockGuard {
 public:
  explicit GlobalLockGuard(HGLOBAL block) : block_(block), data_(GlobalLock(block)) {}
  ~GlobalLockGuard() {
    if (data_) GlobalUnlock(block_);
  }
  GlobalLockGuard(const GlobalLockGuard&) = delete;
  GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
  void* Data() const { return data_; }

 private:
  HGLOBAL block_;
  void* data_;
};

}  // namespace pimblo::win
