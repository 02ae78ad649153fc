// Placeholder bodies until this file is written.
#include "wgl/wgl_entries.h"

uint32_t freeHandle;
uint8_t isTransparency;
COLORREF dwTransparent;
extern "C" DHGLRC GLENTRY DrvCreateContext(HDC) { return 0; }
extern "C" DHGLRC GLENTRY DrvCreateLayerContext(HDC, int) { return 0; }
extern "C" BOOL GLENTRY DrvDeleteContext(DHGLRC) { return 0; }
