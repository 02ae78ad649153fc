// The MMX span body: the set-up of the group steps and start rows once per
// triangle, then the edge walk and the spans, generated once for each
// drawing direction. A span is cut at the destination's groups of four
// pixels; the first and the last group store through a lane mask. The
// depth pointer moves back by the destination's lane, not to its own group,
// so the two buffers may lie at any pixel phase. Blending reads the whole
// destination group, up to three pixels past a span's ends: every buffer
// keeps 16 bytes of slack on either side for it.
#include <initializer_list>

#include "codegen/og_ras_mmx.h"
#include "core/gl_assert.h"
#include "fastraster/fr_setup.h"
#include "fastraster/fr_tables.h"
#include "raster/s_shader.h"

namespace og_raster {
namespace {

// Pass masks by lane, one byte per pixel in memory order. The first group
// keeps the lanes from its start lane on in the drawing direction; the last
// keeps the first n lanes in that direction.
constexpr uint32_t kLeadLeftToRight[4] = {0xFFFFFFFFu, 0xFFFFFF00u, 0xFFFF0000u, 0xFF000000u};
constexpr uint32_t kLeadRightToLeft[4] = {0x000000FFu, 0x0000FFFFu, 0x00FFFFFFu, 0xFFFFFFFFu};
constexpr uint32_t kTrailLeftToRight[5] = {0, 0x000000FFu, 0x0000FFFFu, 0x00FFFFFFu, 0xFFFFFFFFu};
constexpr uint32_t kTrailRightToLeft[5] = {0, 0xFF000000u, 0xFFFF0000u, 0xFFFFFF00u, 0xFFFFFFFFu};

constexpr size_t kColorBlocks[4] = {offsetof(FrSpan, r), offsetof(FrSpan, g), offsetof(FrSpan, b),
                                    offsetof(FrSpan, a)};

// The left shift that puts a channel's 16.16 value at top bit 14; alpha
// (0 to 255) goes to 1.0 = 16384.
int32_t WordShift(const MmxGen &m, int k) { return k < 3 ? 14 - m.bits[k] : 6; }

OgCode *Table(Gen &g, const uint32_t *table, OgCode *index) {
  return mem(g.gc, g.V(int32_t(uintptr_t(table))), nullptr, index, 4);
}

// The pairs one 8-byte load reads: red with green, blue with alpha, depth
// with its pointer, each block word by word after an 8-byte alignment.
void DeclarePairs(Gen &g, const MmxGen &m) {
  for (size_t id = offsetof(FrSpan, iyTop); id <= offsetof(FrSpan, direction); id += 4) g.Place(id);
  const auto pair = [&](size_t first, size_t second) {
    __glNSAlign(g.ns, 8);
    for (size_t w : {size_t(0), kEdge, kDx, kDy, kDy + 4}) {
      g.Place(first + w);
      g.Place(second + w);
    }
  };
  if (m.iterated) {
    pair(offsetof(FrSpan, r), offsetof(FrSpan, g));
    pair(offsetof(FrSpan, b), offsetof(FrSpan, a));
  }
  if (g.depth) pair(offsetof(FrSpan, z), offsetof(FrSpan, zbuf));
  if (m.texturing) pair(offsetof(FrSpan, s), offsetof(FrSpan, t));
  if (m.texturing && g.perspective) pair(offsetof(FrSpan, q), kQPartner);
  DeclareSetupWords(g);
}

// The dither words, for each direction, row and column of lane 0, turned
// so that each lane holds the value of its column in walk order.
void FillDither(MmxGen &m) {
  uint16_t *slots = reinterpret_cast<uint16_t *>(m.g.data);
  for (int32_t k = 0; k < 3; k++)
    for (int32_t row = 0; row < 4; row++)
      for (int32_t col = 0; col < 4; col++)
        slots[(kSlotDitherWords + 4 * k + row) * 4 + col] =
            uint16_t(__glFRDitherTable[row * FR_DITHER_ROW + col] >> (m.bits[k] + 2));
  for (int32_t d = 0; d < 2; d++)
    for (int32_t row = 0; row < 4; row++)
      for (int32_t c0 = 0; c0 < 4; c0++)
        for (int32_t k = 0; k < 3; k++)
          for (int32_t lane = 0; lane < 4; lane++) {
            const int32_t col = (c0 + (d ? lane : -lane)) & 3;
            const int32_t slot = kSlotDitherTurned + d * 48 + (row * 4 + c0) * 3 + k;
            slots[slot * 4 + lane] = slots[(kSlotDitherWords + 4 * k + row) * 4 + col];
          }
}

// Four copies of the low word of `reg`.
void Spread(Gen &g, OgCode *reg) {
  g.E(punpcklwd(g.gc, reg, reg));
  g.E(punpckldq(g.gc, reg, reg));
}

// The lane words of block `b` at the span's start lane (ecx) into `to`.
void StartWords(MmxGen &m, OgCode *to, size_t b, int32_t rowSlot) {
  Gen &g = m.g;
  g.E(movd(g.gc, to, g.F(b + kEdge)));
  g.E(psrld(g.gc, to, g.V(16)));
  Spread(g, to);
  g.E(paddw(g.gc, to, m.SlotIndexed(rowSlot, ecx, 8)));
}

// The group step and the start rows of one block whose edge value is
// already scaled so that its high word is the lane word: row a holds the
// offsets of the lanes from lane a.
void WordRows(MmxGen &m, size_t b, int32_t stepSlot, int32_t rowSlot) {
  Gen &g = m.g;
  GlContext *gc = g.gc;
  static const uint16_t kLanes[2][4] = {{0, 1, 2, 3}, {3, 2, 1, 0}};
  OgCode *lanes = mxk4_run(gc, kLanes, 2);
  if (!lanes) return;
  const int32_t lanesAt = lanes->data.mem.disp->data.value;
  g.E(movd(gc, mm0, g.F(b + kDx)));
  rtz(g, mm0, 18);
  g.E(psrad(gc, mm0, g.V(14)));  // 4 x d/dx as a word, wrapping like the lanes
  Spread(g, mm0);
  g.E(movq(gc, m.Slot(stepSlot), mm0));
  g.E(movd(gc, mm1, g.F(b + kDx)));
  rtz(g, mm1, 16);
  g.E(psrld(gc, mm1, g.V(16)));
  Spread(g, mm1);
  // Right to left the lanes count down from row 3.
  g.E(mov(gc, eax, g.F(offsetof(FrSpan, direction))));
  g.E(shr(gc, eax, g.V(31)));
  g.E(movq(gc, mm0, mm1));
  g.E(pmullw(gc, mm0, mem(gc, g.V(lanesAt), nullptr, eax, 8)));
  g.E(lea(gc, ebp, mem(gc, nullptr, eax, eax, 2)));
  g.E(shl(gc, ebp, g.V(3)));
  g.E(mov(gc, edx, g.F(offsetof(FrSpan, direction))));
  g.E(shl(gc, edx, g.V(3)));
  for (int row = 0; row < 4; row++) {
    g.E(movq(gc, mem(gc, g.V(8 * rowSlot), esp, ebp, 1), mm0));
    if (row < 3) {
      g.E(psubw(gc, mm0, mm1));
      g.E(add(gc, ebp, edx));
    }
  }
}

// Colour words at top bit 14: the planes scaled, the group steps, and the
// start rows.
void ColorSetup(MmxGen &m) {
  Gen &g = m.g;
  for (int k = 0; k < (m.blendAlpha ? 4 : 3); k++) {
    if (k < 3 && !m.colorWords) continue;
    const size_t b = kColorBlocks[k];
    const size_t words[4] = {b + kEdge, b + kDx, b + kDy, b + kDy + 4};
    kerrect(g, words, 4, WordShift(m, k));
    WordRows(m, b, kSlotColorStep + k, kSlotColorRows + 4 * k);
  }
}

// The flat colour as words at top bit 14, and the flat alpha.
void FlatSetup(MmxGen &m) {
  Gen &g = m.g;
  GlContext *gc = g.gc;
  const int32_t slots[4] = {kSlotFlat, kSlotFlat + 1, kSlotFlat + 4, kSlotAlpha};
  for (int k = 0; k < (m.blendAlpha ? 4 : 3); k++) {
    if (k < 3 && !m.colorWords) continue;
    g.E(mov(gc, eax, g.F(kColorBlocks[k])));
    if (WordShift(m, k) > 0) g.E(shl(gc, eax, g.V(WordShift(m, k))));
    g.E(shr(gc, eax, g.V(16)));
    g.E(movd(gc, mm0, eax));
    Spread(g, mm0);
    g.E(movq(gc, m.Slot(slots[k]), mm0));
  }
}

// Per triangle: the shift counts of the bound texture's level 0, s and t
// as fractions of the texture in their high words with their group steps
// and start rows, and the texel base in ebp (last: the rows use ebp). A
// triangle without a level 0 (or a palette texture without entries) draws
// nothing.
void TextureSetup(MmxGen &m, OgCode *none) {
  Gen &g = m.g;
  GlContext *gc = g.gc;
  g.E(mov(gc, eax, g.Abs(&gc->texture.current)));
  g.E(test(gc, eax, eax));
  g.E(je(gc, none));
  g.E(mov(gc, edx, mem2(gc, g.V(offsetof(GlTextureObject, levels)), eax)));
  g.E(test(gc, edx, edx));
  g.E(je(gc, none));
  g.E(mov(gc, edx, mem2(gc, nullptr, edx)));
  g.E(test(gc, edx, edx));
  g.E(je(gc, none));
  const size_t logs[2] = {offsetof(GlTextureLevel, widthLog2), offsetof(GlTextureLevel, heightLog2)};
  const size_t blocks[2] = {offsetof(FrSpan, s), offsetof(FrSpan, t)};
  for (int i = 0; i < 2; i++) {
    g.E(mov(gc, ecx, g.V(16)));
    g.E(sub(gc, ecx, mem2(gc, g.V(int32_t(logs[i])), edx)));
    g.E(mov(gc, m.Slot(kSlotTexShift + i), ecx));
    g.E(mov(gc, mem2(gc, g.V(8 * (kSlotTexShift + i) + 4), esp), g.V(0)));
  }
  // Perspective steps are made per sub-span from s/w and t/w.
  for (int i = 0; i < 2 && !g.perspective; i++) {
    for (size_t w : {kEdge, kDx, kDy, kDy + 4}) {
      g.E(movd(gc, mm0, g.F(blocks[i] + w)));
      g.E(pslld(gc, mm0, m.Slot(kSlotTexShift + i)));
      g.E(movd(gc, g.F(blocks[i] + w), mm0));
    }
    WordRows(m, blocks[i], kSlotTexStep + i, kSlotTexRows + 4 * i);
  }
  if (!m.indexed) {
    g.E(mov(gc, ebp, g.F(offsetof(FrSpan, texImage))));
    return;
  }
  // Palette textures: the entries in ebp, the index bytes' base in slot 78.
  // An empty palette has no entry to read: the triangle draws nothing.
  g.E(mov(gc, eax, g.Abs(&gc->texture.current)));
  g.E(mov(gc, ebp, mem2(gc, g.V(offsetof(GlTextureObject, colorTable.table)), eax)));
  g.E(mov(gc, ecx, mem2(gc, g.V(offsetof(GlTextureObject, colorTable.width)), eax)));
  g.E(test(gc, ecx, ecx));
  g.E(jle(gc, none));
  g.E(test(gc, ebp, ebp));
  g.E(je(gc, none));
  g.E(dec(gc, ecx));
  g.E(mov(gc, m.Slot(kSlotPaletteMask), ecx));
  g.E(mov(gc, ecx, g.F(offsetof(FrSpan, texImage))));
  g.E(mov(gc, m.Slot(kSlotTexels), ecx));
  g.E(mov(gc, mem2(gc, g.V(8 * kSlotTexels + 4), esp), ecx));
}

// Depth lanes: the pair distance, the group step and the start rows. The
// lanes of a pair are pixels 0 and 1 (32-bit) or 0 and 2 (16-bit).
void DepthSetup(MmxGen &m) {
  Gen &g = m.g;
  GlContext *gc = g.gc;
  const bool wide = m.depthBytes == 4;
  g.E(mov(gc, eax, g.F(offsetof(FrSpan, dzdx))));
  g.E(imul(gc, eax, g.F(offsetof(FrSpan, direction))));  // per pixel in memory order
  g.E(mov(gc, edx, eax));
  if (wide) g.E(add(gc, edx, edx));
  g.E(mov(gc, m.Slot(kSlotDepthPair), edx));
  g.E(mov(gc, mem2(gc, g.V(8 * kSlotDepthPair + 4), esp), edx));
  g.E(mov(gc, ecx, g.F(offsetof(FrSpan, dzdx))));
  g.E(shl(gc, ecx, g.V(2)));
  g.E(mov(gc, m.Slot(kSlotDepthStep), ecx));
  g.E(mov(gc, mem2(gc, g.V(8 * kSlotDepthStep + 4), esp), ecx));
  const int32_t lanes[2] = {0, wide ? 1 : 2};
  for (int32_t a = 0; a < 4; a++)
    for (int j = 0; j < 2; j++) {
      g.E(mov(gc, edx, eax));
      g.E(imul(gc, edx, g.V(lanes[j] - a)));
      g.E(mov(gc, mem2(gc, g.V(8 * (kSlotDepthRows + a) + 4 * j), esp), edx));
    }
}

struct Copy {
  MmxGen &m;
  OgCode *maskStore;
  OgCode *subStart = nullptr, *subNext = nullptr;  // perspective sub-spans

  Gen &g() { return m.g; }

  void Store() {
    Gen &g = m.g;
    if (m.groupBytes == 8) {
      g.E(movq(g.gc, mem2(g.gc, nullptr, edi), mm0));
    } else {
      g.E(packuswb(g.gc, mm0, mm0));
      g.E(movd(g.gc, mem2(g.gc, nullptr, edi), mm0));
    }
  }

  // One group: the depth test, the colour and its store, then every
  // iterator steps once, whether or not a pixel passed.
  void Group(bool masked) {
    Gen &g = m.g;
    GlContext *gc = g.gc;
    OgCode *after = label(gc);
    if (g.depth) genz(m, masked, after);
    if (m.writesColor) {
      genpix(m);
      if (masked || g.depth) {
        OgCode *full = near_label(gc);
        g.E(cmp(gc, ecx, g.V(-1)));
        g.E(je(gc, full));
        g.E(call(gc, maskStore));
        g.E(jmp(gc, after));
        g.Mark(full);
      }
      Store();
    }
    g.Mark(after);
    genstep(m);
    if (g.depth) g.E(paddd(gc, mm4, m.Slot(kSlotDepthStep)));
  }

  void Advance() {
    Gen &g = m.g;
    g.E(add(g.gc, edi, g.V(m.dir * int32_t(m.groupBytes))));
    if (g.depth) g.E(add(g.gc, esi, g.V(m.dir * 4 * int32_t(m.depthBytes))));
  }

  // Entered with ebx = the span's length, eax = xA.
  void Span(OgCode *spanDone) {
    Gen &g = m.g;
    GlContext *gc = g.gc;
    const bool lr = m.dir > 0;
    // ecx = the start lane in the destination's group.
    g.E(mov(gc, edi, g.F(offsetof(FrSpan, pixelEdge))));
    g.E(mov(gc, ecx, edi));
    g.E(and_(gc, ecx, g.V(int32_t(m.groupBytes - 1))));
    if (m.groupBytes == 8) g.E(shr(gc, ecx, g.V(1)));
    g.E(sub(gc, edi, ecx));
    if (m.groupBytes == 8) g.E(sub(gc, edi, ecx));
    if (g.depth) {
      g.E(mov(gc, esi, g.F(offsetof(FrSpan, zbufEdge))));
      g.E(mov(gc, edx, ecx));
      g.E(shl(gc, edx, g.V(m.depthBytes == 4 ? 2 : 1)));
      g.E(sub(gc, esi, edx));
      g.E(movd(gc, mm4, g.F(offsetof(FrSpan, zEdge))));
      g.E(punpckldq(gc, mm4, mm4));
      g.E(paddd(gc, mm4, m.SlotIndexed(kSlotDepthRows, ecx, 8)));
    }
    if (m.writesColor) {
      OgCode *const regs[3] = {mm5, mm6, mm7};
      for (int k = 0; k < 3 && m.colorWords; k++) {
        if (m.iterated) {
          OgCode *to = m.InSlot(k) ? mm0 : regs[k];
          StartWords(m, to, kColorBlocks[k], kSlotColorRows + 4 * k);
          if (to == mm0) g.E(movq(gc, m.ColorWords(k), mm0));
        } else if (!m.texturing) {
          const int32_t flat[3] = {kSlotFlat, kSlotFlat + 1, kSlotFlat + 4};
          g.E(movq(gc, regs[k], m.Slot(flat[k])));
        }
      }
      if (m.blendAlpha && m.iterated) {
        StartWords(m, mm0, offsetof(FrSpan, a), kSlotColorRows + 12);
        g.E(movq(gc, m.Slot(kSlotAlpha), mm0));
      }
      if (m.texturing && g.perspective) {
        PerspectiveSpanStart(g, m.dir, subStart);
      } else if (m.texturing) {
        StartWords(m, mm6, offsetof(FrSpan, s), kSlotTexRows);
        StartWords(m, mm7, offsetof(FrSpan, t), kSlotTexRows + 4);
      }
      if (g.dither) {
        // The walk column of lane 0, and the row of y.
        g.E(mov(gc, eax, g.F(offsetof(FrSpan, ixLong))));
        g.E(lr ? sub(gc, eax, ecx) : add(gc, eax, ecx));
        g.E(and_(gc, eax, g.V(3)));
        g.E(mov(gc, edx, g.F(offsetof(FrSpan, y))));
        g.E(and_(gc, edx, g.V(3)));
        g.E(lea(gc, edx, mem(gc, nullptr, eax, edx, 4)));
        g.E(imul(gc, edx, g.V(24)));
        const int32_t table = int32_t(uintptr_t(g.data + 8 * (kSlotDitherTurned + (lr ? 48 : 0))));
        for (int k = 0; k < 3; k++) {
          OgCode *words = mem2(gc, g.V(table + 8 * k), edx);
          if (!m.blend && !m.texturing) {
            g.E(paddw(gc, regs[k], words));
            continue;
          }
          // Blended and textured groups dither their finished words.
          g.E(movq(gc, mm0, words));
          g.E(movq(gc, m.Slot(kSlotDitherRow + k), mm0));
        }
      }
      if (!m.iterated && !m.blend && !m.texturing) {
        PackWords(m);
        g.E(movq(gc, mm7, mm0));
      }
    }
    // ebx = lanes from the first group's first lane in the direction.
    if (lr) {
      g.E(add(gc, ebx, ecx));
    } else {
      g.E(add(gc, ebx, g.V(3)));
      g.E(sub(gc, ebx, ecx));
    }
    g.E(mov(gc, ecx, Table(g, lr ? kLeadLeftToRight : kLeadRightToLeft, ecx)));
    const uint32_t *trail = lr ? kTrailLeftToRight : kTrailRightToLeft;
    OgCode *several = label(gc), *whole = label(gc), *last = label(gc);
    g.E(cmp(gc, ebx, g.V(4)));
    g.E(jg(gc, several));
    g.E(and_(gc, ecx, Table(g, trail, ebx)));
    Group(true);
    g.E(jmp(gc, spanDone));

    g.Mark(several);
    Group(true);
    Advance();
    g.E(sub(gc, ebx, g.V(4)));
    g.Mark(whole);
    if (m.texturing && m.writesColor && g.perspective) PerspectiveBoundary(g, m.dir, subNext);
    g.E(cmp(gc, ebx, g.V(4)));
    g.E(jl(gc, last));
    Group(false);
    Advance();
    g.E(sub(gc, ebx, g.V(4)));
    g.E(jmp(gc, whole));

    g.Mark(last);
    g.E(test(gc, ebx, ebx));
    g.E(je(gc, spanDone));
    g.E(mov(gc, ecx, Table(g, trail, ebx)));
    Group(true);
  }

  // Two paired edge words take their row steps in one add.
  void StepPair(size_t block) {
    Gen &g = m.g;
    GlContext *gc = g.gc;
    const uint32_t steps = g.Place(block + kDy);
    g.E(movq(gc, mm0, g.F(block + kEdge)));
    g.E(paddd(gc, mm0, mem(gc, g.V(g.bias + int32_t(steps)), esp, edx, 8)));
    g.E(movq(gc, g.F(block + kEdge), mm0));
  }

  void Walk(OgCode *done) {
    Gen &g = m.g;
    GlContext *gc = g.gc;
    OgCode *half = label(gc), *halfDone = label(gc), *row = label(gc), *edges = label(gc);
    HalfStart(g, half, halfDone);

    g.Mark(row);
    g.E(mov(gc, m.Slot(kSlotRows), eax));
    g.E(mov(gc, eax, g.F(offsetof(FrSpan, ixLong))));
    g.E(mov(gc, ebx, g.F(offsetof(FrSpan, ixShort))));
    g.E(sub(gc, ebx, eax));
    g.E(jle(gc, edges));
    Span(edges);

    g.Mark(edges);
    og_raster::Carry(g, offsetof(FrSpan, fracLong), offsetof(FrSpan, dfracLong));
    g.cb = dy(gc, g.cb, g.F(offsetof(FrSpan, ixLong)), g.Pair(offsetof(FrSpan, dxLong), edx));
    g.cb = dy(gc, g.cb, g.F(offsetof(FrSpan, pixelEdge)), g.Pair(offsetof(FrSpan, dpixelEdge), edx));
    if (m.iterated && m.writesColor) {
      StepPair(offsetof(FrSpan, r));
      StepPair(offsetof(FrSpan, b));
    }
    if (m.texturing && m.writesColor) StepPair(offsetof(FrSpan, s));
    if (m.texturing && m.writesColor && g.perspective) StepPair(offsetof(FrSpan, q));
    if (g.depth) StepPair(offsetof(FrSpan, z));
    og_raster::Carry(g, offsetof(FrSpan, fracShort), offsetof(FrSpan, dfracShort));
    g.cb = dy(gc, g.cb, g.F(offsetof(FrSpan, ixShort)), g.Pair(offsetof(FrSpan, dxShort), edx));
    g.E(add(gc, g.F(offsetof(FrSpan, y)), g.V(1)));
    g.E(mov(gc, eax, m.Slot(kSlotRows)));
    g.E(dec(gc, eax));
    g.E(jne(gc, row));

    HalfEnd(g, half, halfDone, done);
  }
};

// Four pixels of the buffer's size: 8-bit layouts take 4 bytes a group,
// 16-bit ones 8 (an unlisted layout by its element size).
uint32_t GroupBytes(uint32_t bytesPerPixel) {
  if (bytesPerPixel == 1 || bytesPerPixel == 2) return 4 * bytesPerPixel;
  __glAssertFailed("0", "og_ras", __LINE__);
}

}  // namespace

void BuildMMXRasterizer(Gen &g) {
  GlContext *gc = g.gc;
  const GlColorBuffer *cfb = gc->drawBuffer;
  MmxGen m{g};
  m.groupBytes = GroupBytes(g.bpp);
  m.depthBytes = (g.key2 & kKeyDeepDepth) ? 4 : 2;
  m.iterated = g.walkColor;  // the setup writes colour planes
  m.writesColor = !(g.flags & __GL_SHADE_MASK);
  m.blend = m.writesColor && (g.flags & __GL_SHADE_BLEND);
  if (m.blend) {
    m.sourceFactor = gc->state.raster.blendSrc;
    m.destFactor = gc->state.raster.blendDst;
    m.blendAlpha = uses_alpha(m.sourceFactor) || uses_alpha(m.destFactor);
  }
  if (g.texturing) {
    m.texturing = true;
    m.env = g.env;
    m.baseFormat = gc->texture.current ? gc->texture.current->baseFormat : GLenum(GL_RGBA);
    m.indexed = (g.key2 & kKeyColorIndexTexture) != 0;
    m.direct = (g.key2 & kKeyAuxImage) != 0;
    m.colorWords = !m.direct && m.env == GL_MODULATE;
  }
  const uint32_t max[3] = {cfb->redMax, cfb->greenMax, cfb->blueMax};
  const uint32_t shift[3] = {cfb->redShift, cfb->greenShift, cfb->blueShift};
  for (int k = 0; k < 3; k++) {
    m.max[k] = max[k];
    m.shift[k] = shift[k];
    m.bits[k] = log2(max[k]);
  }
  DeclarePairs(g, m);
  FillDither(m);
  g.bias = 8 * kFrameSlots;
  g.E(sub(gc, esp, g.V(g.bias)));

  OgCode *leftToRight = label(gc), *done = label(gc), *maskStore = label(gc), *recip = label(gc);
  const bool perspective = m.texturing && m.writesColor && g.perspective;
  OgCode *subStart[2] = {label(gc), label(gc)}, *subNext[2] = {label(gc), label(gc)};
  if (m.writesColor) m.iterated ? ColorSetup(m) : FlatSetup(m);
  if (m.blend) {
    g.E(movq(gc, mm0, m.Words(0x4000)));
    g.E(movq(gc, m.Slot(kSlotOne), mm0));
    g.E(movq(gc, m.Slot(kSlotDestAlpha), mm0));
  }
  if (g.depth) DepthSetup(m);
  if (m.texturing && m.writesColor) TextureSetup(m, done);
  g.E(cmp(gc, g.F(offsetof(FrSpan, direction)), g.V(0)));
  g.E(jg(gc, leftToRight));
  for (int32_t dir : {-1, 1}) {
    if (dir > 0) g.Mark(leftToRight);
    m.dir = dir;
    Copy copy{m, maskStore, subStart[dir > 0], subNext[dir > 0]};
    copy.Walk(done);
  }
  g.Mark(done);
  g.E(add(gc, esp, g.V(g.bias)));
  g.E(emms(gc));
  g.E(mov(gc, eax, g.V(1)));
  g.E(jmpi(gc, g.Abs(&gc->setupContinuation)));
  g.Mark(maskStore);
  MaskedStore(m);
  g.E(ret(gc));
  if (!perspective) return;
  g.Mark(recip);
  reciprocal(g);
  for (int32_t dir : {-1, 1}) PerspectiveSubSpan(g, dir, subStart[dir > 0], subNext[dir > 0], recip);
}

}  // namespace og_raster
