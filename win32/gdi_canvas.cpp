#include "win32/gdi_canvas.h"

#include "look/menu_colors.h"
#include "win32/dib.h"
#include "win32/dpi.h"

#include <cstddef>
#include <cstring>
#include <cwchar>
#include <memory>
#include <unordered_map>

namespace pimblo {

namespace {

RECT ToRect(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }

LOGFONTW LogFontOf(const MenuFont& font) {
  LOGFONTW lf{};
  lf.lfHeight = font.Height;
  lf.lfWeight = font.Bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = font.Italic;
  lf.lfUnderline = font.Underline;
  lf.lfStrikeOut = font.StrikeOut;
  lf.lfCharSet = font.Charset;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH;
  std::wcsncpy(lf.lfFaceName, font.Name.c_str(), LF_FACESIZE - 1);
  return lf;
}

// A pen and a brush selected for one shape, put back and deleted afterwards.
class PenAndBrush {
 public:
  PenAndBrush(HDC dc, ColorRef pen, ColorRef brush)
      : pen_(CreatePen(PS_SOLID, 1, pen)), brush_(CreateSolidBrush(brush)), selectPen_(dc, pen_.Get()),
        selectBrush_(dc, brush_.Get()) {}

 private:
  win::ScopedPen pen_;
  win::ScopedBrush brush_;
  win::ScopedSelect selectPen_;
  win::ScopedSelect selectBrush_;
};

}  // namespace

Win32Canvas::Win32Canvas(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {
  SetBkMode(dc_, TRANSPARENT);
  SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
}

Win32Canvas::~Win32Canvas() {
  // Our fonts leave the context before they are deleted.
  if (saved_) RestoreDC(dc_, saved_);
}

int Win32Canvas::BitsPerPixel() { return GetDeviceCaps(dc_, BITSPIXEL); }

ColorRef Win32Canvas::SystemColor(int index) { return GetSysColor(index); }

ColorRef Win32Canvas::NearestColor(ColorRef rgb) {
  const COLORREF nearest = GetNearestColor(dc_, rgb);
  return nearest == CLR_INVALID ? rgb : nearest;
}

bool Win32Canvas::SystemMenuFont(MenuFont& font) { return ReadSystemMenuFont(font); }

void Win32Canvas::SetFont(const MenuFont& font) {
  if (handle_ && font == font_) return;
  const LOGFONTW lf = LogFontOf(font);
  win::ScopedFont made(CreateFontIndirectW(&lf));
  if (!made) return;
  SelectObject(dc_, made.Get());
  handle_ = std::move(made);  // the one before is out of the context now
  font_ = font;
}

MenuSize Win32Canvas::TextExtent(std::wstring_view text) {
  SIZE size{};
  GetTextExtentPoint32W(dc_, text.data(), static_cast<int>(text.size()), &size);
  return {static_cast<int>(size.cx), static_cast<int>(size.cy)};
}

void Win32Canvas::OutText(int x, int y, std::wstring_view text, ColorRef color, const Rect& clip,
                          TextOptions options) {
  SetTextColor(dc_, color);
  RECT r = ToRect(clip);
  if (options.Accelerator < 0 || static_cast<std::size_t>(options.Accelerator) >= text.size()) {
    const UINT flags = ETO_CLIPPED | (options.RtlReading ? ETO_RTLREADING : 0);
    ExtTextOutW(dc_, x, y, flags, &r, text.data(), static_cast<UINT>(text.size()), nullptr);
    return;
  }
  // The system underlines the accelerator, in either reading order, when it
  // is marked with "&" again.
  std::wstring marked;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (static_cast<int>(i) == options.Accelerator) marked += L'&';
    marked += text[i];
    if (text[i] == L'&') marked += L'&';
  }
  r.left = x;
  r.top = y;
  DrawTextW(dc_, marked.c_str(), static_cast<int>(marked.size()), &r,
            DT_LEFT | DT_TOP | DT_SINGLELINE | (options.RtlReading ? DT_RTLREADING : 0));
}

void Win32Canvas::FillRect(const Rect& rect, ColorRef color) {
  const RECT r = ToRect(rect);
  win::ScopedBrush brush(CreateSolidBrush(color));
  ::FillRect(dc_, &r, brush.Get());
}

void Win32Canvas::FrameRect(const Rect& rect, ColorRef color) {
  const RECT r = ToRect(rect);
  win::ScopedBrush brush(CreateSolidBrush(color));
  ::FrameRect(dc_, &r, brush.Get());
}

void Win32Canvas::Rectangle(const Rect& rect, ColorRef pen, ColorRef brush) {
  PenAndBrush tools(dc_, pen, brush);
  ::Rectangle(dc_, rect.left, rect.top, rect.right, rect.bottom);
}

void Win32Canvas::Ellipse(const Rect& rect, ColorRef pen, ColorRef brush) {
  PenAndBrush tools(dc_, pen, brush);
  ::Ellipse(dc_, rect.left, rect.top, rect.right, rect.bottom);
}

void Win32Canvas::RoundRect(const Rect& rect, int corner, ColorRef pen, ColorRef brush) {
  PenAndBrush tools(dc_, pen, brush);
  ::RoundRect(dc_, rect.left, rect.top, rect.right, rect.bottom, corner, corner);
}

void Win32Canvas::Line(int x1, int y1, int x2, int y2, ColorRef color) {
  win::ScopedPen pen(CreatePen(PS_SOLID, 1, color));
  win::ScopedSelect select(dc_, pen.Get());
  MoveToEx(dc_, x1, y1, nullptr);
  LineTo(dc_, x2, y2);
}

void Win32Canvas::SetPixel(int x, int y, ColorRef color) { SetPixelV(dc_, x, y, color); }

void Win32Canvas::DrawBitmap(int x, int y, const Bitmap& bitmap, Pixel transparent) {
  if (bitmap.width <= 0 || bitmap.height <= 0) return;
  const BITMAPINFO info = ui::Dib32Info(bitmap.width, bitmap.height);
  void* bits = nullptr;
  win::ScopedBitmap dib(CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib || !bits) return;
  std::memcpy(bits, bitmap.pixels.data(), bitmap.pixels.size() * sizeof(Pixel));
  win::ScopedMemoryDc memory(CreateCompatibleDC(dc_));
  win::ScopedSelect select(memory.Get(), dib.Get());
  TransparentBlt(dc_, x, y, bitmap.width, bitmap.height, memory.Get(), 0, 0, bitmap.width, bitmap.height,
                 ColorRefFromPixel(transparent));
}

bool ReadSystemMenuFont(MenuFont& font) {
  NONCLIENTMETRICSW metrics;
  if (!ui::NonClientMetrics(metrics)) return false;
  const LOGFONTW& lf = metrics.lfMenuFont;
  font.Name = lf.lfFaceName;
  font.Height = lf.lfHeight;
  font.Charset = lf.lfCharSet;
  font.Bold = lf.lfWeight >= FW_BOLD;
  font.Italic = lf.lfItalic != 0;
  font.Underline = lf.lfUnderline != 0;
  font.StrikeOut = lf.lfStrikeOut != 0;
  return true;
}

Bitmap BitmapFromHandle(HBITMAP handle) {
  BITMAP header{};
  if (!handle || !GetObjectW(handle, sizeof header, &header) || header.bmWidth <= 0 || header.bmHeight == 0) return {};
  const int height = header.bmHeight < 0 ? -header.bmHeight : header.bmHeight;
  Bitmap bitmap(header.bmWidth, height);
  BITMAPINFO info = ui::Dib32Info(header.bmWidth, height);
  win::ScopedMemoryDc dc(CreateCompatibleDC(nullptr));
  if (GetDIBits(dc.Get(), handle, 0, static_cast<UINT>(height), bitmap.pixels.data(), &info, DIB_RGB_COLORS) != height)
    return {};
  for (Pixel& p : bitmap.pixels) p &= 0x00FFFFFF;
  return bitmap;
}

}  // namespace pimblo
