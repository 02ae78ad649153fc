// Placeholder bodies until this file is written.
#include "wgl/wgl_global_lock.h"

WglLock __wglLock;
void __wglCreateMutex(void) {}
void __wglDestroyMutex(void) {}
DWORD __wglLockMutex(void) { return GetCurrentThreadId(); }
void __wglUnlockMutex(void) {}
