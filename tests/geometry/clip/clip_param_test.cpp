// The thirty parameter-clip procedures against a double model of each
// member: what its name spells is interpolated from b towards a, nothing
// else in the record changes, and the picker's table and choices.
//
// Tolerance: the model computes a t + b (1 - t) in long double; the member
// rounds one double interpolation to single precision, so it is within
// 2^-23 of the larger end's magnitude.
#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include <string>

#include "geometry/s_clip_param.h"
#include "raster/s_shader.h"
#include "tests/geometry/clip/clip_fixture.h"

namespace clip_test {
namespace {

constexpr uint32_t kCodeBits = 0xFFFF0000u;

// The members in table order with the parts their names spell.
struct NamedMember {
  const char *name;
  GlClipParamProc proc;
  int color;  // 0 none, 1 I, 2 C, 3 BI, 4 BC
  bool fog;
  int texture;  // 0 none, 1 T, 2 TP
};
#define M(name, color, fog, texture) {#name, geometry::name, color, fog, texture}
const NamedMember kMembers[30] = {
    M(Clip, 0, false, 0),    M(ClipI, 1, false, 0),    M(ClipC, 2, false, 0),
    M(ClipBI, 3, false, 0),  M(ClipBC, 4, false, 0),   M(ClipF, 0, true, 0),
    M(ClipIF, 1, true, 0),   M(ClipCF, 2, true, 0),    M(ClipBIF, 3, true, 0),
    M(ClipBCF, 4, true, 0),  M(ClipT, 0, false, 1),    M(ClipIT, 1, false, 1),
    M(ClipCT, 2, false, 1),  M(ClipBIT, 3, false, 1),  M(ClipBCT, 4, false, 1),
    M(ClipFT, 0, true, 1),   M(ClipIFT, 1, true, 1),   M(ClipCFT, 2, true, 1),
    M(ClipBIFT, 3, true, 1), M(ClipBCFT, 4, true, 1),  M(ClipTP, 0, false, 2),
    M(ClipITP, 1, false, 2), M(ClipCTP, 2, false, 2),  M(ClipBITP, 3, false, 2),
    M(ClipBCTP, 4, false, 2), M(ClipFTP, 0, true, 2),  M(ClipIFTP, 1, true, 2),
    M(ClipCFTP, 2, true, 2), M(ClipBIFTP, 3, true, 2), M(ClipBCFTP, 4, true, 2),
};
#undef M

// The ends of one cut edge: which carry code bits and a fog value.
struct EdgeCase {
  const char *what;
  uint32_t aCodes, bCodes;
  bool aFog;
  GLfloat t;
};
const EdgeCase kEdges[] = {
    {"outside end a with codes, b clean", __GL_CLIP_RIGHT, 0, true, 0.375f},
    {"both ends with codes", __GL_CLIP_NEAR, __GL_CLIP_USER0, true, 0.8125f},
    {"a without a fog value: eye z instead", __GL_CLIP_TOP, 0, false, 0.3f},
    {"t = 0 gives b", __GL_CLIP_LEFT, 0, true, 0.0f},
    {"t = 1 gives a", __GL_CLIP_LEFT, __GL_CLIP_FAR, false, 1.0f},
    {"clip-made end a (every code bit)", kCodeBits, 0, true, 0.6f},
};

GlVertex End(int seed, uint32_t codes, bool fog) {
  GlVertex v;
  memset(&v, 0, sizeof v);
  GLfloat *f = reinterpret_cast<GLfloat *>(&v);
  for (size_t i = 0; i < sizeof v / sizeof(GLfloat); ++i)
    f[i] = GLfloat(1.5 * sin(0.77 * double(i) + 1.9 * seed));
  v.clip.w = GLfloat(0.75 + 0.5 * seed);
  v.color = &v.colors[__GL_FRONTFACE];
  v.has = __GL_HAS_SIZE3 | 0x3Fu | (fog ? __GL_HAS_FOG : 0) | codes;
  return v;
}

long double Model(long double a, long double b, long double t) { return a * t + b * (1 - t); }

void ExpectMixed(GLfloat got, long double a, long double b, GLfloat t, const char *what) {
  const long double want = Model(a, b, t);
  const double tol = ldexp(fmax(fabs(double(a)), fabs(double(b))), -23);
  EXPECT_NEAR(got, double(want), tol) << what;
}

TEST(ParameterClip, EveryMemberInterpolatesWhatItsNameSpells) {
  for (int index = 0; index < 30; ++index) {
    const NamedMember &m = kMembers[index];
    for (const EdgeCase &e : kEdges) {
      SCOPED_TRACE(std::string(m.name) + ": " + e.what);
      const GlVertex a = End(1, e.aCodes, e.aFog), b = End(2, e.bCodes, true);
      GlVertex dst = End(3, 0, false), before = dst;
      m.proc(nullptr, &dst, &a, &b, e.t);

      ExpectMixed(dst.clip.w, a.clip.w, b.clip.w, e.t, "w");
      EXPECT_NEAR(dst.window.w, 1.0 / double(dst.clip.w), ldexp(1.0 / fabs(dst.clip.w), -23));
      ExpectMixed(dst.clip.x, a.clip.x, b.clip.x, e.t, "x");
      ExpectMixed(dst.clip.y, a.clip.y, b.clip.y, e.t, "y");
      ExpectMixed(dst.clip.z, a.clip.z, b.clip.z, e.t, "z");
      EXPECT_EQ(dst.has, kCodeBits);

      // Which fields the member writes; every other one keeps its value.
      GlVertex want = before;
      want.clip = dst.clip;
      want.window.w = dst.window.w;
      want.has = dst.has;
      const int components = (m.color == 2 || m.color == 4) ? 4 : m.color ? 1 : 0;
      for (int face = 0; face < (m.color >= 3 ? 2 : 1) && components; ++face) {
        const GLfloat *ga = &a.colors[face].r, *gb = &b.colors[face].r;
        const GLfloat *got = &dst.colors[face].r;
        GLfloat *w = &want.colors[face].r;
        for (int k = 0; k < components; ++k) {
          ExpectMixed(got[k], ga[k], gb[k], e.t, face ? "back colour" : "front colour");
          w[k] = got[k];
        }
      }
      if (m.fog && e.aFog) {
        ExpectMixed(dst.fog, a.fog, b.fog, e.t, "fog");
        want.fog = dst.fog;
      }
      if (m.fog && !e.aFog) {
        ExpectMixed(dst.eye.z, a.eye.z, b.eye.z, e.t, "eye z");
        want.eye.z = dst.eye.z;
      }
      if (m.texture) {
        const GLfloat *ta = &a.texture.x, *tb = &b.texture.x, *got = &dst.texture.x;
        for (int k = 0; k < 4; ++k) {
          // An end without codes holds s, t, q divided by its w.
          long double ea = ta[k], eb = tb[k];
          if (m.texture == 2 && k != 2) {
            if (!(a.has & kCodeBits)) ea *= a.clip.w;
            if (!(b.has & kCodeBits)) eb *= b.clip.w;
          }
          ExpectMixed(got[k], ea, eb, e.t, "texture");
        }
        want.texture = dst.texture;
      }
      EXPECT_EQ(memcmp(&dst, &want, sizeof dst), 0) << "a field the member must not touch";
    }
  }
}

// With perspective texturing, cutting the edge from a clean vertex (texture
// divided by w) to one with codes and dividing the result by its own w
// gives the perspective-correct value: undivided coordinates interpolated
// in clip space, then divided.
TEST(ParameterClip, DividedTextureIsConsistentWithClipSpace) {
  struct Case {
    GLfloat wa, wb, sa, sb, t;
  };
  const Case kCases[] = {{4.0f, 1.0f, 2.0f, -1.0f, 0.25f},
                         {0.5f, 3.0f, 0.125f, 8.0f, 0.7f},
                         {2.0f, 2.0f, -3.0f, 3.0f, 0.5f}};
  for (const Case &c : kCases) {
    for (int index = 20; index < 30; ++index) {
      GlVertex a = End(1, __GL_CLIP_RIGHT, true), b = End(2, 0, true), dst = End(3, 0, true);
      a.clip.w = c.wa;
      b.clip.w = c.wb;
      a.texture = {c.sa, -c.sa, 0.5f, 1.0f};  // undivided, a has codes
      b.texture = {c.sb / c.wb, -c.sb / c.wb, 0.25f, 1.0f / c.wb};  // divided by w
      kMembers[index].proc(nullptr, &dst, &a, &b, c.t);
      const double w = c.wb + (double(c.wa) - c.wb) * c.t;
      const double s = c.sb + (double(c.sa) - c.sb) * c.t;
      EXPECT_NEAR(dst.texture.x / dst.clip.w, s / w, 1e-6) << kMembers[index].name;
      EXPECT_NEAR(dst.texture.y / dst.clip.w, -s / w, 1e-6);
      EXPECT_NEAR(dst.texture.w / dst.clip.w, 1.0 / w, 1e-6);
      EXPECT_NEAR(dst.texture.z, 0.25 + 0.25 * c.t, 1e-7) << "r is never divided";
    }
  }
}

TEST(ParameterClip, TheTableHoldsTheMembersInIndexOrder) {
  for (int i = 0; i < 30; ++i) EXPECT_EQ(geometry::clipProcs[i], kMembers[i].proc) << i;
}

// ---- The picker ----

struct PickCase {
  const char *what;
  bool rgba, smooth, lighting, twoSided, texture;
  uint32_t flags;  // raster-mode flags
  const char *line, *polygon;
};
constexpr uint32_t kSmoothFlag = __GL_SHADE_SMOOTH_LIGHT, kFogFlag = __GL_SHADE_FOG,
                   kDivided = __GL_SHADE_TEX_DIVIDED;
const PickCase kPickCases[] = {
    {"RGBA flat, lighting, two-sided, fog", true, false, true, true, false, kFogFlag, "ClipF",
     "ClipF"},
    {"RGBA smooth, lighting, two-sided, fog: fog rides in the colours", true, true, true, true,
     false, kFogFlag | kSmoothFlag, "ClipC", "ClipBC"},
    {"index smooth, two-sided lighting", false, true, true, true, false, kSmoothFlag, "ClipI",
     "ClipBI"},
    {"two-sided without lighting: front only", true, true, false, true, false, kSmoothFlag,
     "ClipC", "ClipC"},
    {"index flat fog, texture", false, false, false, false, true, kFogFlag, "ClipFT", "ClipFT"},
    {"RGBA smooth, divided texture, two-sided", true, true, true, true, true,
     kSmoothFlag | kDivided, "ClipCTP", "ClipBCTP"},
    {"index flat fog, divided texture, two-sided", false, false, true, true, true,
     kFogFlag | kDivided, "ClipFTP", "ClipFTP"},
    {"divided flag without texturing", true, true, false, false, false, kSmoothFlag | kDivided,
     "ClipC", "ClipC"},
    {"RGBA smooth fog-less texture", true, true, false, false, true, kSmoothFlag, "ClipCT",
     "ClipCT"},
};

const char *NameOf(GlClipParamProc proc) {
  for (const NamedMember &m : kMembers)
    if (m.proc == proc) return m.name;
  return "?";
}

class ParameterClipPicker : public ClipTest {};

TEST_F(ParameterClipPicker, FollowsShadingLightingFogAndTexture) {
  GlTextureObject texture{};
  for (const PickCase &c : kPickCases) {
    SCOPED_TRACE(c.what);
    gc->modes.rgbMode = c.rgba;
    gc->state.light.shadingModel = c.smooth ? GL_SMOOTH : GL_FLAT;
    if (c.lighting)
      gc->state.enables.general |= __GL_LIGHTING_ENABLE;
    else
      gc->state.enables.general &= ~__GL_LIGHTING_ENABLE;
    gc->state.light.model.twoSided = c.twoSided;
    gc->texture.current = c.texture ? &texture : nullptr;
    gc->texture.active = c.texture;
    gc->polygon.shader.modeFlags = c.flags | (c.texture ? __GL_SHADE_TEXTURE : 0);
    __glGenericPickParameterClipProcs(gc);
    EXPECT_STREQ(NameOf(gc->procs.lineClipParam), c.line);
    EXPECT_STREQ(NameOf(gc->procs.polygonClipParam), c.polygon);
  }
  gc->texture.current = nullptr;
  gc->texture.active = 0;
}

// Feedback reports texture coordinates with texturing off: a clip-made
// vertex must carry interpolated ones, not what its slot last held.
TEST_F(ParameterClipPicker, FeedbackInterpolatesTextureWithTexturingOff) {
  gc->modes.rgbMode = 1;
  gc->state.light.shadingModel = GL_SMOOTH;
  gc->texture.active = 0;
  gc->polygon.shader.modeFlags = kSmoothFlag;
  for (GLenum mode : {GL_RENDER, GL_SELECT, GL_FEEDBACK}) {
    gc->renderMode = mode;
    __glGenericPickParameterClipProcs(gc);
    const char *want = mode == GL_FEEDBACK ? "ClipCT" : "ClipC";
    EXPECT_STREQ(NameOf(gc->procs.lineClipParam), want) << mode;
    EXPECT_STREQ(NameOf(gc->procs.polygonClipParam), want) << mode;
  }
  gc->renderMode = GL_RENDER;
}

}  // namespace
}  // namespace clip_test
