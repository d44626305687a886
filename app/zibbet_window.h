// The pet's window: borderless, topmost, 32 × 32, cut to the pet's outline, with
// the hand cursor. It holds the pet engine by value and answers the engine's
// questions about itself with the real window.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <map>
#include <tuple>
#include <vector>
#include <optional>

#include "win32/dib.h"
#include "win32/form.h"
#include "win32/image_list.h"
#include "win32/scoped_win.h"
#include "pet/zibbet.h"

namespace pimblo {

class TZibbetWindow : public ui::TForm, public PetWindow {
 public:
  using Sheets = std::array<const ui::TImageList*, 4>;  // Heads, Legs, FHeads, FLegs

  TZibbetWindow(ui::TComponent* owner, Desktop& desktop, RandomSource& random, const double& speedFactor,
                Sheets sheets, std::function<void(ScreenPoint)> popupMenu, std::function<void()> dpiChanged,
                ScreenPoint at);

  TZibbetForm& Pet() { return *pet_; }

  // PetWindow
  WindowHandle Handle() const override;
  std::int32_t Left() const override { return left_; }
  std::int32_t Top() const override { return top_; }
  std::int32_t Width() const override { return width_; }
  std::int32_t Height() const override { return height_; }
  void MoveTo(ScreenPoint topLeft) override;
  void SetWidth(std::int32_t v) override;
  void SetHeight(std::int32_t v) override;
  void BringToTop() override;
  void PopupContextMenu(ScreenPoint at) override;
  void PreparePicture() override;
  void DrawFrame(SheetId sheet, std::int32_t index) override;
  void ShapeToPicture(std::uint32_t key, std::uint32_t tolerance) override;
  void Invalidate() override;

  // How often the window was moved and raised, for the program's own figures.
  std::uint64_t moves = 0, raises = 0, redraws = 0;

 private:
  LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
  void Paint();
  void MouseDown(MouseButton button, LPARAM lParam);
  void MouseUp(MouseButton button, LPARAM lParam);
  win::ScopedRegion ShapeOf(std::uint32_t key, std::uint32_t tolerance);

  Sheets sheets_;
  std::function<void(ScreenPoint)> popupMenu_;
  std::function<void()> dpiChanged_;  // only the visible windows are told of a DPI change
  std::int32_t left_, top_, width_ = 104, height_ = 32;  // the design-time size until FormCreate
  bool showingIcon_ = true;
  HICON icon_ = nullptr;  // shared resource icon, not owned
  ui::TDib picture_;
  // The frames drawn since PreparePicture, as (sheet, index); each of our poses covers the whole
  // picture, so they tell its shape. `drewAll`: none was skipped (an index outside its sheet).
  std::vector<std::pair<int, int>> drawn_;
  bool drewAll_ = true;
  // The shape of each pose shown so far, scanned once; a copy goes to the window, which owns it.
  using ShapeKey = std::tuple<std::vector<std::pair<int, int>>, std::uint32_t, std::uint32_t>;
  std::map<ShapeKey, win::ScopedRegion> shapes_;
  std::optional<TZibbetForm> pet_;
};

}  // namespace pimblo
