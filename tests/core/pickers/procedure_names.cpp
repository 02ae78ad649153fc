// Names of the procedures the pickers install, so that the picker tests
// compare choices and stage lists readably.
#include <gtest/gtest.h>

#include <map>

#include "core/s_nop.h"
#include "core/s_pick.h"
#include "fastraster/fr_pick.h"
#include "geometry/s_prim.h"
#include "geometry/s_pgclip.h"
#include "geometry/s_select.h"
#include "geometry/s_feedback.h"
#include "pixels/px_draw_pixels.h"
#include "pixels/px_copy_pixels.h"
#include "pixels/px_bitmap.h"
#include "pixels/px_read_pixels.h"
#include "raster/s_depth_test.h"
#include "raster/s_fog.h"
#include "raster/s_line_clip.h"
#include "raster/s_point.h"
#include "raster/s_pgdraw_aa.h"
#include "raster/s_triangle.h"
#include "raster/s_line.h"
#include "raster/s_line_aa.h"
#include "raster/s_blend.h"
#include "raster/s_span_ops.h"
#include "raster/s_span.h"
#include "raster/s_store.h"
#include "tests/core/pickers/picker_fixture.h"

namespace {

#define P(x) \
  { reinterpret_cast<const void *>(&x), #x }

const std::map<const void *, std::string> &Table() {
  static const std::map<const void *, std::string> table = {
      P(__glNop1),
      P(__glNopFillTriangle),
      P(FrontStoreSpan),
      P(FrontStoreStippledSpan),
      P(BackStoreSpan),
      P(BackStoreStippledSpan),
      P(FetchSpan),
      P(FetchStippledSpan),
      // span stages
      P(__glClipSpan),
      P(__glStippleSpan),
      P(__glStippleStippledSpan),
      P(__glStencilTestSpan),
      P(__glStencilTestStippledSpan),
      P(__glDepthTestStencilSpan),
      P(__glDepthTestStencilStippledSpan),
      P(__glDepthTestStencilOffsetSpan),
      P(__glDepthTestStencilStippledOffsetSpan),
      P(__glDepthPassSpan),
      P(__glDepthPassStippledSpan),
      P(__glDepthTestSpan),
      P(__glDepthTestStippledSpan),
      P(__glDepthTestOffsetSpan),
      P(__glDepthTestStippledOffsetSpan),
      P(__glShadeRGBASpan),
      P(__glFlatRGBASpan),
      P(__glShadeCISpan),
      P(__glFlatCISpan),
      P(__glTextureSpan),
      P(__glTextureStippledSpan),
      P(__glFogSpan),
      P(__glFogStippledSpan),
      P(__glFogSpanSlow),
      P(__glFogStippledSpanSlow),
      P(__glAlphaTestSpan),
      P(__glAlphaTestStippledSpan),
      P(__glIndexTestSpan),
      P(__glIndexTestStippledSpan),
      P(__glBlendSpan_SA_MSA),
      P(__glBlendSpan_SA_ONE),
      P(__glBlendSpan_SA_ZERO),
      P(__glBlendSpan_MSA_SA),
      P(__glBlendSpan),
      P(__glBlendStippledSpan),
      P(__glDitherRGBASpan),
      P(__glDitherRGBAStippledSpan),
      P(__glDitherCISpan),
      P(__glDitherCIStippledSpan),
      P(__glRoundRGBASpan),
      P(__glRoundRGBAStippledSpan),
      P(__glRoundCISpan),
      P(__glRoundCIStippledSpan),
      P(__glLogicOpSpan),
      P(__glLogicOpStippledSpan),
      P(__glMaskRGBASpan),
      P(__glMaskCISpan),
      P(__glProcessSpan),
      P(__glProcessReplicateSpan),
      // line stages
      P(__glStippleLine),
      P(__glScissorLine),
      P(__glScissorStippledLine),
      P(__glStencilTestLine),
      P(__glStencilTestStippledLine),
      P(__glDepthTestStencilLine),
      P(__glDepthTestStencilStippledLine),
      P(__glDepthPassLine),
      P(__glDepthPassStippledLine),
      P(__glDepthTestLine),
      P(__glDepthTestStippledLine),
      P(__glAntiAliasLine),
      P(__glAntiAliasStippledLine),
      P(__glStoreLine),
      P(__glStoreStippledLine),
      P(__glStoreLine_RGB_16_Dither),
      P(__glStoreStippledLine_RGB_16_Dither),
      P(__glStoreLine_RGB_16_Smooth),
      P(__glStoreStippledLine_RGB_16_Smooth),
      P(__glStoreLine_RGB_16_Flat),
      P(__glStoreStippledLine_RGB_16_Flat),
      P(__glStoreLine_CI_8_Smooth_Dither),
      P(__glStoreStippledLine_CI_8_Smooth_Dither),
      P(__glStoreLine_CI_8_Flat_Dither),
      P(__glStoreStippledLine_CI_8_Flat_Dither),
      P(__glStoreLine_CI_8_Smooth),
      P(__glStoreStippledLine_CI_8_Smooth),
      P(__glStoreLine_CI_8_Flat),
      P(__glStoreStippledLine_CI_8_Flat),
      P(__glWideLineRep),
      P(__glWideStippleLineRep),
      P(__glDrawBothLine),
      P(__glDrawBothStippledLine),
      P(__glProcessLine),
      P(__glProcessLine3NW),
      // render, fill, trap and clip procedures
      P(__glRenderAliasedPoint1),
      P(__glRenderAliasedPoint1_NoTex),
      P(__glRenderAliasedPointN),
      P(__glRenderAntiAliasedRGBPoint),
      P(__glRenderAntiAliasedCIPoint),
      P(__glRenderFlatFogPoint),
      P(__glRenderPointSyncTrap),
      P(__glRenderAliasLine),
      P(__glRenderAntiAliasLine),
      P(__glRenderFlatFogLine),
      P(__glRenderLineSyncTrap),
      P(__glFastClipSmoothLine),
      P(__glFastClipFlatLine),
      P(__glRenderTriangle),
      P(__glRenderSmoothTriangle),
      P(__glRenderFlatTriangle),
      P(__glDontRenderTriangle),
      P(__glRenderLineTriangle),
      P(__glRenderPointTriangle),
      P(__glRenderTriangleSyncTrap),
      P(__glFillTriangle),
      P(__glFillAntiAliasedTriangle),
      P(__glFillFlatFogTriangle),
      P(__glFeedbackPoint),
      P(__glFeedbackLine),
      P(__glFeedbackTriangle),
      P(__glSelectPoint),
      P(__glSelectLine),
      P(__glSelectTriangle),
      P(__glClipTriangle),
      // steady procedures of primitive assembly
      P(__glPointLock),
      P(__glPointFastLock),
      P(__glOtherLStripVertexLock),
      P(__glOtherLStripVertexFastLock),
      P(__glSecondLinesVertexLock),
      P(__glSecondLLoopVertexLock),
      P(__glEndLLoopLock),
      P(__glOtherTFanVertexLock),
      P(__glEvenTStripVertexLock),
      P(__glOddTStripVertexLock),
      P(__glThirdTrianglesVertexLock),
      P(__glFourthQStripVertexLock),
      P(__glFourthQuadsVertexLock),
      P(__glPolygonVertexLock),
      P(__glEndPolygonLock),
      // fog, locks, bitmaps
      P(__glFogVertex),
      P(__glFogVertexLinear),
      P(__glFogFragmentSlow),
      P(__glFogColorSlow),
      P(__glLockBuffers),
      P(__glUnlockBuffers),
      P(__glLockRenderBuffers),
      P(__glUnlockRenderBuffers),
      P(__glLockColorBuffer),
      P(__glUnlockColorBuffer),
      P(__glLockColorBufferDepthBuffer),
      P(__glUnlockColorBufferDepthBuffer),
      P(__glRenderBitmap),
      P(__glRenderBitmap_FastRGB16),
      P(__glRenderBitmap_FastCI8),
      // single-pixel depth tests
      P(__glDT_NEVER16),
      P(__glDT_LESS16),
      P(__glDT_EQUAL16),
      P(__glDT_LEQUAL16),
      P(__glDT_GREATER16),
      P(__glDT_NOTEQUAL16),
      P(__glDT_GEQUAL16),
      P(__glDT_ALWAYS16),
      P(__glDT_LESS16_M),
      P(__glDT_EQUAL16_M),
      P(__glDT_LEQUAL16_M),
      P(__glDT_GREATER16_M),
      P(__glDT_NOTEQUAL16_M),
      P(__glDT_GEQUAL16_M),
      P(__glDT_ALWAYS16_M),
      P(__glDT_NEVER),
      P(__glDT_LESS),
      P(__glDT_EQUAL),
      P(__glDT_LEQUAL),
      P(__glDT_GREATER),
      P(__glDT_NOTEQUAL),
      P(__glDT_GEQUAL),
      P(__glDT_ALWAYS),
      P(__glDT_LESS_M),
      P(__glDT_EQUAL_M),
      P(__glDT_LEQUAL_M),
      P(__glDT_GREATER_M),
      P(__glDT_NOTEQUAL_M),
      P(__glDT_GEQUAL_M),
      P(__glDT_ALWAYS_M),
  };
  return table;
}

#undef P

}  // namespace

std::string NameOf(const void *proc) {
  if (proc == nullptr) return "null";
  auto it = Table().find(proc);
  return it == Table().end() ? "?" : it->second;
}

std::vector<std::string> Names(const GlSpanProc *list, int32_t count) {
  std::vector<std::string> names;
  for (int32_t i = 0; i < count; ++i) names.push_back(NameOf(list[i]));
  return names;
}

void ExpectStageLists(const GlSpanProc *plainList, const GlSpanProc *stippledList, int32_t capacity,
                      const std::vector<std::string> &plain,
                      const std::vector<std::string> &stippled) {
  const int32_t count = int32_t(plain.size());
  EXPECT_EQ(Names(plainList, count), plain);
  EXPECT_EQ(Names(stippledList, count), stippled);
  for (int32_t i = count; i < capacity; ++i) {
    EXPECT_EQ(plainList[i], nullptr) << i;
    EXPECT_EQ(stippledList[i], nullptr) << i;
  }
}
