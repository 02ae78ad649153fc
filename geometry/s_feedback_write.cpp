// Writing feedback values: one float at a time with the overflow rule, and
// vertices in the layout of the feedback type.
#include "core/context.h"
#include "core/s_validate.h"
#include "geometry/s_feedback.h"
#include "geometry/s_feedback_vertex.h"
#include "geometry/s_vertex_procs.h"
#include "geometry/s_xform.h"
#include "raster/s_shader.h"

namespace {

// The values a vertex carries in each feedback type.
struct Layout {
  bool z, w, color, texture;
};

Layout LayoutOf(GLenum type) {
  switch (type) {
    case GL_3D: return {true, false, false, false};
    case GL_3D_COLOR: return {true, false, true, false};
    case GL_3D_COLOR_TEXTURE: return {true, false, true, true};
    case GL_4D_COLOR_TEXTURE: return {true, true, true, true};
    default: return {false, false, false, false};  // GL_2D
  }
}

// Position and colour as the application sees them.
void WriteHead(GlContext *gc, const GlVertex *v, const Layout &layout) {
  const GlConstants &k = gc->constants;
  __glFeedbackTag(gc, __glReturnWindowX(gc, v->window.x));
  __glFeedbackTag(gc, __glReturnWindowY(gc, v->window.y));
  if (layout.z) __glFeedbackTag(gc, v->window.z * k.oneOverDepthScale);
  if (layout.w) __glFeedbackTag(gc, v->clip.w);
  if (!layout.color) return;
  const GlColor *c = v->color ? v->color : &v->colors[__GL_FRONTFACE];
  if (!gc->modes.rgbMode) {
    __glFeedbackTag(gc, c->r);  // the index as stored
    return;
  }
  __glFeedbackTag(gc, c->r * k.oneOverRedScale);
  __glFeedbackTag(gc, c->g * k.oneOverGreenScale);
  __glFeedbackTag(gc, c->b * k.oneOverBlueScale);
  __glFeedbackTag(gc, c->a * k.oneOverAlphaScale);
}

void WriteTexture(GlContext *gc, GLfloat s, GLfloat t, GLfloat r, GLfloat q) {
  __glFeedbackTag(gc, s);
  __glFeedbackTag(gc, t);
  __glFeedbackTag(gc, r);
  __glFeedbackTag(gc, q);
}

}  // namespace

void __glFeedbackTag(GlContext *gc, GLfloat value) {
  GlFeedbackState &f = gc->feedback;
  if (f.overflow) return;
  // A missing buffer has no room, whatever size it was given.
  if (!f.buffer || f.cursor - f.buffer >= f.size) {
    f.overflow = 1;
    return;
  }
  *f.cursor++ = value;
}

void feedback(GlContext *gc, GlVertex *v) {
  const Layout layout = LayoutOf(gc->feedback.type);
  // Drawing may need nothing of the vertex (no texture bound), but feedback
  // still reports the texture matrix and the generation.
  if (layout.texture && !(v->has & __GL_HAS_TEXTURE)) {
    const uint32_t sizeClass = (v->has & __GL_HAS_SIZE_MASK) >> 14;
    const uint32_t needs =
        gc->vertexBuffer.baseNeeds | __GL_HAS_TEXTURE | __glTextureGenerationNeeds(gc);
    __glFullValidator(gc, sizeClass)(gc, v, needs);
  }
  WriteHead(gc, v, layout);
  if (!layout.texture) return;
  GLfloat s = v->texture.x, t = v->texture.y, q = v->texture.w;
  // Coordinates kept divided by w for perspective go back to what the
  // application gave.
  if (gc->polygon.shader.modeFlags & __GL_SHADE_TEX_DIVIDED) {
    s *= v->clip.w;
    t *= v->clip.w;
    q *= v->clip.w;
  }
  WriteTexture(gc, s, t, v->texture.z, q);
}

void __glFeedbackRasterPosVertex(GlContext *gc, GlVertex *rasterPos) {
  const Layout layout = LayoutOf(gc->feedback.type);
  WriteHead(gc, rasterPos, layout);
  if (!layout.texture) return;
  const GlCoord &tex = rasterPos->texture;
  WriteTexture(gc, tex.x, tex.y, tex.z, tex.w);
}

void __glFeedbackLineRecord(GlContext *gc, GlVertex *a, GlVertex *b) {
  GLfloat token = GL_LINE_TOKEN;
  if (!gc->lineStippleStarted) {
    gc->lineStippleStarted = 1;
    token = GL_LINE_RESET_TOKEN;
  }
  __glFeedbackTag(gc, token);
  feedback(gc, a);
  feedback(gc, b);
}
