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
  // channels are all 0 or 1, which both paths store exactly; a half channel
  // lands a unit apart (the chip takes 8-bit colours), and under
  // (GL_ONE, GL_ONE) that unit and the source's own would add up to two.
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
