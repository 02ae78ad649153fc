// Register uploads: the changed groups by their dirty bits, every group by
// the working mode, the texture group with its levels, and the scissor,
// each batch after a wait that covers it.
#include <stdio.h>

#include "tests/sis/engine/engine_fixture.h"

namespace {

using sisengine::EngineTest;
using sisengine::Script;

// The texture group's five words with the set-up naming `highest`.
std::string TextureWords(uint32_t highest) {
  char setup[32];
  snprintf(setup, sizeof setup, "%X", (sisengine::Planted(0x8A38) & ~0xF00u) | highest << 8);
  return std::string("w5 8A38=") + setup + " 8A3C 8A40 8A80 8A90";
}

// What each level sends, from the highest level down: its wait, its
// address and, for even levels, its pitch pair.
constexpr const char *kLevelRows[10] = {
    "w2 8A44 8A6C", "w3 8A48",  "w5 8A4C 8A70",  "w6 8A50",  "w8 8A54 8A74",
    "w9 8A58",      "w11 8A5C 8A78", "w12 8A60", "w14 8A64 8A7C", "w15 8A68",
};

std::string TextureGroup(uint32_t highest) {
  std::string s = TextureWords(highest);
  if (highest > 9) return s;
  for (int level = int(highest); level >= 0; --level) s += std::string(" ") + kLevelRows[level];
  return s;
}

class Upload : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    ctx = &NewContext(1);
    PlantWords(*ctx, 0);
  }
  sisengine::HandContext *ctx = nullptr;
};

TEST_F(Upload, ChangedGroupsGoInOrderWithTheirWaits) {
  struct Case {
    uint32_t dirty;
    std::string expected;
  } const cases[] = {
      // The Z group goes with every partial upload.
      {0, "w2 8A04 8A08"},
      {SIS_DIRTY_MODE, "w1 8A00 w2 8A04 8A08"},
      {SIS_DIRTY_Z, "w2 8A04 8A08"},
      {SIS_DIRTY_ALPHA, "w2 8A04 8A08 w2 8A0C 8A10"},
      {SIS_DIRTY_COLOR, "w2 8A04 8A08 w2 8A14 8A18"},
      {SIS_DIRTY_LINE_PATTERN, "w2 8A04 8A08 w1 8A1C"},
      {SIS_DIRTY_FOG, "w2 8A04 8A08 w1 8A20"},
      {SIS_DIRTY_BLEND, "w2 8A04 8A08 w1 8A28"},
      {SIS_DIRTY_CLIP, "w2 8A04 8A08 w2 8A30 8A34"},
      {SIS_DIRTY_TEXTURE, "w2 8A04 8A08 " + TextureGroup(0)},
      {SIS_DIRTY_BLEND | SIS_DIRTY_MODE | SIS_DIRTY_CLIP, "w1 8A00 w2 8A04 8A08 w1 8A28 w2 8A30 8A34"},
      {SIS_DIRTY_FOG | SIS_DIRTY_ALPHA, "w2 8A04 8A08 w2 8A0C 8A10 w1 8A20"},
      {0x37F,
       "w1 8A00 w2 8A04 8A08 w2 8A0C 8A10 w2 8A14 8A18 w1 8A1C w1 8A20 w1 8A28 w2 8A30 8A34 " +
           TextureGroup(0)},
      // Bits that name no group send nothing of their own.
      {0x80 | 0x400 | 0x80000000u, "w2 8A04 8A08"},
  };
  for (const Case &c : cases) {
    ctx->sis()->dirty = c.dirty;
    sis::SetGlobalAttribute(ctx->gc());
    EXPECT_EQ(Log(), Script(c.expected)) << std::hex << c.dirty;
    EXPECT_EQ(ctx->sis()->dirty, c.dirty) << "the lock clears it, not the sender";
  }
}

TEST_F(Upload, EveryGroupGoesByTheWorkingModeBits) {
  struct Case {
    uint32_t mode;
    std::string expected;
  } const cases[] = {
      {0, "w1 8A00 w2 8A14 8A18 w2 8A30 8A34"},
      {SIS_MODE_Z_TEST, "w1 8A00 w2 8A04 8A08 w2 8A14 8A18 w2 8A30 8A34"},
      {SIS_MODE_ALPHA_TEST, "w1 8A00 w2 8A0C 8A10 w2 8A14 8A18 w2 8A30 8A34"},
      {SIS_MODE_LINE_PATTERN, "w1 8A00 w2 8A14 8A18 w1 8A1C w2 8A30 8A34"},
      {SIS_MODE_FOG, "w1 8A00 w2 8A14 8A18 w1 8A20 w2 8A30 8A34"},
      {SIS_MODE_BLEND, "w1 8A00 w2 8A14 8A18 w1 8A28 w2 8A30 8A34"},
      {SIS_MODE_TEXTURE, "w1 8A00 w2 8A14 8A18 w2 8A30 8A34 " + TextureGroup(0)},
      {SIS_MODE_Z_TEST | SIS_MODE_ALPHA_TEST | SIS_MODE_LINE_PATTERN | SIS_MODE_FOG |
           SIS_MODE_BLEND | SIS_MODE_TEXTURE,
       "w1 8A00 w2 8A04 8A08 w2 8A0C 8A10 w2 8A14 8A18 w1 8A1C w1 8A20 w1 8A28 w2 8A30 8A34 " +
           TextureGroup(0)},
      // Other mode bits (dither, Z write, perspective, ...) choose no group.
      {0x1 | 0x20 | 0x100 | 0x200 | 0x200000, "w1 8A00 w2 8A14 8A18 w2 8A30 8A34"},
  };
  for (const Case &c : cases) {
    ctx->sis()->work.mode = c.mode;
    ctx->sis()->dirty = 0;
    sis::RestoreAllAttribute(ctx->gc());
    EXPECT_EQ(Log(), Script(c.expected)) << std::hex << c.mode;
  }
}

TEST_F(Upload, TheTextureGroupSendsLevelsFromTheHighestDown) {
  for (uint32_t highest = 0; highest <= 15; ++highest) {
    PlantWords(*ctx, highest);
    ctx->sis()->dirty = SIS_DIRTY_TEXTURE;
    sis::SetGlobalAttribute(ctx->gc());
    EXPECT_EQ(Log(), Script("w2 8A04 8A08 " + TextureGroup(highest))) << "highest level " << highest;
  }
}

TEST_F(Upload, AHighestLevelAbove9SendsOnlyTheFiveWords) {
  for (uint32_t highest : {10u, 11u, 15u}) {
    PlantWords(*ctx, highest);
    ctx->sis()->work.mode = SIS_MODE_TEXTURE;
    sis::RestoreAllAttribute(ctx->gc());
    EXPECT_EQ(Log(), Script("w1 8A00 w2 8A14 8A18 w2 8A30 8A34 " + TextureWords(highest)))
        << highest;
  }
}

TEST_F(Upload, TheTextureWordsComeFromTheWorkingWords) {
  // The set-up, environment and layout words have no programmed copies: a
  // change of the working word is what goes out.
  ctx->sis()->work.textureEnv = 0x82001234;
  ctx->sis()->work.levelLayout = 0x98800001;
  ctx->sis()->dirty = SIS_DIRTY_TEXTURE;
  sis::SetGlobalAttribute(ctx->gc());
  std::string s = TextureGroup(0);
  s.replace(s.find("8A3C"), 4, "8A3C=82001234");
  s.replace(s.find("8A80"), 4, "8A80=98800001");
  EXPECT_EQ(Log(), Script("w2 8A04 8A08 " + s));
}

TEST_F(Upload, TheScissorGoesAtOnceAfterTwoSlots) {
  struct Case {
    uint32_t x0, y0, x1, y1;
    uint32_t rows, columns;
  } const cases[] = {
      {0, 0, 640, 480, 480, 640},
      {10, 20, 30, 40, (20u << 13) | 40, (10u << 13) | 30},
      {1023, 767, 1024, 768, (767u << 13) | 768, (1023u << 13) | 1024},
  };
  for (const Case &c : cases) {
    sis::SetScissor(ctx->gc(), c.x0, c.y0, c.x1, c.y1);
    EXPECT_EQ(ctx->sis()->work.clipRows, c.rows);
    EXPECT_EQ(ctx->sis()->work.clipColumns, c.columns);
    char script[64];
    snprintf(script, sizeof script, "w2 8A30=%X 8A34=%X", c.rows, c.columns);
    EXPECT_EQ(Log(), Script(script)) << c.x0 << "," << c.y0;
  }
}

TEST_F(Upload, WithoutTheRegisterWindowNothingIsSent) {
  ctx->sis()->mmioBase = nullptr;
  ctx->sis()->dirty = 0x37F;
  ctx->sis()->work.mode = 0xFFFFFFFF;
  sis::SetGlobalAttribute(ctx->gc());
  sis::RestoreAllAttribute(ctx->gc());
  sis::SetScissor(ctx->gc(), 1, 2, 3, 4);
  EXPECT_EQ(ctx->sis()->work.clipRows, (2u << 13) | 4);
  EXPECT_TRUE(Log().empty());
}

}  // namespace
