#include "bench/allocations.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long long> allocations{0};
std::atomic<long long> held{0};
thread_local int paused = 0;

void Release(void* p) noexcept {
  if (!p) return;
  held -= static_cast<long long>(malloc_usable_size(p));
  std::free(p);
}
}  // namespace

void* operator new(std::size_t n) {
  if (paused == 0) ++allocations;
  if (void* p = std::malloc(n ? n : 1)) {
    held += static_cast<long long>(malloc_usable_size(p));
    return p;
  }
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }

long long pimblo::AllocationCount() { return allocations; }
long long pimblo::BytesHeld() { return held; }

pimblo::AllocationPause::AllocationPause() { ++paused; }
pimblo::AllocationPause::~AllocationPause() { --paused; }
