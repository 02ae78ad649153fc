// Values for one argument: enumerants mostly from the set the parameter's
// name suggests and sometimes anything, counts and sizes at their edges,
// floats with NaN, infinities, denormals and 1e38, names from a small pool
// so that lists and textures meet again.
#pragma once

#include "tests/fuzz/fuzz_gl.h"
#include "tests/fuzz/fuzz_invoke.h"
#include "tests/fuzz/fuzz_params.h"
#include "tests/fuzz/fuzz_rng.h"

// Largest element index every array the fuzzer points at can serve.
constexpr int kFuzzArrayElements = 1024;
// Display-list and texture names come from 0 .. kFuzzNames - 1 mostly.
constexpr int kFuzzNames = 12;

void FuzzDrawValue(FuzzRng &rng, const FuzzEntry &entry, const FuzzParam &param, FuzzArg *arg);
GLenum FuzzAnyEnum(FuzzRng &rng);
double FuzzFloat(FuzzRng &rng);
