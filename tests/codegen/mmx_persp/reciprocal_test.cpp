// The reciprocal subroutine and the multiplies of the MMX perspective code,
// run from executable memory against their arithmetic, and the constant
// tables against their rules.
#include <math.h>

#include <random>

#include "codegen/og_ras_mmx.h"
#include "tests/codegen/emitter/og_support.h"

namespace {

using og_raster::fracs;
using og_raster::recips;

class PerspectiveArithmetic : public OgTest {
 protected:
  og_raster::Gen G() {
    og_raster::Gen g{};
    g.gc = gc;
    g.cb = cb;
    return g;
  }

  // A cdecl routine (a low lane, a high lane, a word) -> the two lanes in
  // eax and edx, made by `body` on mm1 (a) and mm0 (the word, four times).
  template <typename Body>
  const void *BuildLanes(Body body) {
    Begin();
    og_raster::Gen g = G();
    g.E(movq(gc, mm1, mem2(gc, g.V(4), esp)));
    g.E(movd(gc, mm0, mem2(gc, g.V(12), esp)));
    g.E(punpcklwd(gc, mm0, mm0));
    g.E(punpckldq(gc, mm0, mm0));
    body(g);
    g.E(movd(gc, eax, mm1));
    g.E(psrlq(gc, mm1, g.V(32)));
    g.E(movd(gc, edx, mm1));
    g.E(emms(gc));
    g.E(ret(gc));
    EXPECT_EQ(Failure(), "");
    return code;
  }
  static void Lanes(const void *routine, int32_t a0, int32_t a1, uint32_t w, int32_t out[2]) {
    const uint32_t args[3] = {uint32_t(a0), uint32_t(a1), w};
    OgCallResult r;
    OgCallChecked(routine, args, 3, &r);
    out[0] = int32_t(r.eax), out[1] = int32_t(r.edx);
  }
};

// The reciprocal of ecx: one of its words, and the shift count.
struct RecipResult {
  uint32_t word;
  uint32_t shift;
};

class Reciprocal : public PerspectiveArithmetic {
 protected:
  const void *routine = nullptr;
  void SetUp() override {
    PerspectiveArithmetic::SetUp();
    Begin();
    og_raster::Gen g = G();
    OgCode *sub = label(gc);
    g.E(call(gc, sub));
    // eax: the low word of mm0 and the next one; edx: the shift count.
    g.E(movd(gc, eax, mm0));
    g.E(psrlq(gc, mm0, g.V(32)));
    g.E(movd(gc, ecx, mm0));
    g.E(cmp(gc, eax, ecx));
    OgCode *same = near_label(gc);
    g.E(je(gc, same));
    g.E(mov(gc, eax, g.V(-1)));  // the four words differ
    g.Mark(same);
    g.E(movd(gc, edx, mm2));
    g.E(emms(gc));
    g.E(ret(gc));
    g.Mark(sub);
    og_raster::reciprocal(g);
    ASSERT_EQ(Failure(), "");
    routine = code;
  }
  RecipResult At(uint32_t x) {
    const OgCallResult r = RunFastChecked(routine, x, 0, {});
    EXPECT_EQ(r.eax & 0xFFFF, r.eax >> 16) << "x " << x << ": the words differ";
    return RecipResult{r.eax & 0xFFFF, r.edx};
  }
};

TEST(PerspectiveTables, FollowTheirRules) {
  for (uint32_t i = 0; i < 256; i++) {
    const int32_t here = int32_t((1u << 23) / (256 + i)), next = int32_t((1u << 23) / (257 + i));
    const int32_t low = std::min(here, 0x7FFF);
    EXPECT_EQ(recips[i] & 0xFFFF, uint32_t(low)) << i;
    EXPECT_EQ(int32_t(recips[i]) >> 16, 2 * (next - low)) << i;
  }
  // The first entry stays a positive signed word; the last is 2^23 / 511.
  EXPECT_EQ(recips[0] & 0xFFFF, 0x7FFFu);
  EXPECT_EQ(recips[255] & 0xFFFF, 16416u);
  EXPECT_EQ(fracs[0], 0u);
  EXPECT_EQ(fracs[1], 0x7FFFu);
  for (uint32_t n = 2; n < 20; n++) EXPECT_EQ(fracs[n], 32768u / n) << n;
  // The first sub-span ends on a group boundary, 16 or 20 lanes from the
  // start group's first lane in the drawing direction; the start lane's
  // offset is its distance from that first lane.
  for (int lr = 0; lr < 2; lr++)
    for (uint32_t a = 0; a < 4; a++) {
      const uint32_t before = lr ? a : 3 - a;
      EXPECT_EQ((before + og_raster::spanlen[lr][a]) % 4, 0u) << lr << " " << a;
      EXPECT_GE(og_raster::spanlen[lr][a], 16u);
      EXPECT_LE(og_raster::spanlen[lr][a], 19u);
      EXPECT_EQ(og_raster::initials[lr][a], -int32_t(before));
    }
  EXPECT_EQ(og_raster::spanlen[1][1], 19u);
}

// x = 2^(24 - k) x (1 + (i + f / 32768) / 256): every index, sampled
// fractions. The entries are whole numbers rounded down and the step
// between them is rounded, which keeps the result within 1.5 of the
// quotient.
TEST_F(Reciprocal, MatchesTheQuotientForEveryIndex) {
  std::mt19937 rng(58);
  for (uint32_t i = 0; i < 256; i++) {
    std::vector<uint32_t> fs = {0, 1, 130, 310, 0x3FFF, 0x4000, 0x7FFE, 0x7FFF};
    for (int n = 0; n < 4; n++) fs.push_back(rng() & 0x7FFF);
    for (uint32_t f : fs) {
      const double want = ldexp(1.0, 23) / (256.0 + i + f / 32768.0);
      const uint32_t x = (1u << 23) | (i << 15) | f;  // k = 1
      const RecipResult r = At(x);
      EXPECT_NEAR(double(r.word), want, 1.5) << "index " << i << " fraction " << f;
      EXPECT_EQ(r.shift, 1u);
      EXPECT_LT(r.word, 0x8000u);
    }
  }
}

TEST_F(Reciprocal, NormalisesEveryRangeAndSaturatesItsEnds) {
  // Every k from 1 to 23: the top of the range's fraction bits, shift k.
  for (uint32_t k = 1; k <= 23; k++)
    for (uint32_t m : {0u, 0x5A5A5Au, 0xFFFFFFu}) {
      const uint32_t x = (1u << (24 - k)) | ((m << 8) >> (8 + k));
      const RecipResult r = At(x);
      EXPECT_EQ(r.shift, k) << "x " << x;
      // x times the mantissa is 2^(39 - k) within the table's error.
      const double product = double(x) * double(r.word) / ldexp(1.0, 39 - int(k));
      EXPECT_NEAR(product, 1.0, 1.0 / 8192) << "x " << x;
    }
  // Below 2 and from 2^24 on: the table's last entry, shift 1.
  for (uint32_t x : {0u, 1u, 1u << 24, (1u << 24) + 12345, 1u << 25, 0x80000000u, 0xFFFFFFFFu}) {
    const RecipResult r = At(x);
    EXPECT_EQ(r.shift, 1u) << "x " << x;
    EXPECT_EQ(r.word, 16384u) << "x " << x;
  }
  // Powers of two: a fraction of 0 reads the first entry, which must stay
  // positive as a signed word.
  for (int p = 1; p <= 23; p++) {
    const RecipResult r = At(1u << p);
    EXPECT_EQ(r.word, 0x7FFFu) << "2^" << p;
    EXPECT_EQ(r.shift, uint32_t(24 - p)) << "2^" << p;
  }
}

TEST_F(PerspectiveArithmetic, MultipliesMatchTheirModels) {
  const void *frac = BuildLanes([](og_raster::Gen &g) { og_raster::mul32x16(g, mm1, mm0, mm3); });
  std::vector<int32_t> as = {0, 1, -1, 0x7FFF, 0x8000, 0xFFFF, 0x10000, -0x10000, 0x12345678,
                             -0x12345678, 0x7FFFFFFF, INT32_MIN};
  std::mt19937 rng(7);
  for (int n = 0; n < 40; n++) as.push_back(int32_t(rng()));
  for (uint32_t r : {0u, 1u, 0x4000u, 0x7FFFu, 16416u, 0x1234u})
    for (size_t i = 0; i + 1 < as.size(); i++) {
      int32_t got[2];
      Lanes(frac, as[i], as[i + 1], r, got);
      for (int l = 0; l < 2; l++) {
        const int64_t want = (int64_t(as[i + size_t(l)]) * r) >> 15;
        // The low word loses its last bit: at most one below.
        EXPECT_LE(int64_t(got[l]), want) << as[i + size_t(l)] << " x " << r;
        EXPECT_GE(int64_t(got[l]), want - 1) << as[i + size_t(l)] << " x " << r;
      }
    }
  const void *times = BuildLanes([](og_raster::Gen &g) { og_raster::mul32x16i(g, mm1, mm0, mm3, mm2); });
  for (uint32_t n : {0u, 1u, 2u, 3u, 16u, 17u, 19u})
    for (size_t i = 0; i + 1 < as.size(); i++) {
      int32_t got[2];
      Lanes(times, as[i], as[i + 1], n, got);
      for (int l = 0; l < 2; l++)
        EXPECT_EQ(uint32_t(got[l]), uint32_t(as[i + size_t(l)]) * n) << as[i + size_t(l)] << " x " << n;
    }
}

}  // namespace
