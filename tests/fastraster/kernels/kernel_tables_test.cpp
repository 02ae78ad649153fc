// The kernel tables: null exactly at the empty slots named for each family
// (RGB and colour index), the procedures colour-index slots share,
// the same slots in every class, the outer tables by frame-buffer type, and
// the kernel names.
#include <gtest/gtest.h>

#include <string.h>

#include <set>
#include <string>

#include "fastraster/fr_ci.h"
#include "fastraster/fr_genpix.h"
#include "fastraster/fr_kernel_name.h"
#include "fastraster/fr_pick.h"
#include "tests/fastraster/kernels/kernel_rig.h"

namespace {

std::set<int> Range(int first, int last) {
  std::set<int> s;
  for (int i = first; i <= last; i++) s.insert(i);
  return s;
}

TEST(KernelTables, ColorGenerationSlots) {
  std::set<int> filled;
  for (auto r : {std::pair{0x00, 0x07}, {0x0C, 0x17}, {0x24, 0x37}})
    for (int s : Range(r.first, r.second)) filled.insert(s);
  for (int s : {0x39, 0x3B, 0x3D, 0x3F}) filled.insert(s);
  ASSERT_EQ(filled.size(), 44u);
  for (const KernelClass &kc : kKernelClasses)
    for (int s = 0; s < 64; s++)
      EXPECT_EQ((*kc.genColors)[s] != nullptr, filled.count(s) == 1)
          << kc.ref->name << " slot " << std::hex << s;
}

TEST(KernelTables, CombineSlots) {
  std::set<int> filled = Range(0x00, 0x1F);
  for (int s : Range(0x40, 0x61)) filled.insert(s);
  for (int s : {0x63, 0x66, 0x69, 0x70, 0x71, 0x73, 0x76, 0x79}) filled.insert(s);
  ASSERT_EQ(filled.size(), 74u);
  for (const KernelClass &kc : kKernelClasses)
    for (int s = 0; s < 128; s++)
      EXPECT_EQ((*kc.combine)[s] != nullptr, filled.count(s) == 1)
          << kc.ref->name << " slot " << std::hex << s;
}

TEST(KernelTables, PixelGenerationSlots) {
  std::set<int> filled = Range(0x00, 0x07);
  for (int s : Range(0x0C, 0x17)) filled.insert(s);
  for (int s : Range(0x20, 0x3F)) filled.insert(s);
  ASSERT_EQ(filled.size(), 52u);
  for (const KernelClass &kc : kKernelClasses)
    for (int s = 0; s < 64; s++)
      EXPECT_EQ((*kc.genPixels)[s] != nullptr, filled.count(s) == 1)
          << kc.ref->name << " slot " << std::hex << s;
}

TEST(KernelTables, ColorIndexSlots) {
  for (int s = 0; s < 16; s++) {
    EXPECT_EQ(__fr_ci_pix_table[s] != nullptr, s < 0x0C) << s;
    EXPECT_EQ(__fr_ci_genclr_table[s] != nullptr, s < 0x0C) << s;
  }
  for (int s = 0; s < 32; s++) EXPECT_NE(__fr_ci_combine_table[s], nullptr) << s;
  // The members that are one procedure.
  const auto same = [](const FrKernelTable<16> &t, std::initializer_list<int> slots) {
    for (int s : slots) EXPECT_EQ(t[s], t[*slots.begin()]) << s;
  };
  same(__fr_ci_genclr_table, {0x00, 0x01});
  same(__fr_ci_genclr_table, {0x02, 0x03});
  same(__fr_ci_genclr_table, {0x04, 0x05, 0x06, 0x07});
  same(__fr_ci_genclr_table, {0x08, 0x09});
  same(__fr_ci_genclr_table, {0x0A, 0x0B});
  same(__fr_ci_pix_table, {0x04, 0x05, 0x06, 0x07});
  for (int op : {0x00, 0x05, 0x0A, 0x0F})
    EXPECT_EQ(__fr_ci_combine_table[op], __fr_ci_combine_table[op + 0x10]) << op;
}

TEST(KernelTables, OuterTablesByFrameBufferType) {
  for (int type = 0; type < 16; type++) {
    const FrSpanletProc *gen = __glGenColorTab[type], *comb = __glCombineTab[type],
                        *pix = __glGenPixTab[type];
    switch (type) {
      case FR_FB_CI8:
        EXPECT_EQ(gen, __fr_ci_genclr_table.data());
        EXPECT_EQ(comb, __fr_ci_combine_table.data());
        EXPECT_EQ(pix, __fr_ci_pix_table.data());
        break;
      case FR_FB_RGB332:
        EXPECT_EQ(gen, __fr_rgb_genclr_2.data());
        EXPECT_EQ(comb, __fr_rgb_combine_2.data());
        EXPECT_EQ(pix, __fr_rgb_pix_2.data());
        break;
      case FR_FB_RGB555:
        EXPECT_EQ(gen, __fr_rgb_genclr_4.data());
        EXPECT_EQ(comb, __fr_rgb_combine_4.data());
        EXPECT_EQ(pix, __fr_rgb_pix_4.data());
        break;
      case FR_FB_RGB565:
        EXPECT_EQ(gen, __fr_rgb_genclr_5.data());
        EXPECT_EQ(comb, __fr_rgb_combine_5.data());
        EXPECT_EQ(pix, __fr_rgb_pix_5.data());
        break;
      case FR_FB_RGB8:  // colour generation only
        EXPECT_EQ(gen, __fr_rgb_genclr_a.data());
        EXPECT_EQ(comb, nullptr);
        EXPECT_EQ(pix, nullptr);
        break;
      case FR_FB_XRGB8:
        EXPECT_EQ(gen, __fr_rgb_genclr_a.data());
        EXPECT_EQ(comb, __fr_rgb_combine_a.data());
        EXPECT_EQ(pix, __fr_rgb_pix_a.data());
        break;
      default:
        EXPECT_EQ(gen, nullptr) << type;
        EXPECT_EQ(comb, nullptr) << type;
        EXPECT_EQ(pix, nullptr) << type;
    }
  }
}

TEST(KernelTables, Names) {
  struct Row {
    FrKernelFamily family;
    const char *cls;
    uint32_t slot;
    const char *name;
  };
  const Row rows[] = {
      {FR_GEN_COLORS, "RGB5", 0x2F, "__glGenColorsRGB5_2F"},
      {FR_GEN_COLORS, "RGBa", 0x0, "__glGenColorsRGBa_0"},
      {FR_GEN_PIXELS, "RGB5", 0x2B, "__glGenPixelsRGB5_2B"},
      {FR_COMBINE_PIXELS, "RGBa", 0x79, "__glCombinePixelsRGBa_79"},
      {FR_COMBINE_PIXELS, "RGB2", 0x4, "__glCombinePixelsRGB2_4"},
      {FR_COMBINE_PIXELS, "CI1", 0x10, "__glCombinePixelsCI1_10"},
      {FR_GEN_PIXELS, "CI1", 0xB, "__glGenPixelsCI1_B"},
      {FR_GEN_COLORS, "CI1", 0xA, "__glGenColorsCI1_A"},
  };
  for (const Row &r : rows) EXPECT_STREQ(FrKernelNameOf(r.family, r.cls, r.slot).text, r.name);
}

}  // namespace
