// One fuzzing sequence: a seed, a number of steps (or the chosen steps of
// a minimised run), the checks after every step and at the end.
#pragma once

#include <stdint.h>

#include <set>
#include <string>

struct FuzzOptions {
  uint64_t seed = 1;
  int steps = 300;
  int displayBits = 16;
  bool verbose = false;
  bool endCheck = true;
  unsigned watchdogSeconds = 120;
  const std::set<int> *only = nullptr;  // the steps to run; all when null
};

// Runs the sequence in this process. On a failure prints the seed, the
// step and what failed and gives false; a crash or hang ends the process
// after printing the same.
bool FuzzRunSequence(const FuzzOptions &options);

// A failing step's number is written (as an int) to `fd` as well.
void FuzzReportFailuresTo(int fd);
