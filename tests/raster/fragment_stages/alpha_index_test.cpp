// The alpha- and index-test tables and stages: every function against
// OpenGL's rule on quantized alpha and on colour indexes, the reference's
// own value, alphas beyond the buffer's range, indexes beyond the buffer's
// bits; and the same answers when the allocator refuses the tables.
#include <gtest/gtest.h>

#include <math.h>

#include <string>

#include "tests/raster/ancillary/comparison_reference.h"
#include "tests/raster/fragment_stages/stage_fixture.h"
#include "tests/support/counting_imports.h"

namespace fragment_stages {
namespace {

using ancillary_test::ReferencePasses;

bool FuncPasses(GLenum func, int64_t value, int64_t ref) {
  if (value < 0 || ref < 0) return ReferencePasses(func, uint32_t(value + 8), uint32_t(ref + 8));
  return ReferencePasses(func, uint32_t(value), uint32_t(ref));
}

// Runs a stage over `values.size()` pixels, plain and stippled, and checks
// each pixel's fate against `expected`.
void CheckStage(SpanContext &ctx, GlSpanProc plain, GlSpanProc stippled,
                const std::vector<bool> &expected, std::mt19937 &rng) {
  GlShader &sh = ctx.sh();
  const int32_t n = int32_t(expected.size());
  for (int32_t first = 0; first < n; first += 2000) {
    const int32_t length = std::min(2000, n - first);
    std::vector<GlColor> saved(ctx.colors().begin() + first,
                               ctx.colors().begin() + first + length);
    sh.spanColors = saved.data();
    ctx.SetSpan(0, 0, length);
    int32_t rejected = 0;
    for (int32_t k = 0; k < length; k++) rejected += !expected[size_t(first + k)];
    EXPECT_EQ(plain(ctx.gc()) != 0, rejected > 0);
    EXPECT_EQ(sh.done, rejected == length);
    if (rejected > 0) {
      for (int32_t k = 0; k < length; k++)
        ASSERT_EQ(Alive(ctx.words(), k), expected[size_t(first + k)]) << first + k;
    }
    std::vector<uint32_t> in(GL_SPAN_STIPPLE_WORDS);
    for (uint32_t &w : in) w = rng() | rng();
    ctx.words() = in;
    sh.stipplePat = ctx.words().data();
    sh.done = 0;
    int32_t left = 0;
    const GLbool8 none = stippled(ctx.gc());
    for (int32_t k = 0; k < length; k++) {
      const bool alive = Alive(in, k) && expected[size_t(first + k)];
      ASSERT_EQ(Alive(ctx.words(), k), alive) << first + k;
      left += alive;
    }
    EXPECT_EQ(none != 0, left == 0);
    EXPECT_EQ(sh.done, 0);
    sh.spanColors = ctx.colors().data();
  }
}

struct AlphaSetting {
  const char *name;
  GLfloat scale;  // the colour buffer's alpha scale
};

// Alpha at colour-buffer scale 255: an alpha of i is table entry i; alphas
// outside the range take the nearest end; the reference j/255 is entry j.
TEST(AlphaTest, EveryFunctionAgainstQuantizedAlpha) {
  std::mt19937 rng(31);
  const GLfloat inf = INFINITY;
  for (bool refused : {false, true})
    for (GLenum func : kFunctions)
      for (int32_t ref : {0, 1, 77, 128, 254, 255}) {
        SCOPED_TRACE(std::string(refused ? "no table, " : "") + "function " +
                     std::to_string(func) + " reference " + std::to_string(ref));
        SpanContext ctx;
        GlContext *gc = ctx.gc();
        gc->constants.alphaTestSize = 256;
        gc->constants.alphaTableConv = 255.0f / gc->constants.alphaScale;
        gc->state.raster.alphaFunction = func;
        gc->state.raster.alphaReference = GLfloat(ref) / 255.0f;
        if (refused) CountingImports::failAllocation(1);
        __glValidateAlphaTest(gc);
        EXPECT_EQ(gc->alphaTestTable == nullptr, refused);
        std::vector<bool> expected;
        std::vector<GlColor> &colors = ctx.colors();
        size_t k = 0;
        auto add = [&](GLfloat alpha, int64_t entry) {
          colors[k++].a = alpha;
          expected.push_back(FuncPasses(func, entry, ref));
        };
        for (int32_t i = 0; i < 256; i++) add(GLfloat(i), i);
        add(255.9f, 255);
        add(300.0f, 255);
        add(inf, 255);
        add(-5.0f, 0);
        add(-inf, 0);
        add(NAN, 0);
        add(0.99f, 0);
        CheckStage(ctx, __glAlphaTestSpan, __glAlphaTestStippledSpan, expected, rng);
      }
}

// An alpha exactly at the reference is the reference's entry, whatever the
// buffer's alpha scale: GL_LEQUAL passes it, GL_LESS does not.
TEST(AlphaTest, AnAlphaAtTheReferenceIsTheReferencesEntry) {
  const AlphaSetting settings[] = {{"scale 255", 255.0f}, {"scale 1", 1.0f},
                                   {"scale 31", 31.0f},   {"scale 4095", 4095.0f}};
  std::mt19937 rng(37);
  for (const AlphaSetting &s : settings)
    for (GLenum func : kFunctions) {
      SCOPED_TRACE(std::string(s.name) + " function " + std::to_string(func));
      SpanContext ctx;
      GlContext *gc = ctx.gc();
      gc->constants.alphaScale = s.scale;
      gc->constants.alphaTestSize = 256;
      gc->constants.alphaTableConv = 255.0f / s.scale;
      gc->state.raster.alphaFunction = func;
      std::vector<bool> expected;
      std::vector<GLfloat> refs;
      for (int i = 0; i < 60; i++) refs.push_back(GLfloat(rng() % 100001) / 100000.0f);
      refs.push_back(0.0f);
      refs.push_back(1.0f);
      for (GLfloat ref : refs) {
        gc->state.raster.alphaReference = ref;
        gc->tableDirtyMask = 0;
        __glValidateAlphaTest(gc);
        ctx.colors()[0].a = ref * s.scale;
        const bool at = func == GL_EQUAL || func == GL_LEQUAL || func == GL_GEQUAL ||
                        func == GL_ALWAYS;
        CheckStage(ctx, __glAlphaTestSpan, __glAlphaTestStippledSpan, {at}, rng);
      }
    }
}

// Indexes: truncated, masked with the draw buffer's index mask, compared
// with the truncated reference. Deep buffers compare above the table
// directly.
TEST(IndexTest, EveryFunctionAgainstMaskedIndexes) {
  struct Setting {
    const char *name;
    uint32_t indexBits;
    uint32_t bufferMask;  // 0: no draw buffer
  } settings[] = {{"8 bits", 8, 0xFF},
                  {"8 bits, no draw buffer", 8, 0},
                  {"4 bits in a buffer of 8", 8, 0x0F},
                  {"16 bits", 16, 0xFFFF},
                  {"24 bits", 24, 0xFFFFFF},
                  {"32 bits", 32, 0xFFFFFFFFu}};
  std::mt19937 rng(41);
  for (const Setting &s : settings)
    for (bool refused : {false, true})
      for (GLenum func : kFunctions)
        for (GLfloat ref : {0.0f, 3.7f, 15.0f, 200.0f, 70000.0f}) {
          SCOPED_TRACE(std::string(s.name) + (refused ? ", no table" : "") + ", function " +
                       std::to_string(func) + " reference " + std::to_string(ref));
          SpanContext ctx;
          GlContext *gc = ctx.gc();
          gc->modes.colorIndexMode = 1;
          gc->modes.indexBits = s.indexBits;
          GlColorBuffer buffer{};
          buffer.redMax = s.bufferMask;
          gc->drawBuffer = s.bufferMask ? &buffer : nullptr;
          const uint32_t mask =
              s.bufferMask ? s.bufferMask
                           : (s.indexBits >= 32 ? ~0u : (1u << s.indexBits) - 1);
          gc->state.raster.indexFunction = func;
          gc->state.raster.indexReference = ref;
          if (refused) CountingImports::failAllocation(1);
          __glValidateIndexTest(gc);
          EXPECT_EQ(gc->indexTestTable == nullptr, refused);
          std::vector<bool> expected;
          size_t k = 0;
          auto add = [&](GLfloat index) {
            ctx.colors()[k++].r = index;
            const uint32_t masked = uint32_t(int32_t(index)) & mask;
            expected.push_back(FuncPasses(func, masked, int64_t(ref)));
          };
          for (int32_t i = 0; i < 300; i++) add(GLfloat(i) + 0.75f);
          for (GLfloat v : {65535.0f, 65536.0f, 70000.0f, 16777215.0f, 1e9f, -1.0f, -300.0f})
            add(v);
          for (int i = 0; i < 200; i++) add(GLfloat(rng() % 100000000));
          CheckStage(ctx, __glIndexTestSpan, __glIndexTestStippledSpan, expected, rng);
        }
}

// The index table is built only in colour-index mode; a refused table is
// asked for again at the next validation; both tables go back to the
// allocator with the context.
TEST(TestTables, AllocationLifeAndRefusal) {
  const int live = CountingImports::live();
  {
    SpanContext ctx;
    GlContext *gc = ctx.gc();
    gc->constants.alphaTestSize = 256;
    gc->modes.indexBits = 8;
    gc->state.raster.indexFunction = GL_ALWAYS;
    gc->state.raster.alphaFunction = GL_ALWAYS;
    __glValidateIndexTest(gc);
    EXPECT_EQ(gc->indexTestTable, nullptr) << "RGBA mode builds no index table";
    gc->modes.colorIndexMode = 1;
    CountingImports::failAllocation(1);
    __glValidateIndexTest(gc);
    EXPECT_EQ(gc->indexTestTable, nullptr);
    __glValidateIndexTest(gc);
    ASSERT_NE(gc->indexTestTable, nullptr);
    uint8_t *index = gc->indexTestTable;
    __glValidateAlphaTest(gc);
    ASSERT_NE(gc->alphaTestTable, nullptr);
    uint8_t *alpha = gc->alphaTestTable;
    // Rebuilt in place.
    gc->state.raster.alphaFunction = GL_NEVER;
    gc->state.raster.indexFunction = GL_NEVER;
    __glValidateAlphaTest(gc);
    __glValidateIndexTest(gc);
    EXPECT_EQ(gc->alphaTestTable, alpha);
    EXPECT_EQ(gc->indexTestTable, index);
    EXPECT_EQ(alpha[17], 0);
    EXPECT_EQ(index[17], 0);
    // A function word outside the eight leaves the table as it was.
    gc->state.raster.alphaFunction = GL_ALWAYS + 1;
    __glValidateAlphaTest(gc);
    EXPECT_EQ(alpha[17], 0);
    __glFreeIndexTestTable(gc);
    EXPECT_EQ(gc->alphaTestTable, nullptr);
    EXPECT_EQ(gc->indexTestTable, nullptr);
  }
  EXPECT_EQ(CountingImports::live(), live);
}

}  // namespace
}  // namespace fragment_stages
