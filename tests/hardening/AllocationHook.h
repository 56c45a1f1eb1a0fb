#pragma once
// malloc, calloc, realloc and free of the test executable, replaced so a
// test can make the k-th allocation fail and count the blocks still held.
// Forwards to glibc's own allocator. Not for sanitizer builds, whose
// runtime replaces the same functions.

#include <cstddef>

// Arms the hook: the `k`-th allocation from now on (k >= 1) fails.
void FailAllocationAfter(long k);
// Disarms it. True when the armed failure happened.
bool DisarmAllocationFailure();
// Blocks allocated and not yet freed (changes only, from process start).
long LiveAllocations();
