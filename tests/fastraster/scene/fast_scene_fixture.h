// Scenes drawn twice into the same window: once by the generic path, once
// by the pre-built set-up with a chain built by hand as the picker would
// (clip mask, stipple, stencil test, generated depth test, stencil
// cleanup, then the colour stage a test chooses), with snapshots of the
// colour, depth and stencil memory to compare.
#pragma once

#include <vector>

#include "codegen/og_fr.h"
#include "core/context.h"
#include "core/gl_api.h"
#include "fastraster/fr_setup.h"
#include "fastraster/fr_spanlets.h"
#include "fastraster/fr_stencil.h"
#include "tests/raster/scene/scene_builders.h"
#include "tests/raster/scene/scene_fixture.h"

namespace scene_test {

typedef FrSpanletProc GlProcs::*Slot;

struct Image {
  std::vector<uint32_t> color, depth, stencil;
};

class FastSceneTest : public SceneTest {
 protected:
  bool dither = false;  // GL_DITHER while drawing

  Image Snapshot() {
    Image im;
    for (int32_t row = 0; row < kHeight; row++)
      for (int32_t x = 0; x < kWidth; x++) {
        im.color.push_back(colorMemory->Read(x, row));
        im.depth.push_back(depthMemory->Read(x, row));
        im.stencil.push_back(stencilMemory->Read(x, row));
      }
    return im;
  }

  // The chain for the validated state, as the picker would build it:
  // `colors` (when not null, followed by procs.afterColors) and `last`.
  void InstallChain(const SceneState &s, FrSpanletProc colors, FrSpanletProc last) {
    GlProcs &p = gc->procs;
    Slot next = &GlProcs::fillTriangleSpan;
    const auto append = [&](FrSpanletProc spanlet, Slot after) {
      p.*next = spanlet;
      next = after;
    };
    if (s.scissor) append(__glGenMask, &GlProcs::afterMask);
    if (s.stipple) append(__glGenStipple, &GlProcs::afterStipple);
    if (s.stencil.on) {
      append(__glFRStencilTest, &GlProcs::afterStencilTest);
      p.stencilOpSFail = __glFRPickStencilOpProc(s.stencil.fail);
      p.stencilOpZFail = __glFRPickStencilOpProc(s.stencil.zfail);
      p.stencilOpZPass = __glFRPickStencilOpProc(s.stencil.zpass);
    }
    if (s.depthTest) append(reinterpret_cast<FrSpanletProc>(OGGenerateZT(gc)), &GlProcs::afterDepthTest);
    if (s.stencil.on) append(__glFRStencilPostDepthCleanup, &GlProcs::afterStencilCleanup);
    if (colors) append(colors, &GlProcs::afterColors);
    ASSERT_NE(last, nullptr);
    append(last, nullptr);
    p.fillTriangle = __glFRRenderTriangle;
  }

  // The chain's colour stage and last spanlet for the validated state.
  virtual void ColorStage(const SceneState &s, FrSpanletProc *colors, FrSpanletProc *last) = 0;

  Image Draw(const std::vector<SceneStep> &steps, bool fast) {
    SceneReference ref(Target());
    dither ? glEnable(GL_DITHER) : glDisable(GL_DITHER);
    ClearAll(&ref);
    for (const SceneStep &step : steps) {
      Apply(step.state);
      Validate();
      if (fast) {
        FrSpanletProc colors = nullptr, last = nullptr;
        ColorStage(step.state, &colors, &last);
        InstallChain(step.state, colors, last);
      }
      Send(step.primitive);
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    return Snapshot();
  }
};

inline SceneStep Tri(const SceneState &s, SceneVertex a, SceneVertex b, SceneVertex c) {
  return {s, {GL_TRIANGLES, {a, b, c}}};
}

}  // namespace scene_test
