#include "tests/pixels/tex_draw/tex_draw_fixture.h"

#include <math.h>

#include <sstream>

#include "core/context.h"
#include "core/gl_api.h"
#include "raster/s_triangle.h"
#include "tests/support/counting_imports.h"

namespace tex_draw_test {

bool TexDrawTest::Open(const ColorFormat &f, int32_t w, int32_t h) {
  format = f;
  width = w, height = h;
  GlModes m = TestModes(f.rgba, true, 16, 8, false);
  SetFormatModes(&m, f);
  if (!OpenWindow(m, f.colorBits, w, h, false)) {
    ADD_FAILURE() << "no context for " << f.name;
    return false;
  }
  glViewport(0, 0, w, h);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, w, 0, h, 0, -1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  return true;
}

void TexDrawTest::Load(const ModelTexture &tex) {
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  for (size_t k = 0; k < tex.levels.size(); k++) {
    const ModelLevel &l = tex.levels[k];
    glTexImage2D(GL_TEXTURE_2D, GLint(k), GL_RGBA, l.width, l.height, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, l.texels.data());
  }
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GLint(tex.minFilter));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GLint(tex.magFilter));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GLint(tex.wrapS));
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GLint(tex.wrapT));
  GLfloat border[4];
  for (int c = 0; c < 4; c++) border[c] = GLfloat(tex.border[size_t(c)]) / 255;
  glTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, border);
}

void TexDrawTest::Clear() {
  glClearColor(0.3f, 0.1f, 0.7f, 0.6f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
  cleared = colorMemory->Read(0, 0);
}

Channels TexDrawTest::Pixel(int32_t x, int32_t y) {
  const uint32_t pixel = colorMemory->Read(x, y);
  Channels c{};
  for (size_t i = 0; i < 4; i++) {
    const uint32_t mask = format.masks[i];
    c[i] = mask ? (pixel & mask) >> __builtin_ctz(mask) : 0;
  }
  return c;
}

Channels TexDrawTest::Stored(const Texel &t) const {
  Channels c{};
  for (size_t i = 0; i < 4; i++) {
    if (!format.masks[i]) continue;
    const double max = double((1u << format.bits[i]) - 1);
    c[i] = uint32_t(floor(double(t[i]) * max / 255 + 0.5));
  }
  return c;
}

bool TexDrawTest::GenericFill() const { return gc->procs.fillTriangle == __glFillTriangle; }

std::string Show(const Channels &c) {
  std::ostringstream os;
  os << "(" << c[0] << ", " << c[1] << ", " << c[2] << ", " << c[3] << ")";
  return os.str();
}

}  // namespace tex_draw_test
