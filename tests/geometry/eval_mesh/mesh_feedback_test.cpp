// Meshes drawn in feedback mode give the records of their naive expansion
// into glBegin, glEvalCoord and glEnd, value for value.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <string>

#include "tests/geometry/eval_maps/eval_reference.h"
#include "tests/geometry/eval_mesh/mesh_expansion.h"
#include "tests/geometry/select_feedback/sf_fixture.h"

namespace eval_test {
namespace {

void Begin(GLenum mode) { glBegin(mode); }
void End() { glEnd(); }
void Coord1(GLfloat u) { glEvalCoord1f(u); }
void Coord2(GLfloat u, GLfloat v) { glEvalCoord2f(u, v); }
const Expansion kApi = {Begin, End, Coord1, Coord2};

constexpr size_t kVertexFloats = 12;  // GL_4D_COLOR_TEXTURE in RGBA

class MeshFeedback : public sf_test::SelectFeedbackTest {
 protected:
  void Bound() override {
    SelectFeedbackTest::Bound();
    // A wavy sheet across the window, coloured and textured.
    RefMap sheet;
    sheet.k = 3;
    sheet.uOrder = 4;
    sheet.vOrder = 3;
    const std::vector<double> z = SomePoints(12, 3u, 0.9);
    for (int i = 0; i < 4; ++i)
      for (int j = 0; j < 3; ++j)
        sheet.points.insert(sheet.points.end(),
                            {4.0 + 18 * i, 3.0 + 20 * j, z[size_t(i * 3 + j)]});
    Load(GL_MAP2_VERTEX_3, sheet);
    Load1(GL_MAP1_VERTEX_3, {4, 3, 0.5, 30, 40, -0.25, 60, 5, 0});
    RefMap color;
    color.k = 4;
    color.uOrder = color.vOrder = 2;
    color.points = {1, 0, 0, 1, 0, 1, 0, 0.5, 0, 0, 1, 1, 0.5, 0.5, 0.5, 0.25};
    Load(GL_MAP2_COLOR_4, color);
    Load1(GL_MAP1_COLOR_4, {1, 0, 0, 1, 0, 0, 1, 0.5});
    RefMap tex;
    tex.k = 2;
    tex.uOrder = 3;
    tex.vOrder = 2;
    tex.points = SomePoints(12, 8u, 2.0);
    Load(GL_MAP2_TEXTURE_COORD_2, tex);
    for (GLenum target : {GL_MAP2_VERTEX_3, GL_MAP2_COLOR_4, GL_MAP2_TEXTURE_COORD_2,
                          GL_MAP1_VERTEX_3, GL_MAP1_COLOR_4})
      glEnable(target);
    glShadeModel(GL_SMOOTH);
  }
  static void Load(GLenum target, const RefMap &m) {
    const std::vector<GLfloat> p(m.points.begin(), m.points.end());
    glMap2f(target, 0, 1, m.vOrder * m.k, m.uOrder, 0, 1, m.k, m.vOrder, p.data());
  }
  static void Load1(GLenum target, const std::vector<GLfloat> &p) {
    const GLint k = __glEvalComputeK(target);
    glMap1f(target, 0, 1, k, GLint(p.size()) / k, p.data());
  }

  std::vector<GLfloat> Capture(const std::function<void()> &draw) {
    std::vector<GLfloat> buffer(1 << 18, -12345.0f);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_4D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint written = glRenderMode(GL_RENDER);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_GT(written, 0) << "the buffer holds every record";
    buffer.resize(written < 0 ? 0 : size_t(written));
    return buffer;
  }
};

// Records per token in a 4D_COLOR_TEXTURE feedback buffer.
std::map<GLfloat, int> Tokens(const std::vector<GLfloat> &b) {
  std::map<GLfloat, int> count;
  for (size_t n = 0; n < b.size();) {
    const GLfloat token = b[n++];
    ++count[token];
    if (token == GLfloat(GL_POLYGON_TOKEN))
      n += 1 + size_t(b[n]) * kVertexFloats;
    else if (token == GLfloat(GL_POINT_TOKEN))
      n += kVertexFloats;
    else
      n += 2 * kVertexFloats;
  }
  return count;
}

TEST_F(MeshFeedback, MeshesGiveTheRecordsOfTheirExpansion) {
  struct Case {
    const char *name;
    int dims;
    GLenum mode;
    int i1, i2, j1, j2;
    int gridU, gridV;
    std::map<GLfloat, int> tokens;
  } const cases[] = {
      {"fill", 2, GL_FILL, 0, 6, 0, 5, 6, 5, {{GLfloat(GL_POLYGON_TOKEN), 60}}},
      {"line", 2, GL_LINE, 0, 6, 0, 5, 6, 5,
       // Per row, five strips of three points and one of two; then the last
       // row, one strip of six.
       {{GLfloat(GL_LINE_RESET_TOKEN), 6 * 6 + 1}, {GLfloat(GL_LINE_TOKEN), 6 * 5 + 4}}},
      {"point", 2, GL_POINT, 1, 3, 2, 4, 6, 5, {{GLfloat(GL_POINT_TOKEN), 9}}},
      {"fill with rows of 1100 points", 2, GL_FILL, 0, 2, 0, 1099, 2, 1099,
       {{GLfloat(GL_POLYGON_TOKEN), 2 * 1099 * 2}}},
      {"line with rows of 1100 points", 2, GL_LINE, 0, 2, 0, 1099, 2, 1099, {}},
      {"1-D line", 1, GL_LINE, 0, 9, 0, 0, 9, 1,
       {{GLfloat(GL_LINE_RESET_TOKEN), 1}, {GLfloat(GL_LINE_TOKEN), 8}}},
      {"1-D point", 1, GL_POINT, 2, 5, 0, 0, 9, 1, {{GLfloat(GL_POINT_TOKEN), 4}}},
  };
  for (const Case &c : cases) {
    glMapGrid1f(c.gridU, 0, 1);
    glMapGrid2f(c.gridU, 0, 1, c.gridV, 0, 1);
    const std::vector<GLfloat> mesh = Capture([&] {
      if (c.dims == 1)
        glEvalMesh1(c.mode, c.i1, c.i2);
      else
        glEvalMesh2(c.mode, c.i1, c.i2, c.j1, c.j2);
    });
    const GridAxis u{0, 1, c.gridU}, v{0, 1, c.gridV};
    const std::vector<GLfloat> naive = Capture([&] {
      if (c.dims == 1)
        ExpandMesh1(kApi, u, c.mode, c.i1, c.i2);
      else
        ExpandMesh2(kApi, u, v, c.mode, c.i1, c.i2, c.j1, c.j2);
    });
    ASSERT_EQ(mesh.size(), naive.size()) << c.name;
    EXPECT_EQ(memcmp(mesh.data(), naive.data(), sizeof(GLfloat) * mesh.size()), 0) << c.name;
    if (!c.tokens.empty()) {
      EXPECT_EQ(Tokens(mesh), c.tokens) << c.name;
    }
  }
}

}  // namespace
}  // namespace eval_test
