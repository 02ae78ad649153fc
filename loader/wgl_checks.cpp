// The checks the wgl and pixel-format calls share.
#include "loader/wgl_checks.h"

#include "loader/driver.h"
#include "platform/kernel.h"

DWORD DeviceContextType(HDC hdc) {
  DWORD type = hdc ? GetObjectType(hdc) : 0;
  if (type == OBJ_DC || type == OBJ_MEMDC) return type;
  SetLastError(ERROR_INVALID_HANDLE);
  return 0;
}

const DriverEntries *DriverForDC(HDC hdc) {
  const DriverEntries *driver = DriverEnsureLoaded();
  if (driver == nullptr) return nullptr;
  LoaderThreadEnter();
  return DeviceContextType(hdc) ? driver : nullptr;
}

const DriverEntries *DriverForHandles(void) {
  const DriverEntries *driver = DriverIfLoaded();
  if (driver == nullptr) SetLastError(ERROR_INVALID_HANDLE);
  return driver;
}

bool FindContext(HGLRC context, LoaderContext *record) {
  if (ContextTableFind(HandleNumber(context), record)) return true;
  SetLastError(ERROR_INVALID_HANDLE);
  return false;
}

bool TakeContext(uint32_t handle, ContextUse use, LoaderContext *record) {
  switch (ContextTableTake(handle, GetCurrentThreadId(), use, record)) {
    case kContextClaimed:
      return true;
    case kContextUnknown:
      SetLastError(ERROR_INVALID_HANDLE);
      return false;
    case kContextBusy:
      SetLastError(ERROR_BUSY);
      return false;
  }
  return false;
}
