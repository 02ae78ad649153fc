// Generated setup and raster routine in spanlet mode against the pre-built
// set-up, both driving the same real chains (clip mask, stipple, stencil,
// generated depth test, and the pre-built kernels or store spans) over the
// same scenes: colour and stencil must be equal, stored depth within the
// pre-built set-up's drift (the two setups round depth differently).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/fastraster/scene/fast_scene_fixture.h"

namespace scene_test {
namespace {

class ChainSceneTest : public FastSceneTest {
 protected:
  Tail tail = Tail::kStore;

  void ColorStage(const SceneState &, FrSpanletProc *colors, FrSpanletProc *last) override {
    KernelStage(gc, tail, colors, last);
  }

  void ExpectSameImages(const std::vector<SceneStep> &steps, const std::string &what) {
    generated = false;
    const Image prebuilt = Draw(steps, true);
    generated = true;
    const Image gen = Draw(steps, true);
    generated = false;
    const int64_t slack = kDepthDrift + int64_t(Target().depthMax >> 22);
    int differ = 0, covered = 0;
    for (size_t i = 0; i < prebuilt.color.size(); i++) {
      covered += prebuilt.stencil[i] != 0;
      const int64_t dz = int64_t(gen.depth[i]) - int64_t(prebuilt.depth[i]);
      if (gen.color[i] == prebuilt.color[i] && gen.stencil[i] == prebuilt.stencil[i] &&
          dz <= slack && dz >= -slack)
        continue;
      if (++differ > 8) break;
      ADD_FAILURE() << what << ": pixel " << i % kWidth << ", " << i / kWidth << ": colour "
                    << std::hex << gen.color[i] << " (pre-built " << prebuilt.color[i]
                    << "), stencil " << gen.stencil[i] << " (" << prebuilt.stencil[i]
                    << "), depth " << gen.depth[i] << " (" << prebuilt.depth[i] << ")";
    }
    EXPECT_GT(covered, 0) << what;
  }
};

// Marks every covered pixel in the stencil buffer, depth tested.
SceneState DepthMarking(bool smooth, GLenum depthFunc) {
  SceneState s = Marking(smooth);
  s.depthTest = true;
  s.depthFunc = depthFunc;
  return s;
}

// Exact slopes (x on a quarter-pixel grid, edges 16 or 32 rows high), spans
// of one and two chunks, both walk directions, overlapping in depth.
std::vector<SceneStep> Overlapping(bool smooth, GLenum depthFunc) {
  const SceneState s = DepthMarking(smooth, depthFunc);
  return {Tri(s, V(2.25, 4, 0.25, 0.9, 0.1, 0.3), V(61.5, 20, 0.5, 0.05, 0.95, 0.6),
              V(10.75, 36, 0.75, 0.4, 0.5, 1.0)),
          Tri(s, V(60.25, 11, 0.8, 0.0, 0.3, 0.95), V(40, 43, 0.3, 1.0, 0.7, 0.02),
              V(3.5, 27, 0.4, 0.6, 0.0, 0.5)),
          Tri(s, V(20.5, 30, 0.5, 0.25, 0.75, 0.125), V(63.75, 46, 0.5, 0.8, 0.2, 0.9),
              V(30, 46, 0.5, 0.1, 0.9, 0.4))};
}

TEST_F(ChainSceneTest, KernelChainsDrawAsThePrebuiltSetup) {
  const ColorFormat *formats[] = {&kRgbFormats[0], &kRgbFormats[2], &kRgbFormats[5],
                                  &kIndexFormats[0]};
  for (const ColorFormat *f : formats) {
    ASSERT_TRUE(Open(*f, 16));
    for (bool smooth : {false, true})
      for (bool dith : {false, true})
        for (Tail which : {Tail::kFused, Tail::kCombine, Tail::kStore}) {
          dither = dith;
          tail = which;
          ExpectSameImages(ForFormat(Overlapping(smooth, GL_LESS), *f),
                           std::string(f->name) + (smooth ? " smooth" : " flat") +
                               (dith ? " dithered, " : ", ") + kTailNames[int(which)]);
        }
    Close();
  }
}

// Scissor, stipple and a stencil test with every outcome, over 16- and
// 32-bit depth buffers.
TEST_F(ChainSceneTest, ScissorStippleStencilAndDepthDrawAsThePrebuiltSetup) {
  SceneState second = DepthMarking(false, GL_LESS);
  second.scissor = true;
  second.box[0] = 7, second.box[1] = 5, second.box[2] = 45, second.box[3] = 30;
  second.stipple = true;
  for (int i = 0; i < 128; i++) second.pattern[i] = uint8_t(i % 4 == 1 ? 0x5A : i * 37);
  second.stencil.func = GL_EQUAL;
  second.stencil.fail = GL_INCR;
  second.stencil.zfail = GL_INVERT;
  second.stencil.zpass = GL_ZERO;
  for (uint32_t depthBits : {16u, 32u})
    for (GLenum func : {GL_LESS, GL_GREATER, GL_LEQUAL, GL_NOTEQUAL}) {
      ASSERT_TRUE(Open(kRgbFormats[2], depthBits));
      std::vector<SceneStep> steps = Overlapping(true, func);
      steps.push_back(Tri(second, V(2, 2, 0.25, 1, 1, 0), V(62, 2, 0.25, 1, 1, 0),
                          V(62, 46, 0.75, 1, 1, 0)));
      ExpectSameImages(ForFormat(steps, kRgbFormats[2]),
                       std::to_string(depthBits) + "-bit depth, function 0x" +
                           std::to_string(func));
      Close();
    }
}

}  // namespace
}  // namespace scene_test
