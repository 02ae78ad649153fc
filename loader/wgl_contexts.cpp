// Rendering contexts: creating, deleting, sharing and copying them. The
// loader checks its own records first and fails with its own last-error value
// before reaching the driver; once the driver has answered, its last-error
// value is left as the driver set it.
#include "loader/context_table.h"
#include "loader/driver.h"
#include "loader/thread_state.h"
#include "loader/wgl_checks.h"
#include "platform/kernel.h"

namespace {

HGLRC CreateContext(HDC hdc, int layerPlane, bool layered) {
  const DriverEntries *driver = DriverForDC(hdc);
  if (driver == nullptr) return nullptr;
  DHGLRC created =
      layered ? driver->DrvCreateLayerContext(hdc, layerPlane) : driver->DrvCreateContext(hdc);
  if (created == 0) return nullptr;
  uint32_t handle = ContextTableAdd(created);
  if (handle == 0) {
    driver->DrvDeleteContext(created);
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  return HandleOf(handle);
}

}  // namespace

PLATFORM_API HGLRC WINAPI wglCreateContext(HDC hdc) { return CreateContext(hdc, 0, false); }

PLATFORM_API HGLRC WINAPI wglCreateLayerContext(HDC hdc, int layerPlane) {
  return CreateContext(hdc, layerPlane, true);
}

PLATFORM_API BOOL WINAPI wglDeleteContext(HGLRC context) {
  LoaderThread &thread = LoaderThreadEnter();
  const DriverEntries *driver = DriverForHandles();
  uint32_t handle = HandleNumber(context);
  LoaderContext record;
  if (driver == nullptr || !TakeContext(handle, kContextDelete, &record)) return FALSE;
  // Deleting the caller's own current context releases it first.
  if (thread.current == handle && !ReleaseCurrentContext(thread, *driver)) {
    ContextTableEndDelete(handle, false);
    return FALSE;
  }
  bool deleted = driver->DrvDeleteContext(record.driverHandle);
  ContextTableEndDelete(handle, deleted);
  return deleted ? TRUE : FALSE;
}

PLATFORM_API BOOL WINAPI wglShareLists(HGLRC first, HGLRC second) {
  LoaderThreadEnter();
  const DriverEntries *driver = DriverForHandles();
  LoaderContext a, b;
  if (driver == nullptr || !FindContext(first, &a) || !FindContext(second, &b)) return FALSE;
  return driver->DrvShareLists(a.driverHandle, b.driverHandle);
}

PLATFORM_API BOOL WINAPI wglCopyContext(HGLRC source, HGLRC destination, UINT mask) {
  LoaderThreadEnter();
  const DriverEntries *driver = DriverForHandles();
  LoaderContext from, to;
  if (driver == nullptr || !FindContext(source, &from) || !FindContext(destination, &to))
    return FALSE;
  return driver->DrvCopyContext(from.driverHandle, to.driverHandle, mask);
}
