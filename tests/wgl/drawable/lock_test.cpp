// The core's drawable lock: the window changes noticed by the hook reach the
// context at the next lock, once each, the size before the destruction; the
// lock nests for its owner.
#include <stdlib.h>

#include <string>

#include "core/context.h"
#include "tests/wgl/drawable/drawable_fixture.h"
#include "wgl/wgl_context.h"
#include "wgl/wgl_drawable_update.h"

namespace drawable_test {
namespace {

std::string gNotes;
GlDrawable *gLocking = nullptr;

GLbool8 NoteSize(GlContext *gc, int32_t x, int32_t y, uint32_t width, uint32_t height) {
  gNotes += "size " + std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(width) +
            "x" + std::to_string(height) + ";";
  // The core locks the drawable again while it takes the new size in.
  gLocking->lock(gLocking, gc);
  gLocking->unlock(gLocking);
  return 1;
}

void NoteDestroy(GlContext *gc) {
  gNotes += "destroy;";
  gLocking->lock(gLocking, gc);
  gLocking->unlock(gLocking);
}

struct ContextOf {
  GlContext *gc;
  WglContext record = {};
  ContextOf() : gc(static_cast<GlContext *>(calloc(1, sizeof(GlContext)))) {
    gc->imports.other = &record;
    gc->exports.notifyChangeBufferSize = NoteSize;
    gc->exports.notifyDestroyBuffers = NoteDestroy;
  }
  ~ContextOf() { free(gc); }
};

TEST_F(DrawableTest, TheLockDeliversPendingChangesOnce) {
  struct Case {
    const char *name;
    uint32_t flags;
    const char *first;  // what the first lock delivers; later locks nothing
  };
  const Case cases[] = {
      {"nothing pending", 0, ""},
      {"a new size", WGL_PENDING_SIZE, "size 30,40 64x48;"},
      {"a destroyed window", WGL_PENDING_DESTROY, "destroy;"},
      {"both, size first", WGL_PENDING_SIZE | WGL_PENDING_DESTROY, "size 30,40 64x48;destroy;"},
  };
  HWND w = Window(30, 40, 64, 48);
  WglDrawablePrivate *d = Create(GetDC(w), w, Modes(false, false, false, false));
  GlDrawable *view = &d->drawable;
  view->x = 30, view->y = 40, view->width = 64, view->height = 48;
  gLocking = view;
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    ContextOf context;
    context.record.flags = c.flags;
    for (const char *expected : {c.first, ""}) {
      gNotes.clear();
      view->lock(view, context.gc);
      EXPECT_EQ(gNotes, expected);
      EXPECT_EQ(context.record.flags, 0u);
      EXPECT_EQ(view->mutex->depth, 1);
      EXPECT_EQ(view->mutex->owner, GetCurrentThreadId());
      view->unlock(view);
      EXPECT_EQ(view->mutex->depth, 0);
      EXPECT_EQ(view->mutex->owner, 0u);
    }
  }
}

// A window size that could not be read is read again by the next lock,
// which delivers it; a first update had no size to keep.
TEST_F(DrawableTest, TheLockReadsASizeThatCouldNotBeReadAgain) {
  for (const char *call : {"GetClientRect", "ClientToScreen"}) {
    SCOPED_TRACE(call);
    HWND w = Window(30, 40, 64, 48);
    WglDrawablePrivate *d = Create(GetDC(w), w, Modes(false, false, false, false));
    GlDrawable *view = &d->drawable;
    gLocking = view;
    PlatformArmFault({call, nullptr, 0, 1, 0});
    EXPECT_TRUE(__wglUpdateDrawableBuffers(d));
    PlatformClearFaults();
    EXPECT_EQ(view->width, 0);
    ContextOf context;
    for (const char *expected : {"size 30,40 64x48;", ""}) {
      gNotes.clear();
      view->lock(view, context.gc);
      view->unlock(view);
      EXPECT_EQ(gNotes, expected);
    }
    EXPECT_EQ(view->width, 64);
    EXPECT_EQ(d->rect.right, 94);
  }
}

// A context not bound through the layer (no record) only locks.
TEST_F(DrawableTest, TheLockWithoutARecordOnlyLocks) {
  HWND w = Window(0, 0, 8, 8);
  WglDrawablePrivate *d = Create(GetDC(w), w, Modes(false, false, false, false));
  GlDrawable *view = &d->drawable;
  ContextOf context;
  context.gc->imports.other = nullptr;
  for (GlContext *gc : {context.gc, static_cast<GlContext *>(nullptr)}) {
    gNotes.clear();
    view->lock(view, gc);
    view->lock(view, gc);
    EXPECT_EQ(view->mutex->depth, 2);
    view->unlock(view);
    EXPECT_EQ(view->mutex->owner, GetCurrentThreadId());
    view->unlock(view);
    EXPECT_EQ(view->mutex->owner, 0u);
    EXPECT_EQ(gNotes, "");
  }
}

}  // namespace
}  // namespace drawable_test
