// Before any X header: X defines None, a name the program's texts use.
#include "app/commands.h"
#include "xapp/help_window.h"

#include <string>
#include <vector>

#include "xapp/skin_paint.h"
#include "x11/text.h"

namespace pimblo::xapp {

namespace {
constexpr Rect kBounds{312, 148, 312 + 393, 148 + 366};
constexpr Rect kTextArea{1, 0, 1 + 383, 0 + 337};  // reaches past the client area's bottom, as on Windows
constexpr Rect kReturnButton{288, 304, 288 + 81, 304 + 25};
constexpr std::int32_t kTextMargin = 2;  // between the text area's edge and its text
constexpr int kTextPixelSize = 15;
constexpr int kButtonPixelSize = 12;

std::vector<std::string> HelpLines() {
  std::vector<std::string> lines;
  const std::string text = x11::ToUtf8(HelpText(L"\n"));
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  lines.push_back(text.substr(start));
  return lines;
}
}  // namespace

Rect HelpWindow::Bounds() { return kBounds; }
Rect HelpWindow::ReturnButtonPlace() { return kReturnButton; }

HelpWindow::HelpWindow(Display* display, const TSkinData& skin, Bitmap icon, Hooks hooks)
    : display_(display), skin_(skin), hooks_(std::move(hooks)),
      returnButton_(kReturnButton),
      window_(display, skin,
              {.title = "简介", .bounds = kBounds, .minimiseBox = true, .dialog = false, .icon = std::move(icon),
               .className = "pimblo-help"},
              {.paintClient = [this](x11::Canvas& c) { PaintClient(c); },
               .clientMouse = [this](const x11::ClientMouse& m) { OnMouse(m); },
               .key = {},  // as on Windows, where the keys go to the text
               .close = [this] { Close(); },
               .systemMenu = hooks_.systemMenu ? std::function<void(std::int32_t, std::int32_t)>(
                                                     [this](std::int32_t x, std::int32_t y) {
                                                       hooks_.systemMenu(window_, x, y);
                                                     })
                                               : nullptr}) {}

// The fonts are held while the window is up: a closed help window lets its faces go.
void HelpWindow::Show() {
  if (!textFont_) textFont_ = x11::OpenUiFont(display_, DefaultScreen(display_), kTextPixelSize);
  if (!buttonFont_) buttonFont_ = x11::OpenUiFont(display_, DefaultScreen(display_), kButtonPixelSize);
  window_.Show();
  if (shown_) return;
  shown_ = true;
  if (hooks_.shown) hooks_.shown();
}

void HelpWindow::Close() {
  window_.Hide();
  textFont_.reset();
  buttonFont_.reset();
  returnButton_ = PushButtonInput(kReturnButton);
  if (!shown_) return;
  shown_ = false;
  if (hooks_.closed) hooks_.closed();
}

void HelpWindow::PaintClient(x11::Canvas& canvas) {
  canvas.Fill({0, 0, canvas.Width(), canvas.Height()}, SkinColour(skin_, scButtonFace));
  const Rect area{kTextArea.left, kTextArea.top, std::min(kTextArea.right, canvas.Width()),
                  std::min(kTextArea.bottom, canvas.Height())};
  canvas.Fill(area, SkinColour(skin_, scButtonHilight));
  if (textFont_) {
    const std::int32_t lineHeight = x11::MeasureText(display_, *textFont_, "Pimblo").height;
    std::int32_t top = area.top + kTextMargin;
    for (const std::string& line : HelpLines()) {
      canvas.Text(*textFont_, area.left + kTextMargin, top, line, SkinColour(skin_, scWindowText), area);
      top += lineHeight;
    }
  }
  if (buttonFont_) DrawPushButton(canvas, skin_, *buttonFont_, returnButton_.Place(), "返回", returnButton_.Frame());
}

void HelpWindow::OnMouse(const x11::ClientMouse& mouse) {
  bool changed = false;
  switch (mouse.kind) {
    case x11::ClientMouse::kMove: changed = returnButton_.Move(mouse.x, mouse.y); break;
    case x11::ClientMouse::kLeave: changed = returnButton_.Leave(); break;
    case x11::ClientMouse::kDown:
      if (mouse.button == Button1) changed = returnButton_.Down(mouse.x, mouse.y);
      break;
    case x11::ClientMouse::kUp:
      if (mouse.button != Button1) break;
      if (returnButton_.Up(mouse.x, mouse.y, changed)) {
        window_.Redraw();
        Close();
        return;
      }
      break;
  }
  if (changed) window_.Redraw();
}

}  // namespace pimblo::xapp
