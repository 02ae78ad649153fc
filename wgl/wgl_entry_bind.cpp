// Placeholder bodies until this file is written.
#include "wgl/wgl_entries.h"

extern "C" const GlDispatchState *GLENTRY DrvSetContext(HDC, DHGLRC, VlxSetProcTableProc) { return nullptr; }
extern "C" BOOL GLENTRY DrvReleaseContext(DHGLRC) { return 0; }
