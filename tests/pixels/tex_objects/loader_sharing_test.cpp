// Texture names shared by two contexts that two threads use at the same
// time, through the loader as an application does: binding, rebinding on
// the other target and deleting the same names from both sides leaves the
// process whole, and the last context gives back every block.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "tests/support/loader_windows.h"

namespace {

class TexLoaderSharing : public LoaderWindows {
 protected:
  void SetUp() override { OpenWindows(32, 32, 0); }

  // Each thread binds names 1..12 in turn on GL_TEXTURE_2D, the name after
  // on GL_TEXTURE_1D (refused where the other made it 2D), and every third
  // round deletes a run of three; both start together.
  void Scenario() {
    HGLRC rc[2] = {wglCreateContext(hdc_[0]), wglCreateContext(hdc_[1])};
    ASSERT_NE(rc[0], nullptr);
    ASSERT_NE(rc[1], nullptr);
    ASSERT_TRUE(wglShareLists(rc[0], rc[1]));
    std::atomic<int> ready{0};
    std::atomic<bool> bound[2] = {{false}, {false}};
    auto work = [&](int t) {
      bound[t] = wglMakeCurrent(hdc_[t], rc[t]) != FALSE;
      ++ready;
      while (ready < 2) std::this_thread::yield();
      for (int round = 0; round < 3000; ++round) {
        const GLuint name = GLuint(1 + (round + 5 * t) % 12);
        glBindTexture(GL_TEXTURE_2D, name);
        glBindTexture(GL_TEXTURE_1D, name % 12 + 1);
        if (round % 3 == t) {
          const GLuint run[3] = {name, name % 12 + 1, 0};
          glDeleteTextures(3, run);
        }
        glGetError();  // target mismatches are expected
      }
      wglMakeCurrent(nullptr, nullptr);
    };
    std::thread other(work, 1);
    work(0);
    other.join();
    EXPECT_TRUE(bound[0]);
    EXPECT_TRUE(bound[1]);
    EXPECT_TRUE(wglDeleteContext(rc[0]));
    EXPECT_TRUE(wglDeleteContext(rc[1]));
  }

};

TEST_F(TexLoaderSharing, TwoThreadsBindingAndDeletingTheSameNamesLoseNothing) {
  // The first round loads the driver and meets each window; the second
  // must give back exactly what it took.
  Scenario();
  const unsigned before = PlatformGetHeapStats().liveBlocks;
  Scenario();
  EXPECT_EQ(PlatformGetHeapStats().liveBlocks, before);
}

}  // namespace
