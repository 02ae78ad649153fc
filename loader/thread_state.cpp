// Per-thread state, and noticing that an attached thread ends.
//
// A thread's end is seen through a thread-specific key, whose destructor
// runs when a thread returns or calls pthread_exit, but not on the thread
// that calls exit: that one gets only the process detach, as on the
// platform. The state is plain data with no destructor, so it is still there
// when the key's destructor runs.
#include "loader/thread_state.h"

#include <pthread.h>

#include "loader/driver.h"
#include "loader/gl_forwarders.h"
#include "platform/control.h"

namespace {

constinit thread_local LoaderThread thisThread = {0, &__vlxglNopTable, 0, nullptr};

pthread_key_t endKey;
bool watchingEnds = false;

void OnThreadEnd(void *thread) { DriverThreadEnding(static_cast<LoaderThread *>(thread)); }

__attribute__((constructor)) void WatchThreadEnds() {
  watchingEnds = pthread_key_create(&endKey, &OnThreadEnd) == 0;
}

__attribute__((destructor)) void StopWatchingThreadEnds() {
  if (watchingEnds) pthread_key_delete(endKey);
  watchingEnds = false;
}

}  // namespace

LoaderThread &LoaderThreadRaw(void) { return thisThread; }

LoaderThread &LoaderThreadEnter(void) {
  LoaderThread &thread = thisThread;
  if (thread.generation != DriverGeneration()) DriverSyncThread(&thread);
  return thread;
}

void LoaderThreadReset(LoaderThread &thread) {
  thread.table = &__vlxglNopTable;
  thread.current = 0;
  thread.currentDC = nullptr;
}

void LoaderThreadMarkAttached(LoaderThread &thread) {
  PlatformAttachThread();
  if (watchingEnds) pthread_setspecific(endKey, &thread);
}

// The driver calls this only inside an entry that the thread called through
// the loader, so the state is up to date; should the driver have gone in the
// meantime, the thread's next call starts afresh anyway. Bringing the state up
// to date here would wait for the loader lock inside the driver.
void GLENTRY LoaderSetProcTable(const GlDispatchState *table) {
  thisThread.table = table ? table : &__vlxglNopTable;
}
