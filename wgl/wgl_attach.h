// Process and thread attachment: what lives for the process (the global
// lock, the error-log switch, the thread-area slot, the thread, context and
// drawable lists, the placeholder context's binding to the list sentinel,
// the device and the display information) and for each thread (an area with
// its window-message hook).
#pragma once

#include <stdint.h>

#include "core/calling.h"
#include "platform/dd326.h"
#include "platform/gdi.h"

struct GlContext;

typedef struct WglThreadArea {
  HHOOK hook;
  WglThreadArea *next;
} WglThreadArea;

extern HINSTANCE hInstanceOpenGL;
extern uint32_t __wglOSWin95;  // 1 on the Windows 95 family
extern DWORD __wglTLSIndex;    // the thread's WglThreadArea
// The context of every thread without one: the constant placeholder of
// wgl/wgl_current.h, whose imports point at the context list's sentinel
// while the process is attached.
extern GlContext *const __wglInvalidGC;
extern uint32_t processTerminated;

// Exported: the loader calls it as the platform would.
extern "C" __attribute__((visibility("default"))) BOOL GLENTRY DllMain(HINSTANCE module,
                                                                       DWORD reason,
                                                                       LPVOID reserved);

namespace wgl {
BOOL attachProcess(HINSTANCE module);
BOOL detachProcess(HINSTANCE module);
BOOL attachThread(HINSTANCE module);
BOOL detachThread(HINSTANCE module);
BOOL detachThreadArea(WglThreadArea *area);
// The calling thread's hook handle (none when it has no area).
HHOOK ThreadHook(void);
}  // namespace wgl

// The current context, never none: a thread without a context holds the
// placeholder. The loader attaches every thread that calls into the driver,
// so nothing is attached here.
GlContext *__wglGetCurrentGC(void);
void __wglSetCurrentGC(GlContext *gc);
