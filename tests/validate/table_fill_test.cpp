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
#include "geometry/s_eval_standins.h"
#include "geometry/s_lighting.h"
#include "geometry/s_pgclip_standins.h"
#include "geometry/s_prim_begin_standins.h"
#include "geometry/s_rect_standins.h"
#include "geometry/s_render_standins.h"
#include "geometry/s_rpos_standins.h"
#include "geometry/s_varray_pick.h"
#include "geometry/s_vertex_pick.h"
#include "geometry/s_xform.h"
#include "pixels/px_bitmap_standins.h"
#include "pixels/px_image_standins.h"
#include "pixels/px_pack.h"
#include "pixels/px_pixel_standins.h"
#include "pixels/px_span_standins.h"
#include "raster/s_span_standins.h"
#include "tests/validate/validate_fixture.h"

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

std::vector<Slot> NamedSlots(const GlProcs &p) {
  std::vector<Slot> slots = {
      {"flush", Address(p.flush), Address(core::Flush)},
      {"finish", Address(p.finish), Address(core::Finish)},
      {"waitIdle", Address(p.waitIdle), Address(core::WaitIdle)},
      {"validate", Address(p.validate), Address(__glGenericValidate)},
      {"pickBlendProcs", Address(p.pickBlendProcs), Address(__glGenericPickBlendProcs)},
      {"pickColorMaterialProcs", Address(p.pickColorMaterialProcs),
       Address(__glGenericPickColorMaterialProcs)},
      {"pickTextureProcs", Address(p.pickTextureProcs), Address(__glGenericPickTextureProcs)},
      {"pickCalcTextureProcs", Address(p.pickCalcTextureProcs),
       Address(__glGenericPickCalcTextureProcs)},
      {"pickFogProcs", Address(p.pickFogProcs), Address(__glGenericPickFogProcs)},
      {"pickTransformProcs", Address(p.pickTransformProcs),
       Address(__glGenericPickTransformProcs)},
      {"pickPointProcs", Address(p.pickPointProcs), Address(__glGenericPickPointProcs)},
      {"pickLineProcs", Address(p.pickLineProcs), Address(__glGenericPickLineProcs)},
      {"pickTriangleProcs", Address(p.pickTriangleProcs), Address(__glGenericPickTriangleProcs)},
      {"pickRenderBitmapProcs", Address(p.pickRenderBitmapProcs),
       Address(__glOptPickRenderBitmapProcs)},
      {"pickPixelProcs", Address(p.pickPixelProcs), Address(__glGenericPickPixelProcs)},
      {"pickClipProcs", Address(p.pickClipProcs), Address(__glGenericPickClipProcs)},
      {"pickParameterClipProcs", Address(p.pickParameterClipProcs),
       Address(__glGenericPickParameterClipProcs)},
      {"pickBufferProcs", Address(p.pickBufferProcs), Address(__glGenericPickBufferProcs)},
      {"pickStoreProcs", Address(p.pickStoreProcs), Address(__glGenericPickStoreProcs)},
      {"pickSpanProcs", Address(p.pickSpanProcs), Address(__glGenericPickSpanProcs)},
      {"pickVertexProcs", Address(p.pickVertexProcs), Address(__glGenericPickVertexProcs)},
      {"pickVertexArrayProcs", Address(p.pickVertexArrayProcs),
       Address(__glGenericPickVertexArrayProcs)},
      {"pickMatrixProcs", Address(p.pickMatrixProcs), Address(__glGenericPickMatrixProcs)},
      {"pickInvTransposeProcs", Address(p.pickInvTransposeProcs),
       Address(__glGenericPickInvTransposeProcs)},
      {"pickMvpMatrixProcs", Address(p.pickMvpMatrixProcs),
       Address(__glGenericPickMvpMatrixProcs)},
      {"pickDepthProcs", Address(p.pickDepthProcs), Address(__glGenericPickDepthProcs)},
      {"pickAllProcs", Address(p.pickAllProcs), Address(__glGenericPickAllProcs)},
      {"copyMatrix", Address(p.copyMatrix), Address(__glCopyMatrix)},
      {"invertTransposeMatrix", Address(p.invertTransposeMatrix),
       Address(__glInvertTransposeMatrix)},
      {"makeIdentity", Address(p.makeIdentity), Address(__glMakeIdentity)},
      {"multMatrix", Address(p.multMatrix), Address(__glMultMatrix)},
      {"computeInverseTranspose", Address(p.computeInverseTranspose),
       Address(__glComputeInverseTranspose)},
      {"normalize", Address(p.normalize), Address(__glNormalize)},
      {"applyScissor", Address(p.applyScissor), Address(core::ApplyScissor)},
      {"applyViewport", Address(p.applyViewport), Address(core::ApplyViewport)},
      {"computeClipBox", Address(p.computeClipBox), Address(__glComputeClipBox)},
      {"evalCoord[0]", Address(p.evalCoord[0]), Address(__glDoEvalCoord1)},
      {"evalCoord[1]", Address(p.evalCoord[1]), Address(__glDoEvalCoord2)},
      {"endPrim", Address(p.endPrim), Address(__glEndPrim)},
      {"clipTriangle", Address(p.clipTriangle), Address(__glClipTriangle)},
      {"clipPolygon", Address(p.clipPolygon), Address(__glClipPolygon)},
      {"rect", Address(p.rect), Address(__glRect)},
      {"drawBitmap", Address(p.drawBitmap), Address(__glDrawBitmap)},
      {"drawPixels", Address(p.drawPixels), Address(__glOptPickDrawPixels)},
      {"copyPixels", Address(p.copyPixels), Address(__glSlowPickCopyPixels)},
      {"readPixels", Address(p.readPixels), Address(__glSlowPickReadPixels)},
      {"pickCopyImage", Address(p.pickCopyImage), Address(__glGenericPickCopyImage)},
      {"pickStoreTexture", Address(p.pickStoreTexture), Address(__glGenericPickStoreTexture)},
      {"pickGetTexture", Address(p.pickGetTexture), Address(__glGenericPickGetTexture)},
      {"pickReadImage", Address(p.pickReadImage), Address(__glGenericPickReadImage)},
      {"rasterPos[0]", Address(p.rasterPos[0]), Address(__glRasterPos2)},
      {"rasterPos[1]", Address(p.rasterPos[1]), Address(__glRasterPos3)},
      {"rasterPos[2]", Address(p.rasterPos[2]), Address(__glRasterPos4)},
      {"convertStipple", Address(p.convertStipple), Address(__glConvertStipple)},
      {"colorTableEXT", Address(p.colorTableEXT), Address(__glColorTableEXT)},
      {"colorSubTableEXT", Address(p.colorSubTableEXT), Address(__glColorSubTableEXT)},
  };
  const void *begins[10] = {
      Address(__glBeginPoints),    Address(__glBeginLines),     Address(__glBeginLLoop),
      Address(__glBeginLStrip),    Address(__glBeginTriangles), Address(__glBeginTStrip),
      Address(__glBeginTFan),      Address(__glBeginQuads),     Address(__glBeginQStrip),
      Address(__glBeginPolygon)};
  for (int mode = 0; mode < 10; ++mode)
    slots.push_back({"beginPrim[" + std::to_string(mode) + "]", Address(p.beginPrim[mode]),
                     begins[mode]});
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
      Address(p.primVertex),     Address(p.v),           Address(p.applyColor),
      Address(p.calcColor),      Address(p.matValidate), Address(p.renderTriangle),
      Address(p.fillTriangle),   Address(p.renderLine),  Address(p.renderPoint),
      Address(p.span.processSpan), Address(p.line.processLine), Address(p.store),
      Address(p.renderBitmap),   Address(p.calcTexture), Address(p.texRho),
      Address(p.calcPolygonRho),
  };
  for (size_t i = 0; i < sizeof called / sizeof called[0]; ++i)
    EXPECT_NE(called[i], nullptr) << "slot " << i;
  for (const auto &check : p.clipCheck) EXPECT_NE(Address(check), nullptr);
  for (const auto &validate : p.validateVertex) EXPECT_NE(Address(validate), nullptr);
}

}  // namespace
}  // namespace validate_test
