// The checks the wgl and pixel-format calls share: device contexts, the
// driver, context handles. A check that fails sets the loader's own
// last-error value.
#pragma once

#include <stdint.h>

#include "loader/context_table.h"
#include "loader/driver.h"
#include "platform/vlxdesktop.h"

// The handle number behind an HGLRC, and back.
inline uint32_t HandleNumber(HGLRC context) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(context));
}
inline HGLRC HandleOf(uint32_t number) {
  return reinterpret_cast<HGLRC>(static_cast<uintptr_t>(number));
}

// The device context's object type when it is a window, screen or memory
// device context; otherwise 0 with ERROR_INVALID_HANDLE.
DWORD DeviceContextType(HDC hdc);

// The driver, for a call about a device context: loaded, the thread
// entered, the device context checked. Null with the last error set.
const DriverEntries *DriverForDC(HDC hdc);
// The driver, for a call about context handles, which cannot be valid
// without one; null with ERROR_INVALID_HANDLE.
const DriverEntries *DriverForHandles(void);

// The context's record; false with ERROR_INVALID_HANDLE.
bool FindContext(HGLRC context, LoaderContext *record);
// Takes the context for binding or deleting on the calling thread; false
// with ERROR_INVALID_HANDLE, or ERROR_BUSY while another thread has it.
bool TakeContext(uint32_t handle, ContextUse use, LoaderContext *record);
