// The raster position worked out again in double precision: the scene the
// tests load (matrices, viewport, depth range) and what a position in it
// must give.
#pragma once

#include "core/context.h"

namespace rpos_test {

struct Scene {
  GLfloat modelView[16];   // column-major, as glLoadMatrixf takes it
  GLfloat projection[16];
  GLint x, y;              // viewport
  GLsizei width, height;
  GLdouble zNear, zFar;    // depth range
};

// An affine model-view with a slight rotation and a perspective projection
// that keeps integer coordinates up to 5 inside.
extern const Scene kPerspective;

// Loads the scene through the API (matrix mode left at GL_MODELVIEW).
void LoadScene(const Scene &s);

struct Expected {
  bool valid;
  double clip[4], eye[4], window[3];
  double normal[3];  // eye space, normalized
};

// `obj` holds all four object coordinates; `normal` is the current normal.
Expected Reference(const GlContext *gc, const Scene &s, const double obj[4],
                   const double normal[3]);

// The lit front colour at colour-buffer scale of one white directional
// light from eye +z (diffuse only) and the default scene ambient.
struct Lighting {
  double materialAmbient[4], materialDiffuse[4];
  double sceneAmbient[4];
};
void LoadLighting(const Lighting &l);
void LitColor(const GlContext *gc, const Lighting &l, const double eyeNormal[3], double out[4]);

// m x v, m column-major.
void Transform(const GLfloat m[16], const double v[4], double out[4]);

}  // namespace rpos_test
