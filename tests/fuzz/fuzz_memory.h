// The memory the fuzzer hands the driver: every pointer lies at the end of
// a region followed by an unreadable page, sized for what the call may read
// or write under the OpenGL rules, so a read or write past it faults at
// once. Scratch memory serves one call; the pointers a context keeps
// (vertex arrays, feedback and selection buffers) get regions that live
// for the whole run.
#pragma once

#include <stdint.h>

#include <memory>

#include "tests/fuzz/fuzz_rng.h"
#include "tests/support/fenced_bytes.h"

enum FuzzKeptRegion {
  kFuzzVertexArray,
  kFuzzNormalArray,
  kFuzzColorArray,
  kFuzzIndexArray,
  kFuzzTexCoordArray,
  kFuzzEdgeFlagArray,
  kFuzzInterleavedArray,
  kFuzzFeedbackBuffer,
  kFuzzSelectBuffer,
  kFuzzKeptRegions
};

class FuzzMemory {
 public:
  static constexpr size_t kScratchBytes = 8u << 20;
  static constexpr size_t kKeptBytes = 1u << 20;

  FuzzMemory() : scratch_(kScratchBytes) {
    // Arrays start as small floats, so that drawing from them draws.
    for (auto &r : kept_) {
      r = std::make_unique<FencedBytes>(kKeptBytes);
      float *f = reinterpret_cast<float *>(r->Tail(r->capacity()));
      for (size_t i = 0; i < r->capacity() / 4; i++) f[i] = float(int(i * 7919 % 401) - 200) / 150.0f;
    }
  }
  // `bytes` of scratch ending at the fence, filled from the generator (or
  // zero for memory the driver writes).
  void *Scratch(FuzzRng &rng, size_t bytes, bool fill) {
    uint8_t *p = scratch_.Tail(bytes);
    if (fill) Fill(rng, p, bytes);
    return p;
  }
  FencedBytes &Kept(FuzzKeptRegion r) { return *kept_[r]; }

  static void Fill(FuzzRng &rng, uint8_t *p, size_t bytes) {
    size_t i = 0;
    for (; i + 8 <= bytes; i += 8) {
      const uint64_t v = rng.Next();
      __builtin_memcpy(p + i, &v, 8);
    }
    for (; i < bytes; i++) p[i] = uint8_t(rng.Next());
  }

 private:
  FencedBytes scratch_;
  std::unique_ptr<FencedBytes> kept_[kFuzzKeptRegions];
};
