// Generated coordinates through the entries: the raster position's and
// feedback's, under state that needs nothing else of a vertex (no texture
// bound, no lighting, no fog).
#include <vector>

#include "core/gl_get_enums.h"
#include "tests/pixels/tex_params/tex_param_fixture.h"

namespace tex_param_test {
namespace {

// s eye-linear, t object-linear, q eye-linear (q = -z in the eye), under a
// translated model-view matrix and a texture matrix that doubles s.
class GeneratedTest : public TexParamTest {
 protected:
  void SetUp() override {
    TexParamTest::SetUp();
    const GLfloat sEye[4] = {1, 0, 0, 0.5f}, tObj[4] = {0, 1, 0, 0}, qEye[4] = {0, 0, -1, 0};
    glTexGenfv(GL_S, GL_EYE_PLANE, sEye);
    glTexGenfv(GL_T, GL_OBJECT_PLANE, tObj);
    glTexGenfv(GL_Q, GL_EYE_PLANE, qEye);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    glTexGeni(GL_Q, GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_GEN_Q);
    glMatrixMode(GL_TEXTURE);
    glScalef(2, 1, 1);
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(0.25f, 0, -0.5f);
    glTexCoord4f(9, 9, 0.75f, 9);
    ASSERT_EQ(Error(), GLenum(GL_NO_ERROR));
  }
  // For the object point (x, y, z): eye (x + 0.25, y, z - 0.5).
  static std::vector<GLfloat> Expected(GLfloat x, GLfloat y, GLfloat z) {
    return {2 * (x + 0.25f + 0.5f), y, 0.75f, -(z - 0.5f)};
  }
};

TEST_F(GeneratedTest, RasterPositionTakesGeneratedCoordinates) {
  const GLfloat points[][3] = {{0.1f, 0.2f, 0.3f}, {-0.5f, 0.4f, -0.2f}};
  for (const auto &p : points) {
    glRasterPos3f(p[0], p[1], p[2]);
    GLfloat tex[4];
    glGetFloatv(GL_CURRENT_RASTER_TEXTURE_COORDS, tex);
    const std::vector<GLfloat> want = Expected(p[0], p[1], p[2]);
    for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(tex[i], want[i]) << p[0] << " coord " << i;
  }
}

TEST_F(GeneratedTest, FeedbackReportsGeneratedCoordinates) {
  GLfloat buffer[64] = {};
  glFeedbackBuffer(64, GL_3D_COLOR_TEXTURE, buffer);
  glRenderMode(GL_FEEDBACK);
  glBegin(GL_POINTS);
  glVertex3f(0.1f, 0.2f, 0.3f);
  glVertex3f(-0.5f, 0.4f, -0.2f);
  glEnd();
  const GLint values = glRenderMode(GL_RENDER);
  ASSERT_EQ(Error(), GLenum(GL_NO_ERROR));
  ASSERT_EQ(values, 2 * 12);  // token, x y z, r g b a, s t r q
  const GLfloat points[][3] = {{0.1f, 0.2f, 0.3f}, {-0.5f, 0.4f, -0.2f}};
  for (int i = 0; i < 2; ++i) {
    const GLfloat *rec = buffer + i * 12;
    EXPECT_EQ(rec[0], GLfloat(GL_POINT_TOKEN));
    const std::vector<GLfloat> want = Expected(points[i][0], points[i][1], points[i][2]);
    for (int k = 0; k < 4; ++k) EXPECT_FLOAT_EQ(rec[8 + k], want[k]) << "vertex " << i << " " << k;
  }
}

}  // namespace
}  // namespace tex_param_test
