// Line clipping: ends cut onto their plane with attributes linear in clip
// space, user planes in eye space with distance 0 inside, shared code bits
// dropped, the flat provoking colour, and the marker and texture division
// of clip-made ends.
#include <gtest/gtest.h>

#include <vector>

#include "geometry/s_clip_param.h"
#include "raster/s_line_clip.h"
#include "tests/core/services/service_context.h"

namespace {

std::vector<std::pair<GlVertex, GlVertex>> gDrawn;
std::vector<GlColor> gColors;  // b's colour as drawn

void Record(GlContext *, GlVertex *a, GlVertex *b) {
  gDrawn.push_back({*a, *b});
  gColors.push_back(*b->color);
}
uint32_t NoValidate(GlContext *, GlVertex *v, uint32_t) { return v->has; }

class ClipContext {
 public:
  explicit ClipContext(GLenum shade = GL_SMOOTH, uint32_t clipParam = 2) {
    GlContext *g = gc();
    g->state.viewport.xScale = 50, g->state.viewport.xCenter = 4146;
    g->state.viewport.yScale = 40, g->state.viewport.yCenter = 4136;
    g->state.viewport.zScale = 0.5f, g->state.viewport.zCenter = 0.5f;
    g->state.light.shadingModel = shade;
    g->state.transform.eyeClipPlanes = planes;
    g->procs.lineClipParam = geometry::clipProcs[clipParam];
    g->procs.renderLine = Record;
    for (auto &p : g->procs.validateVertex) p = NoValidate;
    gDrawn.clear();
    gColors.clear();
  }
  GlContext *gc() const { return ctx_.gc(); }
  GlCoord planes[6] = {};

 private:
  ServiceContext ctx_;
};

GlVertex Vertex(float x, float y, float z, float w, uint32_t codes, GlColor c) {
  GlVertex v{};
  v.clip = {x, y, z, w};
  v.eye = {x, y, z, w};
  v.has = codes | __GL_HAS_CLIP | __GL_HAS_SIZE4 | __GL_HAS_FRONT_COLOR;
  v.colors[0] = c;
  v.color = &v.colors[0];
  v.texture = {x, y, 0, 1};
  return v;
}

TEST(LineClip, AnEndBeyondTheRightPlaneEndsOnItWithLinearAttributes) {
  ClipContext ctx;
  GlVertex a = Vertex(0, 0, 0, 1, 0, {0, 0, 0, 1});
  GlVertex b = Vertex(3, 1, 0, 1, __GL_CLIP_RIGHT, {1, 0.5f, 0, 1});
  const GlVertex aBefore = a;
  __glFastClipSmoothLine(ctx.gc(), &a, &b);
  ASSERT_EQ(gDrawn.size(), 1u);
  const GlVertex &na = gDrawn[0].first, &nb = gDrawn[0].second;
  EXPECT_FLOAT_EQ(nb.clip.x, nb.clip.w);
  EXPECT_FLOAT_EQ(nb.clip.y, 1.0f / 3.0f);
  EXPECT_FLOAT_EQ(nb.colors[0].r, 1.0f / 3.0f);
  EXPECT_FLOAT_EQ(nb.colors[0].g, 0.5f / 3.0f);
  EXPECT_FLOAT_EQ(nb.window.x, 4146 + 50);
  EXPECT_EQ(nb.has & 0xFFFF0000u, 0xFFFF0000u);  // made by clipping
  EXPECT_EQ(nb.has & __GL_HAS_SIZE_MASK, 0u);     // never validated again
  EXPECT_FLOAT_EQ(na.clip.x, aBefore.clip.x);
  EXPECT_EQ(na.colors[0].r, aBefore.colors[0].r);
}

TEST(LineClip, EndsSharingACodeBitAreDroppedAndCodeFreeOnesDrawnWhole) {
  ClipContext ctx;
  GlVertex a = Vertex(2, 0, 0, 1, __GL_CLIP_RIGHT, {});
  GlVertex b = Vertex(3, 5, 0, 1, __GL_CLIP_RIGHT | __GL_CLIP_TOP, {});
  __glFastClipSmoothLine(ctx.gc(), &a, &b);
  __glFastClipFlatLine(ctx.gc(), &a, &b);
  EXPECT_TRUE(gDrawn.empty());
  GlVertex c = Vertex(0.5f, 0, 0, 1, 0, {}), d = Vertex(-0.5f, 0, 0, 1, 0, {});
  __glFastClipSmoothLine(ctx.gc(), &c, &d);
  ASSERT_EQ(gDrawn.size(), 1u);
  EXPECT_EQ(gDrawn[0].first.clip.x, 0.5f);
}

TEST(LineClip, UserPlanesCutInEyeSpaceAndDistanceZeroIsInside) {
  ClipContext ctx;
  ctx.planes[0] = {1, 0, 0, 0};  // eye x >= 0
  GlVertex a = Vertex(-1, 0, 0, 1, __GL_CLIP_USER0, {0, 0, 0, 0});
  GlVertex b = Vertex(1, 0, 0, 1, 0, {1, 1, 1, 1});
  a.eye.x = -1, b.eye.x = 3;  // the cut at a quarter from a
  __glClipLine(ctx.gc(), &a, &b);
  ASSERT_EQ(gDrawn.size(), 1u);
  EXPECT_FLOAT_EQ(gDrawn[0].first.eye.x, 0.0f);
  EXPECT_FLOAT_EQ(gDrawn[0].first.clip.x, -0.5f);
  EXPECT_FLOAT_EQ(gDrawn[0].first.colors[0].r, 0.25f);
  // Touching the plane: drawn whole.
  gDrawn.clear();
  a.eye.x = 0;
  __glClipLine(ctx.gc(), &a, &b);
  ASSERT_EQ(gDrawn.size(), 1u);
  EXPECT_EQ(gDrawn[0].first.clip.x, -1.0f);
  // Wholly behind: nothing.
  gDrawn.clear();
  a.eye.x = -1, b.eye.x = -2;
  __glClipLine(ctx.gc(), &a, &b);
  EXPECT_TRUE(gDrawn.empty());
}

TEST(LineClip, FlatLinesKeepTheProvokingColour) {
  ClipContext ctx(GL_FLAT, 0);
  GlVertex a = Vertex(0, 0, 0, 1, 0, {0, 0, 0, 1});
  GlVertex b = Vertex(0, -3, 0, 1, __GL_CLIP_BOTTOM, {0.2f, 0.4f, 0.6f, 1});
  __glFastClipFlatLine(ctx.gc(), &a, &b);
  ASSERT_EQ(gColors.size(), 1u);
  EXPECT_EQ(gColors[0].r, 0.2f);
  EXPECT_EQ(gColors[0].b, 0.6f);
  EXPECT_FLOAT_EQ(gDrawn[0].second.clip.y, -1.0f);
}

// A perspective-textured line: the clip-made end gets the coordinates of
// interpolating the undivided ones, then its own division by w, even when
// made from an end without clip codes.
TEST(LineClip, ClipMadeEndsTakeThePerspectiveDivision) {
  ClipContext ctx(GL_SMOOTH, 2 + 20);
  ctx.gc()->polygon.shader.modeFlags = __GL_SHADE_TEX_DIVIDED;
  GlVertex a = Vertex(0, 0, 0, 1, 0, {});
  GlVertex b = Vertex(6, 0, 0, 3, __GL_CLIP_RIGHT, {});
  a.texture = {0.0f, 0, 0, 1.0f};  // divided (w = 1)
  b.texture = {2.0f, 0, 0, 1.0f};  // an end with codes keeps them undivided
  __glClipLine(ctx.gc(), &a, &b);
  ASSERT_EQ(gDrawn.size(), 1u);
  const GlVertex &nb = gDrawn[0].second;
  // x = w a quarter of the way from a: clip (1.5, 0, 0, 1.5); undivided
  // s = 0.5 and q = 1, then divided by w.
  EXPECT_FLOAT_EQ(nb.clip.w, 1.5f);
  EXPECT_FLOAT_EQ(nb.window.w, 1.0f / 1.5f);
  EXPECT_FLOAT_EQ(nb.texture.w, 1.0f / 1.5f);
  EXPECT_NEAR(nb.texture.x / nb.texture.w, 0.5f, 1e-6);
}

}  // namespace
