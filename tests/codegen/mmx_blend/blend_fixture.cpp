#include "tests/codegen/mmx_blend/blend_fixture.h"

#include <math.h>
#include <stdlib.h>

#include <sstream>

namespace blend_test {

using scene_test::kHeight;
using scene_test::kWidth;
using scene_test::Tri;
using scene_test::V;

const std::vector<GLenum> kSourceFactors = {
    GL_ZERO, GL_ONE, GL_DST_COLOR, GL_ONE_MINUS_DST_COLOR, GL_SRC_ALPHA,
    GL_ONE_MINUS_SRC_ALPHA, GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA, GL_SRC_ALPHA_SATURATE};
const std::vector<GLenum> kDestFactors = {
    GL_ZERO, GL_ONE, GL_SRC_COLOR, GL_ONE_MINUS_SRC_COLOR, GL_SRC_ALPHA,
    GL_ONE_MINUS_SRC_ALPHA, GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA};
const std::vector<Pair> kAdmittedPairs = {{GL_SRC_ALPHA, GL_ZERO},
                                          {GL_SRC_ALPHA, GL_ONE},
                                          {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA},
                                          {GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA},
                                          {GL_SRC_ALPHA_SATURATE, GL_ONE}};

std::string FactorName(GLenum f) {
  switch (f) {
    case GL_ZERO: return "ZERO";
    case GL_ONE: return "ONE";
    case GL_SRC_COLOR: return "SRC_COLOR";
    case GL_ONE_MINUS_SRC_COLOR: return "ONE_MINUS_SRC_COLOR";
    case GL_SRC_ALPHA: return "SRC_ALPHA";
    case GL_ONE_MINUS_SRC_ALPHA: return "ONE_MINUS_SRC_ALPHA";
    case GL_DST_ALPHA: return "DST_ALPHA";
    case GL_ONE_MINUS_DST_ALPHA: return "ONE_MINUS_DST_ALPHA";
    case GL_DST_COLOR: return "DST_COLOR";
    case GL_ONE_MINUS_DST_COLOR: return "ONE_MINUS_DST_COLOR";
    case GL_SRC_ALPHA_SATURATE: return "SRC_ALPHA_SATURATE";
    default: return "?";
  }
}

SceneState Blended(GLenum src, GLenum dst, bool smooth) {
  SceneState s;
  s.smooth = smooth;
  s.blend = true;
  s.blendSrc = src;
  s.blendDst = dst;
  return s;
}

std::vector<SceneStep> BlendLayers(const SceneState &s) {
  return {Tri(s, V(0.75, 1.25, 0.5, 0.9, 0.1, 0.3, 0.0), V(40.25, 1.75, 0.5, 0.05, 0.95, 0.6, 1.0),
              V(1.25, 30.75, 0.5, 0.4, 0.5, 1.0, 0.5)),
          Tri(s, V(62.75, 1.25, 0.5, 0.0, 0.3, 0.95, 0.8), V(63.25, 46.75, 0.5, 1.0, 0.7, 0.02, 0.1),
              V(30.25, 24.75, 0.5, 0.6, 0.0, 0.5, 1.0)),
          Tri(s, V(3.25, 46.75, 0.5, 0.25, 0.75, 0.125, 0.3), V(58.25, 46.25, 0.5, 1.0, 1.0, 1.0, 0.9),
              V(30.75, 33.25, 0.5, 0.1, 0.9, 0.4, 0.6))};
}

Image BlendTest::DrawBlend(Path path, const std::vector<SceneStep> &steps) {
  scene_test::SceneReference ref(Target());
  dither ? glEnable(GL_DITHER) : glDisable(GL_DITHER);
  ClearAll(&ref);
  // Columns one pixel wide and eight tall, so that neighbours in a group
  // differ, in colours from black to white, every channel at both ends of
  // its range somewhere.
  glEnable(GL_SCISSOR_TEST);
  for (int32_t by = 0; by < kHeight / 8; by++)
    for (int32_t x = 0; x < kWidth; x++) {
      const int32_t n = by * 5 + x;
      glClearColor(GLfloat((n * 5) % 7) / 6, GLfloat((n * 3) % 11) / 10, GLfloat((n * 7) % 5) / 4, 1);
      glScissor(x, by * 8, 1, 8);
      glClear(GL_COLOR_BUFFER_BIT);
    }
  glDisable(GL_SCISSOR_TEST);
  background_ = Snapshot().color;
  for (const SceneStep &step : steps) {
    Apply(step.state);
    Validate();
    if (path == Path::kGenerated) {
      EXPECT_TRUE(__glForceGeneratedTriangle(gc, GL_FALSE));
    }
    Send(step.primitive);
  }
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  glDisable(GL_BLEND);
  return Snapshot();
}

namespace {

int64_t Channel(const ColorFormat &f, uint32_t pixel, int k) {
  return (pixel & f.masks[k]) >> __builtin_ctz(f.masks[k]);
}

// The distance of the pixel centre from the nearest edge of `v`.
double EdgeDistance(const scene_test::SceneVertex *v, double px, double py) {
  double best = 1e9;
  for (int k = 0; k < 3; k++) {
    const auto &a = v[k], &b = v[(k + 1) % 3];
    const double len = hypot(b.x - a.x, b.y - a.y);
    best = fmin(best, fabs((b.x - a.x) * (py - a.y) - (b.y - a.y) * (px - a.x)) / len);
  }
  return best;
}

}  // namespace

void BlendTest::ExpectNear(const Image &gen, const Image &generic,
                           const std::vector<SceneStep> &steps, int64_t tolerance,
                           const std::string &what) {
  int wrong = 0, judged = 0;
  std::ostringstream first;
  for (int32_t row = 0; row < kHeight; row++)
    for (int32_t x = 0; x < kWidth; x++) {
      // Window rows count up from the bottom in GL coordinates.
      const double px = x + 0.5, py = kHeight - row - 0.5;
      bool edge = false;
      for (const SceneStep &s : steps)
        edge = edge || EdgeDistance(s.primitive.v.data(), px, py) < 0.125 ||
               EdgeDistance(s.primitive.v.data(), px, row + 0.5) < 0.125;
      if (edge) continue;
      judged++;
      const size_t i = size_t(row) * kWidth + size_t(x);
      for (int k = 0; k < 3; k++) {
        const int64_t a = Channel(format, gen.color[i], k), b = Channel(format, generic.color[i], k);
        if (llabs(a - b) <= tolerance) continue;
        if (wrong++ < 8)
          first << "\n  pixel " << x << ", " << row << " channel " << k << ": " << a << ", generic "
                << b << ", background " << Channel(format, Background(x, row), k);
        break;
      }
    }
  EXPECT_GT(judged, kWidth * kHeight / 2) << what;
  if (wrong) ADD_FAILURE() << what << ": " << wrong << " pixels differ by more than " << tolerance << first.str();
}

}  // namespace blend_test
