// Placeholder bodies until this file is written.
#include "wgl/wgl_attach.h"
#include "wgl/wgl_current.h"

namespace wgl {
BOOL attachThread(HINSTANCE) { return 0; }
BOOL detachThread(HINSTANCE) { return 0; }
BOOL detachThreadArea(WglThreadArea *) { return 0; }
HHOOK ThreadHook(void) { return nullptr; }
}  // namespace wgl
GlContext *__wglGetCurrentGC(void) { return __glGetTLSCXValue(); }
void __wglSetCurrentGC(GlContext *gc) { __glSetTLSCXValue(gc); }
