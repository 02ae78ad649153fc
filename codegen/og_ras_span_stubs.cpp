// Stand-in for the MMX body, until its own generator lands. It declares the
// words the setup writes, so a compacted layout and the setup agree, and
// ends the triangle at once.
#include "codegen/og_ras_walk.h"

namespace og_raster {

void BuildMMXRasterizer(Gen &g) {
  DeclareSetupWords(g);
  g.E(mov(g.gc, eax, g.V(1)));
  g.E(jmpi(g.gc, g.Abs(&g.gc->setupContinuation)));
}

}  // namespace og_raster
