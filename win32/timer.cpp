#include "win32/timer.h"

#include <map>

#include "win32/application.h"

namespace pimblo::ui {
namespace {
std::map<UINT_PTR, TTimer*>& Timers() {
  static std::map<UINT_PTR, TTimer*> timers;
  return timers;
}
UINT_PTR NextId() {
  static UINT_PTR next = 100;
  return ++next;
}
}  // namespace

TTimer::TTimer(TComponent* owner, UINT interval, bool enabled)
    : TComponent(owner), interval_(interval), enabled_(enabled), id_(NextId()) {
  Timers()[id_] = this;
  Update();
}

TTimer::~TTimer() {
  if (running_) KillTimer(Application->TimerWindow(), id_);
  Timers().erase(id_);
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Update();
}

void TTimer::SetInterval(UINT interval) {
  if (interval == interval_) return;
  interval_ = interval;
  Update();
}

void TTimer::Update() {
  if (running_) {
    KillTimer(Application->TimerWindow(), id_);
    running_ = false;
  }
  if (enabled_ && interval_ > 0 && Application) running_ = SetTimer(Application->TimerWindow(), id_, interval_, nullptr) != 0;
}

void TTimer::Dispatch(UINT_PTR id) {
  auto it = Timers().find(id);
  if (it == Timers().end()) return;
  TTimer* timer = it->second;
  if (timer->enabled_ && timer->OnTimer) timer->OnTimer();
}

}  // namespace pimblo::ui
