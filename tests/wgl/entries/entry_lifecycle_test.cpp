// Creating, binding, releasing and deleting contexts: handles, what a
// failure leaves behind, and the records and drawable references each step
// changes.
#include <string.h>

#include <thread>

#include "core/context.h"
#include "core/current.h"
#include "core/dispatch.h"
#include "platform/control.h"
#include "platform/kernel.h"
#include "platform/vlxdesktop.h"
#include "tests/wgl/entries/entries_fixture.h"
#include "wgl/wgl_attach.h"
#include "wgl/wgl_context.h"
#include "wgl/wgl_context_list.h"
#include "wgl/wgl_drawable.h"
#include "wgl/wgl_entries.h"
#include "wgl/wgl_global_lock.h"
#include "wgl/wgl_modes.h"
#include "wgl/wgl_process_state.h"

namespace wgl_test {
namespace {

// Another thread can take the global lock: nobody returned holding it.
bool GlobalLockIsFree() {
  bool taken = false;
  std::thread([&] {
    taken = TryEnterCriticalSection(&__wglLock.section);
    if (taken) LeaveCriticalSection(&__wglLock.section);
  }).join();
  return taken && __wglLock.depth == 0;
}

void GLENTRY NoTable(const GlDispatchState *) {}

using Lifecycle = EntriesTest;

TEST_F(Lifecycle, HandlesCountEveryAttemptAndAreNeverReused) {
  DHGLRC first = Create(windowDC_);
  DHGLRC second = Create(memoryDC_);
  EXPECT_EQ(second, first + 1);
  gSwitches.refuseCreate = true;
  EXPECT_EQ(DrvCreateContext(windowDC_), 0u);
  gSwitches.refuseCreate = false;
  ASSERT_TRUE(DrvDeleteContext(first));
  // The refused attempt took a handle; the deleted one is not given again.
  EXPECT_EQ(Create(windowDC_), second + 2);
  // Failures before the device is asked take none.
  EXPECT_EQ(DrvCreateContext(bareDC_), 0u);
  EXPECT_EQ(DrvCreateLayerContext(windowDC_, 1), 0u);
  EXPECT_EQ(Create(windowDC_), second + 3);
}

TEST_F(Lifecycle, NewRecordDescribesItsFormatAndKeepsItsOwnDC) {
  const struct {
    HDC EntriesTest::*dc;
    int format;
    DWORD keptType;
  } cases[] = {
      {&EntriesTest::windowDC_, kWindowDouble, OBJ_DC},
      {&EntriesTest::memoryDC_, kBitmapSingle, OBJ_MEMDC},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.format);
    HDC hdc = this->*c.dc;
    DHGLRC handle = Create(hdc);
    WglContext *record = Record(handle);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->handle, handle);
    EXPECT_EQ(record->pixelFormat, c.format);
    EXPECT_EQ(memcmp(record->pixelFormatDescriptor, &TestDescriptor(c.format), 40), 0);
    EXPECT_EQ(record->current, 0);
    EXPECT_EQ(record->ownerThread, -1);
    EXPECT_EQ(record->created, 1);
    EXPECT_EQ(record->drawable, nullptr);
    ASSERT_NE(record->gc, nullptr);
    EXPECT_EQ(record->gc->imports.other, record);
    EXPECT_EQ(record->modes->doubleBufferMode, c.format == kWindowDouble);
    EXPECT_EQ(GetObjectType(record->hdc), c.keptType);
    EXPECT_NE(record->hdc, hdc);
    EXPECT_EQ(WindowFromDC(record->hdc), WindowFromDC(hdc));
    EXPECT_EQ(glrcListEnd.next, record);
  }
}

// A failure at any point of creation leaves no block, no lock and no list
// entry behind, and says why.
TEST_F(Lifecycle, FailedCreationLeavesNothing) {
  const struct {
    const char *label;
    HDC EntriesTest::*dc;
    PlatformFault fault;
    DWORD code;
    const char *name;
  } cases[] = {
      {"record", &EntriesTest::windowDC_, {"GlobalAlloc", nullptr, 0, 1, 0}, 8,
       "wglCreateLayerContext"},
      {"modes", &EntriesTest::windowDC_, {"GlobalAlloc", nullptr, 1, 1, 0}, 0xC0000000u,
       "wglCreateContext"},
      {"core context", &EntriesTest::windowDC_, {"GlobalAlloc", nullptr, 2, 1, 0}, 0xC0000000u,
       "wglCreateContext"},
      {"DC of unknown type", &EntriesTest::windowDC_, {"GetObjectType", nullptr, 0, 1, 0},
       0xC0000000u, "wglCreateContext"},
      {"window's own DC", &EntriesTest::windowDC_, {"GetDC", nullptr, 0, 1, 0}, 0xC0000000u,
       "wglCreateContext"},
      {"compatible DC", &EntriesTest::memoryDC_, {"CreateCompatibleDC", nullptr, 0, 1, 0},
       0xC0000000u, "wglCreateContext"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.label);
    PlatformHeapStats before = PlatformGetHeapStats();
    WglContext *head = glrcListEnd.next;
    ClearErrors();
    PlatformArmFault(c.fault);
    DHGLRC handle = DrvCreateContext(this->*c.dc);
    PlatformClearFaults();
    ErrorSeen seen = TakeErrors();
    EXPECT_EQ(handle, 0u);
    EXPECT_EQ(seen.lastError, c.code | 0xC0070000u);
    EXPECT_NE(seen.output.find(SystemErrorText(c.code, c.name)), std::string::npos) << seen.output;
    EXPECT_TRUE(GlobalLockIsFree());
    EXPECT_EQ(glrcListEnd.next, head);
    PlatformHeapStats after = PlatformGetHeapStats();
    EXPECT_EQ(after.liveBlocks, before.liveBlocks);
    EXPECT_EQ(after.liveBytes, before.liveBytes);
  }
}

// Every allocation of a creation failing in turn: each failure is clean,
// and the first succeeding run leaves exactly one context.
TEST_F(Lifecycle, EveryAllocationFailureOfCreationIsClean) {
  PlatformHeapStats before = PlatformGetHeapStats();
  DHGLRC handle = 0;
  unsigned skip = 0;
  for (; skip < 1000 && handle == 0; ++skip) {
    ClearErrors();
    PlatformArmFault({"GlobalAlloc", nullptr, skip, 1, 0});
    handle = DrvCreateContext(windowDC_);
    PlatformClearFaults();
    if (handle != 0) break;
    SCOPED_TRACE(skip);
    EXPECT_EQ(TakeErrors().lastError, (skip == 0 ? 8u : 0xC0000000u) | 0xC0070000u);
    EXPECT_TRUE(GlobalLockIsFree());
    EXPECT_EQ(PlatformGetHeapStats().liveBlocks, before.liveBlocks);
  }
  ASSERT_NE(handle, 0u);
  EXPECT_GT(skip, 2u);
  EXPECT_TRUE(DrvDeleteContext(handle));
  EXPECT_EQ(PlatformGetHeapStats().liveBlocks, before.liveBlocks);
}

TEST_F(Lifecycle, LayerRefusalLeavesTransparencyAlone) {
  __wglProcess.isTransparency = 0x5A;
  __wglProcess.dwTransparent = 0x123456;
  for (int plane : {1, -1, 15}) {
    EXPECT_EQ(DrvCreateLayerContext(windowDC_, plane), 0u);
    EXPECT_TRUE(GlobalLockIsFree());
  }
  EXPECT_EQ(__wglProcess.isTransparency, 0x5A);
  EXPECT_EQ(__wglProcess.dwTransparent, 0x123456u);
}

TEST_F(Lifecycle, BindAndReleaseMoveTheRecordAndTheDrawableReference) {
  const struct {
    HDC EntriesTest::*dc;
    bool window;
  } cases[] = {{&EntriesTest::windowDC_, true}, {&EntriesTest::memoryDC_, false}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.window);
    HDC hdc = this->*c.dc;
    DHGLRC handle = Create(hdc);
    WglContext *record = Record(handle);
    WglDrawablePrivate *drawable = Drawable(hdc);
    ASSERT_NE(drawable, nullptr);
    ASSERT_EQ(drawable->refcount, 1);

    const GlDispatchState *table = DrvSetContext(hdc, handle, NoTable);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table, &record->gc->dispatch);
    EXPECT_EQ(__glGetTLSCXValue(), record->gc);
    EXPECT_EQ(record->current, 1);
    EXPECT_EQ(record->ownerThread, int32_t(GetCurrentThreadId()));
    EXPECT_EQ(record->bound, 1);
    EXPECT_EQ(record->hwnd, c.window ? WindowFromDC(hdc) : nullptr);
    EXPECT_EQ(record->drawable, drawable);
    EXPECT_EQ(record->setProcTable, NoTable);
    EXPECT_TRUE(record->flags & WGL_PENDING_SIZE);
    EXPECT_EQ(drawable->refcount, 2);

    EXPECT_TRUE(DrvReleaseContext(handle));
    EXPECT_EQ(__glGetTLSCXValue(), __wglInvalidGC);
    EXPECT_EQ(record->current, 0);
    EXPECT_EQ(record->ownerThread, -1);
    EXPECT_EQ(record->hwnd, nullptr);
    EXPECT_EQ(record->drawable, nullptr);
    EXPECT_EQ(drawable->refcount, 1);
    EXPECT_TRUE(GlobalLockIsFree());
  }
}

TEST_F(Lifecycle, RebindingKeepsOneReference) {
  DHGLRC handle = Create(windowDC_);
  WglDrawablePrivate *drawable = Drawable(windowDC_);
  ASSERT_TRUE(Bind(windowDC_, handle));
  ASSERT_TRUE(Bind(windowDC_, handle));
  EXPECT_EQ(drawable->refcount, 2);
  EXPECT_TRUE(DrvReleaseContext(handle));
  EXPECT_EQ(drawable->refcount, 1);
}

// Binding a second context on a thread releases the first, which would
// otherwise stay marked current here, holding its drawable.
TEST_F(Lifecycle, BindingAnotherContextReleasesTheFirst) {
  DHGLRC first = Create(windowDC_);
  DHGLRC second = Create(memoryDC_);
  ASSERT_TRUE(Bind(windowDC_, first));
  ASSERT_TRUE(Bind(memoryDC_, second));
  EXPECT_EQ(Record(first)->current, 0);
  EXPECT_EQ(Record(first)->drawable, nullptr);
  EXPECT_EQ(Drawable(windowDC_)->refcount, 1);
  EXPECT_EQ(__glGetTLSCXValue(), Record(second)->gc);
  // The first is free to go to another thread now.
  OtherThreadBinding other(windowDC_, first);
  EXPECT_TRUE(other.bound());
}

TEST_F(Lifecycle, FailedBindUndoesItsDrawableReference) {
  gSwitches.refuseMakeCurrent = true;
  DHGLRC refused = Create(windowDC_);
  gSwitches.refuseMakeCurrent = false;
  WglDrawablePrivate *drawable = Drawable(windowDC_);
  EXPECT_EQ(DrvSetContext(windowDC_, refused, NoTable), nullptr);
  EXPECT_EQ(drawable->refcount, 1);
  EXPECT_EQ(Record(refused)->drawable, nullptr);
  EXPECT_EQ(Record(refused)->current, 0);
  EXPECT_EQ(__glGetTLSCXValue(), __wglInvalidGC);
  EXPECT_TRUE(GlobalLockIsFree());
  // The window's last reference still frees the record with the window.
  EXPECT_TRUE(DrvDeleteContext(refused));
}

// A bind to a window without a format fails; the drawable record it made
// for the window must not stay, or the format set later finds it still
// holding the failed context's modes and buffers.
TEST_F(Lifecycle, FailedBindToAWindowWithoutAFormatLeavesNoRecord) {
  const struct {
    HDC EntriesTest::*contextDC;
    int laterFormat;
  } cases[] = {
      {&EntriesTest::singleDC_, kWindowDouble},
      {&EntriesTest::windowDC_, kWindowSingle},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.laterFormat);
    HWND window = DesktopCreateWindow(300, 20, 16, 16);
    HDC hdc = GetDC(window);
    DHGLRC handle = Create(this->*c.contextDC);
    PlatformHeapStats before = PlatformGetHeapStats();
    EXPECT_EQ(DrvSetContext(hdc, handle, NoTable), nullptr);
    EXPECT_EQ(Drawable(hdc), nullptr);
    EXPECT_EQ(PlatformGetHeapStats().liveBlocks, before.liveBlocks);
    EXPECT_TRUE(GlobalLockIsFree());

    ASSERT_TRUE(DrvSetPixelFormat(hdc, c.laterFormat));
    GlModes want;
    __wglFormatGLModes(&want, &TestDescriptor(c.laterFormat));
    ASSERT_NE(Drawable(hdc), nullptr);
    EXPECT_EQ(memcmp(Drawable(hdc)->drawable.modes, &want, sizeof want), 0);
    EXPECT_TRUE(DrvDeleteContext(handle));
    DestroyWindow(window);
  }
}

TEST_F(Lifecycle, DeletingTheCurrentContextReleasesItFirst) {
  // A first binding gives the drawable its buffers, which stay with it.
  DHGLRC first = Create(windowDC_);
  ASSERT_TRUE(Bind(windowDC_, first));
  ASSERT_TRUE(DrvReleaseContext(first));
  ASSERT_TRUE(DrvDeleteContext(first));
  PlatformHeapStats before = PlatformGetHeapStats();
  DHGLRC handle = Create(windowDC_);
  ASSERT_TRUE(Bind(windowDC_, handle));
  ASSERT_EQ(Drawable(windowDC_)->refcount, 2);
  EXPECT_TRUE(DrvDeleteContext(handle));
  EXPECT_EQ(__glGetTLSCXValue(), __wglInvalidGC);
  EXPECT_EQ(Record(handle), nullptr);
  EXPECT_EQ(Drawable(windowDC_)->refcount, 1);
  EXPECT_EQ(PlatformGetHeapStats().liveBlocks, before.liveBlocks);
  EXPECT_TRUE(GlobalLockIsFree());
}

TEST_F(Lifecycle, DeleteAfterDetachDoesNothing) {
  DHGLRC handle = Create(windowDC_);
  DllMain(reinterpret_cast<HINSTANCE>(0x5000), DLL_PROCESS_DETACH, nullptr);
  ClearErrors();
  EXPECT_TRUE(DrvDeleteContext(handle));
  EXPECT_TRUE(DrvDeleteContext(0));
  EXPECT_EQ(TakeErrors().lastError, 0u);
  // The fixture detaches again; the second detach must find nothing to do.
  ASSERT_TRUE(DllMain(reinterpret_cast<HINSTANCE>(0x5000), DLL_PROCESS_ATTACH, nullptr));
}

// The handle 0 hands over the no-op table; a thread holding the shared
// placeholder never rewrites it.
TEST_F(Lifecycle, HandleZeroHandsOverTheNoOpTable) {
  const GlDispatchState *table = DrvSetContext(memoryDC_, 0, NoTable);
  EXPECT_EQ(table, &__wglPlaceholderContext.dispatch);
  EXPECT_EQ(glrcListEnd.setProcTable, NoTable);
  EXPECT_EQ(memcmp(&__wglPlaceholderContext.dispatch, &__glNopDispatchState,
                   sizeof __glNopDispatchState),
            0);
  std::thread threads[4];
  for (std::thread &t : threads) {
    t = std::thread([&] {
      PlatformAttachThread();
      for (int i = 0; i < 200; ++i) EXPECT_EQ(DrvSetContext(memoryDC_, 0, NoTable), table);
    });
  }
  for (std::thread &t : threads) t.join();
  EXPECT_EQ(memcmp(&__wglPlaceholderContext.dispatch, &__glNopDispatchState,
                   sizeof __glNopDispatchState),
            0);
}

TEST_F(Lifecycle, SameDCAndCurrentContextShortcut) {
  DHGLRC handle = Create(windowDC_);
  ASSERT_TRUE(Bind(windowDC_, handle));
  WglContext *record = Record(handle);
  WglDrawablePrivate *drawable = record->drawable;
  record->flags = 0;
  // Through the DC the context keeps, the binding is answered as it stands.
  EXPECT_EQ(DrvSetContext(record->hdc, handle, NoTable), &record->gc->dispatch);
  EXPECT_EQ(record->flags, 0u);
  EXPECT_EQ(drawable->refcount, 2);
  EXPECT_TRUE(DrvReleaseContext(handle));
}

}  // namespace
}  // namespace wgl_test
