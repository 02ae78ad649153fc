// A zeroed context set up for the aliased line alone: a window bias, unit
// colour scales, and processLine replaced by a recorder that walks the
// run's DDA and keeps each pixel (unbiased) with the shader at the call.
#pragma once

#include <stdint.h>

#include <utility>
#include <vector>

#include "core/context.h"
#include "tests/core/services/service_context.h"

namespace line_test {

constexpr int32_t kBias = 4096;

using Pixel = std::pair<int32_t, int32_t>;

// The pixels of a run as the line stages walk them, unbiased.
std::vector<Pixel> RunPixels(const GlContext *gc);

class LineContext {
 public:
  LineContext();
  GlContext *gc() const { return ctx_.gc(); }
  // A vertex at unbiased window (x, y), depth z in [0, 1], with a colour.
  static GlVertex Vertex(double x, double y, double z = 0.5, GlColor color = {0, 0, 0, 0});
  // Draws a to b through __glRenderAliasLine; the recorded runs.
  void Draw(GlVertex a, GlVertex b);

  struct Run {
    std::vector<Pixel> pixels;
    GlShader shader;
  };
  std::vector<Run> runs;

 private:
  static void Record(GlContext *gc);
  ServiceContext ctx_;
  // The context's span arrays.
  std::vector<GlColor> colors_[2];
  std::vector<uint32_t> stipple_;
};

}  // namespace line_test
