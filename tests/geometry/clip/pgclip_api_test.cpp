// The clipper reached through a bound context: glBegin, glColor, glEdgeFlag,
// glVertex and glEnd, the clip checks and primitive assembly in force, with
// procs.renderTriangle replaced by the recorder after validation. What the
// clipper received is kept on the way in and clipped by the reference.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/gl_api.h"
#include "geometry/s_pgclip.h"
#include "tests/geometry/clip/clip_fixture.h"

namespace clip_test {
namespace {

std::vector<GlVertex> gIn;
std::vector<GlVertex *> gInPointers;

void KeepPolygon(GlContext *gc, GlVertex *first, int32_t count) {
  for (int32_t i = 0; i < count; ++i) {
    gIn.push_back(first[i]);
    gInPointers.push_back(first + i);
  }
  __glClipPolygon(gc, first, count);
}

void KeepTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c, uint32_t orCodes) {
  for (GlVertex *v : {a, b, c}) {
    gIn.push_back(*v);
    gInPointers.push_back(v);
  }
  __glClipTriangle(gc, a, b, c, orCodes);
}

struct Point {
  GLfloat x, y, z, w;
  GLfloat red;
  bool edge;
};

struct ApiCase {
  const char *what;
  GLenum mode;
  std::vector<Point> points;
  bool userPlane;  // plane 0: x + y >= -0.5 in eye space
};

const ApiCase kCases[] = {
    {"polygon through the right plane", GL_POLYGON,
     {{-0.5f, -0.5f, 0, 1, 0.1f, true},
      {1.6f, -0.4f, 0, 1, 0.9f, false},
      {1.2f, 0.5f, 0.2f, 1, 0.5f, true},
      {-0.1f, 0.7f, 0, 1, 0.3f, true},
      {-0.7f, 0.1f, 0, 1, 0.7f, true}},
     false},
    {"triangle behind the near plane", GL_TRIANGLES,
     {{-0.5f, -0.5f, 0.1f, 1, 0.2f, true},
      {0.5f, -0.4f, -2.5f, 2, 0.8f, true},
      {0.3f, 0.6f, 0.3f, 1, 0.4f, false}},
     false},
    {"polygon through a user plane and the top plane", GL_POLYGON,
     {{-0.9f, -0.8f, 0, 1, 0.1f, true},
      {0.6f, -0.3f, 0, 1, 0.6f, true},
      {0.4f, 1.7f, 0, 1, 0.9f, true},
      {-0.6f, 0.2f, 0, 1, 0.4f, false}},
     true},
    {"polygon inside: the fan only", GL_POLYGON,
     {{-0.5f, -0.5f, 0, 1, 0.1f, true},
      {0.5f, -0.5f, 0, 1, 0.2f, false},
      {0.6f, 0.5f, 0, 1, 0.3f, true},
      {-0.4f, 0.6f, 0, 1, 0.4f, true}},
     false},
};

class ThroughTheContext : public ClipTest {};

TEST_F(ThroughTheContext, WhatIsDrawnMatchesTheReference) {
  for (const ApiCase &c : kCases) {
    SCOPED_TRACE(c.what);
    const GLdouble plane[4] = {1, 1, 0, 0.5};
    glClipPlane(GL_CLIP_PLANE0, plane);
    if (c.userPlane)
      glEnable(GL_CLIP_PLANE0);
    else
      glDisable(GL_CLIP_PLANE0);
    ValidatePending();
    gc->procs.renderTriangle = RecordTriangle;
    gc->procs.clipPolygon = KeepPolygon;
    gc->procs.clipTriangle = KeepTriangle;
    glBegin(c.mode);
    for (const Point &p : c.points) {
      glColor4f(p.red, 0.5f, 1.0f - p.red, 1.0f);
      glEdgeFlag(p.edge ? GL_TRUE : GL_FALSE);
      glVertex4f(p.x, p.y, p.z, p.w);
    }
    glEnd();
    ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    std::vector<RefVertex> ref;
    uint32_t codes = 0;
    for (size_t i = 0; i < gIn.size(); ++i) {
      const GlVertex &g = gIn[i];
      RefVertex r{{g.clip.x, g.clip.y, g.clip.z, g.clip.w},
                  {g.eye.x, g.eye.y, g.eye.z, g.eye.w},
                  {g.colors[0].r, g.colors[0].g, g.colors[0].b, g.colors[0].a},
                  {},
                  0,
                  {},
                  (g.has & __GL_HAS_EDGEFLAG_BOUNDARY) != 0,
                  int(i),
                  true};
      ref.push_back(r);
      codes |= g.has & 0xFFFF0000u;
    }
    const GlCoord &e = gc->state.transform.eyeClipPlanes[0];
    const double user[1][4] = {{e.x, e.y, e.z, e.w}};
    const RefResult want = RefClip(ref, RefPlanes(user, (codes >> 22) & 1, (codes >> 16) & 0x3F));
    ASSERT_TRUE(want.drawn);
    const std::vector<RefTriangle> fan = RefFan(want.polygon);
    ASSERT_EQ(Recorded().size(), fan.size());
    const GlViewport &vp = gc->state.viewport;
    const double tol = 1e-5;
    for (size_t t = 0; t < fan.size(); ++t) {
      for (int j = 0; j < 3; ++j) {
        const RefVertex &r = want.polygon[fan[t].index[j]];
        const GlVertex &g = Recorded()[t].copy[j];
        if (r.source >= 0) {
          EXPECT_EQ(Recorded()[t].pointer[j], gInPointers[r.source]);
        }
        EXPECT_EQ((g.has & __GL_HAS_EDGEFLAG_BOUNDARY) != 0, fan[t].boundary[j]) << t << j;
        EXPECT_NEAR(g.clip.x, r.clip[0], tol);
        EXPECT_NEAR(g.clip.y, r.clip[1], tol);
        EXPECT_NEAR(g.clip.w, r.clip[3], tol);
        EXPECT_NEAR(g.window.x, r.clip[0] / r.clip[3] * vp.xScale + vp.xCenter, 1e-3);
        EXPECT_NEAR(g.window.y, r.clip[1] / r.clip[3] * vp.yScale + vp.yCenter, 1e-3);
        for (int k = 0; k < 4; ++k) EXPECT_NEAR((&g.colors[0].r)[k], r.front[k], 1e-4);
      }
    }
    Recorded().clear();
    gIn.clear();
    gInPointers.clear();
  }
}

}  // namespace
}  // namespace clip_test
