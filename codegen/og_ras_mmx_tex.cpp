// The texel stage of the MMX body: the texel index of each lane from the s
// and t words (16-bit fractions of the texture, so coordinates repeat),
// two texels fetched per pair of lanes, their channels as words, then the
// environment. Texel addresses are read at run time: the image from the
// span record, the palette through the context's current texture.
#include <initializer_list>

#include "codegen/og_ras_mmx.h"
#include "core/gl_assert.h"

namespace og_raster {
namespace {

uint32_t TexelBytes(GLenum baseFormat) {
  switch (baseFormat) {
    case GL_RGBA: return 4;
    case GL_RGB: return 3;
    case GL_LUMINANCE_ALPHA: return 2;
    case GL_LUMINANCE:
    case GL_INTENSITY: return 1;
    default: break;
  }
  __glAssertFailed("0", "og_ras", __LINE__);
}

// mm1 = the texel indices of lanes 0 and 1, mm2 those of lanes 2 and 3:
// t's texel row over s's fraction, shifted down by 16 - widthLog2, is
// row x width + column.
void TexelIndices(MmxGen &m) {
  Gen &g = m.g;
  GlContext *gc = g.gc;
  g.E(movq(gc, mm0, mm7));
  g.E(psrlw(gc, mm0, m.Slot(kSlotTexShift + 1)));
  g.E(movq(gc, mm1, mm6));
  g.E(punpcklwd(gc, mm1, mm0));
  g.E(movq(gc, mm2, mm6));
  g.E(punpckhwd(gc, mm2, mm0));
  g.E(psrld(gc, mm1, m.Slot(kSlotTexShift)));
  g.E(psrld(gc, mm2, m.Slot(kSlotTexShift)));
  if (m.indexed) {
    g.E(paddd(gc, mm1, m.Slot(kSlotTexels)));
    g.E(paddd(gc, mm2, m.Slot(kSlotTexels)));
  }
}

// genread and the narrower formats: `r` = the texel at index `r` from the
// base in ebp (edx scratch). An RGB texel is read as three bytes, so that
// the last texel of an image never reads past it.
void Fetch(MmxGen &m, OgCode *r, uint32_t bytes) {
  Gen &g = m.g;
  GlContext *gc = g.gc;
  if (m.indexed) {
    // The index byte at its absolute address; indices wrap at the
    // palette's width, so no entry is read past the table.
    g.E(movzx(gc, r, mem2(gc, nullptr, r)));
    g.E(and_(gc, r, m.Slot(kSlotPaletteMask)));
  }
  switch (bytes) {
    case 1: g.E(movzx(gc, r, mem(gc, nullptr, ebp, r, 1))); break;
    case 2: g.E(movzxw(gc, r, mem(gc, nullptr, ebp, r, 2))); break;
    case 3:
      g.E(lea(gc, r, mem(gc, nullptr, r, r, 2)));
      g.E(movzxw(gc, edx, mem(gc, nullptr, ebp, r, 1)));
      g.E(movzx(gc, r, mem(gc, g.V(2), ebp, r, 1)));
      g.E(shl(gc, r, g.V(16)));
      g.E(or_(gc, r, edx));
      break;
    default: g.E(mov(gc, r, mem(gc, nullptr, ebp, r, 4)));
  }
}

// The two texels of the indices in `pair` back into its dwords.
void FetchPair(MmxGen &m, OgCode *pair, uint32_t bytes) {
  Gen &g = m.g;
  GlContext *gc = g.gc;
  g.E(movd(gc, eax, pair));
  g.E(psrlq(gc, pair, g.V(32)));
  g.E(movd(gc, ecx, pair));
  Fetch(m, eax, bytes);
  Fetch(m, ecx, bytes);
  g.E(movd(gc, pair, eax));
  g.E(movd(gc, mm0, ecx));
  g.E(punpckldq(gc, pair, mm0));
}

enum class Move { kLeft, kRight };

// The result registers and the texel dwords they are made from.
struct Halves {
  OgCode *to, *from;
};
constexpr int kHalves = 2;
Halves HalfOf(int i) { return i == 0 ? Halves{mm0, mm1} : Halves{mm3, mm2}; }

// One field of the texel dwords of mm1 and mm2, moved and masked, as four
// words into slot `at`.
void Field(MmxGen &m, Move move, int32_t by, uint32_t mask, int32_t at) {
  Gen &g = m.g;
  GlContext *gc = g.gc;
  for (int i = 0; i < kHalves; i++) {
    const Halves h = HalfOf(i);
    g.E(movq(gc, h.to, h.from));
    if (by) g.E(move == Move::kLeft ? pslld(gc, h.to, g.V(by)) : psrld(gc, h.to, g.V(by)));
    g.E(pand(gc, h.to, m.Dword(mask)));
  }
  g.E(packssdw(gc, mm0, mm3));
  g.E(movq(gc, m.Slot(at), mm0));
}

void SameForAll(MmxGen &m) {
  Gen &g = m.g;
  g.E(movq(g.gc, m.Slot(kSlotBlendSource + 1), mm0));
  g.E(movq(g.gc, m.Slot(kSlotBlendSource + 2), mm0));
}

// The texel channels as words: a channel byte c as c x 128 (top bit 14),
// luminance and intensity as (c x 257) >> 1, alpha as c x 64 (1.0 =
// 16384) into slot 54 when a blend factor reads it.
void Channels(MmxGen &m, bool alpha) {
  Gen &g = m.g;
  GlContext *gc = g.gc;
  switch (m.baseFormat) {
    case GL_RGB:
    case GL_RGBA:
      Field(m, Move::kLeft, 7, 0x7F80, kSlotBlendSource);
      Field(m, Move::kRight, 1, 0x7F80, kSlotBlendSource + 1);
      Field(m, Move::kRight, 9, 0x7F80, kSlotBlendSource + 2);
      if (alpha) Field(m, Move::kRight, 18, 0x3FC0, kSlotSourceAlpha);
      return;
    case GL_LUMINANCE_ALPHA:
      Field(m, Move::kLeft, 7, 0x7F80, kSlotBlendSource);
      SameForAll(m);
      if (alpha) Field(m, Move::kRight, 2, 0x3FC0, kSlotSourceAlpha);
      return;
    case GL_LUMINANCE:
    case GL_INTENSITY:
      for (int i = 0; i < kHalves; i++) {
        const Halves h = HalfOf(i);
        g.E(movq(gc, h.to, h.from));
        g.E(pslld(gc, h.to, g.V(8)));
        g.E(por(gc, h.to, h.from));
        g.E(psrld(gc, h.to, g.V(1)));
      }
      g.E(packssdw(gc, mm0, mm3));
      g.E(movq(gc, m.Slot(kSlotBlendSource), mm0));
      SameForAll(m);
      if (alpha) {
        g.E(psrlw(gc, mm0, g.V(1)));
        g.E(movq(gc, m.Slot(kSlotSourceAlpha), mm0));
      }
      return;
    default:
      break;
  }
  __glAssertFailed("0", "og_ras", __LINE__);
}

// GL_MODULATE: each channel times the colour (the product's top bit at
// 13, moved back to 14), and the texel alpha times the colour's.
void Modulate(MmxGen &m, bool alpha) {
  Gen &g = m.g;
  GlContext *gc = g.gc;
  for (int k = 0; k < 3; k++) {
    g.E(movq(gc, mm0, m.Slot(kSlotBlendSource + k)));
    g.E(movq(gc, mm3, m.ColorWords(k)));
    ClampWords(m, mm3);
    g.E(pmulhw(gc, mm0, mm3));
    g.E(psllw(gc, mm0, g.V(1)));
    g.E(movq(gc, m.Slot(kSlotBlendSource + k), mm0));
  }
  if (!alpha) return;
  g.E(movq(gc, mm0, m.Slot(kSlotSourceAlpha)));
  g.E(movq(gc, mm3, m.Slot(kSlotAlpha)));
  ClampAlpha(m, mm3);
  g.E(pmulhw(gc, mm0, mm3));
  g.E(psllw(gc, mm0, g.V(2)));
  g.E(movq(gc, m.Slot(kSlotSourceAlpha), mm0));
}

// Texels in the frame buffer's format (bytes or words in dwords) as the
// four pixel words: sign-extended, they pack without saturating.
void DirectPixels(MmxGen &m) {
  Gen &g = m.g;
  GlContext *gc = g.gc;
  for (OgCode *r : {mm1, mm2}) {
    g.E(pslld(gc, r, g.V(16)));
    g.E(psrad(gc, r, g.V(16)));
  }
  g.E(movq(gc, mm0, mm1));
  g.E(packssdw(gc, mm0, mm2));
}

}  // namespace

void TexturePix(MmxGen &m) {
  Gen &g = m.g;
  GlContext *gc = g.gc;
  // Direct texels are already pixels: nothing blends or dithers them.
  __GL_ASSERT(!(m.direct && m.blend), "!do_blend", "og_ras");
  g.E(mov(gc, m.Slot(kSlotPassMask), ecx));
  TexelIndices(m);
  const uint32_t bytes = m.direct ? m.groupBytes / 4 : TexelBytes(m.baseFormat);
  FetchPair(m, mm1, bytes);
  FetchPair(m, mm2, bytes);
  g.E(mov(gc, ecx, m.Slot(kSlotPassMask)));
  if (m.direct) return DirectPixels(m);
  const bool texelAlpha = m.blendAlpha && has_alpha(m.baseFormat);
  Channels(m, texelAlpha);
  if (m.env == GL_MODULATE) Modulate(m, texelAlpha);
  if (m.blendAlpha && !texelAlpha) SourceAlpha(m);
  if (m.blend) return genblend(m);
  for (int k = 0; k < 3; k++) {
    OgCode *to = k == 0 ? mm0 : mm1;
    g.E(movq(gc, to, m.Slot(kSlotBlendSource + k)));
    if (g.dither) g.E(paddsw(gc, to, m.Slot(kSlotDitherRow + k)));
    PackChannel(m, to, k, 14);
    if (k) g.E(por(gc, mm0, mm1));
  }
}

}  // namespace og_raster
