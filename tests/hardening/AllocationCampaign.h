#pragma once
// Allocation-failure campaigns: an operation is run once normally, then
// again with its k-th allocation (malloc, calloc or realloc) failing, for
// k = 1, 2, ... until it runs without reaching k. Each run must throw
// nothing and leave no block behind once the caller has released what it
// was given; `check` judges the result.

#include <functional>
#include <vector>

struct Campaign {
    std::function<void()> setup = [] {};
    std::function<void()> op;
    // `hit`: the armed allocation failed during the operation.
    std::function<void(bool hit, long k)> check;
    std::function<void()> cleanup = [] {};
};

// Returns how many allocations were failed in turn.
long RunCampaign(const char* name, const Campaign& c);

// A test picture in exchange layout.
std::vector<unsigned char> Pixels(int width, int height);
