// Process attachment and detachment, and DllMain. Attachment records each
// step it completed; detachment undoes exactly those, so a refused attach
// (which the loader follows with a detach), a detach twice and many
// attach-detach rounds in one process all leave nothing behind.
#include "codegen/og_fill.h"
#include "core/context.h"
#include "core/current.h"
#include "core/device.h"
#include "wgl/wgl_alloc.h"
#include "wgl/wgl_attach.h"
#include "wgl/wgl_context_list.h"
#include "wgl/wgl_drawable_list.h"
#include "wgl/wgl_global_lock.h"
#include "wgl/wgl_hook.h"
#include "wgl/wgl_message.h"
#include "wgl/wgl_process_state.h"
#include "wgl/wgl_scoped_lock.h"
#include "wgl/wgl_thread_list.h"

HINSTANCE hInstanceOpenGL;
uint32_t __wglOSWin95;
DWORD __wglTLSIndex = TLS_OUT_OF_INDEXES;
GlContext *const __wglInvalidGC = &__wglPlaceholderContext;
uint32_t processTerminated;

namespace {

// The steps of process attachment that need undoing.
enum AttachStep : uint32_t {
  kLockCreated = 1u << 0,
  kSlotAllocated = 1u << 1,
  kThreadListOpen = 1u << 2,
  kPlaceholderBound = 1u << 3,
  kDeviceAttached = 1u << 4,
};
uint32_t attachedSteps;
HMODULE displayLibrary;

typedef LPDD326DISPINFO(WINAPI *DispInfoProc)(void);

void FreeContextList() {
  WglGlobalHold hold;
  while (WglContext *record = glrcListEnd.next) {
    if (!__wglDestroyHWContext(record)) {
      __wglSetSystemError("wglDeleteContext", WGL_ERROR_DEVICE_REFUSED);
      // The rest is abandoned rather than kept listed: the next attach
      // starts with an empty list.
      glrcListEnd.next = nullptr;
      break;
    }
    __wglRemoveContext(record);
    __wglGiveBackContextDC(record->hdc);
    __wglFree(record);
  }
}

void BindPlaceholder(bool bind) {
  __wglPlaceholderContext.imports.other = bind ? &glrcListEnd : nullptr;
  glrcListEnd.gc = bind ? __wglInvalidGC : nullptr;
}

bool LoadDisplayInformation() {
  displayLibrary = LoadLibraryA("dd326_32.dll");
  if (displayLibrary == nullptr) return false;
  // Through void *: the export's real type is not FARPROC's.
  DispInfoProc getDispInfo = reinterpret_cast<DispInfoProc>(
      reinterpret_cast<void *>(GetProcAddress(displayLibrary, "ddGetDispInfo")));
  if (getDispInfo == nullptr) return false;
  // No block means no display driver to work with.
  __wglProcess.lpDispData = getDispInfo();
  return __wglProcess.lpDispData != nullptr;
}

}  // namespace

namespace wgl {

BOOL attachProcess(HINSTANCE module) {
  // Attached already: the loader attaches a process once.
  if (attachedSteps != 0) return TRUE;
  processTerminated = 0;
  hInstanceOpenGL = module;

  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  if (!GetVersionExA(&version)) goto refuse;
  __wglOSWin95 = version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ? 1 : 0;

  __wglCreateMutex();
  attachedSteps |= kLockCreated;
  __wglInitErrorLog();

  // The current context lives in a thread_local of its own; only the thread
  // area takes a slot.
  __wglTLSIndex = TlsAlloc();
  if (__wglTLSIndex == TLS_OUT_OF_INDEXES) goto refuse;
  attachedSteps |= kSlotAllocated;

  openThreadList();
  attachedSteps |= kThreadListOpen;

  {
    WglGlobalHold hold;
    BindPlaceholder(true);
  }
  attachedSteps |= kPlaceholderBound;

  if (!attachThread(module)) goto refuse;

  if (__glDevice && __glDevice->processAttach) {
    if (!__glDevice->processAttach(GetCurrentThreadId(), __glDevice)) goto refuse;
    attachedSteps |= kDeviceAttached;
  }

  if (!LoadDisplayInformation()) goto refuse;
  return TRUE;

refuse:
  detachProcess(module);
  return FALSE;
}

BOOL detachProcess(HINSTANCE) {
  BOOL result = TRUE;
  if (attachedSteps & kPlaceholderBound) {
    // A context current on this thread is let go before it is destroyed.
    releaseCurrentContext();
    FreeContextList();
    __wglFreeDrawableList();
  }
  // A device that refuses still sees the layer go: the library is leaving.
  if ((attachedSteps & kDeviceAttached) && __glDevice && __glDevice->processDetach &&
      !__glDevice->processDetach(GetCurrentThreadId(), __glDevice))
    result = FALSE;
  attachedSteps &= ~kDeviceAttached;

  if (attachedSteps & kThreadListOpen) {
    // Every area's hook goes, whichever thread installed it; the slots
    // emptied are this thread's.
    while (WglThreadArea *area = takeFirstThreadArea())
      if (!detachThreadArea(area)) result = FALSE;
    threadList.next = nullptr;
  }

  if (displayLibrary) FreeLibrary(displayLibrary);
  displayLibrary = nullptr;
  __wglProcess.lpDispData = nullptr;

  if (attachedSteps & kSlotAllocated) TlsFree(__wglTLSIndex);
  __wglTLSIndex = TLS_OUT_OF_INDEXES;

  if (attachedSteps & kPlaceholderBound) {
    WglGlobalHold hold;
    BindPlaceholder(false);
  }
  __glSetTLSCXValue(__wglInvalidGC);
  if (attachedSteps & kLockCreated) __wglDestroyMutex();

  __wglCloseErrorFile();
  __wglResetDisplayMode();
  attachedSteps = 0;
  processTerminated = 1;
  return result;
}

}  // namespace wgl

extern "C" BOOL GLENTRY DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
  switch (reason) {
    case 0: {
      const BOOL detached = wgl::detachProcess(module);
      // Unloaded (not ending): the process-wide generated code goes too. At
      // process exit other threads may still be running in it.
      if (reserved == nullptr) __glFreeMMXFill();
      return detached;
    }
    case 1: return wgl::attachProcess(module);
    case 2: return wgl::attachThread(module);
    case 3: return wgl::detachThread(module);
    default: return TRUE;
  }
}
