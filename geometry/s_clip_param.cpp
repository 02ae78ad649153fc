// The thirty parameter-clip procedures: one straight-line body per
// combination of colour kind, fog and texture kind, so a clip vertex costs
// only what the state reads. Every value is b + t (a - b) in double
// precision, rounded once to float.
#include "geometry/s_clip_param.h"

#include "core/context.h"
#include "geometry/s_vertex.h"

namespace {

enum ColorKind { kNoColor, kIndex, kRgba, kBackIndex, kBackRgba };
enum TextureKind { kNoTexture, kTexture, kDividedTexture };

constexpr uint32_t kCodeBits = 0xFFFF0000u;

inline GLfloat Mix(double a, double b, double t) { return GLfloat((a - b) * t + b); }

inline void MixRgba(GlColor *dst, const GlColor &a, const GlColor &b, double t) {
  dst->r = Mix(a.r, b.r, t);
  dst->g = Mix(a.g, b.g, t);
  dst->b = Mix(a.b, b.b, t);
  dst->a = Mix(a.a, b.a, t);
}

// A vertex without code bits holds s, t and q divided by its w; one with
// codes keeps them as given. r is never divided.
struct Undivided {
  double s, t, r, q;
  explicit Undivided(const GlVertex *v) {
    const double w = (v->has & kCodeBits) ? 1.0 : double(v->clip.w);
    s = v->texture.x * w;
    t = v->texture.y * w;
    r = v->texture.z;
    q = v->texture.w * w;
  }
};

template <int Color, bool Fog, int Texture>
void ClipParam(GlVertex *dst, const GlVertex *a, const GlVertex *b, GLfloat tf) {
  const double t = tf;
  dst->clip.w = Mix(a->clip.w, b->clip.w, t);
  dst->window.w = GLfloat(1.0 / double(dst->clip.w));
  dst->clip.x = Mix(a->clip.x, b->clip.x, t);
  dst->clip.y = Mix(a->clip.y, b->clip.y, t);
  dst->clip.z = Mix(a->clip.z, b->clip.z, t);
  dst->has = kCodeBits;

  const GlColor &af = a->colors[__GL_FRONTFACE], &bf = b->colors[__GL_FRONTFACE];
  const GlColor &ab = a->colors[__GL_BACKFACE], &bb = b->colors[__GL_BACKFACE];
  GlColor *front = &dst->colors[__GL_FRONTFACE], *back = &dst->colors[__GL_BACKFACE];
  if (Color == kIndex || Color == kBackIndex) front->r = Mix(af.r, bf.r, t);
  if (Color == kBackIndex) back->r = Mix(ab.r, bb.r, t);
  if (Color == kRgba || Color == kBackRgba) MixRgba(front, af, bf, t);
  if (Color == kBackRgba) MixRgba(back, ab, bb, t);

  if (Fog) {
    // Without a fog value the fog is made from eye z later.
    if (a->has & __GL_HAS_FOG)
      dst->fog = Mix(a->fog, b->fog, t);
    else
      dst->eye.z = Mix(a->eye.z, b->eye.z, t);
  }

  if (Texture == kTexture) {
    dst->texture.x = Mix(a->texture.x, b->texture.x, t);
    dst->texture.y = Mix(a->texture.y, b->texture.y, t);
    dst->texture.z = Mix(a->texture.z, b->texture.z, t);
    dst->texture.w = Mix(a->texture.w, b->texture.w, t);
  } else if (Texture == kDividedTexture) {
    // The new vertex has code bits: it keeps them undivided too, and the
    // clipper divides once its window coordinates are made.
    const Undivided ta(a), tb(b);
    dst->texture.x = Mix(ta.s, tb.s, t);
    dst->texture.y = Mix(ta.t, tb.t, t);
    dst->texture.z = Mix(ta.r, tb.r, t);
    dst->texture.w = Mix(ta.q, tb.q, t);
  }
}

}  // namespace

namespace geometry {

#define GEOMETRY_CLIP_PARAM_DEFINE(name, color, fog, texture)                                \
  void name(GlContext *, GlVertex *dst, const GlVertex *a, const GlVertex *b, GLfloat t) { \
    ClipParam<color, fog, texture>(dst, a, b, t);                                          \
  }
GEOMETRY_CLIP_PARAM_DEFINE(Clip, kNoColor, false, kNoTexture)
GEOMETRY_CLIP_PARAM_DEFINE(ClipI, kIndex, false, kNoTexture)
GEOMETRY_CLIP_PARAM_DEFINE(ClipC, kRgba, false, kNoTexture)
GEOMETRY_CLIP_PARAM_DEFINE(ClipBI, kBackIndex, false, kNoTexture)
GEOMETRY_CLIP_PARAM_DEFINE(ClipBC, kBackRgba, false, kNoTexture)
GEOMETRY_CLIP_PARAM_DEFINE(ClipF, kNoColor, true, kNoTexture)
GEOMETRY_CLIP_PARAM_DEFINE(ClipIF, kIndex, true, kNoTexture)
GEOMETRY_CLIP_PARAM_DEFINE(ClipCF, kRgba, true, kNoTexture)
GEOMETRY_CLIP_PARAM_DEFINE(ClipBIF, kBackIndex, true, kNoTexture)
GEOMETRY_CLIP_PARAM_DEFINE(ClipBCF, kBackRgba, true, kNoTexture)
GEOMETRY_CLIP_PARAM_DEFINE(ClipT, kNoColor, false, kTexture)
GEOMETRY_CLIP_PARAM_DEFINE(ClipIT, kIndex, false, kTexture)
GEOMETRY_CLIP_PARAM_DEFINE(ClipCT, kRgba, false, kTexture)
GEOMETRY_CLIP_PARAM_DEFINE(ClipBIT, kBackIndex, false, kTexture)
GEOMETRY_CLIP_PARAM_DEFINE(ClipBCT, kBackRgba, false, kTexture)
GEOMETRY_CLIP_PARAM_DEFINE(ClipFT, kNoColor, true, kTexture)
GEOMETRY_CLIP_PARAM_DEFINE(ClipIFT, kIndex, true, kTexture)
GEOMETRY_CLIP_PARAM_DEFINE(ClipCFT, kRgba, true, kTexture)
GEOMETRY_CLIP_PARAM_DEFINE(ClipBIFT, kBackIndex, true, kTexture)
GEOMETRY_CLIP_PARAM_DEFINE(ClipBCFT, kBackRgba, true, kTexture)
GEOMETRY_CLIP_PARAM_DEFINE(ClipTP, kNoColor, false, kDividedTexture)
GEOMETRY_CLIP_PARAM_DEFINE(ClipITP, kIndex, false, kDividedTexture)
GEOMETRY_CLIP_PARAM_DEFINE(ClipCTP, kRgba, false, kDividedTexture)
GEOMETRY_CLIP_PARAM_DEFINE(ClipBITP, kBackIndex, false, kDividedTexture)
GEOMETRY_CLIP_PARAM_DEFINE(ClipBCTP, kBackRgba, false, kDividedTexture)
GEOMETRY_CLIP_PARAM_DEFINE(ClipFTP, kNoColor, true, kDividedTexture)
GEOMETRY_CLIP_PARAM_DEFINE(ClipIFTP, kIndex, true, kDividedTexture)
GEOMETRY_CLIP_PARAM_DEFINE(ClipCFTP, kRgba, true, kDividedTexture)
GEOMETRY_CLIP_PARAM_DEFINE(ClipBIFTP, kBackIndex, true, kDividedTexture)
GEOMETRY_CLIP_PARAM_DEFINE(ClipBCFTP, kBackRgba, true, kDividedTexture)
#undef GEOMETRY_CLIP_PARAM_DEFINE

const GlClipParamProc clipProcs[30] = {
    Clip,   ClipI,   ClipC,   ClipBI,   ClipBC,   ClipF,   ClipIF,   ClipCF,   ClipBIF,   ClipBCF,
    ClipT,  ClipIT,  ClipCT,  ClipBIT,  ClipBCT,  ClipFT,  ClipIFT,  ClipCFT,  ClipBIFT,  ClipBCFT,
    ClipTP, ClipITP, ClipCTP, ClipBITP, ClipBCTP, ClipFTP, ClipIFTP, ClipCFTP, ClipBIFTP, ClipBCFTP,
};

}  // namespace geometry
