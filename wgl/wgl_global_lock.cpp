// The layer's global lock: a re-entrant critical section with a creation
// count, so that creating it twice and destroying it twice is harmless, and
// the owner and nesting depth for diagnosis.
#include "wgl/wgl_global_lock.h"

WglLock __wglLock;

void __wglCreateMutex(void) {
  if (__wglLock.count++ == 0) {
    InitializeCriticalSection(&__wglLock.section);
    __wglLock.depth = 0;
    __wglLock.owner = 0;
  }
}

void __wglDestroyMutex(void) {
  // A destruction without a creation (a detach after a refused attach) does
  // nothing.
  if (__wglLock.count <= 0) return;
  if (--__wglLock.count == 0) DeleteCriticalSection(&__wglLock.section);
}

DWORD __wglLockMutex(void) {
  EnterCriticalSection(&__wglLock.section);
  DWORD self = GetCurrentThreadId();
  __wglLock.depth++;
  __wglLock.owner = self;
  return self;
}

void __wglUnlockMutex(void) {
  // Written before leaving: only the holder touches these words.
  if (--__wglLock.depth == 0) __wglLock.owner = 0;
  LeaveCriticalSection(&__wglLock.section);
}
