// The generated setup's geometry against the C reference: rows, edges,
// errors and steps, direction, buffer addresses, rejection, and what the
// routine keeps (registers, stack, control word, vertices).
#include <string.h>

#include "codegen/og_ras.h"
#include "fastraster/fr_setup_fixed.h"
#include "tests/codegen/setup/setup_fixture.h"

namespace setup_test {
namespace {

struct Tri {
  const char *what;
  float x[3], y[3];
};

// Window coordinates carry the offset of 6144.
constexpr float O = 6144.0f;
const Tri kTris[] = {
    {"counter-clockwise", {O + 3.2f, O + 20.7f, O + 9.1f}, {O + 2.3f, O + 30.6f, O + 17.9f}},
    {"clockwise", {O + 3.2f, O + 9.1f, O + 20.7f}, {O + 2.3f, O + 17.9f, O + 30.6f}},
    {"horizontal top", {O + 1.0f, O + 30.0f, O + 12.0f}, {O + 4.25f, O + 4.25f, O + 25.5f}},
    {"horizontal bottom", {O + 10.0f, O + 2.0f, O + 40.0f}, {O + 3.0f, O + 28.75f, O + 28.75f}},
    {"top at a pixel centre row", {O + 5.0f, O + 25.0f, O + 12.0f}, {O + 6.5f, O + 20.5f, O + 33.0f}},
    {"thin sliver", {O + 1.0f, O + 50.0f, O + 50.1f}, {O + 1.0f, O + 40.0f, O + 40.2f}},
    {"steep negative slope", {O + 40.0f, O + 2.0f, O + 41.0f}, {O + 1.0f, O + 45.0f, O + 30.0f}},
    {"near the range end", {8191.0f - 0.6f, 8191.0f - 40.0f, 8191.0f - 10.0f},
     {8191.0f - 0.6f, 8191.0f - 30.0f, 8191.0f - 2.0f}},
    {"at the range start", {4095.5f, 4130.0f, 4100.0f}, {4095.5f, 4120.0f, 4140.0f}},
};

// The six orders of one triangle's vertices.
const int kOrders[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};

class SetupGeometry : public SetupTest {
 protected:
  void ExpectWalker(const Reference &r) {
    EXPECT_EQ(FrFloatBits(FloatWord(offsetof(FrSpan, sizeMeasure))), FrFloatBits(r.area));
    EXPECT_EQ(int32_t(Word(offsetof(FrSpan, direction))), r.direction);
    EXPECT_EQ(int32_t(Word(offsetof(FrSpan, iyTop))), r.iyTop);
    EXPECT_EQ(int32_t(Word(offsetof(FrSpan, iyBottom))), r.iyBottom);
    EXPECT_EQ(int32_t(Word(offsetof(FrSpan, iyMiddle))), r.iyMiddle);
    const size_t ix[3] = {offsetof(FrSpan, ixLong), offsetof(FrSpan, ixShort),
                          offsetof(FrSpan, ixLower)};
    const size_t dx[3] = {offsetof(FrSpan, dxLong), offsetof(FrSpan, dxShort),
                          offsetof(FrSpan, dxLower)};
    const size_t fr[3] = {offsetof(FrSpan, fracLong), offsetof(FrSpan, fracShort),
                          offsetof(FrSpan, fracLower)};
    const size_t df[3] = {offsetof(FrSpan, dfracLong), offsetof(FrSpan, dfracShort),
                          offsetof(FrSpan, dfracLower)};
    for (int e = 0; e < 3; e++) {
      SCOPED_TRACE(e);
      EXPECT_EQ(int32_t(Word(ix[e])), r.ix[e]);
      EXPECT_EQ(int32_t(Word(dx[e])), r.dx[e]);
      EXPECT_EQ(int32_t(Word(dx[e] + 4)), r.dxCarry[e]);
      EXPECT_EQ(Word(fr[e]), r.frac[e]);
      EXPECT_EQ(int32_t(Word(df[e])), r.dfrac[e]);
    }
  }

  // base + x * size + row * pitch, and the steps.
  void ExpectAddresses(const Buffer &buf, size_t edge, const Reference &r) {
    const uint32_t b = buf.record.elementSize;
    const uint32_t pitch = uint32_t(buf.record.pitchBytes);
    EXPECT_EQ(Word(edge), uint32_t(uintptr_t(buf.record.base)) +
                              uint32_t(r.ixLongBeforeNegation) * b + uint32_t(r.iyTop) * pitch);
    EXPECT_EQ(int32_t(Word(edge + 4)), r.direction * int32_t(b));
    if (spanlet) {
      EXPECT_EQ(int32_t(Word(edge + 8)), r.direction * int32_t(b) * 32);
    }
    EXPECT_EQ(Word(edge + 12), uint32_t(r.dxLongTrue) * b + pitch);
    EXPECT_EQ(Word(edge + 16), uint32_t(r.dxLongCarryTrue) * b + pitch);
  }

  void CheckTable(uint16_t cw) {
    for (const Tri &t : kTris) {
      for (const auto &order : kOrders) {
        SCOPED_TRACE(testing::Message() << t.what << " order " << order[0] << order[1]
                                        << order[2] << " cw " << std::hex << cw);
        GlVertex *v[3];
        for (int i = 0; i < 3; i++) v[i] = Vertex(i, t.x[order[i]], t.y[order[i]], 0.1f * i);
        GlVertex before[3];
        memcpy(before, vertices, sizeof before);
        const Reference r = Compute(gc, v[0], v[1], v[2]);
        ASSERT_FALSE(r.rejected);
        gReached = 0;
        EXPECT_EQ(Run(v[0], v[1], v[2], cw), 1u);
        EXPECT_EQ(gReached, 1);
        EXPECT_EQ(memcmp(before, vertices, sizeof before), 0) << "vertices restored";
        ExpectWalker(r);
        ExpectAddresses(color, offsetof(FrSpan, pixelEdge), r);
        if (gc->polygon.shader.modeFlags & __GL_SHADE_DEPTH_TEST)
          ExpectAddresses(depth, offsetof(FrSpan, zbufEdge), r);
        if (gc->polygon.shader.modeFlags & __GL_SHADE_STENCIL_TEST)
          ExpectAddresses(stencil, offsetof(FrSpan, sbufEdge), r);
        if (gc->drawBoth) ExpectAddresses(front2, offsetof(FrSpan, pixel2Edge), r);
      }
    }
  }
};

TEST_F(SetupGeometry, WalkerAndColourAddressesMatchTheReference) {
  CheckTable(0x027F);
  CheckTable(0x037F);
}

TEST_F(SetupGeometry, DepthStencilAndSecondBufferAddresses) {
  gc->polygon.shader.modeFlags = __GL_SHADE_RGB | __GL_SHADE_DEPTH_TEST | __GL_SHADE_STENCIL_TEST;
  gc->backBuffer.buf.drawableBuf = &color.record;
  gc->frontBuffer.buf.drawableBuf = &front2.record;
  gc->drawBuffer = &gc->backBuffer;
  gc->drawBoth = 1;
  CheckTable(0x027F);
}

// Element sizes 1 to 4, top-down and bottom-up rows, in both modes.
TEST_F(SetupGeometry, ElementSizesAndNegativePitches) {
  gc->polygon.shader.modeFlags = __GL_SHADE_RGB | __GL_SHADE_DEPTH_TEST;
  for (uint32_t size = 1; size <= 4; size++) {
    for (bool bottomUp : {false, true}) {
      for (GLbool8 mode : {GLbool8(0), GLbool8(1)}) {
        SCOPED_TRACE(testing::Message() << "size " << size << " bottom-up " << bottomUp
                                        << " spanlet " << int(mode));
        color.Make(40, 40, size, bottomUp);
        depth.Make(40, 40, size == 3 ? 4 : size, !bottomUp);
        spanlet = mode;
        // Sizes are fixed at generation: a new state for each.
        __glInvalidateCodeCache(gc);
        GlVertex *a = Vertex(0, O + 3.5f, O + 2.25f), *b = Vertex(1, O + 30.0f, O + 35.0f),
                 *c = Vertex(2, O + 1.0f, O + 20.0f);
        const Reference r = Compute(gc, a, b, c);
        EXPECT_EQ(Run(a, b, c), 1u);
        ExpectAddresses(color, offsetof(FrSpan, pixelEdge), r);
        ExpectAddresses(depth, offsetof(FrSpan, zbufEdge), r);
      }
    }
  }
}

// Mirror images walk in opposite directions: negated x words, the start
// one less before negation, the same column and steps mirrored.
TEST_F(SetupGeometry, MirroredTrianglesNegateTheWalker) {
  const float xs[3] = {10.25f, 20.0f, 2.0f}, ys[3] = {2.0f, 30.0f, 14.0f};
  int32_t dir[2], ix[2], dx[2];
  for (int m = 0; m < 2; m++) {
    GlVertex *v[3];
    for (int i = 0; i < 3; i++) v[i] = Vertex(i, O + (m ? 32.0f - xs[i] : xs[i]), O + ys[i]);
    ASSERT_EQ(Run(v[0], v[1], v[2]), 1u);
    dir[m] = int32_t(Word(offsetof(FrSpan, direction)));
    ix[m] = int32_t(Word(offsetof(FrSpan, ixLong)));
    dx[m] = int32_t(Word(offsetof(FrSpan, dxLong)));
  }
  EXPECT_EQ(dir[0], -dir[1]);
  const int r = dir[0] < 0 ? 0 : 1;  // the right-to-left one
  EXPECT_EQ(dx[r], dx[1 - r]) << "mirrored slope, negated";
  // The right-to-left start is the last pixel left of the mirrored edge.
  EXPECT_EQ(-ix[r], 32 - ix[1 - r] - 1 - (dir[r] < 0 ? 1 : 0) + 1);
}

// A make-current onto another window of the same format rebinds the buffer
// records to that window's drawable buffers; the cached routine must draw
// there, also once the first window's records are gone and overwritten.
TEST_F(SetupGeometry, AnotherWindowOfTheSameFormatGetsItsOwnAddresses) {
  gc->polygon.shader.modeFlags = __GL_SHADE_RGB | __GL_SHADE_DEPTH_TEST;
  GlVertex *a = Vertex(0, O + 3.5f, O + 2.25f), *b = Vertex(1, O + 30.0f, O + 35.0f),
           *c = Vertex(2, O + 1.0f, O + 20.0f);
  void *first = Generate();
  ASSERT_EQ(Run(a, b, c), 1u);
  Buffer *second = new Buffer, *secondDepth = new Buffer;
  second->Make(64, 48, 2);
  secondDepth->Make(64, 48, 2);
  gc->frontBuffer.buf.drawableBuf = &second->record;
  gc->depthBuffer.buf.drawableBuf = &secondDepth->record;
  // The first window goes: its records and pixels are freed and reused.
  color.memory.assign(color.memory.size(), 0x5A);
  memset(&color.record, 0xA5, sizeof color.record);
  memset(&depth.record, 0xA5, sizeof depth.record);
  EXPECT_EQ(Generate(), first) << "same state, same routine";
  const Reference r = Compute(gc, a, b, c);
  ASSERT_EQ(Run(a, b, c), 1u);
  const uint32_t edge = Word(offsetof(FrSpan, pixelEdge));
  EXPECT_GE(edge, uint32_t(uintptr_t(second->memory.data())));
  EXPECT_LT(edge, uint32_t(uintptr_t(second->memory.data() + second->memory.size())));
  ExpectAddresses(*second, offsetof(FrSpan, pixelEdge), r);
  ExpectAddresses(*secondDepth, offsetof(FrSpan, zbufEdge), r);
  gc->frontBuffer.buf.drawableBuf = &color.record;
  gc->depthBuffer.buf.drawableBuf = &depth.record;
  delete second;
  delete secondDepth;
}

// A compacted layout gives the same words, read where the layout puts them.
TEST_F(SetupGeometry, CompactedLayoutGivesTheSameWords) {
  gc->polygon.shader.modeFlags = __GL_SHADE_RGB | __GL_SHADE_DEPTH_TEST | __GL_SHADE_STENCIL_TEST;
  UseCompactedSpace();
  CheckTable(0x027F);
}

TEST_F(SetupGeometry, CollinearTrianglesReturnZero) {
  GlVertex *a = Vertex(0, O + 1.0f, O + 1.0f), *b = Vertex(1, O + 9.0f, O + 9.0f),
           *c = Vertex(2, O + 5.01f, O + 5.0f);  // collinear once snapped
  GlVertex before[3];
  memcpy(before, vertices, sizeof before);
  EXPECT_EQ(Run(a, b, c), 0u);
  EXPECT_EQ(gReached, 0);
  EXPECT_EQ(memcmp(before, vertices, sizeof before), 0);
}

// NaN, infinities and coordinates outside the window range in every
// position: rejected before anything is written.
TEST_F(SetupGeometry, HostileVerticesAreRejected) {
  gc->polygon.shader.modeFlags = __GL_SHADE_RGB | __GL_SHADE_DEPTH_TEST | __GL_SHADE_ITERATE_COLOR;
  const float kBad[] = {__builtin_nanf(""), -__builtin_nanf(""), __builtin_inff(),
                        -__builtin_inff(), 8192.0f, 4095.0f, 0.0f, -6000.0f, 1e30f};
  for (float bad : kBad) {
    for (int at = 0; at < 6; at++) {
      SCOPED_TRACE(testing::Message() << bad << " at " << at);
      float xy[6] = {O + 1.0f, O + 2.0f, O + 30.0f, O + 25.0f, O + 4.0f, O + 33.0f};
      xy[at] = bad;
      GlVertex *v[3];
      for (int i = 0; i < 3; i++) v[i] = Vertex(i, xy[2 * i], xy[2 * i + 1]);
      GlVertex before[3];
      GlColor colorsBefore[3];
      memcpy(before, vertices, sizeof before);
      memcpy(colorsBefore, colors, sizeof colorsBefore);
      memset(gFrame, 0xCD, sizeof gFrame);
      gReached = 0;
      EXPECT_EQ(Run(v[0], v[1], v[2]), 0u);
      EXPECT_EQ(gReached, 0);
      EXPECT_EQ(memcmp(before, vertices, sizeof before), 0);
      EXPECT_EQ(memcmp(colorsBefore, colors, sizeof colorsBefore), 0);
    }
  }
}

// The same state finds the same routine; a different one gets another.
TEST_F(SetupGeometry, RepeatedStateReturnsTheSameRoutine) {
  void *first = Generate();
  EXPECT_EQ(Generate(), first);
  gc->polygon.shader.modeFlags |= __GL_SHADE_DEPTH_TEST;
  void *second = Generate();
  EXPECT_NE(second, first);
  gc->polygon.shader.modeFlags &= ~__GL_SHADE_DEPTH_TEST;
  EXPECT_EQ(Generate(), first);
  // The layout hash is part of the key.
  UseCompactedSpace();
  EXPECT_NE(Generate(), first);
}

// Every state bit the generator reads, at once: the code still ends before
// the offset table.
TEST_F(SetupGeometry, TheLargestSetupFitsBeforeTheOffsetTable) {
  uint32_t most = 0;
  for (uint32_t extra : {0u, __GL_SHADE_ITERATE_COLOR, __GL_SHADE_TEXTURE,
                         __GL_SHADE_TEXTURE | __GL_SHADE_PERSPECTIVE}) {
    for (GLbool8 mode : {GLbool8(0), GLbool8(1)}) {
      gc->polygon.shader.modeFlags = __GL_SHADE_RGB | __GL_SHADE_DEPTH_TEST |
                                     __GL_SHADE_STENCIL_TEST | __GL_SHADE_ALPHA |
                                     __GL_SHADE_DITHER | __GL_SHADE_BLEND | extra;
      gc->drawBoth = 1;
      gc->backBuffer.buf.drawableBuf = &color.record;
      gc->drawBuffer = &gc->backBuffer;
      __glInvalidateCodeCache(gc);
      memset(gc->triSetupCache.codeSpace, 0xCC, 40 * 4096);
      uint8_t *code = static_cast<uint8_t *>(Generate(mode));
      ASSERT_NE(code, nullptr);
      // The last byte the generator wrote before the table.
      uint32_t end = OG_SETUP_CODE_LIMIT;
      while (end > 0 && code[end - 1] == 0xCC) end--;
      most = end > most ? end : most;
    }
  }
  EXPECT_LT(most, OG_SETUP_CODE_LIMIT);
  RecordProperty("largest_setup_bytes", int(most));
}

}  // namespace
}  // namespace setup_test
