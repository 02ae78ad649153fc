// InitFnPtrs: the core back end's procedure table, filled once at a
// context's first binding. Slots that name a procedure of their own get it
// here (a stand-in until its subsystem exists); slots that pickers choose
// get an empty procedure, or stay empty where no empty procedure has their
// type, until the validation that ends the first binding picks them.
#include "codegen/og_vertex_shape.h"
#include "core/context.h"
#include "core/s_backend.h"
#include "core/s_nop.h"
#include "core/s_pick.h"
#include "core/s_prim.h"
#include "core/s_validate.h"
#include "geometry/s_clip_param.h"
#include "geometry/s_clipcheck.h"
#include "geometry/s_eval_coord.h"
#include "geometry/s_lighting.h"
#include "geometry/s_pgclip.h"
#include "geometry/s_prim.h"
#include "geometry/s_rect.h"
#include "geometry/s_select.h"
#include "geometry/s_feedback.h"
#include "geometry/s_rpos.h"
#include "geometry/s_varray_pick.h"
#include "geometry/s_vertex_pick.h"
#include "geometry/s_vertex_procs.h"
#include "geometry/s_xform.h"
#include "pixels/px_bitmap.h"
#include "pixels/px_copy_pixels.h"
#include "pixels/px_image_paths.h"
#include "pixels/px_color_table.h"
#include "pixels/px_pack.h"
#include "pixels/px_draw_pixels.h"
#include "pixels/px_read_pixels.h"
#include "pixels/px_rho.h"
#include "pixels/px_span_procs.h"
#include "pixels/px_texgen.h"
#include "raster/s_triangle.h"
#include "raster/s_blend.h"
#include "raster/s_span.h"
#include "raster/s_store.h"

namespace core {

namespace {

template <typename Slot>
void Empty(Slot &slot) {
  slot = __glNopProc<Slot>();
}

void FillPickers(GlProcs &p) {
  p.pickBlendProcs = __glGenericPickBlendProcs;
  p.pickColorMaterialProcs = __glGenericPickColorMaterialProcs;
  p.pickTextureProcs = __glGenericPickTextureProcs;
  p.pickCalcTextureProcs = __glGenericPickCalcTextureProcs;
  p.pickFogProcs = __glGenericPickFogProcs;
  p.pickTransformProcs = __glGenericPickTransformProcs;
  p.pickPointProcs = __glGenericPickPointProcs;
  p.pickLineProcs = __glGenericPickLineProcs;
  p.pickTriangleProcs = __glGenericPickTriangleProcs;
  p.pickRenderBitmapProcs = __glOptPickRenderBitmapProcs;
  p.pickPixelProcs = __glGenericPickPixelProcs;
  p.pickClipProcs = __glGenericPickClipProcs;
  p.pickParameterClipProcs = __glGenericPickParameterClipProcs;
  p.pickBufferProcs = __glGenericPickBufferProcs;
  p.pickStoreProcs = __glGenericPickStoreProcs;
  p.pickSpanProcs = __glGenericPickSpanProcs;
  p.pickVertexProcs = __glGenericPickVertexProcs;
  p.pickVertexArrayProcs = __glGenericPickVertexArrayProcs;
  p.pickMatrixProcs = __glGenericPickMatrixProcs;
  p.pickInvTransposeProcs = __glGenericPickInvTransposeProcs;
  p.pickMvpMatrixProcs = __glGenericPickMvpMatrixProcs;
  p.pickDepthProcs = __glGenericPickDepthProcs;
  p.pickAllProcs = __glGenericPickAllProcs;
}

void FillMatricesAndWindow(GlProcs &p) {
  p.copyMatrix = __glCopyMatrix;
  p.invertTransposeMatrix = __glInvertTransposeMatrix;
  p.makeIdentity = __glMakeIdentity;
  p.multMatrix = __glMultMatrix;
  p.computeInverseTranspose = __glComputeInverseTranspose;
  p.normalize = __glNormalize;
  p.applyScissor = ApplyScissor;
  p.applyViewport = ApplyViewport;
  p.computeClipBox = __glComputeClipBox;
}

// The vertex picker's choice for the default state.
void FillVertexProcs(GlContext *gc) {
  GlProcs &p = gc->procs;
  p.v = gc->modes.rgbMode ? __glSaveC : __glSaveCI;
  for (auto &check : p.clipCheck) check = __glI386ClipCheckFrustum;
  Empty(p.primVertex);
  for (auto &steady : p.primSteady) Empty(steady);
  for (auto &validate : p.validateVertex) validate = __glValidateNothing;
  p.evalCoord[0] = __glDoEvalCoord1;
  p.evalCoord[1] = __glDoEvalCoord2;
  p.calcTexture = __glCalcTexture;
  p.calcTextureBase = __glCalcTexture;
  p.calcRasterPosTexture = __glCalcTexture;
  Empty(p.applyColor);
  Empty(p.calcColor);
  Empty(p.calcLitColor);
  Empty(p.calcRasterPosColor);
  Empty(p.changeMaterial);
  Empty(p.matValidate);
  p.beginPrim[0] = __glBeginPoints;
  p.beginPrim[1] = __glBeginLines;
  p.beginPrim[2] = __glBeginLLoop;
  p.beginPrim[3] = __glBeginLStrip;
  p.beginPrim[4] = __glBeginTriangles;
  p.beginPrim[5] = __glBeginTStrip;
  p.beginPrim[6] = __glBeginTFan;
  p.beginPrim[7] = __glBeginQuads;
  p.beginPrim[8] = __glBeginQStrip;
  p.beginPrim[9] = __glBeginPolygon;
  p.endPrim = __glEndPrim;
}

// Points, lines and triangles: the pickers choose; the generic fill keeps
// the fastcall slots filled. The fast rasterizer's chain slots are read
// only by procedures it installs itself, after filling them.
void FillPrimitiveProcs(GlProcs &p) {
  Empty(p.renderTriangle);
  Empty(p.renderClippedTriangle);
  p.fillTriangle = __glFillTriangle;
  p.fillTriangleUnfogged = __glFillTriangle;
  Empty(p.renderTriangleTrap);
  Empty(p.renderTrianglePicked);
  p.clipTriangle = __glClipTriangle;
  p.clipPolygon = __glClipPolygon;
  Empty(p.polygonClipParam);
  p.rect = __glRect;
  p.span.processSpan = __glPickProcessSpan;
  p.line.processLine = __glNop1;
  Empty(p.renderLine);
  Empty(p.renderLineUnfogged);
  Empty(p.renderLineTrap);
  Empty(p.renderLinePicked);
  Empty(p.clipLine);
  Empty(p.lineClipParam);
  Empty(p.renderTriangleLines);
  Empty(p.renderPoint);
  Empty(p.renderPointUnfogged);
  Empty(p.renderPointTrap);
  Empty(p.renderPointPicked);
  Empty(p.renderTrianglePoints);
}

void FillPixelProcs(GlProcs &p) {
  static const GlPixelSpanProc kReaders[8] = {
      __glSpanReadCI,    __glSpanReadCI2,    __glSpanReadRGBA,    __glSpanReadRGBA2,
      __glSpanReadDepth, __glSpanReadDepth2, __glSpanReadStencil, __glSpanReadStencil2,
  };
  static const GlPixelSpanProc kRenderers[8] = {
      __glSpanRenderCI,    __glSpanRenderCI2,    __glSpanRenderRGBA,    __glSpanRenderRGBA2,
      __glSpanRenderDepth, __glSpanRenderDepth2, __glSpanRenderStencil, __glSpanRenderStencil2,
  };
  for (int i = 0; i < 8; ++i) {
    p.readSpans[i] = kReaders[i];
    p.renderSpans[i] = kRenderers[i];
  }
  p.drawBitmap = __glDrawBitmap;
  p.renderBitmap = __glRenderBitmap;
  p.texRho = __glNopLineRho;
  p.calcPolygonRho = __glNopPolygonRho;
  Empty(p.texture);
  Empty(p.textureRaster);
  p.drawPixels = __glOptPickDrawPixels;
  p.copyPixels = __glSlowPickCopyPixels;
  p.readPixels = __glSlowPickReadPixels;
  p.pickCopyImage = __glGenericPickCopyImage;
  p.pickStoreTexture = __glGenericPickStoreTexture;
  p.pickGetTexture = __glGenericPickGetTexture;
  p.pickReadImage = __glGenericPickReadImage;
  Empty(p.pixel.drawPixelsStore);
  Empty(p.store);
  Empty(p.cfbStore);
  p.rasterPos[0] = __glRasterPos2;
  p.rasterPos[1] = __glRasterPos3;
  p.rasterPos[2] = __glRasterPos4;
  p.convertStipple = __glConvertStipple;
  p.colorTableEXT = __glColorTableEXT;
  p.colorSubTableEXT = __glColorSubTableEXT;
}

}  // namespace

// The arena slots were filled by early initialisation and stay.
void InitFnPtrs(GlContext *gc) {
  GlProcs &p = gc->procs;
  p.flush = Flush;
  p.finish = Finish;
  p.waitIdle = WaitIdle;
  p.validate = __glGenericValidate;
  FillPickers(p);
  FillMatricesAndWindow(p);
  FillVertexProcs(gc);
  FillPrimitiveProcs(p);
  FillPixelProcs(p);
}

}  // namespace core
