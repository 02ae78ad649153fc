// The SiS 6326 drawing model's texture registers and texel memory: texel
// fetch, the pitch codes, non-local levels, levels read only within their
// own size, the violations of the texture rules, and texture surfaces met
// by unfired work or released under a level address (rules A1, A5, A6,
// E3, F1, F2, F6).
#include <cmath>
#include <functional>
#include <string>

#include "tests/platform/chip_model/model_texture_support.h"

namespace {

using modeltest::Level;
using modeltest::TexVertex;
using modeltest::TextureState;
using Strings = std::vector<std::string>;

std::string At(const char *rule, uint32_t position) { return std::string(rule) + "@" + std::to_string(position); }

class Textures : public modeltest::TextureModelTest {};

uint32_t Unique(int col, int row) { return 0x80000000u | uint32_t(row) << 16 | uint32_t(col) << 8 | uint32_t(col ^ row); }

TEST_F(Textures, F2_AHandFilledLevelReadsBackTexelByTexel) {
  const modeltest::Target &t = MakeTarget(8, 8, 32);
  std::vector<Level> level = MakeTexture(8);
  Fill(level[0], Unique);
  TextureState state;
  state.widthLog2 = state.heightLog2 = 3;
  // Texel centres one to one, by triangles and by points.
  DrawInto(t, modeltest::kModeTexture);
  Texture(state, level);
  TexRect(0, 0, 8, 8, 0, 0, 1, 1);
  Fire();
  std::vector<uint32_t> pixels = Read(t);
  for (int j = 0; j < 8; ++j)
    for (int i = 0; i < 8; ++i) EXPECT_EQ(pixels[size_t(j * 8 + i)], Unique(i, j)) << i << ", " << j;
  Write(t, 0);
  for (int j = 0; j < 8; ++j)
    for (int i = 0; i < 8; ++i) TexPoint({float(i), float(j), (i + 0.5f) / 8, (j + 0.5f) / 8});
  Fire();
  EXPECT_EQ(Read(t), pixels);
}

TEST_F(Textures, F1_PitchCodesDecodeBackToTheirPitches) {
  struct Case {
    uint32_t pitch, code;
  } const cases[] = {{4, 0x000}, {8, 0x080}, {48, 0x101}, {256, 0x300}, {4096, 0x500}};
  const modeltest::Target &t = MakeTarget(2, 2, 32);
  std::vector<Level> level = MakeTexture(64);  // 16 KB: room for two rows of 4096 bytes
  Fill(level[0], [](int col, int row) { return 0xFF000000u | uint32_t(row * 64 + col); });
  for (const Case &c : cases) {
    ASSERT_EQ(modeltest::PitchCode(c.pitch), c.code) << c.pitch;
    // A level one texel wide and two high: its second texel lies one pitch on.
    Level narrow = level[0];
    narrow.pitch = int(c.pitch);
    TextureState state;
    state.heightLog2 = 1;
    DrawInto(t, modeltest::kModeTexture);
    Texture(state, {narrow});
    TexPoint({0, 0, 0.5f, 0.75f});
    Fire();
    EXPECT_EQ(Read(t)[0], 0xFF000000u | c.pitch / 4) << "pitch " << c.pitch;
  }
}

TEST_F(Textures, A1_LevelsMarkedNonLocalAreReadFromThePool) {
  const modeltest::Target &t = MakeTarget(8, 8, 32);
  std::vector<Level> far = MakeTexture(8, 1, true);
  ASSERT_TRUE(far[0].nonLocal);
  Fill(far[0], Unique);
  TextureState state;
  state.widthLog2 = state.heightLog2 = 3;
  DrawInto(t, modeltest::TextureMode(far));
  Texture(state, far);
  TexPoint({1, 2, 5.5f / 8, 6.5f / 8});
  Fire();
  EXPECT_EQ(Read(t)[2 * 8 + 1], Unique(5, 6));
  // Level 0 local, level 1 non-local: a minified triangle reads level 1 from the pool.
  std::vector<Level> near = MakeTexture(8);
  Fill(near[0], [](int, int) { return 0xFF0000FFu; });
  std::vector<Level> small = MakeTexture(4, 1, true);
  Fill(small[0], [](int, int) { return 0xFF00FF00u; });
  std::vector<Level> mixed = {near[0], small[0]};
  state.filter = 2;  // nearest mipmap nearest
  state.highest = 1;
  Write(t, 0);
  DrawInto(t, modeltest::TextureMode(mixed));
  Texture(state, mixed);
  TexRect(0, 0, 4, 4, 0, 0, 2, 2);  // four texels a pixel: rho 16, level 1
  Fire();
  EXPECT_EQ(Read(t)[1 * 8 + 1], 0xFF00FF00u);
}

// Each texture state no rule defines is reported with its rule and
// position, and its primitive draws nothing.
TEST_F(Textures, E3_F1_F2_TextureStatesOutsideTheRulesAreReported) {
  const modeltest::Target &t = MakeTarget(4, 4, 32);
  std::vector<Level> level = MakeTexture(8, 3);  // levels 8, 4 and 2 wide
  std::vector<Level> far = MakeTexture(4, 1, true);
  Fill(level[0], [](int, int) { return 0xFFFFFFFFu; });
  struct Case {
    const char *what, *rule;
    std::function<void()> spoil;
    bool triangle = false;
  };
  auto setup = [&](uint32_t bits, uint32_t clear = 0) {
    return [=, this] {
      TextureState s;
      s.widthLog2 = s.heightLog2 = 3;
      Texture(s, level);
      Reg(modeltest::kTextureSetup, ((1u << 16 | 1u << 17 | 0x73u << 24) & ~clear) | bits);
    };
  };
  const Case cases[] = {
      {"mode bit 10 missing on a point", "E3", [&] { Reg(modeltest::kMode, 0); }},
      {"mode bit 10 missing on a triangle", "E3", [&] { Reg(modeltest::kMode, 0); }, true},
      {"environment code 0x05", "E3", [&] { Reg(modeltest::kEnvironment, 0x05u << 24); }},
      {"environment code 0x1F", "E3", [&] { Reg(modeltest::kEnvironment, 0x1Fu << 24); }},
      {"alpha replace with format 0x74", "E3",
       [&] { setup(0x74u << 24, 0xFFu << 24)(), Reg(modeltest::kEnvironment, 0x04u << 24); }},
      {"alpha modulate with format 0x74", "E3",
       [&] { setup(0x74u << 24, 0xFFu << 24)(), Reg(modeltest::kEnvironment, 0x06u << 24); }},
      {"texel format 0x51", "F2", setup(0x51u << 24, 0xFFu << 24)},
      {"minification filter 6", "F1", setup(6)},
      {"minification filter 7", "F1", setup(7)},
      {"highest level 10", "F1", setup(10u << 8)},
      {"s wrap both repeat and clamp", "F1", setup(1u << 20)},
      {"t wrap neither", "F1", setup(0, 1u << 17)},
      {"a non-local level with 0x8A38 bit 5 clear", "F1",
       [&] {
         Reg(modeltest::kMode, modeltest::kModeTexture | modeltest::kModeNonLocal);
         Texture(TextureState{0, false, 0, false, false, 0x73, 0, 2, 2}, far);
         Reg(modeltest::kTextureSetup, 1u << 16 | 1u << 17 | 0x73u << 24);
       }},
      {"a non-local level with mode bit 5 clear", "F1",
       [&] { Texture(TextureState{0, false, 0, false, false, 0x73, 0, 2, 2}, far); }},
      {"0x8A38 bit 5 without non-local levels", "F1", setup(1u << 5)},
      {"level 0 pitch below four times its width", "F1", [&] { Reg(modeltest::kLevelPitches, 0x080u << 16); }},
      {"level 1 pitch (low half) below four times its width", "F1",
       [&] { setup(2u | 1u << 8)(), Reg(modeltest::kLevelPitches, 0x180u << 16 | 0x000u); }},
      {"level 2 pitch (high half of the next pair) below four times its width", "F1",
       [&] { setup(2u | 2u << 8)(), Reg(modeltest::kLevelPitches + 4, 0x0u); }},
  };
  for (const Case &c : cases) {
    Write(t, 0);
    DrawInto(t, modeltest::kModeTexture);
    setup(0)();
    c.spoil();
    uint32_t at = Next() + 1;
    if (c.triangle)
      TexRect(0, 0, 4, 4, 0, 0, 1, 1);
    else
      TexPoint({1, 1, 0.5f, 0.5f});
    Fire();
    Strings expected = {At(c.rule, at)};
    if (c.triangle) expected.push_back(At(c.rule, at + 2));  // after the second queue wait
    EXPECT_EQ(modeltest::TakeViolations(), expected) << c.what;
    EXPECT_EQ(Read(t)[5], 0u) << c.what << ": nothing drawn";
  }
  // The same state unspoilt draws, with level 2's pitch exactly four times its width.
  DrawInto(t, modeltest::kModeTexture);
  setup(2u | 2u << 8)();
  Reg(modeltest::kLevelPitches + 4, 0x080u << 16);
  TexPoint({1, 1, 0.5f, 0.5f});
  Fire();
  EXPECT_EQ(Read(t)[5], 0xFFFFFFFFu);
}

TEST_F(Textures, F3_TextureWordsThatAreNotFiniteAreReportedWhereTheyCount) {
  const modeltest::Target &t = MakeTarget(4, 4, 32);
  std::vector<Level> level = MakeTexture(4);
  Fill(level[0], [](int, int) { return 0xFFFFFFFFu; });
  TextureState state;
  state.widthLog2 = state.heightLog2 = 2;
  DrawInto(t, modeltest::kModeTexture | modeltest::kModePerspective);
  Texture(state, level);
  uint32_t at = Next() + 1;
  TexPoint({1, 1, NAN, 0.5f});
  TexTriangle({0, 0, 0, 0}, {3, 0, 1, 0, INFINITY}, {0, 3, 0, 1});
  Fire();
  EXPECT_EQ(modeltest::TakeViolations(), (Strings{At("F3", at), At("F3", at + 2)}));
  EXPECT_EQ(Read(t), std::vector<uint32_t>(16, 0u));
  // q is ignored by points, and by triangles without mode bit 9.
  TexPoint({3, 3, 0.5f, 0.5f, NAN});
  Reg(modeltest::kMode, modeltest::kModeTexture);
  TexTriangle({0, 0, 0, 0}, {3, 0, 1, 0, INFINITY}, {0, 3, 0, 1});
  Fire();
  EXPECT_EQ(Read(t)[15], 0xFFFFFFFFu) << "the point";
  EXPECT_EQ(Read(t)[5], 0xFFFFFFFFu) << "the triangle";
}

TEST_F(Textures, A6_ALevelInsideAReleasedTextureSurfaceIsReportedAndDrawsNothing) {
  const modeltest::Target &t = MakeTarget(4, 4, 32);
  for (bool nonLocal : {false, true}) {
    std::vector<Level> level = MakeTexture(4, 1, nonLocal);
    Fill(level[0], [](int, int) { return 0xFFFFFFFFu; });
    TextureState state;
    state.widthLog2 = state.heightLog2 = 2;
    Write(t, 0);
    DrawInto(t, modeltest::TextureMode(level));
    Texture(state, level);
    ddtest::Release(level[0].surface);
    uint32_t at = Next() + 1;
    TexPoint({1, 1, 0.5f, 0.5f});
    TexRect(0, 0, 4, 4, 0, 0, 1, 1);
    Fire();
    EXPECT_EQ(modeltest::TakeViolations(), (Strings{At("A6", at), At("A6", at + 2), At("A6", at + 4)}))
        << (nonLocal ? "non-local" : "local");
    std::vector<uint32_t> pixels = Read(t);
    EXPECT_EQ(pixels, std::vector<uint32_t>(16, 0u)) << "nothing drawn";
  }
}

TEST_F(Textures, A5_QueuedTexturedWorkMeetsTheLockBlitOrReleaseOfItsTexture) {
  const modeltest::Target &t = MakeTarget(4, 4, 32);
  std::vector<Level> chain = MakeTexture(8, 3);
  std::vector<Level> far = MakeTexture(8, 1, true);
  std::vector<Level> unrelated = MakeTexture(8);
  TextureState state;
  state.widthLog2 = state.heightLog2 = 3;
  DDSURFACEDESC locked;
  auto queue = [&](const std::vector<Level> &levels, uint32_t filter, int highest) {
    state.filter = filter;
    state.highest = highest;
    DrawInto(t, modeltest::TextureMode(levels));
    Texture(state, levels);
    uint32_t at = Next() + 1;
    TexRect(0, 0, 4, 4, 0, 0, 1, 1);
    return at;
  };
  auto lock = [&](const Level &l) {
    ASSERT_EQ(ddtest::Lock(l.surface, nullptr, &locked), DD_OK);
    ddtest::Unlock(l.surface, nullptr);
  };
  // Unrelated textures, and levels a filter never reads, are not met.
  uint32_t at = queue(chain, 0, 2);
  lock(unrelated[0]);
  lock(chain[1]);
  EXPECT_TRUE(modeltest::TakeViolations().empty()) << "filter 0 reads level 0 alone";
  lock(chain[0]);
  EXPECT_EQ(modeltest::TakeViolations(), (Strings{At("A5", at), At("A5", at + 2)}));
  // A mipmap filter reads every level up to n.
  at = queue(chain, 5, 2);
  lock(chain[2]);
  EXPECT_EQ(modeltest::TakeViolations(), (Strings{At("A5", at), At("A5", at + 2)}));
  // A non-local level, met by a blit.
  at = queue(far, 0, 0);
  ASSERT_EQ(ddtest::Copy(unrelated[0].surface, nullptr, far[0].surface, nullptr), DD_OK);
  EXPECT_EQ(modeltest::TakeViolations(), (Strings{At("A5", at), At("A5", at + 2)}));
  // A queued textured triangle, then the release of its texture.
  at = queue(far, 0, 0);
  ddtest::Release(far[0].surface);
  EXPECT_EQ(modeltest::TakeViolations(), (Strings{At("A5", at), At("A5", at + 2)}));
  Fire();
  EXPECT_TRUE(modeltest::TakeViolations().empty()) << "reported work is dropped";
}

// A 64 x 16 texture padded into square surfaces: whatever the filter, wrap
// and level, no texel of the padding is read.
TEST_F(Textures, F6_PaddingOfASquareSurfaceIsNeverRead) {
  const modeltest::Target &t = MakeTarget(128, 64, 32);
  std::vector<Level> level = MakeTexture(64, 2);
  constexpr uint32_t kMarker = 0xFFFF0000u;  // the only texels with red
  for (int i = 0; i < 2; ++i) {
    int rows = 16 >> i;
    Fill(level[size_t(i)], [&](int col, int row) {
      return row < rows ? 0xFF000000u | uint32_t(col * 4) << 8 | uint32_t(row * 16) : kMarker;
    });
  }
  struct Case {
    const char *what;
    uint32_t filter;
    bool magnifyLinear, clamp;
    float span;  // texture repeats across the target
  } const cases[] = {
      {"nearest repeat", 0, false, false, 3},   {"linear repeat", 1, true, false, 3},
      {"linear clamp", 1, true, true, 3},       {"magnified linear clamp", 1, true, true, 0.25f},
      {"linear mipmap linear", 5, true, false, 2.25f}, {"nearest mipmap linear clamp", 4, false, true, 2.25f},
  };
  for (const Case &c : cases) {
    Write(t, 0);
    TextureState state;
    state.filter = c.filter;
    state.magnifyLinear = c.magnifyLinear;
    state.clampS = state.clampT = c.clamp;
    state.highest = c.filter >= 2 ? 1 : 0;
    state.widthLog2 = 6;
    state.heightLog2 = 4;
    DrawInto(t, modeltest::kModeTexture);
    Texture(state, level);
    TexRect(0, 0, 128, 64, -c.span / 3, -c.span / 3, c.span, c.span);
    Fire();
    int covered = 0;
    for (uint32_t p : Read(t)) {
      ASSERT_EQ(p & 0x00FF0000u, 0u) << c.what << ": a padding texel shows";
      covered += p != 0;
    }
    EXPECT_GT(covered, 128 * 64 / 4) << c.what;
  }
}

}  // namespace
