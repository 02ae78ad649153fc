// Spanlet mode: each step of the chain goes into the successor slot of the
// one before it, starting at fillTriangleSpan.
#include "codegen/og_fr.h"
#include "core/context.h"
#include "core/gl_assert.h"
#include "fastraster/fr_chain.h"
#include "fastraster/fr_combine.h"
#include "fastraster/fr_genclr.h"
#include "fastraster/fr_genpix.h"
#include "fastraster/fr_pick_work.h"
#include "fastraster/fr_spanlets.h"
#include "fastraster/fr_stencil.h"
#include "fastraster/fr_store.h"
#include "raster/s_shader.h"

namespace {

typedef FrSpanletProc GlProcs::*Slot;

class Chain {
 public:
  explicit Chain(GlProcs &p) : p_(p) {}
  void Append(FrSpanletProc spanlet, Slot after) {
    p_.*next_ = spanlet;
    next_ = after;
  }
  void End(FrSpanletProc spanlet) { p_.*next_ = spanlet; }

 private:
  GlProcs &p_;
  Slot next_ = &GlProcs::fillTriangleSpan;
};

}  // namespace

void FrBuildChain(GlContext *gc, const FrSwitches &sw, const FrPick &pick) {
  GlProcs &p = gc->procs;
  const uint32_t F = pick.flags;
  const uint8_t type = pick.type;
  Chain chain(p);
  if (!gc->transform.viewportInside) chain.Append(__glGenMask, &GlProcs::afterMask);
  if (F & __GL_SHADE_STIPPLE) chain.Append(__glGenStipple, &GlProcs::afterStipple);
  bool colors = false;
  const bool alphaTest = pick.rgba && (F & __GL_SHADE_ALPHA_TEST);
  const bool indexTest = !pick.rgba && (F & __GL_SHADE_INDEX_TEST);
  if (alphaTest || indexTest) {
    chain.Append(__glGenColorTab[type][pick.colorKey], &GlProcs::afterColors);
    colors = true;
    if (alphaTest) chain.Append(__glFRAlphaTest, &GlProcs::afterAlphaTest);
    else chain.Append(__glFRIndexTest, &GlProcs::afterIndexTest);
  }
  const bool stencil = (F & __GL_SHADE_STENCIL_TEST) != 0;
  if (stencil) {
    const GlStencilState &s = gc->state.stencil;
    chain.Append(__glFRStencilTest, &GlProcs::afterStencilTest);
    p.stencilOpSFail = __glFRPickStencilOpProc(s.fail);
    p.stencilOpZFail = __glFRPickStencilOpProc(s.depthFail);
    p.stencilOpZPass = __glFRPickStencilOpProc(s.depthPass);
    __GL_ASSERT(p.stencilOpSFail, "gc->procs.stencilOpSFail", "fr_pick");
    __GL_ASSERT(p.stencilOpZFail, "gc->procs.stencilOpZFail", "fr_pick");
    __GL_ASSERT(p.stencilOpZPass, "gc->procs.stencilOpZPass", "fr_pick");
  }
  if ((F & __GL_SHADE_DEPTH_TEST) &&
      (gc->state.depth.writeEnable || gc->state.depth.testFunc != GL_ALWAYS))
    chain.Append(reinterpret_cast<FrSpanletProc>(OGGenerateZT(gc)), &GlProcs::afterDepthTest);
  if (stencil) chain.Append(__glFRStencilPostDepthCleanup, &GlProcs::afterStencilCleanup);
  if (pick.nullStore) {
    chain.End(__glNullSpanlet);
  } else if (pick.combine || pick.genericStore) {
    if (!colors) chain.Append(__glGenColorTab[type][pick.colorKey], &GlProcs::afterColors);
    if (pick.genericStore) {
      const FrSpanletProc storeProc = __glStoreTab[type];
      __GL_ASSERT(storeProc, "storeProc", "fr_pick");
      if (gc->drawBoth) {
        p.doubleStoreSpan = storeProc;
        chain.End(__glFRDoubleStore);
      } else {
        chain.End(storeProc);
      }
    } else {
      chain.End(__glCombineTab[type][pick.combineKey]);
    }
  } else {
    chain.End(__glGenPixTab[type][pick.colorKey]);
  }
  if (sw.nullSpanlets) p.fillTriangleSpan = __glNullSpanlet;
}
