// The line stipple stage: each pixel takes the pattern bit in force, and
// the position in the pattern runs on from line to line until primitive
// assembly restarts it.
#include "core/context.h"
#include "raster/s_line.h"
#include "raster/s_span_tests.h"

namespace {

struct StippleWalker {
  GlLineMachine &l;
  uint32_t pattern;
  int32_t repeat;

  bool Test() {
    const bool on = (pattern >> (l.stippleBit & 15)) & 1u;
    if (++l.stippleRepeatCount >= repeat) {
      l.stippleBit = (l.stippleBit + 1) & 15;
      l.stippleRepeatCount = 0;
    }
    return on;
  }
  void Skip() {}
  void EndWord() {}
};

}  // namespace

GLbool8 __glStippleLine(GlContext *gc) {
  const GlLineState &state = gc->state.line;
  StippleWalker walker{gc->line, state.stipple, state.stippleRepeat < 1 ? 1 : state.stippleRepeat};
  return span_tests::RunWords<false>(gc, walker);
}
