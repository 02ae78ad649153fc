// The stream a mesh issues equals the naive expansion into glEvalCoord
// calls: primitives, vertices and the current values each vertex takes,
// bit for bit, for every mode and a table of ranges and grids.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>

#include "tests/geometry/eval_maps/eval_fixture.h"
#include "tests/geometry/eval_mesh/mesh_expansion.h"
#include "tests/support/counting_imports.h"

namespace eval_test {
namespace {

GlContext *gGc = nullptr;
void StreamBegin(GLenum mode) { gGc->dispatchState->Begin(mode); }
void StreamEnd() { gGc->dispatchState->End(); }
void Coord1(GLfloat u) { glEvalCoord1f(u); }
void Coord2(GLfloat u, GLfloat v) { glEvalCoord2f(u, v); }
const Expansion kNaive = {StreamBegin, StreamEnd, Coord1, Coord2};

struct MeshCase {
  const char *name;
  GlEvalGrid2 grid;
  int32_t i1, i2, j1, j2;
};

const MeshCase kCases[] = {
    {"a few rows", {0, 1, 4, 0, 1, 3}, 0, 4, 0, 3},
    {"part of the grid", {-1, 2, 6, 3, 1, 5}, 1, 4, 2, 4},
    {"one column", {0, 1, 4, 0, 1, 3}, 1, 3, 2, 2},
    {"one row", {0, 1, 4, 0, 1, 3}, 2, 2, 0, 3},
    {"i1 above i2", {0, 1, 4, 0, 1, 3}, 3, 1, 0, 2},
    {"j1 above j2", {0, 1, 4, 0, 1, 3}, 0, 2, 3, 1},
    {"beyond the grid", {0, 1, 2, 0, 1, 2}, -2, 4, -1, 3},
    {"reversed grid domains", {2, -1, 3, 5, 0, 4}, 0, 3, 0, 4},
    {"rows of 1024 points", {0, 1, 2, 0, 1, 1023}, 0, 2, 0, 1023},
    {"rows of 1025 points", {0, 1, 2, 0, 1, 1024}, 0, 2, 0, 1024},
    {"rows of 1100 points", {0, 1, 3, 0, 1, 1099}, 0, 3, 0, 1099},
    {"ends at INT_MAX", {0, 1, INT_MAX, 0, 1, INT_MAX}, INT_MAX - 2, INT_MAX, INT_MAX - 1, INT_MAX},
    {"ends at INT_MIN", {0, 1, 5, 0, 1, 5}, INT_MIN, INT_MIN + 2, INT_MIN, INT_MIN + 1},
    {"a grid that is not a number", {NAN, 1, 3, 0, NAN, 2}, 0, 3, 0, 2},
    {"infinite grids", {0, INFINITY, 3, -INFINITY, INFINITY, 2}, 0, 3, 0, 2},
};

// The maps of one set-up, and which are enabled.
struct MapSetup {
  const char *name;
  bool rgba;
  bool autoNormal;
  int vertex;  // __GL_EVAL_VERTEX3 or 4
};

const MapSetup kSetups[] = {
    {"RGBA, 3-component vertices", true, false, __GL_EVAL_VERTEX3},
    {"RGBA, 4-component vertices, auto-normals", true, true, __GL_EVAL_VERTEX4},
    {"colour index, 3-component vertices, auto-normals", false, true, __GL_EVAL_VERTEX3},
};

class MeshStream : public EvalTest {
 protected:
  void Bound() override { gGc = gc; }

  void Prepare(const MapSetup &s) {
    if (!s.rgba) Use(TestModes(false));
    const int orders[][2] = {{3, 4}, {2, 3}, {2, 2}, {2, 1}, {3, 3},
                             {1, 2}, {2, 4}, {4, 3}, {3, 3}};
    for (int index = 0; index < __GL_MAP_RANGE_COUNT; ++index) {
      RefMap m;
      m.k = __glEvalComputeK(GL_MAP1_COLOR_4 + index);
      m.uOrder = orders[index][0];
      m.vOrder = orders[index][1];
      m.u1 = -0.5, m.u2 = 1.5, m.v1 = 2, m.v2 = -1;
      m.points = SomePoints(m.k * m.uOrder * m.vOrder, 40u + unsigned(index), 3.0);
      if (index == __GL_EVAL_VERTEX4)
        for (size_t w = 3; w < m.points.size(); w += 4) m.points[w] = std::fabs(m.points[w]) + 0.5;
      Load2(GL_MAP2_COLOR_4 + index, m);
      m.vOrder = 1;
      m.points.resize(size_t(m.k * m.uOrder));
      Load1(GL_MAP1_COLOR_4 + index, m);
    }
    const int attributes[] = {__GL_EVAL_COLOR, __GL_EVAL_INDEX, __GL_EVAL_NORMAL,
                              __GL_EVAL_TEXTURE3};
    for (int index : attributes) {
      glEnable(GL_MAP1_COLOR_4 + index);
      glEnable(GL_MAP2_COLOR_4 + index);
    }
    glEnable(GL_MAP1_COLOR_4 + s.vertex);
    glEnable(GL_MAP2_COLOR_4 + s.vertex);
    if (s.autoNormal) glEnable(GL_AUTO_NORMAL);
    ASSERT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  }
};

void ExpectSameStream(const std::vector<StreamItem> &got, const std::vector<StreamItem> &want,
                      const std::string &label) {
  ASSERT_EQ(got.size(), want.size()) << label;
  for (size_t n = 0; n < got.size(); ++n)
    ASSERT_TRUE(got[n] == want[n]) << label << ": first difference at item " << n;
}

TEST_F(MeshStream, EveryMeshIssuesItsNaiveExpansion) {
  size_t items = 0;
  for (const MapSetup &s : kSetups) {
    Prepare(s);
    for (const MeshCase &c : kCases) {
      const GlEvalGrid2 &g = c.grid;
      glMapGrid1f(g.un, g.u1, g.u2);
      glMapGrid2f(g.un, g.u1, g.u2, g.vn, g.v1, g.v2);
      ValidatePending();
      const GridAxis u{g.u1, g.u2, g.un}, v{g.v1, g.v2, g.vn};
      EvalStream stream(gc);
      for (GLenum mode : {GL_POINT, GL_LINE}) {
        const std::string label =
            std::string(s.name) + ", " + c.name + ", 1-D mode " + std::to_string(mode);
        glEvalMesh1(mode, c.i1, c.i2);
        const std::vector<StreamItem> got = stream.Take();
        items += got.size();
        ExpandMesh1(kNaive, u, mode, c.i1, c.i2);
        ExpectSameStream(got, stream.Take(), label);
      }
      for (GLenum mode : {GL_POINT, GL_LINE, GL_FILL}) {
        const std::string label =
            std::string(s.name) + ", " + c.name + ", 2-D mode " + std::to_string(mode);
        glEvalMesh2(mode, c.i1, c.i2, c.j1, c.j2);
        const std::vector<StreamItem> got = stream.Take();
        items += got.size();
        ExpandMesh2(kNaive, u, v, mode, c.i1, c.i2, c.j1, c.j2);
        ExpectSameStream(got, stream.Take(), label);
      }
      EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR)) << c.name;
    }
  }
  EXPECT_GT(items, 30000u) << "the meshes issued their vertices";
}

// P(i, j) = (i, j, 0) over the unit square: vertices are their parameters.
class MeshShape : public EvalTest {
 protected:
  void Bound() override {
    const GLfloat square[] = {0, 0, 0, 0, 1, 0, 1, 0, 0, 1, 1, 0};
    glMap2f(GL_MAP2_VERTEX_3, 0, 1, 6, 2, 0, 1, 3, 2, square);
    const GLfloat line[] = {-1, 2, 3, 4, 5, 6};
    glMap1f(GL_MAP1_VERTEX_3, 0, 1, 3, 2, line);
    glEnable(GL_MAP1_VERTEX_3);
    glEnable(GL_MAP2_VERTEX_3);
    // Validation puts the picked entries into the table in force: before
    // the stream takes its place.
    ValidatePending();
  }
  // The stream as a string: B<mode> (x y) ... E.
  std::string Shape(const std::vector<StreamItem> &items) {
    std::string out;
    for (const StreamItem &item : items) {
      if (item.kind == StreamItem::kBegin) out += "B" + std::to_string(item.mode) + " ";
      if (item.kind == StreamItem::kEnd) out += "E ";
      if (item.kind == StreamItem::kVertex) {
        char text[64];
        snprintf(text, sizeof text, "(%g %g) ", item.vertex[0], item.vertex[1]);
        out += text;
      }
    }
    return out;
  }
};

TEST_F(MeshShape, ALineMeshOfNSegmentsEndsExactlyAtTheDomainEnd) {
  glMapGrid1f(7, 0, 1);
  EvalStream stream(gc);
  glEvalMesh1(GL_LINE, 0, 7);
  const std::vector<StreamItem> got = stream.TakeVertices();
  ASSERT_EQ(got.size(), 8u);
  EXPECT_EQ(MapAttribute(got.front(), __GL_EVAL_VERTEX3), (std::vector<GLfloat>{-1, 2, 3}));
  EXPECT_EQ(MapAttribute(got.back(), __GL_EVAL_VERTEX3), (std::vector<GLfloat>{4, 5, 6}));
}

TEST_F(MeshShape, MeshesRunInTheirOrder) {
  glMapGrid2f(2, 0, 1, 2, 0, 1);
  struct Case {
    const char *name;
    GLenum mode;
    int i1, i2, j1, j2;
    const char *shape;
  } const cases[] = {
      {"fill: two strips of three pairs, each from v2 down to v0", GL_FILL, 0, 2, 0, 2,
       "B8 (0 1) (0.5 1) (0 0.5) (0.5 0.5) (0 0) (0.5 0) E "
       "B8 (0.5 1) (1 1) (0.5 0.5) (1 0.5) (0.5 0) (1 0) E "},
      {"line on one row: one strip of three points along u0", GL_LINE, 0, 0, 0, 2,
       "B3 (0 1) (0 0.5) (0 0) E "},
      {"line: a strip per point, then the last row", GL_LINE, 1, 2, 1, 2,
       "B3 (0.5 1) (0.5 0.5) (1 0.5) E B3 (0.5 1) (1 1) E B3 (1 1) (1 0.5) E "},
      {"points, row by row", GL_POINT, 1, 2, 0, 1, "B0 (0.5 0) (0.5 0.5) (1 0) (1 0.5) E "},
      {"fill with i1 = i2 draws nothing", GL_FILL, 1, 1, 0, 2, ""},
  };
  for (const Case &c : cases) {
    EvalStream stream(gc);
    glEvalMesh2(c.mode, c.i1, c.i2, c.j1, c.j2);
    EXPECT_EQ(Shape(stream.Take()), c.shape) << c.name;
  }
}

TEST_F(MeshShape, RefusedMeshesRecordTheirErrorAndDrawNothing) {
  struct Case {
    const char *name;
    void (*call)();
    int beginMode;
    GLenum error;
  } const cases[] = {
      {"1-D inside glBegin", [] { glEvalMesh1(GL_LINE, 0, 1); }, __GL_IN_BEGIN,
       GL_INVALID_OPERATION},
      {"2-D fill inside glBegin", [] { glEvalMesh2(GL_FILL, 0, 1, 0, 1); }, __GL_IN_BEGIN,
       GL_INVALID_OPERATION},
      {"inside glBegin before the mode", [] { glEvalMesh2(GL_POLYGON, 0, 1, 0, 1); },
       __GL_IN_BEGIN, GL_INVALID_OPERATION},
      {"1-D fill", [] { glEvalMesh1(GL_FILL, 0, 1); }, __GL_VALIDATE_PENDING, GL_INVALID_ENUM},
      {"2-D bad mode", [] { glEvalMesh2(GL_POINTS, 0, 1, 0, 1); }, __GL_VALIDATE_PENDING,
       GL_INVALID_ENUM},
      {"1-D bad mode", [] { glEvalMesh1(GL_LINES, 0, 1); }, __GL_NOT_IN_BEGIN, GL_INVALID_ENUM},
  };
  for (const Case &c : cases) {
    EvalStream stream(gc);
    gc->beginMode = c.beginMode;
    c.call();
    EXPECT_EQ(TakeError(), c.error) << c.name;
    EXPECT_TRUE(stream.Take().empty()) << c.name;
    if (c.beginMode == __GL_VALIDATE_PENDING) {
      EXPECT_EQ(gc->beginMode, __GL_NOT_IN_BEGIN) << c.name << ": the validation ran first";
    }
    gc->beginMode = __GL_NOT_IN_BEGIN;
  }
}

}  // namespace
}  // namespace eval_test
