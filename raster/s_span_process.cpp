// The span processors: run the picked stage lists over the span in
// gc->polygon.shader, switching to the stippled list once a stage has
// written the stipple words.
#include <string.h>

#include "core/context.h"
#include "raster/s_shader.h"
#include "raster/s_span.h"

namespace {

// The widest span the pipeline carries (the largest viewport).
constexpr int32_t kMaxSpan = 2048;

bool IsTrue(GLbool8 result) { return (result & 0xFF) != 0; }

// The colours the per-buffer stages overwrite, kept for the second buffer.
// A colour index lives in the first float only.
struct SavedColors {
  GlColor colors[kMaxSpan];
  int32_t count;
  bool rgba;
};

void SaveColors(const GlShader &sh, SavedColors *saved) {
  int32_t count = sh.length < 0 ? 0 : sh.length;
  if (count > kMaxSpan) count = kMaxSpan;
  saved->count = count;
  saved->rgba = (sh.modeFlags & __GL_SHADE_RGB) != 0;
  if (saved->rgba) {
    memcpy(saved->colors, sh.spanColors, size_t(count) * sizeof(GlColor));
  } else {
    for (int32_t i = 0; i < count; ++i) saved->colors[i].r = sh.spanColors[i].r;
  }
}

void RestoreColors(GlShader *sh, const SavedColors &saved) {
  if (saved.rgba) {
    memcpy(sh->spanColors, saved.colors, size_t(saved.count) * sizeof(GlColor));
  } else {
    for (int32_t i = 0; i < saved.count; ++i) sh->spanColors[i].r = saved.colors[i].r;
  }
}

// Runs stages [from, to) of `list` until one answers TRUE; gives the index
// after that stage, or -1 when none did.
int32_t RunUntilTrue(GlContext *gc, const GlSpanProc *list, int32_t from, int32_t to) {
  for (int32_t i = from; i < to;)
    if (IsTrue(list[i++](gc))) return i;
  return -1;
}

// Runs stages [from, to) of `list` once for the front buffer and once,
// from the same source colours, for the back buffer.
void RunTailPerBuffer(GlContext *gc, const GlSpanProc *list, int32_t from, int32_t to) {
  GlShader &sh = gc->polygon.shader;
  SavedColors saved;
  SaveColors(sh, &saved);
  sh.cfb = gc->front;
  for (int32_t i = from; i < to; ++i) list[i](gc);
  RestoreColors(&sh, saved);
  sh.cfb = gc->back;
  for (int32_t i = from; i < to; ++i) list[i](gc);
}

}  // namespace

GLbool8 __glProcessSpan(GlContext *gc) {
  const GlSpanProcs &procs = gc->procs.span;
  gc->polygon.shader.done = 0;
  const int32_t next = RunUntilTrue(gc, procs.spanFuncs, 0, procs.m);
  if (next < 0 || gc->polygon.shader.done) return 0;
  RunUntilTrue(gc, procs.stippledSpanFuncs, next, procs.m);
  return 0;
}

GLbool8 __glProcessReplicateSpan(GlContext *gc) {
  const GlSpanProcs &procs = gc->procs.span;
  gc->polygon.shader.done = 0;
  const int32_t next = RunUntilTrue(gc, procs.spanFuncs, 0, procs.n);
  if (next < 0) {
    RunTailPerBuffer(gc, procs.spanFuncs, procs.n, procs.m);
    return 0;
  }
  if (gc->polygon.shader.done) return 0;
  if (RunUntilTrue(gc, procs.stippledSpanFuncs, next, procs.n) >= 0) return 0;
  RunTailPerBuffer(gc, procs.stippledSpanFuncs, procs.n, procs.m);
  return 0;
}
