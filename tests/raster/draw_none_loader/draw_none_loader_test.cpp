// With glDrawBuffer(GL_NONE) no colour buffer is drawn, so the driver does
// not lock one: every primitive kind must then leave the colour buffers
// alone rather than store through a buffer without an address (the API
// fuzzer found lines doing so).
#include <vector>

#include "tests/support/loader_windows.h"

namespace {

constexpr int kW = 24, kH = 20;

struct Primitive {
  const char *name;
  void (*draw)();
};

void Line() {
  glBegin(GL_LINES);
  glVertex2f(2.5f, 3.5f);
  glVertex2f(20.5f, 15.5f);
  glEnd();
}

void SmoothLineStrip() {
  glShadeModel(GL_SMOOTH);
  glBegin(GL_LINE_STRIP);
  glColor3f(1, 0, 0);
  glVertex2f(1.5f, 1.5f);
  glColor3f(0, 1, 0);
  glVertex2f(22.5f, 10.5f);
  glColor3f(0, 0, 1);
  glVertex2f(3.5f, 18.5f);
  glEnd();
}

void StippledWideLine() {
  glEnable(GL_LINE_STIPPLE);
  glLineStipple(1, 0xF0F0);
  glLineWidth(3);
  Line();
}

void BlendedLine() {
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  Line();
}

void Points() {
  glPointSize(4);
  glBegin(GL_POINTS);
  glVertex2f(5.5f, 5.5f);
  glVertex2f(15.5f, 12.5f);
  glEnd();
}

void Triangle() {
  glBegin(GL_TRIANGLES);
  glVertex2f(1, 1);
  glVertex2f(22, 3);
  glVertex2f(10, 18);
  glEnd();
}

void Rectangle() { glRectf(3, 3, 18, 14); }

void Bitmap() {
  static const GLubyte bits[8] = {0xFF, 0x81, 0xBD, 0xA5, 0xA5, 0xBD, 0x81, 0xFF};
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glRasterPos2i(4, 4);
  glBitmap(8, 8, 0, 0, 0, 0, bits);
}

void PixelRectangle() {
  const std::vector<GLubyte> pixels(6 * 5 * 4, 0xC0);
  glRasterPos2i(6, 6);
  glDrawPixels(6, 5, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
}

const Primitive kPrimitives[] = {
    {"Line", Line},
    {"SmoothLineStrip", SmoothLineStrip},
    {"StippledWideLine", StippledWideLine},
    {"BlendedLine", BlendedLine},
    {"Points", Points},
    {"Triangle", Triangle},
    {"Rectangle", Rectangle},
    {"Bitmap", Bitmap},
    {"PixelRectangle", PixelRectangle},
};

class DrawNone : public LoaderContext, public testing::WithParamInterface<Primitive> {};

// Both buffers hold the clear colour before and after the primitive.
TEST_P(DrawNone, LeavesBothColourBuffersAlone) {
  OpenContext(kW, kH);
  glDrawBuffer(GL_FRONT_AND_BACK);
  glClearColor(0, 0, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glDrawBuffer(GL_NONE);
  glColor3f(1, 1, 1);
  GetParam().draw();
  glFinish();
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  for (GLenum buffer : {GL_FRONT, GL_BACK}) {
    std::vector<GLubyte> shown(kW * kH * 4);
    glReadBuffer(buffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kW, kH, GL_RGBA, GL_UNSIGNED_BYTE, shown.data());
    for (int i = 0; i < kW * kH; i++) {
      ASSERT_EQ(shown[i * 4 + 0], 0) << "buffer 0x" << std::hex << buffer << " pixel " << std::dec << i;
      ASSERT_EQ(shown[i * 4 + 2], 255) << "buffer 0x" << std::hex << buffer << " pixel " << std::dec << i;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Primitives, DrawNone, testing::ValuesIn(kPrimitives),
                         [](const testing::TestParamInfo<Primitive> &info) {
                           return std::string(info.param.name);
                         });

}  // namespace
