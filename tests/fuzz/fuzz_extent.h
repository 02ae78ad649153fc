// What a call may read or write through its pointers, under the OpenGL
// rules and the current pixel-store modes: the fuzzer keeps the
// application's side of the contract, so any fault is the driver's.
#pragma once

#include "tests/fuzz/fuzz_invoke.h"
#include "tests/fuzz/fuzz_memory.h"
#include "tests/fuzz/fuzz_params.h"
#include "tests/fuzz/fuzz_rng.h"

struct FuzzPixelStore {
  int64_t rowLength = 0, skipRows = 0, skipPixels = 0, alignment = 4;
};

// Bytes of a width x height image of `format` and `type` under `store`
// (0 for an empty image); unknown formats and types count as the largest.
int64_t FuzzImageBytes(int64_t width, int64_t height, unsigned format, unsigned type,
                       const FuzzPixelStore &store);

// Points every pointer argument at memory large enough for the call, after
// bringing arguments that would need more than the fuzzer's regions (or
// read vertex arrays past what they were given) within bounds. False when
// the call is better left out.
bool FuzzPlacePointers(FuzzRng &rng, const FuzzEntry &entry, FuzzArg *args, FuzzMemory &memory);
