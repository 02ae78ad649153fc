// A case timed in the memory window: a context of the core's creator bound
// to a 5-6-5 window with depth and stencil, no loader in between.
#pragma once

#include <stdint.h>
#include <stdio.h>

#include "bench/bench_gl.h"
#include "bench/bench_timer.h"
#include "tools/scene_window.h"

namespace bench {

// Opens a width x height window with a depth buffer of `depthBits`, calls
// `prepare` to set the state, then times `batch` (see TimeRuns) into
// `median`. False, with a line on stderr naming the program and the case,
// when no context could be had or GL raised an error.
template <typename Prepare, typename Batch>
bool TimeInWindow(const char *program, const char *name, int32_t width, int32_t height,
                  uint32_t depthBits, double seconds, Prepare prepare, Batch batch,
                  RunTotals *median) {
  SceneWindow window;
  if (!SceneWindowOpenDepth(&window, width, height, depthBits)) {
    fprintf(stderr, "%s: %s: no context could be made and bound\n", program, name);
    return false;
  }
  prepare();
  const RunTotals timed = TimeRuns(seconds, batch);
  const GLenum error = glGetError();
  SceneWindowClose(&window);
  if (error != GL_NO_ERROR) {
    fprintf(stderr, "%s: %s: GL error 0x%X\n", program, name, error);
    return false;
  }
  *median = timed;
  return true;
}

}  // namespace bench
