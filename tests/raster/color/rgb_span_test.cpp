// The RGB span stores: the generic ones against the reference model
// (stipple words, ownership), and the fast 16- and 24-bit stores against
// the fragment store of the same pixel size, which they must agree with
// away from exact rounding ties.
#include <gtest/gtest.h>

#include <vector>

#include "raster/s_rgb.h"
#include "tests/raster/color/color_fixture.h"
#include "tests/raster/color/color_model.h"

namespace {

constexpr int32_t kWidth = 75, kHeight = 4;
constexpr GLenum kXor = GL_CLEAR + 6, kEquiv = GL_CLEAR + 9;

void HalfBlend(GlContext *, GlColorBuffer *, const GlFragment *frag, GlColor *out) {
  *out = {frag->color.r * 0.5f, frag->color.g * 0.5f, frag->color.b * 0.5f, frag->color.a * 0.5f};
}

const std::vector<GlRect> kPartlyHidden = {{0, 0, 10, kHeight}, {17, 1, 40, 3}, {52, 0, 75, 2}};

struct SpanState {
  const char *what;
  bool dither, logicOp, blend, front;
  uint32_t colourMask;  // bit i: channel i written
  GLenum op;
};

const SpanState kStates[] = {
    {"plain", false, false, false, false, 0xF, GL_COPY},
    {"dithered", true, false, false, false, 0xF, GL_COPY},
    {"front buffer, partly hidden", false, false, false, true, 0xF, GL_COPY},
    {"dithered front buffer", true, false, false, true, 0xF, GL_COPY},
    {"red and alpha masked", false, false, false, false, 0x6, GL_COPY},
    {"xor, dithered", true, true, false, false, 0xF, kXor},
    {"equiv, green only", false, true, false, false, 0x2, kEquiv},
    {"blended", false, false, true, false, 0xF, GL_COPY},
    {"blended, dithered, hidden, blue masked", true, false, true, true, 0xB, GL_COPY},
};

ModelState ModelOf(const SpanState &st) {
  ModelState s;
  s.dither = st.dither, s.logicOp = st.logicOp, s.blend = st.blend, s.front = st.front;
  s.op = st.op;
  for (int i = 0; i < 4; i++) s.write[i] = (st.colourMask >> i) & 1;
  if (st.front) s.visible = kPartlyHidden;
  return s;
}

void Apply(BoundColorBuffer &b, const SpanState &st) {
  GlContext *gc = b.gc();
  GlRasterState &r = gc->state.raster;
  r.rMask = st.colourMask & 1, r.gMask = (st.colourMask >> 1) & 1;
  r.bMask = (st.colourMask >> 2) & 1, r.aMask = (st.colourMask >> 3) & 1;
  r.logicOp = st.op;
  b.SetVisible(st.front ? kPartlyHidden : std::vector<GlRect>{{0, 0, kWidth, kHeight}});
  gc->procs.blend.blend = HalfBlend;
  uint32_t flags = __GL_SHADE_RGB;
  if (st.dither) flags |= __GL_SHADE_DITHER;
  if (st.logicOp) flags |= __GL_SHADE_LOGIC_OP;
  if (st.blend) flags |= __GL_SHADE_BLEND;
  if (st.front) flags |= __GL_SHADE_FRONT_BUFFER;
  b.SetFlags(flags);
  b.cfb()->pick(gc, b.cfb());
}

// A span in the shader: `length` pixels from drawable column `col` of row
// `row`, colours a 1/128 off the 1/64 grid (never at a rounding tie).
struct Span {
  std::vector<GlColor> colors;
  std::vector<uint32_t> stipple;
  int32_t col, row;
};

Span MakeSpan(const ColorFormat &f, uint32_t seed, int32_t col, int32_t row, int32_t length) {
  TestRandom random(seed);
  Span span{{}, {}, col, row};
  auto max = [&](int i) { return f.masks[i] ? f.masks[i] >> __builtin_ctz(f.masks[i]) : 255u; };
  for (int32_t i = 0; i < length; i++)
    span.colors.push_back(
        {random.Component(max(0), 1.0f / 128), random.Component(max(1), 1.0f / 128),
         random.Component(max(2), 1.0f / 128), random.Component(max(3), 1.0f / 128)});
  for (int32_t i = 0; i < (length + 31) / 32; i++) span.stipple.push_back(random.Next());
  return span;
}

void Load(BoundColorBuffer &b, Span &span) {
  GlShader &sh = b.gc()->polygon.shader;
  sh.x = span.col + kBias;
  sh.y = span.row + kBias;
  sh.length = int32_t(span.colors.size());
  sh.spanColors = span.colors.data();
  sh.stipplePat = span.stipple.data();
  sh.cfb = b.cfb();
}

bool StippleBit(const Span &span, int32_t i) {
  return (span.stipple[size_t(i) / 32] >> (31 - i % 32)) & 1;
}

// The buffer's generic span stores, stippled or not, against the model.
TEST(RgbSpan, GenericSpanStoresFollowTheModel) {
  const struct {
    int32_t col, row, length;
  } spans[] = {{0, 0, kWidth}, {3, 2, 70}, {40, 3, 1}, {9, 1, 33}, {20, 0, 0}};
  for (const ColorFormat &f : kRgbFormats) {
    for (const SpanState &st : kStates) {
      for (bool stippled : {false, true}) {
        for (const auto &sp : spans) {
          SCOPED_TRACE(testing::Message()
                       << f.name << ", " << st.what << (stippled ? ", stippled" : "")
                       << ", span at " << sp.col << " of " << sp.length);
          BoundColorBuffer b(f, kWidth, kHeight);
          Apply(b, st);
          const ModelState s = ModelOf(st);
          b.FillPattern(sp.col + 1);
          std::vector<uint8_t> want = b.Bytes();
          const GlDrawableBuffer *mem = b.memory().buffer();
          Span span = MakeSpan(f, sp.length + 3, sp.col, sp.row, sp.length);
          for (int32_t i = 0; i < sp.length; i++) {
            if (stippled && !StippleBit(span, i)) continue;
            const int32_t col = sp.col + i;
            WritePixel(want, mem, col, sp.row,
                       ModelRgbStore(f, s, col + kBias, sp.row + kBias, span.colors[size_t(i)],
                                     ReadPixel(want, mem, col, sp.row)));
          }
          Load(b, span);
          GLbool8 (*store)(GlContext *) = stippled ? rgb::StoreStippledSpan : rgb::StoreSpan;
          EXPECT_EQ(store(b.gc()), 0);
          EXPECT_EQ(FirstDifference(want, b.Bytes(), mem), "");
          EXPECT_TRUE(b.memory().GuardsIntact());
        }
      }
    }
  }
}

// Each fast span store writes what its fragment store writes pixel by pixel.
TEST(RgbSpan, FastSpanStoresAgreeWithTheFragmentStore) {
  struct Case {
    const char *what;
    size_t format;  // in kRgbFormats
    GLbool8 (*span)(GlContext *);
    const char *spanName;
    void (*store)(GlColorBuffer *, const GlFragment *);
    bool fastOnly;  // only for the states the pick gives it
  } cases[] = {
      {"5-5-5", 1, rgb::StoreSpan_16, "StoreSpan_16", rgb::Store_16, true},
      {"5-6-5", 2, rgb::StoreSpan_16, "StoreSpan_16", rgb::Store_16, true},
      {"1-5-5-5", 3, rgb::StoreSpan_16, "StoreSpan_16", rgb::Store_16, true},
      {"5-6-5 dithered", 2, rgb::StoreSpan_16_Dither, "StoreSpan_16_Dither", rgb::Store_16, true},
      {"1-5-5-5 dithered", 3, rgb::StoreSpan_16_Dither, "StoreSpan_16_Dither", rgb::Store_16, true},
      {"8-8-8", 4, rgb::StoreSpan_24, "StoreSpan_24", rgb::Store_24, true},
      {"5-5-5 general", 1, rgb::StoreSpan_16_General, "StoreSpan_16_General", rgb::Store_16, false},
      {"5-6-5 general", 2, rgb::StoreSpan_16_General, "StoreSpan_16_General", rgb::Store_16, false},
      {"1-5-5-5 general", 3, rgb::StoreSpan_16_General, "StoreSpan_16_General", rgb::Store_16,
       false},
  };
  for (const Case &c : cases) {
    const ColorFormat &f = kRgbFormats[c.format];
    for (const SpanState &st : kStates) {
      // The fast stores serve states with every channel written and no
      // blend or logic op; the dithered one exactly the dithered ones.
      const bool dithering = c.span == rgb::StoreSpan_16_Dither;
      if (c.fastOnly && (st.logicOp || st.blend || st.colourMask != 0xF || st.dither != dithering))
        continue;
      SCOPED_TRACE(testing::Message() << c.what << " " << c.spanName << ", " << st.what);
      BoundColorBuffer fast(f, kWidth, kHeight), slow(f, kWidth, kHeight);
      Apply(fast, st);
      Apply(slow, st);
      fast.FillPattern(9);
      slow.FillPattern(9);
      Span span = MakeSpan(f, 21, 2, 1, 71);
      Load(fast, span);
      EXPECT_EQ(c.span(fast.gc()), 0);
      for (int32_t i = 0; i < int32_t(span.colors.size()); i++) {
        GlFragment frag{};
        frag.x = span.col + i + kBias, frag.y = span.row + kBias;
        frag.color = span.colors[size_t(i)];
        c.store(slow.cfb(), &frag);
      }
      EXPECT_EQ(FirstDifference(slow.Bytes(), fast.Bytes(), fast.memory().buffer()), "");
      EXPECT_TRUE(fast.memory().GuardsIntact());
    }
  }
}

// A fast store on a partly hidden front buffer skips the hidden pixels
// without losing its place in the colours: each visible pixel gets its own.
TEST(RgbSpan, HiddenPixelsKeepTheColourPosition) {
  struct Case {
    size_t format;
    GLbool8 (*span)(GlContext *);
    bool dither;
  } cases[] = {{2, rgb::StoreSpan_16, false},
               {2, rgb::StoreSpan_16_Dither, true},
               {4, rgb::StoreSpan_24, false},
               {1, rgb::StoreSpan_16_General, false}};
  for (const Case &c : cases) {
    const ColorFormat &f = kRgbFormats[c.format];
    SCOPED_TRACE(f.name);
    BoundColorBuffer b(f, kWidth, kHeight);
    SpanState st = kStates[2];
    st.dither = c.dither;
    Apply(b, st);
    b.FillPattern(4);
    const std::vector<uint8_t> before = b.Bytes();
    Span span = MakeSpan(f, 8, 0, 1, kWidth);
    Load(b, span);
    c.span(b.gc());
    const ModelState s = ModelOf(st);
    const GlDrawableBuffer *mem = b.memory().buffer();
    for (int32_t col = 0; col < kWidth; col++) {
      const uint32_t old = ReadPixel(before, mem, col, 1);
      const uint32_t want =
          ModelOwns(s, col + kBias, 1 + kBias)
              ? ModelRgbStore(f, s, col + kBias, 1 + kBias, span.colors[size_t(col)], old)
              : old;
      EXPECT_EQ(b.memory().Read(col, 1), want) << "column " << col;
    }
  }
}

// Drawing to the front and back buffers at once: the back buffer's pixels
// belong to the window wherever other windows cover the front, so neither
// its fragment store nor its span store skips them.
TEST(RgbSpan, BackBufferPixelsAreNeverHidden) {
  for (const ColorFormat &f : kRgbFormats) {
    for (bool dither : {false, true}) {
      if (dither && f.bytes() >= 3) continue;  // the flag is never set there
      SCOPED_TRACE(testing::Message() << f.name << (dither ? " dithered" : ""));
      BoundColorBuffer b(f, kWidth, kHeight, false);
      GlContext *gc = b.gc();
      gc->state.raster.drawBuffer = GL_FRONT_AND_BACK;
      b.SetVisible(kPartlyHidden);
      b.SetFlags(__GL_SHADE_RGB | __GL_SHADE_FRONT_BUFFER | (dither ? __GL_SHADE_DITHER : 0));
      b.cfb()->pick(gc, b.cfb());
      ModelState s;
      s.dither = dither;
      b.FillPattern(12);
      std::vector<uint8_t> want = b.Bytes();
      const GlDrawableBuffer *mem = b.memory().buffer();
      Span span = MakeSpan(f, 5, 0, 2, kWidth);
      for (int32_t col = 0; col < kWidth; col++) {
        WritePixel(want, mem, col, 2,
                   ModelRgbStore(f, s, col + kBias, 2 + kBias, span.colors[size_t(col)],
                                 ReadPixel(want, mem, col, 2)));
        GlFragment frag{};
        frag.x = col + kBias, frag.y = 3 + kBias;
        frag.color = span.colors[size_t(col)];
        WritePixel(want, mem, col, 3,
                   ModelRgbStore(f, s, frag.x, frag.y, frag.color, ReadPixel(want, mem, col, 3)));
        b.cfb()->store(b.cfb(), &frag);
      }
      Load(b, span);
      b.cfb()->storeSpan(gc);
      EXPECT_EQ(FirstDifference(want, b.Bytes(), mem), "");
    }
  }
}

}  // namespace
