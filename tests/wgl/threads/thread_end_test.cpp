// A thread that ends with its context current: the loader releases it and
// the driver's thread detach leaves it current nowhere, whatever the
// context was doing (rendering, selecting, feedback, inside glBegin, where
// the core refuses to let go), so another thread binds it afterwards and
// draws the same images with it.
#include <iterator>
#include <string>
#include <thread>
#include <tuple>

#include "tests/wgl/threads/threads_fixture.h"

namespace {

enum Doing { kRendering, kSelecting, kFeedback, kInsideBegin };

struct Ending {
  const char *name;
  Doing doing;
  // The ending thread draws into a window of its own that goes with it;
  // otherwise into the staying thread's window.
  bool ownWindow;
};

// Failure messages name the row.
void PrintTo(const Ending &row, std::ostream *out) { *out << row.name; }

const Ending kEndings[] = {
    {"Rendering", kRendering, false},
    {"Selecting", kSelecting, false},
    {"InFeedback", kFeedback, false},
    {"InsideBegin", kInsideBegin, false},
    {"RenderingWithItsWindowGoing", kRendering, true},
    {"SelectingWithItsWindowGoing", kSelecting, true},
};

class ThreadEndsWithItsContextCurrent
    : public WglThreadsTest,
      public ::testing::WithParamInterface<std::tuple<Ending, BufferSet>> {
 protected:
  GLuint selection_[64] = {};
  GLfloat feedback_[256] = {};

  // Leaves the context in the mode the row asks for.
  void Enter(Doing doing) {
    switch (doing) {
      case kSelecting:
        glSelectBuffer(GLsizei(std::size(selection_)), selection_);
        glRenderMode(GL_SELECT);
        glInitNames();
        glPushName(7);
        break;
      case kFeedback:
        glFeedbackBuffer(GLsizei(std::size(feedback_)), GL_3D, feedback_);
        glRenderMode(GL_FEEDBACK);
        break;
      case kInsideBegin:
        glBegin(GL_TRIANGLES);
        glVertex2f(0.0f, 0.0f);
        break;
      case kRendering:
        break;
    }
  }
  // Back to rendering on the new thread, and proof that the mode came along
  // with the context: the hit or the feedback begun on the ended thread is
  // finished here.
  void Leave(Doing doing) {
    switch (doing) {
      case kSelecting:
      case kFeedback:
        glBegin(GL_TRIANGLES);
        glVertex2f(-0.5f, -0.5f);
        glVertex2f(0.5f, -0.5f);
        glVertex2f(0.0f, 0.5f);
        glEnd();
        if (doing == kSelecting) {
          EXPECT_EQ(glRenderMode(GL_RENDER), 1) << "one hit";
          EXPECT_EQ(selection_[0], 1u) << "one name on the stack";
          EXPECT_EQ(selection_[3], 7u) << "the name pushed on the ended thread";
        } else {
          EXPECT_GT(glRenderMode(GL_RENDER), 0) << "feedback values";
          EXPECT_EQ(feedback_[0], GLfloat(GL_POLYGON_TOKEN));
        }
        break;
      case kInsideBegin:
        // Whether the new binding finds the triangle still open is the
        // core's to decide (glEnd outside it is only an error); what
        // matters is that the context draws again afterwards.
        glVertex2f(0.5f, 0.0f);
        glVertex2f(0.0f, 0.5f);
        glEnd();
        glGetError();
        break;
      case kRendering:
        EXPECT_EQ(glRenderMode(GL_RENDER), 0);
        break;
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    // Nothing of it stays in rendering mode.
    EXPECT_EQ(glRenderMode(GL_RENDER), 0);
  }
};

TEST_P(ThreadEndsWithItsContextCurrent, AnotherThreadBindsItAndDrawsWithIt) {
  const Ending &ending = std::get<0>(GetParam());
  UseBufferSet(std::get<1>(GetParam()));
  Stages stages;
  HGLRC context = nullptr;
  std::string enderFailure;
  std::thread stayer([&] {
    ThreadWindow window;
    ASSERT_TRUE(window.Open(0, true));
    std::vector<ScenePixels> reference = DrawReferenceScenes(window.hwnd, window.hdc, true);
    ASSERT_EQ(reference.size(), size_t(kSceneVariants));
    stages.Reach(1);

    std::thread ender([&] {
      ThreadWindow mine;
      bool opened = ending.ownWindow ? mine.Open(1, true) : mine.Share(window.hwnd);
      if (!opened) {
        enderFailure = "no window";
        return;
      }
      context = wglCreateContext(mine.hdc);
      if (!context || !wglMakeCurrent(mine.hdc, context)) {
        enderFailure = "not bound";
        return;
      }
      DrawSceneFrame(mine.hdc, 1, true);
      if (!ending.ownWindow) {
        SceneDifference d = CompareScenes(reference[1], ReadScene(window.hwnd));
        if (d.count != 0) enderFailure = DescribeDifference(d);
      }
      Enter(ending.doing);
      // Ends with the context current; its device context is not given back.
    });
    ender.join();
    ASSERT_EQ(enderFailure, "");
    ASSERT_NE(context, nullptr);

    // Not current anywhere now: it binds here, and its drawing shows.
    SetLastError(0);
    ASSERT_TRUE(wglMakeCurrent(window.hdc, context))
        << "error 0x" << std::hex << GetLastError()
        << " (0xC0070057: the driver still has it current on the ended thread)";
    Leave(ending.doing);
    for (int variant : {2, 0, 3}) {
      DrawSceneFrame(window.hdc, variant, true);
      SceneDifference d = CompareScenes(reference[size_t(variant)], ReadScene(window.hwnd));
      EXPECT_EQ(d.count, 0) << "variant " << variant << ": " << DescribeDifference(d);
    }
    EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr));
    EXPECT_TRUE(wglDeleteContext(context));
    window.Close(true);
  });
  stayer.join();
}

INSTANTIATE_TEST_SUITE_P(Endings, ThreadEndsWithItsContextCurrent,
                         ::testing::Combine(::testing::ValuesIn(kEndings),
                                            ::testing::ValuesIn(kBufferSets)),
                         RowOnSetName());

// Several threads end at once, each with a context current on a window of
// the same staying thread; every context is free afterwards.
class ThreadsEndTogether : public WglThreadsTest,
                           public ::testing::WithParamInterface<BufferSet> {};

TEST_P(ThreadsEndTogether, EachLeavesItsContextFree) {
  constexpr int kEnders = 4;
  UseBufferSet(GetParam());
  std::thread stayer([&] {
    ThreadWindow windows[kEnders];
    std::vector<ScenePixels> reference[kEnders];
    for (int i = 0; i < kEnders; ++i) {
      ASSERT_TRUE(windows[i].Open(i, true));
      reference[i] = DrawReferenceScenes(windows[i].hwnd, windows[i].hdc, true);
    }
    HGLRC contexts[kEnders] = {};
    // The selecting contexts keep pointing at these after their threads end.
    GLuint selections[kEnders][8] = {};
    Rendezvous meet(kEnders);
    std::thread enders[kEnders];
    for (int i = 0; i < kEnders; ++i) {
      enders[i] = std::thread([&, i] {
        ThreadWindow mine;
        if (!mine.Share(windows[i].hwnd)) return;
        contexts[i] = wglCreateContext(mine.hdc);
        wglMakeCurrent(mine.hdc, contexts[i]);
        DrawSceneFrame(mine.hdc, 1, true);
        if (i % 2) {
          glSelectBuffer(GLsizei(std::size(selections[i])), selections[i]);
          glRenderMode(GL_SELECT);
        }
        meet.Meet();  // and all end at once
      });
    }
    for (std::thread &t : enders) t.join();
    for (int i = 0; i < kEnders; ++i) {
      ASSERT_NE(contexts[i], nullptr) << i;
      EXPECT_TRUE(wglMakeCurrent(windows[i].hdc, contexts[i])) << i;
      glRenderMode(GL_RENDER);
      DrawSceneFrame(windows[i].hdc, 2, true);
      SceneDifference d = CompareScenes(reference[i][2], ReadScene(windows[i].hwnd));
      EXPECT_EQ(d.count, 0) << "context " << i << ": " << DescribeDifference(d);
      EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr));
      EXPECT_TRUE(wglDeleteContext(contexts[i])) << i;
    }
    for (ThreadWindow &w : windows) w.Close(true);
  });
  stayer.join();
}

INSTANTIATE_TEST_SUITE_P(Sets, ThreadsEndTogether, ::testing::ValuesIn(kBufferSets),
                         RowName());

}  // namespace
