// Binding a SiS context to the calling thread, and releasing it. The binding
// is the core's with the device's buffers, procedures, recorded words and
// strings.
#include "core/context.h"
#include "core/s_backend.h"
#include "core/s_constants.h"
#include "sis/sis_context.h"
#include "sis/sis_context_ops.h"
#include "wgl/wgl_context.h"
#include "wgl/wgl_ddraw.h"
#include "wgl/wgl_drawable.h"

namespace sis {

namespace {

// The window of the drawable the context's record is being bound to; none
// for a memory bitmap or a context made outside the window-system layer.
HWND BoundWindow(GlContext *gc) {
  const WglContext *record = static_cast<const WglContext *>(gc->imports.other);
  return record && record->drawable ? record->drawable->hwnd : nullptr;
}

void RecordWords(GlContext *gc) {
  GlSiSTail *sis = __glSiSTail(gc);
  if (!(gc->flags & __GL_GC_VALIDATED_ONCE))
    sis->frameBufferBase = static_cast<uint8_t *>(__wglDDrawGetPrimaryBase());
  // The engine's loaded state is known by the serial: a context that moves
  // to another window needs its registers sent again.
  HWND window = BoundWindow(gc);
  if (window != sis->hwnd) {
    sis->hwnd = window;
    sis->serial = __glSiSNextSerial();
  }
}

void SetStrings(GlContext *gc) {
  GlConstants &c = gc->constants;
  c.vendor = "SiS";
  if (c.cpuFlags & __GL_CPU_K3D)
    c.renderer = "6326/MMX/K3D";
  else if (c.cpuFlags & __GL_CPU_MMX)
    c.renderer = "6326/MMX";
  else
    c.renderer = "6326";
  c.version = "1.0";
}

}  // namespace

GLbool8 MakeCurrent(GlContext *gc) {
  static const core::BindSteps kSteps = {InitBuffers, InitFnPtrs, RecordWords, SetStrings};
  return core::BindContext(gc, &kSteps);
}

GLbool8 LoseCurrent(GlContext *gc) { return core::LoseCurrent(gc); }

}  // namespace sis
