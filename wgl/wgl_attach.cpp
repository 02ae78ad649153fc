// Placeholder bodies until this file is written.
#include "wgl/wgl_attach.h"
#include "wgl/wgl_current.h"

HINSTANCE hInstanceOpenGL;
uint32_t __wglOSWin95;
DWORD __wglTLSIndex;
GlContext *const __wglInvalidGC = &__wglPlaceholderContext;
LPDD326DISPINFO lpDispData;
uint32_t processTerminated;
extern "C" BOOL GLENTRY DllMain(HINSTANCE, DWORD, LPVOID) { return 0; }
namespace wgl {
BOOL attachProcess(HINSTANCE) { return 0; }
BOOL detachProcess(HINSTANCE) { return 0; }
}  // namespace wgl
