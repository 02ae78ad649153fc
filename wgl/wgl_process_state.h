// The driver's process-wide words in one record, so that a test can put
// the process back as it was when the library was loaded.
#pragma once

#include <stdint.h>

#include "platform/dd326.h"
#include "platform/gdi.h"

// A pixel-format list built from a table of raw rows at the first request
// after an invalidation, under the global lock; the rows are edited in place
// against the display at each build.
typedef struct WglPixelFormatList {
  PIXELFORMATDESCRIPTOR *rows;
  int32_t rowCount;
  PIXELFORMATDESCRIPTOR **formats;  // the rows the display supports, or none
  int32_t count;
  uint8_t dirty;
} WglPixelFormatList;

typedef struct WglProcessState {
  // The display-information block of the chip's display driver, from
  // process attachment to detachment.
  LPDD326DISPINFO lpDispData;
  // The transparency flag and colour of the last layer context created: no
  // pixel format has layer planes, so they stay 0.
  uint8_t isTransparency;
  COLORREF dwTransparent;
  // The SiS device's thread-local index (TLS_OUT_OF_INDEXES when none).
  DWORD sisTLSIndex;
  // The serial of the context whose whole register set the 3D engine holds
  // for this process (0: none).
  uint64_t sisLoadedSerial;
  WglPixelFormatList genericPixelFormats;
  WglPixelFormatList sisPixelFormats;
} WglProcessState;

extern WglProcessState __wglProcess;

// Frees the built lists, detaches the SiS device when it is attached, and
// puts every word back to its value at load.
void __wglResetProcessState(void);

// The list's count; copies row `index` to `descriptor` (while the lock is
// held) when both exist. 0 when the list cannot be built.
int __wglListGetPixelFormat(WglPixelFormatList *list, HDC hdc, PIXELFORMATDESCRIPTOR *descriptor,
                            int index);
void __wglListInvalidate(WglPixelFormatList *list);
