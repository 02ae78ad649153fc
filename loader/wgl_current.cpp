// Binding a context on the calling thread, and asking what is current. The
// thread's table is the one the driver's bind answers, replaced whenever the
// driver calls the table callback, and the loader's no-op table after a
// release.
#include "loader/context_table.h"
#include "loader/driver.h"
#include "loader/thread_state.h"
#include "loader/wgl_checks.h"
#include "platform/kernel.h"

PLATFORM_API BOOL WINAPI wglMakeCurrent(HDC hdc, HGLRC context) {
  LoaderThread &thread = LoaderThreadEnter();
  uint32_t handle = HandleNumber(context);
  const DriverEntries *driver = handle ? DriverForHandles() : DriverIfLoaded();
  if (driver == nullptr) return handle ? FALSE : TRUE;  // nothing can be current
  // The same context on the same device context is bound again as it is;
  // anything else releases the current context first, also when the new
  // binding then fails, as on the platform.
  bool rebind = handle != 0 && thread.current == handle && thread.currentDC == hdc;
  if (!rebind && !ReleaseCurrentContext(thread, *driver)) return FALSE;
  if (handle == 0) return TRUE;
  LoaderContext record;
  if (DeviceContextType(hdc) == 0 || !TakeContext(handle, kContextBind, &record)) return FALSE;
  uint32_t entered = thread.generation;
  const GlDispatchState *table = driver->DrvSetContext(hdc, record.driverHandle, &LoaderSetProcTable);
  if (table == nullptr) {
    // Nothing is current then: not even a table the driver handed over
    // through the callback before it refused is used.
    if (!rebind) {
      ContextTableSetOwner(handle, 0);
      LoaderThreadReset(thread);
    }
    return FALSE;
  }
  // The driver went while it bound the context (unloaded, or the process
  // exiting): its table must not be called, and the handle is stale.
  if (DriverGeneration() != entered) return SetLastError(ERROR_INVALID_HANDLE), FALSE;
  thread.table = table;
  thread.current = handle;
  thread.currentDC = hdc;
  return TRUE;
}

PLATFORM_API HGLRC WINAPI wglGetCurrentContext(void) {
  return HandleOf(LoaderThreadEnter().current);
}

PLATFORM_API HDC WINAPI wglGetCurrentDC(void) { return LoaderThreadEnter().currentDC; }
