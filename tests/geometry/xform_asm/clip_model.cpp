#include "tests/geometry/xform_asm/clip_model.h"

#include <math.h>
#include <stdlib.h>

#include "tests/geometry/xform_asm/asm_call.h"

ViewportContext::ViewportContext(GlCpuFlags flags)
    : gc(static_cast<GlContext *>(calloc(1, sizeof(GlContext)))) {
  gc->constants.one = 1.0f;
  gc->constants.cpuFlags = flags;
  GlViewport &vp = gc->state.viewport;
  vp.xScale = 320, vp.xCenter = 4096 + 320;
  vp.yScale = 240, vp.yCenter = 4096 + 240;
  vp.zScale = 0.5f, vp.zCenter = 0.5f;
}

ViewportContext::~ViewportContext() { free(gc); }

ClipModel ModelOf(const GlViewport &vp, const GlCoord &c) {
  ClipModel m = {};
  const double w = c.w;
  const double v[3] = {c.x, c.y, c.z};
  const double scale[3] = {vp.xScale, vp.yScale, vp.zScale};
  const double center[3] = {vp.xCenter, vp.yCenter, vp.zCenter};
  for (int k = 0; k < 3; ++k) {
    const uint32_t low = __GL_CLIP_LEFT << (2 * k);
    if (v[k] < -w) m.codes |= low;
    if (!(w >= v[k])) m.codes |= low << 1;
  }
  m.invW = 1.0f / c.w;
  for (int k = 0; k < 3; ++k) {
    m.term[k] = scale[k] * double(m.invW) * v[k];
    m.window[k] = float(m.term[k] + center[k]);
  }
  return m;
}

testing::AssertionResult SameFloat(float got, float want) {
  if ((isnan(got) && isnan(want)) || Bits(got) == Bits(want)) return testing::AssertionSuccess();
  return testing::AssertionFailure() << std::hexfloat << got << " is not " << want;
}

testing::AssertionResult Within(float got, double want, double tolerance) {
  if (isnan(got) || isnan(want)) {
    if (isnan(got) && isnan(want)) return testing::AssertionSuccess();
    return testing::AssertionFailure() << std::hexfloat << got << " is not " << want;
  }
  if (got == want || fabs(double(got) - want) <= tolerance) return testing::AssertionSuccess();
  return testing::AssertionFailure()
         << std::hexfloat << got << " is not within " << tolerance << " of " << want;
}
