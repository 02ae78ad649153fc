// The buffer lock's counter, and the drawable lock: its nesting, owner and
// lock-site trace, and the window changes it delivers.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/context.h"
#include "core/s_backend.h"
#include "tests/core/context/life_fixture.h"
#include "wgl/wgl_context.h"
#include "wgl/wgl_drawable.h"

namespace life_test {
namespace {

TEST(SLock, CountsNesting) {
  auto gc = std::make_unique<GlContext>();
  struct Step {
    const char *what;
    bool obtain;   // else release
    bool result;   // held already / still held
    uint8_t depth;
  } steps[] = {
      {"first obtain", true, false, 1},  {"second obtain", true, true, 2},
      {"first release", false, true, 1}, {"second release", false, false, 0},
      {"release too many", false, false, 0}, {"obtain again", true, false, 1},
      {"release again", false, false, 0},
  };
  for (const Step &s : steps) {
    SCOPED_TRACE(s.what);
    bool result = s.obtain ? core::ObtainSLock(gc.get()) : core::ReleaseSLock(gc.get());
    EXPECT_EQ(result, s.result);
    EXPECT_EQ(gc->sLockDepth, s.depth);
  }
}

// What a zeroed context bound to a test window was told through its exports.
std::vector<std::string> gNotes;

GLbool8 NoteSize(GlContext *, int32_t x, int32_t y, uint32_t width, uint32_t height) {
  gNotes.push_back("size " + std::to_string(x) + "," + std::to_string(y) + " " +
                   std::to_string(width) + "x" + std::to_string(height));
  return 1;
}
void NoteDestroy(GlContext *) { gNotes.push_back("destroy"); }

class DrawableLock : public testing::Test {
 protected:
  void SetUp() override {
    gc = std::make_unique<GlContext>();
    gc->imports.other = &wgl;
    gc->exports.notifyChangeBufferSize = NoteSize;
    gc->exports.notifyDestroyBuffers = NoteDestroy;
    gc->drawablePrivate = window.drawable();
    gNotes.clear();
  }
  TestWindow window{64, 32};
  WglContext wgl{};
  std::unique_ptr<GlContext> gc;
};

TEST_F(DrawableLock, NestsAndTracesEachHolder) {
  GlDrawable *d = window.drawable();
  __glLockDrawable(gc.get(), 10, "first");
  __glLockDrawable(gc.get(), 20, "second");
  EXPECT_EQ(d->lockDepth, 2);
  EXPECT_EQ(d->mutex->depth, 2);
  EXPECT_EQ(d->mutex->owner, GetCurrentThreadId());
  EXPECT_EQ(d->lockLines[0], 10);
  EXPECT_STREQ(d->lockFiles[0], "first");
  EXPECT_EQ(d->lockLines[1], 20);
  EXPECT_STREQ(d->lockFiles[1], "second");
  __glUnlockDrawable(gc.get());
  EXPECT_EQ(d->lockDepth, 1);
  EXPECT_EQ(d->lockLines[1], 0);
  EXPECT_EQ(d->lockFiles[1], nullptr);
  EXPECT_EQ(d->mutex->owner, GetCurrentThreadId()) << "still held once";
  __glUnlockDrawable(gc.get());
  EXPECT_EQ(d->lockDepth, 0);
  EXPECT_EQ(d->lockLines[0], 0);
  EXPECT_EQ(d->mutex->depth, 0);
  EXPECT_EQ(d->mutex->owner, 0u);
  EXPECT_TRUE(gNotes.empty());
}

TEST_F(DrawableLock, NestingDeeperThanTheTraceStillLocks) {
  GlDrawable *d = window.drawable();
  for (int i = 0; i < 12; i++) __glLockDrawable(gc.get(), 100 + i, "deep");
  EXPECT_EQ(d->mutex->depth, 12);
  EXPECT_EQ(d->lockLines[9], 109);
  for (int i = 0; i < 12; i++) __glUnlockDrawable(gc.get());
  EXPECT_EQ(d->mutex->depth, 0);
  EXPECT_EQ(d->lockDepth, 0);
  for (int i = 0; i < 10; i++) EXPECT_EQ(d->lockLines[i], 0) << i;
}

TEST_F(DrawableLock, AnUnboundContextLocksNothing) {
  gc->drawablePrivate = nullptr;
  __glLockDrawable(gc.get(), 1, "unbound");
  __glUnlockDrawable(gc.get());
  EXPECT_EQ(window.drawable()->mutex->depth, 0);
}

TEST_F(DrawableLock, DeliversPendingChangesOnceInOrder) {
  struct Case {
    const char *what;
    uint32_t pending;
    std::vector<std::string> notes;
  } cases[] = {
      {"nothing", 0x0, {}},
      {"new size", WGL_PENDING_SIZE, {"size 30,40 200x100"}},
      {"destroyed", WGL_PENDING_DESTROY, {"destroy"}},
      {"both: size first", WGL_PENDING_SIZE | WGL_PENDING_DESTROY, {"size 30,40 200x100", "destroy"}},
  };
  window.Resize(200, 100, 30, 40);
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    gNotes.clear();
    wgl.flags = c.pending | 0x100;  // other bits are not the lock's
    __GL_LOCK_DRAWABLE(gc.get(), "lock_test");
    EXPECT_EQ(gNotes, c.notes);
    EXPECT_EQ(wgl.flags, 0x100u);
    __GL_LOCK_DRAWABLE(gc.get(), "lock_test");  // nothing twice
    __GL_UNLOCK_DRAWABLE(gc.get());
    __GL_UNLOCK_DRAWABLE(gc.get());
    EXPECT_EQ(gNotes, c.notes);
  }
}

TEST_F(DrawableLock, KeepsOtherThreadsOut) {
  std::atomic<int> stage{0};
  std::atomic<bool> entered{false};
  __GL_LOCK_DRAWABLE(gc.get(), "lock_test");
  std::thread other([&] {
    stage = 1;
    __wglGLLockDrawableMutex(window.drawable(), nullptr);
    entered = true;
    EXPECT_EQ(window.drawable()->mutex->owner, GetCurrentThreadId());
    __wglGLUnlockDrawableMutex(window.drawable());
  });
  while (stage.load() == 0) std::this_thread::yield();
  for (int i = 0; i < 1000; i++) std::this_thread::yield();
  EXPECT_FALSE(entered.load()) << "the lock is held";
  __GL_UNLOCK_DRAWABLE(gc.get());
  other.join();
  EXPECT_TRUE(entered.load());
  EXPECT_EQ(window.drawable()->mutex->owner, 0u);
}

TEST(CoreClipRect, StoresTheEdgesAndMarksTheRectangle) {
  struct Case {
    int32_t x, y, width, height;
    GlRect rect;
  } cases[] = {
      {0, 0, 640, 480, {0, 0, 640, 480}},
      {10, 470, 5, 10, {10, 470, 15, 480}},
      {0, 0, 0, 0, {0, 0, 0, 0}},
      {INT32_MAX - 1, 5, 10, 10, {INT32_MAX - 1, 5, INT32_MAX, 15}},
  };
  for (const Case &c : cases) {
    GlDrawable d{};
    __wglSetCoreClipRect(&d, c.x, c.y, c.width, c.height);
    EXPECT_EQ(d.coreClipRect.x0, c.rect.x0);
    EXPECT_EQ(d.coreClipRect.y0, c.rect.y0);
    EXPECT_EQ(d.coreClipRect.x1, c.rect.x1);
    EXPECT_EQ(d.coreClipRect.y1, c.rect.y1);
    EXPECT_EQ(d.coreClipRectValid, 1);
  }
}

}  // namespace
}  // namespace life_test
