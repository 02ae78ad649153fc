// Exact-slope triangles, flat and smooth, dithered and not, through the
// pre-built set-up and chains that end in the pre-built kernels: a fused
// pixel kernel, or colour generation followed by the copy combine kernel or
// by the store span. Against the generic path in RGB332, RGB555, RGB565,
// XRGB8 and CI8: the same pixels are covered (the stencil marks them) and
// every colour field lies within one unit of the generic one; where both
// paths dither (or round) by the same rule, all but a few are equal.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>

#include "fastraster/fr_ci.h"
#include "fastraster/fr_combine.h"
#include "fastraster/fr_genclr.h"
#include "fastraster/fr_genpix.h"
#include "fastraster/fr_pick.h"
#include "fastraster/fr_store.h"
#include "raster/s_shader.h"
#include "tests/fastraster/scene/fast_scene_fixture.h"

namespace scene_test {
namespace {

class KernelSceneTest : public FastSceneTest {
 protected:
  Tail tail = Tail::kFused;

  void ColorStage(const SceneState &, FrSpanletProc *colors, FrSpanletProc *last) override {
    KernelStage(gc, tail, colors, last);
    if (tail != Tail::kFused) {
      ASSERT_NE(*colors, nullptr);
    }
    ASSERT_NE(*last, nullptr);
  }

  // Fields of a pixel of the open format, lowest first.
  std::vector<uint32_t> Fields(uint32_t pixel) const {
    if (!format.rgba) return {pixel & 0xFF};
    std::vector<uint32_t> out;
    for (int k = 0; k < 3; k++) {
      const uint32_t mask = format.masks[k];
      out.push_back((pixel & mask) >> __builtin_ctz(mask));
    }
    return out;
  }

  // `exact`: the fast path's rule is the generic one's, so that all but a
  // few pixels (a product or a sum landing next to a boundary) must be
  // equal; a dithered chain of colours plus store or combine dithers by its
  // own rule and is only near.
  void ExpectNear(const std::vector<SceneStep> &steps, bool exact, const std::string &what) {
    const Image generic = Draw(steps, false);
    const Image fast = Draw(steps, true);
    int wrong = 0, covered = 0, inexact = 0;
    for (size_t i = 0; i < generic.color.size(); i++) covered += generic.stencil[i] != 0;
    EXPECT_GT(covered, kWidth * kHeight / 3) << what;
    for (size_t i = 0; i < generic.color.size() && wrong < 8; i++) {
      bool same = fast.stencil[i] == generic.stencil[i];
      if (same && generic.stencil[i] == 0) {
        same = fast.color[i] == generic.color[i];  // untouched
      } else if (same) {
        const std::vector<uint32_t> a = Fields(fast.color[i]), b = Fields(generic.color[i]);
        for (size_t k = 0; k < a.size(); k++) same = same && abs(int(a[k]) - int(b[k])) <= 1;
      }
      if (same && fast.color[i] != generic.color[i]) inexact++;
      if (same) continue;
      wrong++;
      ADD_FAILURE() << what << ": pixel " << i % kWidth << ", " << i / kWidth << ": colour "
                    << std::hex << fast.color[i] << " (generic " << generic.color[i]
                    << "), stencil " << fast.stencil[i] << " (" << generic.stencil[i] << ")";
    }
    if (exact) {
      EXPECT_LE(inexact, covered / 100) << what;
    }
  }
};

struct KernelTarget {
  const ColorFormat *format;
  uint8_t fbType;
};

std::vector<KernelTarget> Targets() {
  return {{&kRgbFormats[0], FR_FB_RGB332},
          {&kRgbFormats[1], FR_FB_RGB555},
          {&kRgbFormats[2], FR_FB_RGB565},
          {&kRgbFormats[5], FR_FB_XRGB8},
          {&kIndexFormats[0], FR_FB_CI8}};
}

// x on a quarter-pixel grid, edges 16 or 32 rows high: every slope is a
// multiple of 1/128. Spans up to 59 pixels (two chunks), both walk
// directions.
std::vector<SceneStep> Triangles(bool smooth) {
  const SceneState s = Marking(smooth);
  return {Tri(s, V(2.25, 4, 0.5, 0.9, 0.1, 0.3), V(61.5, 20, 0.5, 0.05, 0.95, 0.6),
              V(10.75, 36, 0.5, 0.4, 0.5, 1.0)),
          Tri(s, V(60.25, 11, 0.5, 0.0, 0.3, 0.95), V(40, 43, 0.5, 1.0, 0.7, 0.02),
              V(3.5, 27, 0.5, 0.6, 0.0, 0.5)),
          Tri(s, V(20.5, 30, 0.5, 0.25, 0.75, 0.125), V(63.75, 46, 0.5, 0.8, 0.2, 0.9),
              V(30, 46, 0.5, 0.1, 0.9, 0.4))};
}

TEST_F(KernelSceneTest, PreBuiltKernelsDrawAsTheGenericPath) {
  for (const KernelTarget &t : Targets()) {
    ASSERT_TRUE(Open(*t.format, 16));
    ASSERT_EQ(gc->drawBuffer->frFbType, t.fbType) << t.format->name;
    for (bool smooth : {false, true})
      for (bool dith : {false, true})
        for (Tail which : {Tail::kFused, Tail::kCombine, Tail::kStore}) {
          dither = dith;
          tail = which;
          const bool exact = !dith || which == Tail::kFused || !t.format->rgba ||
                             t.fbType == FR_FB_XRGB8;
          ExpectNear(ForFormat(Triangles(smooth), *t.format), exact,
                     std::string(t.format->name) + (smooth ? " smooth" : " flat") +
                         (dith ? " dithered, " : ", ") + kTailNames[int(which)]);
        }
    Close();
  }
}

}  // namespace
}  // namespace scene_test
