// Stand-ins for the span code of the routines outside spanlet mode and for
// the MMX body, until their own generators land. They declare the words
// the setup writes, so a compacted layout and the setup agree; the x86 span
// stand-ins draw nothing, the MMX one ends the triangle at once.
#include "codegen/og_ras_walk.h"

namespace og_raster {

void flatspan(Gen &g) { DeclareSetupWords(g); }

void span(Gen &g) { DeclareSetupWords(g); }

void BuildMMXRasterizer(Gen &g) {
  DeclareSetupWords(g);
  g.E(mov(g.gc, eax, g.V(1)));
  g.E(jmpi(g.gc, g.Abs(&g.gc->setupContinuation)));
}

}  // namespace og_raster
