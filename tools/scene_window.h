// A window in memory for the benchmarks and for the scenes' reference: a
// drawable in malloc'd memory (front and back buffers, 5-6-5 unless asked
// otherwise, depth, 8-bit stencil) and a context of the core's creator bound
// to it, with no loader, driver library or window system in between.
#pragma once

#include <stdint.h>

#include "core/context.h"
#include "wgl/wgl_drawable.h"

typedef struct SceneWindow {
  GlDrawable drawable;
  GlModes modes;
  GlContext *gc;
  // The whole window, uncovered: drawing into the front buffer writes only
  // the pixels the window owns.
  GlRect visible;
} SceneWindow;

// Allocates the buffers (depth of `depthBits`: 16-bit words up to 16 bits,
// 32-bit words above), creates the context and makes it current on the
// calling thread; false (with everything released) on failure. One window
// at a time. Rows run bottom-up, as in memory drawables.
bool SceneWindowOpenDepth(SceneWindow *window, int32_t width, int32_t height, uint32_t depthBits);
// The same with the depth and stencil bits of a window's pixel format (no
// stencil buffer for 0) and the row order: top-down rows run from the top of
// the window, as the screen's do.
bool SceneWindowOpenFormat(SceneWindow *window, int32_t width, int32_t height,
                           uint32_t depthBits, uint32_t stencilBits, bool topDown);
// The colour buffers of SceneWindowOpenColor.
typedef enum SceneColor {
  kSceneRgb565,
  kSceneRgb332,
  kSceneXrgb8,
  kSceneIndex8,
  kSceneRgb555,
  kSceneColorCount
} SceneColor;
// SceneWindowOpenDepth with front and back buffers of another format.
bool SceneWindowOpenColor(SceneWindow *window, int32_t width, int32_t height, SceneColor color,
                          uint32_t depthBits);
// Releases and destroys the context, then the buffers.
void SceneWindowClose(SceneWindow *window);
// The back buffer's 5-6-5 pixels, top row first (width x height).
void SceneWindowRead565(const SceneWindow *window, uint16_t *pixels);
// The same of the front buffer, which a front-buffer view draws into.
void SceneWindowReadFront565(const SceneWindow *window, uint16_t *pixels);
