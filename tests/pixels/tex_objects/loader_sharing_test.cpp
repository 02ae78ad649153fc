// Texture names shared by two contexts that two threads use at the same
// time, through the loader as an application does: binding, rebinding on
// the other target and deleting the same names from both sides leaves the
// process whole, and the last context gives back every block.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/control.h"
#include "platform/gdi.h"
#include "platform/vlxdesktop.h"

#include <GL/gl.h>

namespace {

class TexLoaderSharing : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(DesktopSetDisplayMode(16, 1024, 768));
    for (int i = 0; i < 2; ++i) {
      hwnd_[i] = DesktopCreateWindow(10 + 100 * i, 10, 32, 32);
      ASSERT_NE(hwnd_[i], nullptr);
      hdc_[i] = GetDC(hwnd_[i]);
      PIXELFORMATDESCRIPTOR pfd = {};
      pfd.nSize = sizeof pfd;
      pfd.nVersion = 1;
      pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
      pfd.iPixelType = PFD_TYPE_RGBA;
      pfd.cColorBits = 16;
      const int format = ChoosePixelFormat(hdc_[i], &pfd);
      ASSERT_NE(format, 0);
      ASSERT_TRUE(SetPixelFormat(hdc_[i], format, &pfd));
    }
  }
  void TearDown() override {
    for (int i = 0; i < 2; ++i) {
      ReleaseDC(hwnd_[i], hdc_[i]);
      DestroyWindow(hwnd_[i]);
    }
    VlxGlUnloadDriver();
  }

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

  HWND hwnd_[2] = {};
  HDC hdc_[2] = {};
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
