// The fake driver's entries and controls: it records every entry call and
// behaves as a small driver would, unless a test overrides an entry's
// answer. The tables it hands out are in fake_driver_tables.cpp.
#include "tests/loader/fake_driver/fake_driver.h"

#include <dlfcn.h>
#include <string.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "wgl/driver_interface.h"
#include "platform/kernel.h"
#include "tests/loader/fake_driver/fake_driver_tables.h"
#include "tests/loader/fake_driver/pixel_format_descriptor.h"
#include "tests/support/slot_shapes.h"

namespace {

// ---- The call log ------------------------------------------------------------------------

struct Override {
  bool set;
  unsigned skip;  // calls that still behave as a driver
  uintptr_t result;
  DWORD error;
};

struct Log {
  std::mutex lock;
  std::vector<FakeCall> calls;
  Override overrides[FAKE_ENTRY_COUNT] = {};
  unsigned contexts = 0;
};
Log &TheLog() {
  static Log *log = new Log;  // calls may come while the process exits
  return *log;
}

std::atomic<VlxSetProcTableProc> callback{nullptr};
std::atomic<unsigned> switchInside{0};
std::atomic<unsigned> markerSeenInside{0};
std::atomic<bool> holdSetContext{false};
std::atomic<bool> detachBegun{false};  // DllMain has been called with the process detach
// Held by DllMain and DrvSetContext throughout, as a driver's global lock.
std::mutex driverLock;
thread_local unsigned threadTable = 0;  // 0 with threadBound false: none
thread_local bool threadBound = false;

// Records the call. An overridden entry gives its answer at once (true);
// otherwise the entry behaves as a driver and notes its answer with Answer.
struct Pending {
  size_t index;
  uintptr_t answer;
};

bool Record(int entry, std::initializer_list<uintptr_t> args, Pending *pending,
            const char *name = nullptr) {
  Log &log = TheLog();
  std::lock_guard<std::mutex> hold(log.lock);
  FakeCall call = {};
  call.entry = entry;
  call.thread = GetCurrentThreadId();
  unsigned i = 0;
  for (uintptr_t a : args) call.args[i++] = a;
  if (name) strncpy(call.name, name, sizeof call.name - 1);
  Override &o = log.overrides[entry];
  call.result = o.result;
  pending->index = log.calls.size();
  pending->answer = o.result;
  log.calls.push_back(call);
  if (!o.set) return false;
  if (o.skip > 0) {
    o.skip--;
    return false;
  }
  if (o.error) SetLastError(o.error);
  return true;
}

uintptr_t Answer(const Pending &pending, uintptr_t result) {
  Log &log = TheLog();
  std::lock_guard<std::mutex> hold(log.lock);
  // A reset may have come in between from another thread.
  if (pending.index < log.calls.size()) log.calls[pending.index].result = result;
  return result;
}

uintptr_t W(const void *p) { return reinterpret_cast<uintptr_t>(p); }

constexpr DWORD kWindowGl = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
const PIXELFORMATDESCRIPTOR kFormats[FAKE_PIXEL_FORMATS] = {
    PixelFormatDescriptor(kWindowGl | PFD_DOUBLEBUFFER, PFD_TYPE_RGBA, 16, 0, 0, 16, 0),
    PixelFormatDescriptor(kWindowGl | PFD_DRAW_TO_BITMAP | PFD_SUPPORT_GDI, PFD_TYPE_RGBA, 16, 0, 0,
                          16, 0),
    PixelFormatDescriptor(kWindowGl | PFD_DOUBLEBUFFER, PFD_TYPE_RGBA, 32, 8, 64, 24, 8),
    PixelFormatDescriptor(kWindowGl, PFD_TYPE_COLORINDEX, 8, 0, 0, 16, 0),
};

// The extension names, by slot.
#define SLOT_NAME(s, Name, words, list, Ret, params) "gl" #Name,
const char *const kSlotNames[GL_SLOT_COUNT] = {GL_SLOTS(SLOT_NAME)};
#undef SLOT_NAME

}  // namespace

// Declared from the entry table, so that an entry defined with another type
// than the loader calls it by fails to compile.
extern "C" {
#pragma GCC visibility push(default)
DECLARE_DRIVER_ENTRIES()
#pragma GCC visibility pop
}

#define DRIVER_ENTRY extern "C" FAKE_API

// ---- Driver entries ------------------------------------------------------------------------

DRIVER_ENTRY BOOL GLENTRY DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH || reason == DLL_PROCESS_DETACH)
    detachBegun.store(reason == DLL_PROCESS_DETACH);
  std::lock_guard<std::mutex> hold(driverLock);
  Pending p;
  if (Record(FAKE_DllMain, {W(module), reason, W(reserved)}, &p)) return BOOL(p.answer);
  return BOOL(Answer(p, TRUE));
}

DRIVER_ENTRY BOOL GLENTRY DrvValidateVersion(ULONG version) {
  Pending p;
  if (Record(FAKE_DrvValidateVersion, {version}, &p)) return BOOL(p.answer);
  return BOOL(Answer(p, version < 2));
}

namespace {

DHGLRC NewContext(const Pending &p) {
  DHGLRC context;
  {
    Log &log = TheLog();
    std::lock_guard<std::mutex> hold(log.lock);
    context = FAKE_FIRST_CONTEXT + ++log.contexts;
  }
  return Answer(p, context);
}

// What FakeDriverSwitchInsideSetContext asked for, if anything.
void HandOverInsideSetContext(VlxSetProcTableProc setProcTable) {
  unsigned inside = switchInside.load();
  if (inside == 0) return;
  setProcTable(FakeTable(inside));
  typedef GLenum (*GetError)(void);
  GetError getError = reinterpret_cast<GetError>(dlsym(RTLD_DEFAULT, "glGetError"));
  markerSeenInside.store(getError ? getError() : 0);
}

}  // namespace

DRIVER_ENTRY DHGLRC GLENTRY DrvCreateContext(HDC hdc) {
  Pending p;
  if (Record(FAKE_DrvCreateContext, {W(hdc)}, &p)) return p.answer;
  return NewContext(p);
}

DRIVER_ENTRY DHGLRC GLENTRY DrvCreateLayerContext(HDC hdc, int layerPlane) {
  Pending p;
  if (Record(FAKE_DrvCreateLayerContext, {W(hdc), uintptr_t(layerPlane)}, &p)) return p.answer;
  return NewContext(p);
}

DRIVER_ENTRY BOOL GLENTRY DrvDeleteContext(DHGLRC context) {
  Pending p;
  if (Record(FAKE_DrvDeleteContext, {context}, &p)) return BOOL(p.answer);
  return BOOL(Answer(p, TRUE));
}

DRIVER_ENTRY const GlDispatchState *GLENTRY DrvSetContext(HDC hdc, DHGLRC context,
                                                          VlxSetProcTableProc setProcTable) {
  std::lock_guard<std::mutex> hold(driverLock);
  Pending p;
  if (Record(FAKE_DrvSetContext, {W(hdc), context, W(reinterpret_cast<void *>(setProcTable))},
             &p)) {
    HandOverInsideSetContext(setProcTable);  // a bind may fail after handing a table over
    return reinterpret_cast<const GlDispatchState *>(p.answer);
  }
  while (holdSetContext.load() && !detachBegun.load()) std::this_thread::yield();
  callback.store(setProcTable);
  unsigned table = context > FAKE_FIRST_CONTEXT ? FAKE_TABLE_OF(context) : FAKE_TABLE_RECORDING;
  HandOverInsideSetContext(setProcTable);
  threadTable = table;
  threadBound = true;
  return reinterpret_cast<const GlDispatchState *>(Answer(p, W(FakeTable(table))));
}

DRIVER_ENTRY BOOL GLENTRY DrvReleaseContext(DHGLRC context) {
  Pending p;
  if (Record(FAKE_DrvReleaseContext, {context}, &p)) return BOOL(p.answer);
  threadBound = false;
  return BOOL(Answer(p, TRUE));
}

DRIVER_ENTRY BOOL GLENTRY DrvShareLists(DHGLRC first, DHGLRC second) {
  Pending p;
  if (Record(FAKE_DrvShareLists, {first, second}, &p)) return BOOL(p.answer);
  return BOOL(Answer(p, TRUE));
}

DRIVER_ENTRY BOOL GLENTRY DrvCopyContext(DHGLRC source, DHGLRC destination, UINT mask) {
  Pending p;
  if (Record(FAKE_DrvCopyContext, {source, destination, mask}, &p)) return BOOL(p.answer);
  return BOOL(Answer(p, TRUE));
}

DRIVER_ENTRY LONG GLENTRY DrvDescribePixelFormat(HDC hdc, LONG pixelFormat, ULONG bytes,
                                                 PIXELFORMATDESCRIPTOR *descriptor) {
  Pending p;
  if (Record(FAKE_DrvDescribePixelFormat, {W(hdc), uintptr_t(pixelFormat), bytes, W(descriptor)},
             &p))
    return LONG(p.answer);
  if (descriptor == nullptr) return LONG(Answer(p, FAKE_PIXEL_FORMATS));
  if (pixelFormat < 1 || pixelFormat > FAKE_PIXEL_FORMATS) return LONG(Answer(p, 0));
  memcpy(descriptor, &kFormats[pixelFormat - 1], bytes < 40 ? bytes : 40);
  return LONG(Answer(p, FAKE_PIXEL_FORMATS));
}

DRIVER_ENTRY BOOL GLENTRY DrvSetPixelFormat(HDC hdc, LONG pixelFormat) {
  Pending p;
  if (Record(FAKE_DrvSetPixelFormat, {W(hdc), uintptr_t(pixelFormat)}, &p)) return BOOL(p.answer);
  return BOOL(Answer(p, pixelFormat >= 1 && pixelFormat <= FAKE_PIXEL_FORMATS));
}

DRIVER_ENTRY BOOL GLENTRY DrvSwapBuffers(HDC hdc) {
  Pending p;
  if (Record(FAKE_DrvSwapBuffers, {W(hdc)}, &p)) return BOOL(p.answer);
  return BOOL(Answer(p, TRUE));
}

DRIVER_ENTRY BOOL GLENTRY DrvSwapLayerBuffers(HDC hdc, UINT planes) {
  Pending p;
  if (Record(FAKE_DrvSwapLayerBuffers, {W(hdc), planes}, &p)) return BOOL(p.answer);
  return BOOL(Answer(p, TRUE));
}

DRIVER_ENTRY BOOL GLENTRY DrvDescribeLayerPlane(HDC hdc, int pixelFormat, int layerPlane,
                                                UINT bytes, LAYERPLANEDESCRIPTOR *descriptor) {
  Pending p;
  if (Record(FAKE_DrvDescribeLayerPlane,
             {W(hdc), uintptr_t(pixelFormat), uintptr_t(layerPlane), bytes, W(descriptor)}, &p))
    return BOOL(p.answer);
  return BOOL(Answer(p, TRUE));
}

DRIVER_ENTRY int GLENTRY DrvGetLayerPaletteEntries(HDC hdc, int layerPlane, int first, int count,
                                                   COLORREF *colors) {
  Pending p;
  if (Record(FAKE_DrvGetLayerPaletteEntries,
             {W(hdc), uintptr_t(layerPlane), uintptr_t(first), uintptr_t(count), W(colors)}, &p))
    return int(p.answer);
  return int(Answer(p, uintptr_t(count)));
}

DRIVER_ENTRY int GLENTRY DrvSetLayerPaletteEntries(HDC hdc, int layerPlane, int first, int count,
                                                   const COLORREF *colors) {
  Pending p;
  if (Record(FAKE_DrvSetLayerPaletteEntries,
             {W(hdc), uintptr_t(layerPlane), uintptr_t(first), uintptr_t(count), W(colors)}, &p))
    return int(p.answer);
  return int(Answer(p, uintptr_t(count)));
}

DRIVER_ENTRY BOOL GLENTRY DrvRealizeLayerPalette(HDC hdc, int layerPlane, BOOL realize) {
  Pending p;
  if (Record(FAKE_DrvRealizeLayerPalette, {W(hdc), uintptr_t(layerPlane), uintptr_t(realize)}, &p))
    return BOOL(p.answer);
  return BOOL(Answer(p, TRUE));
}

DRIVER_ENTRY VlxDriverProc GLENTRY DrvGetProcAddress(LPCSTR name) {
  Pending p;
  if (Record(FAKE_DrvGetProcAddress, {W(name)}, &p, name))
    return reinterpret_cast<VlxDriverProc>(p.answer);
  const GlDispatchState *recording = FakeTable(FAKE_TABLE_RECORDING);
  int slot = -1;
  if (strcmp(name, "glBogusVLX") == 0) slot = 2;
  for (int s = GL_SLOT_CORE_COUNT; s < GL_SLOT_COUNT && slot < 0; ++s)
    if (strcmp(name, kSlotNames[s]) == 0) slot = s;
  VlxDriverProc entry = slot < 0 ? nullptr : __glDispatchSlot(recording, slot);
  return reinterpret_cast<VlxDriverProc>(Answer(p, W(reinterpret_cast<void *>(entry))));
}

// ---- Controls --------------------------------------------------------------------------------

extern "C" {

FAKE_API void FakeDriverReset(void) {
  Log &log = TheLog();
  std::lock_guard<std::mutex> hold(log.lock);
  log.calls.clear();
  for (Override &o : log.overrides) o = {};
  log.contexts = 0;
  switchInside.store(0);
  markerSeenInside.store(0);
  holdSetContext.store(false);
}

FAKE_API unsigned FakeDriverCalls(FakeCall *out, unsigned max) {
  Log &log = TheLog();
  std::lock_guard<std::mutex> hold(log.lock);
  for (unsigned i = 0; i < max && i < log.calls.size(); ++i) out[i] = log.calls[i];
  return unsigned(log.calls.size());
}

FAKE_API void FakeDriverOverrideAfter(int entry, unsigned skip, uintptr_t result, DWORD error) {
  if (entry < 0 || entry >= FAKE_ENTRY_COUNT) return;
  Log &log = TheLog();
  std::lock_guard<std::mutex> hold(log.lock);
  log.overrides[entry] = {true, skip, result, error};
}

FAKE_API void FakeDriverOverride(int entry, uintptr_t result, DWORD error) {
  FakeDriverOverrideAfter(entry, 0, result, error);
}

FAKE_API PIXELFORMATDESCRIPTOR FakeDriverPixelFormat(int number) {
  PIXELFORMATDESCRIPTOR none = {};
  return number >= 1 && number <= FAKE_PIXEL_FORMATS ? kFormats[number - 1] : none;
}

FAKE_API unsigned FakeDriverExpectedMarker(void) {
  if (!threadBound) return 0;
  if (threadTable == FAKE_TABLE_RECORDING) return SlotResult<GLenum>(GL_SLOT_GetError);
  if (threadTable == FAKE_TABLE_UNBALANCED) return FAKE_UNBALANCED_RESULT;
  return FAKE_MARKER(threadTable);
}

FAKE_API void FakeDriverSwitchTable(unsigned table) {
  if (table >= FAKE_TABLES) return;
  threadTable = table;
  threadBound = true;
  if (VlxSetProcTableProc proc = callback.load()) proc(FakeTable(table));
}

FAKE_API void FakeDriverSwitchInsideSetContext(unsigned table) {
  switchInside.store(table < FAKE_TABLES ? table : 0);
}

FAKE_API unsigned FakeDriverMarkerSeenInsideSetContext(void) { return markerSeenInside.load(); }

FAKE_API void FakeDriverHoldSetContextUntilDetach(int hold) { holdSetContext.store(hold != 0); }

}  // extern "C"
