// Placeholder bodies until this file is written.
#include "wgl/wgl_entries.h"

extern "C" BOOL GLENTRY DrvSwapBuffers(HDC) { return 0; }
extern "C" BOOL GLENTRY DrvSwapLayerBuffers(HDC, UINT) { return 0; }
BOOL GdiSwapBuffers(HDC) { return 0; }
