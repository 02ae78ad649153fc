#include "tests/wgl/threads/window_scene.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <set>

namespace {

// Grid cells leave a gap, so no two windows touch.
constexpr int kColumns = 12;
constexpr int kCellWidth = kSceneWidth + 24;
constexpr int kCellHeight = kSceneHeight + 24;

// Per variant: clear colour, a turn of the pair of triangles, and whether
// the far triangle is drawn first (depth testing must sort them the same).
struct Frame {
  float clear[3];
  float degrees;
  bool farFirst;
};
const Frame kFrames[kSceneVariants] = {
    {{0.0f, 0.0f, 0.0f}, 0.0f, true},
    {{0.2f, 0.1f, 0.4f}, 35.0f, false},
    {{0.9f, 0.9f, 0.8f}, 110.0f, true},
    {{0.1f, 0.5f, 0.2f}, 250.0f, false},
};

void NearTriangle() {
  glColor3f(1.0f, 0.0f, 0.0f);
  glVertex3f(-0.9f, -0.8f, -0.5f);
  glColor3f(0.0f, 1.0f, 0.0f);
  glVertex3f(0.8f, -0.6f, 0.5f);
  glColor3f(0.0f, 0.0f, 1.0f);
  glVertex3f(-0.2f, 0.9f, 0.0f);
}

void FarTriangle() {
  glColor3f(1.0f, 1.0f, 0.0f);
  glVertex3f(-0.7f, 0.7f, 0.3f);
  glColor3f(0.0f, 1.0f, 1.0f);
  glVertex3f(0.9f, 0.5f, -0.3f);
  glColor3f(1.0f, 0.0f, 1.0f);
  glVertex3f(0.1f, -0.9f, 0.2f);
}

}  // namespace

int SceneSlotX(int slot) { return 8 + (slot % kColumns) * kCellWidth; }
int SceneSlotY(int slot) { return 8 + (slot / kColumns) * kCellHeight; }

HWND CreateSceneWindow(int slot) {
  return DesktopCreateWindow(SceneSlotX(slot), SceneSlotY(slot), kSceneWidth, kSceneHeight);
}

int SetScenePixelFormat(HDC hdc, bool doubleBuffered) {
  PIXELFORMATDESCRIPTOR wanted = {};
  wanted.nSize = sizeof wanted;
  wanted.nVersion = 1;
  wanted.dwFlags =
      PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | (doubleBuffered ? PFD_DOUBLEBUFFER : 0u);
  wanted.iPixelType = PFD_TYPE_RGBA;
  wanted.cColorBits = 16;
  wanted.cDepthBits = 16;
  int format = ChoosePixelFormat(hdc, &wanted);
  if (format == 0) return 0;
  PIXELFORMATDESCRIPTOR got = {};
  if (DescribePixelFormat(hdc, format, sizeof got, &got) == 0) return 0;
  // The swap or finish that ends a frame depends on it.
  if (((got.dwFlags & PFD_DOUBLEBUFFER) != 0) != doubleBuffered || got.cDepthBits == 0) return 0;
  return SetPixelFormat(hdc, format, &wanted) ? format : 0;
}

void DrawSceneFrame(HDC hdc, int variant, bool doubleBuffered) {
  const Frame &frame = kFrames[variant % kSceneVariants];
  glViewport(0, 0, kSceneWidth, kSceneHeight);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(-1.0, 1.0, -1.0, 1.0, -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glRotatef(frame.degrees, 0.0f, 0.0f, 1.0f);
  glShadeModel(GL_SMOOTH);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LESS);
  glClearColor(frame.clear[0], frame.clear[1], frame.clear[2], 1.0f);
  glClearDepth(1.0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glBegin(GL_TRIANGLES);
  if (frame.farFirst) {
    FarTriangle();
    NearTriangle();
  } else {
    NearTriangle();
    FarTriangle();
  }
  glEnd();
  if (doubleBuffered)
    SwapBuffers(hdc);
  else
    glFinish();
}

ScenePixels ReadScene(HWND hwnd) {
  ScenePixels pixels(size_t(kSceneWidth) * kSceneHeight);
  if (!DesktopReadWindow(hwnd, 0, 0, kSceneWidth, kSceneHeight, pixels.data())) pixels.clear();
  return pixels;
}

SceneDifference CompareScenes(const ScenePixels &want, const ScenePixels &got) {
  SceneDifference d = {0, -1, -1, 0, 0};
  if (want.size() != got.size()) {
    d.count = -1;
    return d;
  }
  for (size_t i = 0; i < want.size(); ++i) {
    if (want[i] == got[i]) continue;
    if (d.count++ == 0) {
      d.x = int(i % kSceneWidth);
      d.y = int(i / kSceneWidth);
      d.want = want[i];
      d.got = got[i];
    }
  }
  return d;
}

std::vector<ScenePixels> DrawReferenceScenes(HWND hwnd, HDC hdc, bool doubleBuffered) {
  std::vector<ScenePixels> scenes;
  HGLRC context = wglCreateContext(hdc);
  EXPECT_NE(context, nullptr);
  if (!context) return scenes;
  EXPECT_TRUE(wglMakeCurrent(hdc, context));
  for (int v = 0; v < kSceneVariants; ++v) {
    DrawSceneFrame(hdc, v, doubleBuffered);
    scenes.push_back(ReadScene(hwnd));
  }
  EXPECT_TRUE(wglMakeCurrent(nullptr, nullptr));
  EXPECT_TRUE(wglDeleteContext(context));
  // Smooth-shaded triangles give many colours; a frame of few shows only the
  // clear, and would prove nothing about drawing.
  for (int v = 0; v < kSceneVariants; ++v) {
    std::set<unsigned> colours(scenes[size_t(v)].begin(), scenes[size_t(v)].end());
    EXPECT_GE(colours.size(), 16u) << "variant " << v << " shows no shaded triangles";
  }
  // Frames that came out alike could not tell one variant from another.
  for (int v = 1; v < kSceneVariants; ++v)
    EXPECT_NE(CompareScenes(scenes[0], scenes[size_t(v)]).count, 0)
        << "variant " << v << " looks like variant 0: the scene proves nothing";
  return scenes;
}
