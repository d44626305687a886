// The census the soak tests and the whole-program measurements ask the running
// program for: a registered message to its main window, the question in wParam,
// the count as the answer (-1 for a question it does not know).
#pragma once

namespace pimblo {

constexpr wchar_t kCensusMessage[] = L"PimbloCensus";

enum class CensusQuestion {
  GdiObjects = 0,       // GDI objects and device contexts our owners hold
  UserObjects = 1,      // menus and the thread's windows
  ImageLists = 2,
  Ticks = 3,            // pet ticks (every tick of a pet asks once for the top window)
  HitTests = 4,
  RectQueries = 5,
  MetricReads = 6,       // metrics the pets asked for (the engine's pattern)
  TopWindowQueries = 7,
  Moves = 8,
  Raises = 9,
  Redraws = 10,         // frame drawn and window reshaped
  CursorReads = 11,
  SystemMetricReads = 12,  // metrics read from the system (on start and on a display change)
};

}  // namespace pimblo
