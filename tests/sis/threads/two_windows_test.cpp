// Two threads, each with its own SiS context and window, drawing hardware
// triangles at once for many frames through the whole road: every frame of
// each window equals the frame that context draws when it runs alone, the
// model records no violation, and the decoded log holds no primitive whose
// words another thread's stores broke into.
#include <gtest/gtest.h>
#include <math.h>

#include <GL/gl.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/sis6326.h"
#include "platform/vlxdesktop.h"

namespace {

constexpr int kFrames = 24;
constexpr int kWidth = 48, kHeight = 40;

using Frames = std::vector<std::vector<uint32_t>>;

// Frame `frame` of drawer `who`: a fan of smooth triangles turned by the
// frame number over a depth-tested backdrop, all on the hardware.
void DrawFrame(int who, int frame) {
  glViewport(0, 0, kWidth, kHeight);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, kWidth, 0, kHeight, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glEnable(GL_DEPTH_TEST);
  glShadeModel(GL_SMOOTH);
  glClearColor(0.1f * float(who + 1), 0.2f, 0.3f, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  const float turn = 0.21f * float(frame) * (who ? -1.0f : 1.0f);
  glBegin(GL_TRIANGLES);
  for (int i = 0; i < 12; i++) {
    const float a = turn + 0.5236f * float(i), b = a + 0.45f;
    glColor3f(1, float(i) / 12, float(who));
    glVertex3f(24.3f, 20.1f, -0.2f);
    glColor3f(0.2f, 0.9f, float(i % 3) / 2);
    glVertex3f(24.3f + 18.7f * cosf(a), 20.1f + 17.2f * sinf(a), -0.7f);
    glColor3f(0.5f, 0.1f, 0.9f);
    glVertex3f(24.3f + 18.7f * cosf(b), 20.1f + 17.2f * sinf(b), 0.4f);
  }
  glEnd();
}

// One drawer: a window of its own, a context on it, every frame drawn,
// swapped and read back from the screen. `start` holds both drawers until
// each has its window.
void Drawer(int who, Frames *frames, std::atomic<int> *ready, std::string *failure) {
  HWND hwnd = DesktopCreateWindow(40 + who * 120, 60, kWidth, kHeight);
  HDC hdc = hwnd ? GetDC(hwnd) : nullptr;
  PIXELFORMATDESCRIPTOR wanted{};
  wanted.nSize = sizeof wanted;
  wanted.nVersion = 1;
  wanted.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  wanted.iPixelType = PFD_TYPE_RGBA;
  wanted.cColorBits = 16;
  wanted.cDepthBits = 16;
  const int format = hdc ? ChoosePixelFormat(hdc, &wanted) : 0;
  PIXELFORMATDESCRIPTOR got{};
  HGLRC context = nullptr;
  if (format && DescribePixelFormat(hdc, format, sizeof got, &got) &&
      SetPixelFormat(hdc, format, &got))
    context = wglCreateContext(hdc);
  ready->fetch_add(1);
  while (ready->load() < 2) std::this_thread::yield();
  if (!context || !wglMakeCurrent(hdc, context)) {
    *failure = "drawer " + std::to_string(who) + ": no window or context";
  } else {
    const GLubyte *vendor = glGetString(GL_VENDOR);
    if (!vendor || std::string(reinterpret_cast<const char *>(vendor)) != "SiS")
      *failure = "drawer " + std::to_string(who) + ": not the SiS device";
    for (int f = 0; f < kFrames && failure->empty(); f++) {
      DrawFrame(who, f);
      std::vector<uint32_t> argb(size_t(kWidth) * kHeight);
      if (!SwapBuffers(hdc) || !DesktopReadWindow(hwnd, 0, 0, kWidth, kHeight, argb.data()))
        *failure = "drawer " + std::to_string(who) + ": swap or read failed";
      frames->push_back(argb);
    }
    wglMakeCurrent(nullptr, nullptr);
  }
  if (context) wglDeleteContext(context);
  if (hdc) ReleaseDC(hwnd, hdc);
  if (hwnd) DestroyWindow(hwnd);
}

// The log's events since the last drain; their count.
size_t DrainLog(std::vector<SiS6326Event> *events) {
  std::vector<SiS6326Event> chunk(4096);
  size_t taken = 0;
  while (size_t n = PlatformSiS6326TakeLog(chunk.data(), chunk.size())) {
    if (events) events->insert(events->end(), chunk.begin(), chunk.begin() + long(n));
    taken += n;
  }
  return taken;
}

TEST(TwoThreadsTwoWindows, EachWindowGetsTheFramesItsContextDrawsAlone) {
  PlatformSiS6326SetLogging(TRUE);
  // Each drawer alone, one after the other.
  Frames alone[2];
  for (int who = 0; who < 2; who++) {
    std::atomic<int> ready{1};
    std::string failure;
    std::thread t(Drawer, who, &alone[who], &ready, &failure);
    t.join();
    ASSERT_EQ(failure, "");
    ASSERT_EQ(alone[who].size(), size_t(kFrames));
  }
  DrainLog(nullptr);
  PlatformSiS6326ClearViolations();
  const size_t droppedBefore = PlatformSiS6326LogDropped();

  // Both at once.
  Frames together[2];
  std::atomic<int> ready{0};
  std::string failures[2];
  std::thread a(Drawer, 0, &together[0], &ready, &failures[0]);
  std::thread b(Drawer, 1, &together[1], &ready, &failures[1]);
  a.join();
  b.join();
  ASSERT_EQ(failures[0], "");
  ASSERT_EQ(failures[1], "");

  for (int who = 0; who < 2; who++) {
    ASSERT_EQ(together[who].size(), size_t(kFrames));
    for (int f = 0; f < kFrames; f++)
      EXPECT_TRUE(together[who][f] == alone[who][f]) << "drawer " << who << ", frame " << f;
  }

  SiS6326Violation v[4];
  const size_t violations = PlatformSiS6326Violations(v, 4);
  EXPECT_EQ(violations, 0u) << (violations ? std::string(v[0].rule) + ": " + v[0].what : "");
  std::vector<SiS6326Event> events;
  DrainLog(&events);
  EXPECT_EQ(PlatformSiS6326LogDropped(), droppedBefore) << "the log overflowed";
  size_t primitives = 0, broken = 0;
  for (const SiS6326Event &e : events) {
    if (e.kind == SIS6326_EVENT_PRIMITIVE) primitives++;
    if (e.flags & (SIS6326_FLAG_MALFORMED | SIS6326_FLAG_UNCOVERED)) broken++;
  }
  EXPECT_GE(primitives, size_t(2 * kFrames * 12)) << "the triangles did not go to the chip";
  EXPECT_EQ(broken, 0u) << "events with interleaved, malformed or uncovered words";
}

}  // namespace
