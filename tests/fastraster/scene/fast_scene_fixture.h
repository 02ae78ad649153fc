// Scenes drawn twice into the same window: once by the generic path, once
// by the pre-built set-up with a chain built by hand as the picker would
// (clip mask, stipple, stencil test, generated depth test, stencil
// cleanup, then the colour stage a test chooses), with snapshots of the
// colour, depth and stencil memory to compare. The chain can also be driven
// by a generated setup and raster routine in spanlet mode.
#pragma once

#include <vector>

#include "codegen/og_fr.h"
#include "codegen/og_ras.h"
#include "core/context.h"
#include "core/gl_api.h"
#include "fastraster/fr_combine.h"
#include "fastraster/fr_genclr.h"
#include "fastraster/fr_genpix.h"
#include "fastraster/fr_setup.h"
#include "fastraster/fr_spanlets.h"
#include "fastraster/fr_stencil.h"
#include "fastraster/fr_store.h"
#include "raster/s_shader.h"
#include "tests/raster/scene/scene_builders.h"
#include "tests/raster/scene/scene_fixture.h"

namespace scene_test {

typedef FrSpanletProc GlProcs::*Slot;

struct Image {
  std::vector<uint32_t> color, depth, stencil;
};

class FastSceneTest : public SceneTest {
 protected:
  bool dither = false;     // GL_DITHER while drawing
  bool generated = false;  // the chain driven by a generated setup and raster

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
        if (generated) {
          EXPECT_TRUE(__glForceGeneratedTriangle(gc, GL_TRUE));
        }
      }
      Send(step.primitive);
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    return Snapshot();
  }
};

enum class Tail { kFused, kCombine, kStore };
inline const char *const kTailNames[] = {"fused", "colours + combine", "colours + store"};

// The untextured pre-built kernels the picker would choose for the
// validated state: a fused pixel kernel, or colour generation followed by
// the copy combine kernel or the store span.
inline void KernelStage(GlContext *gc, Tail tail, FrSpanletProc *colors, FrSpanletProc *last) {
  const uint8_t type = gc->drawBuffer->frFbType;
  const uint32_t flags = gc->polygon.shader.modeFlags;
  const bool dithered = (flags & __GL_SHADE_DITHER) != 0;
  const bool smooth = (flags & __GL_SHADE_ITERATE_COLOR) != 0;
  if (tail == Tail::kFused) {
    *last = __glGenPixTab[type][(dithered ? 0x01 : 0) | (smooth ? 0x02 : 0)];
    return;
  }
  *colors = __glGenColorTab[type][smooth ? 0x02 : 0];
  *last = tail == Tail::kStore ? __glStoreTab[type]
                               : __glCombineTab[type][0x03 | (dithered ? 0x10 : 0)];  // GL_COPY
}

// Marks every covered pixel in the stencil buffer.
inline SceneState Marking(bool smooth) {
  SceneState s;
  s.smooth = smooth;
  s.stencil.on = true;
  s.stencil.func = GL_ALWAYS;
  s.stencil.ref = 1;
  s.stencil.zpass = GL_REPLACE;
  return s;
}

inline SceneStep Tri(const SceneState &s, SceneVertex a, SceneVertex b, SceneVertex c) {
  return {s, {GL_TRIANGLES, {a, b, c}}};
}

}  // namespace scene_test
