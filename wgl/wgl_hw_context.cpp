// Placeholder bodies until this file is written.
#include "wgl/wgl_context_list.h"

bool __wglCreateHWContext(WglContext *) { return false; }
bool __wglDestroyHWContext(WglContext *) { return false; }
