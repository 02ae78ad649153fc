// The pickers of the matrix procedures: the stack variants of the current
// matrix mode, and the transform procedures a matrix's type allows.
#include "core/context.h"
#include "geometry/s_xform.h"

namespace {

// By type: general, affine, 2D, 2D without rotation; the identity takes the
// 2D-without-rotation forms, so it is transformed, not copied. Without
// 3DNow! the general and affine matrices take the x87 forms for three and
// four components.
struct XformSet {
  GlXformProc xf2, xf3, xf4;
};
const XformSet kMatrixProcs[] = {
    {__glXForm2, __glI386XForm3, __glI386XForm4},
    {__glXForm2_W, __glI386XForm3_W, __glI386XForm4_W},
    {__glXForm2_2DW, __glXForm3_2DW, __glXForm4_2DW},
    {__glXForm2_2DNRW, __glXForm3_2DNRW, __glXForm4_2DNRW},
    {__glXForm2_2DNRW, __glXForm3_2DNRW, __glXForm4_2DNRW},
};
const XformSet kK3DMatrixProcs[] = {
    {__glK3DXForm2, __glK3DXForm3, __glK3DXForm4},
    {__glK3DXForm2_W, __glK3DXForm3_W, __glK3DXForm4_W},
    {__glK3DXForm2_2DW, __glK3DXForm3_2DW, __glK3DXForm4_2DW},
    {__glK3DXForm2_2DNRW, __glK3DXForm3_2DNRW, __glK3DXForm4_2DNRW},
    {__glK3DXForm2_2DNRW, __glK3DXForm3_2DNRW, __glK3DXForm4_2DNRW},
};

// Normals go through xf3. A general inverse transpose reads the normal's
// fourth component (the plane term) too.
const GlXformProc kInvTransposeXf3[] = {
    __glXForm4, __glXForm3_W, __glXForm3_2DW, __glXForm3_2DNRW, __glXForm3_2DNRW,
};
const GlXformProc kK3DInvTransposeXf3[] = {
    __glK3DXForm4, __glK3DXForm3_W, __glK3DXForm3_2DW, __glK3DXForm3_2DNRW, __glK3DXForm3_2DNRW,
};

bool HasK3D(const GlContext *gc) { return (gc->constants.cpuFlags & __GL_CPU_K3D) != 0; }

// Types beyond the identity do not occur; read as general, which assumes
// nothing.
uint32_t KnownType(uint32_t type) { return type <= __GL_MT_IDENTITY ? type : __GL_MT_GENERAL; }

}  // namespace

void __glGenericPickMatrixProcs(GlContext *gc, GlMatrix *m) {
  const XformSet &set = (HasK3D(gc) ? kK3DMatrixProcs : kMatrixProcs)[KnownType(m->matrixType)];
  m->xf2 = set.xf2;
  m->xf3 = set.xf3;
  m->xf4 = set.xf4;
}

void __glGenericPickInvTransposeProcs(GlContext *gc, GlMatrix *m) {
  // Clip planes need the fourth column whatever the type.
  m->xf4 = __glXForm4;
  m->xf3 = (HasK3D(gc) ? kK3DInvTransposeXf3 : kInvTransposeXf3)[KnownType(m->matrixType)];
}

void __glGenericPickMvpMatrixProcs(GlContext *gc, GlMatrix *m) {
  uint32_t modelView = gc->transform.modelView->matrix.matrixType;
  uint32_t projection = gc->transform.projection->matrix.matrixType;
  m->matrixType = modelView < projection ? modelView : projection;
  gc->procs.pickMatrixProcs(gc, m);
  // The clip checks depend on the composite.
  gc->procs.pickVertexProcs(gc);
}

void __glGenericPickTransformProcs(GlContext *gc) {
  switch (gc->state.transform.matrixMode) {
    case GL_PROJECTION:
      gc->procs.pushMatrix = __glPushProjectionMatrix;
      gc->procs.popMatrix = __glPopProjectionMatrix;
      gc->procs.loadIdentity = __glLoadIdentityProjectionMatrix;
      break;
    case GL_TEXTURE:
      gc->procs.pushMatrix = __glPushTextureMatrix;
      gc->procs.popMatrix = __glPopTextureMatrix;
      gc->procs.loadIdentity = __glLoadIdentityTextureMatrix;
      break;
    default:
      gc->procs.pushMatrix = __glPushModelViewMatrix;
      gc->procs.popMatrix = __glPopModelViewMatrix;
      gc->procs.loadIdentity = __glLoadIdentityModelViewMatrix;
      break;
  }
}
