// The MMX memory fill: the generated routine itself, its register contract,
// and the public fill against a plain one for every alignment and count.
#include <math.h>
#include <string.h>

#include <string>
#include <vector>

#include "codegen/og_fill.h"
#include "tests/codegen/emitter/og_run_support.h"
#include "tests/codegen/emitter/og_support.h"

namespace {

class FillTest : public OgTest {
 protected:
  void SetUp() override {
    OgTest::SetUp();
    gc->constants.cpuFlags = __GL_CPU_MMX;
  }
};

TEST_F(FillTest, TheRoutineAsObjdumpReadsIt) {
  uint8_t *end = __glGenerateMMXFill(gc, code, code + OG_FILL_BUFFER_SIZE);
  ASSERT_NE(end, nullptr) << Failure();
  EXPECT_LT(end - code, 64) << "about 50 bytes";
  if (!HaveObjdump()) GTEST_SKIP() << "objdump is not installed";
  std::vector<std::vector<std::string>> texts;
  ASSERT_TRUE(Disassemble({std::vector<uint8_t>(code, end)}, &texts));
  const std::vector<std::string> want = {
      "test edi,0x7",      "je 0x11",                  "mov DWORD PTR [edi],eax",
      "add edi,0x4",       "dec ecx",                  "mov ebx,ecx",
      "shr ecx,0x1",       "je 0x2a",                  "movd mm0,eax",
      "punpckldq mm0,mm0", "movq QWORD PTR [edi],mm0", "add edi,0x8",
      "dec ecx",           "jne 0x1e",                 "test ebx,0x1",
      "je 0x3a",           "mov DWORD PTR [edi],eax",  "add edi,0x4",
      "ret",
  };
  EXPECT_EQ(texts[0], want);
}

TEST_F(FillTest, TheGeneratorKeepsToItsBuffer) {
  for (uint32_t room : {0u, 1u, 20u, 58u}) {
    memset(code, 0xF4, 128);
    EXPECT_EQ(__glGenerateMMXFill(gc, code, code + room), nullptr) << room;
    EXPECT_EQ(Failure(), "cb >= ogs->start && cb + length <= ogs->end");
    for (uint32_t i = room; i < 128; i++) ASSERT_EQ(code[i], 0xF4) << "room " << room;
  }
}

// The routine's own convention, through a generated wrapper: edi, eax and
// ecx in; edi behind the last word, eax and edx kept.
TEST_F(FillTest, TheRoutineKeepsItsRegisterContract) {
  uint8_t *fill = code + 4096;
  ASSERT_NE(__glGenerateMMXFill(gc, fill, fill + OG_FILL_BUFFER_SIZE), nullptr);
  Begin();
  Gen g{gc, code};
  OgCode *target = label(gc);
  target->data.label.where = fill;
  g.E(push(gc, edi));
  g.E(push(gc, ebx));
  g.E(mov(gc, edi, mem2(gc, g.V(12), esp)));
  g.E(mov(gc, eax, mem2(gc, g.V(16), esp)));
  g.E(mov(gc, ecx, mem2(gc, g.V(20), esp)));
  g.E(mov(gc, edx, g.V(0x0EDC0EDC)));
  g.E(call(gc, target));
  g.E(mov(gc, ecx, mem2(gc, g.V(24), esp)));
  g.E(mov(gc, mem2(gc, nullptr, ecx), edi));
  g.E(mov(gc, mem2(gc, g.V(4), ecx), eax));
  g.E(mov(gc, mem2(gc, g.V(8), ecx), edx));
  g.E(emms(gc));
  g.E(pop(gc, ebx));
  g.E(pop(gc, edi));
  g.E(ret(gc));
  ASSERT_EQ(Failure(), "");

  // The cases: one word at 4 mod 8, three words aligned, two words at 4
  // mod 8, and longer runs either way.
  struct Case {
    uint32_t offset, words;
  };
  const Case cases[] = {{4, 1}, {0, 3}, {4, 2}, {0, 1}, {0, 2}, {4, 3}, {0, 64}, {4, 65}};
  alignas(8) uint32_t area[80];
  for (const Case &c : cases) {
    memset(area, 0, sizeof area);
    uint32_t *dst = area + 2 + c.offset / 4;
    uint32_t out[3] = {};
    RunChecked(code, {uint32_t(uintptr_t(dst)), 0xA5A5F00Du, c.words, uint32_t(uintptr_t(out))});
    EXPECT_EQ(out[0], uint32_t(uintptr_t(dst + c.words))) << "edi after " << c.words;
    EXPECT_EQ(out[1], 0xA5A5F00Du) << "eax kept";
    EXPECT_EQ(out[2], 0x0EDC0EDCu) << "edx kept";
    for (uint32_t i = 0; i < 80; i++) {
      const bool inside = area + i >= dst && area + i < dst + c.words;
      ASSERT_EQ(area[i], inside ? 0xA5A5F00Du : 0u) << "word " << i << ", case " << c.words;
    }
  }
}

// Every byte offset (the contract asks for 4-byte alignment; the routine
// still writes exactly the words asked for) and every count up to 100, a
// few large ones, with guard words on both sides.
TEST_F(FillTest, MatchesAPlainFillForEveryAlignmentAndCount) {
  const uint32_t kGuard = 0x6A6A6A6Au;
  std::vector<uint32_t> counts;
  for (uint32_t n = 1; n <= 100; n++) counts.push_back(n);
  for (uint32_t n : {255u, 256u, 1023u, 4097u}) counts.push_back(n);
  std::vector<uint8_t> area(4 * 4200 + 64), want;
  uint8_t *base = reinterpret_cast<uint8_t *>((uintptr_t(area.data()) + 15) & ~uintptr_t(15));
  for (uint32_t offset = 0; offset < 16; offset++) {
    for (uint32_t n : counts) {
      const uint32_t value = 0x01020304u * (offset + 1) ^ n;
      for (size_t i = 0; i + 4 <= area.size() - 16; i += 4) memcpy(base + i, &kGuard, 4);
      want.assign(base, base + 4 * n + 32);
      for (uint32_t i = 0; i < n; i++) memcpy(want.data() + 16 + offset + 4 * i, &value, 4);
      ASSERT_TRUE(__glMMXFill(gc, base + 16 + offset, value, n));
      ASSERT_EQ(memcmp(base, want.data(), want.size()), 0) << "offset " << offset << " count " << n;
    }
  }
}

TEST_F(FillTest, RectanglesSkipBetweenRows) {
  struct Rect {
    uint32_t width, height, skip;
  };
  const Rect rects[] = {{1, 1, 0}, {5, 3, 0}, {5, 3, 12}, {7, 4, 4}, {1, 9, 28}, {64, 2, 8}, {3, 5, 1000}};
  std::vector<uint32_t> area(2048), want;
  for (const Rect &r : rects) {
    for (uint32_t start : {2u, 3u}) {
      std::fill(area.begin(), area.end(), 0x11111111u);
      want = area;
      uint32_t at = start;
      for (uint32_t y = 0; y < r.height; y++) {
        for (uint32_t x = 0; x < r.width; x++) want[at + x] = 0xC0FFEEu;
        at += r.width + r.skip / 4;
      }
      ASSERT_TRUE(__glMMXFillRect(gc, area.data() + start, r.width, r.height, r.skip, 0xC0FFEEu));
      EXPECT_EQ(area, want) << r.width << " x " << r.height << " skip " << r.skip;
    }
  }
  // Nothing to fill: nothing written, and no failure either.
  std::fill(area.begin(), area.end(), 0x22222222u);
  EXPECT_TRUE(__glMMXFillRect(gc, area.data(), 0, 5, 0, 1));
  EXPECT_TRUE(__glMMXFillRect(gc, area.data(), 5, 0, 0, 1));
  EXPECT_TRUE(__glMMXFill(gc, area.data(), 1, 0));
  EXPECT_EQ(area, std::vector<uint32_t>(2048, 0x22222222u));
}

// The thunk compiled code calls: called with sentinels in the registers a
// cdecl caller expects kept, it gives them back, pops nothing and leaves
// the x87 tags empty (EMMS), whatever the rows and words.
TEST_F(FillTest, TheThunkKeepsTheCallersRegistersAndEndsMmx) {
  uint8_t *fill = code + 4096;
  ASSERT_NE(__glGenerateMMXFill(gc, fill, fill + OG_FILL_BUFFER_SIZE), nullptr) << Failure();
  struct Run {
    uint32_t offset, words, rows, skip;
  };
  const Run runs[] = {{0, 1, 1, 0}, {4, 1, 1, 0},  {4, 6, 3, 4}, {0, 5, 4, 12},
                      {4, 0, 3, 0}, {0, 3, 0, 0},  {0, 33, 2, 0}};
  alignas(8) uint32_t area[160];
  for (const Run &r : runs) {
    SCOPED_TRACE(std::to_string(r.words) + " x " + std::to_string(r.rows));
    for (uint32_t &w : area) w = 0x5A5A5A5Au;
    uint32_t want[160];
    memcpy(want, area, sizeof area);
    uint32_t *dst = area + 2 + r.offset / 4;
    for (uint32_t y = 0; y < r.rows; y++)
      for (uint32_t x = 0; x < r.words; x++) want[dst - area + y * (r.words + r.skip / 4) + x] = 7;
    RunChecked(reinterpret_cast<const void *>(__glMMXFillRun),
               {uint32_t(uintptr_t(fill)), uint32_t(uintptr_t(dst)), 7u, r.words, r.rows, r.skip});
    EXPECT_EQ(memcmp(area, want, sizeof area), 0);
  }
}

TEST_F(FillTest, X87WorksAfterAFill) {
  uint32_t area[16];
  volatile long double x = 3.0L;
  const long double before = x / 7.0L + sqrtl(x);
  ASSERT_TRUE(__glMMXFill(gc, area, 0x3F800000u, 16));
  uint16_t environment[14];
  asm volatile("fnstenv %0\n\tfldenv %0" : "=m"(environment));
  EXPECT_EQ(environment[4], 0xFFFF) << "x87 registers left tagged by MMX";
  volatile long double y = x / 7.0L + sqrtl(x);
  EXPECT_EQ(y, before);
  float f;
  memcpy(&f, &area[15], 4);
  EXPECT_EQ(f, 1.0f);
}

TEST_F(FillTest, WithoutMmxNothingIsWritten) {
  gc->constants.cpuFlags = 0;
  uint32_t area[4] = {1, 2, 3, 4};
  EXPECT_FALSE(__glMMXFill(gc, area, 9, 4));
  EXPECT_FALSE(__glMMXFillRect(gc, area, 2, 2, 0, 9));
  EXPECT_EQ(area[0], 1u);
  EXPECT_EQ(area[3], 4u);
}

}  // namespace
