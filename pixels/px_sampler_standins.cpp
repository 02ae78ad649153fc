#include "pixels/px_sampler_standins.h"

#include "core/s_standin.h"

#define FRAGMENT(name) \
  void name(GlContext *gc, GlColor *color, GLfloat s, GLfloat t, GLfloat rho) \
      GL_STANDIN_VOID_BODY(name)
#define FILTER(name) \
  void name(GlTextureObject *tex, GlTexel *result, GLfloat lambda, GLfloat s, GLfloat t) \
      GL_STANDIN_VOID_BODY(name)
#define LEVEL_FILTER(name) \
  void name(GlTextureObject *tex, GlTextureLevel *level, GLfloat u, GLfloat v, GlTexel *result) \
      GL_STANDIN_VOID_BODY(name)

FRAGMENT(__glFastTextureFragment)
FRAGMENT(__glTextureFragment)
FRAGMENT(__glMipMapFragment)

GLfloat __glComputeLineRho(GlContext *gc, GLfloat s, GLfloat t, GLfloat q)
    GL_STANDIN_BODY(__glComputeLineRho, 0.0f)
GLfloat __glComputePolygonRho(GlContext *gc, const GlEdgeWalker *walker, GLfloat s, GLfloat t,
                              GLfloat q) GL_STANDIN_BODY(__glComputePolygonRho, 0.0f)

FILTER(__glNearestFilter)
FILTER(__glLinearFilter)
FILTER(__glNMNFilter)
FILTER(__glLMNFilter)
FILTER(__glNMLFilter)
FILTER(__glLMLFilter)

LEVEL_FILTER(__glNearestFilter1)
LEVEL_FILTER(__glLinearFilter1)
LEVEL_FILTER(__glNearestFilter2)
LEVEL_FILTER(__glLinearFilter2)
