// Perspective textured triangles through the MMX body (installed by hand:
// texturing keeps the picker in spanlet mode) on 8- and 16-bit RGB
// buffers: texel for texel against a model of the body's sub-span
// arithmetic on the captured span record, and against the forced x86/x87
// perspective routine and the generic path where the sample lies clear of
// a texel boundary. The span record's q words and their partners.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

#include "codegen/og_ns.h"
#include "codegen/og_ras_mmx.h"
#include "fastraster/fr_setup.h"
#include "tests/codegen/span_texture/tex_span_fixture.h"

namespace tex_span_test {
namespace {

using og_raster::fracs;
using og_raster::recips;

// ---- The body's arithmetic, in integers ----

struct Recip {
  uint32_t word, shift;
};

Recip ReciprocalOf(uint32_t x) {
  uint32_t frac = 0xFFFFFFFFu, shift = 1;
  if (x >= 2 && x < (1u << 24)) {
    shift = 24 - uint32_t(31 - __builtin_clz(x));
    frac = x << (8 + shift);
  }
  const int32_t e = int32_t(recips[frac >> 24]);
  const int32_t f = int32_t((frac >> 9) & 0x7FFF);
  return Recip{uint32_t((e & 0xFFFF) + (((e >> 16) * f + 0x8000) >> 16)), shift};
}

int32_t Mul32x16(int32_t a, uint32_t r) {
  const int32_t hi = int16_t(uint32_t(a) >> 16);
  const uint32_t lo = (uint32_t(a) >> 1) & 0x7FFF;
  return int32_t(uint32_t(hi * int32_t(r)) << 1) + int32_t((lo * r) >> 14);
}

int32_t Perspective(int32_t a, Recip r) { return int32_t(uint32_t(Mul32x16(a, r.word)) << r.shift); }

uint16_t Word(int32_t v, int32_t widthLog2) {
  return uint16_t(((uint32_t(v) << (16 - widthLog2)) + 0x8000u) >> 16);
}

int64_t Channel(const ColorFormat &f, uint32_t pixel, int k) {
  return (pixel & f.masks[k]) >> __builtin_ctz(f.masks[k]);
}

struct SpanStats {
  std::set<int> startLanes[2];  // by direction (1: left to right)
  std::map<int32_t, int> lengths;
};

class MmxPerspective : public TexSpanTest {
 protected:
  uint32_t W(size_t id) const { return record[__glNSWhereIs(gc->rasterNameSpace, uint32_t(id), 4) / 4]; }
  int32_t I(size_t id) const { return int32_t(W(id)); }

  // The packed texel coordinates (t word high, s word low) of the span's
  // pixels in walk order.
  static std::vector<uint32_t> Span(const TexCase &c, int32_t count, int lr, int lane, int32_t s,
                                    int32_t t, int32_t q, int32_t sDx, int32_t tDx, int32_t qDx) {
    std::vector<uint32_t> out;
    Recip r = ReciprocalOf(uint32_t(q));
    int32_t startS = Perspective(s, r), startT = Perspective(t, r);
    int32_t left = count;
    uint32_t len = og_raster::spanlen[lr][lane];
    for (;;) {
      const bool full = int32_t(len) <= left - 1;
      const uint32_t n = full ? len : uint32_t(left - 1);
      s = int32_t(uint32_t(s) + uint32_t(sDx) * n), t = int32_t(uint32_t(t) + uint32_t(tDx) * n);
      q = int32_t(uint32_t(q) + uint32_t(qDx) * n);
      r = ReciprocalOf(uint32_t(q));
      const int32_t endS = Perspective(s, r), endT = Perspective(t, r);
      const uint16_t sw = Word(startS, c.widthLog2), tw = Word(startT, c.heightLog2);
      const uint16_t ds = Word(Mul32x16(int32_t(uint32_t(endS) - uint32_t(startS)), fracs[n]), c.widthLog2);
      const uint16_t dt = Word(Mul32x16(int32_t(uint32_t(endT) - uint32_t(startT)), fracs[n]), c.heightLog2);
      const int32_t pixels = full ? int32_t(len) : left;
      for (int32_t j = 0; j < pixels; j++)
        out.push_back(uint32_t(uint16_t(tw + j * dt)) << 16 | uint16_t(sw + j * ds));
      if (!full) break;
      left -= int32_t(len);
      len = 16;
      startS = endS, startT = endT;
    }
    return out;
  }

  // The record's edge walk with the span model: coordinates by address.
  std::map<uintptr_t, uint32_t> Walk(const TexCase &c, SpanStats *stats) {
    std::map<uintptr_t, uint32_t> out;
    int32_t yTop = I(offsetof(FrSpan, iyTop)), yMid = I(offsetof(FrSpan, iyMiddle));
    const int32_t yBottom = I(offsetof(FrSpan, iyBottom));
    int32_t xA = I(offsetof(FrSpan, ixLong)), xB = I(offsetof(FrSpan, ixShort));
    int32_t xBStep[2] = {I(offsetof(FrSpan, dxShort)), I(offsetof(FrSpan, dxShortCarry))};
    uint32_t errA = W(offsetof(FrSpan, fracLong)), errB = W(offsetof(FrSpan, fracShort));
    uint32_t errBStep = W(offsetof(FrSpan, dfracShort));
    const uint32_t errAStep = W(offsetof(FrSpan, dfracLong));
    const int32_t xAStep[2] = {I(offsetof(FrSpan, dxLong)), I(offsetof(FrSpan, dxLongCarry))};
    uint32_t dst = W(offsetof(FrSpan, pixelEdge));
    const int32_t dstDx = I(offsetof(FrSpan, dpixeldx));
    const int32_t dstDy[2] = {I(offsetof(FrSpan, dpixelEdge)), I(offsetof(FrSpan, dpixelEdgeCarry))};
    int32_t s = I(offsetof(FrSpan, sEdge)), t = I(offsetof(FrSpan, tEdge)), q = I(offsetof(FrSpan, qEdge));
    const int32_t sDx = I(offsetof(FrSpan, dsdx)), tDx = I(offsetof(FrSpan, dtdx)), qDx = I(offsetof(FrSpan, dqdx));
    int32_t sDy[2], tDy[2], qDy[2];
    for (int k = 0; k < 2; k++) {
      sDy[k] = I(offsetof(FrSpan, dsEdge) + 4 * size_t(k));
      tDy[k] = I(offsetof(FrSpan, dtEdge) + 4 * size_t(k));
      qDy[k] = I(offsetof(FrSpan, dqEdge) + 4 * size_t(k));
    }
    const uint32_t bytes = format.bytes(), group = 4 * bytes;
    const int lr = dstDx > 0;
    for (;;) {
      for (int32_t y = yTop; y < yMid; y++) {
        const int32_t count = xB - xA;
        if (count > 0) {
          const int lane = int((dst & (group - 1)) / bytes);
          stats->lengths[count]++;
          if (count > 4) stats->startLanes[lr].insert(lane);
          const std::vector<uint32_t> coords = Span(c, count, lr, lane, s, t, q, sDx, tDx, qDx);
          for (int32_t i = 0; i < count; i++) out[uintptr_t(dst + uint32_t(i * dstDx))] = coords[size_t(i)];
        }
        uint32_t e = errA + errAStep;
        const int carry = int(e >> 31);
        errA = e & 0x7FFFFFFF;
        xA += xAStep[carry];
        dst += uint32_t(dstDy[carry]);
        s += sDy[carry], t += tDy[carry], q += qDy[carry];
        e = errB + errBStep;
        errB = e & 0x7FFFFFFF;
        xB += xBStep[e >> 31];
      }
      if (yBottom == yMid) break;
      yTop = yMid, yMid = yBottom;
      xB = I(offsetof(FrSpan, ixLower));
      xBStep[0] = I(offsetof(FrSpan, dxLower)), xBStep[1] = I(offsetof(FrSpan, dxLowerCarry));
      errB = W(offsetof(FrSpan, fracLower)), errBStep = W(offsetof(FrSpan, dfracLower));
    }
    return out;
  }

  // Draws each triangle alone; every pixel the model walks holds the
  // model's texel (each channel within one unit of its scaled byte).
  void Check(const TexCase &c, const std::vector<TexTriangle> &tris, SpanStats *stats) {
    const GlColorBuffer *cfb = gc->drawBuffer;
    const int64_t max[3] = {cfb->redMax, cfb->greenMax, cfb->blueMax};
    for (const TexTriangle &tri : tris) {
      DrawTex(Path::kGenerated, c, {tri}, true);
      const std::map<uintptr_t, uint32_t> coords = Walk(c, stats);
      int wrong = 0, seen = 0;
      std::ostringstream first;
      for (int32_t row = 0; row < scene_test::kHeight; row++)
        for (int32_t x = 0; x < scene_test::kWidth; x++) {
          const auto it = coords.find(uintptr_t(colorMemory->At(x, row)));
          if (it == coords.end()) continue;
          seen++;
          const int32_t col = int32_t((it->second & 0xFFFF) >> (16 - c.widthLog2));
          const int32_t trow = int32_t((it->second >> 16) >> (16 - c.heightLog2));
          const std::array<uint32_t, 4> texel = Texel(col, trow);
          const uint32_t got = colorMemory->Read(x, row);
          for (int k = 0; k < 3; k++) {
            const int64_t want = (int64_t(texel[size_t(k)]) * max[k] + 127) / 255;
            if (llabs(Channel(format, got, k) - want) <= 1) continue;
            if (wrong++ < 8)
              first << "\n  pixel " << x << ", " << row << " channel " << k << ": "
                    << Channel(format, got, k) << ", texel " << col << ", " << trow << " gives " << want;
          }
        }
      EXPECT_GT(seen, 300) << Describe(c);
      if (wrong) ADD_FAILURE() << Describe(c) << ": " << wrong << " channels" << first.str();
    }
  }
};

// Strong perspective (w from 1 to 2.5), one triangle drawn left to right
// and one right to left, spans from 1 to over 60 pixels.
std::vector<TexTriangle> ModelScene() {
  const double w[3] = {1, 2.5, 1.6};
  return {
      TexTriangle{TexVertex{0.6, 0.7, 0.5, w[0], 0.05, 0.1, {}},
                  TexVertex{63.4, 5.2, 0.5, w[1], 2.9, 0.4, {}},
                  TexVertex{8.2, 44.9, 0.5, w[2], 0.7, 3.3, {}}},
      TexTriangle{TexVertex{61.7, 3.3, 0.5, w[2], 2.2, 0.6, {}},
                  TexVertex{0.4, 20.1, 0.5, w[0], 0.3, 1.7, {}},
                  TexVertex{44.8, 47.6, 0.5, w[1], 1.1, 0.2, {}}},
  };
}

const int32_t kSizes[][2] = {{4, 3}, {0, 5}, {6, 0}, {3, 7}, {5, 5}};

TEST_F(MmxPerspective, EveryTexelIsTheSubSpanModelsChoice) {
  for (const ColorFormat *f : {&kRgbFormats[0], &kRgbFormats[2]}) {
    SCOPED_TRACE(f->name);
    ASSERT_TRUE(OpenMmx(*f, 16));
    SpanStats stats;
    for (const auto &size : kSizes) {
      const TexCase c{"RGB replace", GL_RGB, 0, GL_REPLACE, false, true, false, false, size[0], size[1]};
      Check(c, ModelScene(), &stats);
    }
    Close();
    // Every start lane in both directions; spans within one sub-span (up
    // to 19 pixels) and spans of several.
    for (int lr = 0; lr < 2; lr++) EXPECT_EQ(stats.startLanes[lr].size(), 4u) << lr;
    for (int32_t n : {1, 2, 5, 16, 17, 19, 20}) EXPECT_GT(stats.lengths[n], 0) << n;
    EXPECT_GT(stats.lengths.rbegin()->first, 48);
  }
}

const TexCase kCases[] = {
    {"RGB replace", GL_RGB, 0, GL_REPLACE, false, true, false, false, 5, 4},
    {"RGBA replace", GL_RGBA, 0, GL_REPLACE, false, true, false, false, 4, 3},
    {"RGBA modulate smooth", GL_RGBA, 0, GL_MODULATE, true, true, false, false, 4, 4},
    {"L modulate flat, dithered", GL_LUMINANCE, 0, GL_MODULATE, false, true, true, false, 3, 5},
    {"palette RGB replace", GL_COLOR_INDEX8_EXT, GL_RGB, GL_REPLACE, false, true, false, false, 4, 4},
    {"RGB copy", GL_RGB, 0, GL_REPLACE, false, true, false, true, 2, 6},
    // Failing pixels still step the coordinates.
    {"RGBA replace behind", GL_RGBA, 0, GL_REPLACE, false, true, false, false, 4, 3, true},
    {"RGB modulate smooth behind", GL_RGB, 0, GL_MODULATE, true, true, false, false, 5, 5, true},
};

TEST_F(MmxPerspective, SpansMatchTheX87RoutineAndTheGenericPath) {
  for (const ColorFormat *f : {&kRgbFormats[0], &kRgbFormats[1], &kRgbFormats[2]}) {
    SCOPED_TRACE(f->name);
    const std::vector<TexTriangle> tris = Scene(true);
    std::vector<Image> x87;
    ASSERT_TRUE(OpenPlain(*f, 16));
    for (const TexCase &c : kCases) x87.push_back(DrawTex(Path::kGenerated, c, tris));
    Close();
    ASSERT_TRUE(OpenMmx(*f, 16));
    for (size_t i = 0; i < std::size(kCases); i++) {
      const TexCase &c = kCases[i];
      const Image mmx = DrawTex(Path::kGenerated, c, tris);
      ExpectNearGeneric(c, tris, mmx, x87[i]);
      ExpectNearGeneric(c, tris, mmx, DrawTex(Path::kGeneric, c, tris));
      if (c.depth) ExpectBlocked(c, mmx, DrawTex(Path::kGeneric, c, {}));
    }
    Close();
  }
}

// Every stage at once, blended: the longest routine the body makes still
// fits and draws as the generic path does.
TEST_F(MmxPerspective, BlendedSpansMatchTheGenericPath) {
  const TexCase c{"RGBA modulate smooth, dithered, behind", GL_RGBA, 0, GL_MODULATE, true, true,
                  true, false, 4, 4, true};
  std::vector<TexTriangle> tris = Scene(true);
  const double alphas[3] = {0.3, 0.85, 0.55};
  for (TexTriangle &t : tris)
    for (size_t v = 0; v < 3; v++) t[v].c[3] = alphas[v];
  for (const ColorFormat *f : {&kRgbFormats[0], &kRgbFormats[2]}) {
    SCOPED_TRACE(f->name);
    ASSERT_TRUE(OpenMmx(*f, 16));
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    const Image mmx = DrawTex(Path::kGenerated, c, tris);
    const Image generic = DrawTex(Path::kGeneric, c, tris);
    glDisable(GL_BLEND);
    EXPECT_EQ(gc->ogs.failure, nullptr);
    ExpectNearGeneric(c, tris, mmx, generic);
    Close();
  }
}

// Equal w at the three vertices: q is 1.0 in 8.24 with no steps, and the
// image is the affine one.
TEST_F(MmxPerspective, EqualWGivesUnitQ) {
  ASSERT_TRUE(OpenMmx(kRgbFormats[2], 16));
  const TexCase c{"RGB replace", GL_RGB, 0, GL_REPLACE, false, true, false, false, 5, 4};
  std::vector<TexTriangle> tris = Scene(false);
  for (TexTriangle &tri : tris)
    for (TexVertex &v : tri) v.w = 1.7;
  for (const TexTriangle &tri : tris) {
    DrawTex(Path::kGenerated, c, {tri}, true);
    EXPECT_NEAR(double(I(offsetof(FrSpan, qEdge))), 16777216.0, 1.0);
    for (size_t w : {offsetof(FrSpan, dqdx), offsetof(FrSpan, dqEdge), offsetof(FrSpan, dqEdgeCarry)})
      EXPECT_EQ(W(w), 0u) << w;
  }
  const Image persp = DrawTex(Path::kGenerated, c, tris);
  ExpectNearGeneric(c, tris, persp, DrawTex(Path::kGeneric, c, tris));
  Close();
}

// The q words and their partners: one place each, no place shared with any
// other word, each partner 4 bytes after its word (one 8-byte load), and
// the setup writes the partners where the raster reads them.
TEST_F(MmxPerspective, QWordsAndPartnersHavePlacesOfTheirOwn) {
  ASSERT_TRUE(OpenMmx(kRgbFormats[2], 16));
  const TexCase c{"RGB replace", GL_RGB, 0, GL_REPLACE, false, true, false, false, 4, 4};
  DrawTex(Path::kGenerated, c, ModelScene(), true);
  OgNameSpace *ns = gc->rasterNameSpace;
  std::map<uint32_t, uint32_t> byPlace;
  for (uint32_t id = 0; id < 1000; id += 4) {
    if (ns->offset[id] == OG_NS_UNPLACED) continue;
    const auto done = byPlace.emplace(ns->offset[id], id);
    EXPECT_TRUE(done.second) << "ids " << id << " and " << done.first->second << " share place "
                             << ns->offset[id];
  }
  const size_t q = offsetof(FrSpan, q);
  for (size_t w : {size_t(0), size_t(4), size_t(8), size_t(16), size_t(20)}) {
    ASSERT_NE(ns->offset[q + w], OG_NS_UNPLACED) << w;
    ASSERT_NE(ns->offset[og_raster::kQPartner + w], OG_NS_UNPLACED) << w;
    EXPECT_EQ(ns->offset[og_raster::kQPartner + w], ns->offset[q + w] + 4) << w;
    EXPECT_EQ(ns->offset[q + w] % 8, 0u) << w;
    EXPECT_EQ(W(og_raster::kQPartner + w), 0u) << "partner " << w << " as the setup left it";
  }
  EXPECT_GT(I(offsetof(FrSpan, qEdge)), 0);
  Close();
}

}  // namespace
}  // namespace tex_span_test
