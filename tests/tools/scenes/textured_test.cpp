// The textured scene through the road shows its textures, which the
// comparisons with the core in memory cannot tell (both would lose a
// texture alike): the sign's rings in the colours of its table, the mirror
// ball's sky above its ground, the floor's two checker colours near the eye
// and, towards the horizon, the grey their mipmap levels average to.
#include <stdlib.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/vlxdesktop.h"
#include "tools/scene_road.h"

namespace {

constexpr int32_t kWidth = 320, kHeight = 240;

struct Rgb {
  int r, g, b;
};

Rgb At(const std::vector<uint32_t> &argb, int32_t x, int32_t y) {
  const uint32_t p = argb[size_t(y) * kWidth + size_t(x)];
  return {int(p >> 16 & 0xFF), int(p >> 8 & 0xFF), int(p & 0xFF)};
}

// Within the 5-6-5 screen's step of the colour.
bool Near(const Rgb &a, const Rgb &b) {
  return abs(a.r - b.r) <= 8 && abs(a.g - b.g) <= 4 && abs(a.b - b.b) <= 8;
}

// Whether some pixel of the rectangle is near the colour.
bool Shows(const std::vector<uint32_t> &argb, int32_t x0, int32_t y0, int32_t x1, int32_t y1,
           const Rgb &c) {
  for (int32_t y = y0; y < y1; y++)
    for (int32_t x = x0; x < x1; x++)
      if (Near(At(argb, x, y), c)) return true;
  return false;
}

class TexturedScene : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv("VLX_GL_DRIVER");
    const SceneEntry *scene = nullptr;
    for (const SceneEntry &s : kScenes)
      if (std::string(s.name) == "textured") scene = &s;
    ASSERT_NE(scene, nullptr);
    ASSERT_TRUE(SceneRoadSetDisplay(kWidth, kHeight));
    argb.assign(size_t(kWidth) * kHeight, 0);
    SceneFrame frame;
    char why[256] = "";
    ASSERT_TRUE(SceneRoadRender(*scene, kWidth, kHeight, argb.data(), &frame, why, sizeof why))
        << why;
  }
  void TearDown() override { EXPECT_TRUE(DesktopSetDisplayMode(16, 1024, 768)); }
  std::vector<uint32_t> argb;
};

TEST_F(TexturedScene, TheSignShowsItsTableColours) {
  const Rgb kRings[] = {{250, 250, 250}, {230, 40, 40}, {250, 150, 30},
                        {250, 230, 40},  {60, 190, 70}, {40, 120, 230}};
  for (const Rgb &c : kRings)
    EXPECT_TRUE(Shows(argb, 175, 75, 245, 145, c)) << c.r << ", " << c.g << ", " << c.b;
}

TEST_F(TexturedScene, TheBallMirrorsSkyAboveGround) {
  const Rgb sky = At(argb, 112, 85), ground = At(argb, 112, 118);
  EXPECT_GT(sky.b, sky.r + 40) << sky.r << ", " << sky.g << ", " << sky.b;
  EXPECT_GT(ground.r, ground.b + 30) << ground.r << ", " << ground.g << ", " << ground.b;
}

TEST_F(TexturedScene, TheFloorIsCheckeredNearAndGreyAtTheHorizon) {
  EXPECT_TRUE(Shows(argb, 0, 225, kWidth, kHeight, {235, 225, 200}));
  EXPECT_TRUE(Shows(argb, 0, 225, kWidth, kHeight, {40, 60, 90}));
  // Far off, a pixel covers many squares: neither colour, but their blend.
  int grey = 0;
  for (int32_t x = 0; x < 60; x++) {
    const Rgb c = At(argb, x, 107);
    grey += c.r > 110 && c.r < 170 && abs(c.r - c.b) < 30 && abs(c.g - c.b) < 30;
  }
  EXPECT_GT(grey, 40);
}

}  // namespace
