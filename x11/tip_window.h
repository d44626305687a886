// A small tip: one line of text in a bordered box beside the pointer, in an
// override-redirect window the window manager leaves alone. The text is drawn
// with Xft in a font fontconfig picks for Chinese, so that the program's names
// show as they do on Windows. Owns its window, font and drawing; does not own
// the display.
#pragma once

#include <X11/Xft/Xft.h>
#include <X11/Xlib.h>

#include <string>

#include "x11/scoped_x.h"
#include "x11/xft_canvas.h"

namespace pimblo::x11 {

class TipWindow {
 public:
  TipWindow(Display* display, int screen);
  ~TipWindow();
  TipWindow(const TipWindow&) = delete;
  TipWindow& operator=(const TipWindow&) = delete;

  // Shows `text` (UTF-8) with its left edge at `x` and its top at `top`, or, where the screen's
  // bottom would cut it there, with its bottom at `bottomAbove`; kept within the screen.
  void Show(const std::string& text, int x, int top, int bottomAbove);
  void Hide();
  bool Shown() const { return shown_; }

  // Takes every event the program receives; true when it was the tip's (its window's exposure).
  bool Handle(const XEvent& event);

 private:
  void MakeWindow();
  void Draw();

  Display* display_;
  int screen_;
  ScopedWindow window_;
  XftFontOwner font_;  // while shown
  XftDraw* draw_ = nullptr;
  enum ColourIndex { kBackground, kText, kColourCount };
  XftColor colours_[kColourCount]{};
  int allocatedColours_ = 0;  // the first this many of colours_ are the server's, freed on destruction
  std::string text_;
  int width_ = 0, height_ = 0;
  bool shown_ = false;
};

}  // namespace pimblo::x11
