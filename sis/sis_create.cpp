// PLACEHOLDER (seam): creates the SiS context with the core's exports.
#include "core/context.h"
#include "core/s_backend.h"
#include "core/s_context.h"
#include "sis/sis_context.h"
#include "sis/sis_device.h"

GlContext *__glSiSCreateContext(const GlImports *imports, const GlModes *modes) {
  GlContext *gc = static_cast<GlContext *>(imports->calloc(nullptr, 1, sizeof(GlSiSContext)));
  if (gc == nullptr) return nullptr;
  gc->imports = *imports;
  gc->modes = *modes;
  __glSetCreatorConstants(gc);
  __glSetDlistProcs(gc);
  gc->exports.destroyContext = core::DestroyContext;
  gc->exports.loseCurrent = core::LoseCurrent;
  gc->exports.makeCurrent = core::MakeCurrent;
  gc->exports.shareContext = core::ShareContext;
  gc->exports.swapBuffers = core::SwapBuffers;
  gc->exports.notifyDestroyBuffers = core::NotifyDestroyBuffers;
  gc->exports.notifyChangeBufferSize = core::NotifyChangeBufferSize;
  if (!__glEarlyInitContext(gc)) {
    __glDestroyContext(gc);
    gc->imports.free(gc, gc);
    return nullptr;
  }
  return gc;
}
