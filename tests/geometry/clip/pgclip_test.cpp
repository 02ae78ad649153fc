// The clip-space polygon clipper against the double-precision reference:
// the same polygon left, every attribute the installed parameter-clip
// procedure carries, window coordinates with their clamps, the fan and its
// boundary flags, and the give-ups.
//
// Tolerance: inputs and attributes are at most 8 in magnitude. Each pass
// rounds a distance, t and each interpolated value to single precision
// (about 4 roundings of 2^-24 relative), and there are at most 12 passes,
// so the driver stays within 48 x 2^-24 x 8 < 2^-18 x 8 of the exact
// values; window coordinates within 2^-18 of scale plus centre.
#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include <string>
#include <vector>

#include "geometry/s_clip_param.h"
#include "geometry/s_pgclip.h"
#include "raster/s_shader.h"
#include "tests/geometry/clip/clip_fixture.h"

namespace clip_test {
namespace {

constexpr double kTol = 8.0 / (1 << 18);
constexpr uint32_t kCodeBits = 0xFFFF0000u;
const GlCoord kSentinel = {-7.0f, -7.0f, -7.0f, -7.0f};

struct Corner {
  GLfloat clip[4];
  GLfloat eye[4];
  bool edge;
};

enum Entry { kPolygon, kTriangle, kDirect };

struct Scenario {
  std::string what;
  std::vector<Corner> corners;
  std::vector<std::vector<double>> userPlanes;  // planes 0, 1, ... in eye space
  Entry entry = kPolygon;
  uint32_t extraCodes = 0;  // added to the codes of a direct call
  bool flipY = false;
  bool generic = true;  // no vertex may lie close to a plane it is tested against
};

// Attributes of input vertex i, slot j: fixed values in [-2, 2].
double Attr(int i, int j) { return double(GLfloat(2.0 * sin(1.7 * i + 0.9 * j + 0.3))); }

struct Member {
  int index;
  int color, fog, texture;
};
Member Decode(int index) { return {index, index % 5, (index / 5) % 2, index / 10}; }

// The input vertex for corner i of the scenario, and the reference's copy.
void MakeInput(const Scenario &s, const Member &m, bool fogBit, int i, GlVertex &g,
               RefVertex &r) {
  const Corner &c = s.corners[i];
  memset(&g, 0, sizeof g);
  uint32_t codes = FrustumCodes(c.clip);
  for (int p = 0; p < int(s.userPlanes.size()); ++p) {
    double d = 0;
    for (int k = 0; k < 4; ++k) d += GLfloat(s.userPlanes[p][k]) * double(c.eye[k]);
    if (d < 0) codes |= __GL_CLIP_USER0 << p;
  }
  for (int k = 0; k < 4; ++k) {
    r.clip[k] = c.clip[k];
    r.eye[k] = c.eye[k];
    r.front[k] = Attr(i, k);
    r.back[k] = Attr(i, 4 + k);
    r.texture[k] = Attr(i, 9 + k);
  }
  r.fog = Attr(i, 8);
  r.boundary = c.edge;
  r.source = i;
  r.eyeValid = true;
  g.clip = {c.clip[0], c.clip[1], c.clip[2], c.clip[3]};
  g.eye = {c.eye[0], c.eye[1], c.eye[2], c.eye[3]};
  g.colors[0] = {GLfloat(r.front[0]), GLfloat(r.front[1]), GLfloat(r.front[2]),
                 GLfloat(r.front[3])};
  g.colors[1] = {GLfloat(r.back[0]), GLfloat(r.back[1]), GLfloat(r.back[2]), GLfloat(r.back[3])};
  g.color = &g.colors[__GL_FRONTFACE];
  g.fog = GLfloat(r.fog);
  g.texture = {GLfloat(r.texture[0]), GLfloat(r.texture[1]), GLfloat(r.texture[2]),
               GLfloat(r.texture[3])};
  if (m.texture == 2 && !codes) {
    // What perspective texturing stores in a vertex without codes.
    const GLfloat invW = 1.0f / c.clip[3];
    g.texture.x *= invW;
    g.texture.y *= invW;
    g.texture.w *= invW;
  }
  g.window = kSentinel;
  g.has = __GL_HAS_SIZE4 | 0x3Fu | (fogBit ? __GL_HAS_FOG : 0) |
          (c.edge ? __GL_HAS_EDGEFLAG_BOUNDARY : 0) | codes;
}

// The values of a drawn vertex against the reference's: clip coordinates,
// window coordinates (made again only when the polygon had codes) within the
// viewport, and the attributes the member carries.
void ExpectMatchesReference(const GlVertex &g, const RefVertex &r, const Member &m,
                            bool fogBit, bool windowMade, const GlViewport &vp) {
  EXPECT_NEAR(g.clip.x, r.clip[0], kTol);
  EXPECT_NEAR(g.clip.y, r.clip[1], kTol);
  EXPECT_NEAR(g.clip.z, r.clip[2], kTol);
  EXPECT_NEAR(g.clip.w, r.clip[3], kTol);
  if (windowMade) {
    const GLfloat xLow = vp.xCenter - fabsf(vp.xScale), xHigh = vp.xCenter + fabsf(vp.xScale);
    const GLfloat yLow = vp.yCenter - fabsf(vp.yScale), yHigh = vp.yCenter + fabsf(vp.yScale);
    auto clamp = [](double x, double lo, double hi) { return x < lo ? lo : x > hi ? hi : x; };
    const double w = r.clip[3];
    EXPECT_NEAR(g.window.x, clamp(r.clip[0] / w * vp.xScale + vp.xCenter, xLow, xHigh),
                (fabsf(vp.xScale) + fabsf(vp.xCenter)) * kTol / 8);
    EXPECT_NEAR(g.window.y, clamp(r.clip[1] / w * vp.yScale + vp.yCenter, yLow, yHigh),
                (fabsf(vp.yScale) + fabsf(vp.yCenter)) * kTol / 8);
    EXPECT_NEAR(g.window.z, r.clip[2] / w * vp.zScale + vp.zCenter, kTol);
    EXPECT_NEAR(g.window.w, 1.0 / w, kTol);
    EXPECT_TRUE(g.window.x >= xLow && g.window.x <= xHigh) << g.window.x;
    EXPECT_TRUE(g.window.y >= yLow && g.window.y <= yHigh) << g.window.y;
  } else {
    EXPECT_EQ(memcmp(&g.window, &kSentinel, sizeof kSentinel), 0) << "window made again";
  }
  const int colorComponents = (m.color == 2 || m.color == 4) ? 4 : m.color ? 1 : 0;
  const GLfloat *front = &g.colors[0].r, *back = &g.colors[1].r;
  for (int k = 0; k < colorComponents; ++k) {
    EXPECT_NEAR(front[k], r.front[k], kTol) << "front " << k;
    if (m.color >= 3) {
      EXPECT_NEAR(back[k], r.back[k], kTol) << "back " << k;
    }
  }
  if (m.fog && fogBit) {
    EXPECT_NEAR(g.fog, r.fog, kTol);
  }
  if (r.eyeValid || (m.fog && !fogBit)) {
    EXPECT_NEAR(g.eye.z, r.eye[2], kTol);
  }
  if (r.eyeValid) {
    EXPECT_NEAR(g.eye.x, r.eye[0], kTol);
    EXPECT_NEAR(g.eye.y, r.eye[1], kTol);
    EXPECT_NEAR(g.eye.w, r.eye[3], kTol);
  }
  const GLfloat *tex = &g.texture.x;
  for (int k = 0; k < 4; ++k) {
    if (m.texture == 1) {
      EXPECT_NEAR(tex[k], r.texture[k], kTol) << "texture " << k;
    } else if (m.texture == 2) {
      EXPECT_NEAR(tex[k], k == 2 ? r.texture[k] : r.texture[k] / r.clip[3], kTol)
          << "divided texture " << k;
    }
  }
}

class PolygonClip : public ClipTest {
 public:
  void Run(const Scenario &s, int memberIndex, bool fogBit);

 protected:
  static int validations;
  static uint32_t CountValidation(GlContext *, GlVertex *v, uint32_t needs) {
    ++validations;
    return v->has |= needs;
  }
};
int PolygonClip::validations = 0;

void PolygonClip::Run(const Scenario &s, int memberIndex, bool fogBit) {
  SCOPED_TRACE(s.what + " with member " + std::to_string(memberIndex) +
               (fogBit ? " fog bit" : ""));
  const Member m = Decode(memberIndex);
  const int n = int(s.corners.size());
  for (int p = 0; p < int(s.userPlanes.size()); ++p) {
    GlCoord &plane = gc->state.transform.eyeClipPlanes[p];
    plane = {GLfloat(s.userPlanes[p][0]), GLfloat(s.userPlanes[p][1]),
             GLfloat(s.userPlanes[p][2]), GLfloat(s.userPlanes[p][3])};
  }
  gc->procs.polygonClipParam = geometry::clipProcs[memberIndex];
  for (auto &validate : gc->procs.validateVertex) validate = CountValidation;
  validations = 0;
  if (m.texture == 2)
    gc->polygon.shader.modeFlags |= __GL_SHADE_TEX_DIVIDED;
  else
    gc->polygon.shader.modeFlags &= ~__GL_SHADE_TEX_DIVIDED;
  GlViewport &vp = gc->state.viewport;
  if (s.flipY) vp.yScale = -fabsf(vp.yScale);

  std::vector<GlVertex> v(n);
  std::vector<RefVertex> ref(n);
  std::vector<uint32_t> hasBefore(n);
  uint32_t orHas = 0;
  for (int i = 0; i < n; ++i) {
    MakeInput(s, m, fogBit, i, v[i], ref[i]);
    hasBefore[i] = v[i].has;
    orHas |= v[i].has;
  }

  uint32_t codes = orHas & kCodeBits;
  std::vector<GlVertex *> list(n);
  for (int i = 0; i < n; ++i) list[i] = &v[i];
  switch (s.entry) {
    case kPolygon:
      __glClipPolygon(gc, v.data(), n);
      EXPECT_EQ(gc->vertexBuffer.provoking, &v[0]);
      break;
    case kTriangle:
      __glClipTriangle(gc, list[0], list[1], list[2], codes);
      break;
    case kDirect:
      codes |= s.extraCodes;
      __glDoPolygonClip(gc, list.data(), n, codes);
      break;
  }
  EXPECT_EQ(validations, 0);

  std::vector<RefPlane> cut;
  for (int p = 0; p < int(s.userPlanes.size()); ++p)
    if (codes & (__GL_CLIP_USER0 << p))
      cut.push_back({{GLfloat(s.userPlanes[p][0]), GLfloat(s.userPlanes[p][1]),
                      GLfloat(s.userPlanes[p][2]), GLfloat(s.userPlanes[p][3])},
                     true});
  for (const RefPlane &p : RefPlanes(nullptr, 0, (codes >> 16) & 0x3F)) cut.push_back(p);
  RefResult want = RefClip(ref, cut);
  uint32_t andHas = ~0u;
  for (uint32_t h : hasBefore) andHas &= h;
  // The polygon procedure drops what lies wholly beyond one plane.
  if (s.entry == kPolygon && (andHas & kCodeBits)) want.drawn = false;
  if (s.generic) {
    ASSERT_GT(want.closest, 1e-4) << "the case lies too close to a plane";
  }

  const std::vector<RefTriangle> fan = want.drawn ? RefFan(want.polygon) : std::vector<RefTriangle>{};
  ASSERT_EQ(Recorded().size(), fan.size());
  for (size_t t = 0; t < fan.size(); ++t) {
    const RecordedTriangle &rec = Recorded()[t];
    for (int j = 0; j < 3; ++j) {
      SCOPED_TRACE("triangle " + std::to_string(t) + " vertex " + std::to_string(j));
      const RefVertex &r = want.polygon[fan[t].index[j]];
      const GlVertex &g = rec.copy[j];
      GlVertex *ptr = rec.pointer[j];
      if (r.source >= 0) {
        EXPECT_EQ(ptr, &v[r.source]);
      } else {
        EXPECT_TRUE(ptr >= PoolBegin() && ptr < PoolEnd());
        EXPECT_EQ(g.has & kCodeBits, kCodeBits);
        EXPECT_EQ(g.color, &ptr->colors[__GL_FRONTFACE]);
      }
      EXPECT_EQ((g.has & __GL_HAS_EDGEFLAG_BOUNDARY) != 0, fan[t].boundary[j]);
      ExpectMatchesReference(g, r, m, fogBit, codes != 0, vp);
    }
  }
  for (int i = 0; i < n; ++i) EXPECT_EQ(v[i].has, hasBefore[i]) << "has of input " << i;
  Recorded().clear();
}

// Members that cover every colour kind, both fog forms and all texture kinds.
const int kMembers[] = {0, 4, 9, 8, 12, 19, 22, 29, 26};

void RunAll(PolygonClip *self, const Scenario &s);

Corner C(GLfloat x, GLfloat y, GLfloat z, GLfloat w, bool edge = true) {
  return {{x, y, z, w}, {x * 0.5f, y * 0.5f - 0.25f, z - 1.0f, 1.0f}, edge};
}

std::vector<Scenario> HandmadeScenarios() {
  std::vector<Scenario> s;
  s.push_back({"inside, no codes: the fan only", {C(-0.5f, -0.5f, 0, 1), C(0.5f, -0.5f, 0.2f, 1),
                                                   C(0.6f, 0.5f, 0, 1), C(-0.2f, 0.7f, 0, 1, false),
                                                   C(-0.7f, 0.1f, -0.3f, 1)}, {}});
  s.push_back({"inside, a code in the OR: unchanged but window made",
               {C(-0.5f, -0.5f, 0, 1), C(0.5f, -0.5f, 0.2f, 2), C(0.6f, 0.5f, 0, 1.5f)},
               {}, kDirect, __GL_CLIP_RIGHT});
  s.push_back({"one vertex behind the near plane: a quadrilateral",
               {C(-0.5f, -0.5f, 0.1f, 1), C(0.5f, -0.4f, -2.5f, 1, false),
                C(0.3f, 0.6f, 0.3f, 1)}, {}, kTriangle});
  s.push_back({"a quad beyond the right plane: nothing",
               {C(1.5f, -0.5f, 0, 1), C(2.5f, -0.5f, 0, 1), C(2.5f, 0.5f, 0, 1),
                C(1.5f, 0.5f, 0, 1)}, {}});
  s.push_back({"outside a corner: fewer than three after the second plane",
               {C(2, 0.5f, 0, 1), C(0.5f, 2, 0, 1), C(2.5f, 2.5f, 0, 1)}, {}, kTriangle});
  Scenario onPlane{"a vertex on the right plane",
                   {C(1, 0, 0, 1), C(2, 0.5f, 0, 1), C(0, -0.5f, 0, 1)}, {}, kTriangle};
  onPlane.generic = false;
  s.push_back(onPlane);
  Scenario alongPlane{"an edge along the right plane: degenerate",
                      {C(1, -0.5f, 0, 1), C(1, 0.5f, 0, 1), C(2, 0, 0, 1)}, {}, kTriangle};
  alongPlane.generic = false;
  s.push_back(alongPlane);
  Scenario nonConvex{"four crossings of one plane: given up",
                     {C(0, -0.8f, 0, 1), C(2, -0.6f, 0, 1), C(0, -0.2f, 0, 1), C(2, 0.2f, 0, 1),
                      C(0, 0.6f, 0, 1), C(-0.5f, 0, 0, 1)}, {}};
  nonConvex.generic = false;
  s.push_back(nonConvex);
  s.push_back({"a user plane and the frustum: the user plane first",
               {C(-0.6f, -0.5f, 0, 1), C(1.8f, -0.3f, 0.1f, 1.2f), C(0.2f, 0.7f, -0.1f, 0.9f)},
               {{1, 0.25, 0, 0.1}}, kTriangle});
  Scenario flipped{"negative y scale: reversed y bounds",
                   {C(-0.5f, -0.5f, 0, 1), C(0.4f, 2.5f, 0, 1), C(0.6f, -0.2f, 0, 1),
                    C(-0.3f, 1.7f, 0, 1, false)}, {}};
  flipped.flipY = true;
  s.push_back(flipped);
  s.push_back(Scenario{});
  s.back().what = "a polygon of fifteen vertices through the far plane";
  for (int k = 0; k < 15; ++k) {
    const double a = (k * 24 + 7) * M_PI / 180;
    s.back().corners.push_back(C(GLfloat(0.8 * cos(a)), GLfloat(0.8 * sin(a)),
                                 GLfloat(k == 5 || k == 6 ? 1.9 : 0.2 * sin(3 * a)), 1,
                                 k % 4 != 2));
  }
  return s;
}

// An octagon poking through exactly the frustum planes of `mask`, with w
// varying from corner to corner; with `userPlanes` also six user planes
// that each cut its eye-space outline.
Scenario Octagon(uint32_t mask, bool userPlanes) {
  Scenario s;
  s.what = "octagon through frustum planes 0x" + std::to_string(mask) +
           (userPlanes ? " and six user planes" : "");
  for (int k = 0; k < 8; ++k) {
    const double a = (k * 45 + 10) * M_PI / 180;
    double x = 0.55 * cos(a), y = 0.55 * sin(a), z = 0.3 * sin(2 * a + 0.4);
    const double w = 1 + 0.3 * sin(k * 1.3);
    if (k == 0 && (mask & 2)) x = 1.7;
    if (k == 4 && (mask & 1)) x = -1.8;
    if (k == 2 && (mask & 8)) y = 1.6;
    if (k == 6 && (mask & 4)) y = -1.9;
    if (k == 3 && (mask & 16)) z = -1.7;
    if (k == 7 && (mask & 32)) z = 1.75;
    const double b = (k * 45 + 30) * M_PI / 180;
    s.corners.push_back({{GLfloat(x * w), GLfloat(y * w), GLfloat(z * w), GLfloat(w)},
                         {GLfloat(0.9 * cos(b)), GLfloat(0.9 * sin(b)), GLfloat(0.2 * cos(3 * b)),
                          1.0f},
                         k % 3 != 1});
  }
  if (userPlanes)
    for (int i = 0; i < 6; ++i) {
      const double phi = (i * 60 + 5) * M_PI / 180;
      s.userPlanes.push_back({cos(phi), sin(phi), 0.1, 0.7});
    }
  return s;
}

void RunAll(PolygonClip *self, const Scenario &s) {
  for (int member : kMembers) {
    const bool hasFog = Decode(member).fog != 0;
    for (bool fogBit : {true, false}) {
      if (!hasFog && !fogBit) continue;
      self->Run(s, member, fogBit);
      if (testing::Test::HasFatalFailure()) return;
    }
  }
}

TEST_F(PolygonClip, HandmadeCasesMatchTheReference) {
  for (const Scenario &s : HandmadeScenarios()) RunAll(this, s);
}

TEST_F(PolygonClip, EveryFrustumPlaneCombinationMatchesTheReference) {
  for (uint32_t mask = 0; mask < 64; ++mask) RunAll(this, Octagon(mask, false));
}

TEST_F(PolygonClip, UserPlanesAndEveryFrustumPlaneMatchTheReference) {
  for (uint32_t mask : {0u, 3u, 12u, 48u, 63u}) RunAll(this, Octagon(mask, true));
}

}  // namespace
}  // namespace clip_test
