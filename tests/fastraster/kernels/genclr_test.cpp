// The colour-generation kernels against the scalar reference: every filled
// slot of every class with random iterators (in range and at its ends),
// texels, environment colours and masks; then the fixed rows (replace of a
// white texel, the modulate, decal and blend identities) and the limits
// that keep an iterator carried past its range from wrapping.
#include <gtest/gtest.h>

#include <string.h>

#include "fastraster/fr_kernel_name.h"
#include "tests/fastraster/kernels/kernel_rig.h"

namespace {

// Texel entry width of a slot: the test's own reading of the code table.
int TexelBytes(int slot) {
  const int code = slot >> 2;
  if (code == 0) return 0;
  if (code <= 5) return 3;
  return code >= 14 ? 1 : 4;
}

struct GenRun {
  KernelRig rig;
  uint8_t before[32][4];
  FrSpan spanBefore;

  // Runs the kernel on `in` over colour entries that start as `garbage`.
  void Run(FrSpanletProc kernel, int slot, const kref::GenInput &in, uint32_t garbage) {
    rig.Load(in);
    rig.texelBytes = TexelBytes(slot);
    for (int i = 0; i < 32; i++) rig.span.colors[i] = garbage * uint32_t(i + 1) ^ 0x5A3C96E1u;
    memcpy(before, rig.span.colors, sizeof before);
    memset(rig.span.texels, 0xEE, sizeof rig.span.texels);
    spanBefore = rig.span;
    kernel(in.mask, &rig.span);
  }
  const uint8_t *Entry(int i) const { return reinterpret_cast<const uint8_t *>(&rig.span.colors[i]); }
};

TEST(GenColors, EveryFilledSlotMatchesTheReference) {
  KernelRandom rnd;
  for (const KernelClass &kc : kKernelClasses) {
    for (int slot = 0; slot < 64; slot++) {
      const FrSpanletProc kernel = (*kc.genColors)[slot];
      if (!kernel) continue;
      SCOPED_TRACE(FrKernelNameOf(FR_GEN_COLORS, kc.ref->name, uint32_t(slot)).text);
      for (int trial = 0; trial < 6; trial++) {
        for (int m = 0; m < kKernelMasks; m++) {
          kref::GenInput in{};
          rnd.Gen(*kc.ref, slot & 2, &in);
          in.mask = KernelMask(rnd, m);
          GenRun run;
          run.Run(kernel, slot, in, rnd.Word());
          uint8_t expected[32][4];
          memcpy(expected, run.before, sizeof expected);
          kref::GenColors(*kc.ref, slot, in, expected);
          ASSERT_EQ(0, memcmp(expected, run.rig.span.colors, sizeof expected))
              << "mask " << std::hex << in.mask << " trial " << trial;
          // Texels fetched once, for the mask as given, and only by texture slots.
          ASSERT_EQ(run.rig.extractCalls, slot >= 4 ? 1 : 0);
          if (slot >= 4) {
            ASSERT_EQ(run.rig.extractMask, in.mask);
          }
          // The successor gets the same mask and record.
          ASSERT_EQ(run.rig.afterCalls, 1);
          ASSERT_EQ(run.rig.afterMask, in.mask);
          ASSERT_EQ(run.rig.afterSpan, &run.rig.span);
          // Nothing but colors (and the fixture's texels) changes.
          FrSpan after = run.rig.span;
          memcpy(after.colors, run.spanBefore.colors, sizeof after.colors);
          memcpy(after.texels, run.spanBefore.texels, sizeof after.texels);
          ASSERT_EQ(0, memcmp(&after, &run.spanBefore, sizeof after));
        }
      }
    }
  }
}

// The pairs the tables hold as separate kernels but that must agree: the
// iterated bit means nothing where no iterator is read.
TEST(GenColors, SlotsWithoutIteratorsIgnoreTheIteratedBit) {
  KernelRandom rnd;
  const int pairs[][2] = {{0x04, 0x06}, {0x24, 0x26}, {0x25, 0x27}};
  for (const KernelClass &kc : kKernelClasses) {
    for (const auto &pair : pairs) {
      SCOPED_TRACE(FrKernelNameOf(FR_GEN_COLORS, kc.ref->name, uint32_t(pair[1])).text);
      for (int trial = 0; trial < 20; trial++) {
        kref::GenInput in{};
        rnd.Gen(*kc.ref, true, &in);
        in.mask = KernelMask(rnd, trial % kKernelMasks);
        const uint32_t garbage = rnd.Word();
        GenRun a, b;
        a.Run((*kc.genColors)[pair[0]], pair[0], in, garbage);
        b.Run((*kc.genColors)[pair[1]], pair[1], in, garbage);
        ASSERT_EQ(0, memcmp(a.rig.span.colors, b.rig.span.colors, sizeof a.rig.span.colors));
      }
    }
  }
}

// One live pixel at position 0 with the colour (cf, cf, cf, af), one texel
// and an environment colour; returns its entry.
struct OnePixel {
  GenRun run;
  const uint8_t *Go(const KernelClass &kc, int slot, const uint8_t cf[3], uint8_t af,
                    const uint8_t texel[4], const uint8_t env[4]) {
    kref::GenInput in{};
    int32_t *value[3] = {&in.r, &in.g, &in.b};
    for (int k = 0; k < 3; k++)
      *value[k] = int32_t(cf[k]) << (8 + kc.ref->bits[k]);  // left-aligned byte back to 16.16
    in.a = int32_t(af) << 16;
    memcpy(in.env, env, 4);
    memcpy(in.texel[0], texel, 4);
    in.mask = 0x80000000u;
    run.Run((*kc.genColors)[slot], slot, in, 0);
    return run.Entry(0);
  }
};

TEST(GenColors, ReplaceOfAWhiteTexelGivesEachClassItsCeiling) {
  const uint8_t expected[4][3] = {
      {0xFF, 0xFF, 0xFF}, {0xF8, 0xFC, 0xF8}, {0xF8, 0xF8, 0xF8}, {0xE0, 0xE0, 0xC0}};
  const uint8_t cf[3] = {0, 0, 0}, white[4] = {255, 255, 255, 255}, env[4] = {};
  for (int c = 0; c < 4; c++) {
    for (int slot : {0x04, 0x24}) {
      OnePixel p;
      const uint8_t *e = p.Go(kKernelClasses[c], slot, cf, 0, white, env);
      EXPECT_EQ(e[0], expected[c][0]) << kKernelClasses[c].ref->name;
      EXPECT_EQ(e[1], expected[c][1]);
      EXPECT_EQ(e[2], expected[c][2]);
    }
  }
  // A texel above RGB555's ceiling is limited to it; one below it is kept.
  const uint8_t t[4] = {0xF9, 0xF7, 0xF8, 0};
  OnePixel p;
  const uint8_t *e = p.Go(kKernelClasses[2], 0x04, cf, 0, t, env);
  EXPECT_EQ(e[0], 0xF8);
  EXPECT_EQ(e[1], 0xF7);
  EXPECT_EQ(e[2], 0xF8);
}

// The identities of the texture functions: a texel or factor of 0 or 255
// gives one operand back exactly.
TEST(GenColors, TextureFunctionIdentities) {
  struct Row {
    const char *what;
    int slot;
    uint8_t texel[4];
    int expectRgb;  // 0: Cf, 1: Ct (limited to the ceiling), 2: Cc, 3: zero
    int expectA;    // -1 not checked, 0: Af
  };
  const Row rows[] = {
      {"modulate by 255", 0x0D, {255, 255, 255, 0}, 0, 0},
      {"modulate by 0", 0x0D, {0, 0, 0, 0}, 3, 0},
      {"decal At 0", 0x29, {200, 10, 90, 0}, 0, 0},
      {"decal At 255", 0x29, {200, 10, 255, 255}, 1, 0},
      {"blend Ct 0", 0x11, {0, 0, 0, 0}, 0, 0},
      {"blend Ct 255", 0x11, {255, 255, 255, 0}, 2, 0},
      {"texel alpha 255 modulate", 0x2D, {255, 255, 255, 255}, 0, 0},
  };
  const uint8_t env[4] = {0x40, 0x80, 0x20, 0x99};
  for (const KernelClass &kc : kKernelClasses) {
    uint8_t cf[3];
    for (int k = 0; k < 3; k++) cf[k] = uint8_t(kref::Ceiling(*kc.ref, k) - (0x20 << (k & 1)));
    const uint8_t af = 0x77;
    for (const Row &row : rows) {
      SCOPED_TRACE(std::string(kc.ref->name) + " " + row.what);
      OnePixel p;
      const uint8_t *e = p.Go(kc, row.slot, cf, af, row.texel, env);
      for (int k = 0; k < 3; k++) {
        const int ceil = kref::Ceiling(*kc.ref, k);
        const int want = row.expectRgb == 0   ? cf[k]
                         : row.expectRgb == 1 ? (row.texel[k] < ceil ? row.texel[k] : ceil)
                         : row.expectRgb == 2 ? env[k]
                                              : 0;
        EXPECT_EQ(e[k], want) << "component " << k;
      }
      if (row.expectA == 0) {
        EXPECT_EQ(e[3], af);
      }
    }
  }
}

// Iterators that rounding carried past either end of their range saturate:
// the byte is 0 below the range and 255 above it, never a wrapped value.
TEST(GenColors, IteratorsPastTheirRangeSaturate) {
  KernelRandom rnd;
  for (const KernelClass &kc : kKernelClasses) {
    for (int slot : {0x01, 0x03, 0x0F, 0x2F, 0x33, 0x37, 0x2B, 0x3B}) {
      SCOPED_TRACE(FrKernelNameOf(FR_GEN_COLORS, kc.ref->name, uint32_t(slot)).text);
      for (int trial = 0; trial < 40; trial++) {
        kref::GenInput in{};
        rnd.Gen(*kc.ref, true, &in);
        in.mask = 0xFFFFFFFFu;
        int32_t *value[4] = {&in.r, &in.g, &in.b, &in.a};
        int32_t *step[4] = {&in.drdx, &in.dgdx, &in.dbdx, &in.dadx};
        for (int k = 0; k < 4; k++) {
          const int32_t top = (k < 3 ? (1 << kc.ref->bits[k]) - 1 : 255) << 16;
          // Start just inside one end and run well past it.
          const int32_t over = int32_t(rnd.Below(0x40000)) + 0x100;
          if (rnd.Below(2)) *value[k] = top - over, *step[k] = over / 4 + 1;
          else *value[k] = over, *step[k] = -(over / 4 + 1);
          if (trial == 0) *value[k] = top + 0x7FFF0000 / 2, *step[k] = 0;  // far above
          if (trial == 1) *value[k] = -0x10000, *step[k] = 0;              // below zero
        }
        GenRun run;
        run.Run((*kc.genColors)[slot], slot, in, 0);
        uint8_t expected[32][4];
        memcpy(expected, run.before, sizeof expected);
        kref::GenColors(*kc.ref, slot, in, expected, true);
        ASSERT_EQ(0, memcmp(expected, run.rig.span.colors, sizeof expected)) << trial;
      }
    }
  }
  // The plain shift would wrap: an XRGB8 red of 256.0 would become 0.
  KernelRig rig;
  kref::GenInput in{};
  in.r = 256 << 16, in.g = 255 << 16, in.b = -1, in.mask = 0x80000000u;
  rig.Load(in);
  (*kKernelClasses[0].genColors)[0](in.mask, &rig.span);
  const uint8_t *e = reinterpret_cast<const uint8_t *>(&rig.span.colors[0]);
  EXPECT_EQ(e[0], 255);
  EXPECT_EQ(e[1], 255);
  EXPECT_EQ(e[2], 0);
}

}  // namespace
