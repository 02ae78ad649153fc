// Bernstein bases by repeated degree raising, and the sums of one map's
// control points against them. Every product and sum is a float.
#include "geometry/s_eval_domain.h"

namespace {

// Raises a basis of order `from` to order `to` in place.
void Raise(GLfloat *b, GLint from, GLint to, GLfloat s, GLfloat t) {
  for (GLint i = from; i < to; ++i) {
    GLfloat tmp = b[0] * t;
    b[0] = b[0] * s;
    for (GLint j = 1; j < i; ++j) {
      const GLfloat old = tmp;
      tmp = b[j] * t;
      b[j] = b[j] * s + old;
    }
    b[i] = tmp;
  }
}

GLfloat Normalized(GLfloat x, GLfloat x1, GLfloat x2) { return (x - x1) / (x2 - x1); }

// The sign of a domain's extent; a reversed domain turns its derivative.
GLfloat Direction(GLfloat x1, GLfloat x2) { return x2 < x1 ? -1.0f : 1.0f; }

// The basis of one axis, reused when parameter, order and kind allow.
const GLfloat *Values(GLfloat t, GLint order, GLfloat &lastT, GLint &lastOrder, GLint &kind,
                      GLfloat *basis) {
  if (!(t == lastT && order == lastOrder && kind != __GL_EVAL_BASIS_NONE)) {
    PreEvaluate(order, basis, t);
    lastT = t;
    lastOrder = order;
    kind = __GL_EVAL_BASIS_VALUES;
  }
  return basis;
}

void WithDerivs(GLfloat t, GLint order, GLfloat &lastT, GLint &lastOrder, GLint &kind,
                GLfloat *basis, GLfloat *deriv) {
  if (!(t == lastT && order == lastOrder && kind == __GL_EVAL_BASIS_DERIVS)) {
    PreEvaluateWithDeriv(order, basis, t, deriv);
    lastT = t;
    lastOrder = order;
    kind = __GL_EVAL_BASIS_DERIVS;
  }
}

// Σ over l of weight[l] * P(i, l)[c] for one row i of a 2-D map.
GLfloat RowSum(const GLfloat *weight, const GLfloat *row, GLint vOrder, GLint k) {
  GLfloat sum = weight[0] * row[0];
  for (GLint l = 1; l < vOrder; ++l) sum += weight[l] * row[l * k];
  return sum;
}

}  // namespace

void PreEvaluate(GLint order, GLfloat *basis, GLfloat t) {
  if (order == 1) {
    basis[0] = 1.0f;
    return;
  }
  basis[0] = 1.0f - t;
  basis[1] = t;
  Raise(basis, 2, order, 1.0f - t, t);
}

void PreEvaluateWithDeriv(GLint order, GLfloat *basis, GLfloat t, GLfloat *deriv) {
  if (order == 1) {
    basis[0] = 1.0f;
    deriv[0] = 0.0f;
    return;
  }
  const GLfloat s = 1.0f - t;
  basis[0] = s;
  basis[1] = t;
  if (order == 2) {
    deriv[0] = -1.0f;
    deriv[1] = 1.0f;
    return;
  }
  Raise(basis, 2, order - 1, s, t);
  deriv[0] = -basis[0];
  for (GLint j = 1; j < order - 1; ++j) deriv[j] = basis[j - 1] - basis[j];
  deriv[order - 1] = basis[order - 2];
  Raise(basis, order - 1, order, s, t);
}

void DoDomain1(GlEvalBasisCache *cache, const GlEvalMap1 *map, GLfloat u, GLfloat *result,
               const GLfloat *points) {
  const GLfloat t = Normalized(u, map->u1, map->u2);
  const GLfloat *basis =
      Values(t, map->order, cache->uValue, cache->uOrder, cache->uKind, cache->uBasis);
  for (GLint c = 0; c < map->k; ++c) {
    GLfloat sum = 0.0f;
    for (GLint i = 0; i < map->order; ++i) sum += basis[i] * points[i * map->k + c];
    result[c] = sum;
  }
}

void DoDomain2(GlEvalBasisCache *cache, const GlEvalMap2 *map, GLfloat u, GLfloat v,
               GLfloat *result, const GLfloat *points) {
  const GLfloat tu = Normalized(u, map->u1, map->u2), tv = Normalized(v, map->v1, map->v2);
  const GLfloat *ub =
      Values(tu, map->uOrder, cache->uValue, cache->uOrder, cache->uKind, cache->uBasis);
  const GLfloat *vb =
      Values(tv, map->vOrder, cache->vValue, cache->vOrder, cache->vKind, cache->vBasis);
  const GLint k = map->k, rowFloats = map->vOrder * k;
  for (GLint c = 0; c < k; ++c) {
    GLfloat sum = 0.0f;
    for (GLint i = 0; i < map->uOrder; ++i)
      sum += ub[i] * RowSum(vb, points + i * rowFloats + c, map->vOrder, k);
    result[c] = sum;
  }
}

void DoDomain2WithDerivs(GlEvalBasisCache *cache, const GlEvalMap2 *map, GLfloat u, GLfloat v,
                         GLfloat *result, GLfloat *du, GLfloat *dv, const GLfloat *points) {
  const GLfloat tu = Normalized(u, map->u1, map->u2), tv = Normalized(v, map->v1, map->v2);
  WithDerivs(tu, map->uOrder, cache->uValue, cache->uOrder, cache->uKind, cache->uBasis,
             cache->uDerivBasis);
  WithDerivs(tv, map->vOrder, cache->vValue, cache->vOrder, cache->vKind, cache->vBasis,
             cache->vDerivBasis);
  const GLfloat *ub = cache->uBasis, *vb = cache->vBasis;
  const GLfloat *ud = cache->uDerivBasis, *vd = cache->vDerivBasis;
  // The bases run along the normalized parameters; the partials are taken
  // along u and v themselves, so a reversed domain turns its partial round.
  const GLfloat uSign = Direction(map->u1, map->u2), vSign = Direction(map->v1, map->v2);
  const GLint k = map->k, rowFloats = map->vOrder * k;
  for (GLint c = 0; c < k; ++c) {
    GLfloat sum = 0.0f, sumU = 0.0f, sumV = 0.0f;
    for (GLint i = 0; i < map->uOrder; ++i) {
      const GLfloat *row = points + i * rowFloats + c;
      const GLfloat inner = RowSum(vb, row, map->vOrder, k);
      sum += ub[i] * inner;
      sumU += ud[i] * inner;
      sumV += ub[i] * RowSum(vd, row, map->vOrder, k);
    }
    result[c] = sum;
    du[c] = sumU * uSign;
    dv[c] = sumV * vSign;
  }
}
