// Placeholder bodies until this file is written.
#include "wgl/wgl_entries.h"

const WglExtProc __wglExtProcs[WGL_EXT_PROC_COUNT] = {};
extern "C" VlxDriverProc GLENTRY DrvGetProcAddress(LPCSTR) { return nullptr; }
