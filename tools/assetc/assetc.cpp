// assetc: compiles our editable assets (XPM) into the forms the program stores.
//   assetc sheet IN.xpm FRAMES OUT.il      image-list stream of FRAMES 32×32 frames
//   assetc bmp IN.xpm OUT.bmp              24-bit BMP (menu glyphs)
//   assetc ico IN.xpm… OUT.ico             16-colour icon with mask at 16, 32 and 48 pixels: the
//                                          32×32 picture and any 16 or 48 drawn; the rest scaled
//   assetc png IN.xpm… SIZE OUT.png       the icon's picture at SIZE (16, 32 or 48) as the .ico has
//                                          it, 8-bit RGBA, see-through where the XPM says None
//   assetc embed OUT.cpp NAME=FILE …       C++ source holding the files' bytes
//   assetc preview HEADS.il LEGS.il SCALE OUT.ppm   all frames, both ways, enlarged
//   assetc stream IN OUT                  IN behind its 32-bit length (a stored stream property)
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "look/bmp_read.h"
#include "look/win_skin_data.h"
#include "sprites/bytes.h"
#include "sprites/image_list_stream.h"
#include "sprites/pet_sheets.h"
#include "sprites/region_scan.h"
#include "tools/assetc/png.h"
#include "tools/assetc/xpm.h"

namespace pimblo {
namespace {

struct ToolError {
  std::string message;
};
[[noreturn]] void Fail(const std::string& message) { throw ToolError{message}; }

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  if (!f) Fail("cannot read " + path);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!f.flush()) Fail("cannot write " + path);
}

XpmImage LoadXpm(const std::string& path) {
  const auto bytes = ReadFile(path);
  auto image = ReadXpm(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  if (auto* error = std::get_if<std::string>(&image)) Fail(path + ": " + *error);
  return std::get<XpmImage>(std::move(image));
}

// Sprites are stored with five bits a channel: every colour must survive that.
void CheckFiveBitColours(const XpmImage& image, const std::string& path) {
  for (Pixel p : image.colours) {
    for (std::uint8_t c : {RedOf(p), GreenOf(p), BlueOf(p)})
      if (Widen5(c >> 3) != c) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "#%06X", static_cast<unsigned>(p));
        Fail(path + ": colour " + hex + " is not exact in five bits a channel");
      }
  }
}

void Sheet(const std::string& in, int frames, const std::string& out) {
  const XpmImage image = LoadXpm(in);
  if (frames <= 0 || image.pixels.width != 32 * frames || image.pixels.height != 32)
    Fail(in + ": expected " + std::to_string(frames) + " frames of 32x32 side by side");
  CheckFiveBitColours(image, in);
  ImageList list(32, 32);
  for (int f = 0; f < frames; ++f) {
    Bitmap frame(32, 32);
    Mask mask(32, 32);
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        frame.At(x, y) = image.pixels.At(32 * f + x, y);
        mask.Set(x, y, image.clear.IsTransparent(32 * f + x, y));
      }
    list.Add(frame, &mask);
  }
  WriteFile(out, WriteImageListStream(list));
}

void Bmp(const std::string& in, const std::string& out) {
  const XpmImage image = LoadXpm(in);
  if (image.hasNone) Fail(in + ": a glyph is opaque; it may not use None");
  WriteFile(out, WriteBmp24(image.pixels));
}

// One picture of an icon: its pixels, where it is see-through, its colours.
struct IconImage {
  Bitmap pixels;
  Mask clear;
  std::vector<Pixel> colours;
};

// Nearest neighbour from pixel centres: every pixel of the result takes the
// source pixel under its centre, so the picture stays hard-edged pixel art.
IconImage ScaleIcon(const IconImage& from, int size) {
  IconImage to{Bitmap(size, size), Mask(size, size), from.colours};
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const int sx = (2 * x + 1) * from.pixels.width / (2 * size);
      const int sy = (2 * y + 1) * from.pixels.height / (2 * size);
      to.pixels.At(x, y) = from.pixels.At(sx, sy);
      to.clear.Set(x, y, from.clear.IsTransparent(sx, sy));
    }
  return to;
}

// A 16-colour picture as an icon stores it: the header (height doubled for the
// colour and mask halves), the palette, the colour rows and the mask rows, each
// row padded to four bytes and the bottom row first.
std::vector<std::uint8_t> IconDib(const IconImage& image) {
  const int size = image.pixels.width;
  std::vector<Pixel> palette = image.colours;
  std::sort(palette.begin(), palette.end());
  palette.erase(std::unique(palette.begin(), palette.end()), palette.end());
  palette.resize(16, 0);
  const std::uint32_t xorRow = (static_cast<std::uint32_t>(size) * 4 + 31) / 32 * 4;
  const std::uint32_t andRow = (static_cast<std::uint32_t>(size) + 31) / 32 * 4;
  ByteWriter w;
  w.U32(40);
  w.I32(size);
  w.I32(2 * size);
  w.U16(1);
  w.U16(4);
  w.U32(0);
  w.U32((xorRow + andRow) * static_cast<std::uint32_t>(size));
  w.I32(0);
  w.I32(0);
  w.U32(16);
  w.U32(0);
  for (Pixel c : palette) w.U32(c & 0x00FFFFFF);
  auto index = [&](int x, int y) {
    if (image.clear.IsTransparent(x, y)) return 0;  // black under a set mask bit: see-through
    return static_cast<int>(std::find(palette.begin(), palette.end(), image.pixels.At(x, y)) - palette.begin());
  };
  for (int y = size - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(xorRow, 0);
    for (int x = 0; x < size; ++x) row[static_cast<std::size_t>(x / 2)] |= static_cast<std::uint8_t>(index(x, y) << (x % 2 ? 0 : 4));
    w.Bytes(row);
  }
  for (int y = size - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(andRow, 0);
    for (int x = 0; x < size; ++x)
      if (image.clear.IsTransparent(x, y)) row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    w.Bytes(row);
  }
  return w.Take();
}

// The program's icon at 16, 32 and 48 pixels. The 32-pixel drawing is required;
// a size without a drawing of its own is scaled from it.
constexpr int kIconSizes[] = {16, 32, 48};

// The drawings given, one slot per size of kIconSizes, checked.
std::vector<std::optional<IconImage>> IconDrawings(const std::vector<std::string>& ins) {
  std::vector<std::optional<IconImage>> drawn(std::size(kIconSizes));
  for (const std::string& in : ins) {
    XpmImage xpm = LoadXpm(in);
    const int size = xpm.pixels.width;
    const auto slot = std::find(std::begin(kIconSizes), std::end(kIconSizes), size) - std::begin(kIconSizes);
    if (xpm.pixels.height != size || slot == std::ssize(kIconSizes))
      Fail(in + ": an icon picture is 16x16, 32x32 or 48x48");
    if (drawn[static_cast<std::size_t>(slot)]) Fail(in + ": a second " + std::to_string(size) + "-pixel picture");
    std::vector<Pixel> colours = xpm.colours;
    std::sort(colours.begin(), colours.end());
    if (std::unique(colours.begin(), colours.end()) - colours.begin() > 16) Fail(in + ": the icon has more than 16 colours");
    drawn[static_cast<std::size_t>(slot)] = IconImage{std::move(xpm.pixels), std::move(xpm.clear), std::move(xpm.colours)};
  }
  if (!drawn[1]) Fail("the icon needs its 32x32 picture");
  return drawn;
}

// The picture of the icon at kIconSizes[slot]: drawn, or scaled from the 32.
IconImage IconPicture(const std::vector<std::optional<IconImage>>& drawn, std::size_t slot) {
  return drawn[slot] ? *drawn[slot] : ScaleIcon(*drawn[1], kIconSizes[slot]);
}

void Ico(const std::vector<std::string>& ins, const std::string& out) {
  const auto drawn = IconDrawings(ins);
  std::vector<std::vector<std::uint8_t>> dibs;
  for (std::size_t i = 0; i < std::size(kIconSizes); ++i) dibs.push_back(IconDib(IconPicture(drawn, i)));
  ByteWriter w;
  w.U16(0);
  w.U16(1);  // icon
  w.U16(static_cast<std::uint16_t>(dibs.size()));
  std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(dibs.size());
  for (std::size_t i = 0; i < dibs.size(); ++i) {
    w.U8(static_cast<std::uint8_t>(kIconSizes[i]));
    w.U8(static_cast<std::uint8_t>(kIconSizes[i]));
    w.U8(16);  // colours
    w.U8(0);
    w.U16(1);  // planes
    w.U16(4);  // bits a pixel
    w.U32(static_cast<std::uint32_t>(dibs[i].size()));
    w.U32(offset);
    offset += static_cast<std::uint32_t>(dibs[i].size());
  }
  for (const auto& dib : dibs) w.Bytes(dib);
  WriteFile(out, w.Take());
}

// One size of the icon as a PNG file (the Linux desktop's icon theme), the
// same picture as that size of the .ico.
void Png(const std::vector<std::string>& ins, const std::string& sizeText, const std::string& out) {
  const int size = std::atoi(sizeText.c_str());
  const auto slot = std::find(std::begin(kIconSizes), std::end(kIconSizes), size) - std::begin(kIconSizes);
  if (slot == std::ssize(kIconSizes)) Fail("an icon is 16, 32 or 48 pixels, not " + sizeText);
  const auto drawn = IconDrawings(ins);
  const IconImage picture = IconPicture(drawn, static_cast<std::size_t>(slot));
  WriteFile(out, WritePng(picture.pixels, picture.clear));
}

void Embed(const std::string& out, const std::vector<std::string>& entries) {
  std::ostringstream s;
  s << "// Generated by assetc from the compiled assets; do not edit.\n"
       "#include \"resources/embedded_assets.h\"\n\nnamespace pimblo::assets {\nnamespace {\n";
  std::vector<std::string> names;
  for (const std::string& entry : entries) {
    const auto eq = entry.find('=');
    if (eq == std::string::npos) Fail("embed takes NAME=FILE, not " + entry);
    const std::string name = entry.substr(0, eq);
    const auto bytes = ReadFile(entry.substr(eq + 1));
    names.push_back(name);
    s << "const std::uint8_t k" << name << "[" << std::max<std::size_t>(bytes.size(), 1) << "] = {";
    for (std::size_t i = 0; i < bytes.size(); ++i) s << (i % 24 == 0 ? "\n" : "") << int{bytes[i]} << ',';
    s << "};\nconstexpr std::size_t k" << name << "Size = " << bytes.size() << ";\n";
  }
  s << "}  // namespace\n\n";
  for (const std::string& name : names)
    s << "std::span<const std::uint8_t> " << name << "() { return {k" << name << ", k" << name << "Size}; }\n";
  s << "\n}  // namespace pimblo::assets\n";
  const std::string text = s.str();
  WriteFile(out, std::vector<std::uint8_t>(text.begin(), text.end()));
}

// All frames, each sheet facing right then left, cut as the pet's window is,
// then the composed poses; on a light background, enlarged.
void Preview(const std::string& headsPath, const std::string& legsPath, int scale, const std::string& out) {
  if (scale < 1 || scale > 32) Fail("scale must lie in 1..32");
  const auto heads = ReadFile(headsPath), legs = ReadFile(legsPath);
  auto loaded = LoadPetSheets(heads, legs);
  if (auto* error = std::get_if<std::string>(&loaded)) Fail(*error);
  const PetSheets& sheets = std::get<PetSheets>(loaded);

  std::vector<std::vector<Bitmap>> rows;
  auto sheetRow = [&](const ImageList& list, bool opaqueSheet) {
    std::vector<Bitmap> row;
    for (int i = 0; i < list.Count(); ++i) {
      Bitmap b(32, 32, opaqueSheet ? 0 : kRedPixel);
      list.Draw(i, b);
      row.push_back(b);
    }
    rows.push_back(row);
  };
  sheetRow(sheets.Heads, true);
  sheetRow(sheets.FHeads, true);
  sheetRow(sheets.Legs, false);
  sheetRow(sheets.FLegs, false);
  for (bool right : {true, false}) {
    std::vector<Bitmap> row;
    for (int leg = 0; leg < sheets.Legs.Count(); ++leg) {
      Bitmap b;
      (right ? sheets.Heads : sheets.FHeads).Draw(leg == 6 || leg == 7 ? 1 : 6, b);
      (right ? sheets.Legs : sheets.FLegs).Draw(leg, b);
      row.push_back(b);
    }
    rows.push_back(row);
  }

  const int cell = 32 * scale, gap = 2 * scale;
  const int width = gap + 8 * (cell + gap), height = gap + static_cast<int>(rows.size()) * (cell + gap);
  const Pixel background = MakePixel(236, 238, 242), frameBack = MakePixel(250, 250, 250);
  Bitmap picture(width, height, background);
  const KeyRange key = MakeKeyRange(kPetKey, kPetTolerance);
  for (std::size_t r = 0; r < rows.size(); ++r)
    for (std::size_t c = 0; c < rows[r].size(); ++c)
      for (int y = 0; y < cell; ++y)
        for (int x = 0; x < cell; ++x) {
          const Pixel p = rows[r][c].At(x / scale, y / scale);
          picture.At(gap + static_cast<int>(c) * (cell + gap) + x, gap + static_cast<int>(r) * (cell + gap) + y) =
              IsKeyPixel(p, key) ? frameBack : p;
        }
  std::ostringstream s;
  s << "P6\n" << width << ' ' << height << "\n255\n";
  std::string text = s.str();
  std::vector<std::uint8_t> bytes(text.begin(), text.end());
  for (Pixel p : picture.pixels) {
    bytes.push_back(RedOf(p));
    bytes.push_back(GreenOf(p));
    bytes.push_back(BlueOf(p));
  }
  WriteFile(out, bytes);
}

void Stream(const std::string& in, const std::string& out) { WriteFile(out, SkinStreamOf(ReadFile(in))); }

int Run(const std::vector<std::string>& a) {
  if (a.size() == 4 && a[0] == "sheet") Sheet(a[1], std::atoi(a[2].c_str()), a[3]);
  else if (a.size() == 3 && a[0] == "bmp") Bmp(a[1], a[2]);
  else if (a.size() >= 3 && a[0] == "ico") Ico({a.begin() + 1, a.end() - 1}, a.back());
  else if (a.size() >= 4 && a[0] == "png") Png({a.begin() + 1, a.end() - 2}, a[a.size() - 2], a.back());
  else if (a.size() >= 2 && a[0] == "embed") Embed(a[1], {a.begin() + 2, a.end()});
  else if (a.size() == 5 && a[0] == "preview") Preview(a[1], a[2], std::atoi(a[3].c_str()), a[4]);
  else if (a.size() == 3 && a[0] == "stream") Stream(a[1], a[2]);
  else {
    std::fprintf(stderr,
                 "usage: assetc sheet IN.xpm FRAMES OUT.il | bmp IN.xpm OUT.bmp | ico IN.xpm... OUT.ico |\n"
                 "       assetc png IN.xpm... SIZE OUT.png |\n"
                 "       assetc embed OUT.cpp NAME=FILE... | preview HEADS.il LEGS.il SCALE OUT.ppm\n");
    return 2;
  }
  return 0;
}

}  // namespace
}  // namespace pimblo

int main(int argc, char** argv) {
  try {
    return pimblo::Run({argv + 1, argv + argc});
  } catch (const pimblo::ToolError& e) {
    std::fprintf(stderr, "assetc: %s\n", e.message.c_str());
    return 1;
  }
}
