// Placeholder bodies until this file is written.
#include "wgl/wgl_entries.h"

extern "C" BOOL GLENTRY DrvShareLists(DHGLRC, DHGLRC) { return 0; }
extern "C" BOOL GLENTRY DrvCopyContext(DHGLRC, DHGLRC, UINT) { return 0; }
