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
  static constexpr GlExports kExports = {
      .destroyContext = sis::DestroyContext,
      .loseCurrent = sis::LoseCurrent,
      .makeCurrent = sis::MakeCurrent,
      .shareContext = sis::ShareContext,
      .copyContext = nullptr,  // early initialisation fills it and the last three
      .swapBuffers = SiSSwapBuffers,
      .notifyDestroyBuffers = sis::NotifyDestroyBuffers,
      .notifyChangeBufferSize = sis::NotifyChangeBufferSize,
      .dispatchExec = nullptr,
      .beginDispatchOverride = nullptr,
      .endDispatchOverride = nullptr,
  };
  GlContext *gc = __glCreateContextWith(imports, modes, sizeof(GlSiSContext), &kExports);
  if (gc == nullptr) return nullptr;
  // The tail starts zeroed: no group is dirty and no full reload is pending.
  GlSiSTail *sis = __glSiSTail(gc);
  sis->ownerId = GetCurrentProcessId();
  Init6326HW3D(gc);
  // Bring-up wrote its values to the chip directly: nothing is recorded as
  // sent until a lock sends it.
  sis->programmed = GlSiSProgrammedRegs{};
  // Until the first validation decides, every primitive takes the generic
  // path, so the lock sends nothing.
  sis->triangleFallback = 1;
  sis->lineFallback = 1;
  sis->pointFallback = 1;
  sis->serial = __glSiSNextSerial();
  return gc;
}
