// Placeholder bodies until this file is written.
#include "wgl/wgl_entries.h"

extern "C" LONG GLENTRY DrvDescribePixelFormat(HDC, LONG, ULONG, PIXELFORMATDESCRIPTOR *) { return 0; }
extern "C" BOOL GLENTRY DrvSetPixelFormat(HDC, LONG) { return 0; }
extern "C" BOOL GLENTRY DrvValidateVersion(ULONG) { return 0; }
