// The thread soak: several threads, each with a context on a window of its
// own and one on a window they all share, draw for a bounded time with
// display lists and textures shared among every context, make current and
// release, and delete shared objects while other threads use them. Every
// frame must equal the frame one thread drew alone before the others began.
//
// VLX_SOAK_SECONDS sets how long the threads run (default 4) and
// VLX_SOAK_SEED the seed ("random": from the clock; printed either way).
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <atomic>
#include <chrono>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/control.h"
#include "platform/kernel.h"
#include "platform/sis6326.h"
#include "platform/vlxdesktop.h"
#include "tests/wgl/threads/threads_fixture.h"

namespace {

constexpr int kThreads = 4;
constexpr int kSharedSlot = 20;

unsigned Seed() {
  const char *text = getenv("VLX_SOAK_SEED");
  if (text == nullptr || strcmp(text, "random") == 0)
    return text == nullptr ? 1u : unsigned(std::random_device()());
  return unsigned(strtoul(text, nullptr, 0));
}

double Seconds() {
  const char *text = getenv("VLX_SOAK_SECONDS");
  return text ? atof(text) : 4.0;
}

// The objects every context shares: a list of the shaded triangles, a
// texture, and a victim list and texture that threads delete and make again
// while others draw with them.
//
// A thread that took the victim texture's name holds no reference until it
// binds it. Were the name deleted in between, another thread's
// glGenTextures could hand it out again, and the late binding would share
// that new texture while its maker defines it, which the driver refuses
// (GL_INVALID_OPERATION: a texture bound in another context is not
// redefined). So each thread names the victim it is about to bind in
// `binding`, and a replaced victim is deleted once no thread names it.
// Deletion while another context has the texture bound and draws with it
// still happens: the binding's own reference keeps the object.
struct Shared {
  GLuint list = 0;
  GLuint texture = 0;
  std::atomic<GLuint> victimList{0};
  std::atomic<GLuint> victimTexture{0};
  std::atomic<GLuint> binding[kThreads] = {};
  TestMutex retiredLock;
  std::vector<GLuint> retired;  // replaced victims not yet deleted
};

// The current victim texture, named in `binding[me]` until it is bound.
GLuint TakeVictimTexture(Shared &s, int me) {
  for (;;) {
    const GLuint name = s.victimTexture.load();
    s.binding[me].store(name);
    if (s.victimTexture.load() == name) return name;
  }
}

// Deletes every replaced victim that no thread is about to bind.
void DeleteRetiredTextures(Shared &s, GLuint old) {
  std::lock_guard<TestMutex> hold(s.retiredLock);
  s.retired.push_back(old);
  for (size_t i = 0; i < s.retired.size();) {
    bool named = false;
    for (const std::atomic<GLuint> &b : s.binding) named = named || b.load() == s.retired[i];
    if (named) {
      ++i;
      continue;
    }
    glDeleteTextures(1, &s.retired[i]);
    s.retired.erase(s.retired.begin() + long(i));
  }
}

void PixelCoordinates() {
  glViewport(0, 0, kSceneWidth, kSceneHeight);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, kSceneWidth, 0, kSceneHeight, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_DITHER);
}

void DefineTexture(GLuint name, int tint) {
  unsigned char texels[8 * 8 * 4];
  for (int i = 0; i < 64; ++i) {
    texels[4 * i + 0] = static_cast<unsigned char>(i * 4 + tint);
    texels[4 * i + 1] = static_cast<unsigned char>(255 - i * 3);
    texels[4 * i + 2] = static_cast<unsigned char>((i % 8) * 32);
    texels[4 * i + 3] = 255;
  }
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 8, 8, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
  glBindTexture(GL_TEXTURE_2D, 0);
}

void CompileTriangles(GLuint list, float shift) {
  glNewList(list, GL_COMPILE);
  glShadeModel(GL_SMOOTH);
  glBegin(GL_TRIANGLES);
  glColor3f(1, 0, 0);
  glVertex2f(2 + shift, 2);
  glColor3f(0, 1, 0);
  glVertex2f(37 - shift, 5);
  glColor3f(0, 0, 1);
  glVertex2f(15, 26 - shift);
  glEnd();
  glEndList();
}

// A 1:1 nearest-sampled textured square at (x, y): the chip and the
// software sample the same texels. `binding`, when given, is cleared once
// the texture is bound.
void TexturedSquare(GLuint texture, int x, int y, std::atomic<GLuint> *binding = nullptr) {
  glBindTexture(GL_TEXTURE_2D, texture);
  if (binding != nullptr) binding->store(0);
  glEnable(GL_TEXTURE_2D);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  glColor3f(1, 1, 1);
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex2i(x, y);
  glTexCoord2f(1, 0);
  glVertex2i(x + 8, y);
  glTexCoord2f(1, 1);
  glVertex2i(x + 8, y + 8);
  glTexCoord2f(0, 1);
  glVertex2i(x, y + 8);
  glEnd();
  glDisable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, 0);
}

// The frames: 0 the shared list and texture; 1 adds the victim list, 2 the
// victim texture. A victim another thread deleted draws nothing (list) or
// an untextured square (texture), so frames 1 and 2 each have a second
// acceptable form, 3 and 4.
enum Frame { kPlain, kVictimList, kVictimTexture, kVictimListGone, kVictimTextureGone, kFrames };

void DrawFrame(const Shared &s, int frame, GLuint victimList, GLuint victimTexture, float grey,
               std::atomic<GLuint> *binding = nullptr) {
  PixelCoordinates();
  glClearColor(grey, 0.25f, 0.5f, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glCallList(s.list);
  TexturedSquare(s.texture, 28, 16);
  if (frame == kVictimList || frame == kVictimListGone) glCallList(victimList);
  if (frame == kVictimTexture || frame == kVictimTextureGone) TexturedSquare(victimTexture, 4, 16, binding);
}

// Frame `frame` is shown: swap and read.
ScenePixels Show(HDC hdc, HWND hwnd) {
  SwapBuffers(hdc);
  return ReadScene(hwnd);
}

struct Worker {
  int index = 0;
  ThreadWindow own, sharedView;
  HGLRC ownContext = nullptr, sharedContext = nullptr;
  int frames = 0, wrong = 0, glErrors = 0;
  GLenum firstError = GL_NO_ERROR;
  const char *firstErrorWhere = "";
  std::string firstWrong;
};

class ThreadSoak : public WglThreadsTest, public ::testing::WithParamInterface<BufferSet> {};

TEST_P(ThreadSoak, EveryFrameEqualsTheSingleThreadReference) {
  UseBufferSet(GetParam());
  const unsigned seed = Seed();
  const double seconds = Seconds();
  printf("thread soak on %s: seed %u, %.1f s, %d threads\n", GetParam().name, seed, seconds,
         kThreads);
  fflush(stdout);
  ASSERT_TRUE(DesktopSetDisplayMode(16, 1024, 768));
  PlatformSiS6326ClearViolations();

  // The shared window and the root context that owns the shared objects.
  ThreadWindow sharedWindow;
  ASSERT_TRUE(sharedWindow.Open(kSharedSlot, true));
  HGLRC root = wglCreateContext(sharedWindow.hdc);
  ASSERT_NE(root, nullptr);
  ASSERT_TRUE(wglMakeCurrent(sharedWindow.hdc, root));
  Shared shared;
  shared.list = glGenLists(1);
  CompileTriangles(shared.list, 0);
  glGenTextures(1, &shared.texture);
  DefineTexture(shared.texture, 0);
  GLuint victimList = glGenLists(1);
  CompileTriangles(victimList, 6);
  GLuint victimTexture = 0;
  glGenTextures(1, &victimTexture);
  DefineTexture(victimTexture, 64);
  shared.victimList = victimList;
  shared.victimTexture = victimTexture;

  // The references, one thread alone: the victims present and gone.
  std::vector<ScenePixels> reference(kFrames);
  for (int f = 0; f < kFrames; ++f) {
    const bool gone = f == kVictimListGone || f == kVictimTextureGone;
    DrawFrame(shared, f, gone ? 0xFFFFu : victimList, gone ? 0xFFFFu : victimTexture, 0.0f);
    reference[size_t(f)] = Show(sharedWindow.hdc, sharedWindow.hwnd);
  }
  ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  ASSERT_NE(CompareScenes(reference[kPlain], reference[kVictimList]).count, 0);
  ASSERT_NE(CompareScenes(reference[kVictimTexture], reference[kVictimTextureGone]).count, 0);
  ASSERT_TRUE(wglMakeCurrent(nullptr, nullptr));

  // Every thread's windows and contexts, sharing the root's objects.
  Worker workers[kThreads];
  for (int i = 0; i < kThreads; ++i) workers[i].index = i;
  TestMutex sharedWindowLock;
  std::atomic<bool> stop{false};
  Rendezvous ready(kThreads + 1);
  auto work = [&](Worker &me) {
    std::mt19937 random(seed * 131u + unsigned(me.index));
    bool opened = me.own.Open(1 + me.index, true) && me.sharedView.Share(sharedWindow.hwnd);
    if (opened) {
      me.ownContext = wglCreateContext(me.own.hdc);
      me.sharedContext = wglCreateContext(me.sharedView.hdc);
      opened = me.ownContext && me.sharedContext && wglShareLists(root, me.ownContext) &&
               wglShareLists(root, me.sharedContext);
    }
    ready.Meet();
    if (!opened) {
      me.wrong = 1;
      me.firstWrong = "no window or contexts";
      me.own.Close(true);
      me.sharedView.Close(false);
      return;
    }
    bool ownCurrent = false;
    auto check = [&](const ScenePixels &got, int frame) {
      ++me.frames;
      const SceneDifference plain = CompareScenes(reference[size_t(frame)], got);
      if (plain.count == 0) return;
      if (frame == kVictimList || frame == kVictimTexture) {
        if (CompareScenes(reference[size_t(frame + 2)], got).count == 0) return;
      }
      if (me.wrong++ == 0)
        me.firstWrong = "frame " + std::to_string(me.frames) + " (kind " + std::to_string(frame) +
                        "): " + DescribeDifference(plain);
    };
    auto noteErrors = [&](const char *where) {
      const GLenum error = glGetError();
      if (error != GL_NO_ERROR && me.glErrors++ == 0) {
        me.firstError = error;
        me.firstErrorWhere = where;
      }
    };
    auto draw = [&](HDC hdc, HWND hwnd) {
      const int frame = int(random() % 3);
      const GLuint victimTexture = frame == kVictimTexture ? TakeVictimTexture(shared, me.index) : 0;
      DrawFrame(shared, frame, shared.victimList.load(), victimTexture, 0.0f,
                &shared.binding[me.index]);
      noteErrors("drawing");
      check(Show(hdc, hwnd), frame);
    };
    while (!stop.load()) {
      const unsigned action = random() % 8;
      if (action < 3) {
        // A frame in the thread's own window.
        if (!ownCurrent) ownCurrent = wglMakeCurrent(me.own.hdc, me.ownContext) != FALSE;
        if (ownCurrent) draw(me.own.hdc, me.own.hwnd);
      } else if (action < 5) {
        // A frame in the shared window, one thread at a time; the thread's
        // own context is released meanwhile and bound again later.
        std::lock_guard<TestMutex> hold(sharedWindowLock);
        if (wglMakeCurrent(me.sharedView.hdc, me.sharedContext)) {
          ownCurrent = false;
          draw(me.sharedView.hdc, sharedWindow.hwnd);
          wglMakeCurrent(nullptr, nullptr);
        }
      } else if (action == 5) {
        if (ownCurrent) ownCurrent = !wglMakeCurrent(nullptr, nullptr);
      } else if (action == 6 && ownCurrent) {
        // Makes another victim list like the first and deletes the old one,
        // which others may be calling. The new one is made first: a name
        // given again at once would let a caller of the old name see the new
        // list half compiled, as the rules allow.
        GLuint fresh = glGenLists(1);
        CompileTriangles(fresh, 6);
        GLuint old = shared.victimList.exchange(fresh);
        glDeleteLists(old, 1);
        noteErrors("replacing the victim list");
      } else if (action == 7 && ownCurrent) {
        GLuint fresh = 0;
        glGenTextures(1, &fresh);
        DefineTexture(fresh, 64);
        DeleteRetiredTextures(shared, shared.victimTexture.exchange(fresh));
        noteErrors("replacing the victim texture");
      }
    }
    wglMakeCurrent(nullptr, nullptr);
    // A window goes with its thread: close it while the thread lives.
    me.own.Close(true);
    me.sharedView.Close(false);
  };
  std::vector<std::thread> threads;
  for (Worker &w : workers) threads.emplace_back(work, std::ref(w));
  ready.Meet();
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
  stop = true;
  for (std::thread &t : threads) t.join();

  int total = 0;
  for (Worker &w : workers) {
    total += w.frames;
    EXPECT_EQ(w.wrong, 0) << "thread " << w.index << ", " << w.frames << " frames, seed " << seed
                          << "; first: " << w.firstWrong;
    EXPECT_EQ(w.glErrors, 0) << "thread " << w.index << ", seed " << seed << "; first: 0x"
                             << std::hex << w.firstError << std::dec << " " << w.firstErrorWhere;
    if (w.ownContext) {
      EXPECT_TRUE(wglDeleteContext(w.ownContext));
    }
    if (w.sharedContext) {
      EXPECT_TRUE(wglDeleteContext(w.sharedContext));
    }
  }
  EXPECT_GT(total, kThreads) << "the threads drew nothing";
  printf("thread soak: %d frames\n", total);
  // What the chip drew broke none of the model's rules.
  SiS6326Violation v[2];
  const size_t violations = PlatformSiS6326Violations(v, 2);
  EXPECT_EQ(violations, 0u) << (violations ? std::string(v[0].rule) + ": " + v[0].what : "");
  EXPECT_TRUE(wglDeleteContext(root));
  sharedWindow.Close(true);
}

INSTANTIATE_TEST_SUITE_P(Devices, ThreadSoak, ::testing::ValuesIn(kBufferSets),
                         [](const ::testing::TestParamInfo<BufferSet> &info) {
                           return std::string(info.param.name);
                         });

}  // namespace
