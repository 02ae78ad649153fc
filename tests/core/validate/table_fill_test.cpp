// The core back end's procedure table after the first binding: every slot
// that names its own procedure holds it, whatever validation then picked.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/s_backend.h"
#include "core/s_pick.h"
#include "core/s_prim.h"
#include "core/s_validate.h"
#include "geometry/s_clip_param.h"
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
#include "geometry/s_xform.h"
#include "pixels/px_bitmap.h"
#include "pixels/px_copy_pixels.h"
#include "pixels/px_image_paths.h"
#include "pixels/px_read_pixels.h"
#include "pixels/px_color_table.h"
#include "pixels/px_pack.h"
#include "pixels/px_draw_pixels.h"
#include "pixels/px_span_procs.h"
#include "raster/s_blend.h"
#include "raster/s_span.h"
#include "raster/s_store.h"
#include "tests/core/validate/validate_fixture.h"

namespace validate_test {
namespace {

template <typename P>
const void *Address(P proc) {
  return reinterpret_cast<const void *>(proc);
}

struct Slot {
  std::string name;
  const void *held;
  const void *expected;
};

// A slot by its field name, with the procedure it must hold.
#define SLOT(field, proc) \
  { #field, Address(p.field), Address(proc) }

std::vector<Slot> NamedSlots(const GlProcs &p) {
  std::vector<Slot> slots = {
      SLOT(flush, core::Flush),
      SLOT(finish, core::Finish),
      SLOT(waitIdle, core::WaitIdle),
      SLOT(validate, __glGenericValidate),
      SLOT(pickBlendProcs, __glGenericPickBlendProcs),
      SLOT(pickColorMaterialProcs, __glGenericPickColorMaterialProcs),
      SLOT(pickTextureProcs, __glGenericPickTextureProcs),
      SLOT(pickCalcTextureProcs, __glGenericPickCalcTextureProcs),
      SLOT(pickFogProcs, __glGenericPickFogProcs),
      SLOT(pickTransformProcs, __glGenericPickTransformProcs),
      SLOT(pickPointProcs, __glGenericPickPointProcs),
      SLOT(pickLineProcs, __glGenericPickLineProcs),
      SLOT(pickTriangleProcs, __glGenericPickTriangleProcs),
      SLOT(pickRenderBitmapProcs, __glOptPickRenderBitmapProcs),
      SLOT(pickPixelProcs, __glGenericPickPixelProcs),
      SLOT(pickClipProcs, __glGenericPickClipProcs),
      SLOT(pickParameterClipProcs, __glGenericPickParameterClipProcs),
      SLOT(pickBufferProcs, __glGenericPickBufferProcs),
      SLOT(pickStoreProcs, __glGenericPickStoreProcs),
      SLOT(pickSpanProcs, __glGenericPickSpanProcs),
      SLOT(pickVertexProcs, __glGenericPickVertexProcs),
      SLOT(pickVertexArrayProcs, __glGenericPickVertexArrayProcs),
      SLOT(pickMatrixProcs, __glGenericPickMatrixProcs),
      SLOT(pickInvTransposeProcs, __glGenericPickInvTransposeProcs),
      SLOT(pickMvpMatrixProcs, __glGenericPickMvpMatrixProcs),
      SLOT(pickDepthProcs, __glGenericPickDepthProcs),
      SLOT(pickAllProcs, __glGenericPickAllProcs),
      SLOT(copyMatrix, __glCopyMatrix),
      SLOT(invertTransposeMatrix, __glInvertTransposeMatrix),
      SLOT(makeIdentity, __glMakeIdentity),
      SLOT(multMatrix, __glMultMatrix),
      SLOT(computeInverseTranspose, __glComputeInverseTranspose),
      SLOT(normalize, __glNormalize),
      SLOT(applyScissor, core::ApplyScissor),
      SLOT(applyViewport, core::ApplyViewport),
      SLOT(computeClipBox, __glComputeClipBox),
      SLOT(evalCoord[0], __glDoEvalCoord1),
      SLOT(evalCoord[1], __glDoEvalCoord2),
      SLOT(endPrim, __glEndPrim),
      SLOT(clipTriangle, __glClipTriangle),
      SLOT(clipPolygon, __glClipPolygon),
      SLOT(rect, __glRect),
      SLOT(drawBitmap, __glDrawBitmap),
      SLOT(drawPixels, __glOptPickDrawPixels),
      SLOT(copyPixels, __glSlowPickCopyPixels),
      SLOT(readPixels, __glSlowPickReadPixels),
      SLOT(pickCopyImage, __glGenericPickCopyImage),
      SLOT(pickStoreTexture, __glGenericPickStoreTexture),
      SLOT(pickGetTexture, __glGenericPickGetTexture),
      SLOT(pickReadImage, __glGenericPickReadImage),
      SLOT(rasterPos[0], __glRasterPos2),
      SLOT(rasterPos[1], __glRasterPos3),
      SLOT(rasterPos[2], __glRasterPos4),
      SLOT(convertStipple, __glConvertStipple),
      SLOT(colorTableEXT, __glColorTableEXT),
      SLOT(colorSubTableEXT, __glColorSubTableEXT),
  };
  const void *begins[10] = {Address(__glBeginPoints),    Address(__glBeginLines),
                            Address(__glBeginLLoop),     Address(__glBeginLStrip),
                            Address(__glBeginTriangles), Address(__glBeginTStrip),
                            Address(__glBeginTFan),      Address(__glBeginQuads),
                            Address(__glBeginQStrip),    Address(__glBeginPolygon)};
  for (int mode = 0; mode < 10; ++mode)
    slots.push_back(
        {"beginPrim[" + std::to_string(mode) + "]", Address(p.beginPrim[mode]), begins[mode]});
  // Read CI, CI2, RGBA, RGBA2, Depth, Depth2, Stencil, Stencil2, then
  // render in the same order.
  const void *readers[8] = {Address(__glSpanReadCI),      Address(__glSpanReadCI2),
                            Address(__glSpanReadRGBA),    Address(__glSpanReadRGBA2),
                            Address(__glSpanReadDepth),   Address(__glSpanReadDepth2),
                            Address(__glSpanReadStencil), Address(__glSpanReadStencil2)};
  const void *renderers[8] = {Address(__glSpanRenderCI),      Address(__glSpanRenderCI2),
                              Address(__glSpanRenderRGBA),    Address(__glSpanRenderRGBA2),
                              Address(__glSpanRenderDepth),   Address(__glSpanRenderDepth2),
                              Address(__glSpanRenderStencil), Address(__glSpanRenderStencil2)};
  for (int i = 0; i < 8; ++i) {
    slots.push_back({"readSpans[" + std::to_string(i) + "]", Address(p.readSpans[i]), readers[i]});
    slots.push_back(
        {"renderSpans[" + std::to_string(i) + "]", Address(p.renderSpans[i]), renderers[i]});
  }
  return slots;
}

#undef SLOT

class TableFill : public ValidateTest {};

TEST_F(TableFill, EveryNamedSlotHoldsTheCoresProcedure) {
  const GlModes visuals[] = {TestModes(), ColorIndex8(), RgbaBare()};
  for (const GlModes &modes : visuals) {
    Use(modes);
    for (const Slot &slot : NamedSlots(gc->procs)) EXPECT_EQ(slot.held, slot.expected) << slot.name;
  }
}

// The slots the drawing entries and primitive assembly call are never
// empty once the context is bound.
TEST_F(TableFill, WhatTheEntriesCallIsNeverEmpty) {
  const GlProcs &p = gc->procs;
  const void *called[] = {
      Address(p.primVertex),       Address(p.v),
      Address(p.applyColor),       Address(p.calcColor),
      Address(p.matValidate),      Address(p.renderTriangle),
      Address(p.fillTriangle),     Address(p.renderLine),
      Address(p.renderPoint),      Address(p.span.processSpan),
      Address(p.line.processLine), Address(p.store),
      Address(p.renderBitmap),     Address(p.calcTexture),
      Address(p.texRho),           Address(p.calcPolygonRho),
  };
  for (size_t i = 0; i < sizeof called / sizeof called[0]; ++i)
    EXPECT_NE(called[i], nullptr) << "slot " << i;
  for (const auto &check : p.clipCheck) EXPECT_NE(Address(check), nullptr);
  for (const auto &validate : p.validateVertex) EXPECT_NE(Address(validate), nullptr);
}

}  // namespace
}  // namespace validate_test
