// Loading the driver and calling its DllMain as the platform's loader does:
// process attach at load (a refused attach is followed by process detach),
// thread attach when another thread first calls in, thread detach when such
// a thread ends, process detach at unload and at process exit.
//
// The loader lock serialises these: the process attach and every thread
// attach and detach run under it, as on the platform; it is re-entrant so
// that the driver may call back into the loader from DllMain. The process
// detach is sent after the driver was taken out of use under the lock, but
// not under it: no attach or detach can start by then, and a thread inside
// the driver, holding the driver's own lock, may still call back into the
// loader, which must not wait for a lock whose holder waits for the driver's.
//
// A thread's end is seen through a thread-specific key, whose destructor
// runs when a thread returns or calls pthread_exit, but not on the thread
// that calls exit: that one gets only the process detach, as on the
// platform. The thread's state is plain data with no destructor, so it is
// still there when the key's destructor runs.
#include "loader/driver.h"

#include <pthread.h>
#include <stdlib.h>

#include <atomic>
#include <mutex>

#include "loader/context_table.h"
#include "loader/driver_library.h"
#include "loader/extension_entries.h"
#include "loader/thread_state.h"
#include "platform/control.h"
#include "platform/kernel.h"

namespace {

enum DriverState {
  kNotLoaded,
  kLoading,    // the process attach is under way
  kLoaded,
  kDetaching,  // the process detach is under way
  kFailed,     // not tried again until DriverUnload
  kExited,     // the process is ending: no driver is used or loaded again
};

std::recursive_mutex loaderLock;
using Hold = std::lock_guard<std::recursive_mutex>;

std::atomic<int> state{kNotLoaded};
std::atomic<uint32_t> generation{1};
DWORD failure = 0;  // the last error of the failed load
DriverLibrary driver;

// Every thread's state goes stale and starts afresh at the thread's next call.
uint32_t NewGeneration() { return generation.fetch_add(1, std::memory_order_acq_rel) + 1; }

void DetachAtExit();

pthread_key_t endKey;
bool watchingEnds = false;

void ThreadEnding(LoaderThread *thread);

void OnThreadEnd(void *thread) { ThreadEnding(static_cast<LoaderThread *>(thread)); }

__attribute__((constructor)) void WatchThreadEnds() {
  watchingEnds = pthread_key_create(&endKey, &OnThreadEnd) == 0;
}

__attribute__((destructor)) void StopWatchingThreadEnds() {
  if (watchingEnds) pthread_key_delete(endKey);
  watchingEnds = false;
}

// The calling thread is about to be attached to the driver: it gets the
// platform's thread set-up first, and ThreadEnding when it ends.
void MarkAttached(LoaderThread &thread) {
  PlatformAttachThread();
  if (watchingEnds) pthread_setspecific(endKey, &thread);
}

// Loads, attaches and checks the driver; 0 or the last-error value.
DWORD Load() {
  if (DWORD error = DriverLibraryOpen(&driver)) return error;
  state.store(kLoading, std::memory_order_release);
  // The loading thread runs the process attach and never gets a thread attach.
  LoaderThread &thread = LoaderThreadRaw();
  LoaderThreadReset(thread);
  thread.generation = NewGeneration();
  MarkAttached(thread);
  if (!driver.entries.DllMain(driver.module, DLL_PROCESS_ATTACH, nullptr) ||
      !driver.entries.DrvValidateVersion(VLX_DRIVER_VERSION)) {
    driver.entries.DllMain(driver.module, DLL_PROCESS_DETACH, nullptr);
    DriverLibraryClose(&driver);
    NewGeneration();
    return ERROR_DLL_INIT_FAILED;
  }
  // Registered after the driver's own exit work, so it runs first: the
  // driver gets its process detach before its statics go.
  atexit(&DetachAtExit);
  state.store(kLoaded, std::memory_order_release);
  return 0;
}

// Takes the loaded driver out of use and sends its process detach; false
// when no driver was loaded. Every thread's table points into the driver, so
// every thread goes stale first.
bool Detach(LPVOID reserved) {
  {
    Hold hold(loaderLock);
    int was = state.load(std::memory_order_relaxed);
    if (was == kFailed) state.store(kNotLoaded, std::memory_order_release);
    if (was != kLoaded) return false;
    state.store(kDetaching, std::memory_order_release);
    NewGeneration();
    ContextTableClear();
    ExtensionEntriesReset();
  }
  driver.entries.DllMain(driver.module, DLL_PROCESS_DETACH, reserved);
  return true;
}

// As on the platform, the thread that exits the process gets the process
// detach and no thread detach. The driver's code stays: other threads may
// still be running in it.
void DetachAtExit() {
  // As on the platform, a non-null reserved word tells the driver that the
  // process is ending rather than unloading it.
  Detach(reinterpret_cast<LPVOID>(1));
  Hold hold(loaderLock);
  state.store(kExited, std::memory_order_release);
}

// While a driver is loaded, a thread of the current generation is one the
// driver attached: the load starts a generation with the loading thread in
// it, and other threads join it here, under the lock, only once it is loaded.
void SyncThread(LoaderThread *thread) {
  Hold hold(loaderLock);
  uint32_t now = generation.load(std::memory_order_relaxed);
  if (thread->generation == now) return;
  LoaderThreadReset(*thread);
  thread->generation = now;
  if (state.load(std::memory_order_relaxed) != kLoaded) return;
  MarkAttached(*thread);
  driver.entries.DllMain(driver.module, DLL_THREAD_ATTACH, nullptr);
}

// A thread that the driver attached is ending (not by exiting the process):
// its current context is released and the driver gets the thread detach.
void ThreadEnding(LoaderThread *thread) {
  Hold hold(loaderLock);
  if (state.load(std::memory_order_relaxed) != kLoaded ||
      thread->generation != generation.load(std::memory_order_relaxed))
    return;
  // A context left current would stay bound to a thread that no longer
  // exists. The loader lets it go even when the driver refuses the release:
  // thread ids are reused, and no later thread may count as its owner.
  if (!ReleaseCurrentContext(*thread, driver.entries)) ContextTableSetOwner(thread->current, 0);
  driver.entries.DllMain(driver.module, DLL_THREAD_DETACH, nullptr);
  // A call after this (from a later destructor) attaches the thread again.
  LoaderThreadReset(*thread);
  thread->generation = 0;
}

}  // namespace

const DriverEntries *DriverIfLoaded(void) {
  return state.load(std::memory_order_acquire) == kLoaded ? &driver.entries : nullptr;
}

const DriverEntries *DriverEnsureLoaded(void) {
  if (state.load(std::memory_order_acquire) == kLoaded) return &driver.entries;
  Hold hold(loaderLock);
  DWORD error = ERROR_DLL_INIT_FAILED;  // asked while the driver attaches or detaches, or at exit
  switch (state.load(std::memory_order_relaxed)) {
    case kLoaded:
      return &driver.entries;
    case kFailed:
      error = failure;
      break;
    case kNotLoaded:
      error = Load();
      if (error == 0) return &driver.entries;
      failure = error;
      state.store(kFailed, std::memory_order_release);
      break;
  }
  SetLastError(error);
  return nullptr;
}

bool DriverUnload(void) {
  if (!Detach(nullptr)) return false;
  Hold hold(loaderLock);
  DriverLibraryClose(&driver);
  state.store(kNotLoaded, std::memory_order_release);
  return true;
}

uint32_t DriverGeneration(void) { return generation.load(std::memory_order_acquire); }

LoaderThread &LoaderThreadEnter(void) {
  LoaderThread &thread = LoaderThreadRaw();
  if (thread.generation != DriverGeneration()) SyncThread(&thread);
  return thread;
}

PLATFORM_API BOOL VlxGlUnloadDriver(void) { return DriverUnload() ? TRUE : FALSE; }
