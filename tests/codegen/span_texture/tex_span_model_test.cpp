// The texel choice of the generated span, texel for texel, against a scalar
// model of its sampling run on the span record the setup hands over: the
// edge walk, the packed coordinate (16-bit fractions of the texture, one
// add per pixel), runs of at most 16 pixels; affine runs add the fraction
// step at each end; perspective runs end exactly where one divide per run
// puts them and step by the difference times 1/n between, so a span of 17
// pixels takes a run of 16 and a run of 1 (reciprocal entry 1).
#include <gtest/gtest.h>
#include <math.h>
#include <string.h>

#include <map>
#include <sstream>

#include "codegen/og_ns.h"
#include "fastraster/fr_setup.h"
#include "tests/codegen/span_texture/tex_span_fixture.h"

namespace tex_span_test {
namespace {

uint32_t LowWord(double d) {
  uint64_t bits;
  memcpy(&bits, &d, sizeof bits);
  return uint32_t(bits);
}

float AsFloat(uint32_t w) {
  float f;
  memcpy(&f, &w, sizeof f);
  return f;
}

// 1.5 x 2^(36 + i): its low word after the add is x x 2^(16 - i), rounded.
double K(int32_t i) { return ldexp(1.5, 36 + i); }

class TexModel : public TexSpanTest {
 protected:
  uint32_t W(size_t id) const { return record[__glNSWhereIs(gc->rasterNameSpace, uint32_t(id), 4) / 4]; }
  int32_t I(size_t id) const { return int32_t(W(id)); }
  float Fl(size_t id) const { return AsFloat(W(id)); }

  // The packed texel coordinates of every pixel the record's walk draws,
  // by its address.
  std::map<uintptr_t, uint32_t> Walk(const TexCase &c, std::map<int32_t, int> *lengths) {
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
    // Affine: 16.16 texel units; perspective: floats.
    int32_t s = 0, t = 0, sDy[2] = {}, tDy[2] = {}, sDx = 0, tDx = 0;
    float ps = 0, pt = 0, pq = 0, psDy[2] = {}, ptDy[2] = {}, pqDy[2] = {}, psDx = 0, ptDx = 0, pqDx = 0;
    if (c.perspective) {
      ps = Fl(offsetof(FrSpan, sfEdge)), pt = Fl(offsetof(FrSpan, tfEdge)), pq = Fl(offsetof(FrSpan, qfEdge));
      psDx = Fl(offsetof(FrSpan, dsfdx)), ptDx = Fl(offsetof(FrSpan, dtfdx)), pqDx = Fl(offsetof(FrSpan, dqfdx));
      for (int k = 0; k < 2; k++) {
        psDy[k] = Fl(offsetof(FrSpan, dsfEdge) + 4 * size_t(k));
        ptDy[k] = Fl(offsetof(FrSpan, dtfEdge) + 4 * size_t(k));
        pqDy[k] = Fl(offsetof(FrSpan, dqfEdge) + 4 * size_t(k));
      }
    } else {
      s = I(offsetof(FrSpan, sEdge)), t = I(offsetof(FrSpan, tEdge));
      sDx = I(offsetof(FrSpan, dsdx)), tDx = I(offsetof(FrSpan, dtdx));
      for (int k = 0; k < 2; k++) {
        sDy[k] = I(offsetof(FrSpan, dsEdge) + 4 * size_t(k));
        tDy[k] = I(offsetof(FrSpan, dtEdge) + 4 * size_t(k));
      }
    }
    for (;;) {
      for (int32_t y = yTop; y < yMid; y++) {
        const int32_t count = xB - xA;
        if (count > 0) {
          (*lengths)[count]++;
          const std::vector<uint32_t> coords =
              c.perspective ? PerspectiveSpan(c, count, ps, pt, pq, psDx, ptDx, pqDx)
                            : AffineSpan(c, count, s, t, sDx, tDx);
          for (int32_t i = 0; i < count; i++) out[uintptr_t(dst + uint32_t(i * dstDx))] = coords[size_t(i)];
        }
        uint32_t e = errA + errAStep;
        const int carry = int(e >> 31);
        errA = e & 0x7FFFFFFF;
        xA += xAStep[carry];
        dst += uint32_t(dstDy[carry]);
        if (c.perspective) {
          ps = float(double(ps) + psDy[carry]);
          pt = float(double(pt) + ptDy[carry]);
          pq = float(double(pq) + pqDy[carry]);
        } else {
          s += sDy[carry], t += tDy[carry];
        }
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

  static std::vector<uint32_t> AffineSpan(const TexCase &c, int32_t count, int32_t s, int32_t t,
                                          int32_t sDx, int32_t tDx) {
    const uint32_t dS = uint32_t(sDx) << (16 - c.widthLog2), dT = uint32_t(tDx) << (16 - c.heightLog2);
    const auto borrow = [](uint32_t w) { return w & 0x8000 ? w - 0x10000 : w; };
    const uint32_t step = borrow((dT & 0xFFFF0000u) | (dS >> 16));
    const uint32_t frac = borrow(((dS >> 12) & 0xF) | (((dT >> 12) & 0xF) << 16));
    uint32_t coord = ((uint32_t(t) << (16 - c.heightLog2)) & 0xFFFF0000u) |
                     (uint32_t(s >> c.widthLog2) & 0xFFFF);
    std::vector<uint32_t> out;
    for (int32_t i = 0; i < count; i++) {
      out.push_back(coord);
      coord += step;
      if ((i + 1) % 16 == 0) coord += frac;
    }
    return out;
  }

  static std::vector<uint32_t> PerspectiveSpan(const TexCase &c, int32_t count, float ps, float pt,
                                               float pq, float psDx, float ptDx, float pqDx) {
    double s = ps, t = pt, q = pq, r = 1.0 / q;
    float sq = 0, tq = 0;
    uint32_t sFixed = 0, tFixed = 0;
    // s/q, t/q and their fixed-point words at the current point, which then
    // moves on by n pixels.
    const auto step = [&](int32_t n) {
      sq = float(s * r), tq = float(t * r);
      sFixed = LowWord(s * r + K(c.widthLog2));
      tFixed = LowWord(t * r + K(c.heightLog2));
      s += double(n) * psDx, t += double(n) * ptDx, q += double(n) * pqDx;
      r = 1.0 / q;
    };
    const auto packed = [&] { return (tFixed << 16) | (sFixed & 0xFFFF); };
    int32_t left = count, n = std::min(left, 16);
    const auto following = [&] { return std::max(0, std::min(left - 16, 16)); };
    step(n);
    uint32_t end = packed();
    float sqBefore = sq, tqBefore = tq;
    step(following());
    uint32_t coord = end;
    end = packed();
    std::vector<uint32_t> out;
    for (;;) {
      const double rn = 1.0f / float(n);
      const uint32_t ds = LowWord((double(sq) - sqBefore) * rn + K(c.widthLog2));
      const uint32_t dt = LowWord((double(tq) - tqBefore) * rn + K(c.heightLog2));
      sqBefore = sq, tqBefore = tq;
      const uint32_t perPixel = (dt << 16) + uint32_t(int32_t(int16_t(ds & 0xFFFF)));
      for (int32_t i = 0; i < n; i++, coord += perPixel) out.push_back(coord);
      left -= 16;
      if (left <= 0) break;
      n = std::min(left, 16);
      step(following());
      coord = end;
      end = packed();
    }
    return out;
  }

  // Draws each triangle alone and checks every pixel the model walks.
  void Check(const TexCase &c, const std::vector<TexTriangle> &tris, std::map<int32_t, int> *lengths) {
    for (const TexTriangle &tri : tris) {
      DrawTex(Path::kGenerated, c, {tri}, true);
      const std::map<uintptr_t, uint32_t> coords = Walk(c, lengths);
      int wrong = 0, seen = 0;
      std::ostringstream first;
      for (int32_t row = 0; row < scene_test::kHeight; row++)
        for (int32_t x = 0; x < scene_test::kWidth; x++) {
          const auto it = coords.find(uintptr_t(colorMemory->At(x, row)));
          if (it == coords.end()) continue;
          seen++;
          const uint32_t coord = it->second;
          const int32_t col = int32_t((coord & 0xFFFF) >> (16 - c.widthLog2));
          const int32_t trow = c.heightLog2 ? int32_t(coord >> (32 - c.heightLog2)) : 0;
          const std::array<uint32_t, 4> texel = Texel(col, trow);
          const uint32_t want = texel[0] << 16 | texel[1] << 8 | texel[2];
          const uint32_t got = colorMemory->Read(x, row) & 0xFFFFFF;
          if (got != want && wrong++ < 8)
            first << "\n  pixel " << x << ", " << row << ": " << std::hex << got << ", texel " << std::dec
                  << col << ", " << trow << " = " << std::hex << want << std::dec;
        }
      EXPECT_GT(seen, 300) << Describe(c);
      if (wrong) ADD_FAILURE() << Describe(c) << ": " << wrong << " pixels" << first.str();
    }
  }
};

std::vector<TexTriangle> ModelScene(bool perspective) {
  const double w[3] = {1, perspective ? 2.5 : 1, perspective ? 1.6 : 1};
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

TEST_F(TexModel, EveryTexelIsTheModelsChoice) {
  ASSERT_TRUE(OpenPlain(kRgbFormats[5], 16));
  for (bool perspective : {false, true}) {
    std::map<int32_t, int> lengths;
    for (const auto &size : kSizes) {
      const TexCase c{"RGB replace", GL_RGB, 0, GL_REPLACE, false, perspective, false, false,
                      size[0], size[1]};
      Check(c, ModelScene(perspective), &lengths);
    }
    // Spans of one run, of a run and one pixel, and of three or more runs.
    for (int32_t n : {1, 16, 17, 32}) EXPECT_GT(lengths[n], 0) << n;
    EXPECT_GT(lengths.rbegin()->first, 48);
  }
}

}  // namespace
}  // namespace tex_span_test
