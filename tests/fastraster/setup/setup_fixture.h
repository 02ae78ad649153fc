// A zeroed context set up for the pre-built triangle set-up alone: window
// bias 6144, a draw buffer, depth and stencil memory, counting render-lock
// procedures, and a chain head that records every chunk (the whole span
// record at the call) and the pixels its mask covers.
#pragma once

#include <stdint.h>

#include <map>
#include <utility>
#include <vector>

#include "core/context.h"
#include "fastraster/fr_setup.h"
#include "raster/s_shader.h"
#include "tests/core/services/service_context.h"
#include "tests/support/pixel_memory.h"

namespace fr_test {

constexpr int32_t kBias = 6144;
constexpr int32_t kWidth = 96, kHeight = 80;

struct Chunk {
  uint32_t mask;
  FrSpan span;
};

class SetupContext {
 public:
  // A draw buffer of `bitsPerPixel` with the given shifts (RGBA order).
  explicit SetupContext(uint32_t bitsPerPixel = 32, const uint32_t shifts[4] = nullptr);
  ~SetupContext();
  SetupContext(const SetupContext &) = delete;
  SetupContext &operator=(const SetupContext &) = delete;

  GlContext *gc() const { return ctx_.gc(); }
  void SetFlags(uint32_t flags) { gc()->polygon.shader.modeFlags = flags; }

  // A vertex at unbiased window (x, y), z in [0, 1], with a front colour;
  // Draw points an empty colour pointer at it.
  static GlVertex Vertex(double x, double y, double z = 0.5, GlColor color = {0, 0, 0, 0});
  void Draw(GlVertex *a, GlVertex *b, GlVertex *c);

  // Every pixel a chunk's mask covers, (column, row) -> times.
  std::map<std::pair<int32_t, int32_t>, int> Pixels() const;

  std::vector<Chunk> chunks;
  int locks = 0, unlocks = 0;
  int32_t lockCountSeen = 0;  // renderLockCount at the last chunk
  PixelMemory color;
  PixelMemory depth{kWidth, kHeight, 32};
  PixelMemory stencil{kWidth, kHeight, 8};

 private:
  static void GLFASTCALL Record(uint32_t mask, FrSpan *span);
  ServiceContext ctx_;
};

// The window column of pixel i (0 = mask bit 31) of a chunk.
inline int32_t ColumnOf(const FrSpan &s, int i) { return s.direction > 0 ? s.x + i : -s.x - i; }

}  // namespace fr_test
