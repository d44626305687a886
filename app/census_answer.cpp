#include "app/census_answer.h"

#include <cstdint>

#include "app/census.h"
#include "app/zibbet_window.h"
#include "win32/scoped_win.h"

namespace pimblo {
namespace {

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

int ThreadWindows() {
  int windows = 0;
  EnumThreadWindows(GetCurrentThreadId(), &CountWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

template <class Count>
LRESULT SumOverPets(const std::vector<TZibbetWindow*>& pets, Count count) {
  std::uint64_t sum = 0;
  for (const TZibbetWindow* pet : pets) sum += count(*pet);
  return static_cast<LRESULT>(sum);
}

}  // namespace

LRESULT AnswerCensus(WPARAM question, const Win32Desktop& desktop, const std::vector<TZibbetWindow*>& pets) {
  using win::HandleKind;
  using win::LiveHandles;
  const auto& counts = desktop.counts;
  switch (static_cast<CensusQuestion>(question)) {
    case CensusQuestion::GdiObjects: return LiveHandles(HandleKind::Gdi) + LiveHandles(HandleKind::Dc);
    case CensusQuestion::UserObjects: return LiveHandles(HandleKind::Menu) + ThreadWindows();
    case CensusQuestion::ImageLists: return LiveHandles(HandleKind::ImageList);
    case CensusQuestion::Ticks:
    case CensusQuestion::TopWindowQueries: return static_cast<LRESULT>(counts.topWindow);
    case CensusQuestion::HitTests: return static_cast<LRESULT>(counts.windowFromPoint);
    case CensusQuestion::RectQueries: return static_cast<LRESULT>(counts.getWindowRect);
    case CensusQuestion::MetricReads: return static_cast<LRESULT>(counts.metrics);
    case CensusQuestion::Moves: return SumOverPets(pets, [](const TZibbetWindow& p) { return p.moves; });
    case CensusQuestion::Raises: return SumOverPets(pets, [](const TZibbetWindow& p) { return p.raises; });
    case CensusQuestion::Redraws: return SumOverPets(pets, [](const TZibbetWindow& p) { return p.redraws; });
    case CensusQuestion::CursorReads: return static_cast<LRESULT>(counts.cursor);
    case CensusQuestion::SystemMetricReads: return static_cast<LRESULT>(counts.systemMetrics);
  }
  return -1;
}

}  // namespace pimblo
