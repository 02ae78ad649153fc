// Immediate-mode blocks with the vertex cache on against the same blocks
// with it off: the same render stream for every mode and count, across the
// full caches that carry vertices over, with colours, materials, edge flags,
// colour-index visuals, clipping and the cull-vertex test.
#include <gtest/gtest.h>

#include "geometry/vc_cache.h"
#include "tests/geometry/vcache/vcache_fixture.h"

namespace vcache_test {
namespace {

class CacheStream : public VcacheTest {
 protected:
  // Whether the cull-vertex test, when on, culls vertex `id` of Give.
  bool Culled(int id) {
    if (!(gc->state.enables.general & __GL_CULL_VERTEX_ENABLE)) return false;
    const GlCoord p = gc->transform.cullPoint;
    GLfloat v[4];
    Position(id, 0.8f, v);
    const double t = 2 * M_PI * id / 101.0;
    const GLfloat n[] = {GLfloat(cos(t)), GLfloat(sin(t)), id % 4 == 0 ? -0.5f : 0.5f};
    const bool position = gc->vertexArray.flags & __GL_VARRAY_CULL_POSITION;
    const GLfloat d = position ? (p.y - v[1]) * n[1] + (p.z - v[2]) * n[2] + (p.x - v[0]) * n[0]
                               : n[1] * p.y + n[2] * p.z + p.x * n[0];
    return !(d > 0.0f);
  }

  void Compare(GLenum mode, int count, GLfloat scale, Attributes a, bool boundaries = false) {
    SCOPED_TRACE(testing::Message() << kModeNames[mode] << " count " << count);
    auto draw = [&] { Block(mode, count, scale, a); };
    const std::vector<Call> off = Record(false, draw);
    const std::vector<Call> on = Record(true, draw);
    EXPECT_TRUE(prim_stream::SameStream(off, on, boundaries));
    EXPECT_EQ(gc->vcache.vertexCount, 0) << "glEnd empties the cache";
  }
};

const int kCounts[] = {0, 1, 2, 3, 4, 5, 35, 36, 37, 38, 40, 71, 72, 73, 74, 107, 108, 109, 110};

TEST_F(CacheStream, EveryModeAndCountDrawsAsTheImmediatePathDoes) {
  for (GLenum mode = GL_POINTS; mode <= GL_POLYGON; ++mode)
    for (int count : kCounts) Compare(mode, count, 0.8f, {});
}

// A polygon the immediate path clips whole the cache clips triangle by
// triangle, as the arrays do: those compare in pixels, not here.
TEST_F(CacheStream, ClippedPrimitivesGoToTheSameClippers) {
  for (GLenum mode = GL_POINTS; mode < GL_POLYGON; ++mode)
    for (int count : kCounts) Compare(mode, count, 1.5f, {});
}

TEST_F(CacheStream, EdgeFlagsOfLineAndPointPolygonsAreKept) {
  Attributes a;
  a.edgeFlags = true;
  for (GLenum polygonMode : {GL_LINE, GL_POINT}) {
    glPolygonMode(GL_FRONT_AND_BACK, polygonMode);
    for (GLenum mode : {GL_TRIANGLES, GL_QUADS, GL_POLYGON})
      for (int count : {4, 36, 37, 50, 73, 110}) Compare(mode, count, 0.8f, a, true);
  }
}

// The last vertex of a full cache is carried with its own edge flag, not
// with one given after it for the next vertex.
TEST_F(CacheStream, ACarriedPolygonVertexKeepsItsOwnEdgeFlag) {
  glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
  for (GLboolean lastFlag : {GL_FALSE, GL_TRUE}) {
    SCOPED_TRACE(lastFlag ? "shown" : "hidden");
    auto draw = [&] {
      glBegin(GL_POLYGON);
      for (int id = 0; id < 40; ++id) {
        if (id == __GL_VC_MAXSIZE - 1) glEdgeFlag(lastFlag);
        if (id == __GL_VC_MAXSIZE) glEdgeFlag(!lastFlag);
        Give(id, 0.8f, {});
      }
      glEnd();
      glEdgeFlag(GL_TRUE);
    };
    const std::vector<Call> off = Record(false, draw);
    const std::vector<Call> on = Record(true, draw);
    EXPECT_TRUE(prim_stream::SameStream(off, on, true));
  }
}

TEST_F(CacheStream, ColourIndexVisualsSaveTheIndex) {
  GlModes modes = gc->modes;
  modes.rgbMode = 0;
  modes.colorIndexMode = 1;
  Use(modes);
  Attributes a;
  a.color = false;
  a.index = true;
  for (GLenum mode = GL_POINTS; mode <= GL_POLYGON; ++mode)
    for (int count : {3, 37, 74}) Compare(mode, count, 0.8f, a);
}

// Lighting reads the normal; with the cull-vertex test it must still be
// saved (a sum of the two bits once saved the colour alone).
TEST_F(CacheStream, LitVerticesKeepTheirNormals) {
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  glShadeModel(GL_SMOOTH);
  Attributes a;
  a.normal = true;
  a.texture = true;
  struct Row {
    const char *what;
    std::function<void()> set;
  };
  const Row rows[] = {
      {"lit", [] {}},
      {"lit, cull vertex", [] { glEnable(GL_CULL_VERTEX_VLX); }},
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(row.what);
    row.set();
    for (GLenum mode : {GL_POINTS, GL_LINE_STRIP, GL_TRIANGLES, GL_TRIANGLE_FAN}) {
      for (int count : {6, 38}) {
        auto draw = [&] { Block(mode, count, 0.8f, a); };
        std::vector<Call> off;
        for (const Call &c : Record(false, draw)) {
          bool all = true;
          for (const GlVertex &v : c.vertices) all = all && Culled(prim_stream::IdOf(&v));
          if (!all) off.push_back(c);
        }
        std::vector<Call> on = Record(true, draw);
        // The cache compiles as the arrays do: its primitives with a culled
        // vertex go to the clipper, culled entirely they are left out.
        std::vector<Call> kept;
        for (Call &c : on) {
          for (GlVertex &v : c.vertices) {
            EXPECT_EQ(bool(v.has & __GL_HAS_CULLED), Culled(prim_stream::IdOf(&v)));
            v.has &= ~__GL_HAS_CULLED;
          }
          if (c.orCodes == __GL_HAS_CULLED) {
            if (c.kind == "clipTriangle") c.kind = "triangle";
            if (c.kind == "clipLine") c.kind = "line";
          }
          c.orCodes &= ~__GL_HAS_CULLED;
          kept.push_back(c);
        }
        EXPECT_TRUE(prim_stream::SameStream(off, kept)) << kModeNames[mode] << " " << count;
      }
    }
  }
}

// glColor with colour material, and glMaterial, inside a lit block: the
// vertices given before the change keep the old material.
TEST_F(CacheStream, MaterialChangesInsideABlockLightEarlierVerticesWithTheOld) {
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  Attributes a;
  a.normal = true;
  a.color = false;
  for (bool colorMaterial : {false, true}) {
    if (colorMaterial) {
      glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
      glEnable(GL_COLOR_MATERIAL);
    }
    for (GLenum mode : {GL_TRIANGLES, GL_TRIANGLE_STRIP, GL_TRIANGLE_FAN, GL_POLYGON,
                        GL_LINE_LOOP, GL_QUAD_STRIP}) {
      for (int count : {9, 40, 75}) {
        SCOPED_TRACE(testing::Message() << kModeNames[mode] << " " << count
                                        << (colorMaterial ? " colour material" : " material"));
        auto draw = [&] { MaterialChangingBlock(mode, count, colorMaterial, a); };
        const std::vector<Call> off = Record(false, draw);
        const std::vector<Call> on = Record(true, draw);
        EXPECT_TRUE(prim_stream::SameStream(off, on));
      }
    }
  }
}

// The continued pieces of one primitive keep one stipple run (and one
// line-reset token in feedback).
TEST_F(CacheStream, LongPrimitivesKeepTheirCountsAndOneStippleRun) {
  struct Row {
    GLenum mode;
    int count;
    GLenum polygonMode;
    const char *kind;
    int primitives;
    int restarts;
  };
  const Row rows[] = {
      {GL_TRIANGLE_STRIP, 40, GL_FILL, "triangle", 38, 38},
      {GL_LINE_LOOP, 80, GL_FILL, "line", 80, 1},
      {GL_LINE_STRIP, 110, GL_FILL, "line", 109, 1},
      {GL_POLYGON, 50, GL_LINE, "triangle", 48, 1},
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(kModeNames[row.mode]);
    glPolygonMode(GL_FRONT_AND_BACK, row.polygonMode);
    const std::vector<Call> got = Record(true, [&] { Block(row.mode, row.count); });
    int primitives = 0, restarts = 0, edges = 0;
    for (const Call &c : got) {
      primitives += c.kind == row.kind;
      restarts += c.stippleStarted == 0;
      for (const GlVertex &v : c.vertices) edges += (v.has & __GL_HAS_EDGEFLAG_BOUNDARY) != 0;
    }
    EXPECT_EQ(primitives, row.primitives);
    EXPECT_EQ(restarts, row.restarts);
    if (row.mode == GL_POLYGON) {
      EXPECT_EQ(edges, 50);
    }
    if (row.mode == GL_LINE_LOOP) {
      ASSERT_FALSE(got.empty());
      EXPECT_EQ(prim_stream::IdOf(&got.back().vertices[1]), 0) << "the loop closes on its first";
    }
  }
}

TEST_F(CacheStream, TwoVerticesOfTrianglesDrawNothing) {
  const std::vector<Call> got = Record(true, [] { Block(GL_TRIANGLES, 2); });
  EXPECT_TRUE(got.empty());
  EXPECT_EQ(gc->vcache.vertexCount, 0);
  EXPECT_EQ(gc->vcache.validatedCount, 0);
}

TEST_F(CacheStream, AVertexOutsideABlockIsNotDrawn) {
  const std::vector<Call> got = Record(true, [] {
    const GLfloat p[] = {0.1f, 0.1f, 0.0f};
    glVertex3fv(p);
    glBegin(GL_POINTS);
    glEnd();
    glVertex3fv(p);
  });
  EXPECT_TRUE(got.empty());
  EXPECT_EQ(gc->vcache.vertexCount, 0);
}

}  // namespace
}  // namespace vcache_test
