#include "tests/fuzz/fuzz_minimise.h"

#include <algorithm>

std::vector<int> FuzzMinimise(std::vector<int> kept,
                              const std::function<bool(const std::vector<int> &)> &fails,
                              int budget) {
  int runs = 0;
  size_t chunk = std::max<size_t>(kept.size() / 2, 1);
  while (runs < budget && !kept.empty()) {
    bool removed = false;
    for (size_t start = 0; start < kept.size() && runs < budget;) {
      std::vector<int> trial(kept.begin(), kept.begin() + long(start));
      trial.insert(trial.end(), kept.begin() + long(std::min(start + chunk, kept.size())),
                   kept.end());
      runs++;
      if (fails(trial)) {
        kept = trial;
        removed = true;
      } else {
        start += chunk;
      }
    }
    if (chunk == 1 && !removed) break;
    if (chunk > 1) chunk /= 2;
  }
  return kept;
}
