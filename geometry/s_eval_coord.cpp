// Evaluation of the enabled maps at one parameter. The evaluated colour,
// normal and texture coordinates become current for the vertex, which is
// issued through the immediate table in force so that it takes the road of
// an application's vertex; the colour is put back after it.
#include "geometry/s_eval_coord.h"

#include <string.h>

#include "core/context.h"
#include "geometry/s_eval_domain.h"

namespace {

bool Enabled(uint32_t enables, int index) { return (enables >> index) & 1u; }

// A map's value: its default while the reset left it without points.
struct Evaluate1 {
  GlContext *gc;
  GlEvalBasisCache *cache;
  GLfloat u;
  void operator()(int index, GLfloat *out) const {
    const GlEvalMap1 &map = gc->eval.eval1[index];
    const GLfloat *points = gc->eval.eval1Data[index];
    if (map.order < 1 || points == nullptr)
      memcpy(out, __glEvalDefaultValue(index), sizeof(GLfloat) * map.k);
    else
      DoDomain1(cache, &map, u, out, points);
  }
};

struct Evaluate2 {
  GlContext *gc;
  GlEvalBasisCache *cache;
  GLfloat u, v;
  void operator()(int index, GLfloat *out) const {
    const GlEvalMap2 &map = gc->eval.eval2[index];
    const GLfloat *points = gc->eval.eval2Data[index];
    if (map.uOrder < 1 || map.vOrder < 1 || points == nullptr)
      memcpy(out, __glEvalDefaultValue(index), sizeof(GLfloat) * map.k);
    else
      DoDomain2(cache, &map, u, v, out, points);
  }
  void WithDerivs(int index, GLfloat *out, GLfloat *du, GLfloat *dv) const {
    const GlEvalMap2 &map = gc->eval.eval2[index];
    const GLfloat *points = gc->eval.eval2Data[index];
    if (map.uOrder < 1 || map.vOrder < 1 || points == nullptr) {
      memcpy(out, __glEvalDefaultValue(index), sizeof(GLfloat) * map.k);
      memset(du, 0, sizeof(GLfloat) * map.k);
      memset(dv, 0, sizeof(GLfloat) * map.k);
    } else {
      DoDomain2WithDerivs(cache, &map, u, v, out, du, dv, points);
    }
  }
};

// The colour or index that was current before an evaluation replaced it.
struct SavedColor {
  GlColor user;
  GLfloat index;
};

void SetColor(GlContext *gc, const GLfloat *color, SavedColor *saved) {
  GlCurrentState &cur = gc->state.current;
  gc->vcache.colorChanged = 1;
  if (!gc->modes.rgbMode) {
    saved->index = cur.index;
    cur.index = color[0];
    return;
  }
  saved->user = cur.userColor;
  cur.userColor = GlColor{color[0], color[1], color[2], color[3]};
  gc->procs.applyColor(gc);
}

void PutColorBack(GlContext *gc, const SavedColor &saved) {
  GlCurrentState &cur = gc->state.current;
  if (!gc->modes.rgbMode) {
    cur.index = saved.index;
    return;
  }
  cur.userColor = saved.user;
  gc->procs.applyColor(gc);
}

// The colour map of the visual's kind, evaluated into color; false when it
// is not enabled.
template <typename Evaluate>
bool EvaluateColor(GlContext *gc, uint32_t enables, const Evaluate &evaluate, GLfloat *color) {
  const int index = gc->modes.rgbMode ? __GL_EVAL_COLOR : __GL_EVAL_INDEX;
  if (!Enabled(enables, index)) return false;
  evaluate(index, color);
  return true;
}

// The first enabled texture map, widest first; missing t and r are 0, q 1.
template <typename Evaluate>
bool EvaluateTexture(uint32_t enables, const Evaluate &evaluate, GLfloat *texture) {
  for (int index = __GL_EVAL_TEXTURE4; index >= __GL_EVAL_TEXTURE1; --index) {
    if (!Enabled(enables, index)) continue;
    texture[0] = texture[1] = texture[2] = 0.0f;
    texture[3] = 1.0f;
    evaluate(index, texture);
    return true;
  }
  return false;
}

void SetTexture(GlContext *gc, const GLfloat *t) {
  gc->state.current.texture = GlCoord{t[0], t[1], t[2], t[3]};
}

void IssueVertex(GlContext *gc, uint32_t flags, const GLfloat *vertex) {
  if (flags & __GL_EVAL_HAS_VERTEX3)
    gc->dispatchState->Vertex3fv(vertex);
  else if (flags & __GL_EVAL_HAS_VERTEX4)
    gc->dispatchState->Vertex4fv(vertex);
}

}  // namespace

void DoEvalCoord1(GlContext *gc, GLfloat u) {
  // Each call works on its own copy of the basis cache, so that the maps of
  // one call share a basis and nothing carries over to the next call.
  GlEvalBasisCache cache = gc->eval.cache;
  const Evaluate1 evaluate{gc, &cache, u};
  const uint32_t enables = gc->state.enables.eval1;
  SavedColor saved{};
  GLfloat value[4];
  const bool colored = EvaluateColor(gc, enables, evaluate, value);
  if (colored) SetColor(gc, value, &saved);
  if (EvaluateTexture(enables, evaluate, value)) SetTexture(gc, value);
  if (Enabled(enables, __GL_EVAL_NORMAL)) evaluate(__GL_EVAL_NORMAL, gc->state.current.normal);
  if (Enabled(enables, __GL_EVAL_VERTEX4)) {
    evaluate(__GL_EVAL_VERTEX4, value);
    IssueVertex(gc, __GL_EVAL_HAS_VERTEX4, value);
  } else if (Enabled(enables, __GL_EVAL_VERTEX3)) {
    evaluate(__GL_EVAL_VERTEX3, value);
    IssueVertex(gc, __GL_EVAL_HAS_VERTEX3, value);
  }
  if (colored) PutColorBack(gc, saved);
}

void DoEvalCoord2(GlContext *gc, GlEvalResult *record, GLfloat u, GLfloat v) {
  GlEvalBasisCache cache = gc->eval.cache;
  const Evaluate2 evaluate{gc, &cache, u, v};
  const uint32_t enables = gc->state.enables.eval2;
  GLfloat *normal = gc->state.current.normal;
  uint32_t flags = 0;
  GLfloat vertex[4] = {};
  const int vertexMap = Enabled(enables, __GL_EVAL_VERTEX4)   ? __GL_EVAL_VERTEX4
                        : Enabled(enables, __GL_EVAL_VERTEX3) ? __GL_EVAL_VERTEX3
                                                              : -1;
  const uint32_t vertexFlag =
      vertexMap == __GL_EVAL_VERTEX4 ? __GL_EVAL_HAS_VERTEX4 : __GL_EVAL_HAS_VERTEX3;
  if (gc->state.enables.general & __GL_AUTO_NORMAL_ENABLE) {
    if (vertexMap >= 0) {
      GLfloat du[4], dv[4];
      evaluate.WithDerivs(vertexMap, vertex, du, dv);
      if (vertexMap == __GL_EVAL_VERTEX4) ComputeFirstPartials(vertex, du, dv);
      ComputeNormal2(gc, normal, du, dv);
      flags |= __GL_EVAL_HAS_NORMAL | vertexFlag;
    }
  } else {
    if (Enabled(enables, __GL_EVAL_NORMAL)) {
      evaluate(__GL_EVAL_NORMAL, normal);
      flags |= __GL_EVAL_HAS_NORMAL;
    }
    if (vertexMap >= 0) {
      evaluate(vertexMap, vertex);
      flags |= vertexFlag;
    }
  }
  SavedColor saved{};
  GLfloat color[4] = {}, texture[4] = {};
  if (EvaluateColor(gc, enables, evaluate, color)) {
    SetColor(gc, color, &saved);
    flags |= __GL_EVAL_HAS_COLOR;
  }
  if (EvaluateTexture(enables, evaluate, texture)) {
    SetTexture(gc, texture);
    flags |= __GL_EVAL_HAS_TEXTURE;
  }
  if (record != nullptr) {
    record->flags = flags;
    memcpy(record->color, color, sizeof color);
    memcpy(record->normal, normal, sizeof(GLfloat) * 3);
    record->normal[3] = 0.0f;
    memcpy(record->texture, texture, sizeof texture);
    memcpy(record->vertex, vertex, sizeof vertex);
  }
  IssueVertex(gc, flags, vertex);
  if (flags & __GL_EVAL_HAS_COLOR) PutColorBack(gc, saved);
}

void sendChange(GlContext *gc, const GlEvalResult *record) {
  SavedColor saved{};
  if (record->flags & __GL_EVAL_HAS_COLOR) SetColor(gc, record->color, &saved);
  if (record->flags & __GL_EVAL_HAS_TEXTURE) SetTexture(gc, record->texture);
  if (record->flags & __GL_EVAL_HAS_NORMAL)
    memcpy(gc->state.current.normal, record->normal, sizeof(GLfloat) * 3);
  IssueVertex(gc, record->flags, record->vertex);
  if (record->flags & __GL_EVAL_HAS_COLOR) PutColorBack(gc, saved);
}

void ComputeFirstPartials(const GLfloat *p, GLfloat *du, GLfloat *dv) {
  const GLfloat w = p[3];
  for (int i = 0; i < 3; ++i) {
    du[i] = w * du[i] - du[3] * p[i];
    dv[i] = w * dv[i] - p[i] * dv[3];
  }
}

void ComputeNormal2(GlContext *gc, GLfloat *normal, const GLfloat *du, const GLfloat *dv) {
  const GLfloat n[3] = {du[1] * dv[2] - dv[1] * du[2], du[2] * dv[0] - dv[2] * du[0],
                        dv[1] * du[0] - du[1] * dv[0]};
  gc->procs.normalize(normal, n);
}

GlEvalSavedCurrent __glEvalSaveCurrent(const GlContext *gc) {
  const GlCurrentState &cur = gc->state.current;
  return GlEvalSavedCurrent{cur.color, {cur.normal[0], cur.normal[1], cur.normal[2]}, cur.texture};
}

void __glEvalRestoreCurrent(GlContext *gc, const GlEvalSavedCurrent &saved) {
  GlCurrentState &cur = gc->state.current;
  cur.color = saved.color;
  memcpy(cur.normal, saved.normal, sizeof cur.normal);
  cur.texture = saved.texture;
}

void __glDoEvalCoord1(GlContext *gc, GLfloat u, GLfloat) {
  const GlEvalSavedCurrent saved = __glEvalSaveCurrent(gc);
  DoEvalCoord1(gc, u);
  __glEvalRestoreCurrent(gc, saved);
}

void __glDoEvalCoord2(GlContext *gc, GLfloat u, GLfloat v) {
  const GlEvalSavedCurrent saved = __glEvalSaveCurrent(gc);
  DoEvalCoord2(gc, nullptr, u, v);
  __glEvalRestoreCurrent(gc, saved);
}

GLfloat __glEvalGridParameter(int64_t i, GLfloat u1, GLfloat u2, int32_t n) {
  if (i == n) return u2;
  const GLfloat du = (u2 - u1) / GLfloat(n);
  return GLfloat(i) * du + u1;
}
