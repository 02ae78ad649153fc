// The vertex conversion every hardware primitive shares.
#include "sis/sis_vertex.h"

#include <math.h>
#include <string.h>

#include "core/context.h"
#include "core/gl_convert.h"
#include "sis/sis_registers.h"

namespace sis {

namespace {

constexpr uint32_t kChipCodeOrdered1 = 0x26, kChipCodeOrdered2 = 0x1C;

uint32_t Bits(float f) {
  uint32_t w;
  memcpy(&w, &f, sizeof w);
  return w;
}

uint32_t Byte(GLfloat component) { return __glTruncateToUint(component) & 0xFF; }

}  // namespace

bool WindowFinite(const GlVertex *v) {
  return isfinite(v->window.x) && isfinite(v->window.y) && isfinite(v->window.z);
}

bool TextureFinite(const GlSiSTail *sis, float s, float t, float q, bool interpolatesQ) {
  if (!isfinite(s) || !isfinite(t)) return false;
  return !interpolatesQ || !(sis->work.mode & SIS_MODE_PERSPECTIVE) || isfinite(q);
}

ChipVertex ToChip(GlContext *gc, const GlVertex *v, float yOffset) {
  const GlConstants &k = gc->constants;
  ChipVertex out;
  out.x = v->window.x - k.fviewportXAdjust - 0.5f;
  out.y = v->window.y - k.fviewportYAdjust - yOffset;
  const float z = v->window.z * k.oneOverDepthScale;
  out.zWord = z >= 1.0f ? kFarZWord : Bits(z);
  out.fogWord = 0;
  if (__glSiSTail(gc)->work.mode & SIS_MODE_FOG)
    out.fogWord = __glTruncateToUint(v->fog * 255.0f) << 24;
  return out;
}

uint32_t ColorWord(const GlColor *color) {
  if (color == nullptr) return 0;
  return Byte(color->a) << 24 | Byte(color->r) << 16 | Byte(color->g) << 8 | Byte(color->b);
}

int32_t FloatBits(float f) { return int32_t(Bits(f)); }

void PutBlock(const GlSiSTail *sis, int block, const ChipVertex &v, uint32_t color) {
  const uint32_t base = kRegVertexBlock + uint32_t(block) * kVertexBlockSize;
  Put(sis, base + kBlockFog, v.fogWord);
  Put(sis, base + kBlockZ, v.zWord);
  Put(sis, base + kBlockX, Bits(v.x));
  Put(sis, base + kBlockY, Bits(v.y));
  Put(sis, base + kBlockColor, color);
}

void PutTexture(const GlSiSTail *sis, int block, float s, float t, float q) {
  const uint32_t base = kRegVertexBlock + uint32_t(block) * kVertexBlockSize;
  Put(sis, base + kBlockS, Bits(s));
  Put(sis, base + kBlockT, Bits(t));
  Put(sis, base + kBlockQ, Bits(q));
}

void PutCommand(const GlSiSTail *sis, uint32_t command) { Put(sis, kRegPrimitiveCommand, command); }

bool TakesOrderedVertices(const GlSiSTail *sis) {
  return sis->chipCode == kChipCodeOrdered1 || sis->chipCode == kChipCodeOrdered2;
}

}  // namespace sis
