#include "tests/raster/render/render_bench.h"

#include <gtest/gtest.h>
#include <string.h>

#include <stdio.h>

#include "core/s_pick.h"
#include "raster/s_triangle.h"
#include "raster/s_shader.h"

RenderBench *RenderBench::current_ = nullptr;

RenderBench::RenderBench() {
  current_ = this;
  memset(v_, 0, sizeof(v_));
  for (int i = 0; i < 4; ++i) {
    GlVertex &v = v_[i];
    // Distinct values in every field, so that a stray write shows.
    float *words = reinterpret_cast<float *>(&v);
    for (size_t w = 0; w < sizeof(GlVertex) / 4; ++w) words[w] = float(100 * i + int(w)) + 0.25f;
    v.has = __GL_HAS_SIZE4 | __GL_HAS_EDGEFLAG_BOUNDARY | __GL_HAS_FRONT_COLOR;
    v.color = &v.colors[__GL_FRONTFACE];
    v.spare = 0;
  }
  GlContext *g = gc();
  // The state the triangle picker reads.
  GlState &s = g->state;
  s.polygon.frontMode = s.polygon.backMode = GL_FILL;
  s.polygon.frontFaceDirection = GL_CCW;
  s.polygon.cull = GL_BACK;
  s.light.shadingModel = GL_SMOOTH;
  g->polygon.facing[0] = __GL_BACKFACE_INDEX;
  g->polygon.facing[1] = __GL_FRONTFACE_INDEX;
  g->polygon.cullFace = __GL_CULL_NONE;
  g->polygon.mode[0] = g->polygon.mode[1] = __GL_POLYGON_MODE_FILL;
  g->vertexBuffer.provoking = c();
  SetFlags(__GL_SHADE_RGB | __GL_SHADE_SMOOTH_LIGHT | __GL_SHADE_ITERATE_COLOR);
  InstallRecorders();
}

RenderBench::~RenderBench() { current_ = nullptr; }

void RenderBench::InstallRecorders() {
  GlProcs &p = gc()->procs;
  p.fillTriangle = RecordFill;
  p.renderLine = RecordLine;
  p.renderPoint = RecordPoint;
  p.renderTriangleLines = __glRenderLineTriangle;
  p.renderTrianglePoints = __glRenderPointTriangle;
  p.validateVertex[0] = RecordValidate<0>;
  p.validateVertex[1] = RecordValidate<1>;
  p.validateVertex[2] = RecordValidate<2>;
  p.validateVertex[3] = RecordValidate<3>;
  p.waitIdle = CountWait;
}

GlVertex *RenderBench::vertex(char name) {
  switch (name) {
    case 'a': return a();
    case 'b': return b();
    case 'c': return c();
    case 'p': return p();
    default: return nullptr;
  }
}

void RenderBench::Place(const float xy[6]) {
  for (int i = 0; i < 3; ++i) {
    v_[i].window.x = xy[2 * i];
    v_[i].window.y = xy[2 * i + 1];
  }
}

void RenderBench::PickFaces(GLenum frontFace, bool yInverted, GLenum cull, GLenum frontMode,
                            GLenum backMode) {
  GlContext *g = gc();
  g->state.polygon.frontFaceDirection = frontFace;
  g->state.polygon.frontMode = frontMode;
  g->state.polygon.backMode = backMode;
  g->constants.yInverted = yInverted;
  uint32_t &flags = g->polygon.shader.modeFlags;
  if (cull) {
    g->state.polygon.cull = cull;
    flags |= __GL_SHADE_CULL_FACE;
  } else {
    flags &= ~__GL_SHADE_CULL_FACE;
  }
  __glGenericPickTriangleProcs(g);
  g->procs.fillTriangle = RecordFill;
}

void RenderBench::Clear() {
  calls_.clear();
  colors_.clear();
  waits_ = 0;
}

RenderBench::Snapshot RenderBench::Take() const {
  Snapshot s;
  memcpy(s.v, v_, sizeof(v_));
  return s;
}

void RenderBench::ExpectUnchanged(const Snapshot &before) const {
  for (int i = 0; i < 4; ++i) {
    GlVertex expected = before.v[i];
    EXPECT_EQ(expected.has & ~v_[i].has, 0u) << "vertex " << i << " lost has bits";
    expected.has = v_[i].has;
    EXPECT_EQ(memcmp(&expected, &v_[i], sizeof(GlVertex)), 0) << "vertex " << i << " changed";
  }
}

void RenderBench::ExpectFrontColors() const {
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(v_[i].color, &v_[i].colors[__GL_FRONTFACE]) << "vertex " << i;
}

std::string RenderBench::Name(const GlVertex *v) const {
  for (int i = 0; i < 4; ++i)
    if (v == &v_[i]) return std::string(1, "abcp"[i]);
  return "?";
}

std::string RenderBench::ColorState() const {
  std::string out;
  for (int i = 0; i < 4; ++i) {
    std::string where = "?";
    for (int j = 0; j < 4; ++j)
      for (int k = 0; k < 2; ++k)
        if (v_[i].color == &v_[j].colors[k]) where = Name(&v_[j]) + char('0' + k);
    out += (i ? " " : "") + where;
  }
  return out;
}

void RenderBench::Note(const std::string &call, bool draws) {
  calls_.push_back(call);
  if (draws) colors_.push_back(ColorState());
}

void GLFASTCALL RenderBench::RecordFill(GlContext *, GlVertex *a, GlVertex *b, GlVertex *c) {
  RenderBench &r = *current_;
  r.Note("fill " + r.Name(a) + " " + r.Name(b) + " " + r.Name(c), true);
}

void RenderBench::RecordLine(GlContext *, GlVertex *a, GlVertex *b) {
  RenderBench &r = *current_;
  r.Note("line " + r.Name(a) + " " + r.Name(b), true);
}

void RenderBench::RecordPoint(GlContext *, GlVertex *v) {
  RenderBench &r = *current_;
  r.Note("point " + r.Name(v), true);
}

void GLFASTCALL RenderBench::RecordTriangle(GlContext *, GlVertex *a, GlVertex *b, GlVertex *c) {
  RenderBench &r = *current_;
  r.Note("triangle " + r.Name(a) + " " + r.Name(b) + " " + r.Name(c), true);
}

void RenderBench::CountWait(GlContext *) { ++current_->waits_; }

// Validation completes what it was asked for.
template <int kClass>
uint32_t RenderBench::RecordValidate(GlContext *, GlVertex *v, uint32_t mask) {
  RenderBench &r = *current_;
  char text[64];
  snprintf(text, sizeof text, "validate<%d> %s 0x%x", kClass, r.Name(v).c_str(), mask);
  r.Note(text, false);
  v->has |= mask;
  return v->has;
}
