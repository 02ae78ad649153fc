// Hardware lines: the chip draws a one-pixel line between two vertex
// blocks; the command names its major axis, direction and shading. Lines
// into the front buffer are sent once per visible rectangle of the window.
#include <math.h>

#include <algorithm>
#include <utility>

#include "core/context.h"
#include "core/drawable.h"
#include "geometry/s_pgclip.h"
#include "raster/s_shader.h"
#include "sis/sis_hw.h"
#include "sis/sis_primitives.h"
#include "sis/sis_registers.h"
#include "sis/sis_vertex.h"

namespace {

// [y-major][backwards][smooth]
constexpr uint32_t kLineCommand[2][2][2] = {
    {{0xC1301, 0x101301}, {0x50301, 0x110301}},
    {{0xC1381, 0x101381}, {0x50381, 0x110381}},
};
constexpr int kLineSlots = 1 + 2 * int(sis::kBlockWords);

uint32_t LineCommand(const sis::ChipVertex &p, const sis::ChipVertex &q, int smooth) {
  const float dx = q.x - p.x, dy = q.y - p.y;
  const bool yMajor = !(fabsf(dy) < fabsf(dx));
  const bool backwards = yMajor ? dy < 0 : dx < 0;
  return kLineCommand[yMajor][backwards][smooth != 0];
}

void RenderLine(GlContext *gc, GlVertex *v1, GlVertex *v2, int smooth) {
  if (gc->polygon.shader.modeFlags & __GL_SHADE_FRONT_BUFFER)
    sis::__clipAndDrawLine(gc, v1, v2, smooth);
  else
    sis::__drawLine(gc, v1, v2, smooth);
}

}  // namespace

namespace sis {

void __drawLine(GlContext *gc, GlVertex *v1, GlVertex *v2, int smooth) {
  const GlSiSTail *sis = __glSiSTail(gc);
  if (!Sends(sis) || !WindowFinite(v1) || !WindowFinite(v2)) return;
  // A flat line takes its second end's colour, as the front end aimed it,
  // whichever end the chip gets first.
  const GlColor *flat = v2->color;
  if (TakesOrderedVertices(sis) && FloatBits(v2->window.y) < FloatBits(v1->window.y))
    std::swap(v1, v2);
  const ChipVertex p = ToChip(gc, v1, kLineYOffset), q = ToChip(gc, v2, kLineYOffset);
  const uint32_t c1 = ColorWord(smooth ? v1->color : flat);
  const uint32_t c2 = ColorWord(smooth ? v2->color : flat);
  mWait3DCmdQueue(kLineSlots);
  PutCommand(sis, LineCommand(p, q, smooth));
  PutBlock(sis, 0, p, c1);
  PutBlock(sis, 1, q, c2);
  mWait3DCmdQueue(1);
  SiS6326Store8(sis->mmioBase + kRegFire, 0xFF);
}

void __clipAndDrawLine(GlContext *gc, GlVertex *v1, GlVertex *v2, int smooth) {
  const GlDrawable *drawable = gc->drawablePrivate;
  if (!Sends(__glSiSTail(gc))) return;
  if (drawable == nullptr || drawable->clipCount <= 0 || drawable->clipRects == nullptr) return;
  if (!WindowFinite(v1) || !WindowFinite(v2)) return;
  if (__glWholeDrawableVisible(gc, drawable)) {
    __drawLine(gc, v1, v2, smooth);
    return;
  }
  const int32_t *box = gc->transform.clipBox;
  const int32_t bx = gc->constants.viewportXAdjust, by = gc->constants.viewportYAdjust;
  const int32_t x0 = box[0] - bx, y0 = box[1] - by, x1 = box[2] - bx, y1 = box[3] - by;
  for (int32_t i = 0; i < drawable->clipCount; ++i) {
    const GlRect &r = drawable->clipRects[i];
    // Each rectangle is kept inside the clip box, so that the scissor
    // still holds for lines cut to the window's visible parts.
    const int32_t left = std::max(r.x0, x0), top = std::max(r.y0, y0);
    const int32_t right = std::min(r.x1, x1), bottom = std::min(r.y1, y1);
    if (left >= right || top >= bottom) continue;
    SetScissor(gc, uint32_t(left), uint32_t(top), uint32_t(right), uint32_t(bottom));
    __drawLine(gc, v1, v2, smooth);
  }
  // Back to the clip box, which validation programs too, so that a later
  // full upload and this agree.
  SetScissor(gc, uint32_t(x0), uint32_t(y0), uint32_t(x1), uint32_t(y1));
}

}  // namespace sis

void __glSiSRenderFlatLine(GlContext *gc, GlVertex *v1, GlVertex *v2) { RenderLine(gc, v1, v2, 0); }
void __glSiSRenderSmoothLine(GlContext *gc, GlVertex *v1, GlVertex *v2) {
  RenderLine(gc, v1, v2, 1);
}
// Depth testing is the mode register's: the depth forms send the same.
void __glSiSRenderFlatDepthLine(GlContext *gc, GlVertex *v1, GlVertex *v2) {
  RenderLine(gc, v1, v2, 0);
}
void __glSiSRenderSmoothDepthLine(GlContext *gc, GlVertex *v1, GlVertex *v2) {
  RenderLine(gc, v1, v2, 1);
}
