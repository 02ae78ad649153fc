// Placeholder bodies until this file is written.
#include "wgl/wgl_dci.h"

bool __wglDCIOpen(void) { return false; }
bool __wglDCIClose(void) { return true; }
