// Shrinking a failing sequence: chunks of steps are dropped, halving the
// chunk size, as long as what is left still fails.
#pragma once

#include <functional>
#include <vector>

// The steps left from `steps`; `fails` runs a candidate set. At most
// `budget` runs.
std::vector<int> FuzzMinimise(std::vector<int> steps,
                              const std::function<bool(const std::vector<int> &)> &fails,
                              int budget = 300);
