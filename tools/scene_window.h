// The scene tool's window: a drawable in malloc'd memory (5-6-5 front and
// back buffers, 24-bit depth in 32-bit words, 8-bit stencil) and a context of
// the core's creator bound to it. It stands in until the scenes go through
// the loader, the driver and the device.
#pragma once

#include <stdint.h>

#include "core/context.h"
#include "wgl/wgl_drawable.h"

typedef struct SceneWindow {
  GlDrawable drawable;
  GlModes modes;
  GlContext *gc;
} SceneWindow;

// Allocates the buffers, creates the context and makes it current on the
// calling thread; false (with everything released) on failure. One window
// at a time.
bool SceneWindowOpen(SceneWindow *window, int32_t width, int32_t height);
// The same with a depth buffer of `depthBits` (16: 16-bit words; more: 32-bit
// words), for the benchmarks that compare depth sizes.
bool SceneWindowOpenDepth(SceneWindow *window, int32_t width, int32_t height, uint32_t depthBits);
// Releases and destroys the context, then the buffers.
void SceneWindowClose(SceneWindow *window);
// The back buffer as 8-bit RGB, top row first (width x height x 3 bytes).
void SceneWindowReadRgb(const SceneWindow *window, uint8_t *rgb);
