// A thread that ends with its context current leaves it current nowhere,
// whatever the context was doing: also in selection, feedback and inside
// glBegin, where the core refuses to let go. The drawable loses the
// thread's reference (freed with its mutex when the window already went),
// and the core no longer points at it.
#include <future>
#include <iterator>
#include <string>
#include <thread>

#include "core/context.h"
#include "core/current.h"
#include "core/gl_api.h"
#include "platform/vlxdesktop.h"
#include "tests/wgl/attach/attach_fixture.h"
#include "wgl/wgl_attach.h"
#include "wgl/wgl_context_list.h"
#include "wgl/wgl_drawable_list.h"
#include "wgl/wgl_entries.h"

namespace attach_test {
namespace {

enum Doing { kRendering, kSelecting, kFeedback, kInsideBegin };

struct EndingCase {
  const char *name;
  Doing doing;
  bool windowGoesFirst;  // the window is destroyed while the thread is bound
};

const EndingCase kEndings[] = {
    {"Rendering", kRendering, false},
    {"Selecting", kSelecting, false},
    {"InFeedback", kFeedback, false},
    {"InsideBegin", kInsideBegin, false},
    {"RenderingWindowGone", kRendering, true},
    {"SelectingWindowGone", kSelecting, true},
    {"InsideBeginWindowGone", kInsideBegin, true},
};

GLuint gSelection[64];
GLfloat gFeedback[256];

void Enter(Doing doing) {
  switch (doing) {
    case kSelecting:
      glSelectBuffer(GLsizei(std::size(gSelection)), gSelection);
      glRenderMode(GL_SELECT);
      break;
    case kFeedback:
      glFeedbackBuffer(GLsizei(std::size(gFeedback)), GL_3D, gFeedback);
      glRenderMode(GL_FEEDBACK);
      break;
    case kInsideBegin:
      glBegin(GL_TRIANGLES);
      glVertex2f(0.0f, 0.0f);
      break;
    case kRendering: break;
  }
}

void Leave(Doing doing) {
  switch (doing) {
    case kSelecting:
    case kFeedback: glRenderMode(GL_RENDER); break;
    case kInsideBegin: glEnd(); break;
    case kRendering: break;
  }
}

// A window with the test's pixel format set, and a context for it (handle 0
// when anything failed).
struct WindowContext {
  HWND window = nullptr;
  HDC hdc = nullptr;
  DHGLRC handle = 0;
};

WindowContext CreateWindowContext() {
  WindowContext w;
  w.window = DesktopCreateWindow(20, 20, 32, 24);
  w.hdc = GetDC(w.window);
  if (PlatformSetPixelFormatNumber(w.hdc, kFormat) && DrvSetPixelFormat(w.hdc, kFormat))
    w.handle = DrvCreateContext(w.hdc);
  return w;
}

class ThreadEndsWithContextCurrent : public AttachTest,
                                     public ::testing::WithParamInterface<EndingCase> {};

TEST_P(ThreadEndsWithContextCurrent, ContextIsCurrentNowhere) {
  const EndingCase &c = GetParam();
  PlatformHeapStats heap = PlatformGetHeapStats();
  ASSERT_TRUE(DllMain(nullptr, 1, nullptr));
  const auto [window, hdc, handle] = CreateWindowContext();
  ASSERT_NE(handle, 0u);
  WglContext *record = __wglFindWGLContext(uint32_t(handle));
  ASSERT_NE(record, nullptr);
  WglDrawablePrivate *drawable = __wglFindDrawablePrivate(WGL_FIND_BY_WINDOW, window);
  ASSERT_NE(drawable, nullptr);

  std::promise<bool> boundPromise;
  std::promise<void> goOn;
  std::future<bool> bound = boundPromise.get_future();
  GLenum modeAtEnd = 0;
  BOOL detached = FALSE;
  std::thread worker([&] {
    PlatformAttachThread();
    DllMain(nullptr, 2, nullptr);
    bool ok = DrvSetContext(hdc, handle, nullptr) != nullptr;
    if (ok) Enter(c.doing);
    modeAtEnd = __glGetTLSCXValue()->renderMode;
    boundPromise.set_value(ok);
    goOn.get_future().wait();
    detached = DllMain(nullptr, 3, nullptr);
  });
  ASSERT_TRUE(bound.get());
  EXPECT_EQ(record->current, 1);
  EXPECT_EQ(drawable->refcount, 2);
  if (c.windowGoesFirst) {
    DestroyWindow(window);
    EXPECT_EQ(drawable->refcount, 1);
    EXPECT_EQ(drawable->hwnd, nullptr);
  }
  goOn.set_value();
  worker.join();
  EXPECT_TRUE(detached);
  if (c.doing == kSelecting) {
    EXPECT_EQ(modeAtEnd, GLenum(GL_SELECT));
  }

  EXPECT_EQ(record->current, 0);
  EXPECT_EQ(record->ownerThread, -1);
  EXPECT_EQ(record->drawable, nullptr);
  EXPECT_EQ(record->hwnd, nullptr);
  EXPECT_EQ(record->gc->drawablePrivate, nullptr);
  if (c.windowGoesFirst) {
    // The thread held the last reference: the record went with its mutex.
    EXPECT_EQ(wglPrivListEnd.next, nullptr);
  } else {
    EXPECT_EQ(drawable->refcount, 1);
    // Current nowhere: this thread binds it, finishes what the other thread
    // left, and deletes it.
    ASSERT_NE(DrvSetContext(hdc, handle, nullptr), nullptr);
    EXPECT_EQ(record->ownerThread, int32_t(GetCurrentThreadId()));
    Leave(c.doing);
    EXPECT_TRUE(DrvReleaseContext(handle));
    DestroyWindow(window);
  }
  EXPECT_TRUE(DrvDeleteContext(handle));
  ASSERT_TRUE(DllMain(nullptr, 0, nullptr));
  EXPECT_EQ(PlatformGetHeapStats().liveBlocks, heap.liveBlocks);
}

INSTANTIATE_TEST_SUITE_P(Modes, ThreadEndsWithContextCurrent, ::testing::ValuesIn(kEndings),
                         [](const auto &info) { return std::string(info.param.name); });

// The process detaches on a thread whose context is still current, in a
// mode where the core refuses to let go: nothing is left behind.
TEST_F(AttachTest, ProcessDetachWithContextCurrentOnCaller) {
  PlatformHeapStats heap = PlatformGetHeapStats();
  ASSERT_TRUE(DllMain(nullptr, 1, nullptr));
  const auto [window, hdc, handle] = CreateWindowContext();
  ASSERT_NE(handle, 0u);
  ASSERT_NE(DrvSetContext(hdc, handle, nullptr), nullptr);
  Enter(kSelecting);
  ASSERT_TRUE(DllMain(nullptr, 0, nullptr));
  EXPECT_EQ(__glGetTLSCXValue(), __wglInvalidGC);
  EXPECT_EQ(glrcListEnd.next, nullptr);
  EXPECT_EQ(wglPrivListEnd.next, nullptr);
  DestroyWindow(window);
  EXPECT_EQ(PlatformGetHeapStats().liveBlocks, heap.liveBlocks);
}

}  // namespace
}  // namespace attach_test
