// Two contexts of one share group on one thread, each on a window of its
// own, handing the engine back and forth. A context whose full reload left
// a register group out (its mode did not use it then) must send that group
// again once it uses it, even when its own words for it did not change:
// the engine meanwhile holds the other context's. Each case draws a frame
// with one group in use, lets the other context use the group differently,
// reloads the first with the group unused, and draws the first frame again.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <functional>
#include <string>

#include "platform/sis6326.h"
#include "platform/vlxdesktop.h"
#include "tests/wgl/threads/window_scene.h"

namespace {

struct Window {
  HWND hwnd = nullptr;
  HDC hdc = nullptr;
  HGLRC context = nullptr;

  bool Open(int slot) {
    hwnd = CreateSceneWindow(slot);
    hdc = hwnd ? GetDC(hwnd) : nullptr;
    if (hdc == nullptr || SetScenePixelFormat(hdc, true) == 0) return false;
    context = wglCreateContext(hdc);
    return context != nullptr;
  }
  void Close() {
    if (context) wglDeleteContext(context);
    if (hdc) ReleaseDC(hwnd, hdc);
    if (hwnd) DestroyWindow(hwnd);
  }
  bool Current() const { return wglMakeCurrent(hdc, context) != FALSE; }
  ScenePixels Show() const {
    SwapBuffers(hdc);
    return ReadScene(hwnd);
  }
};

void Square(float x, float y, float size, float z) {
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex3f(x, y, z);
  glTexCoord2f(1, 0);
  glVertex3f(x + size, y, z);
  glTexCoord2f(1, 1);
  glVertex3f(x + size, y + size, z);
  glTexCoord2f(0, 1);
  glVertex3f(x, y + size, z);
  glEnd();
}

// The shared textures the texture case binds, one per variant.
GLuint gTextures[2];

void DefineTexture(GLuint name, int tint) {
  unsigned char texels[8 * 8 * 4];
  for (int i = 0; i < 64; ++i) {
    texels[4 * i + 0] = static_cast<unsigned char>(i * 4 + tint);
    texels[4 * i + 1] = static_cast<unsigned char>(255 - i * 3);
    texels[4 * i + 2] = static_cast<unsigned char>((i % 8) * 32 + tint);
    texels[4 * i + 3] = 255;
  }
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 8, 8, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
  glBindTexture(GL_TEXTURE_2D, 0);
}

// Each case draws with its register group in use, in variant 0 or 1, and
// leaves the state as it found it.
struct Case {
  const char *name;
  std::function<void(int variant)> draw;
};

const Case kCases[] = {
    {"texture",
     [](int variant) {
       glBindTexture(GL_TEXTURE_2D, gTextures[variant]);
       glEnable(GL_TEXTURE_2D);
       glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
       glColor3f(1, 1, 1);
       Square(8, 8, 8, 0);
       glDisable(GL_TEXTURE_2D);
       glBindTexture(GL_TEXTURE_2D, 0);
     }},
    {"blend",
     [](int variant) {
       glEnable(GL_BLEND);
       if (variant == 0)
         glBlendFunc(GL_ONE, GL_ONE);
       else
         glBlendFunc(GL_ZERO, GL_SRC_COLOR);
       glColor3f(0.5f, 0.25f, 0.75f);
       Square(6, 6, 14, 0);
       glDisable(GL_BLEND);
     }},
    {"fog",
     [](int variant) {
       const GLfloat colours[2][4] = {{1, 0, 0, 1}, {0, 0, 1, 1}};
       glEnable(GL_FOG);
       glFogi(GL_FOG_MODE, GL_LINEAR);
       glFogf(GL_FOG_START, 0);
       glFogf(GL_FOG_END, 2);
       glFogfv(GL_FOG_COLOR, colours[variant]);
       glColor3f(0.25f, 0.75f, 0.25f);
       Square(6, 6, 14, -1);
       glDisable(GL_FOG);
     }},
    {"line stipple",
     [](int variant) {
       glEnable(GL_LINE_STIPPLE);
       glLineStipple(1, variant == 0 ? 0xF0F0 : 0x3333);
       glColor3f(1, 1, 0);
       glBegin(GL_LINES);
       for (int y = 4; y < 24; y += 3) {
         glVertex2f(2, float(y) + 0.5f);
         glVertex2f(38, float(y) + 0.5f);
       }
       glEnd();
       glDisable(GL_LINE_STIPPLE);
     }},
};

// A frame in pixel coordinates (eye z from 0 to -2); the case's drawing
// only when `draw` is given.
ScenePixels Frame(const Window &w, const std::function<void(int)> *draw, int variant) {
  glViewport(0, 0, kSceneWidth, kSceneHeight);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, kSceneWidth, 0, kSceneHeight, 0, 2);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_DITHER);
  glClearColor(0.25f, 0.5f, 0.25f, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  if (draw != nullptr) (*draw)(variant);
  return w.Show();
}

class EngineHandover : public ::testing::TestWithParam<Case> {};

TEST_P(EngineHandover, AGroupLeftOutOfAFullReloadIsSentWhenUsedAgain) {
  const Case &c = GetParam();
  PlatformSiS6326ClearViolations();
  Window a, b;
  ASSERT_TRUE(a.Open(0) && b.Open(1));
  ASSERT_TRUE(wglShareLists(a.context, b.context));
  ASSERT_TRUE(a.Current());
  const GLubyte *vendor = glGetString(GL_VENDOR);
  ASSERT_TRUE(vendor && std::string(reinterpret_cast<const char *>(vendor)) == "SiS");
  glGenTextures(2, gTextures);
  DefineTexture(gTextures[0], 0);
  DefineTexture(gTextures[1], 96);

  // a draws the other variant first, so that both textures are resident
  // before the frames that count.
  Frame(a, &c.draw, 1);
  const ScenePixels first = Frame(a, &c.draw, 0);
  ASSERT_TRUE(b.Current());
  const ScenePixels other = Frame(b, &c.draw, 1);
  ASSERT_NE(CompareScenes(first, other).count, 0) << "the variants must look different";
  // The engine goes back to a with the group unused, then a uses it again.
  ASSERT_TRUE(a.Current());
  Frame(a, nullptr, 0);
  const ScenePixels again = Frame(a, &c.draw, 0);
  const SceneDifference d = CompareScenes(first, again);
  EXPECT_EQ(d.count, 0) << d.count << " pixels differ, first at (" << d.x << ", " << d.y
                        << "): want 0x" << std::hex << d.want << ", got 0x" << d.got;
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

  glDeleteTextures(2, gTextures);
  wglMakeCurrent(nullptr, nullptr);
  a.Close();
  b.Close();
  SiS6326Violation v[2];
  const size_t violations = PlatformSiS6326Violations(v, 2);
  EXPECT_EQ(violations, 0u) << (violations ? std::string(v[0].rule) + ": " + v[0].what : "");
}

INSTANTIATE_TEST_SUITE_P(Groups, EngineHandover, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case> &info) {
                           std::string name;
                           for (const char *p = info.param.name; *p; ++p)
                             if (*p != ' ') name += *p;
                           return name;
                         });

}  // namespace
