// The sample scenes. A view draws one whole frame (clear included) into the
// current context's back buffer of `width` x `height` pixels. A scene is one
// or more windows, each showing a view, laid out in a region of the screen:
// the first window fills the region and lies at the bottom, each later one
// lies on top of those before it.
#pragma once

#include <stdint.h>
#include <string.h>

typedef void (*SceneView)(int32_t width, int32_t height);

// Smooth and flat triangles, strips, fans, quads and polygons, depth-tested.
void DrawPrimitivesScene(int32_t width, int32_t height);
// Two linked tori lit by two lights, back faces culled.
void DrawTorusScene(int32_t width, int32_t height);
// A sphere opened by a user clip plane, lit on both sides, and a box with
// decals drawn through polygon offset.
void DrawCutawayScene(int32_t width, int32_t height);
// A fogged floor and pillars running from behind the eye, through the near
// plane, into the distance.
void DrawFogScene(int32_t width, int32_t height);
// A stencilled star, polygon stipple, a scissored disk and an alpha-tested
// flower.
void DrawStencilScene(int32_t width, int32_t height);
// Nested scissored colour clears, and a scissored depth clear that hides a
// band of a smooth triangle.
void DrawClearsScene(int32_t width, int32_t height);
// A mipmapped checkerboard floor running to the horizon, a sphere-mapped
// mirror ball and a sign with a paletted texture.
void DrawTexturedScene(int32_t width, int32_t height);
// A cell per base texture format and environment, mipmapped, blended over
// stripes.
void DrawTextureFormatsScene(int32_t width, int32_t height);
// Bars of each blend pair across stripes of colour.
void DrawBlendedScene(int32_t width, int32_t height);
// A disk with alpha round its rim under each alpha function.
void DrawAlphaTestScene(int32_t width, int32_t height);
// Lines in every octant, stippled and not, a loop, a strip and points.
void DrawLinesScene(int32_t width, int32_t height);
// Smooth wedges and lines drawn straight into the front buffer.
void DrawFrontScene(int32_t width, int32_t height);

typedef struct SceneViewEntry {
  const char *name;
  SceneView draw;
  bool front;  // draws into the front buffer and is not swapped
} SceneViewEntry;

inline constexpr SceneViewEntry kSceneViews[] = {
    {"primitives", DrawPrimitivesScene, false},
    {"torus", DrawTorusScene, false},
    {"cutaway", DrawCutawayScene, false},
    {"fog", DrawFogScene, false},
    {"stencil", DrawStencilScene, false},
    {"clears", DrawClearsScene, false},
    {"textured", DrawTexturedScene, false},
    {"texformats", DrawTextureFormatsScene, false},
    {"blended", DrawBlendedScene, false},
    {"alphatest", DrawAlphaTestScene, false},
    {"lines", DrawLinesScene, false},
    {"front", DrawFrontScene, true},
};

// The view entry of that name; null when there is none.
inline const SceneViewEntry *SceneFindViewEntry(const char *name) {
  for (const SceneViewEntry &v : kSceneViews)
    if (strcmp(v.name, name) == 0) return &v;
  return nullptr;
}

// The view of that name; null when there is none.
inline SceneView SceneFindView(const char *name) {
  const SceneViewEntry *v = SceneFindViewEntry(name);
  return v ? v->draw : nullptr;
}

// A window of a scene: its view and its edges in hundredths of the region's
// width (left, right) and height (top, bottom, from the region's top).
typedef struct ScenePlace {
  const char *view;
  int16_t left, top, right, bottom;
} ScenePlace;

inline constexpr int kSceneWindowsMax = 3;

typedef struct SceneEntry {
  const char *name;  // also the picture's file name, less ".png"
  int32_t windowCount;
  ScenePlace windows[kSceneWindowsMax];
  // The windows above the first are drawn each by a thread of its own, all
  // at once, before the first; they must not overlap one another.
  bool threaded;
} SceneEntry;

// The lines view is not a scene yet: at 83 x 61 one pixel at a line's end
// differs from the software path.
inline constexpr SceneEntry kScenes[] = {
    {"primitives", 1, {{"primitives", 0, 0, 100, 100}}, false},
    {"torus", 1, {{"torus", 0, 0, 100, 100}}, false},
    {"cutaway", 1, {{"cutaway", 0, 0, 100, 100}}, false},
    {"fog", 1, {{"fog", 0, 0, 100, 100}}, false},
    {"stencil", 1, {{"stencil", 0, 0, 100, 100}}, false},
    {"textured", 1, {{"textured", 0, 0, 100, 100}}, false},
    {"texformats", 1, {{"texformats", 0, 0, 100, 100}}, false},
    {"alphatest", 1, {{"alphatest", 0, 0, 100, 100}}, false},
    {"blended", 1, {{"blended", 0, 0, 100, 100}}, false},
    // Three overlapping windows, each with its own context: the clears
    // window covers a corner of the torus window, and both cover the fog.
    {"windows",
     3,
     {{"fog", 0, 0, 100, 100}, {"torus", 6, 8, 56, 58}, {"clears", 40, 36, 94, 92}},
     false},
    // A window drawn in its front buffer under one drawn after it: the
    // window above keeps its pixels.
    {"front", 2, {{"front", 0, 0, 100, 100}, {"clears", 30, 25, 80, 75}}, false},
    // Two windows side by side, drawn by two threads at once.
    {"threads",
     3,
     {{"fog", 0, 0, 100, 100}, {"torus", 4, 10, 48, 90}, {"texformats", 52, 10, 96, 90}},
     true},
};

// The reference lays each window's pixels into the region unchecked, and the
// screen is read back through the first window: every window must lie inside
// the region and the first must span it.
constexpr bool SceneWindowsFitTheRegion() {
  for (const SceneEntry &s : kScenes) {
    if (s.windowCount < 1 || s.windowCount > kSceneWindowsMax) return false;
    const ScenePlace &first = s.windows[0];
    if (first.left != 0 || first.top != 0 || first.right != 100 || first.bottom != 100)
      return false;
    for (int32_t i = 0; i < s.windowCount; i++) {
      const ScenePlace &p = s.windows[i];
      if (p.left < 0 || p.top < 0 || p.right > 100 || p.bottom > 100 || p.left >= p.right ||
          p.top >= p.bottom)
        return false;
      // Threads draw at once: what one draws must not depend on the other.
      for (int32_t k = 1; s.threaded && i > 0 && k < i; k++) {
        const ScenePlace &q = s.windows[k];
        if (p.left < q.right && q.left < p.right && p.top < q.bottom && q.top < p.bottom)
          return false;
      }
    }
  }
  return true;
}
static_assert(SceneWindowsFitTheRegion());

// A window's client rectangle in pixels, relative to the region's top left.
typedef struct SceneRect {
  int32_t x, y, width, height;
} SceneRect;

inline SceneRect ScenePlaceRect(const ScenePlace &place, int32_t regionWidth,
                                int32_t regionHeight) {
  const int32_t left = regionWidth * place.left / 100, right = regionWidth * place.right / 100;
  const int32_t top = regionHeight * place.top / 100;
  const int32_t bottom = regionHeight * place.bottom / 100;
  return {left, top, right - left, bottom - top};
}
