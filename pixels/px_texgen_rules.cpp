// Texture-coordinate generation: object-linear, eye-linear and sphere map,
// each for s and t alone or per coordinate in the mixed procedure.
#include "core/context.h"
#include "pixels/px_texgen.h"
#include "pixels/px_texture.h"

namespace {

GLfloat Dot4(const GlCoord &plane, const GlCoord &p) {
  return plane.x * p.x + plane.y * p.y + plane.z * p.z + plane.w * p.w;
}

GLfloat Dot(const GLfloat a[3], const GLfloat b[3]) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

// The generated (s, t, r, q) through the texture matrix into the vertex.
void Finish(GlContext *gc, GlVertex *v, const GLfloat str[4]) {
  const GlMatrix &m = gc->transform.texture->matrix;
  m.xf4(&v->texture, str, &m);
}

// The eye direction reflected about the normal, mapped onto the unit
// square; the reflection straight back at the eye (0, 0, -1 after the +1)
// has no direction and takes the centre.
void SphereGen(GlContext *gc, const GlVertex *v, GLfloat *s, GLfloat *t) {
  GLfloat u[3];
  const GLfloat eye[3] = {v->eye.x, v->eye.y, v->eye.z};
  gc->procs.normalize(u, eye);
  const GLfloat n[3] = {v->normal.x, v->normal.y, v->normal.z};
  const GLfloat d = Dot(n, u);
  const GLfloat rx = u[0] - 2.0f * d * n[0];
  const GLfloat ry = u[1] - 2.0f * d * n[1];
  const GLfloat rz = u[2] - 2.0f * d * n[2] + 1.0f;
  const GLfloat m = 2.0f * __builtin_sqrtf(rx * rx + ry * ry + rz * rz);
  if (m == 0.0f) {
    *s = *t = 0.5f;
    return;
  }
  *s = rx / m + 0.5f;
  *t = ry / m + 0.5f;
}

const GlTexCoordGen &Gen(const GlContext *gc, int coord) { return gc->texture.texCoordGen[coord]; }

}  // namespace

void __glCalcObjectLinear(GlContext *gc, GlVertex *v) {
  const GLfloat str[4] = {Dot4(Gen(gc, __GL_TEXGEN_S).objectPlane, v->obj),
                          Dot4(Gen(gc, __GL_TEXGEN_T).objectPlane, v->obj), v->texture.z,
                          v->texture.w};
  Finish(gc, v, str);
}

void __glCalcEyeLinear(GlContext *gc, GlVertex *v) {
  const GLfloat str[4] = {Dot4(Gen(gc, __GL_TEXGEN_S).eyePlane, v->eye),
                          Dot4(Gen(gc, __GL_TEXGEN_T).eyePlane, v->eye), v->texture.z,
                          v->texture.w};
  Finish(gc, v, str);
}

void __glCalcSphereMap(GlContext *gc, GlVertex *v) {
  GLfloat str[4] = {0.0f, 0.0f, v->texture.z, v->texture.w};
  SphereGen(gc, v, &str[0], &str[1]);
  Finish(gc, v, str);
}

void __glCalcMixedTexture(GlContext *gc, GlVertex *v) {
  static constexpr uint32_t kEnable[4] = {__GL_TEXTURE_GEN_S_ENABLE, __GL_TEXTURE_GEN_T_ENABLE,
                                          __GL_TEXTURE_GEN_R_ENABLE, __GL_TEXTURE_GEN_Q_ENABLE};
  const uint32_t enables = gc->state.enables.texture;
  GLfloat str[4] = {v->texture.x, v->texture.y, v->texture.z, v->texture.w};
  GLfloat sphere[2];
  bool sphereDone = false;
  for (int c = 0; c < 4; ++c) {
    if (!(enables & kEnable[c])) continue;
    const GlTexCoordGen &g = Gen(gc, c);
    switch (g.mode) {
      case GL_EYE_LINEAR: str[c] = Dot4(g.eyePlane, v->eye); break;
      case GL_OBJECT_LINEAR: str[c] = Dot4(g.objectPlane, v->obj); break;
      case GL_SPHERE_MAP:
        if (c > __GL_TEXGEN_T) break;  // the setter refuses it; nothing to make
        if (!sphereDone) {
          SphereGen(gc, v, &sphere[0], &sphere[1]);
          sphereDone = true;
        }
        str[c] = sphere[c];
        break;
      default: break;
    }
  }
  Finish(gc, v, str);
}
