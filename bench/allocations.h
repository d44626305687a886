// Counts every allocation of the process, and the bytes held, so a benchmark can
// say how many its loop made and how much a structure keeps. A pause leaves out
// the allocations of a stretch of code that is not under measurement (the
// simulated window's own bookkeeping, say).
#pragma once

namespace pimblo {
long long AllocationCount();
long long BytesHeld();

class AllocationPause {
 public:
  AllocationPause();
  ~AllocationPause();
  AllocationPause(const AllocationPause&) = delete;
  AllocationPause& operator=(const AllocationPause&) = delete;
};
}  // namespace pimblo
