#pragma once
// Timing helpers shared by the benchmarks.

#include <vector>

// Seconds on the steady clock.
double Now();

// The median; for an even count, the mean of the two middle values.
double Median(std::vector<double> v);
