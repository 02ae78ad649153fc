// Scenes drawn twice into the same window: once by the generic path, once
// by the pre-built set-up with a chain built by hand (clip mask, stipple,
// stencil test, generated depth test, stencil cleanup, a fixture spanlet
// that writes the flat colour, the format's store span). Exact-slope
// triangles with flat, undithered colour: colour and stencil must be equal,
// stored depth within the generic path's
// drift.
#include <gtest/gtest.h>

#include <vector>

#include "fastraster/fr_store.h"
#include "tests/fastraster/scene/fast_scene_fixture.h"

namespace scene_test {
namespace {

// The flat colour of the triangle, each component left-aligned to its
// field, into every entry of `colors`; then the next step.
void GLFASTCALL FlatColors(uint32_t mask, FrSpan *span) {
  const GlContext *gc = span->gc;
  const GlModes &m = gc->modes;
  const auto byte = [](int32_t v, uint32_t bits) { return uint32_t(v >> 16) << (8 - bits) & 0xFF; };
  const uint32_t c = byte(span->r, m.redBits) | byte(span->g, m.greenBits) << 8 |
                     byte(span->b, m.blueBits) << 16 | 0xFF000000u;
  for (uint32_t &e : span->colors) e = c;
  gc->procs.afterColors(mask, span);
}

class StoreSceneTest : public FastSceneTest {
 protected:
  void ColorStage(const SceneState &, FrSpanletProc *colors, FrSpanletProc *last) override {
    *colors = FlatColors;
    *last = __glStoreTab[gc->drawBuffer->frFbType];
  }

  void ExpectSame(const std::vector<SceneStep> &steps, const char *what) {
    for (uint32_t depthBits : {16u, 32u})
      for (bool topDown : {false, true}) {
        SCOPED_TRACE(testing::Message() << what << ", " << depthBits << "-bit depth"
                                        << (topDown ? ", top-down" : ""));
        ASSERT_TRUE(Open(kRgbFormats[2], depthBits, topDown));  // 5-6-5
        const Image generic = Draw(steps, false);
        const Image fast = Draw(steps, true);
        // The drift, and window z's float precision (as the reference's
        // comparison allows).
        const double slack = kDepthDrift + double(Target().depthMax) / (1 << 22);
        int wrong = 0;
        for (size_t i = 0; i < generic.color.size() && wrong < 8; i++) {
          const int64_t dz = int64_t(fast.depth[i]) - int64_t(generic.depth[i]);
          if (fast.color[i] == generic.color[i] && fast.stencil[i] == generic.stencil[i] &&
              dz <= slack && dz >= -slack)
            continue;
          wrong++;
          ADD_FAILURE() << "pixel " << i % kWidth << ", " << i / kWidth << ": colour "
                        << fast.color[i] << " (generic " << generic.color[i] << "), depth "
                        << fast.depth[i] << " (" << generic.depth[i] << "), stencil "
                        << fast.stencil[i] << " (" << generic.stencil[i] << ")";
        }
        Close();
      }
  }
};

SceneState Flat() {
  SceneState s;
  s.smooth = false;
  return s;
}


TEST_F(StoreSceneTest, DepthTestedTrianglesEqualTheGenericPath) {
  SceneState s = Flat();
  s.depthTest = true;
  std::vector<SceneStep> steps;
  for (GLenum func : {GL_LESS, GL_GREATER, GL_LEQUAL, GL_NOTEQUAL}) {
    s.depthFunc = func;
    steps = {Tri(s, V(4, 4, 0.25, 1, 0, 0), V(60, 4, 0.25, 1, 0, 0), V(4, 44, 0.75, 1, 0, 0)),
             Tri(s, V(60, 44, 0.5, 0, 1, 0), V(2, 44, 0.5, 0, 1, 0), V(60, 2, 0.5, 0, 1, 0))};
    ExpectSame(steps, "depth");
  }
}

TEST_F(StoreSceneTest, ScissorStippleAndStencilEqualTheGenericPath) {
  SceneState first = Flat();
  first.stencil.on = true;
  first.stencil.func = GL_ALWAYS;
  first.stencil.ref = 1;
  first.stencil.zpass = GL_REPLACE;
  first.depthTest = true;
  SceneState second = Flat();
  second.scissor = true;
  second.box[0] = 7, second.box[1] = 5, second.box[2] = 45, second.box[3] = 30;
  second.stipple = true;
  for (int i = 0; i < 128; i++) second.pattern[i] = uint8_t(i % 4 == 1 ? 0x5A : i * 37);
  second.stencil.on = true;
  second.stencil.func = GL_EQUAL;
  second.stencil.ref = 1;
  second.stencil.fail = GL_INCR;
  second.stencil.zfail = GL_INVERT;
  second.stencil.zpass = GL_ZERO;
  second.depthTest = true;
  second.depthFunc = GL_LESS;
  const std::vector<SceneStep> steps = {
      Tri(first, V(0, 0, 0.5, 0, 0, 1), V(40, 0, 0.5, 0, 0, 1), V(0, 40, 0.5, 0, 0, 1)),
      Tri(second, V(2, 2, 0.25, 1, 1, 0), V(62, 2, 0.25, 1, 1, 0), V(62, 46, 0.75, 1, 1, 0))};
  ExpectSame(steps, "scissor, stipple, stencil");
}

// z = 0 along x = 44.5, the clipped triangle's right edge through the
// centres of column 44, reached by stepping z down across the rows: depths
// the set-up steps a little below 0 must not wrap to the far end and leave
// holes under GL_LESS.
TEST_F(StoreSceneTest, ATriangleCutByTheNearPlaneHasNoHoles) {
  SceneState s = Flat();
  s.depthTest = true;
  s.depthFunc = GL_LESS;
  const std::vector<SceneStep> steps = {
      Tri(s, V(24, 8, 0.640625, 1, 0, 1), V(56, 8, -0.359375, 1, 0, 1),
          V(24, 40, 0.640625, 1, 0, 1))};
  ExpectSame(steps, "near plane");
}

}  // namespace
}  // namespace scene_test
