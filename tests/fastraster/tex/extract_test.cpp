// The texel-extraction spanlets on hand-made span records, with recording
// filters in the filter slots: the packed texel buffer of every variant,
// the coordinates each family hands the filters, the two 16-pixel segments
// and their divisions, segment ends behind the eye, and the choice between
// magnification and minification with the level value from rho.
#include <gtest/gtest.h>

#include <math.h>
#include <stdint.h>
#include <string.h>

#include <memory>
#include <string>
#include <vector>

#include "core/context.h"
#include "fastraster/fr_setup_fixed.h"
#include "fastraster/fr_tex.h"
#include "fastraster/fr_tex_extract.h"

namespace tex_extract_test {
namespace {

struct Call {
  bool magnify;
  uint32_t lod;
  int32_t s, t;
};
std::vector<Call> gCalls;

// Writes R, G, B, A = n, 64 + n, 128 + n, 192 + n for the n-th call.
void Record(bool magnify, uint32_t lod, int32_t s, int32_t t, uint8_t out[4]) {
  const uint8_t n = uint8_t(gCalls.size());
  gCalls.push_back({magnify, lod, s, t});
  out[0] = n, out[1] = uint8_t(64 + n), out[2] = uint8_t(128 + n), out[3] = uint8_t(192 + n);
}
void Minify(GlTextureObject *, uint32_t lod, int32_t s, int32_t t, uint8_t out[4]) {
  Record(false, lod, s, t, out);
}
void Magnify(GlTextureObject *, uint32_t lod, int32_t s, int32_t t, uint8_t out[4]) {
  Record(true, lod, s, t, out);
}

int gDivisions = 0;
struct CountingReciprocal {
  static float Of(float q) {
    gDivisions++;
    return 1.0f / q;
  }
};

class ExtractTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gc.reset(new GlContext());
    gc->texture.current = &tex;
    gc->procs.texMinFilter = Minify;
    gc->procs.texMagFilter = Magnify;
    tex.switchover = 1.0f;
    span.gc = gc.get();
    memset(span.texels, 0xEE, sizeof span.texels);
    gCalls.clear();
    gDivisions = 0;
  }
  // A perspective span: s/q, t/q and rho/q start at s0, t0, rho0 (q = q0)
  // and their numerators and q step per pixel as given.
  void Perspective(float s0, float t0, float q0, float dsf, float dtf, float dq, float rho0 = 0,
                   float drho = 0) {
    span.sf = s0 * q0, span.tf = t0 * q0, span.qf = q0, span.rho = rho0 * q0;
    span.dsfdxHalf = 16 * dsf, span.dtfdxHalf = 16 * dtf, span.dqfdxHalf = 16 * dq;
    span.drhodxHalf = 16 * drho;
  }
  const uint8_t *Texels() const { return reinterpret_cast<const uint8_t *>(span.texels); }

  std::unique_ptr<GlContext> gc;
  GlTextureObject tex{};
  FrSpan span{};
};

struct Named {
  const char *name;
  FrSpanletProc proc;
  FrTexFamily family;
  int first, width;  // the filter bytes an entry takes
};

#define FR_NAMED(family, variant, kind, first, width) \
  {#family "_" #variant, family##_##variant, FrTexFamily::kind, first, width},
#define FR_NAMED_FAMILY(family, kind)  \
  FR_NAMED(family, A, kind, 3, 1)      \
  FR_NAMED(family, 1, kind, 0, 1)      \
  FR_NAMED(family, 3, kind, 0, 3)      \
  FR_NAMED(family, 4, kind, 0, 4)
const Named kNamed[] = {
    FR_NAMED_FAMILY(__glGenericExtractTexels, kAffine)
    FR_NAMED_FAMILY(__glGenericExtractTexelsPC, kPC)
    FR_NAMED_FAMILY(__glGenericExtractTexelsPCRho, kPCRho)
    FR_NAMED_FAMILY(__glGenericExtractTexelsPCMipmap, kPCMipmap)};
#undef FR_NAMED_FAMILY
#undef FR_NAMED

// Pixels 3 and 17 live: two entries, packed, of the variant's width and
// bytes; nothing written after them.
TEST_F(ExtractTest, LivePixelsGetPackedEntries) {
  for (const Named &n : kNamed) {
    SetUp();
    Perspective(0.5f, 0.5f, 1.0f, 0.01f, 0.01f, 0.0f, 0.5f);
    span.dsdx = span.dtdx = 0x100;
    n.proc((0x80000000u >> 3) | (0x80000000u >> 17), &span);
    ASSERT_EQ(gCalls.size(), 2u) << n.name;
    const uint8_t *texels = Texels();
    for (int e = 0; e < 2; e++)
      for (int k = 0; k < n.width; k++)
        EXPECT_EQ(texels[e * n.width + k], uint8_t(64 * (n.first + k) + e))
            << n.name << " entry " << e << " byte " << k;
    for (int k = 2 * n.width; k < 128; k++) ASSERT_EQ(texels[k], 0xEE) << n.name << " byte " << k;
  }
}

// Affine: pixel i of the chunk samples s + i dsdx, t + i dtdx, dead pixels
// stepped too, with lod 0 through the minification slot.
TEST_F(ExtractTest, AffineStepsEveryPixel) {
  span.s = 0x12345, span.t = -0x4000, span.dsdx = 0x1800, span.dtdx = -0x0123;
  const uint32_t mask = 0xA0000001u;  // pixels 0, 2 and 31
  __glGenericExtractTexels_4(mask, &span);
  ASSERT_EQ(gCalls.size(), 3u);
  const int pixels[] = {0, 2, 31};
  for (size_t k = 0; k < 3; k++) {
    EXPECT_FALSE(gCalls[k].magnify);
    EXPECT_EQ(gCalls[k].lod, 0u);
    EXPECT_EQ(gCalls[k].s, 0x12345 + pixels[k] * 0x1800) << k;
    EXPECT_EQ(gCalls[k].t, -0x4000 - pixels[k] * 0x0123) << k;
  }
}

// s of pixel i under the segment rule: exact (s/q rounded to 16.16) at the
// segment's start, plus i times the rounded sixteenth of the way to the
// exact value 16 pixels on.
struct SegmentModel {
  float sf, q, dsfHalf, dqHalf;
  int32_t At(int pixel) const {
    float s = sf, qq = q;
    for (int k = 0; k < pixel / 16; k++) s += dsfHalf, qq += dqHalf;
    const float s0 = s * (1.0f / qq);
    const float s1 = (s + dsfHalf) * (1.0f / (qq + dqHalf));
    return FrFixed16(s0) + (pixel % 16) * FrFixed16((s1 - s0) * 0.0625f);
  }
};

// Every perspective family: pixels sample the segment rule's coordinates,
// also when the first segment is dead; it is still stepped over.
TEST_F(ExtractTest, PerspectiveIsExactAtSegmentEndsAndLinearBetween) {
  const uint32_t masks[] = {0xFFFFFFFFu, 0x0000FFFFu, 0x00008001u, 0x80018000u, 0x00000001u};
  for (const Named &n : kNamed) {
    if (n.family == FrTexFamily::kAffine) continue;
    for (uint32_t mask : masks) {
      SetUp();
      Perspective(0.3f, 2.5f, 0.8f, 0.0123f, -0.031f, 0.0177f);
      n.proc(mask, &span);
      const SegmentModel ms{span.sf, span.qf, span.dsfdxHalf, span.dqfdxHalf};
      const SegmentModel mt{span.tf, span.qf, span.dtfdxHalf, span.dqfdxHalf};
      size_t k = 0;
      for (int i = 0; i < 32; i++) {
        if (!(mask & (0x80000000u >> i))) continue;
        ASSERT_LT(k, gCalls.size());
        EXPECT_EQ(gCalls[k].s, ms.At(i)) << n.name << " mask " << std::hex << mask << " pixel " << i;
        EXPECT_EQ(gCalls[k].t, mt.At(i)) << n.name << " mask " << std::hex << mask << " pixel " << i;
        k++;
      }
      EXPECT_EQ(k, gCalls.size()) << n.name;
    }
  }
}

template <FrTexFamily F>
int Divisions(FrSpan *span, uint32_t mask) {
  gDivisions = 0;
  FrExtractTexels<F, kFrTex4, CountingReciprocal>(mask, span);
  return gDivisions;
}

// One division at the start and one at the end of each processed segment:
// the first segment always, the second only with a live pixel.
TEST_F(ExtractTest, OneDivisionPerProcessedSegmentEnd) {
  struct Row {
    uint32_t mask;
    int divisions;
  };
  const Row rows[] = {{0xFFFF0000u, 2}, {0x80000000u, 2}, {0, 2},
                      {0x0000FFFFu, 3}, {0x00000001u, 3}, {0xFFFFFFFFu, 3}};
  Perspective(0.5f, 0.5f, 1.0f, 0.01f, 0.01f, 0.001f, 2.0f);
  for (const Row &r : rows) {
    EXPECT_EQ(Divisions<FrTexFamily::kPC>(&span, r.mask), r.divisions) << std::hex << r.mask;
    EXPECT_EQ(Divisions<FrTexFamily::kPCRho>(&span, r.mask), r.divisions) << std::hex << r.mask;
    EXPECT_EQ(Divisions<FrTexFamily::kPCMipmap>(&span, r.mask), r.divisions) << std::hex << r.mask;
  }
}

// A segment end with q zero, negative or a tiny denormal is not divided by:
// the segment's coordinates move towards 0 with a finite step.
TEST_F(ExtractTest, SegmentEndBehindTheEyeInterpolatesTowardsZero) {
  const float qEnds[] = {0.0f, -0.0f, -0.5f, 1e-39f, -3.0f};
  for (float qEnd : qEnds) {
    Perspective(0.75f, 0.25f, 1.0f, 0.001f, 0.002f, (qEnd - 1.0f) / 16, 3.0f, 0.01f);
    const float s0 = span.sf / span.qf;
    for (int which = 0; which < 3; which++) {
      const std::string what = "q end " + std::to_string(qEnd) + " family " + std::to_string(which);
      gCalls.clear();
      const int divisions = which == 0   ? Divisions<FrTexFamily::kPC>(&span, 0xFFFF0000u)
                            : which == 1 ? Divisions<FrTexFamily::kPCRho>(&span, 0xFFFF0000u)
                                         : Divisions<FrTexFamily::kPCMipmap>(&span, 0xFFFF0000u);
      EXPECT_EQ(divisions, 1) << what;
      EXPECT_EQ(span.dsdx, FrFixed16((0.0f - s0) * 0.0625f)) << what;
      ASSERT_EQ(gCalls.size(), 16u) << what;
      EXPECT_GE(gCalls[15].s, 0) << what;
      EXPECT_LE(gCalls[15].s, gCalls[0].s) << what;
      if (which != 0) {
        EXPECT_TRUE(isfinite(span.drhodxSeg)) << what;
        EXPECT_EQ(span.drhodxSeg, (0.0f - 3.0f) * 0.0625f) << what;
      }
    }
  }
}

// q at a segment end whose bits reach the guard is divided by.
TEST_F(ExtractTest, SmallPositiveQStillDivides) {
  const float small = FrBitsFloat(0x00400000u);
  span.qf = 2 * small, span.dqfdxHalf = -small;
  span.sf = span.tf = span.rho = small;
  EXPECT_EQ(Divisions<FrTexFamily::kPC>(&span, 0xFFFF0000u), 2);
  EXPECT_EQ(Divisions<FrTexFamily::kPCRho>(&span, 0xFFFF0000u), 2);
}

// rho equal to the switch-over value magnifies, anything above minifies;
// rho steps over dead pixels too.
TEST_F(ExtractTest, SwitchOverComparisonMagnifiesAtEquality) {
  for (float c : {1.0f, 2.0f}) {
    for (FrSpanletProc proc : {__glGenericExtractTexelsPCRho_4, __glGenericExtractTexelsPCMipmap_4}) {
      SetUp();
      tex.switchover = c;
      // rho = c at pixel 0, c + 0.25 from pixel 1 on (q = 1 throughout).
      Perspective(0.5f, 0.5f, 1.0f, 0.0f, 0.0f, 0.0f, c, 0.25f);
      proc(0x84000000u, &span);  // pixels 0 and 5
      ASSERT_EQ(gCalls.size(), 2u);
      EXPECT_TRUE(gCalls[0].magnify) << c;
      EXPECT_EQ(gCalls[0].lod, 0u);
      EXPECT_FALSE(gCalls[1].magnify) << c;
      if (proc == __glGenericExtractTexelsPCRho_4) {
        EXPECT_EQ(gCalls[1].lod, 0u);
      } else {
        EXPECT_EQ(gCalls[1].lod, FrLambdaOfRho(c + 1.25f));
      }
    }
  }
}

// The level value handed to the minification filter: half a
// piecewise-linear log2 of rho in 16.16, from the float's bits.
TEST_F(ExtractTest, LevelValueFromTheBitsOfRho) {
  struct Row {
    float rho;
    uint32_t lod;
  };
  const Row rows[] = {{1.5f, 0x4000},  {2.0f, 0x8000},   {3.0f, 0xC000},    {4.0f, 0x10000},
                      {6.0f, 0x14000}, {16.0f, 0x20000}, {24.0f, 0x24000},  {1024.0f, 0x50000},
                      {1.75f, 0x6000}, {5.0f, 0x12000},  {65536.0f, 0x80000}};
  for (const Row &r : rows) {
    SetUp();
    Perspective(0.5f, 0.5f, 1.0f, 0.0f, 0.0f, 0.0f, r.rho, 0.0f);
    __glGenericExtractTexelsPCMipmap_3(0x80000000u, &span);
    ASSERT_EQ(gCalls.size(), 1u);
    EXPECT_FALSE(gCalls[0].magnify);
    EXPECT_EQ(gCalls[0].lod, r.lod) << r.rho;
  }
}

// The PC families leave the last segment's steps in the span's scratch
// words; the affine one reads them and writes nothing.
TEST_F(ExtractTest, SegmentStepsAreLeftInTheScratchWords) {
  Perspective(0.25f, 0.5f, 1.0f, 1.0f / 64, -1.0f / 32, 0.0f, 2.0f, 0.5f);
  __glGenericExtractTexelsPCRho_3(0xFFFFFFFFu, &span);
  EXPECT_EQ(span.dsdx, 0x400);
  EXPECT_EQ(span.dtdx, -0x800);
  EXPECT_FLOAT_EQ(span.drhodxSeg, 0.5f);
  FrSpan before = span;
  __glGenericExtractTexels_3(0xFFFFFFFFu, &span);
  EXPECT_EQ(memcmp(&before, &span, offsetof(FrSpan, texels)), 0);
}

}  // namespace
}  // namespace tex_extract_test
