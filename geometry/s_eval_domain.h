// One map at one parameter: the Bernstein basis, single precision
// throughout, and its reuse through a basis cache.
#pragma once

#include "geometry/s_eval.h"

// The basis of `order` at t (and its derivative, up to a positive factor).
void PreEvaluate(GLint order, GLfloat *basis, GLfloat t);
void PreEvaluateWithDeriv(GLint order, GLfloat *basis, GLfloat t, GLfloat *derivBasis);

// k values of the map at u (and v) into result. With derivatives, du and dv
// point along increasing u and v as the application gives them.
void DoDomain1(GlEvalBasisCache *cache, const GlEvalMap1 *map, GLfloat u, GLfloat *result,
               const GLfloat *points);
void DoDomain2(GlEvalBasisCache *cache, const GlEvalMap2 *map, GLfloat u, GLfloat v,
               GLfloat *result, const GLfloat *points);
void DoDomain2WithDerivs(GlEvalBasisCache *cache, const GlEvalMap2 *map, GLfloat u, GLfloat v,
                         GLfloat *result, GLfloat *du, GLfloat *dv, const GLfloat *points);
