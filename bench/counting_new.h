// Heap allocations made by the whole process since it started, counted by
// the benchmark executable's own global operator new.
#pragma once

#include <cstdint>

uint64_t heapAllocations();
