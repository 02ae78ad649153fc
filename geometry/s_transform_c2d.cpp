// The portable transform procedures of 2D matrices: with a separate z
// (x and y independent of z) and without rotation (the identity too). The
// elements the type promises to be zero or one are never read. Sums are
// accumulated in extended precision and rounded on store; the source is read
// whole before anything is stored.
#include "geometry/s_transform_c.h"
#include "geometry/s_xform.h"

using xform::Ext;
using xform::Translation;

void __glXForm2_2DW(GlCoord *out, const GLfloat *in, const GlMatrix *m) {
  const GLfloat *a = m->matrix;
  Ext x = in[0], y = in[1];
  GlCoord r = {GLfloat(x * a[0] + y * a[4] + a[12]), GLfloat(x * a[1] + y * a[5] + a[13]), a[14],
               1.0f};
  *out = r;
}

void __glXForm3_2DW(GlCoord *out, const GLfloat *in, const GlMatrix *m) {
  const GLfloat *a = m->matrix;
  Ext x = in[0], y = in[1], z = in[2];
  GlCoord r = {GLfloat(x * a[0] + y * a[4] + a[12]), GLfloat(x * a[1] + y * a[5] + a[13]),
               GLfloat(z * a[10] + a[14]), 1.0f};
  *out = r;
}

void __glXForm4_2DW(GlCoord *out, const GLfloat *in, const GlMatrix *m) {
  const GLfloat *a = m->matrix;
  Ext x = in[0], y = in[1], z = in[2];
  GLfloat w = in[3];
  GlCoord r = {GLfloat(x * a[0] + y * a[4] + Translation(a, 0, w)),
               GLfloat(x * a[1] + y * a[5] + Translation(a, 1, w)),
               GLfloat(z * a[10] + Translation(a, 2, w)), w};
  *out = r;
}

void __glXForm2_2DNRW(GlCoord *out, const GLfloat *in, const GlMatrix *m) {
  const GLfloat *a = m->matrix;
  Ext x = in[0], y = in[1];
  GlCoord r = {GLfloat(x * a[0] + a[12]), GLfloat(y * a[5] + a[13]), a[14], 1.0f};
  *out = r;
}

void __glXForm3_2DNRW(GlCoord *out, const GLfloat *in, const GlMatrix *m) {
  const GLfloat *a = m->matrix;
  Ext x = in[0], y = in[1], z = in[2];
  GlCoord r = {GLfloat(x * a[0] + a[12]), GLfloat(y * a[5] + a[13]), GLfloat(z * a[10] + a[14]),
               1.0f};
  *out = r;
}

void __glXForm4_2DNRW(GlCoord *out, const GLfloat *in, const GlMatrix *m) {
  const GLfloat *a = m->matrix;
  Ext x = in[0], y = in[1], z = in[2];
  GLfloat w = in[3];
  GlCoord r = {GLfloat(x * a[0] + Translation(a, 0, w)), GLfloat(y * a[5] + Translation(a, 1, w)),
               GLfloat(z * a[10] + Translation(a, 2, w)), w};
  *out = r;
}
