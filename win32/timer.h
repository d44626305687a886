// TTimer: a component whose OnTimer runs every Interval milliseconds while it is
// enabled, delivered as WM_TIMER through the message loop.
#pragma once

#include <windows.h>

#include <functional>

#include "win32/component.h"

namespace pimblo::ui {

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* owner, UINT interval = 1000, bool enabled = true);
  ~TTimer() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  UINT Interval() const { return interval_; }
  void SetInterval(UINT interval);
  std::function<void()> OnTimer;
  UINT_PTR Id() const { return id_; }  // its WM_TIMER identifier

  // Runs the timer with this identifier; called for WM_TIMER.
  static void Dispatch(UINT_PTR id);

 private:
  void Update();
  UINT interval_;
  bool enabled_;
  UINT_PTR id_;
  bool running_ = false;
};

}  // namespace pimblo::ui
