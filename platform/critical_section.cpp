// Re-entrant critical sections over a recursive pthread mutex. The owner and
// recursion fields are written only while the mutex is held, so the owner can
// read them without a race.
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>

#include <new>

#include "platform/fault.h"
#include "platform/kernel.h"

namespace {

[[noreturn]] void Misuse(const char *what) {
  fprintf(stderr, "platform: %s\n", what);
  abort();
}

bool Init(LPCRITICAL_SECTION cs, DWORD spinCount) {
  pthread_mutex_t *lock = new (std::nothrow) pthread_mutex_t;
  if (lock == nullptr) return false;
  pthread_mutexattr_t attr;
  pthread_mutexattr_init(&attr);
  pthread_mutexattr_settype(&attr, PTHREAD_MUTEX_RECURSIVE);
  pthread_mutex_init(lock, &attr);
  pthread_mutexattr_destroy(&attr);
  cs->DebugInfo = lock;
  cs->LockCount = -1;
  cs->RecursionCount = 0;
  cs->OwningThread = nullptr;
  cs->LockSemaphore = nullptr;
  cs->SpinCount = spinCount;
  return true;
}

pthread_mutex_t *LockOf(LPCRITICAL_SECTION cs) {
  if (cs == nullptr || cs->DebugInfo == nullptr) Misuse("critical section used before initialisation");
  return static_cast<pthread_mutex_t *>(cs->DebugInfo);
}

// OwningThread holds the owner's thread id.
HANDLE Me() { return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(GetCurrentThreadId())); }

void Acquired(LPCRITICAL_SECTION cs) {
  if (cs->RecursionCount++ == 0) {
    cs->OwningThread = Me();
    cs->LockCount = 0;
  }
}

}  // namespace

// The platform raises an exception when this runs out of memory; there is no
// such thing here, so running out ends the process.
PLATFORM_API void WINAPI InitializeCriticalSection(LPCRITICAL_SECTION cs) {
  if (!Init(cs, 0)) Misuse("out of memory initialising a critical section");
}

PLATFORM_API BOOL WINAPI InitializeCriticalSectionAndSpinCount(LPCRITICAL_SECTION cs,
                                                               DWORD spinCount) {
  if (platform::FailWithLastError("InitializeCriticalSectionAndSpinCount", nullptr,
                                  ERROR_NOT_ENOUGH_MEMORY))
    return FALSE;
  if (!Init(cs, spinCount)) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  }
  return TRUE;
}

PLATFORM_API void WINAPI EnterCriticalSection(LPCRITICAL_SECTION cs) {
  pthread_mutex_lock(LockOf(cs));
  Acquired(cs);
}

PLATFORM_API BOOL WINAPI TryEnterCriticalSection(LPCRITICAL_SECTION cs) {
  if (pthread_mutex_trylock(LockOf(cs)) != 0) return FALSE;
  Acquired(cs);
  return TRUE;
}

PLATFORM_API void WINAPI LeaveCriticalSection(LPCRITICAL_SECTION cs) {
  pthread_mutex_t *lock = LockOf(cs);
  // Only the owner may leave; the owner reads its own earlier writes here.
  if (cs->RecursionCount <= 0 || cs->OwningThread != Me())
    Misuse("critical section left by a thread that does not own it");
  if (--cs->RecursionCount == 0) {
    cs->OwningThread = nullptr;
    cs->LockCount = -1;
  }
  pthread_mutex_unlock(lock);
}

PLATFORM_API void WINAPI DeleteCriticalSection(LPCRITICAL_SECTION cs) {
  pthread_mutex_t *lock = LockOf(cs);
  pthread_mutex_destroy(lock);
  delete lock;
  cs->DebugInfo = nullptr;
  cs->RecursionCount = 0;
  cs->OwningThread = nullptr;
  cs->LockCount = -1;
}
