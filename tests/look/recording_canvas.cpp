#include "tests/look/recording_canvas.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace pimblo::test {

RecordingCanvas::RecordingCanvas(int width, int height) : picture(width, height, 0x00FF00FF) {
  systemFont.Name = L"Tahoma";
  systemFont.Height = -11;
  systemFont.Charset = 0;
  systemColors = {
      {3, MakeColor(128, 128, 128)},  // inactive caption
      {4, MakeColor(212, 208, 200)},  // menu
      {7, MakeColor(0, 0, 0)},        // menu text
      {8, MakeColor(0, 0, 0)},        // window text
      {13, MakeColor(10, 36, 106)},   // highlight
      {15, MakeColor(212, 208, 200)}, // button face
      {16, MakeColor(128, 128, 128)}, // button shadow
  };
}

CanvasCall& RecordingCanvas::Record(const char* kind) {
  calls.emplace_back();
  calls.back().kind = kind;
  return calls.back();
}

std::vector<CanvasCall> RecordingCanvas::Calls(std::string_view kind) const {
  std::vector<CanvasCall> found;
  for (const CanvasCall& c : calls)
    if (c.kind == kind) found.push_back(c);
  return found;
}

std::wstring RecordingCanvas::AllText() const {
  std::wstring all;
  for (const CanvasCall& c : calls)
    if (c.kind == "text") all += c.text;
  return all;
}

void RecordingCanvas::UsePalette() {
  bitsPerPixel = 8;
  nearest = [](ColorRef c) {
    const auto step = [](int v) { return (v + 25) / 51 * 51; };
    return MakeColor(step(RedOfColor(c)), step(GreenOfColor(c)), step(BlueOfColor(c)));
  };
}

int RecordingCanvas::CharWidth(wchar_t c) {
  if (c == L'W') return 10;
  if (c == L'&') return 7;
  if (c == L' ') return 4;
  if (c >= 0x2E80) return 12;  // CJK
  return 6;
}

ColorRef RecordingCanvas::SystemColor(int index) {
  const auto found = systemColors.find(index);
  return found == systemColors.end() ? 0 : found->second;
}

ColorRef RecordingCanvas::NearestColor(ColorRef rgb) {
  ++nearestLookups;
  return nearest(rgb);
}

bool RecordingCanvas::SystemMenuFont(MenuFont& font) {
  if (!answersMenuFont) return false;
  font = systemFont;
  return true;
}

MenuSize RecordingCanvas::TextExtent(std::wstring_view text) {
  int width = 0;
  for (wchar_t c : text) width += CharWidth(c);
  return {width, textHeight};
}

void RecordingCanvas::OutText(int x, int y, std::wstring_view text, ColorRef color, const Rect& clip,
                              TextOptions options) {
  CanvasCall& call = Record("text");
  call.rect = clip;
  call.color = color;
  call.x = x;
  call.y = y;
  call.text = std::wstring(text);
  call.options = options;
  // A block per character, a line under the accelerator.
  int left = x;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const int w = CharWidth(text[i]);
    if (text[i] != L' ')
      for (int py = y + 2; py < y + textHeight - 3; ++py)
        for (int px = left + 1; px < left + w - 1; ++px) Plot(px, py, color, &clip);
    if (static_cast<int>(i) == options.Accelerator)
      for (int px = left; px < left + w; ++px) Plot(px, y + textHeight - 2, color, &clip);
    left += w;
  }
}

void RecordingCanvas::Plot(int x, int y, ColorRef color, const Rect* clip) {
  if (clip && (x < clip->left || x >= clip->right || y < clip->top || y >= clip->bottom)) return;
  if (x < 0 || y < 0 || x >= picture.width || y >= picture.height) return;
  picture.At(x, y) = PixelFromColorRef(color);
}

void RecordingCanvas::PaintRect(const Rect& rect, ColorRef color) {
  for (int y = rect.top; y < rect.bottom; ++y)
    for (int x = rect.left; x < rect.right; ++x) Plot(x, y, color);
}

void RecordingCanvas::PaintFrame(const Rect& rect, ColorRef color) {
  for (int x = rect.left; x < rect.right; ++x) {
    Plot(x, rect.top, color);
    Plot(x, rect.bottom - 1, color);
  }
  for (int y = rect.top; y < rect.bottom; ++y) {
    Plot(rect.left, y, color);
    Plot(rect.right - 1, y, color);
  }
}

void RecordingCanvas::FillRect(const Rect& rect, ColorRef color) {
  CanvasCall& call = Record("fill");
  call.rect = rect;
  call.color = color;
  PaintRect(rect, color);
}

void RecordingCanvas::FrameRect(const Rect& rect, ColorRef color) {
  CanvasCall& call = Record("frame");
  call.rect = rect;
  call.color = color;
  PaintFrame(rect, color);
}

void RecordingCanvas::Rectangle(const Rect& rect, ColorRef pen, ColorRef brush) {
  CanvasCall& call = Record("rectangle");
  call.rect = rect;
  call.color = pen;
  call.brush = brush;
  PaintRect(rect, brush);
  PaintFrame(rect, pen);
}

// Ellipses and rounded rectangles are painted as plain rectangles.
void RecordingCanvas::Ellipse(const Rect& rect, ColorRef pen, ColorRef brush) {
  Rectangle(rect, pen, brush);
  calls.back().kind = "ellipse";
}

void RecordingCanvas::RoundRect(const Rect& rect, int corner, ColorRef pen, ColorRef brush) {
  Rectangle(rect, pen, brush);
  calls.back().kind = "roundrect";
  calls.back().corner = corner;
}

void RecordingCanvas::Line(int x1, int y1, int x2, int y2, ColorRef color) {
  CanvasCall& call = Record("line");
  call.rect = Rect{x1, y1, x2, y2};
  call.color = color;
  // Bresenham, without the end point.
  const int dx = std::abs(x2 - x1), sx = x1 < x2 ? 1 : -1;
  const int dy = -std::abs(y2 - y1), sy = y1 < y2 ? 1 : -1;
  int error = dx + dy;
  int x = x1, y = y1;
  while (x != x2 || y != y2) {
    Plot(x, y, color);
    const int e2 = 2 * error;
    if (e2 >= dy) {
      error += dy;
      x += sx;
    }
    if (e2 <= dx) {
      error += dx;
      y += sy;
    }
  }
}

void RecordingCanvas::SetPixel(int x, int y, ColorRef color) {
  CanvasCall& call = Record("pixel");
  call.color = color;
  call.x = x;
  call.y = y;
  Plot(x, y, color);
}

void RecordingCanvas::DrawBitmap(int x, int y, const Bitmap& bitmap, Pixel transparent) {
  CanvasCall& call = Record("bitmap");
  call.x = x;
  call.y = y;
  call.bitmap = bitmap;
  call.transparent = transparent;
  for (int row = 0; row < bitmap.height; ++row)
    for (int column = 0; column < bitmap.width; ++column)
      if (bitmap.At(column, row) != transparent) Plot(x + column, y + row, ColorRefFromPixel(bitmap.At(column, row)));
}

Bitmap TestGlyph(int size, ColorRef ink, ColorRef background) {
  Bitmap glyph(size, size, PixelFromColorRef(background));
  const int r = size / 2 - 2;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const int dx = 2 * x + 1 - size, dy = 2 * y + 1 - size;
      if (dx * dx + dy * dy <= 4 * r * r) glyph.At(x, y) = PixelFromColorRef(ink);
    }
  return glyph;
}

bool WritePpm(const Bitmap& picture, const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  std::fprintf(file, "P6\n%d %d\n255\n", picture.width, picture.height);
  for (Pixel p : picture.pixels) {
    const unsigned char rgb[3] = {RedOf(p), GreenOf(p), BlueOf(p)};
    std::fwrite(rgb, 1, 3, file);
  }
  return std::fclose(file) == 0;
}

}  // namespace pimblo::test
