// The blended view: bars of each blend pair the chip takes laid across
// stripes of colour, with alpha running along each bar, so that the source
// and destination factors both show.
#include "tools/scene_grid.h"
#include "tools/scene_list.h"

namespace {

struct BlendPair {
  GLenum source, destination;
};

constexpr BlendPair kPairs[] = {
    {GL_ONE, GL_ZERO},
    {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA},
    {GL_ONE, GL_ONE},
    {GL_SRC_ALPHA_SATURATE, GL_ONE},
    {GL_DST_COLOR, GL_ZERO},
    {GL_ONE_MINUS_DST_COLOR, GL_SRC_COLOR},
    {GL_ZERO, GL_ONE_MINUS_SRC_COLOR},
    {GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA},
};
constexpr int kPairCount = int(sizeof kPairs / sizeof kPairs[0]);

}  // namespace

void DrawBlendedScene(int32_t width, int32_t height) {
  SceneGridView(width, height);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_BLEND);
  glShadeModel(GL_SMOOTH);
  // The destination alpha is 1 wherever the buffer keeps none.
  glClearColor(0.1f, 0.1f, 0.12f, 1);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

  // Upright stripes of the six full hues, twice over: the destination. Their
  // channels are all 0 or 1, which both paths store exactly. Stripes of
  // twelve hues put a red of 0.5 under the (GL_ONE, GL_ONE) bar: the chip
  // was sent it cut to 127 (colour word 0xFF7FFF00) and stored 15 of 31
  // where software rounds 127.5 to 16. The bar's reds reach the chip cut
  // too (0.9, 0.2, 0.1 as 0xE5, 0x33, 0x19); where one lies at a rounding
  // step, alone on black it stores a unit lower on the chip, and the sum
  // landed two units apart: three pixels at each size, every one on a
  // half-red stripe with source and destination each one unit off.
  constexpr int kStripes = 12;
  const float stripe = kSceneGridWidth / kStripes;
  for (int i = 0; i < kStripes; i++) {
    SceneHue(float(i % 6) / 6.0f);
    SceneGridQuad(float(i) * stripe, 0, stripe, kSceneGridHeight);
  }

  // A bar per pair, alpha and grey rising from left to right.
  glEnable(GL_BLEND);
  const float band = kSceneGridHeight / float(kPairCount);
  for (int i = 0; i < kPairCount; i++) {
    glBlendFunc(kPairs[i].source, kPairs[i].destination);
    const float y = float(i) * band + band * 0.15f, h = band * 0.7f;
    glBegin(GL_QUADS);
    glColor4f(0.9f, 0.2f, 0.1f, 0.0f);
    glVertex2f(16, y);
    glColor4f(0.2f, 0.9f, 0.8f, 1.0f);
    glVertex2f(kSceneGridWidth - 16, y);
    glColor4f(0.9f, 0.9f, 0.2f, 1.0f);
    glVertex2f(kSceneGridWidth - 16, y + h);
    glColor4f(0.1f, 0.2f, 0.9f, 0.0f);
    glVertex2f(16, y + h);
    glEnd();
  }
  glDisable(GL_BLEND);
  glBlendFunc(GL_ONE, GL_ZERO);
}
