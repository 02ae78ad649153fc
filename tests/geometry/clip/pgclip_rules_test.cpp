// Rules of the clipper that the reference does not see: which input
// vertices are brought up to date before cutting, and the consistency check
// on the pool's colour pointers.
#include <gtest/gtest.h>

#include <string.h>

#include <math.h>

#include <string>
#include <vector>

#include "geometry/s_clip_param.h"
#include "geometry/s_clipcheck.h"
#include "geometry/s_pgclip.h"
#include "raster/s_shader.h"
#include "tests/geometry/clip/clip_fixture.h"

namespace clip_test {
namespace {

struct Validation {
  int sizeClass;
  GlVertex *v;
  uint32_t needs;
};
std::vector<Validation> gValidations;

template <int SizeClass>
uint32_t Validate(GlContext *, GlVertex *v, uint32_t needs) {
  gValidations.push_back({SizeClass, v, needs});
  return v->has |= needs;
}

struct ValidationCase {
  const char *what;
  uint32_t has[3];  // low bits and size class of each vertex
  uint32_t orCodes;
  std::vector<int> validated;  // which vertices, in order
};

constexpr uint32_t kAll = 0x7Fu;
const ValidationCase kValidationCases[] = {
    {"no codes: nothing validated", {__GL_HAS_SIZE2, __GL_HAS_SIZE3, __GL_HAS_SIZE4}, 0, {}},
    {"codes: each vertex lacking a needed bit",
     {__GL_HAS_SIZE2, __GL_HAS_SIZE3 | kAll, __GL_HAS_SIZE4 | __GL_HAS_CLIP},
     __GL_CLIP_RIGHT,
     {0, 2}},
    {"codes, everything present", {kAll | __GL_HAS_SIZE4, kAll | __GL_HAS_SIZE3, kAll}, __GL_CLIP_NEAR,
     {}},
};

class ClipRules : public ClipTest {};

TEST_F(ClipRules, InputVerticesAreBroughtUpToDateOnlyWhenCutting) {
  gc->procs.validateVertex[0] = Validate<0>;
  gc->procs.validateVertex[1] = Validate<1>;
  gc->procs.validateVertex[2] = Validate<2>;
  gc->procs.validateVertex[3] = Validate<3>;
  gc->procs.polygonClipParam = geometry::ClipC;
  const uint32_t needs =
      gc->vertexBuffer.frontNeeds | gc->vertexBuffer.backNeeds | __GL_HAS_CLIP;
  for (const ValidationCase &c : kValidationCases) {
    SCOPED_TRACE(c.what);
    GlVertex v[3];
    memset(v, 0, sizeof v);
    const GLfloat positions[3][2] = {{-0.5f, -0.5f}, {0.5f, -0.5f}, {0.0f, 0.5f}};
    for (int i = 0; i < 3; ++i) {
      v[i].clip = {positions[i][0], positions[i][1], 0.0f, 1.0f};
      v[i].color = &v[i].colors[__GL_FRONTFACE];
      v[i].has = c.has[i];
    }
    gValidations.clear();
    __glClipTriangle(gc, &v[0], &v[1], &v[2], c.orCodes);
    std::vector<int> got;
    for (const Validation &val : gValidations) {
      got.push_back(int(val.v - v));
      EXPECT_EQ(val.needs, needs);
      EXPECT_EQ(uint32_t(val.sizeClass), (c.has[got.back()] & __GL_HAS_SIZE_MASK) >> 14);
    }
    EXPECT_EQ(got, c.validated);
    EXPECT_EQ(Recorded().size(), 1u) << "a triangle inside every plane is drawn whole";
    Recorded().clear();
  }
}

using ClipRulesDeathTest = ClipRules;

TEST_F(ClipRulesDeathTest, APoolVertexWhoseColourPointerStraysStopsTheProcess) {
  GlVertex v[3];
  memset(v, 0, sizeof v);
  const GLfloat positions[3][4] = {{-0.5f, -0.5f, 0, 1}, {2.0f, 0.0f, 0, 1}, {0.0f, 0.5f, 0, 1}};
  for (int i = 0; i < 3; ++i) {
    v[i].clip = {positions[i][0], positions[i][1], positions[i][2], positions[i][3]};
    v[i].color = &v[i].colors[__GL_FRONTFACE];
    v[i].has = __GL_HAS_SIZE4 | 0x7Fu;
  }
  v[1].has |= __GL_CLIP_RIGHT;
  gc->procs.polygonClipParam = geometry::ClipC;
  PoolBegin()->color = &PoolBegin()->colors[__GL_BACKFACE];
  EXPECT_DEATH(__glClipTriangle(gc, &v[0], &v[1], &v[2], __GL_CLIP_RIGHT),
               "newVertex->color == &newVertex->colors\\[__GL_FRONTFACE\\].*s_pgclip");
  PoolBegin()->color = &PoolBegin()->colors[__GL_FRONTFACE];
}

// Cut points computed in single precision can land a hair beyond the plane;
// their window coordinates are held to the viewport rectangle, also when
// the y scale is negative.
TEST_F(ClipRules, WindowCoordinatesNeverLeaveTheViewport) {
  struct Side {
    const char *what;
    int axis;
    GLfloat sign;
    uint32_t code;
  };
  const Side kSides[] = {{"left", 0, -1, __GL_CLIP_LEFT},
                         {"right", 0, 1, __GL_CLIP_RIGHT},
                         {"bottom", 1, -1, __GL_CLIP_BOTTOM},
                         {"top", 1, 1, __GL_CLIP_TOP}};
  gc->procs.polygonClipParam = geometry::Clip;
  // A large scale about a small centre: a cut a hair beyond its plane shows
  // in single precision.
  GlViewport &vp = gc->state.viewport;
  vp.xScale = 1000.0f;
  vp.xCenter = 3.0f;
  vp.yCenter = 3.0f;
  uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return GLfloat(seed >> 8) / GLfloat(1 << 24);
  };
  for (bool flip : {false, true}) {
    vp.yScale = flip ? -1000.0f : 1000.0f;
    const GLfloat xLow = vp.xCenter - fabsf(vp.xScale), xHigh = vp.xCenter + fabsf(vp.xScale);
    const GLfloat yLow = vp.yCenter - fabsf(vp.yScale), yHigh = vp.yCenter + fabsf(vp.yScale);
    for (const Side &side : kSides) {
      SCOPED_TRACE(std::string(side.what) + (flip ? ", y flipped" : ""));
      for (int i = 0; i < 500; ++i) {
        GlVertex v[3];
        memset(v, 0, sizeof v);
        for (int k = 0; k < 3; ++k) {
          const GLfloat w = 0.1f + 3.0f * next();
          GLfloat c[2] = {(next() - 0.5f) * w, (next() - 0.5f) * w};
          if (k == 1) c[side.axis] = side.sign * w * (1.0f + 2.0f * next());
          v[k].clip = {c[0], c[1], 0.0f, w};
          v[k].color = &v[k].colors[__GL_FRONTFACE];
          v[k].has = __GL_HAS_SIZE4 | 0x7Fu | (k == 1 ? side.code : 0);
        }
        __glClipTriangle(gc, &v[0], &v[1], &v[2], side.code);
        for (const RecordedTriangle &t : Recorded())
          for (const GlVertex &g : t.copy) {
            ASSERT_TRUE(g.window.x >= xLow && g.window.x <= xHigh) << i << " x " << g.window.x;
            ASSERT_TRUE(g.window.y >= yLow && g.window.y <= yHigh) << i << " y " << g.window.y;
          }
        Recorded().clear();
      }
    }
  }
}

// A vertex the clip check puts outside a user plane is cut away here too,
// however close to the plane it lies. Were it kept with its code bits, its
// texture (undivided) would be divided in place, and divided again by the
// next primitive sharing it.
TEST_F(ClipRules, AVertexTheCheckPutsOutsideAUserPlaneIsCutAway) {
  struct NearPlane {
    const char *what;
    GLfloat plane[4];
    GLfloat eye[4];
  };
  const NearPlane kCases[] = {
      {"a distance too small for a float", {1e-20f, 0, 0, 0}, {-1e-30f, 0, 0, 1}},
      {"a tiny distance from the last term", {0, 0, 0, -1e-25f}, {0.5f, 0, 0, 1e-25f}},
  };
  gc->procs.polygonClipParam = geometry::ClipTP;
  gc->polygon.shader.modeFlags |= __GL_SHADE_TEX_DIVIDED;
  gc->state.enables.clipPlanes = 1;
  for (const NearPlane &c : kCases) {
    SCOPED_TRACE(c.what);
    gc->state.transform.eyeClipPlanes[0] = {c.plane[0], c.plane[1], c.plane[2], c.plane[3]};
    GlVertex v[3];
    memset(v, 0, sizeof v);
    const GLfloat eyes[3][4] = {{c.eye[0], c.eye[1], c.eye[2], c.eye[3]}, {1, 0, 0, 1}, {1, 1, 0, 1}};
    const GLfloat clips[3][4] = {{-0.5f, -0.5f, 0, 1}, {0.5f, -0.5f, 0, 2}, {0, 0.5f, 0, 1}};
    uint32_t orHas = 0;
    for (int i = 0; i < 3; ++i) {
      v[i].eye = {eyes[i][0], eyes[i][1], eyes[i][2], eyes[i][3]};
      v[i].clip = {clips[i][0], clips[i][1], clips[i][2], clips[i][3]};
      v[i].texture = {2.0f, 3.0f, 0.5f, 1.0f};
      v[i].color = &v[i].colors[__GL_FRONTFACE];
      v[i].has = __GL_HAS_SIZE4 | 0x7Fu;
      v[i].has = __glClipCheckAll(gc, &v[i]);
      orHas |= v[i].has;
    }
    ASSERT_NE(v[0].has & __GL_CLIP_USER0, 0u) << "the check must see the first vertex outside";
    const GlCoord texture = v[0].texture;
    for (int round = 0; round < 2; ++round) {
      __glClipTriangle(gc, &v[0], &v[1], &v[2], orHas & 0xFFFF0000u);
      for (const RecordedTriangle &t : Recorded())
        for (GlVertex *p : t.pointer) EXPECT_NE(p, &v[0]) << "round " << round;
      Recorded().clear();
    }
    EXPECT_EQ(memcmp(&v[0].texture, &texture, sizeof texture), 0) << "texture divided in place";
  }
  gc->state.enables.clipPlanes = 0;
}

}  // namespace
}  // namespace clip_test
