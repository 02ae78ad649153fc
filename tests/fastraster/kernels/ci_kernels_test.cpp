// The colour-index kernels against the scalar reference: every filled slot
// of the pixel, colour and combine tables, both walk directions, random
// indices, steps, texel bytes, dither rows and masks; then the worked rows.
#include <gtest/gtest.h>

#include <string.h>

#include "fastraster/fr_ci.h"
#include "fastraster/fr_kernel_name.h"
#include "tests/fastraster/kernels/kernel_rig.h"

namespace {

// An index and step anywhere: the kernels keep the low eight bits.
kref::GenInput RandomIndex(KernelRandom &rnd, int which) {
  kref::GenInput in{};
  in.r = int32_t(rnd.Word());
  in.drdx = int32_t(rnd.Word()) >> int(rnd.Below(16));
  for (auto &t : in.texel) t[3] = uint8_t(rnd.Word());
  in.mask = KernelMask(rnd, which);
  return in;
}

struct CiRun {
  DestinationRun dest;
  uint32_t expected[32], guards[2];
  FrSpan before;

  void Prepare(int direction, const uint32_t *ditherRow, KernelRandom &rnd) {
    const uint8_t colors[32][4] = {};
    dest.Prepare(kref::kCI1, direction, colors, ditherRow);
    dest.rig.texelBytes = 1;
    for (uint8_t &b : dest.memory) b = uint8_t(rnd.Word());
    for (int i = 0; i < 32; i++) expected[i] = dest.Get(i);
    guards[0] = dest.Get(-1), guards[1] = dest.Get(32);
  }
  void ExpectPixels(const char *what) {
    for (int i = 0; i < 32; i++)
      ASSERT_EQ(dest.Get(i), expected[i]) << what << " position " << i << " dir " << dest.direction;
    ASSERT_EQ(dest.Get(-1), guards[0]);
    ASSERT_EQ(dest.Get(32), guards[1]);
  }
};

TEST(ColorIndexKernels, PixelKernelsMatchTheReference) {
  KernelRandom rnd;
  for (int slot = 0; slot < 16; slot++) {
    if (!__fr_ci_pix_table[slot]) continue;
    SCOPED_TRACE(FrKernelNameOf(FR_GEN_PIXELS, "CI1", uint32_t(slot)).text);
    for (int trial = 0; trial < 12; trial++)
      for (int m = 0; m < kKernelMasks; m++) {
        const kref::GenInput in = RandomIndex(rnd, m);
        CiRun run;
        const uint32_t *row = RandomDitherRow(rnd);
        run.Prepare((trial & 1) ? -1 : 1, row, rnd);
        run.dest.rig.Load(in);
        const uint32_t flat = rnd.Word();
        run.dest.rig.span.flatPixel = flat;
        const uint32_t *after = kref::CiGenPixels(slot, in, flat, row, run.expected);
        run.before = run.dest.rig.span;
        __fr_ci_pix_table[slot](in.mask, &run.dest.rig.span);
        run.ExpectPixels("pixel");
        ASSERT_EQ(run.dest.rig.span.ditherRow, after) << std::hex << in.mask;
        ASSERT_EQ(run.dest.rig.extractCalls, slot >= 4 ? 1 : 0);
        if (slot >= 4) {
          ASSERT_EQ(run.dest.rig.extractMask, in.mask);
        }
        ASSERT_EQ(run.dest.rig.afterCalls, 0);
        FrSpan span = run.dest.rig.span;
        span.ditherRow = run.before.ditherRow;
        memcpy(span.texels, run.before.texels, sizeof span.texels);
        ASSERT_EQ(0, memcmp(&span, &run.before, sizeof span)) << "the record changed";
      }
  }
}

TEST(ColorIndexKernels, ColorKernelsMatchTheReference) {
  KernelRandom rnd;
  for (int slot = 0; slot < 16; slot++) {
    if (!__fr_ci_genclr_table[slot]) continue;
    SCOPED_TRACE(FrKernelNameOf(FR_GEN_COLORS, "CI1", uint32_t(slot)).text);
    for (int trial = 0; trial < 12; trial++)
      for (int m = 0; m < kKernelMasks; m++) {
        const kref::GenInput in = RandomIndex(rnd, m);
        KernelRig rig;
        rig.Load(in);
        rig.texelBytes = 1;
        for (uint32_t &c : rig.span.colors) c = rnd.Word();
        uint32_t expected[32];
        memcpy(expected, rig.span.colors, sizeof expected);
        kref::CiGenColors(slot, in, expected);
        __fr_ci_genclr_table[slot](in.mask, &rig.span);
        ASSERT_EQ(0, memcmp(expected, rig.span.colors, sizeof expected)) << std::hex << in.mask;
        ASSERT_EQ(rig.extractCalls, slot >= 4 ? 1 : 0);
        ASSERT_EQ(rig.afterCalls, 1);
        ASSERT_EQ(rig.afterMask, in.mask);
        ASSERT_EQ(rig.afterSpan, &rig.span);
      }
  }
}

TEST(ColorIndexKernels, CombineKernelsMatchTheReference) {
  KernelRandom rnd;
  for (int slot = 0; slot < 32; slot++) {
    SCOPED_TRACE(FrKernelNameOf(FR_COMBINE_PIXELS, "CI1", uint32_t(slot)).text);
    for (int trial = 0; trial < 12; trial++)
      for (int m = 0; m < kKernelMasks; m++) {
        const uint32_t mask = KernelMask(rnd, m);
        CiRun run;
        const uint32_t *row = RandomDitherRow(rnd);
        run.Prepare((trial & 1) ? -1 : 1, row, rnd);
        for (uint32_t &c : run.dest.rig.span.colors) c = rnd.Word();
        const uint32_t *after =
            kref::CiCombine(slot, run.dest.rig.span.colors, row, mask, run.expected);
        run.before = run.dest.rig.span;
        __fr_ci_combine_table[slot](mask, &run.dest.rig.span);
        run.ExpectPixels("combine");
        ASSERT_EQ(run.dest.rig.span.ditherRow, after) << std::hex << mask;
        FrSpan span = run.dest.rig.span;
        span.ditherRow = run.before.ditherRow;
        ASSERT_EQ(0, memcmp(&span, &run.before, sizeof span)) << "the record changed";
      }
  }
}

TEST(ColorIndexKernels, WorkedRows) {
  KernelRandom rnd;
  {  // Flat colours, mask 0xA0000000: entries 0 and 2 only.
    KernelRig rig;
    kref::GenInput in{};
    in.r = 0x70000;
    rig.Load(in);
    for (uint32_t &c : rig.span.colors) c = 0xDEADBEEF;
    __fr_ci_genclr_table[0x00](0xA0000000u, &rig.span);
    EXPECT_EQ(rig.span.colors[0], 0x70000u);
    EXPECT_EQ(rig.span.colors[1], 0xDEADBEEFu);
    EXPECT_EQ(rig.span.colors[2], 0x70000u);
    EXPECT_EQ(rig.span.colors[3], 0xDEADBEEFu);
  }
  {  // Smooth, right to left: 10 at the first pixel, 11 at the byte below.
    CiRun run;
    run.Prepare(-1, __glFRDitherTable.data(), rnd);
    run.dest.rig.span.r = 0xA8000, run.dest.rig.span.drdx = 0x10000;
    __fr_ci_pix_table[0x02](0xC0000000u, &run.dest.rig.span);
    EXPECT_EQ(*run.dest.At(0), 10);
    EXPECT_EQ(run.dest.At(1), run.dest.At(0) - 1);
    EXPECT_EQ(*run.dest.At(1), 11);
  }
  {  // Texel 200 plus index 100 wraps to 44.
    CiRun run;
    run.Prepare(1, __glFRDitherTable.data(), rnd);
    run.dest.rig.span.r = 100 << 16;
    run.dest.rig.texelOf[0][3] = 200;
    __fr_ci_pix_table[0x08](0x80000000u, &run.dest.rig.span);
    EXPECT_EQ(*run.dest.At(0), 44);
  }
  {  // GL_SET writes 0xFF whatever the index; GL_NOOP writes nothing.
    for (int slot : {0x0F, 0x1F}) {
      CiRun run;
      run.Prepare(1, __glFRDitherTable.data(), rnd);
      for (uint32_t &c : run.dest.rig.span.colors) c = rnd.Word();
      __fr_ci_combine_table[slot](0xFFFFFFFFu, &run.dest.rig.span);
      for (int i = 0; i < 32; i++) EXPECT_EQ(*run.dest.At(i), 0xFF);
      EXPECT_EQ(run.dest.rig.span.ditherRow, __glFRDitherTable.data());
    }
    for (int slot : {0x05, 0x15}) {
      CiRun run;
      run.Prepare(1, __glFRDitherTable.data(), rnd);
      __fr_ci_combine_table[slot](0xFFFFFFFFu, &run.dest.rig.span);
      run.ExpectPixels("noop");
      EXPECT_EQ(run.dest.rig.span.ditherRow, __glFRDitherTable.data());
    }
  }
  {  // A dithered copy: (index + D) >> 16, here 5.5 + 0.5.
    CiRun run;
    const uint32_t half = 0x8000;
    run.Prepare(1, &half, rnd);
    run.dest.rig.span.colors[0] = 0x58000;
    __fr_ci_combine_table[0x13](0x80000000u, &run.dest.rig.span);
    EXPECT_EQ(*run.dest.At(0), 6);
    EXPECT_EQ(run.dest.rig.span.ditherRow, &half + 1);
  }
}

}  // namespace
