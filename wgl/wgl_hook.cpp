// Placeholder bodies until this file is written.
#include "wgl/wgl_hook.h"

LRESULT WINAPI __wglMonitorWindowChanges(int, WPARAM, LPARAM) { return 0; }
void __wglResetDisplayMode(void) {}
