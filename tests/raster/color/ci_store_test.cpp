// The colour-index stores, fetches and span stores in every index width
// against the reference model: dithering, write masks, logic operations,
// ownership and the 3-byte layout of 24-bit indexes.
#include <gtest/gtest.h>

#include "raster/s_ci.h"
#include "tests/raster/color/color_fixture.h"
#include "tests/raster/color/color_model.h"

namespace {

struct IndexState {
  const char *what;
  bool dither, logicOp, front, none;
  uint32_t writeMask;
  GLenum op;
};

const std::vector<GlRect> kPartlyHidden = {{1, 0, 5, 6}, {7, 3, 11, 6}};

void Apply(BoundColorBuffer &b, const IndexState &st) {
  GlContext *gc = b.gc();
  gc->state.raster.writeMask = st.writeMask;
  gc->state.raster.logicOp = st.op;
  if (st.none) gc->state.raster.drawBuffer = GL_NONE;
  if (st.front) b.SetVisible(kPartlyHidden);
  uint32_t flags = 0;
  if (st.dither) flags |= __GL_SHADE_DITHER;
  if (st.logicOp) flags |= __GL_SHADE_LOGIC_OP;
  if (st.front) flags |= __GL_SHADE_FRONT_BUFFER;
  b.SetFlags(flags);
  b.cfb()->pick(gc, b.cfb());
}

ModelState ModelOf(const IndexState &st) {
  ModelState s;
  s.dither = st.dither, s.logicOp = st.logicOp, s.front = st.front, s.none = st.none;
  s.op = st.op;
  s.indexWriteMask = st.writeMask;
  if (st.front) s.visible = kPartlyHidden;
  return s;
}

// An index on the 1/64 grid whose float is exact: below 2^17, or a large
// index with its low bits clear.
GLfloat RandomIndex(TestRandom &random, const ColorFormat &f) {
  const uint32_t mask = f.indexMask();
  if (mask > 0x1FFFF && (random.Next() & 3) == 0)
    return GLfloat(random.Next() & mask & 0xFFFF0000u);
  const uint32_t small = mask < 0x1FFFF ? mask : 0x1FFFF;
  return GLfloat(random.Next() % (small * 64 + 1)) / 64.0f;
}

std::vector<IndexState> States() {
  std::vector<IndexState> states = {
      {"plain", false, false, false, false, UINT32_MAX, GL_COPY},
      {"dithered", true, false, false, false, UINT32_MAX, GL_COPY},
      {"low four bits writable", false, false, false, false, 0x0F, GL_COPY},
      {"alternate bits writable, dithered", true, false, false, false, 0xA5A5A5A5u, GL_COPY},
      {"nothing writable", false, false, false, false, 0, GL_COPY},
      {"front buffer, partly hidden", false, false, true, false, UINT32_MAX, GL_COPY},
      {"draw buffer GL_NONE", false, false, false, true, UINT32_MAX, GL_COPY},
  };
  for (GLenum op = GL_CLEAR; op <= GL_SET; op++)
    states.push_back(
        {"logic op", (op & 2) != 0, true, false, false, (op & 1) ? 0xFF0Fu : UINT32_MAX, op});
  return states;
}

TEST(IndexStore, EveryWidthAndStateFollowsTheModel) {
  for (const ColorFormat &f : kIndexFormats) {
    for (const IndexState &st : States()) {
      SCOPED_TRACE(testing::Message()
                   << f.name << ", " << st.what << " op 0x" << std::hex << st.op);
      BoundColorBuffer b(f);
      Apply(b, st);
      const ModelState s = ModelOf(st);
      b.FillPattern(st.op + st.writeMask);
      std::vector<uint8_t> want = b.Bytes();
      const GlDrawableBuffer *mem = b.memory().buffer();
      TestRandom random(st.op);
      for (int i = 0; i < 40; i++) {
        GlFragment frag{};
        const int32_t col = int32_t(random.Next() % uint32_t(b.width()));
        const int32_t row = int32_t(random.Next() % uint32_t(b.height()));
        frag.x = col + kBias, frag.y = row + kBias;
        frag.color.r = RandomIndex(random, f);
        WritePixel(
            want, mem, col, row,
            ModelIndexStore(f, s, frag.x, frag.y, frag.color.r, ReadPixel(want, mem, col, row)));
        b.cfb()->store(b.cfb(), &frag);
      }
      EXPECT_EQ(FirstDifference(want, b.Bytes(), mem), "");
      EXPECT_TRUE(b.memory().GuardsIntact());
    }
  }
}

// Single stores whose results the rules fix.
TEST(IndexStore, RoundingEdges) {
  struct Case {
    const char *what;
    size_t format;  // in kIndexFormats
    GLfloat index;
    bool dither;
    uint32_t writeMask;
    uint32_t before, after;
  } cases[] = {
      {"3.7 rounds to 4", 0, 3.7f, false, UINT32_MAX, 0, 4},
      {"3.4 rounds to 3", 0, 3.4f, false, UINT32_MAX, 0, 3},
      {"write mask 0x0F changes the low four bits", 0, 0x3C, false, 0x0F, 0xA5, 0xAC},
      {"12 bits: the four bits above the index end up clear", 1, 0xFFF, false, UINT32_MAX, 0xF000,
       0x0FFF},
      {"the largest 24-bit index stays itself", 3, 16777215.0f, false, UINT32_MAX, 0, 0xFFFFFF},
      {"the largest 24-bit index, dithered", 3, 16777215.0f, true, UINT32_MAX, 0, 0xFFFFFF},
      {"a large 32-bit index", 4, 4294901760.0f, true, UINT32_MAX, 0, 0xFFFF0000u},
      {"8 bits keep the low byte of a wider index", 0, 0x1FE, false, UINT32_MAX, 0, 0xFE},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    const ColorFormat &f = kIndexFormats[c.format];
    BoundColorBuffer b(f, 4, 4);
    IndexState st{"", c.dither, false, false, false, c.writeMask, GL_COPY};
    Apply(b, st);
    b.memory().Write(1, 1, c.before);
    GlFragment frag{};
    frag.x = frag.y = 1 + kBias;  // dither entry 4: offset 9/32
    frag.color.r = c.index;
    b.cfb()->store(b.cfb(), &frag);
    EXPECT_EQ(b.memory().Read(1, 1), c.after);
  }
}

// 24-bit indexes are 3-byte pixels in rows padded to whole words: a buffer
// 5 pixels wide has 16-byte rows, and a store touches exactly its 3 bytes.
TEST(IndexStore, TwentyFourBitIndexesUseThreeBytePixels) {
  BoundColorBuffer b(kIndexFormats[3], 5, 3);
  ASSERT_EQ(b.memory().buffer()->pitchBytes, 16);
  b.memory().Fill(0);
  GlFragment frag{};
  frag.x = 4 + kBias, frag.y = 1 + kBias;
  frag.color.r = GLfloat(0x123456);
  b.cfb()->store(b.cfb(), &frag);
  const uint8_t *base = b.memory().buffer()->base;
  for (int32_t i = 0; i < 48; i++) {
    const uint8_t want = i == 28 ? 0x56 : i == 29 ? 0x34 : i == 30 ? 0x12 : 0;
    EXPECT_EQ(base[i], want) << "byte " << i;
  }
  GlColor got{};
  b.cfb()->fetch[0](b.cfb(), frag.x, frag.y, &got);
  EXPECT_EQ(got.r, GLfloat(0x123456));
}

TEST(IndexFetch, TheStoredIndexInRedAlone) {
  for (const ColorFormat &f : kIndexFormats) {
    SCOPED_TRACE(f.name);
    BoundColorBuffer b(f);
    b.FillPattern(3);
    const uint32_t width = f.bytes() >= 4 ? UINT32_MAX : (1u << (8 * f.bytes())) - 1;
    for (int32_t row = 0; row < b.height(); row++) {
      for (int32_t col = 0; col < b.width(); col++) {
        for (int slot = 0; slot < 2; slot++) {
          GlColor got{-1, -2, -3, -4};
          b.cfb()->fetch[slot](b.cfb(), col + kBias, row + kBias, &got);
          EXPECT_EQ(got.r, GLfloat(b.memory().Read(col, row) & width));
          EXPECT_EQ(got.g, -2);
          EXPECT_EQ(got.b, -3);
          EXPECT_EQ(got.a, -4);
        }
      }
    }
  }
}

TEST(IndexSpan, SpanStoresFollowTheModel) {
  const std::vector<IndexState> states = States();
  for (const ColorFormat &f : kIndexFormats) {
    for (size_t k : {size_t(0), size_t(1), size_t(3), size_t(5), size_t(12)}) {
      const IndexState &st = states[k];
      for (bool stippled : {false, true}) {
        SCOPED_TRACE(testing::Message()
                     << f.name << ", " << st.what << (stippled ? ", stippled" : ""));
        BoundColorBuffer b(f, 70, 3);
        Apply(b, st);
        const ModelState s = ModelOf(st);
        b.FillPattern(uint32_t(k));
        std::vector<uint8_t> want = b.Bytes();
        const GlDrawableBuffer *mem = b.memory().buffer();
        TestRandom random(uint32_t(k) + 100);
        std::vector<GlColor> colors(66);
        uint32_t stipple[3] = {random.Next(), random.Next(), random.Next()};
        for (size_t i = 0; i < colors.size(); i++) {
          colors[i] = {RandomIndex(random, f), -1, -1, -1};
          if (stippled && !((stipple[i / 32] >> (31 - i % 32)) & 1)) continue;
          const int32_t col = 2 + int32_t(i);
          WritePixel(want, mem, col, 1,
                     ModelIndexStore(f, s, col + kBias, 1 + kBias, colors[i].r,
                                     ReadPixel(want, mem, col, 1)));
        }
        GlShader &sh = b.gc()->polygon.shader;
        sh.x = 2 + kBias, sh.y = 1 + kBias, sh.length = int32_t(colors.size());
        sh.spanColors = colors.data();
        sh.stipplePat = stipple;
        sh.cfb = b.cfb();
        EXPECT_EQ((stippled ? ci::StoreStippledSpan : ci::StoreSpan)(b.gc()), 0);
        EXPECT_EQ(FirstDifference(want, b.Bytes(), mem), "");
      }
    }
  }
}

// The back buffer's indexes are stored wherever the front is hidden.
TEST(IndexStore, BackBufferPixelsAreNeverHidden) {
  for (const ColorFormat &f : kIndexFormats) {
    SCOPED_TRACE(f.name);
    BoundColorBuffer b(f, 11, 6, false);
    IndexState st{"", false, false, true, false, UINT32_MAX, GL_COPY};
    Apply(b, st);
    b.FillPattern(2);
    std::vector<uint8_t> want = b.Bytes();
    const GlDrawableBuffer *mem = b.memory().buffer();
    const ModelState s;  // no pixel hidden
    for (int32_t row = 0; row < b.height(); row++) {
      for (int32_t col = 0; col < b.width(); col++) {
        GlFragment frag{};
        frag.x = col + kBias, frag.y = row + kBias;
        frag.color.r = GLfloat(col * 7 + row);
        WritePixel(want, mem, col, row, ModelIndexStore(f, s, frag.x, frag.y, frag.color.r, 0));
        b.cfb()->store(b.cfb(), &frag);
      }
    }
    EXPECT_EQ(FirstDifference(want, b.Bytes(), mem), "");
  }
}

}  // namespace
