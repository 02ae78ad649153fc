// __glCalcTexture: the vertex's texture coordinates through the current
// texture matrix, whatever transform procedure the matrix's type chose, and
// nothing else of the vertex touched.
#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include "pixels/px_texgen.h"
#include "tests/geometry/rpos/rpos_fixture.h"

namespace rpos_test {
namespace {

struct MatrixCase {
  const char *what;
  void (*load)();
  GLfloat matrix[16];  // what the load leaves, column-major
};

const MatrixCase kMatrices[] = {
    {"identity", [] { glLoadIdentity(); }, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}},
    {"scale and translate",
     [] {
       glLoadIdentity();
       glTranslatef(0.5f, -0.25f, 2);
       glScalef(2, 4, 0.5f);
     },
     {2, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0.5f, 0, 0.5f, -0.25f, 2, 1}},
    {"general",
     [] {
       const GLfloat m[16] = {2, 0.5f, 0, 0.25f, 0, 3, 0.1f, 0, 1, 0, 0.5f, 0.5f, 0.125f, -1, 0, 2};
       glLoadMatrixf(m);
     },
     {2, 0.5f, 0, 0.25f, 0, 3, 0.1f, 0, 1, 0, 0.5f, 0.5f, 0.125f, -1, 0, 2}},
};

const double kCoords[][4] = {{0.25, 0.5, 0.75, 1}, {-3, 1e-3, 7, 2}, {0, 0, 0, 0}, {1, 1, 1, -0.5}};

class CalcTexture : public RasterPosTest {};

TEST_F(CalcTexture, TheCoordinatesGoThroughTheTextureMatrix) {
  for (const MatrixCase &m : kMatrices) {
    SCOPED_TRACE(m.what);
    glMatrixMode(GL_TEXTURE);
    m.load();
    glMatrixMode(GL_MODELVIEW);
    for (const auto &tc : kCoords) {
      GlVertex v;
      memset(&v, 0x5A, sizeof v);
      v.texture = GlCoord{GLfloat(tc[0]), GLfloat(tc[1]), GLfloat(tc[2]), GLfloat(tc[3])};
      GlVertex before = v;
      __glCalcTexture(gc, &v);
      double want[4];
      Transform(m.matrix, tc, want);
      const GLfloat *got = &v.texture.x;
      for (int i = 0; i < 4; ++i) EXPECT_NEAR(got[i], want[i], 1e-6 * (1 + fabs(want[i]))) << i;
      before.texture = v.texture;
      EXPECT_TRUE(Same(v, before)) << "only the texture coordinates change";
    }
  }
}

}  // namespace
}  // namespace rpos_test
