// A span under test: a context with depth and stencil buffers over memory
// of their own (as the ancillary-buffer tests make them), the shader's
// span interface pointed at them, and the two ways to run a span's pixels:
// the span stage, and the buffers' own per-fragment procedures.
#pragma once

#include <stdint.h>

#include <memory>
#include <ostream>
#include <random>
#include <vector>

#include "core/context.h"
#include "raster/s_span.h"
#include "tests/raster/ancillary/ancillary_fixture.h"

namespace fragment_stages {

using ancillary_test::kBias;

constexpr int32_t kWidth = 80, kHeight = 4;

const GLenum kFunctions[] = {GL_NEVER,   GL_LESS,     GL_EQUAL,  GL_LEQUAL,
                             GL_GREATER, GL_NOTEQUAL, GL_GEQUAL, GL_ALWAYS};

// The depth buffer's kinds: width, and for 24 bits the run it is in.
struct DepthKind {
  const char *name;
  uint32_t bits;
  bool descending;  // 24-bit only: the run after the ascending one turned
};
extern const DepthKind kDepthKinds[4];

class SpanContext {
 public:
  // depthBits 0: no depth buffer.
  explicit SpanContext(uint32_t depthBits = 0, uint32_t width = kWidth,
                       uint32_t height = kHeight);
  ~SpanContext();

  GlContext *gc() { return ctx_.gc(); }
  GlShader &sh() { return ctx_.gc()->polygon.shader; }
  ancillary_test::AncillaryContext &ancillary() { return ctx_; }
  ancillary_test::DepthBufferFixture &depth() { return *depth_; }
  PixelMemory &stencilMemory() { return stencilMemory_; }
  std::vector<uint32_t> &words() { return words_; }
  std::vector<GlColor> &colors() { return colors_; }

  // The depth function and write enable in force, validated; a descending
  // 24-bit run when asked (the 24-bit buffer turns its run round by clears).
  void SetDepth(GLenum func, bool write, bool descending = false);
  // The stencil state in force, validated.
  void SetStencil(GLenum func, uint32_t ref, uint32_t mask, GLenum fail, GLenum zfail,
                  GLenum zpass, uint32_t writeMask = 0xFF);
  // Points the shader at the span starting at window pixel (x, y), unbiased.
  void SetSpan(int32_t x, int32_t y, int32_t length);

  // Depth and stencil memory, as plain bytes, for snapshots.
  std::vector<uint8_t> Snapshot();
  void Restore(const std::vector<uint8_t> &bytes);
  // Random words in depth memory: any depth, and in 24-bit memory any
  // epoch; random stencil bytes.
  void Scramble(std::mt19937 &rng);

 private:
  ancillary_test::AncillaryContext ctx_;
  std::unique_ptr<ancillary_test::DepthBufferFixture> depth_;
  PixelMemory stencilMemory_;
  std::vector<uint32_t> words_;
  std::vector<GlColor> colors_;
};

// Whether pixel k is alive in the stipple words.
inline bool Alive(const std::vector<uint32_t> &words, int32_t k) {
  return (words[size_t(k) >> 5] & (0x80000000u >> (k & 31))) != 0;
}

// What a span stage left: its return, done, each pixel's bit and the depth
// and stencil memory.
struct Outcome {
  bool result;
  uint8_t done;
  std::vector<int> bits;  // one per pixel
  std::vector<uint8_t> memory;
  bool operator==(const Outcome &o) const = default;
};
void PrintTo(const Outcome &o, std::ostream *os);

// Runs `proc` over the span the shader holds and records what it left.
Outcome RunSpan(SpanContext &ctx, GlSpanProc proc);

}  // namespace fragment_stages
