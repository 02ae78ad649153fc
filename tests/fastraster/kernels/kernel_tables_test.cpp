// The kernel tables: null exactly at the empty slots named for each family,
// the same slots in every class, the outer tables by frame-buffer type, and
// the kernel names.
#include <gtest/gtest.h>

#include <string.h>

#include <set>
#include <string>

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

TEST(KernelTables, OuterTablesByFrameBufferType) {
  for (int type = 0; type < 16; type++) {
    const FrSpanletProc *gen = __glGenColorTab[type], *comb = __glCombineTab[type];
    switch (type) {
      case FR_FB_RGB332:
        EXPECT_EQ(gen, __fr_rgb_genclr_2.data());
        EXPECT_EQ(comb, __fr_rgb_combine_2.data());
        break;
      case FR_FB_RGB555:
        EXPECT_EQ(gen, __fr_rgb_genclr_4.data());
        EXPECT_EQ(comb, __fr_rgb_combine_4.data());
        break;
      case FR_FB_RGB565:
        EXPECT_EQ(gen, __fr_rgb_genclr_5.data());
        EXPECT_EQ(comb, __fr_rgb_combine_5.data());
        break;
      case FR_FB_RGB8:  // colour generation only: RGB8 has no combine kernels
        EXPECT_EQ(gen, __fr_rgb_genclr_a.data());
        EXPECT_EQ(comb, nullptr);
        break;
      case FR_FB_XRGB8:
        EXPECT_EQ(gen, __fr_rgb_genclr_a.data());
        EXPECT_EQ(comb, __fr_rgb_combine_a.data());
        break;
      default:  // colour index belongs to its own kernels
        EXPECT_EQ(gen, nullptr) << type;
        EXPECT_EQ(comb, nullptr) << type;
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
  };
  for (const Row &r : rows) EXPECT_STREQ(FrKernelNameOf(r.family, r.cls, r.slot).text, r.name);
}

}  // namespace
