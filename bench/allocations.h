// Counts every allocation of the process, so a benchmark can say how many its
// loop made.
#pragma once

namespace pimblo {
long long AllocationCount();
}
