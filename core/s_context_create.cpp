// The creation every device's creator shares, the core's creator, and what
// every creator stores in a new context before early initialisation.
#include "core/context.h"
#include "core/s_backend.h"
#include "core/s_context.h"
#include "core/s_nop.h"
#include "dlist/dl_compiler.h"
#include "dlist/dl_optimize.h"
#include "dlist/dl_tables.h"

void __glSetCreatorConstants(GlContext *gc) {
  GlConstants &c = gc->constants;
  c.numberOfLights = 8;
  c.numberOfClipPlanes = 6;
  c.numberOfTextures = 1;  // texture early initialisation raises it
  c.numberOfTextureEnvs = 1;
  c.maxViewportWidth = 2048;
  c.maxViewportHeight = 2048;
  c.viewportXAdjust = 6144;
  c.viewportYAdjust = 6144;
  c.redScale = 255.0f;
  c.blueScale = 255.0f;
  c.greenScale = 255.0f;
  c.alphaScale = 255.0f;
  c.depthScale = 1.0f;
  c.maxTextureSize = 11;  // texture early initialisation turns it into a size
  c.maxMipMapLevel = 11;
  c.subpixelBits = 3;
  c.pointSizeMinimum = 0.5f;
  c.pointSizeMaximum = 10.0f;
  c.pointSizeGranularity = 0.125f;
  c.lineWidthMinimum = 0.5f;
  c.lineWidthMaximum = 10.0f;
  c.lineWidthGranularity = 0.125f;
  c.maxEvalOrder = 30;
  c.maxPixelMapTable = 65536;
  c.maxAttribStackDepth = 16;
  c.maxClientAttribStackDepth = 16;
  c.maxNameStackDepth = 128;
  c.maxModelViewStackDepth = 32;
  c.maxProjectionStackDepth = 2;
  c.maxTextureStackDepth = 10;
}

void __glSetDlistProcs(GlContext *gc) {
  GlDlistState &dl = gc->dlist;
  dl.optimizer = __glGenericDlistOptimizer;
  dl.compiler = __glGenericDlistCompiler;
  dl.appendOp = __glNopProc<decltype(dl.appendOp)>();
  dl.beginList = __glNop1;
  dl.listExecTable = __glListExecTable;
  dl.genericDlOps = __gl_GenericDlOps;
  dl.machineDlOps = nullptr;
}

GlContext *__glCreateContextWith(const GlImports *imports, const GlModes *modes,
                                 size_t recordSize, const GlExports *exports) {
  GlContext *gc = static_cast<GlContext *>(imports->calloc(nullptr, 1, recordSize));
  if (gc == nullptr) return nullptr;
  gc->imports = *imports;
  gc->modes = *modes;
  __glSetCreatorConstants(gc);
  __glSetDlistProcs(gc);
  gc->exports = *exports;
  if (!__glEarlyInitContext(gc)) {
    __glDestroyContext(gc);
    gc->imports.free(gc, gc);
    return nullptr;
  }
  return gc;
}

GlContext *__glCoreCreateContext(const GlImports *imports, const GlModes *modes) {
  static constexpr GlExports kExports = {
      .destroyContext = core::DestroyContext,
      .loseCurrent = core::LoseCurrent,
      .makeCurrent = core::MakeCurrent,
      .shareContext = core::ShareContext,
      .copyContext = nullptr,  // early initialisation fills it and the last three
      .swapBuffers = core::SwapBuffers,
      .notifyDestroyBuffers = core::NotifyDestroyBuffers,
      .notifyChangeBufferSize = core::NotifyChangeBufferSize,
      .dispatchExec = nullptr,
      .beginDispatchOverride = nullptr,
      .endDispatchOverride = nullptr,
  };
  return __glCreateContextWith(imports, modes, sizeof(GlContext), &kExports);
}
