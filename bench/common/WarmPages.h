#pragma once
// Puts the machine's free memory in the same state before every measured
// run. A virtual machine's kernel may hand memory that has lain free for a
// couple of seconds back to its host (free page reporting), and touching
// such a page again costs far more than the kernel's zeroing: a run that
// happens to follow a pause or a smaller photo would pay for it and one that
// follows a run of the same size would not. Touching and releasing the
// memory a run will need just before it gives every run, the reference
// decode included, pages that are free and backed, as on a desktop.
#include <cstddef>

// Touches `bytes` of new memory (in huge pages where the kernel allows) and
// returns it to the kernel.
void WarmFreePages(size_t bytes);
