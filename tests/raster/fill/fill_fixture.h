// A zeroed context set up for the triangle fill alone: window bias, clip
// box, depth and stencil memory, and processSpan replaced by a recorder
// that keeps each span's row, first pixel, length and start values and
// counts how often every pixel was handed to the span pipeline.
#pragma once

#include <stdint.h>

#include <map>
#include <utility>
#include <vector>

#include "core/context.h"
#include "raster/s_shader.h"
#include "tests/core/services/service_context.h"
#include "tests/support/pixel_memory.h"

namespace fill_test {

constexpr int32_t kBias = 4096;
constexpr int32_t kWidth = 96, kHeight = 80;

// What a rasterizer test's context needs besides its buffers: the window
// bias, the drawable's size, colour factors of 1, a 24-bit depth range and
// depth and stencil buffers in `depth` and `stencil`.
void SetRasterConstants(GlContext *gc, int32_t bias, int32_t width, int32_t height,
                        PixelMemory *depth, PixelMemory *stencil);

// What the span pipeline saw for one span (pixel coordinates unbiased).
struct Span {
  int32_t x, y, length;
  GlShader shader;  // the whole record at the call
};

class FillContext {
 public:
  FillContext();
  ~FillContext();
  FillContext(const FillContext &) = delete;
  FillContext &operator=(const FillContext &) = delete;

  GlContext *gc() const { return ctx_.gc(); }
  // Clip box in unbiased pixels, end exclusive.
  void SetClipBox(int32_t x0, int32_t y0, int32_t x1, int32_t y1);
  void SetFlags(uint32_t flags) { gc()->polygon.shader.modeFlags = flags; }

  // A vertex at unbiased window (x, y), depth z in [0, 1], with a front
  // colour; its colour pointer is set by Fill when still empty.
  static GlVertex Vertex(double x, double y, double z = 0.5, GlColor color = {0, 0, 0, 0});
  void Fill(GlVertex *a, GlVertex *b, GlVertex *c);

  std::vector<Span> spans;
  std::map<std::pair<int32_t, int32_t>, int> counts;  // (x, y) -> times drawn
  PixelMemory depth{kWidth, kHeight, 32};
  PixelMemory stencil{kWidth, kHeight, 8};

 private:
  static GLbool8 Record(GlContext *gc);
  ServiceContext ctx_;
};

}  // namespace fill_test
