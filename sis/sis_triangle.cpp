// Hardware triangles: the command and three vertex blocks, sorted top-first
// with the long edge's side in the command on the chips that need it.
// Triangles are not fired here; the outermost device unlock fires them.
#include <utility>

#include "core/context.h"
#include "raster/s_shader.h"
#include "raster/s_tri_render_face.h"
#include "sis/sis_hw.h"
#include "sis/sis_primitives.h"
#include "sis/sis_vertex.h"

namespace {

constexpr uint32_t kTriangleCommand = 0x6000;
constexpr uint32_t kSideRight = 0x02, kSideLeft = 0x82;
constexpr uint32_t kFlatCommand = 0x40000, kSmoothCommand = 0x100000;
constexpr uint32_t kUntexturedCommand = 0x500, kTexturedCommand = 0x600;

void OrderByY(GlVertex *v[3]) {
  auto above = [](const GlVertex *p, const GlVertex *q) {
    return sis::FloatBits(p->window.y) < sis::FloatBits(q->window.y);
  };
  if (above(v[1], v[0])) std::swap(v[0], v[1]);
  if (above(v[2], v[0])) std::swap(v[0], v[2]);
  if (above(v[2], v[1])) std::swap(v[1], v[2]);
}

// 0x82 when the middle vertex lies left of the long edge (top to bottom).
uint32_t Side(const sis::ChipVertex &top, const sis::ChipVertex &middle,
              const sis::ChipVertex &bottom) {
  const float xLong =
      (bottom.x - top.x) * (middle.y - top.y) / (bottom.y - top.y) + top.x;
  return xLong > middle.x ? kSideLeft : kSideRight;
}

template <bool kTextured>
void SendTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c, int smooth) {
  GlSiSTail *sis = __glSiSTail(gc);
  if (!sis::Sends(sis)) return;
  if (!sis::WindowFinite(a) || !sis::WindowFinite(b) || !sis::WindowFinite(c)) return;
  // The flat colour is the provoking vertex's, through the pointer the front
  // end aimed at its face's colours; nothing here moves a pointer.
  const GlColor *flat = smooth ? nullptr : __glTriangleProvoking(gc, c)->color;
  GlVertex *v[3] = {a, b, c};
  const bool ordered = sis::TakesOrderedVertices(sis);
  if (ordered) OrderByY(v);
  if (kTextured) {
    sis::__RescaleTextureUV(gc, v[0], v[1], v[2]);
    for (int i = 0; i < 3; ++i)
      if (!sis::TextureFinite(sis, sis->texS[i], sis->texT[i], v[i]->texture.w, true)) return;
  }
  sis::ChipVertex p[3];
  for (int i = 0; i < 3; ++i) p[i] = sis::ToChip(gc, v[i], sis::kTriangleYOffset);
  const uint32_t words = kTextured ? sis::kTexturedBlockWords : sis::kBlockWords;
  mWait3DCmdQueue(1 + 3 * int(words));
  uint32_t command = kTriangleCommand | (ordered ? Side(p[0], p[1], p[2]) : kSideRight);
  command |= smooth ? kSmoothCommand : kFlatCommand;
  command |= kTextured ? kTexturedCommand : kUntexturedCommand;
  sis::PutCommand(sis, command);
  for (int i = 0; i < 3; ++i) {
    sis::PutBlock(sis, i, p[i], sis::ColorWord(smooth ? v[i]->color : flat));
    if (kTextured) sis::PutTexture(sis, i, sis->texS[i], sis->texT[i], v[i]->texture.w);
  }
}

}  // namespace

namespace sis {

void __fillTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c, int smooth) {
  SendTriangle<false>(gc, a, b, c, smooth);
}

void __texTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c, int smooth) {
  SendTriangle<true>(gc, a, b, c, smooth);
}

void __RescaleTextureUV(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c) {
  GlSiSTail *sis = __glSiSTail(gc);
  const bool divide = (gc->polygon.shader.modeFlags & __GL_SHADE_TEX_DIVIDED) != 0;
  const GlVertex *v[3] = {a, b, c};
  for (int i = 0; i < 3; ++i) {
    const GlCoord &tc = v[i]->texture;
    sis->texS[i] = divide ? tc.x / tc.w : tc.x;
    sis->texT[i] = divide ? tc.y / tc.w : tc.y;
  }
}

}  // namespace sis

// Depth testing is the mode register's: the depth forms send the same.
void GLFASTCALL __glSiSRenderFlatTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c) {
  sis::__fillTriangle(gc, a, b, c, 0);
}
void GLFASTCALL __glSiSRenderSmoothTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c) {
  sis::__fillTriangle(gc, a, b, c, 1);
}
void GLFASTCALL __glSiSRenderFlatDepthTriangle(GlContext *gc, GlVertex *a, GlVertex *b,
                                               GlVertex *c) {
  sis::__fillTriangle(gc, a, b, c, 0);
}
void GLFASTCALL __glSiSRenderSmoothDepthTriangle(GlContext *gc, GlVertex *a, GlVertex *b,
                                                 GlVertex *c) {
  sis::__fillTriangle(gc, a, b, c, 1);
}
void GLFASTCALL __glSiSTexFlatTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c) {
  sis::__texTriangle(gc, a, b, c, 0);
}
void GLFASTCALL __glSiSTexSmoothTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c) {
  sis::__texTriangle(gc, a, b, c, 1);
}
void GLFASTCALL __glSiSTexFlatDepthTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c) {
  sis::__texTriangle(gc, a, b, c, 0);
}
void GLFASTCALL __glSiSTexSmoothDepthTriangle(GlContext *gc, GlVertex *a, GlVertex *b,
                                              GlVertex *c) {
  sis::__texTriangle(gc, a, b, c, 1);
}
