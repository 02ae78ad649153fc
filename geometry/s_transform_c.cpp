// The portable transform procedures of general and affine matrices, and the
// transform by the transposed matrix. Every sum is accumulated in extended
// precision and rounded once, when the component is stored; the source is
// read whole before anything is stored, so it may be the destination.
#include "geometry/s_transform_c.h"

#include "geometry/s_xform.h"

using xform::Ext;
using xform::Translation;

namespace {

// One component of x·m[j] + y·m[4+j] (+ z·m[8+j]) + t, t the translation
// term.
inline GLfloat Sum2(const GLfloat *m, int j, Ext x, Ext y, Ext t) {
  return GLfloat(x * m[j] + y * m[4 + j] + t);
}
inline GLfloat Sum3(const GLfloat *m, int j, Ext x, Ext y, Ext z, Ext t) {
  return GLfloat(x * m[j] + y * m[4 + j] + z * m[8 + j] + t);
}

}  // namespace

void __glXForm2(GlCoord *out, const GLfloat *in, const GlMatrix *m) {
  const GLfloat *a = m->matrix;
  Ext x = in[0], y = in[1];
  GlCoord r = {Sum2(a, 0, x, y, a[12]), Sum2(a, 1, x, y, a[13]), Sum2(a, 2, x, y, a[14]),
               Sum2(a, 3, x, y, a[15])};
  *out = r;
}

void __glXForm3(GlCoord *out, const GLfloat *in, const GlMatrix *m) {
  const GLfloat *a = m->matrix;
  Ext x = in[0], y = in[1], z = in[2];
  GlCoord r = {Sum3(a, 0, x, y, z, a[12]), Sum3(a, 1, x, y, z, a[13]), Sum3(a, 2, x, y, z, a[14]),
               Sum3(a, 3, x, y, z, a[15])};
  *out = r;
}

void __glXForm4(GlCoord *out, const GLfloat *in, const GlMatrix *m) {
  const GLfloat *a = m->matrix;
  Ext x = in[0], y = in[1], z = in[2];
  GLfloat w = in[3];
  GlCoord r = {Sum3(a, 0, x, y, z, Translation(a, 0, w)), Sum3(a, 1, x, y, z, Translation(a, 1, w)),
               Sum3(a, 2, x, y, z, Translation(a, 2, w)),
               Sum3(a, 3, x, y, z, Translation(a, 3, w))};
  *out = r;
}

// Affine: m[3], m[7], m[11] and m[15] are never read.
void __glXForm2_W(GlCoord *out, const GLfloat *in, const GlMatrix *m) {
  const GLfloat *a = m->matrix;
  Ext x = in[0], y = in[1];
  GlCoord r = {Sum2(a, 0, x, y, a[12]), Sum2(a, 1, x, y, a[13]), Sum2(a, 2, x, y, a[14]), 1.0f};
  *out = r;
}

void __glXForm3_W(GlCoord *out, const GLfloat *in, const GlMatrix *m) {
  const GLfloat *a = m->matrix;
  Ext x = in[0], y = in[1], z = in[2];
  GlCoord r = {Sum3(a, 0, x, y, z, a[12]), Sum3(a, 1, x, y, z, a[13]), Sum3(a, 2, x, y, z, a[14]),
               1.0f};
  *out = r;
}

void __glXForm4_W(GlCoord *out, const GLfloat *in, const GlMatrix *m) {
  const GLfloat *a = m->matrix;
  Ext x = in[0], y = in[1], z = in[2];
  GLfloat w = in[3];
  GlCoord r = {Sum3(a, 0, x, y, z, Translation(a, 0, w)), Sum3(a, 1, x, y, z, Translation(a, 1, w)),
               Sum3(a, 2, x, y, z, Translation(a, 2, w)), w};
  *out = r;
}

void __glXForm4_PreMultiply(GlCoord *out, const GlCoord *v, const GlMatrix *m) {
  const GLfloat *a = m->matrix;
  Ext x = v->x, y = v->y, z = v->z, w = v->w;
  GLfloat r[4];
  for (int i = 0; i < 4; ++i)
    r[i] = GLfloat(a[4 * i] * x + a[4 * i + 1] * y + a[4 * i + 2] * z + a[4 * i + 3] * w);
  *out = GlCoord{r[0], r[1], r[2], r[3]};
}
