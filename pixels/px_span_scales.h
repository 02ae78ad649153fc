// The colour-buffer scales the span stages work in: the largest stored
// value of each component of the draw buffer and the reciprocals, R, G, B,
// A. Without a draw buffer (and in colour-index mode, where indices are
// never scaled) the context's own.
#pragma once

#include "core/context.h"

struct GlSpanScales {
  GLfloat scale[4];
  GLfloat inverse[4];
};

inline GlSpanScales __glSpanScales(const GlContext *gc) {
  const GlColorBuffer *cfb = gc->drawBuffer;
  if (cfb != nullptr && !gc->modes.colorIndexMode)
    return {{cfb->redScale, cfb->greenScale, cfb->blueScale, cfb->alphaScale},
            {cfb->oneOverRedScale, cfb->oneOverGreenScale, cfb->oneOverBlueScale,
             cfb->oneOverAlphaScale}};
  const GlConstants &k = gc->constants;
  return {{k.redScale, k.greenScale, k.blueScale, k.alphaScale},
          {k.oneOverRedScale, k.oneOverGreenScale, k.oneOverBlueScale, k.oneOverAlphaScale}};
}
