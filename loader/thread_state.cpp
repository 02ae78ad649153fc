// Per-thread state and releasing the thread's current context.
#include "loader/thread_state.h"

#include "loader/context_table.h"
#include "loader/gl_forwarders.h"

namespace {

constinit thread_local LoaderThread thisThread = {0, &__vlxglNopTable, 0, nullptr};

}  // namespace

LoaderThread &LoaderThreadRaw(void) { return thisThread; }

void LoaderThreadReset(LoaderThread &thread) {
  thread.table = &__vlxglNopTable;
  thread.current = 0;
  thread.currentDC = nullptr;
}

bool ReleaseCurrentContext(LoaderThread &thread, const DriverEntries &driver) {
  if (thread.current == 0) return true;
  LoaderContext record;
  if (ContextTableFind(thread.current, &record)) {
    if (!driver.DrvReleaseContext(record.driverHandle)) return false;
    ContextTableSetOwner(thread.current, 0);
  }
  LoaderThreadReset(thread);
  return true;
}

// The driver calls this only inside an entry that the thread called through
// the loader, so the state is up to date; should the driver have gone in the
// meantime, the thread's next call starts afresh anyway. Bringing the state up
// to date here would wait for the loader lock inside the driver.
void GLENTRY LoaderSetProcTable(const GlDispatchState *table) {
  thisThread.table = table ? table : &__vlxglNopTable;
}
