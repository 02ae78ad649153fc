// The store spans against a scalar reference written from the blend, dither,
// logic-op and write-mask tables: every format, every factor pair, the
// sixteen logic ops, write masks, dither rows and mask patterns in both
// directions. Bytes around the chunk must stay as they were.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <random>
#include <vector>

#include "core/context.h"
#include "fastraster/fr_pick.h"
#include "fastraster/fr_setup.h"
#include "fastraster/fr_store.h"
#include "fastraster/fr_tables.h"

namespace {

// ---- The reference ----
struct Field {
  int shift, bits;
};
struct Layout {
  uint8_t type;
  int bytes;
  Field r, g, b;
};
const Layout kLayouts[] = {
    {FR_FB_RGB332, 1, {5, 3}, {2, 3}, {0, 2}},
    {FR_FB_RGB555, 2, {10, 5}, {5, 5}, {0, 5}},
    {FR_FB_RGB565, 2, {11, 5}, {5, 6}, {0, 5}},
    {FR_FB_RGB8, 3, {16, 8}, {8, 8}, {0, 8}},
    {FR_FB_XRGB8, 4, {16, 8}, {8, 8}, {0, 8}},
};

int Square(int k) { return k * k / 255; }
int P(int a, int b) { return (Square(a) + Square(b) - Square(a - b)) >> 1; }

int Unpack(uint32_t p, Field f) { return int((p >> f.shift) & ((1u << f.bits) - 1)) << (8 - f.bits); }
// A component as a factor, from the field's scale to 0..255: c + c / 2^b
// + c / 2^2b ..., at most 255 (3-bit 224 -> 255, 5-bit 128 -> 132).
int Widen(int c, Field f) {
  int out = c;
  for (int shift = f.bits; shift < 8; shift += f.bits) out += c >> shift;
  return out > 255 ? 255 : out;
}
int Ceiling(Field f) { return 256 - (1 << (8 - f.bits)); }

// d and s below are the widened factors where a colour acts as one.
int SrcTerm(GLenum f, int s, int d, int a) {
  switch (f) {
    case GL_ZERO: return 0;
    case GL_ONE: return s;
    case GL_SRC_ALPHA: return P(s, a);
    case GL_ONE_MINUS_SRC_ALPHA: return P(s, 255 - a);
    case GL_DST_ALPHA: return s;
    case GL_ONE_MINUS_DST_ALPHA: return 0;
    case GL_DST_COLOR: return P(s, d);
    case GL_ONE_MINUS_DST_COLOR: return P(s, 255 - d);
    case GL_SRC_ALPHA_SATURATE: return 0;
  }
  return -1;
}
int DstTerm(GLenum f, int s, int d, int a) {
  switch (f) {
    case GL_ZERO: return 0;
    case GL_ONE: return d;
    case GL_SRC_COLOR: return P(d, s);
    case GL_ONE_MINUS_SRC_COLOR: return P(d, 255 - s);
    case GL_SRC_ALPHA: return P(d, a);
    case GL_ONE_MINUS_SRC_ALPHA: return P(d, 255 - a);
    case GL_DST_ALPHA: return d;
    case GL_ONE_MINUS_DST_ALPHA: return 0;
  }
  return -1;
}
uint32_t Logic(GLenum op, uint32_t v, uint32_t p) {
  const uint32_t results[16] = {0,      v & p,  v & ~p, v,      ~v & p,    p,  v ^ p,       v | p,
                                ~(v | p), ~(v ^ p), ~p, v | ~p, ~v, ~v | p, ~(v & p), ~0u};
  return results[op - GL_CLEAR];
}

struct State {
  uint32_t flags;
  GLenum src, dst, op;
  uint32_t sourceMask, destMask;
};

uint32_t RefPixel(const Layout &l, const State &st, uint32_t color, uint32_t p, uint32_t d) {
  const Field fs[3] = {l.r, l.g, l.b};
  const int a = int(color >> 24);
  uint32_t v = 0;
  for (int i = 0; i < 3; i++) {
    int c = int((color >> (8 * i)) & 0xFF);
    if (st.flags & __GL_SHADE_BLEND) {
      const int dc = Unpack(p, fs[i]);
      const int sum = SrcTerm(st.src, c, Widen(dc, fs[i]), a) +
                      DstTerm(st.dst, Widen(c, fs[i]), dc, a);
      c = sum;
      if (c > Ceiling(fs[i])) c = Ceiling(fs[i]);
    }
    if ((st.flags & __GL_SHADE_DITHER) && fs[i].bits < 8)
      c = c - (c >> fs[i].bits) + int(d >> (8 + fs[i].bits));
    v |= uint32_t(c >> (8 - fs[i].bits)) << fs[i].shift;
  }
  if (st.flags & __GL_SHADE_LOGIC_OP) v = Logic(st.op, v, p);
  if (st.flags & __GL_SHADE_MASK) v = (st.sourceMask & v) | (st.destMask & p);
  return l.bytes == 4 ? v : v & ((1u << (8 * l.bytes)) - 1);
}

uint32_t RefIndex(const State &st, uint32_t index, uint32_t p, uint32_t d) {
  uint32_t v = ((st.flags & __GL_SHADE_DITHER) ? index + d : index) >> 16;
  if (st.flags & __GL_SHADE_LOGIC_OP) v = Logic(st.op, v, p);
  if (st.flags & __GL_SHADE_MASK) v = (st.sourceMask & v) | (st.destMask & p);
  return v & 0xFF;
}

// ---- The fixture ----
constexpr int kGuard = 8;

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gc = static_cast<GlContext *>(calloc(1, sizeof(GlContext)));
    gc->drawBuffer = &cfb;
    span.gc = gc;
  }
  void TearDown() override { free(gc); }

  // Stores one chunk of `bytes`-byte pixels with random colours over random
  // pixels; returns the pixels before (`before`) and after, walk order,
  // and checks the guards.
  void Store(uint8_t type, int bytes, const State &st, uint32_t mask, int direction,
             int ditherStart, std::vector<uint32_t> *before, std::vector<uint32_t> *after) {
    gc->polygon.shader.modeFlags = st.flags;
    gc->state.raster.blendSrc = st.src;
    gc->state.raster.blendDst = st.dst;
    gc->state.raster.logicOp = st.op;
    cfb.sourceMask = st.sourceMask;
    cfb.destMask = st.destMask;
    std::vector<uint8_t> memory(32 * bytes + 2 * kGuard);
    for (uint8_t &b : memory) b = uint8_t(rng());
    const std::vector<uint8_t> original = memory;
    uint8_t *base = memory.data() + kGuard;
    auto at = [&](int i) { return base + (direction > 0 ? i : 31 - i) * bytes; };
    before->assign(32, 0);
    for (int i = 0; i < 32; i++) memcpy(&(*before)[i], at(i), bytes);
    for (uint32_t &c : span.colors) c = rng();
    span.pixel = at(0);
    span.direction = direction;
    const uint32_t *table = direction > 0 ? __glFRDitherTable.data() : __glFRDitherTableRtoL.data();
    span.ditherRow = table + ditherStart;
    __glStoreTab[type](mask, &span);
    after->assign(32, 0);
    for (int i = 0; i < 32; i++) memcpy(&(*after)[i], at(i), bytes);
    EXPECT_EQ(0, memcmp(memory.data(), original.data(), kGuard));
    EXPECT_EQ(0, memcmp(memory.data() + kGuard + 32 * bytes, original.data() + kGuard + 32 * bytes,
                        kGuard));
  }

  void Check(const Layout &l, const State &st, uint32_t mask, int direction) {
    const int ditherStart = int(rng() % (4 * FR_DITHER_ROW - 32));
    const uint32_t *table = direction > 0 ? __glFRDitherTable.data() : __glFRDitherTableRtoL.data();
    std::vector<uint32_t> before, after;
    Store(l.type, l.bytes, st, mask, direction, ditherStart, &before, &after);
    for (int i = 0; i < 32; i++) {
      const bool live = mask & (0x80000000u >> i);
      const uint32_t d = table[ditherStart + i];
      const uint32_t want = !live ? before[i]
                            : l.type == FR_FB_CI8 ? RefIndex(st, span.colors[i], before[i], d)
                                                  : RefPixel(l, st, span.colors[i], before[i], d);
      ASSERT_EQ(after[i], want) << "pixel " << i << " type " << int(l.type) << " mask " << std::hex
                                << mask << " src " << st.src << " dst " << st.dst << " op "
                                << st.op << " flags " << st.flags << " colour "
                                << span.colors[i] << " was " << before[i];
    }
  }

  GlContext *gc = nullptr;
  GlColorBuffer cfb{};
  FrSpan span{};
  std::mt19937 rng{461};
};

const GLenum kSrcFactors[] = {GL_ZERO,      GL_ONE,           GL_SRC_ALPHA,
                              GL_ONE_MINUS_SRC_ALPHA, GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA,
                              GL_DST_COLOR, GL_ONE_MINUS_DST_COLOR, GL_SRC_ALPHA_SATURATE};
const GLenum kDstFactors[] = {GL_ZERO,      GL_ONE,           GL_SRC_COLOR,
                              GL_ONE_MINUS_SRC_COLOR, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA,
                              GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA};
const uint32_t kMasks[] = {0xFFFFFFFFu, 0x80000001u, 0xF00FF00Fu, 0x5A5A5A5Au, 0x0u, 0x00000001u};

TEST_F(StoreTest, EveryFactorPairBlendsAndClampsLikeTheReference) {
  for (const Layout &l : kLayouts)
    for (GLenum src : kSrcFactors)
      for (GLenum dst : kDstFactors)
        for (uint32_t dither : {0u, __GL_SHADE_DITHER}) {
          const State st{__GL_SHADE_BLEND | (l.bytes < 3 ? dither : 0), src, dst, GL_COPY, 0, 0};
          Check(l, st, 0xFFFFFFFFu, rng() % 2 ? 1 : -1);
        }
}

// A colour acting as a factor means the fraction its field holds: white
// (the largest field, left-aligned below 255 in narrow fields) is one and
// leaves the other operand as it is, its complement is zero.
TEST_F(StoreTest, WhiteColourFactorsAreOne) {
  struct Row {
    GLenum src, dst;
    bool whiteSource;  // else the destination is white
    bool keepsOther;   // else the result is black
  };
  const Row kRows[] = {
      {GL_ZERO, GL_SRC_COLOR, true, true},
      {GL_ZERO, GL_ONE_MINUS_SRC_COLOR, true, false},
      {GL_DST_COLOR, GL_ZERO, false, true},
      {GL_ONE_MINUS_DST_COLOR, GL_ZERO, false, false},
  };
  for (const Layout &l : kLayouts)
    for (const Row &r : kRows) {
      const Field fs[3] = {l.r, l.g, l.b};
      uint32_t white = 0, other = 0, otherColor = 0;
      for (int i = 0; i < 3; i++) {
        // A field value below its largest, in the pixel and as a colour byte.
        const uint32_t field = (5u * (i + 1)) & ((1u << fs[i].bits) - 1);
        white |= ((1u << fs[i].bits) - 1) << fs[i].shift;
        other |= field << fs[i].shift;
        otherColor |= (field << (8 - fs[i].bits)) << (8 * i);
      }
      const uint32_t whiteColor = 0x00FFFFFFu & (uint32_t(Ceiling(l.r)) | uint32_t(Ceiling(l.g)) << 8 |
                                                 uint32_t(Ceiling(l.b)) << 16);
      gc->polygon.shader.modeFlags = __GL_SHADE_BLEND;
      gc->state.raster.blendSrc = r.src;
      gc->state.raster.blendDst = r.dst;
      uint32_t pixel = r.whiteSource ? other : white;
      span.colors[0] = 0x80000000u | (r.whiteSource ? whiteColor : otherColor);
      span.pixel = reinterpret_cast<uint8_t *>(&pixel);
      span.direction = 1;
      __glStoreTab[l.type](0x80000000u, &span);
      const uint32_t keep = (1ull << (8 * l.bytes)) - 1;
      EXPECT_EQ(pixel & keep, r.keepsOther ? other : 0u)
          << "type " << int(l.type) << " src " << std::hex << r.src << " dst " << r.dst;
    }
}

TEST_F(StoreTest, LogicOpsAndWriteMasksOverTheWholeWord) {
  for (const Layout &l : kLayouts)
    for (GLenum op = GL_CLEAR; op <= GL_SET; op++)
      for (uint32_t flags : {__GL_SHADE_LOGIC_OP, __GL_SHADE_LOGIC_OP | __GL_SHADE_MASK,
                             __GL_SHADE_LOGIC_OP | __GL_SHADE_BLEND | __GL_SHADE_MASK}) {
        const uint32_t source = rng();
        const State st{flags, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, op, source, ~source};
        Check(l, st, 0xFFFFFFFFu, rng() % 2 ? 1 : -1);
      }
}

TEST_F(StoreTest, MaskPatternsAndDitherRowsInBothDirections) {
  const Layout index = {FR_FB_CI8, 1, {0, 8}, {}, {}};
  for (const Layout &l : kLayouts)
    for (uint32_t mask : kMasks)
      for (int direction : {1, -1})
        for (uint32_t flags : {0u, __GL_SHADE_DITHER, __GL_SHADE_DITHER | __GL_SHADE_BLEND}) {
          if (l.bytes >= 3) flags &= ~__GL_SHADE_DITHER;
          Check(l, State{flags, GL_ONE, GL_ONE, GL_COPY, 0, 0}, mask, direction);
        }
  for (uint32_t mask : kMasks)
    for (int direction : {1, -1})
      for (uint32_t flags : {0u, __GL_SHADE_DITHER, __GL_SHADE_DITHER | __GL_SHADE_LOGIC_OP,
                             __GL_SHADE_MASK | __GL_SHADE_BLEND})
        Check(index, State{flags, GL_ONE, GL_ONE, GL_CLEAR + 6 /* XOR */, 0x0F, 0xF0}, mask, direction);
}

TEST_F(StoreTest, TheDitherPointerMovesOverEveryPixelWalked) {
  State st{__GL_SHADE_DITHER, GL_ONE, GL_ZERO, GL_COPY, 0, 0};
  std::vector<uint32_t> before, after;
  Store(FR_FB_RGB565, 2, st, 0x80000001u, 1, 3, &before, &after);
  EXPECT_EQ(span.ditherRow, __glFRDitherTable.data() + 3 + 32);
}

// The worked examples.
TEST_F(StoreTest, WhiteOnWhiteWithOneOneIsFullOnRgb332) {
  gc->polygon.shader.modeFlags = __GL_SHADE_BLEND;
  gc->state.raster.blendSrc = GL_ONE;
  gc->state.raster.blendDst = GL_ONE;
  uint8_t pixel = 0xFF;
  span.pixel = &pixel;
  span.direction = 1;
  span.colors[0] = 0xFFFFFFFFu;
  __glStoreSpanRGB332(0x80000000u, &span);
  EXPECT_EQ(pixel, 0xFF);
}

TEST_F(StoreTest, ColourIndexesAreNotClampedAndDitherInSixteenths) {
  uint8_t pixel = 0;
  span.pixel = &pixel;
  span.direction = 1;
  span.colors[0] = 0x1FF0000u;
  __glStoreSpanCINDEX(0x80000000u, &span);
  EXPECT_EQ(pixel, 0xFF);
  gc->polygon.shader.modeFlags = __GL_SHADE_DITHER;
  const uint32_t fifteen = 15 * 4096;
  span.ditherRow = &fifteen;
  span.colors[0] = 0x5F000u;  // 5.9375
  __glStoreSpanCINDEX(0x80000000u, &span);
  EXPECT_EQ(pixel, 6);
}

TEST(StoreTable, HoldsTheSixStoresByFrameBufferType) {
  EXPECT_EQ(__glStoreTab[FR_FB_CI8], __glStoreSpanCINDEX);
  EXPECT_EQ(__glStoreTab[FR_FB_RGB332], __glStoreSpanRGB332);
  EXPECT_EQ(__glStoreTab[FR_FB_RGB555], __glStoreSpanRGB5);
  EXPECT_EQ(__glStoreTab[FR_FB_RGB565], __glStoreSpanRGB565);
  EXPECT_EQ(__glStoreTab[FR_FB_RGB8], __glStoreSpanRGB8);
  EXPECT_EQ(__glStoreTab[FR_FB_XRGB8], __glStoreSpanXRGB8);
  int filled = 0;
  for (FrSpanletProc p : __glStoreTab) filled += p != nullptr;
  EXPECT_EQ(filled, 6);
}

}  // namespace
