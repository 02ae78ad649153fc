// Drawable records: what creation sets up, the list and its searches,
// reference counting, and creation that runs out of memory.
#include <string.h>

#include "tests/wgl/drawable/drawable_fixture.h"
#include "wgl/wgl_alloc.h"
#include "wgl/wgl_drawable_update.h"

namespace drawable_test {
namespace {

std::vector<WglDrawablePrivate *> ListOrder() {
  std::vector<WglDrawablePrivate *> order;
  const WglDrawablePrivate *prev = &wglPrivListEnd;
  for (WglDrawablePrivate *p = wglPrivListEnd.next; p; p = p->next) {
    EXPECT_EQ(p->prev, prev) << "back link broken";
    prev = p;
    order.push_back(p);
  }
  return order;
}

TEST_F(DrawableTest, CreationSetsUpTheRecordForWindowsAndBitmaps) {
  struct Case {
    const char *name;
    bool window;
  };
  const Case cases[] = {{"window", true}, {"memory DC", false}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    gChooserCalls.clear();
    HWND hwnd = c.window ? Window(10, 20, 64, 48) : nullptr;
    HDC hdc = c.window ? GetDC(hwnd) : BitmapDC(8, 8, 32);
    GlModes modes = Modes(true, true, true, true, 24);
    WglDrawablePrivate *d = Create(hdc, hwnd, modes);
    ASSERT_NE(d, nullptr);
    GlDrawable *view = &d->drawable;

    EXPECT_EQ(d->hdc, hdc);
    EXPECT_EQ(d->hwnd, hwnd);
    EXPECT_EQ(d->refcount, 1);
    ASSERT_NE(view->modes, nullptr);
    EXPECT_NE(view->modes, &modes) << "the drawable keeps its own copy";
    GlModes expected = modes;
    expected.isBitmap = c.window ? 0 : 1;
    EXPECT_EQ(memcmp(view->modes, &expected, sizeof expected), 0);
    EXPECT_EQ(modes.isBitmap, 0u) << "the caller's modes are not touched";

    ASSERT_NE(view->mutex, nullptr);
    EXPECT_EQ(view->mutex->created, 1u);
    EXPECT_EQ(view->malloc, __wglMalloc);
    EXPECT_EQ(view->calloc, __wglCalloc);
    EXPECT_EQ(view->realloc, __wglRealloc);
    EXPECT_EQ(view->free, __wglFree);
    EXPECT_EQ(view->addSwapHintRect, __wglAddSwapHintRect);
    EXPECT_EQ(view->setCoreClipRect, __wglSetCoreClipRect);
    EXPECT_EQ(view->lock, __wglGLLockDrawableMutex);
    EXPECT_EQ(view->unlock, __wglGLUnlockDrawableMutex);
    EXPECT_EQ(view->wglPrivate, d);
    EXPECT_EQ(d->freeBuffers, device_.freeBuffers);
    EXPECT_EQ(d->updateDrawablePalette, device_.updateDrawablePalette);

    ASSERT_NE(d->swapHints, nullptr);
    EXPECT_EQ(d->swapHintCapacity, 4u);
    EXPECT_EQ(GlobalSize(d->swapHints), 4u * 16 + 36);
    EXPECT_EQ(d->swapHints->rdh.dwSize, 32u);
    EXPECT_EQ(d->swapHints->rdh.iType, 1u);
    EXPECT_EQ(d->swapHints->rdh.nCount, 0u);
    EXPECT_EQ(d->swapHints->rdh.nRgnSize, 0u);
    EXPECT_EQ(__wglSwapHintCount(d), 0u);

    ASSERT_EQ(gChooserCalls.size(), 1u);
    EXPECT_EQ(gChooserCalls[0].drawable, d);
    EXPECT_EQ(gChooserCalls[0].modes, view->modes);
    EXPECT_EQ(gChooserCalls[0].forBitmap, !c.window);
    EXPECT_EQ(wglPrivListEnd.next, d);
    EXPECT_EQ(d->prev, &wglPrivListEnd);
  }
}

TEST_F(DrawableTest, DestroyingUnlinksFromAnyPlace) {
  struct Case {
    const char *name;
    int destroy;            // index in creation order
    std::vector<int> left;  // what stays, newest first
  };
  const Case cases[] = {{"newest", 2, {1, 0}}, {"middle", 1, {2, 0}}, {"oldest", 0, {2, 1}}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    GlModes modes = Modes(false, false, false, false);
    WglDrawablePrivate *made[3];
    for (int i = 0; i < 3; i++) made[i] = Create(BitmapDC(4, 4, 16), nullptr, modes);
    EXPECT_EQ(ListOrder(), (std::vector<WglDrawablePrivate *>{made[2], made[1], made[0]}));

    WglDrawableMutex *mutex = made[c.destroy]->drawable.mutex;
    EXPECT_TRUE(__wglDestroyDrawablePrivate(made[c.destroy]));
    __wglDestroyDrawableMutex(mutex);
    std::vector<WglDrawablePrivate *> left;
    for (int i : c.left) left.push_back(made[i]);
    EXPECT_EQ(ListOrder(), left);
    __wglFreeDrawableList();
    EXPECT_EQ(wglPrivListEnd.next, nullptr);
  }
}

TEST_F(DrawableTest, FindMatchesWindowsByWindowAndBitmapsByDC) {
  HWND w1 = Window(0, 0, 32, 32), w2 = Window(40, 0, 32, 32);
  HDC dc1 = GetDC(w1), dc2 = GetDC(w2);
  HDC memory = BitmapDC(4, 4, 16);
  HDC otherMemory = BitmapDC(4, 4, 16);
  GlModes modes = Modes(false, false, false, false);
  WglDrawablePrivate *d1 = Create(dc1, w1, modes);
  WglDrawablePrivate *d2 = Create(dc2, w2, modes);
  WglDrawablePrivate *dm = Create(memory, nullptr, modes);  // newest: searched first

  struct Case {
    const char *name;
    HDC hdc;
    HWND hwnd;
    WglDrawablePrivate *found;
  };
  const Case cases[] = {
      {"window and its DC", dc1, w1, d1},
      {"window through another DC", dc2, w1, d1},
      {"a window's DC without the window", dc1, nullptr, nullptr},
      {"memory DC", memory, nullptr, dm},
      {"memory DC comes first in the walk", memory, w2, dm},
      {"unknown memory DC", otherMemory, nullptr, nullptr},
      {"by window only", WGL_FIND_BY_WINDOW, w2, d2},
      {"by window only skips bitmaps", WGL_FIND_BY_WINDOW, nullptr, nullptr},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(__wglFindDrawablePrivate(c.hdc, c.hwnd), c.found);
  }
}

TEST_F(DrawableTest, GetFindsTheRecordOrCreatesOne) {
  HWND w = Window(0, 0, 32, 32);
  HDC dc = GetDC(w);
  GlModes modes = Modes(true, false, true, false);
  WglDrawablePrivate *first = __wglGetDrawablePrivate(dc, w, &modes);
  ASSERT_NE(first, nullptr);
  WglDrawablePrivate *again = __wglGetDrawablePrivate(dc, w, &modes);
  EXPECT_EQ(again, first);
  EXPECT_EQ(first->refcount, 1) << "finding adds no reference";
  EXPECT_EQ(gChooserCalls.size(), 1u);
  EXPECT_EQ(ListOrder().size(), 1u);
}

void RecordFreePrivate(GlDrawable *drawable) { gFreedPrivate.push_back(drawable); }

TEST_F(DrawableTest, TheLastReferenceFreesEverything) {
  struct Case {
    const char *name;
    int references;
  };
  const Case cases[] = {{"one", 1}, {"three", 3}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    HDC dc = BitmapDC(4, 4, 16);
    gFreedBuffers.clear();
    gFreedPrivate.clear();
    MarkHeap();
    WglDrawablePrivate *d = Create(dc, nullptr, Modes(false, false, false, false));
    d->drawable.freePrivate = RecordFreePrivate;
    // A clip list and grown hints are freed with the record too.
    __wglUpdateOwnershipRegion(d, nullptr);
    for (int i = 0; i < 6; i++) __wglAddSwapHintRect(&d->drawable, 0, 0, 1, 1);
    d->refcount = c.references;
    WglDrawableMutex *mutex = d->drawable.mutex;
    for (int i = 1; i < c.references; i++) {
      EXPECT_FALSE(__wglDestroyDrawablePrivate(d));
      EXPECT_TRUE(gFreedBuffers.empty());
      EXPECT_EQ(wglPrivListEnd.next, d);
    }
    EXPECT_TRUE(__wglDestroyDrawablePrivate(d));
    EXPECT_EQ(gFreedPrivate, std::vector<GlDrawable *>{&d->drawable});
    EXPECT_EQ(gFreedBuffers, std::vector<WglDrawablePrivate *>{d});
    EXPECT_EQ(wglPrivListEnd.next, nullptr);
    __wglDestroyDrawableMutex(mutex);
    EXPECT_EQ(LiveBlocksSinceMark(), 0);
  }
}

TEST_F(DrawableTest, FreeingTheListDropsEveryReference) {
  HWND w = Window(0, 0, 16, 16);
  struct Case {
    HDC hdc;
    HWND hwnd;
    int references;
  };
  const Case cases[] = {
      {BitmapDC(4, 4, 16), nullptr, 1}, {GetDC(w), w, 2}, {BitmapDC(4, 4, 32), nullptr, 3}};
  MarkHeap();
  for (const Case &c : cases)
    Create(c.hdc, c.hwnd, Modes(true, true, true, true))->refcount = c.references;
  __wglFreeDrawableList();
  EXPECT_EQ(wglPrivListEnd.next, nullptr);
  EXPECT_EQ(gFreedBuffers.size(), 3u);
  // Everything creation took is given back, the mutexes included.
  EXPECT_EQ(LiveBlocksSinceMark(), 0);
}

TEST_F(DrawableTest, CreationThatRunsOutOfMemoryLeavesNothing) {
  HWND w = Window(0, 0, 16, 16);
  HDC dc = GetDC(w);
  GlModes modes = Modes(true, true, true, true);
  unsigned failures = 0;
  for (unsigned skip = 0;; skip++) {
    SCOPED_TRACE(skip);
    MarkHeap();
    PlatformClearFaults();
    PlatformArmFault({"GlobalAlloc", nullptr, skip, 1, 0});
    WglDrawablePrivate *d = __wglCreateDrawablePrivate(dc, w, &modes);
    if (PlatformFaultsFired("GlobalAlloc") == 0) {
      ASSERT_NE(d, nullptr);
      break;
    }
    failures++;
    EXPECT_EQ(d, nullptr);
    EXPECT_EQ(wglPrivListEnd.next, nullptr) << "nothing listed";
    EXPECT_TRUE(gChooserCalls.empty()) << "no buffers chosen";
    EXPECT_EQ(LiveBlocksSinceMark(), 0) << "nothing left allocated";
    ASSERT_LT(skip, 32u);
  }
  // The record, the modes copy, the mutex and the swap hints.
  EXPECT_GE(failures, 4u);
}

}  // namespace
}  // namespace drawable_test
