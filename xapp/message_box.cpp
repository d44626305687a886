// Before any X header: X defines None, a name the program's texts use.
#include "app/commands.h"
#include "xapp/message_box.h"

#include <X11/keysym.h>
#include <poll.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "look/push_button.h"
#include "x11/skinned_window.h"
#include "x11/text.h"
#include "x11/xft_canvas.h"
#include "xapp/skin_paint.h"

namespace pimblo::xapp {

namespace {

constexpr std::int32_t kMargin = 12;
constexpr std::int32_t kIconSize = 32;
constexpr std::int32_t kIconGap = 12;         // between the icon and the text
constexpr std::int32_t kButtonWidth = 75;
constexpr std::int32_t kButtonHeight = 23;
constexpr std::int32_t kButtonGap = 6;
constexpr std::int32_t kTextToButtons = 14;
constexpr std::int32_t kLeastClientWidth = 160;
constexpr int kTextPixelSize = 12;
constexpr int kGlyphPixelSize = 22;
const std::wstring kNoticeCaption = L"提示";

// The text's lines as a message box breaks them: at CR LF, at a CR alone (the usage
// note's lines are joined so) and at a LF alone.
std::vector<std::string> Lines(const std::wstring& text) {
  const std::string all = x11::ToUtf8(text);
  std::vector<std::string> lines(1);
  for (std::size_t i = 0; i < all.size(); ++i) {
    if (all[i] == '\r' || all[i] == '\n') {
      if (all[i] == '\r' && i + 1 < all.size() && all[i + 1] == '\n') ++i;
      lines.emplace_back();
    } else {
      lines.back() += all[i];
    }
  }
  return lines;
}

// The kind's picture: a disc (or for a warning a triangle) on the box's face; its sign is text.
Bitmap MessageIcon(MessageKind kind, Pixel face) {
  Bitmap icon(kIconSize, kIconSize, face);
  const Pixel blue = MakePixel(40, 100, 210), red = MakePixel(205, 40, 40), yellow = MakePixel(250, 200, 20);
  const std::int32_t c = kIconSize / 2;
  for (std::int32_t y = 0; y < kIconSize; ++y)
    for (std::int32_t x = 0; x < kIconSize; ++x) {
      if (kind == MessageKind::kWarning) {
        const std::int32_t halfWidth = (y - 1) * (kIconSize / 2) / (kIconSize - 2);
        if (y >= 1 && y < kIconSize - 1 && x >= c - halfWidth && x < c + halfWidth) icon.At(x, y) = yellow;
      } else {
        const std::int32_t dx = 2 * x + 1 - kIconSize, dy = 2 * y + 1 - kIconSize;
        if (dx * dx + dy * dy <= (kIconSize - 1) * (kIconSize - 1))
          icon.At(x, y) = kind == MessageKind::kError ? red : blue;
        // The error's cross: two strokes 3 px wide, 16 px long, through the middle.
        constexpr std::int32_t kStroke = 3, kReach = kIconSize / 2;
        if (kind == MessageKind::kError && std::abs(dx) <= kReach && std::abs(dy) <= kReach &&
            (std::abs(dx - dy) <= kStroke || std::abs(dx + dy) <= kStroke))
          icon.At(x, y) = MakePixel(255, 255, 255);
      }
    }
  return icon;
}

const char* Sign(MessageKind kind) {
  switch (kind) {
    case MessageKind::kInformation: return "i";
    case MessageKind::kQuestion: return "?";
    case MessageKind::kWarning: return "!";
    case MessageKind::kError: break;  // drawn in the picture
    case MessageKind::kPlain: break;
  }
  return "";
}

struct BoxButton {
  std::string label;
  MessageAnswer answer;
  PushButtonInput input;
};

// One box on the screen until it is answered.
class MessageBoxWindow {
 public:
  MessageBoxWindow(Display* display, const TSkinData& skin, const std::wstring& caption, const std::wstring& text,
                   MessageKind kind)
      : display_(display), skin_(skin), kind_(kind), lines_(Lines(text)),
        textFont_(x11::OpenUiFont(display, DefaultScreen(display), kTextPixelSize)),
        signFont_(x11::OpenUiFont(display, DefaultScreen(display), kGlyphPixelSize)) {
    if (kind == MessageKind::kQuestion) {
      labels_ = {{"是", MessageAnswer::kYes}, {"否", MessageAnswer::kNo}};
    } else {
      labels_ = {{"确定", MessageAnswer::kOk}};
    }
    const std::string title = x11::ToUtf8(caption);
    std::int32_t textWidth = 0;
    lineHeight_ = textFont_ ? x11::MeasureText(display, *textFont_, "Pimblo").height : kTextPixelSize;
    for (const std::string& line : lines_)
      if (textFont_) textWidth = std::max(textWidth, x11::MeasureText(display, *textFont_, line).width);
    // The caption keeps clear of the title's unstretched right end (where its buttons are).
    const std::int32_t captionRoom =
        (textFont_ ? x11::MeasureText(display, *textFont_, "  " + title + " ").width : 0) + skin.Title.TextShift +
        std::max(skin.Title.TextRightClip, skin.Borders[bsTop].RightWidth);
    const bool icon = kind != MessageKind::kPlain;
    textLeft_ = kMargin + (icon ? kIconSize + kIconGap : 0);
    const auto textHeight = static_cast<std::int32_t>(lines_.size()) * lineHeight_;
    const std::int32_t contentHeight = std::max(textHeight, icon ? kIconSize : 0);
    textTop_ = kMargin + (contentHeight - textHeight) / 2;
    const auto count = static_cast<std::int32_t>(labels_.size());
    const std::int32_t buttonsWidth = count * kButtonWidth + (count - 1) * kButtonGap;
    const std::int32_t clientWidth = std::max({textLeft_ + textWidth + kMargin, buttonsWidth + 2 * kMargin,
                                               captionRoom, kLeastClientWidth});
    const std::int32_t buttonsTop = kMargin + contentHeight + kTextToButtons;
    const std::int32_t clientHeight = buttonsTop + kButtonHeight + kMargin;
    std::int32_t left = (clientWidth - buttonsWidth) / 2;
    for (const auto& [label, answer] : labels_) {
      buttons_.push_back(
          {label, answer, PushButtonInput({left, buttonsTop, left + kButtonWidth, buttonsTop + kButtonHeight})});
      left += kButtonWidth + kButtonGap;
    }
    x11::SkinnedWindowSetup setup{.title = title, .bounds = {}, .minimiseBox = false, .dialog = true, .icon = {},
                                .className = "pimblo-box"};
    const BorderSizes b = x11::SkinnedWindow::FrameOf(skin, setup);
    const std::int32_t width = clientWidth + b.left + b.right, height = clientHeight + b.title + b.bottom;
    const int screen = DefaultScreen(display);
    const std::int32_t x = (DisplayWidth(display, screen) - width) / 2,
                       y = (DisplayHeight(display, screen) - height) / 2;
    setup.bounds = {x, y, x + width, y + height};
    window_.emplace(display, skin, std::move(setup),
                    x11::SkinnedWindow::Hooks{.paintClient = [this](x11::Canvas& c) { Paint(c); },
                                              .clientMouse = [this](const x11::ClientMouse& m) { OnMouse(m); },
                                              .key = [this](KeySym k) { OnKey(k); },
                                              .close = [this] { OnClose(); },
                                              .systemMenu = {}});
  }

  x11::SkinnedWindow& Window() { return *window_; }
  const std::optional<MessageAnswer>& Answer() const { return answer_; }

 private:
  void Paint(x11::Canvas& canvas) {
    const Pixel face = SkinColour(skin_, scButtonFace);
    canvas.Fill({0, 0, canvas.Width(), canvas.Height()}, face);
    if (kind_ != MessageKind::kPlain) {
      canvas.Put(MessageIcon(kind_, face), kMargin, kMargin);
      if (signFont_) {
        const x11::TextExtent sign = x11::MeasureText(display_, *signFont_, Sign(kind_));
        const Pixel ink = kind_ == MessageKind::kWarning ? MakePixel(0, 0, 0) : MakePixel(255, 255, 255);
        canvas.Text(*signFont_, kMargin + (kIconSize - sign.width) / 2, kMargin + (kIconSize - sign.height) / 2 + 1,
                    Sign(kind_), ink, {kMargin, kMargin, kMargin + kIconSize, kMargin + kIconSize});
      }
    }
    if (textFont_) {
      std::int32_t top = textTop_;
      for (const std::string& line : lines_) {
        canvas.Text(*textFont_, textLeft_, top, line, SkinColour(skin_, scWindowText),
                    {0, 0, canvas.Width(), canvas.Height()});
        top += lineHeight_;
      }
      for (std::size_t i = 0; i < buttons_.size(); ++i) {
        PushButtonFrame frame = buttons_[i].input.Frame();
        if (i == 0 && frame == PushButtonFrame::kNormal) frame = PushButtonFrame::kFocused;  // Return's button
        DrawPushButton(canvas, skin_, *textFont_, buttons_[i].input.Place(), buttons_[i].label, frame);
      }
    }
  }

  void OnMouse(const x11::ClientMouse& m) {
    bool changed = false;
    for (BoxButton& b : buttons_) {
      bool one = false;
      switch (m.kind) {
        case x11::ClientMouse::kMove: one = b.input.Move(m.x, m.y); break;
        case x11::ClientMouse::kLeave: one = b.input.Leave(); break;
        case x11::ClientMouse::kDown:
          if (m.button == Button1) one = b.input.Down(m.x, m.y);
          break;
        case x11::ClientMouse::kUp:
          if (m.button == Button1 && b.input.Up(m.x, m.y, one)) answer_ = b.answer;
          break;
      }
      changed = changed || one;
    }
    if (changed) window_->Redraw();
  }

  void OnKey(KeySym key) {
    if (key == XK_Return || key == XK_KP_Enter || key == XK_space) answer_ = buttons_.front().answer;
    if (kind_ == MessageKind::kQuestion && (key == XK_y || key == XK_Y)) answer_ = MessageAnswer::kYes;
    if (kind_ == MessageKind::kQuestion && (key == XK_n || key == XK_N)) answer_ = MessageAnswer::kNo;
    if (key == XK_Escape) OnClose();
  }

  void OnClose() {
    if (kind_ != MessageKind::kQuestion) answer_ = MessageAnswer::kOk;
  }

  Display* display_;
  const TSkinData& skin_;
  MessageKind kind_;
  std::vector<std::string> lines_;
  std::vector<std::pair<std::string, MessageAnswer>> labels_;
  std::optional<x11::XftFontOwner> textFont_;
  std::optional<x11::XftFontOwner> signFont_;
  std::int32_t lineHeight_ = 0;
  std::int32_t textLeft_ = 0;
  std::int32_t textTop_ = 0;
  std::vector<BoxButton> buttons_;
  std::optional<MessageAnswer> answer_;
  std::optional<x11::SkinnedWindow> window_;  // last: its hooks reach the members above
};

}  // namespace

MessageAnswer RunMessageBox(Display* display, const TSkinData& skin, const std::wstring& caption,
                            const std::wstring& text, MessageKind kind, const ModalLoop& loop) {
  MessageBoxWindow box(display, skin, caption, text, kind);
  box.Window().Show();
  while (!box.Answer()) {
    while (!box.Answer() && XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (box.Window().Owns(event))
        box.Window().Dispatch(event);
      else if (loop.dispatch)
        loop.dispatch(event);
    }
    if (box.Answer()) break;
    const int wait = loop.tick ? loop.tick() : -1;
    if (XPending(display) > 0) continue;
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    poll(&connection, 1, wait);
  }
  box.Window().Hide();
  XFlush(display);
  return *box.Answer();
}

void ShowNotice(Display* display, const TSkinData& skin, const std::wstring& text, const ModalLoop& loop) {
  RunMessageBox(display, skin, kNoticeCaption, text, MessageKind::kInformation, loop);
}

bool AskYesNo(Display* display, const TSkinData& skin, const std::wstring& text, const ModalLoop& loop) {
  return RunMessageBox(display, skin, kNoticeCaption, text, MessageKind::kQuestion, loop) == MessageAnswer::kYes;
}

void ShowUsage(Display* display, const TSkinData& skin, const std::wstring& appTitle, const std::wstring& text,
               const ModalLoop& loop) {
  RunMessageBox(display, skin, appTitle, text, MessageKind::kPlain, loop);
}

void ShowWarning(Display* display, const TSkinData& skin, const std::wstring& appTitle, const std::wstring& text,
                 const ModalLoop& loop) {
  RunMessageBox(display, skin, appTitle, text, MessageKind::kWarning, loop);
}

void ShowError(Display* display, const TSkinData& skin, const std::wstring& appTitle, const std::wstring& message,
               const ModalLoop& loop) {
  RunMessageBox(display, skin, appTitle, ErrorBoxText(message), MessageKind::kError, loop);
}

}  // namespace pimblo::xapp
