#include "tests/geometry/lighting/light_fixture.h"

#include <gtest/gtest.h>
#include <math.h>
#include <stdlib.h>
#include <string.h>

#include "core/s_context.h"
#include "core/s_context_steps.h"
#include "core/s_nop.h"
#include "geometry/s_lcache.h"
#include "geometry/s_lighting.h"
#include "geometry/s_xform.h"
#include "tests/support/counting_imports.h"

LightContext::LightContext(const LightSetup &setup) : liveBefore_(CountingImports::live()) {
  const GlImports &imports = CountingImports::imports;
  gc_ = static_cast<GlContext *>(imports.calloc(nullptr, 1, sizeof(GlContext)));
  GlContext *gc = gc_;
  gc->imports = imports;
  gc->renderMode = GL_RENDER;
  gc->modes.rgbMode = !setup.colorIndex;
  gc->modes.colorIndexMode = setup.colorIndex;
  gc->modes.indexBits = setup.indexBits;

  GlConstants &k = gc->constants;
  k.half = 0.5f;
  k.one = 1.0f;
  k.uIntMax = 4294964992.0f;
  k.oneOverUIntMax = 1.0f / k.uIntMax;
  k.numberOfLights = 8;
  k.numberOfClipPlanes = 6;
  k.maxModelViewStackDepth = 32;
  k.maxProjectionStackDepth = 2;
  k.maxTextureStackDepth = 10;
  k.cpuFlags = setup.cpu;
  k.redScale = setup.red, k.greenScale = setup.green;
  k.blueScale = setup.blue, k.alphaScale = setup.alpha;
  k.oneOverRedScale = 1.0f / k.redScale, k.oneOverGreenScale = 1.0f / k.greenScale;
  k.oneOverBlueScale = 1.0f / k.blueScale, k.oneOverAlphaScale = 1.0f / k.alphaScale;

  GlProcs &p = gc->procs;
  p.copyMatrix = __glCopyMatrix;
  p.invertTransposeMatrix = __glInvertTransposeMatrix;
  p.makeIdentity = __glMakeIdentity;
  p.multMatrix = __glMultMatrix;
  p.computeInverseTranspose = __glComputeInverseTranspose;
  p.normalize = __glNormalize;
  p.pickMatrixProcs = __glGenericPickMatrixProcs;
  p.pickInvTransposeProcs = __glGenericPickInvTransposeProcs;
  p.pickMvpMatrixProcs = __glGenericPickMvpMatrixProcs;
  p.pickVertexProcs = __glNop1;

  gc->state.light.source =
      static_cast<GlLight *>(imports.calloc(gc, k.numberOfLights, sizeof(GlLight)));
  gc->light.lightCaches =
      static_cast<GlLightCache *>(imports.calloc(gc, k.numberOfLights, sizeof(GlLightCache)));
  if (!gc->state.light.source || !gc->light.lightCaches || !__glEarlyInitTransformState(gc))
    abort();
  __glInitTransformState(gc);
  __glResetStateGroups(gc);
  __glContextSetColorScales(gc);
  __glInitLUTCache(gc);
}

LightContext::~LightContext() {
  __glDestroyContext(gc_);
  CountingImports::imports.free(nullptr, gc_);
  CountingImports::failAllocation(0);
  if (checkBlocks_) {
    EXPECT_EQ(CountingImports::live(), liveBefore_) << "every block and table reference given back";
  }
}

void LightContext::setEnable(uint32_t bit, bool on) {
  uint32_t &general = gc_->state.enables.general;
  general = on ? general | bit : general & ~bit;
}

void LightContext::setModelView(const GLfloat m[16]) {
  GlTransform *mv = gc_->transform.modelView;
  memcpy(mv->matrix.matrix, m, sizeof mv->matrix.matrix);
  mv->matrix.matrixType = __GL_MT_GENERAL;
  mv->stale = 1;
}

void LightContext::validate() {
  gc_->dirtyMask |= __GL_DIRTY_LIGHTING;
  __glValidateLighting(gc_);
  gc_->dirtyMask = 0;
}

std::vector<int> LightContext::enabledList() const {
  std::vector<int> list;
  for (GlLightCache *lc = gc_->light.sources; lc && list.size() <= 8; lc = lc->next)
    list.push_back(int(lc - gc_->light.lightCaches));
  return list;
}

void LightContext::expectTableReferencesBalanced() const {
  const GlSpecLUTCache *tables = gc_->light.lutCache;
  ASSERT_NE(tables, nullptr);
  for (int32_t e = 0; e < tables->count; e++) {
    const GlSpecLUT *lut = tables->entries[e].table;
    int holders = 1;
    for (int i = 0; i < gc_->constants.numberOfLights; i++) holders += cache(i).spotLut == lut;
    for (int face = 0; face < 2; face++) holders += materialCache(face).specLut == lut;
    EXPECT_EQ(lut->refcount, holders) << "table of exponent " << lut->exponent;
  }
}

bool Near(double got, double want, double tolerance) {
  double bound = tolerance * (fabs(want) > 1.0 ? fabs(want) : 1.0);
  return fabs(got - want) <= bound;
}
