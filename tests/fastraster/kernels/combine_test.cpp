// The combine kernels against the scalar reference: every filled slot of
// every class, both walk directions, all four dither rows and phases of both
// dither tables, random colours, alphas and destinations, and the masks;
// then the worked rows, the slots that must compute the same, and the
// limits that keep a dithered sum from carrying into the next field.
#include <gtest/gtest.h>

#include <string.h>

#include "fastraster/fr_kernel_name.h"
#include "fastraster/fr_tables.h"
#include "tests/fastraster/kernels/kernel_rig.h"

namespace {

void Compare(const KernelClass &kc, int slot, FrSpanletProc kernel, KernelRandom &rnd,
             bool limit) {
  for (int trial = 0; trial < 8; trial++) {
    for (int m = 0; m < kKernelMasks; m++) {
      DestinationRun run;
      kref::CombineInput in{};
      rnd.Colors(*kc.ref, in.colors);
      if (limit)
        for (auto &e : in.colors)
          for (int k = 0; k < 3; k++) e[k] = uint8_t(255 - rnd.Below(4));
      in.ditherRow = RandomDitherRow(rnd);
      in.mask = KernelMask(rnd, m);
      run.Prepare(*kc.ref, (trial & 1) ? -1 : 1, in.colors, in.ditherRow);
      for (uint8_t &b : run.memory) b = uint8_t(rnd.Word());
      uint32_t expected[32];
      for (int i = 0; i < 32; i++) expected[i] = run.Get(i);
      const uint32_t guards[2] = {run.Get(-1), run.Get(32)};
      const FrSpan before = run.rig.span;

      kernel(in.mask, &run.rig.span);
      const uint32_t *row = kref::Combine(*kc.ref, slot, in, expected, limit);

      for (int i = 0; i < 32; i++)
        ASSERT_EQ(run.Get(i), expected[i])
            << "position " << i << " mask " << std::hex << in.mask << " dir " << run.direction;
      ASSERT_EQ(run.Get(-1), guards[0]);
      ASSERT_EQ(run.Get(32), guards[1]);
      ASSERT_EQ(run.rig.span.ditherRow, row) << "mask " << std::hex << in.mask;
      FrSpan after = run.rig.span;
      after.ditherRow = before.ditherRow;
      ASSERT_EQ(0, memcmp(&after, &before, sizeof after)) << "the record changed";
    }
  }
}

TEST(CombinePixels, EveryFilledSlotMatchesTheReference) {
  KernelRandom rnd;
  for (const KernelClass &kc : kKernelClasses) {
    for (int slot = 0; slot < 128; slot++) {
      const FrSpanletProc kernel = (*kc.combine)[slot];
      if (!kernel) continue;
      SCOPED_TRACE(FrKernelNameOf(FR_COMBINE_PIXELS, kc.ref->name, uint32_t(slot)).text);
      Compare(kc, slot, kernel, rnd, false);
    }
  }
}

// Colours above the ceilings (up to 255) with dithering: the plain sums
// would reach 2^bits in a field and carry; every field stays at its top.
TEST(CombinePixels, FieldsAreLimitedInsteadOfCarrying) {
  KernelRandom rnd;
  for (const KernelClass &kc : kKernelClasses) {
    for (int slot : {0x13, 0x53, 0x70, 0x71, 0x73, 0x76, 0x79}) {
      SCOPED_TRACE(FrKernelNameOf(FR_COMBINE_PIXELS, kc.ref->name, uint32_t(slot)).text);
      Compare(kc, slot, (*kc.combine)[slot], rnd, true);
    }
  }
  // RGB565 white with alpha 255 and the largest dither entry, blended by
  // SRC_ALPHA, ZERO: 255 + 7 would make a red field of 32.
  DestinationRun run;
  const uint8_t white[32][4] = {{255, 255, 255, 255}};
  const uint32_t largest = 15 * 4096;
  run.Prepare(kref::kClasses[1], 1, white, &largest);
  run.Set(0, 0);
  (*kKernelClasses[1].combine)[0x70](0x80000000u, &run.rig.span);
  EXPECT_EQ(run.Get(0), 0xFFFFu);
}

// Slots the tables keep apart but that must agree: the 0x40 twins, and the
// dithered CLEAR, NOOP, INVERT and SET, which ignore the source.
TEST(CombinePixels, TwinSlotsComputeTheSame) {
  KernelRandom rnd;
  std::vector<std::pair<int, int>> pairs;
  for (int s = 0; s < 0x20; s++) pairs.push_back({s, s + 0x40});
  for (int op : {0x0, 0x5, 0xA, 0xF}) pairs.push_back({op, op + 0x10}), pairs.push_back({op, op + 0x50});
  for (const KernelClass &kc : kKernelClasses) {
    for (const auto &pair : pairs) {
      SCOPED_TRACE(FrKernelNameOf(FR_COMBINE_PIXELS, kc.ref->name, uint32_t(pair.second)).text);
      for (int trial = 0; trial < 16; trial++) {
        uint8_t colors[32][4];
        rnd.Colors(*kc.ref, colors);
        const uint32_t *row = RandomDitherRow(rnd);
        const uint32_t mask = KernelMask(rnd, trial % kKernelMasks);
        DestinationRun a, b;
        a.Prepare(*kc.ref, 1, colors, row);
        b.Prepare(*kc.ref, 1, colors, row);
        for (size_t i = 0; i < sizeof a.memory; i++) a.memory[i] = b.memory[i] = uint8_t(rnd.Word());
        (*kc.combine)[pair.first](mask, &a.rig.span);
        (*kc.combine)[pair.second](mask, &b.rig.span);
        ASSERT_EQ(0, memcmp(a.memory, b.memory, sizeof a.memory));
      }
    }
  }
}

// The worked rows: one live pixel at position 0.
TEST(CombinePixels, WorkedRows) {
  struct Row {
    const char *what;
    int cls, slot;
    uint8_t color[4];
    uint32_t dither, dst, stored;
  };
  const Row rows[] = {
      {"565 pair 0x63", 1, 0x63, {200, 100, 48, 128}, 0, 0x8410, 0xA38A},
      {"565 dithered 0x73", 1, 0x73, {200, 100, 48, 128}, 0xA000, 0x8410, 0xAB8B},
      {"XRGB8 pair 0x63", 0, 0x63, {200, 100, 48, 128}, 0, 0xFF808080, 0x00A37157},
      {"XRGB8 copy", 0, 0x03, {0x11, 0x22, 0x33, 0}, 0, 0xAABBCCDD, 0x00112233},
      {"XRGB8 set", 0, 0x0F, {0x11, 0x22, 0x33, 0}, 0, 0xAABBCCDD, 0xFFFFFFFF},
      {"XRGB8 invert", 0, 0x0A, {0x11, 0x22, 0x33, 0}, 0, 0xAABBCCDD, 0x55443322},
      {"555 set", 2, 0x0F, {0, 0, 0, 0}, 0, 0x1234, 0xFFFF},
      {"555 blend clears bit 15", 2, 0x63, {0xF8, 0xF8, 0xF8, 255}, 0, 0xFFFF, 0x7FFF},
      {"XRGB8 0x63 alpha 255 copies", 0, 0x63, {0x11, 0x22, 0x33, 255}, 0, 0xAABBCCDD, 0x00112233},
      {"XRGB8 0x63 alpha 0 keeps", 0, 0x63, {0x11, 0x22, 0x33, 0}, 0, 0xAABBCCDD, 0x00BBCCDD},
      {"565 0x61 white clamps", 1, 0x61, {248, 252, 248, 255}, 0, 0xFFFF, 0xFFFF},
      {"565 0x73 white dithered", 1, 0x73, {248, 252, 248, 255}, 15 * 4096, 0, 0xFFFF},
      {"332 0x73 white dithered", 3, 0x73, {224, 224, 192, 255}, 15 * 4096, 0, 0xFF},
      {"332 dithered copy of red 224", 3, 0x13, {224, 0, 0, 0}, 15 * 4096, 0, 0xE0},
      {"332 dithered copy of black", 3, 0x13, {0, 0, 0, 0}, 15 * 4096, 0xFF, 0x00},
      {"565 0x69 keeps RGB", 1, 0x69, {10, 20, 30, 255}, 0, 0x8410, 0x8410},
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(row.what);
    DestinationRun run;
    uint8_t colors[32][4] = {};
    memcpy(colors[0], row.color, 4);
    run.Prepare(kref::kClasses[row.cls], 1, colors, &row.dither);
    run.Set(0, row.dst);
    (*kKernelClasses[row.cls].combine)[row.slot](0x80000000u, &run.rig.span);
    EXPECT_EQ(run.Get(0), row.stored) << std::hex << run.Get(0);
  }
}

// Mask 0 writes nothing and leaves the dither row; the first and last
// pixels advance it by 32; right to left the second pixel is one lower.
TEST(CombinePixels, MaskEdges) {
  const uint8_t colors[32][4] = {};
  DestinationRun run;
  run.Prepare(kref::kClasses[1], -1, colors, __glFRDitherTable.data());
  for (int i = -1; i <= 32; i++) run.Set(i, 0x1234);
  (*kKernelClasses[1].combine)[0x13](0, &run.rig.span);
  EXPECT_EQ(run.rig.span.ditherRow, __glFRDitherTable.data());
  for (int i = -1; i <= 32; i++) EXPECT_EQ(run.Get(i), 0x1234u);
  (*kKernelClasses[1].combine)[0x13](0x80000001u, &run.rig.span);
  EXPECT_EQ(run.rig.span.ditherRow, __glFRDitherTable.data() + 32);
  EXPECT_EQ(run.Get(0), 0u);
  EXPECT_EQ(run.Get(1), 0x1234u);
  EXPECT_EQ(run.Get(31), 0u);
  EXPECT_EQ(run.At(1), run.At(0) - 2);
}

}  // namespace
