// Antialiased points: the square around the point's disc, each pixel's
// coverage sampled on a 4 x 4 grid centred on the pixel centre; RGBA
// scales alpha by it, colour index puts it in the low four index bits.
#include "core/context.h"
#include "raster/s_point.h"
#include "raster/s_point_prepare.h"

namespace {

// Sixteenths of the pixel at offset (dx, dy) from the disc's centre whose
// samples lie inside the disc (on the circle counts).
GLfloat Coverage(GLfloat dx, GLfloat dy, GLfloat r2) {
  GLfloat c = 0;
  for (int i = 0; i < 4; i++) {
    const GLfloat sx = dx + (-0.375f + 0.25f * GLfloat(i));
    for (int j = 0; j < 4; j++) {
      const GLfloat sy = dy + (-0.375f + 0.25f * GLfloat(j));
      if (sy * sy <= r2 - sx * sx) c += 0.0625f;
    }
  }
  return c;
}

template <bool kRGBA>
void AntiAliasedPoint(GlContext *gc, GlVertex *v) {
  point_prepare::Prepared p;
  if (!point_prepare::Prepare(gc, v, &p)) return;
  const GlConstants &k = gc->constants;
  const GLfloat r = k.half * gc->state.point.smoothSize;
  if (!(r > 0.0f && r <= point_prepare::kMaxCoord)) return;
  const GLfloat r2 = r * r;
  const GLfloat cx = p.x - k.half, cy = p.y - k.half;
  const int32_t xMin = __glFloorToInt(cx - r), yMin = __glFloorToInt(cy - r);
  const int32_t columns = __glFloorToInt(cx + r) + 1 - xMin;
  const int32_t rows = __glFloorToInt(cy + r) + 1 - yMin;
  if (kRGBA) point_prepare::Texture(gc, v, &p.frag.color);
  const GLfloat a0 = p.frag.color.a, index = p.frag.color.r;
  const GlFragmentStoreProc store = point_prepare::ClippedStore(gc);
  // From the first pixel's centre.
  GLfloat dy = k.half + GLfloat(yMin) - cy;
  for (int32_t row = 0; row < rows; row++, dy += k.one) {
    GLfloat dx = k.half + GLfloat(xMin) - cx;
    for (int32_t column = 0; column < columns; column++, dx += k.one) {
      const GLfloat c = Coverage(dx, dy, r2);
      if (c == 0.0f) continue;
      p.frag.x = xMin + column;
      p.frag.y = yMin + row;
      if (kRGBA)
        p.frag.color.a = a0 * c;
      else
        p.frag.color.r = __glBuildAntiAliasIndex(index, c);
      store(gc->drawBuffer, &p.frag);
    }
  }
}

}  // namespace

GLfloat __glBuildAntiAliasIndex(GLfloat index, GLfloat coverage) {
  const uint32_t whole = uint32_t(__glTruncateToInt(index)) & ~15u;
  const uint32_t low = uint32_t(__glTruncateToInt(coverage * 15.0f + 0.5f)) & 15u;
  return GLfloat(int32_t(whole | low));
}

void __glRenderAntiAliasedRGBPoint(GlContext *gc, GlVertex *v) { AntiAliasedPoint<true>(gc, v); }
void __glRenderAntiAliasedCIPoint(GlContext *gc, GlVertex *v) { AntiAliasedPoint<false>(gc, v); }
