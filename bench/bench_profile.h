// A sampling profiler for the benchmark's own process: a SIGPROF interval
// timer whose handler records the interrupted instruction address. perf and
// callgrind cannot see 32-bit programs run under an emulator; the emulator
// still hands signals to the program with its own machine context.
#pragma once

#include <stdint.h>
#include <stdio.h>

namespace bench {

// Starts sampling every `microseconds` of processor time, clearing the
// samples kept so far; false when the timer or handler cannot be set.
bool StartProfile(int microseconds);
void StopProfile();

// The `top` routines that held the most samples since the start, with their
// share, each line starting with `prefix`. Addresses inside no loaded file
// are the code generator's routines, counted together as "generated code".
void PrintProfile(FILE *out, const char *prefix, int top);

}  // namespace bench
