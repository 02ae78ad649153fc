// The sample scenes through the whole road, as an application draws them:
// windows on a 16-bit screen, a double-buffered RGBA format with depth and
// stencil from ChoosePixelFormat, a context per window through the loader and
// the driver, SwapBuffers, and the screen read back.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "tools/scene_list.h"

// Where the scenes' region lies on the screen.
inline constexpr int32_t kSceneRegionX = 32, kSceneRegionY = 24;

// What a rendered scene took, the format its windows got and who drew it.
typedef struct SceneFrame {
  double milliseconds;  // from the first GL call to the last SwapBuffers
  int32_t depthBits, stencilBits;
  // GL_VENDOR and GL_RENDERER of the last window's context, cut to fit: a
  // comparison of two drivers means something only when each drew.
  char vendor[16], renderer[32];
  // What the chip's drawing model executed for the scene (none on the
  // software-only device): primitives and 2D fills drawn, and the pixels
  // they stored.
  uint32_t primitives, fills, pixelsWritten;
  // Pixels of a window that changed while a window below it drew: drawing
  // must stay out of what covers it.
  uint32_t coveredChanged;
} SceneFrame;

// Sets the 16-bit display mode, large enough for a region of `width` x
// `height` at the region's place; false when the platform refuses it.
bool SceneRoadSetDisplay(int32_t width, int32_t height);

// Opens the scene's windows bottom to top, draws each (the top one first, so
// the lower ones draw around the windows that cover them; a threaded scene's
// upper windows all at once), swaps (a front-buffer view is not swapped),
// and reads
// the region back through the bottom window, which spans it: width x height
// pixels, 0xAARRGGBB, top row first. False with the reason in `why` when a
// step fails; everything opened is gone again either way.
bool SceneRoadRender(const SceneEntry &scene, int32_t width, int32_t height, uint32_t *argb,
                     SceneFrame *frame, char *why, size_t whySize);
