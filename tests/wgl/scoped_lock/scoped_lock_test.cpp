// The scoped holds: each takes its lock once and lets go exactly once, at an
// early unlock() or at the end of its scope; the drawable hold writes its lock
// site into the drawable's trace and clears it again, unless the drawable's
// record went while it was held.
#include <gtest/gtest.h>
#include <string.h>

#include "wgl/wgl_scoped_lock.h"

namespace {

class GlobalHold : public ::testing::Test {
 protected:
  void SetUp() override { __wglCreateMutex(); }
  void TearDown() override { __wglDestroyMutex(); }
};

TEST_F(GlobalHold, HoldsToTheEndOfItsScope) {
  {
    WglGlobalHold hold;
    EXPECT_EQ(__wglLock.depth, 1);
    EXPECT_EQ(__wglLock.owner, GetCurrentThreadId());
    {
      WglGlobalHold nested;
      EXPECT_EQ(__wglLock.depth, 2);
    }
    EXPECT_EQ(__wglLock.depth, 1);
  }
  EXPECT_EQ(__wglLock.depth, 0);
  EXPECT_EQ(__wglLock.owner, 0u);
}

TEST_F(GlobalHold, AnEarlyUnlockLetsGoOnce) {
  __wglLockMutex();  // an outer holder, which must keep its hold
  {
    WglGlobalHold hold;
    hold.unlock();
    EXPECT_EQ(__wglLock.depth, 1);
    hold.unlock();
    EXPECT_EQ(__wglLock.depth, 1);
  }
  EXPECT_EQ(__wglLock.depth, 1);
  EXPECT_EQ(__wglLock.owner, GetCurrentThreadId());
  __wglUnlockMutex();
}

class DrawableHold : public ::testing::Test {
 protected:
  void SetUp() override {
    memset(&drawable_, 0, sizeof drawable_);
    drawable_.mutex = __wglCreateDrawableMutex();
    ASSERT_NE(drawable_.mutex, nullptr);
    drawable_.lockDepth = 2;  // the core holds it twice already
  }
  void TearDown() override { __wglDestroyDrawableMutex(drawable_.mutex); }

  GlDrawable drawable_;
};

TEST_F(DrawableHold, WritesTheLockSiteAndClearsItWhenItLetsGo) {
  {
    const int line = __LINE__ + 1;
    WglDrawableHold hold(&drawable_, "here");
    EXPECT_EQ(drawable_.mutex->depth, 1);
    EXPECT_EQ(drawable_.mutex->owner, GetCurrentThreadId());
    EXPECT_EQ(drawable_.lockLines[2], line);
    EXPECT_STREQ(drawable_.lockFiles[2], "here");
    EXPECT_EQ(drawable_.lockLines[1], 0);  // the core's entries are not touched
  }
  EXPECT_EQ(drawable_.mutex->depth, 0);
  EXPECT_EQ(drawable_.mutex->owner, 0u);
  EXPECT_EQ(drawable_.lockLines[2], 0);
  EXPECT_EQ(drawable_.lockFiles[2], nullptr);
}

TEST_F(DrawableHold, AnEarlyUnlockLetsGoOnce) {
  __wglLockDrawableMutex(drawable_.mutex);  // an outer holder
  {
    WglDrawableHold hold(&drawable_, "here");
    hold.unlock();
    EXPECT_EQ(drawable_.mutex->depth, 1);
    EXPECT_EQ(drawable_.lockFiles[2], nullptr);
  }
  EXPECT_EQ(drawable_.mutex->depth, 1);
  __wglUnlockDrawableMutex(drawable_.mutex);
}

TEST_F(DrawableHold, ADrawableThatWentLeavesItsTraceAlone) {
  {
    WglDrawableHold hold(&drawable_, "here");
    hold.forgetTrace();
    // What the hold would clear now belongs to whoever reuses the memory.
    drawable_.lockFiles[2] = "reused";
  }
  EXPECT_EQ(drawable_.mutex->depth, 0);
  EXPECT_STREQ(drawable_.lockFiles[2], "reused");
}

TEST_F(DrawableHold, AMutexAloneHoldsWithoutATrace) {
  {
    WglDrawableHold hold(drawable_.mutex);
    EXPECT_EQ(drawable_.mutex->depth, 1);
  }
  EXPECT_EQ(drawable_.mutex->depth, 0);
  for (const char *file : drawable_.lockFiles) EXPECT_EQ(file, nullptr);
}

TEST(DrawableHoldOfNothing, ANullMutexIsNoLock) {
  WglDrawableHold hold(static_cast<WglDrawableMutex *>(nullptr));
  hold.unlock();
}

}  // namespace
