// The RGB pixel-generation kernels against the scalar reference: every
// filled slot of every class, both walk directions, both dither tables at
// every row and phase, random iterators, texels and environment colours,
// and the masks; then the worked rows, the slots that must compute the
// same, and iterators past their range.
#include <gtest/gtest.h>

#include <string.h>

#include "fastraster/fr_genpix.h"
#include "fastraster/fr_kernel_name.h"
#include "tests/fastraster/kernels/kernel_rig.h"

namespace {

// Texel entry width and whether the slot fetches texels: the test's own
// reading of the code table.
int PixTexelBytes(int slot) {
  const int code = slot >> 2;
  if (code == 0 || code == 8 || code >= 14) return 0;
  return code <= 5 ? 3 : 4;
}

struct PixRun {
  DestinationRun dest;
  uint32_t expected[32];
  uint32_t guards[2];
  const uint32_t *row = nullptr;  // the reference's dither row after the walk
  FrSpan before;

  void Run(const KernelClass &kc, int slot, const kref::GenInput &in, int direction,
           const uint32_t *ditherRow, uint32_t flatPixel, KernelRandom &rnd) {
    const uint8_t colors[32][4] = {};
    dest.Prepare(*kc.ref, direction, colors, ditherRow);
    dest.rig.Load(in);
    dest.rig.texelBytes = PixTexelBytes(slot);
    dest.rig.span.flatPixel = flatPixel;
    for (uint8_t &b : dest.memory) b = uint8_t(rnd.Word());
    for (int i = 0; i < 32; i++) expected[i] = dest.Get(i);
    guards[0] = dest.Get(-1), guards[1] = dest.Get(32);
    row = kref::GenPixels(*kc.ref, slot, in, flatPixel, ditherRow, expected);
    before = dest.rig.span;
    (*kc.genPixels)[slot](in.mask, &dest.rig.span);
  }
};

TEST(GenPixels, EveryFilledSlotMatchesTheReference) {
  KernelRandom rnd;
  for (const KernelClass &kc : kKernelClasses) {
    for (int slot = 0; slot < 64; slot++) {
      if (!(*kc.genPixels)[slot]) continue;
      SCOPED_TRACE(FrKernelNameOf(FR_GEN_PIXELS, kc.ref->name, uint32_t(slot)).text);
      for (int trial = 0; trial < 6; trial++) {
        for (int m = 0; m < kKernelMasks; m++) {
          kref::GenInput in{};
          rnd.Gen(*kc.ref, slot & 2, &in);
          in.mask = KernelMask(rnd, m);
          PixRun run;
          run.Run(kc, slot, in, (trial & 1) ? -1 : 1, RandomDitherRow(rnd), rnd.Word(), rnd);
          for (int i = 0; i < 32; i++)
            ASSERT_EQ(run.dest.Get(i), run.expected[i])
                << "position " << i << " mask " << std::hex << in.mask << " dir "
                << run.dest.direction;
          ASSERT_EQ(run.dest.Get(-1), run.guards[0]);
          ASSERT_EQ(run.dest.Get(32), run.guards[1]);
          // Texels fetched once, for the mask as given, and only by texture slots.
          const bool textured = PixTexelBytes(slot) != 0;
          ASSERT_EQ(run.dest.rig.extractCalls, textured ? 1 : 0);
          if (textured) {
            ASSERT_EQ(run.dest.rig.extractMask, in.mask);
          }
          ASSERT_EQ(run.dest.rig.afterCalls, 0) << "the chain ends here";
          ASSERT_EQ(run.dest.rig.span.ditherRow, run.row) << "mask " << std::hex << in.mask;
          // Nothing else of the record changes (the fixture's texels aside).
          FrSpan after = run.dest.rig.span;
          after.ditherRow = run.before.ditherRow;
          memcpy(after.texels, run.before.texels, sizeof after.texels);
          ASSERT_EQ(0, memcmp(&after, &run.before, sizeof after));
        }
      }
    }
  }
}

// Iterators that rounding carried past either end of their range: every
// field stays within its bits instead of carrying into its neighbour.
TEST(GenPixels, IteratorsPastTheirRangeAreLimited) {
  KernelRandom rnd;
  for (const KernelClass &kc : kKernelClasses) {
    for (int slot : {0x01, 0x02, 0x03, 0x0F, 0x13, 0x2B, 0x2F, 0x33}) {
      SCOPED_TRACE(FrKernelNameOf(FR_GEN_PIXELS, kc.ref->name, uint32_t(slot)).text);
      for (int trial = 0; trial < 30; trial++) {
        kref::GenInput in{};
        rnd.Gen(*kc.ref, true, &in);
        in.mask = KernelMask(rnd, trial % kKernelMasks);
        int32_t *value[3] = {&in.r, &in.g, &in.b};
        int32_t *step[3] = {&in.drdx, &in.dgdx, &in.dbdx};
        for (int k = 0; k < 3; k++) {
          const int32_t top = ((1 << kc.ref->bits[k]) - 1) << 16;
          const int32_t over = int32_t(rnd.Below(0x40000)) + 0x100;
          if (rnd.Below(2)) *value[k] = top - over, *step[k] = over / 4 + 1;
          else *value[k] = over, *step[k] = -(over / 4 + 1);
          if (trial == 0) *value[k] = 0x7FFF0000, *step[k] = 0;  // far above
          if (trial == 1) *value[k] = -0x10000, *step[k] = 0;    // below zero
        }
        PixRun run;
        run.Run(kc, slot, in, 1, RandomDitherRow(rnd), 0, rnd);
        for (int i = 0; i < 32; i++) ASSERT_EQ(run.dest.Get(i), run.expected[i]) << trial;
      }
    }
  }
  // RGB565 red at 31.9 with the largest dither entry: 32 would carry into
  // nothing but bit 16, green 63.9 into red.
  PixRun run;
  kref::GenInput in{};
  in.r = (31 << 16) + 0xE000, in.g = (63 << 16) + 0xE000, in.mask = 0x80000000u;
  const uint32_t largest = 0xF000;
  run.Run(kKernelClasses[1], 0x01, in, 1, &largest, 0, rnd);
  EXPECT_EQ(run.dest.Get(0), 0xFFE0u);
}

// One pixel at position `at` of a run; the record as the rows give it.
struct Worked {
  const char *what;
  int cls, slot;
  int32_t r, g, b, drdx;
  uint32_t flatPixel, dither;
  uint8_t texel[4];
  int at;
  uint32_t stored;
};

TEST(GenPixels, WorkedRows) {
  const Worked rows[] = {
      {"RGBa flat pixel", 0, 0x00, 0, 0, 0, 0, 0x12345678, 0, {}, 0, 0x12345678},
      {"RGBa flat pixel, code 8", 0, 0x20, 0, 0, 0, 0, 0x12345678, 0, {}, 0, 0x12345678},
      {"RGB5 flat pixel", 1, 0x00, 0, 0, 0, 0, 0x12345678, 0, {}, 0, 0x5678},
      {"RGB4 flat pixel", 2, 0x20, 0, 0, 0, 0, 0x12345678, 0, {}, 0, 0x5678},
      {"RGB2 flat pixel", 3, 0x00, 0, 0, 0, 0, 0x12345678, 0, {}, 0, 0x78},
      {"RGB5 red 10.5, D 0x8000", 1, 0x01, 0xA8000, 0, 0, 0, 0, 0x8000, {}, 0, 0x5800},
      {"RGB5 red 10.5, D 0", 1, 0x01, 0xA8000, 0, 0, 0, 0, 0, {}, 0, 0x5000},
      {"RGB5 decal capped", 1, 0x29, 0, 0, 0, 0, 0, 0xF000, {255, 255, 255, 255}, 0, 0xFFFF},
      {"RGB4 replace, bit 15 clear", 2, 0x05, 0, 0, 0, 0, 0xFFFF, 0xF000, {255, 255, 255, 0}, 0, 0x7FFF},
      {"RGBa modulate by 255", 0, 0x0C, 0x120000, 0x340000, 0x560000, 0, 0, 0,
       {255, 255, 255, 0}, 0, 0x123456},
      {"RGBa untextured dithered adds D", 0, 0x01, 0x128000, 0x340000, 0x568000, 0, 0, 0x8000,
       {}, 0, 0x133457},
      {"RGBa textured dithered does not", 0, 0x0D, 0x128000, 0x340000, 0x568000, 0, 0, 0xF000,
       {255, 255, 255, 0}, 0, 0x123456},
  };
  for (const Worked &w : rows) {
    SCOPED_TRACE(w.what);
    KernelRandom rnd;
    kref::GenInput in{};
    in.r = w.r, in.g = w.g, in.b = w.b, in.drdx = w.drdx;
    memcpy(in.texel[w.at], w.texel, 4);
    in.mask = 0x80000000u >> w.at;
    uint32_t row[32];
    for (uint32_t &d : row) d = w.dither;
    PixRun run;
    run.Run(kKernelClasses[w.cls], w.slot, in, 1, row, w.flatPixel, rnd);
    EXPECT_EQ(run.dest.Get(w.at), w.stored) << std::hex << run.dest.Get(w.at);
  }
}

// Position 31 of RGB555 key 0x03 from red 0 stepping 0.5 holds red 15.5:
// red 15 for every dither entry below 0x8000.
TEST(GenPixels, SteppedRedAtTheLastPosition) {
  for (uint32_t m = 0; m < 8; m++) {
    KernelRandom rnd;
    kref::GenInput in{};
    in.drdx = 0x8000, in.mask = 0x00000001u;
    uint32_t row[32];
    for (uint32_t &d : row) d = m * 0x1000;
    PixRun run;
    run.Run(kKernelClasses[2], 0x03, in, 1, row, 0, rnd);
    EXPECT_EQ(run.dest.Get(31), 15u << 10) << m;
    EXPECT_EQ(run.dest.rig.span.ditherRow, row + 32);
  }
}

// A white texel replaced stores the whole field of every class, dithered
// or not, for every dither entry.
TEST(GenPixels, ReplaceOfWhiteFillsEveryField) {
  const uint32_t white[4] = {0xFFFFFF, 0xFFFF, 0x7FFF, 0xFF};
  for (int c = 0; c < 4; c++)
    for (int slot : {0x04, 0x05, 0x06, 0x07, 0x24, 0x25, 0x26, 0x27})
      for (uint32_t m = 0; m < 16; m++) {
        SCOPED_TRACE(FrKernelNameOf(FR_GEN_PIXELS, kKernelClasses[c].ref->name, uint32_t(slot)).text);
        KernelRandom rnd;
        kref::GenInput in{};
        for (auto &t : in.texel) memset(t, 255, 4);
        in.mask = 0xFFFFFFFFu;
        uint32_t row[32];
        for (uint32_t &d : row) d = m * 0x1000;
        PixRun run;
        run.Run(kKernelClasses[c], slot, in, 1, row, 0, rnd);
        for (int i = 0; i < 32; i++) ASSERT_EQ(run.dest.Get(i), white[c]) << m;
      }
}

// The k-th live pixel takes the k-th texel entry, whichever way the span runs.
TEST(GenPixels, LivePixelsTakeTexelEntriesInOrder) {
  for (int direction : {1, -1}) {
    KernelRandom rnd;
    kref::GenInput in{};
    in.texel[3][0] = 0x40, in.texel[17][0] = 0xC0;
    in.mask = (0x80000000u >> 3) | (0x80000000u >> 17);
    PixRun run;
    run.Run(kKernelClasses[0], 0x04, in, direction, __glFRDitherTable.data(), 0, rnd);
    EXPECT_EQ(run.dest.Get(3), 0x400000u);
    EXPECT_EQ(run.dest.Get(17), 0xC00000u);
    const uint8_t *entries = reinterpret_cast<const uint8_t *>(run.dest.rig.span.texels);
    EXPECT_EQ(entries[0], 0x40);
    EXPECT_EQ(entries[3], 0xC0);
  }
}

// Slots the rules make equal: code 8 is code 0, replace ignores the
// iterated bit, and in RGBa the dither bit changes no texture kernel.
TEST(GenPixels, EqualSlotsComputeTheSame) {
  std::vector<std::pair<int, int>> pairs = {{0x04, 0x06}, {0x05, 0x07}, {0x24, 0x26}, {0x25, 0x27}};
  for (int s = 0; s < 4; s++) pairs.push_back({s, s + 0x20});
  KernelRandom rnd;
  for (int c = 0; c < 4; c++) {
    const KernelClass &kc = kKernelClasses[c];
    std::vector<std::pair<int, int>> all = pairs;
    if (c == 0)
      for (int s = 0x04; s < 0x38; s += 2)
        if ((*kc.genPixels)[s] && (s >> 2) != 8) all.push_back({s, s + 1});
    for (const auto &pair : all) {
      SCOPED_TRACE(FrKernelNameOf(FR_GEN_PIXELS, kc.ref->name, uint32_t(pair.second)).text);
      for (int trial = 0; trial < 16; trial++) {
        kref::GenInput in{};
        rnd.Gen(*kc.ref, true, &in);
        in.mask = KernelMask(rnd, trial % kKernelMasks);
        const uint32_t *row = RandomDitherRow(rnd);
        const uint32_t flat = rnd.Word();
        PixRun a, b;
        KernelRandom ra{std::mt19937(uint32_t(trial))}, rb{std::mt19937(uint32_t(trial))};
        a.Run(kc, pair.first, in, 1, row, flat, ra);
        b.Run(kc, pair.second, in, 1, row, flat, rb);
        ASSERT_EQ(0, memcmp(a.dest.memory, b.dest.memory, sizeof a.dest.memory));
      }
    }
    // 0x38-0x3F: one procedure that writes and calls nothing.
    for (int s = 0x38; s < 0x40; s++) {
      ASSERT_EQ((*kc.genPixels)[s], &__glGenPixelsNothing);
    }
    kref::GenInput in{};
    in.mask = 0xFFFFFFFFu;
    PixRun run;
    run.Run(kc, 0x3B, in, 1, __glFRDitherTable.data(), 0, rnd);
    for (int i = 0; i < 32; i++) ASSERT_EQ(run.dest.Get(i), run.expected[i]);
    EXPECT_EQ(run.dest.rig.extractCalls, 0);
    EXPECT_EQ(run.dest.rig.span.ditherRow, __glFRDitherTable.data());
  }
}

// Mask 0 still fetches (with mask 0), writes nothing and leaves the row.
TEST(GenPixels, MaskZero) {
  KernelRandom rnd;
  for (int slot : {0x01, 0x0F, 0x2D}) {
    kref::GenInput in{};
    PixRun run;
    run.Run(kKernelClasses[1], slot, in, 1, __glFRDitherTable.data() + 2, 0, rnd);
    EXPECT_EQ(run.dest.rig.span.ditherRow, __glFRDitherTable.data() + 2);
    for (int i = -1; i <= 32; i++) EXPECT_EQ(run.dest.Get(i), i < 0 ? run.guards[0] : i > 31 ? run.guards[1] : run.expected[i]);
    EXPECT_EQ(run.dest.rig.extractCalls, slot == 0x01 ? 0 : 1);
    EXPECT_EQ(run.dest.rig.extractMask, 0u);
  }
}

}  // namespace
