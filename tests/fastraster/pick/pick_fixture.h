// A context on a memory window of a chosen format, validated for a state,
// and the fast-path picker asked again with the chain slots cleared, so
// that what it installs can be read back.
#pragma once

#include <string.h>

#include <functional>

#include "core/context.h"
#include "fastraster/fr_pick.h"
#include "tests/raster/color/color_fixture.h"
#include "tests/raster/scene/scene_fixture.h"

namespace pick_test {

inline const ColorFormat &FormatNamed(const char *name) {
  for (const ColorFormat &f : kRgbFormats)
    if (strcmp(f.name, name) == 0) return f;
  for (const ColorFormat &f : kIndexFormats)
    if (strcmp(f.name, name) == 0) return f;
  return kRgbFormats[0];
}

class PickTest : public scene_test::SceneTest {
 protected:
  // Validates the state `gl` set (through the GL entries), applies `force`
  // to the validated context, then picks again with the chain slots
  // cleared. The picker's answer.
  bool Pick(const std::function<void()> &gl, const std::function<void(GlContext *)> &force,
            bool mmx) {
    if (gl) gl();
    Validate();
    if (force) force(gc);
    if (mmx) gc->constants.cpuFlags |= __GL_CPU_MMX;
    else gc->constants.cpuFlags &= ~__GL_CPU_MMX;
    GlProcs &p = gc->procs;
    p.fillTriangleSpan = p.extractTexels = nullptr;
    p.afterMask = p.afterStipple = p.afterDepthTest = p.afterColors = nullptr;
    p.afterAlphaTest = p.afterIndexTest = p.afterStencilTest = p.afterStencilCleanup = nullptr;
    p.stencilOpSFail = p.stencilOpZFail = p.stencilOpZPass = p.doubleStoreSpan = nullptr;
    p.texMinFilter = p.texMagFilter = nullptr;
    p.fillTriangleUnfogged = nullptr;
    p.renderClippedTriangle = nullptr;
    return __glFRPickTriangleProcs(gc) != 0;
  }
};

}  // namespace pick_test
