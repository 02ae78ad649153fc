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

typedef struct SceneViewEntry {
  const char *name;
  SceneView draw;
} SceneViewEntry;

inline constexpr SceneViewEntry kSceneViews[] = {
    {"primitives", DrawPrimitivesScene}, {"torus", DrawTorusScene},
    {"cutaway", DrawCutawayScene},       {"fog", DrawFogScene},
    {"stencil", DrawStencilScene},       {"clears", DrawClearsScene},
    {"textured", DrawTexturedScene},
};

// The view of that name; null when there is none.
inline SceneView SceneFindView(const char *name) {
  for (const SceneViewEntry &v : kSceneViews)
    if (strcmp(v.name, name) == 0) return v.draw;
  return nullptr;
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
} SceneEntry;

inline constexpr SceneEntry kScenes[] = {
    {"primitives", 1, {{"primitives", 0, 0, 100, 100}}},
    {"torus", 1, {{"torus", 0, 0, 100, 100}}},
    {"cutaway", 1, {{"cutaway", 0, 0, 100, 100}}},
    {"fog", 1, {{"fog", 0, 0, 100, 100}}},
    {"stencil", 1, {{"stencil", 0, 0, 100, 100}}},
    {"textured", 1, {{"textured", 0, 0, 100, 100}}},
    // Three overlapping windows, each with its own context: the clears
    // window covers a corner of the torus window, and both cover the fog.
    {"windows",
     3,
     {{"fog", 0, 0, 100, 100}, {"torus", 6, 8, 56, 58}, {"clears", 40, 36, 94, 92}}},
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
