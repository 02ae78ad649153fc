// The setup's attribute sections: which planes the state needs, where their
// values come from and which span words receive them.
#include "codegen/og_ras_planes.h"

#include <string.h>

#include <initializer_list>

#include "codegen/og_ras_emit.h"
#include "codegen/og_ras_mmx.h"
#include "fastraster/fr_pick.h"
#include "fastraster/fr_setup.h"
#include "fastraster/fr_tables.h"

namespace og_setup {
namespace {

constexpr size_t kWindow = offsetof(GlVertex, window);
constexpr size_t kTexture = offsetof(GlVertex, texture);
constexpr size_t kColor = offsetof(GlVertex, color);
OgCode *const kVertexRegs[3] = {eax, ebx, ecx};

uint32_t Scratch(Gen &g, uint32_t bytes) {
  const uint32_t at = g.triples;
  g.triples += bytes;
  return at;
}

// The fixed-point subroutine stores at fixed distances from the edge word:
// every block this routine sets up must lie alike in the raster layout.
void MeasureFixed(Gen &g, size_t edge) {
  const int32_t e = int32_t(g.SpanPlace(edge));
  const int32_t dx = int32_t(g.SpanPlace(edge + 4)) - e;
  const int32_t dx32 = g.spanlet ? int32_t(g.SpanPlace(edge + 8)) - e : 0;
  const int32_t dy = int32_t(g.SpanPlace(edge + 12)) - e;
  const int32_t dyCarry = int32_t(g.SpanPlace(edge + 16)) - e;
  if (!g.fixedMeasured) {
    g.fixedDx = dx, g.fixedDx32 = dx32, g.fixedDy = dy, g.fixedDyCarry = dyCarry;
    g.fixedMeasured = true;
  } else if (dx != g.fixedDx || dx32 != g.fixedDx32 || dy != g.fixedDy ||
             dyCarry != g.fixedDyCarry) {
    og_fail(g.gc, "every fixed-point block lies alike");
  }
}

// Float blocks: PEdge, dPdx, dPdxBig, dPdxHalf, dPEdge, dPEdgeCarry, dPdy.
void MeasureFloat(Gen &g, size_t edge) {
  const int32_t e = int32_t(g.SpanPlace(edge));
  const int32_t dx = int32_t(g.SpanPlace(edge + 4)) - e;
  const int32_t dy = int32_t(g.SpanPlace(edge + 16)) - e;
  const int32_t dyCarry = int32_t(g.SpanPlace(edge + 20)) - e;
  const int32_t ddy = (g.stateBits & 0x20) ? int32_t(g.SpanPlace(edge + 24)) - e : 0;
  if (!g.floatMeasured) {
    g.floatDx = dx, g.floatDy = dy, g.floatDyCarry = dyCarry, g.floatDdy = ddy;
    g.floatMeasured = true;
  } else if (dx != g.floatDx || dy != g.floatDy || dyCarry != g.floatDyCarry ||
             ddy != g.floatDdy) {
    og_fail(g.gc, "every float block lies alike");
  }
}

void CallFixed(Gen &g, size_t edge, const OgBiasTriple &bias) {
  MeasureFixed(g, edge);
  g.E(lea(g.gc, edi, g.Span(edge)));
  g.E(mov(g.gc, esi, g.V(int32_t(uintptr_t(&bias)))));
  g.E(call(g.gc, g.fixedPlane));
  g.usesFixed = true;
}

void CallFloat(Gen &g, size_t edge) {
  MeasureFloat(g, edge);
  g.E(lea(g.gc, edi, g.Span(edge)));
  g.E(call(g.gc, g.floatPlane));
  g.usesFloat = true;
}

// eax, ebx, ecx: the addresses of a vertex word at top, bottom, middle.
void VertexWord(Gen &g, size_t field) {
  for (int v = 0; v < 3; v++) {
    g.E(mov(g.gc, kVertexRegs[v], g.D(kTop + 4 * v)));
    g.E(add(g.gc, kVertexRegs[v], g.V(int32_t(__glNSWhereIs(&g.gc->vertexShape, uint32_t(field), 4)))));
  }
}

void ColorWord(Gen &g, uint32_t component) {
  for (int v = 0; v < 3; v++) {
    g.E(mov(g.gc, kVertexRegs[v], g.D(kTop + 4 * v)));
    g.E(mov(g.gc, kVertexRegs[v], g.Vtx(kVertexRegs[v], kColor)));
    if (component) g.E(add(g.gc, kVertexRegs[v], g.V(int32_t(4 * component))));
  }
}

// The three floats of a scratch triple.
void TripleWords(Gen &g, uint32_t at) {
  for (int v = 0; v < 3; v++)
    g.E(mov(g.gc, kVertexRegs[v], g.V(int32_t(uintptr_t(g.data + at + 4 * v)))));
}

// The float on the x87 stack plus a bias's first double, as a fixed-point
// word in edx; pops it.
void Convert(Gen &g, const OgBiasTriple &bias) {
  g.E(faddq(g.gc, g.Abs(&bias.edge)));
  g.E(fstpq(g.gc, g.D(kScratchA)));
  g.E(mov(g.gc, edx, g.D(kScratchA)));
}

const size_t kColorEdges[3] = {offsetof(FrSpan, rEdge), offsetof(FrSpan, gEdge),
                               offsetof(FrSpan, bEdge)};
const size_t kFlatColors[3] = {offsetof(FrSpan, r), offsetof(FrSpan, g), offsetof(FrSpan, b)};

void IteratedColor(Gen &g, const OgBiasTriple &bias, bool rgba) {
  GlContext *gc = g.gc;
  for (uint32_t c = 0; c < (rgba ? 3u : 1u); c++) {
    ColorWord(g, c);
    CallFixed(g, kColorEdges[c], bias);
  }
  if (!(g.flags & __GL_SHADE_ALPHA)) return;
  if (g.spanlet) {
    ColorWord(g, 3);
  } else {
    // Alpha 255 must reach the top of 16.16 outside spanlet mode.
    const uint32_t t = Scratch(g, 12);
    for (int v = 0; v < 3; v++) {
      g.E(mov(gc, edx, g.D(kTop + 4 * v)));
      g.E(mov(gc, edx, g.Vtx(edx, kColor)));
      g.E(fld(gc, g.At(edx, 12)));
      g.E(fmul(gc, g.Abs(&alpha_correction_factor)));
      g.E(fstp(gc, g.D(t + 4 * v)));
    }
    TripleWords(g, t);
  }
  CallFixed(g, offsetof(FrSpan, aEdge), alpha_bias);
}

// One colour field moved from bits 16-23 to the buffer's shift, or'ed into
// edi.
void PackField(Gen &g, size_t word, uint32_t shift) {
  g.E(mov(g.gc, edx, g.Span(word)));
  g.E(and_(g.gc, edx, g.V(0xFF0000)));
  g.cb = og_raster::gobit(g.gc, g.cb, edx, 16, int32_t(shift));
  g.E(or_(g.gc, edi, edx));
}

void FlatColor(Gen &g, const OgBiasTriple &bias, bool rgba) {
  GlContext *gc = g.gc;
  OgCode *none = label(gc);
  g.E(mov(gc, esi, g.Abs(&gc->vertexBuffer.provoking)));
  g.E(test(gc, esi, esi));
  g.E(je(gc, none));
  g.E(mov(gc, esi, g.Vtx(esi, kColor)));
  for (uint32_t c = 0; c < (rgba ? 3u : 1u); c++) {
    g.E(fld(gc, g.At(esi, int32_t(4 * c))));
    Convert(g, bias);
    g.E(mov(gc, g.Span(kFlatColors[c]), edx));
  }
  const bool alpha = rgba && (g.flags & __GL_SHADE_ALPHA);
  if (alpha) {
    g.E(fld(gc, g.At(esi, 12)));
    if (!g.spanlet) g.E(fmul(gc, g.Abs(&alpha_correction_factor)));
    Convert(g, alpha_bias);
    g.E(mov(gc, g.Span(offsetof(FrSpan, a)), edx));
  }
  if (!(g.flags & (__GL_SHADE_TEXTURE | __GL_SHADE_DITHER))) {
    if (rgba) {
      const GlColorBuffer *cfb = gc->drawBuffer;
      g.E(xor_(gc, edi, edi));
      PackField(g, offsetof(FrSpan, r), cfb->redShift);
      PackField(g, offsetof(FrSpan, g), cfb->greenShift);
      PackField(g, offsetof(FrSpan, b), cfb->blueShift);
      // Without alpha bits the alpha shift is 0 and would land on blue.
      if (alpha && gc->modes.alphaMask) PackField(g, offsetof(FrSpan, a), cfb->alphaShift);
      g.E(mov(gc, g.Span(offsetof(FrSpan, flatPixel)), edi));
    } else {
      g.E(mov(gc, edx, g.Span(offsetof(FrSpan, r))));
      g.E(sar(gc, edx, g.V(16)));
      g.E(mov(gc, g.Span(offsetof(FrSpan, flatPixel)), edx));
    }
  }
  g.Place(none);
}

// esi: level 0 of the current texture; jumps to `none` without one.
void LoadLevel(Gen &g, OgCode *none) {
  GlContext *gc = g.gc;
  g.E(mov(gc, esi, g.Abs(&gc->texture.current)));
  g.E(test(gc, esi, esi));
  g.E(je(gc, none));
  g.E(mov(gc, esi, g.At(esi, offsetof(GlTextureObject, levels))));
  g.E(test(gc, esi, esi));
  g.E(je(gc, none));
  g.E(mov(gc, esi, g.At(esi, 0)));
  g.E(test(gc, esi, esi));
  g.E(je(gc, none));
}

// The level's size without border, as a float in the data area.
void LevelSize(Gen &g, size_t field, uint32_t at) {
  g.E(mov(g.gc, edx, g.At(esi, int32_t(field))));
  g.E(sub(g.gc, edx, g.At(esi, offsetof(GlTextureLevel, border))));
  g.E(sub(g.gc, edx, g.At(esi, offsetof(GlTextureLevel, border))));
  g.E(mov(g.gc, g.D(at), edx));
  g.E(fild(g.gc, g.D(at)));
  g.E(fstp(g.gc, g.D(at)));
}

// Scratch of nine floats: s, t and q of top, bottom, middle, each times
// the vertex factor f (1 for divided or affine coordinates, else window w), s and t
// times the level's size outside spanlet mode, all times k when `k` is on
// the x87 stack.
void TextureScratch(Gen &g, uint32_t t, uint32_t sizes, bool k) {
  GlContext *gc = g.gc;
  // Affine planes take the coordinates as they stand.
  const bool divided = (g.flags & __GL_SHADE_TEX_DIVIDED) || !(g.flags & __GL_SHADE_PERSPECTIVE);
  for (int v = 0; v < 3; v++) {
    g.E(mov(gc, edx, g.D(kTop + 4 * v)));
    for (int i = 0; i < 3; i++) {
      const size_t field = kTexture + (i == 2 ? 12 : 4 * i);
      g.E(fld(gc, g.Vtx(edx, field)));
      if (!divided) g.E(fmul(gc, g.Vtx(edx, kWindow + 12)));
      if (k) g.E(fmul(gc, st1));
      if (i < 2 && !g.spanlet) g.E(fmul(gc, g.D(sizes + 4 * i)));
      g.E(fstp(gc, g.D(t + 12 * i + 4 * v)));
    }
  }
}

// The MMX q words' partners step along with them; they start at 0.
void QPartners(Gen &g) {
  using namespace og_raster;
  // Without a raster layout nothing reads them, and their ids lie past the frame.
  if (g.ns->direct_map) return;
  for (size_t w : {size_t(0), kEdge, kDx, kDy, kDy + 4}) g.E(mov(g.gc, g.Span(kQPartner + w), g.V(0)));
}

}  // namespace

void DepthAndColorPlanes(Gen &g) {
  if (g.stateBits & 0x08) {
    VertexWord(g, kWindow + 8);
    CallFixed(g, offsetof(FrSpan, zEdge), z_bias);
  }
  if (!g.needColor) return;
  const bool rgba = (g.flags & __GL_SHADE_RGB) != 0;
  const OgBiasTriple &bias =
      (g.flags & __GL_SHADE_DITHER) ? color_dither_bias : color_no_dither_bias;
  if (g.flags & __GL_SHADE_ITERATE_COLOR)
    IteratedColor(g, bias, rgba);
  else
    FlatColor(g, bias, rgba);
}

// Outside spanlet mode the span code reads s and t in texel units x 2^16,
// while the vertex values are normalised: the planes take s times level 0's
// width and t times its height (without border, read at run time). In
// spanlet mode the spanlets take the normalised values as they stand.
void TexturePlanes(Gen &g) {
  GlContext *gc = g.gc;
  if (!(g.flags & __GL_SHADE_TEXTURE)) return;
  OgCode *none = label(gc);
  LoadLevel(g, none);
  const uint32_t sizes = Scratch(g, 8);
  if (!g.spanlet) {
    LevelSize(g, offsetof(GlTextureLevel, width), sizes);
    LevelSize(g, offsetof(GlTextureLevel, height), sizes + 4);
  }
  const uint32_t t = Scratch(g, 36);
  if (!(g.flags & __GL_SHADE_PERSPECTIVE)) {
    TextureScratch(g, t, sizes, false);
    TripleWords(g, t);
    CallFixed(g, offsetof(FrSpan, sEdge), affine_texture_bias);
    TripleWords(g, t + 12);
    CallFixed(g, offsetof(FrSpan, tEdge), affine_texture_bias);
  } else if (__glFRSupportsMMX(gc) && (g.flags & __GL_SHADE_RGB) && !g.spanlet) {
    // q normalised by the largest q x f (positive floats compare as integers).
    const bool divided = (g.flags & __GL_SHADE_TEX_DIVIDED) != 0;
    OgCode *one = near_label(gc), *two = near_label(gc);
    for (int v = 0; v < 3; v++) {
      g.E(mov(gc, edx, g.D(kTop + 4 * v)));
      g.E(fld(gc, g.Vtx(edx, kTexture + 12)));
      if (!divided) g.E(fmul(gc, g.Vtx(edx, kWindow + 12)));
      g.E(fstp(gc, g.D(kScratchA + 4 * (v & 1) + (v == 2 ? 8 : 0))));
    }
    g.E(mov(gc, edx, g.D(kScratchA)));
    g.E(cmp(gc, edx, g.D(kScratchA + 4)));
    g.E(jge(gc, one));
    g.E(mov(gc, edx, g.D(kScratchA + 4)));
    g.Place(one);
    g.E(cmp(gc, edx, g.D(kScratchB)));
    g.E(jge(gc, two));
    g.E(mov(gc, edx, g.D(kScratchB)));
    g.Place(two);
    g.E(mov(gc, g.D(kScratchC), edx));
    g.E(fld(gc, fpk(gc, 1.0)));
    g.E(fdiv(gc, g.D(kScratchC)));
    TextureScratch(g, t, sizes, true);
    g.E(fstp(gc, st0));
    TripleWords(g, t);
    CallFixed(g, offsetof(FrSpan, sEdge), affine_texture_bias);
    TripleWords(g, t + 12);
    CallFixed(g, offsetof(FrSpan, tEdge), affine_texture_bias);
    TripleWords(g, t + 24);
    CallFixed(g, offsetof(FrSpan, qEdge), mmx_q_bias);
    QPartners(g);
  } else {
    // The direction and edge A's slope sign as +1.0 or -1.0.
    g.E(fild(gc, g.Span(offsetof(FrSpan, direction))));
    g.E(fstp(gc, g.D(kDirectionFloat)));
    g.E(mov(gc, edx, g.D(kSlopeLong)));
    g.E(sar(gc, edx, g.V(31)));
    g.E(or_(gc, edx, g.V(1)));
    g.E(mov(gc, g.D(kScratchC), edx));
    g.E(fild(gc, g.D(kScratchC)));
    g.E(fstp(gc, g.D(kSlopeSignFloat)));
    TextureScratch(g, t, sizes, false);
    const size_t edges[3] = {offsetof(FrSpan, sfEdge), offsetof(FrSpan, tfEdge),
                             offsetof(FrSpan, qfEdge)};
    for (int i = 0; i < 3; i++) {
      TripleWords(g, t + 12 * i);
      CallFloat(g, edges[i]);
    }
    const bool lod = (g.stateBits & 0x20) != 0;
    if (lod) {
      g.E(mov(gc, ecx, g.V(int32_t(uintptr_t(gc)))));
      g.E(mov(gc, edx, esp));
      for (uint32_t w : {kYPrestepTop, kXPrestep, kSlopeLong, kDyUpper, kDxUpper, kDyLong,
                         kDxLong, kMiddle, kBottom, kTop})
        g.E(push(gc, g.D(w)));
      g.E(call(gc, named_label(gc, "__glFRSetupRho", reinterpret_cast<const void *>(&__glFRSetupRho))));
    }
    for (int i = 0; i < 3; i++) {
      g.E(fld(gc, g.Span(edges[i] + 4)));
      g.E(fmul(gc, fpk(gc, 16.0)));
      g.E(fstp(gc, g.Span(edges[i] + 12)));
      if (g.spanlet) {
        g.E(fld(gc, g.Span(edges[i] + 4)));
        g.E(fmul(gc, fpk(gc, 32.0)));
        g.E(fstp(gc, g.Span(edges[i] + 8)));
      }
    }
    if (lod) {
      g.E(fld(gc, g.Span(offsetof(FrSpan, drhodx))));
      g.E(fmul(gc, g.D(kDirectionFloat)));
      g.E(fst(gc, g.Span(offsetof(FrSpan, drhodx))));
      g.E(fld(gc, st0));
      g.E(fmul(gc, fpk(gc, 16.0)));
      g.E(fstp(gc, g.Span(offsetof(FrSpan, drhodxHalf))));
      if (g.spanlet) {
        g.E(fmul(gc, fpk(gc, 32.0)));
        g.E(fstp(gc, g.Span(offsetof(FrSpan, drhodxBig))));
      } else {
        g.E(fstp(gc, st0));
      }
    }
  }
  g.Place(none);
}

void TriangleWords(Gen &g) {
  GlContext *gc = g.gc;
  if (g.flags & __GL_SHADE_TEXTURE) {
    OgCode *none = label(gc);
    LoadLevel(g, none);
    const size_t image = (g.stateBits & 0x02) ? offsetof(GlTextureLevel, auxImage)
                                              : offsetof(GlTextureLevel, image);
    g.E(mov(gc, edx, g.At(esi, int32_t(image))));
    g.E(mov(gc, g.Span(offsetof(FrSpan, texImage)), edx));
    if (g.spanlet) {
      const size_t words[4][2] = {
          {offsetof(GlTextureLevel, width), offsetof(FrSpan, texWidth)},
          {offsetof(GlTextureLevel, widthLog2), offsetof(FrSpan, texWidthLog2)},
          {offsetof(GlTextureLevel, height), offsetof(FrSpan, texHeight)},
          {offsetof(GlTextureLevel, heightLog2), offsetof(FrSpan, texHeightLog2)}};
      for (const auto &w : words) {
        g.E(mov(gc, edx, g.At(esi, int32_t(w[0]))));
        g.E(mov(gc, g.Span(w[1]), edx));
      }
    }
    g.Place(none);
  }
  if (!g.spanlet) return;
  g.E(mov(gc, g.Span(offsetof(FrSpan, gc)), g.V(int32_t(uintptr_t(gc)))));
  if (g.flags & __GL_SHADE_DITHER) {
    // The mask is 0 left to right, all ones right to left: entry 0 or 1.
    g.E(mov(gc, edx, g.D(kDirectionMask)));
    g.E(and_(gc, edx, g.V(4)));
    g.E(mov(gc, edx, mem(gc, g.V(int32_t(uintptr_t(&__glFRDitherTables[0]))), edx, nullptr, 1)));
    g.E(mov(gc, g.Span(offsetof(FrSpan, ditherTable)), edx));
  }
}

void WriteOffsetTable(Gen &g, uint8_t *table) {
  uint32_t words[4] = {0, 0, 0, 0};
  if (g.needColor && (g.flags & __GL_SHADE_ITERATE_COLOR)) {
    if (g.flags & __GL_SHADE_RGB) {
      words[1] = g.SpanPlace(offsetof(FrSpan, bEdge));
      words[2] = g.SpanPlace(offsetof(FrSpan, gEdge));
      words[3] = g.SpanPlace(offsetof(FrSpan, rEdge));
    } else {
      words[1] = g.SpanPlace(offsetof(FrSpan, rEdge));
    }
  }
  memcpy(table, words, sizeof words);
}

}  // namespace og_setup
