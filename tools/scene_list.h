// The sample scenes: each draws one whole frame (clear included) into the
// current context's back buffer, which is `width` x `height` pixels.
#pragma once

#include <stdint.h>

typedef struct SceneEntry {
  const char *name;  // also the picture's file name, less ".png"
  void (*draw)(int32_t width, int32_t height);
} SceneEntry;

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

inline constexpr SceneEntry kScenes[] = {
    {"primitives", DrawPrimitivesScene}, {"torus", DrawTorusScene},
    {"cutaway", DrawCutawayScene},       {"fog", DrawFogScene},
    {"stencil", DrawStencilScene},
};
