// The context menu: measuring its twelve items and painting them, one of them
// selected, on a canvas that records the drawing calls without drawing.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "look/bmp_read.h"
#include "look/xp_menu.h"

namespace pimblo {
namespace {

// Answers like a 32-bit display with the classic colours and an 8-point menu
// font, and counts what it is asked to draw.
class CountingCanvas : public MenuCanvas {
 public:
  long long shapes = 0, texts = 0, pixels = 0, bitmaps = 0, extents = 0, lookups = 0;

  int BitsPerPixel() override { return 32; }
  ColorRef SystemColor(int index) override {
    switch (index) {
      case 3: case 16: return MakeColor(128, 128, 128);
      case 4: case 15: return MakeColor(212, 208, 200);
      case 13: return MakeColor(10, 36, 106);
      default: return 0;
    }
  }
  ColorRef NearestColor(ColorRef rgb) override {
    ++lookups;
    return rgb;
  }
  bool SystemMenuFont(MenuFont& font) override {
    font.Name = L"Tahoma";
    font.Height = -11;
    font.Charset = 0;
    return true;
  }
  void SetFont(const MenuFont&) override {}
  MenuSize TextExtent(std::wstring_view text) override {
    ++extents;
    int width = 0;
    for (wchar_t c : text) width += c >= 0x2E80 ? 12 : c == L' ' ? 4 : 6;
    return {width, 13};
  }
  void OutText(int, int, std::wstring_view, ColorRef, const Rect&, TextOptions) override { ++texts; }
  void FillRect(const Rect&, ColorRef) override { ++shapes; }
  void FrameRect(const Rect&, ColorRef) override { ++shapes; }
  void Rectangle(const Rect&, ColorRef, ColorRef) override { ++shapes; }
  void Ellipse(const Rect&, ColorRef, ColorRef) override { ++shapes; }
  void RoundRect(const Rect&, int, ColorRef, ColorRef) override { ++shapes; }
  void Line(int, int, int, int, ColorRef) override { ++shapes; }
  void SetPixel(int, int, ColorRef) override { ++pixels; }
  void DrawBitmap(int, int, const Bitmap&, Pixel) override { ++bitmaps; }
  long long Calls() const { return shapes + texts + pixels + bitmaps; }
};

Bitmap Glyph(const char* name) {
  const std::string path = std::string(PIMBLO_GLYPH_DIR) + "/" + name + ".bmp";
  std::vector<std::uint8_t> bytes;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    int c;
    while ((c = std::fgetc(f)) != EOF) bytes.push_back(static_cast<std::uint8_t>(c));
    std::fclose(f);
  }
  auto bitmap = ReadBmp(bytes);
  return bitmap ? *bitmap : Bitmap();
}

// The main form's menu: its twelve items with their glyphs, drawn by the main
// form's TXPMenu.
struct ContextMenu {
  MenuOwner owner;
  MenuTree& popup = owner.AddMenu(MenuKind::PopupMenu);
  TXPMenu xp{owner};
  std::vector<int> heights;
  int width = 0;

  ContextMenu() {
    SetMainFormProperties(xp);
    const struct {
      const wchar_t* caption;
      const char* glyph;
    } entries[] = {
        {L"立正  !!!", "stop"},       {L"动起来!!!", "go"},          {L"现速度为:988", "speed"},
        {L"加速运动", "faster"},      {L"减速运动", "slower"},       {L"开机自动运行", "ball"},
        {L"取消自动运行", "ball"},    {L"-", nullptr},               {L"使用帮助", "help"},
        {L"-", nullptr},              {L"访问Vantry软件", "ball"},   {L"退出桌面Pimblo", "quit"},
    };
    for (const auto& e : entries) {
      MenuEntry& item = popup.Items().Add(e.caption);
      if (e.glyph) item.Glyph = Glyph(e.glyph);
    }
    CountingCanvas canvas;
    Measure(canvas);
  }
  int Count() { return popup.Items().Count(); }
  MenuEntry& Item(int i) { return popup.Items().Items(i); }
  void Measure(MenuCanvas& canvas) {
    heights.clear();
    width = 0;
    for (int i = 0; i < Count(); ++i) {
      int w = 0, h = 0;
      Item(i).OnMeasureItem.Call(Item(i), canvas, w, h);
      width = std::max(width, w);
      heights.push_back(h);
    }
  }
  void Paint(MenuCanvas& canvas, int selected) {
    for (int i = 0, top = 0; i < Count(); top += heights[static_cast<std::size_t>(i)], ++i)
      Item(i).OnDrawItem.Call(Item(i), canvas, {0, top, width, top + heights[static_cast<std::size_t>(i)]}, i == selected);
  }
};

void BM_MenuMeasure(benchmark::State& state) {
  ContextMenu menu;
  CountingCanvas canvas;
  for (auto _ : state) {
    menu.heights.reserve(12);
    menu.Measure(canvas);
    benchmark::DoNotOptimize(menu.width);
  }
  state.counters["items"] = menu.Count();
  state.counters["extents/menu"] = static_cast<double>(canvas.extents) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_MenuMeasure);

// All twelve items, the selection moving down the menu from one painting to the
// next as under a moving mouse.
void BM_MenuPaint(benchmark::State& state) {
  ContextMenu menu;
  CountingCanvas canvas;
  int selected = 0;
  for (auto _ : state) {
    menu.Paint(canvas, selected);
    selected = (selected + 1) % menu.Count();
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["items"] = menu.Count();
  state.counters["calls/menu"] = static_cast<double>(canvas.Calls()) / n;
  state.counters["pixels/menu"] = static_cast<double>(canvas.pixels) / n;
  state.counters["lookups/menu"] = static_cast<double>(canvas.lookups) / n;
}
BENCHMARK(BM_MenuPaint);

}  // namespace
}  // namespace pimblo
