#include "tests/wgl/fault_sweep/sweep_scenarios.h"

#include <thread>

#include "platform/control.h"
#include "platform/gdi.h"
#include "platform/kernel.h"

namespace {

constexpr int kWidth = 32;
constexpr int kHeight = 24;
constexpr int kWindowX = 40;
constexpr int kWindowY = 40;

enum class Shape { kPoints, kLines, kLineStrip, kTriangles, kTriangleStrip, kQuads, kPolygon };

// Calls `f` with the last-error value cleared and records its result.
template <typename F>
bool Call(SweepWorld &w, const char *what, F f) {
  SetLastError(0);
  return w.Entry(f(), what);
}

PIXELFORMATDESCRIPTOR WantedFormat(const SweepWorld &w) {
  PIXELFORMATDESCRIPTOR pfd = {};
  pfd.nSize = sizeof pfd;
  pfd.nVersion = 1;
  pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL |
                (w.doubleBuffered ? DWORD(PFD_DOUBLEBUFFER) : DWORD(0));
  pfd.iPixelType = PFD_TYPE_RGBA;
  pfd.cColorBits = 16;
  pfd.cDepthBits = 16;
  return pfd;
}

bool OpenBareWindow(SweepWorld &w) {
  w.hwnd = DesktopCreateWindow(kWindowX, kWindowY, kWidth, kHeight);
  w.hdc = w.hwnd ? GetDC(w.hwnd) : nullptr;
  return w.hdc != nullptr;
}

bool OpenWindow(SweepWorld &w) {
  if (!OpenBareWindow(w)) return false;
  const PIXELFORMATDESCRIPTOR pfd = WantedFormat(w);
  const int format = ChoosePixelFormat(w.hdc, &pfd);
  return format != 0 && SetPixelFormat(w.hdc, format, &pfd);
}

bool OpenContext(SweepWorld &w) {
  if (!OpenWindow(w)) return false;
  w.rc = wglCreateContext(w.hdc);
  return w.rc != nullptr && wglMakeCurrent(w.hdc, w.rc);
}

void PixelCoordinates(int width, int height) {
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, width, 0, height, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_DITHER);
}

void ClearFrame(int width, int height) {
  PixelCoordinates(width, height);
  glClearColor(0.125f, 0.25f, 0.5f, 1.0f);
  glClearDepth(1.0);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LESS);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void DrawShape(Shape shape) {
  static const GLenum kModes[] = {GL_POINTS,    GL_LINES,          GL_LINE_STRIP, GL_TRIANGLES,
                                  GL_TRIANGLE_STRIP, GL_QUADS, GL_POLYGON};
  static const float kVertices[][3] = {{2.5f, 2.5f, 0.5f},   {28.5f, 4.5f, -0.5f},
                                       {24.5f, 20.5f, 0.0f}, {4.5f, 18.5f, 0.25f},
                                       {14.5f, 10.5f, -0.25f}, {9.5f, 21.5f, 0.0f}};
  glShadeModel(GL_SMOOTH);
  glPointSize(2.0f);
  glBegin(kModes[int(shape)]);
  for (int i = 0; i < 6; ++i) {
    glColor3f(i & 1 ? 1.0f : 0.25f, i & 2 ? 1.0f : 0.0f, i & 4 ? 0.75f : 0.0f);
    glVertex3fv(kVertices[i]);
  }
  glEnd();
}

// A 1:1 nearest-sampled texture replaces the colour: every path samples the
// same texels, so the chip and the software agree exactly.
void DrawTextured(GLuint texture) {
  glBindTexture(GL_TEXTURE_2D, texture);
  glEnable(GL_TEXTURE_2D);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex2f(4, 4);
  glTexCoord2f(1, 0);
  glVertex2f(20, 4);
  glTexCoord2f(1, 1);
  glVertex2f(20, 20);
  glTexCoord2f(0, 1);
  glVertex2f(4, 20);
  glEnd();
  glDisable(GL_TEXTURE_2D);
}

void DefineTexture(GLuint texture) {
  unsigned char texels[16 * 16 * 4];
  for (int i = 0; i < 16 * 16; ++i) {
    texels[4 * i + 0] = static_cast<unsigned char>(i * 16);
    texels[4 * i + 1] = static_cast<unsigned char>(255 - i);
    texels[4 * i + 2] = static_cast<unsigned char>((i / 16) * 16);
    texels[4 * i + 3] = 255;
  }
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 16, 16, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
}

// Ends the frame: a swap or a finish, then the errors the frame left.
void EndFrame(SweepWorld &w) {
  if (!w.GlErrors("drawing")) return;
  // A swap whose surfaces were lost restores them and gives FALSE without
  // a word: its result is not held to the reporting rule, but a FALSE swap
  // has told the application that the frame is not shown.
  if (w.doubleBuffered) {
    if (!SwapBuffers(w.hdc)) w.reportedFailure = true;
  } else
    glFinish();
  w.GlErrors("the end of the frame");
}

void DrawFrame(SweepWorld &w, Shape shape) {
  ClearFrame(kWidth, kHeight);
  DrawShape(shape);
  EndFrame(w);
}

bool CreateAndBind(SweepWorld &w) {
  if (!Call(w, "wglCreateContext", [&] { return (w.rc = wglCreateContext(w.hdc)) != nullptr; }))
    return false;
  return Call(w, "wglMakeCurrent", [&] { return wglMakeCurrent(w.hdc, w.rc) != FALSE; });
}

// ---- Prepares ------------------------------------------------------------------------------

bool PrepareWindow(SweepWorld &w) { return OpenWindow(w); }
bool PrepareContext(SweepWorld &w) { return OpenContext(w); }

// The driver is loaded by the act's first call that needs it.
bool PrepareUnloaded(SweepWorld &w) {
  VlxGlUnloadDriver();
  return OpenBareWindow(w);
}

bool PrepareTexture(SweepWorld &w) {
  if (!OpenContext(w)) return false;
  glGenTextures(1, &w.texture);
  DefineTexture(w.texture);
  return glGetError() == GL_NO_ERROR;
}

bool PrepareBackBuffer(SweepWorld &w) {
  if (!OpenContext(w)) return false;
  DrawFrame(w, Shape::kTriangles);
  ClearFrame(kWidth, kHeight);
  DrawShape(Shape::kQuads);
  return w.problems.empty() && !w.reportedFailure;
}

// ---- Acts -----------------------------------------------------------------------------------

void ActCreateBind(SweepWorld &w) {
  if (CreateAndBind(w)) DrawFrame(w, Shape::kTriangles);
}

void ActAttach(SweepWorld &w) {
  const PIXELFORMATDESCRIPTOR pfd = WantedFormat(w);
  int format = 0;
  if (!Call(w, "ChoosePixelFormat", [&] { return (format = ChoosePixelFormat(w.hdc, &pfd)) != 0; }))
    return;
  if (!Call(w, "SetPixelFormat", [&] { return SetPixelFormat(w.hdc, format, &pfd) != FALSE; }))
    return;
  ActCreateBind(w);
}

template <Shape S>
void ActDraw(SweepWorld &w) {
  DrawFrame(w, S);
}

void ActDrawPixels(SweepWorld &w) {
  unsigned char pixels[8 * 6 * 3];
  for (int i = 0; i < 8 * 6 * 3; ++i) pixels[i] = static_cast<unsigned char>(i * 37);
  ClearFrame(kWidth, kHeight);
  glRasterPos2i(3, 5);
  glDrawPixels(8, 6, GL_RGB, GL_UNSIGNED_BYTE, pixels);
  static const GLubyte kBitmap[8] = {0xff, 0x81, 0xbd, 0xa5, 0xa5, 0xbd, 0x81, 0xff};
  glColor3f(1, 1, 0);
  glRasterPos2i(20, 10);
  glBitmap(8, 8, 0, 0, 0, 0, kBitmap);
  EndFrame(w);
}

void ActReadPixels(SweepWorld &w) {
  ClearFrame(kWidth, kHeight);
  DrawShape(Shape::kTriangles);
  unsigned char rgba[kWidth * kHeight * 4];
  glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  float depth[kWidth];
  glReadPixels(0, 4, kWidth, 1, GL_DEPTH_COMPONENT, GL_FLOAT, depth);
  if (!w.GlErrors("reading")) return;
  // Copies the bottom half up: the frame shows what was read.
  glDisable(GL_DEPTH_TEST);
  glRasterPos2i(0, kHeight / 2);
  glDrawPixels(kWidth, kHeight / 2, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  EndFrame(w);
}

void ActTextureDefine(SweepWorld &w) {
  glGenTextures(1, &w.texture);
  DefineTexture(w.texture);
  if (!w.GlErrors("defining the texture")) return;
  ClearFrame(kWidth, kHeight);
  DrawTextured(w.texture);
  EndFrame(w);
}

void ActTextureResidency(SweepWorld &w) {
  const GLclampf priority = 1.0f;
  glPrioritizeTextures(1, &w.texture, &priority);
  ClearFrame(kWidth, kHeight);
  DrawTextured(w.texture);
  GLboolean resident = GL_FALSE;
  glAreTexturesResident(1, &w.texture, &resident);
  EndFrame(w);
}

void ActListCompile(SweepWorld &w) {
  w.list = glGenLists(1);
  if (!w.GlErrors("glGenLists")) return;
  glNewList(w.list, GL_COMPILE);
  DrawShape(Shape::kTriangles);
  DrawShape(Shape::kLines);
  glEndList();
  if (!w.GlErrors("compiling")) return;
  ClearFrame(kWidth, kHeight);
  glCallList(w.list);
  EndFrame(w);
}

// Held to no reporting rule, as at the end of a frame.
void ActSwap(SweepWorld &w) {
  if (!SwapBuffers(w.hdc)) w.reportedFailure = true;
}

void ActResize(SweepWorld &w) {
  if (!Call(w, "MoveWindow", [&] {
        return MoveWindow(w.hwnd, kWindowX + 8, kWindowY + 4, kWidth + 12, kHeight + 6, TRUE) !=
               FALSE;
      }))
    return;
  ClearFrame(kWidth + 12, kHeight + 6);
  DrawShape(Shape::kTriangles);
  EndFrame(w);
}

void ActDisplayMode(SweepWorld &w) {
  w.modeChanged = true;
  if (!Call(w, "DesktopSetDisplayMode", [] { return DesktopSetDisplayMode(32, 1024, 768) != 0; }))
    return;
  DesktopPumpMessages();
  DrawFrame(w, Shape::kTriangles);
}

void ActThreadAttach(SweepWorld &w) {
  std::thread drawer([&] {
    if (!Call(w, "wglMakeCurrent", [&] { return wglMakeCurrent(w.hdc, w.rc) != FALSE; })) return;
    DrawFrame(w, Shape::kTriangles);
    Call(w, "wglMakeCurrent(release)", [] { return wglMakeCurrent(nullptr, nullptr) != FALSE; });
  });
  drawer.join();
}

bool PrepareReleased(SweepWorld &w) {
  if (!OpenContext(w)) return false;
  return wglMakeCurrent(nullptr, nullptr) != FALSE;
}

}  // namespace

bool SweepWorld::Entry(bool ok, const char *what) {
  if (ok) return true;
  reportedFailure = true;
  // Entries report through the last-error value; procedures below them (a
  // swap's blit) through the driver's message.
  if (GetLastError() == 0 && PlatformDebugOutput(nullptr, 0) == 0)
    problems.push_back(std::string(what) + " failed without a last-error value or a message");
  return false;
}

bool SweepWorld::GlErrors(const char *what) {
  bool none = true;
  for (int i = 0; i < 16; ++i) {
    const GLenum e = glGetError();
    if (e == GL_NO_ERROR) break;
    none = false;
    reportedFailure = true;
    if (e != GL_INVALID_ENUM && e != GL_INVALID_VALUE && e != GL_INVALID_OPERATION &&
        e != GL_STACK_OVERFLOW && e != GL_STACK_UNDERFLOW && e != GL_OUT_OF_MEMORY)
      problems.push_back(std::string(what) + " gave an error that is no OpenGL error: " +
                         std::to_string(e));
  }
  return none;
}

void SweepWorld::Release() {
  wglMakeCurrent(nullptr, nullptr);
  if (rc) wglDeleteContext(rc);
  if (hdc) ReleaseDC(hwnd, hdc);
  if (hwnd) DestroyWindow(hwnd);
  rc = nullptr;
  hdc = nullptr;
  hwnd = nullptr;
  if (modeChanged) DesktopSetDisplayMode(16, 1024, 768);
  modeChanged = false;
}

std::vector<unsigned> SweepReadFrame(HWND hwnd) {
  RECT r = {};
  if (!GetClientRect(hwnd, &r)) return {};
  std::vector<unsigned> pixels(size_t(r.right) * size_t(r.bottom));
  if (pixels.empty() || !DesktopReadWindow(hwnd, 0, 0, r.right, r.bottom, pixels.data()))
    pixels.clear();
  return pixels;
}

const SweepScenario kSweepScenarios[] = {
    {"CreateBind", true, PrepareWindow, ActCreateBind},
    {"Points", true, PrepareContext, ActDraw<Shape::kPoints>},
    {"Lines", true, PrepareContext, ActDraw<Shape::kLines>},
    {"LineStrip", true, PrepareContext, ActDraw<Shape::kLineStrip>},
    {"Triangles", true, PrepareContext, ActDraw<Shape::kTriangles>},
    {"TriangleStrip", true, PrepareContext, ActDraw<Shape::kTriangleStrip>},
    {"Quads", true, PrepareContext, ActDraw<Shape::kQuads>},
    {"Polygon", true, PrepareContext, ActDraw<Shape::kPolygon>},
    {"PixelsAndBitmap", true, PrepareContext, ActDrawPixels},
    {"FrontBuffer", false, PrepareContext, ActDraw<Shape::kTriangles>},
    {"ReadBuffers", true, PrepareContext, ActReadPixels},
    {"TextureDefine", true, PrepareContext, ActTextureDefine},
    {"TextureResidency", true, PrepareTexture, ActTextureResidency},
    {"ListCompile", true, PrepareContext, ActListCompile},
    {"Swap", true, PrepareBackBuffer, ActSwap},
    {"Resize", true, PrepareContext, ActResize},
    {"DisplayMode", true, PrepareContext, ActDisplayMode},
    {"ProcessAttach", true, PrepareUnloaded, ActAttach},
    {"ThreadAttach", true, PrepareReleased, ActThreadAttach},
};
const size_t kSweepScenarioCount = sizeof kSweepScenarios / sizeof kSweepScenarios[0];
