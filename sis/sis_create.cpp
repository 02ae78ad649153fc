// Creation of a SiS context: the core context and the chip's state for it in
// one block.
#include "core/context.h"
#include "core/s_context.h"
#include "platform/kernel.h"
#include "sis/sis_context.h"
#include "sis/sis_context_ops.h"
#include "sis/sis_device.h"
#include "sis/sis_hw.h"

GlContext *__glSiSCreateContext(const GlImports *imports, const GlModes *modes) {
  GlContext *gc = static_cast<GlContext *>(imports->calloc(nullptr, 1, sizeof(GlSiSContext)));
  if (gc == nullptr) return nullptr;
  GlSiSTail *sis = __glSiSTail(gc);
  sis->restoreAll = 0;
  sis->ownerId = GetCurrentProcessId();
  sis->dirty = 0;
  gc->imports = *imports;
  gc->modes = *modes;
  __glSetCreatorConstants(gc);
  __glSetDlistProcs(gc);
  gc->exports.destroyContext = sis::DestroyContext;
  gc->exports.loseCurrent = sis::LoseCurrent;
  gc->exports.makeCurrent = sis::MakeCurrent;
  gc->exports.shareContext = sis::ShareContext;
  gc->exports.notifyChangeBufferSize = sis::NotifyChangeBufferSize;
  gc->exports.notifyDestroyBuffers = sis::NotifyDestroyBuffers;
  gc->exports.swapBuffers = SiSSwapBuffers;
  if (!__glEarlyInitContext(gc)) {
    __glDestroyContext(gc);
    gc->imports.free(gc, gc);
    return nullptr;
  }
  Init6326HW3D(gc);
  // Bring-up wrote its values to the chip directly: nothing is recorded as
  // sent until a lock sends it.
  GlSiSProgrammedRegs &sent = sis->programmed;
  sent.mode = 0;
  sent.zAddress = 0;
  sent.zPitch = 0;
  sent.alpha2 = 0;
  sent.alphaTest = 0;
  sent.colorAddress = 0;
  sent.colorPitch = 0;
  sent.linePattern = 0;
  sent.fog = 0;
  // Until the hardware primitives exist every primitive takes the generic
  // path, so the lock sends nothing.
  sis->triangleFallback = 1;
  sis->lineFallback = 1;
  sis->pointFallback = 1;
  sis->serial = __glSiSNextSerial();
  return gc;
}
