// The line processors: the picked stages run over the run in gc->line,
// switching to the stippled list once a stage has written the stipple
// words, and the repeat procedures that run the tail once per row of a
// wide line or once per colour buffer.
#include <string.h>

#include "core/context.h"
#include "raster/s_line.h"

namespace {

bool IsTrue(GLbool8 result) { return (result & 0xFF) != 0; }

// Runs stages [from, to) the way every processor does. stippled: whether
// the words are already written. False when the run ended (every pixel
// rejected); *stippled tells which list the survivors continue with.
bool RunStages(GlContext *gc, int32_t from, int32_t to, bool *stippled) {
  const GlLineProcs &procs = gc->procs.line;
  GlShader &sh = gc->polygon.shader;
  for (int32_t i = from; i < to; i++) {
    if (*stippled) {
      const GlSpanProc stage = procs.stippledLineFuncs[i];
      if (stage && IsTrue(stage(gc))) return false;
    } else if (IsTrue(procs.lineFuncs[i](gc))) {
      if (sh.done) return false;
      *stippled = true;
    }
  }
  return true;
}

void RunEnd(GlContext *gc, bool stippled) {
  const GlLineProcs &procs = gc->procs.line;
  const GlSpanProc end = stippled ? procs.stippledLineEnd : procs.lineEnd;
  if (end) end(gc);
}

void RunFinal(GlContext *gc, bool stippled) {
  const GlLineProcs &procs = gc->procs.line;
  const GlSpanProc last = stippled ? procs.stippledLineFinal : procs.lineFinal;
  if (last) last(gc);
}

int32_t StippleWords(const GlShader &sh) {
  const int32_t length = sh.length < 0 ? 0 : sh.length;
  const int32_t words = (length + 31) / 32;
  return words < GL_SPAN_STIPPLE_WORDS ? words : GL_SPAN_STIPPLE_WORDS;
}

// The colours the per-buffer stages overwrite (a colour index lives in the
// first float), kept for the second buffer.
struct SavedColors {
  GlColor colors[GL_SPAN_PIXELS];
  int32_t count;
  bool rgba;

  explicit SavedColors(const GlShader &sh) {
    count = sh.length < 0 ? 0 : sh.length < GL_SPAN_PIXELS ? sh.length : GL_SPAN_PIXELS;
    rgba = (sh.modeFlags & __GL_SHADE_RGB) != 0;
    if (rgba)
      memcpy(colors, sh.spanColors, size_t(count) * sizeof(GlColor));
    else
      for (int32_t i = 0; i < count; i++) colors[i].r = sh.spanColors[i].r;
  }
  void Restore(GlShader *sh) const {
    if (rgba)
      memcpy(sh->spanColors, colors, size_t(count) * sizeof(GlColor));
    else
      for (int32_t i = 0; i < count; i++) sh->spanColors[i].r = colors[i].r;
  }
};

struct SavedWords {
  uint32_t words[GL_SPAN_STIPPLE_WORDS];
  int32_t count;
  SavedWords(const GlShader &sh, bool keep) : count(keep ? StippleWords(sh) : 0) {
    memcpy(words, sh.stipplePat, size_t(count) * sizeof(uint32_t));
  }
  void Restore(GlShader *sh) const {
    memcpy(sh->stipplePat, words, size_t(count) * sizeof(uint32_t));
  }
};

// The store stages once into the front buffer and once into the back, from
// the same colours (and stipple words); a pass whose pixels are all
// rejected ends that pass only.
template <bool kStippled>
GLbool8 DrawBoth(GlContext *gc) {
  GlShader &sh = gc->polygon.shader;
  const GlLineProcs &procs = gc->procs.line;
  const SavedColors colors(sh);
  const SavedWords words(sh, kStippled);
  GlColorBuffer *const buffers[2] = {gc->front, gc->back};
  for (int pass = 0; pass < 2; pass++) {
    if (pass == 1) {
      colors.Restore(&sh);
      words.Restore(&sh);
    }
    sh.cfb = buffers[pass];
    sh.done = 0;
    if (!sh.cfb) continue;
    bool stippled = kStippled;
    RunStages(gc, procs.storeIndex, procs.count, &stippled);
  }
  sh.cfb = gc->drawBuffer;
  sh.done = 0;
  return 0;
}

}  // namespace

void __glProcessLine(GlContext *gc) {
  GlShader &sh = gc->polygon.shader;
  sh.cfb = gc->drawBuffer;
  sh.done = 0;
  bool stippled = false;
  if (!RunStages(gc, 0, gc->procs.line.startReplicate, &stippled)) return;
  RunEnd(gc, stippled);
}

// The common three-stage list (scissor, shading, store) without a loop.
void __glProcessLine3NW(GlContext *gc) {
  GlShader &sh = gc->polygon.shader;
  const GlLineProcs &procs = gc->procs.line;
  sh.cfb = gc->drawBuffer;
  sh.done = 0;
  if (IsTrue(procs.lineFuncs[0](gc))) {
    if (sh.done) return;
    if (IsTrue(procs.stippledLineFuncs[1](gc))) return;
    procs.stippledLineFuncs[2](gc);
    return;
  }
  if (!IsTrue(procs.lineFuncs[1](gc))) {
    procs.lineFuncs[2](gc);
    return;
  }
  if (sh.done) return;
  procs.stippledLineFuncs[2](gc);
}

// Rows of a wide line: the per-row stages and the final procedure, the
// start moved one pixel across the major axis after each row.
GLbool8 __glWideLineRep(GlContext *gc) {
  GlShader &sh = gc->polygon.shader;
  GlLineMachine &l = gc->line;
  const GlLineProcs &procs = gc->procs.line;
  for (int32_t row = 0; row < l.width; row++) {
    sh.done = 0;
    bool stippled = false;
    if (RunStages(gc, procs.startReplicate, procs.storeIndex, &stippled)) RunFinal(gc, stippled);
    if (l.majorAxis == 0)
      l.yStart++;
    else
      l.xStart++;
  }
  sh.done = 0;
  return 0;
}

GLbool8 __glWideStippleLineRep(GlContext *gc) {
  GlShader &sh = gc->polygon.shader;
  GlLineMachine &l = gc->line;
  const GlLineProcs &procs = gc->procs.line;
  const SavedWords words(sh, true);
  for (int32_t row = 0; row < l.width; row++) {
    if (row > 0) words.Restore(&sh);
    sh.done = 0;
    bool stippled = true;
    if (RunStages(gc, procs.startReplicate, procs.storeIndex, &stippled)) RunFinal(gc, true);
    if (l.majorAxis == 0)
      l.yStart++;
    else
      l.xStart++;
  }
  sh.done = 0;
  return 0;
}

GLbool8 __glDrawBothLine(GlContext *gc) { return DrawBoth<false>(gc); }
GLbool8 __glDrawBothStippledLine(GlContext *gc) { return DrawBoth<true>(gc); }
