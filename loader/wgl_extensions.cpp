// wglGetProcAddress: the driver says whether the name is available to the
// calling thread; the application gets the loader's C-convention thunk for
// it, since the driver's entries are callee-pops. A name outside the
// driver's extension list cannot be called safely with the C convention, so
// it is refused even when the driver knows it.
#include "loader/driver.h"
#include "loader/extension_entries.h"
#include "loader/wgl_checks.h"
#include "platform/kernel.h"

PLATFORM_API PROC WINAPI wglGetProcAddress(LPCSTR name) {
  const DriverEntries *driver = DriverEnsureLoaded();
  if (driver == nullptr) return nullptr;
  LoaderThreadEnter();
  if (name == nullptr) return SetLastError(ERROR_INVALID_PARAMETER), nullptr;
  VlxDriverProc entry = driver->DrvGetProcAddress(name);
  if (entry == nullptr) return nullptr;
  int slot = ExtensionSlot(name);
  if (slot < 0) return SetLastError(ERROR_PROC_NOT_FOUND), nullptr;
  return ExtensionBind(slot, entry);
}
