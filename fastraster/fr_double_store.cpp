// Drawing into both colour buffers: the same store span twice, back buffer
// first, each time with its own buffer record (write masks) and the same
// dither phase.
#include "core/context.h"
#include "fastraster/fr_setup.h"
#include "fastraster/fr_spanlets.h"

void GLFASTCALL __glFRDoubleStore(uint32_t mask, FrSpan *span) {
  GlContext *gc = span->gc;
  FrAddress pixel = span->pixel;
  const uint32_t *ditherRow = span->ditherRow;
  GlColorBuffer *drawBuffer = gc->drawBuffer;
  gc->drawBuffer = gc->back;
  gc->procs.doubleStoreSpan(mask, span);
  span->pixel = span->pixel2;
  span->ditherRow = ditherRow;
  gc->drawBuffer = gc->front;
  gc->procs.doubleStoreSpan(mask, span);
  span->pixel = pixel;
  gc->drawBuffer = drawBuffer;
}
