// Placeholder bodies until this file is written.
#include "wgl/wgl_ddraw.h"

void __wglDDrawError(const char *, HRESULT) {}
const char *__wglDDrawErrorName(HRESULT) { return "Unknown"; }
