#include "tests/geometry/xform_asm/xform_reference.h"

#include <math.h>
#include <string.h>

#define FORM(name, isa, type, size) \
  { #name, name, isa, type, size }

const XformForm kXformForms[] = {
    FORM(__glXForm2, Isa::Portable, 0, 2),       FORM(__glXForm3, Isa::Portable, 0, 3),
    FORM(__glXForm4, Isa::Portable, 0, 4),       FORM(__glXForm2_W, Isa::Portable, 1, 2),
    FORM(__glXForm3_W, Isa::Portable, 1, 3),     FORM(__glXForm4_W, Isa::Portable, 1, 4),
    FORM(__glXForm2_2DW, Isa::Portable, 2, 2),   FORM(__glXForm3_2DW, Isa::Portable, 2, 3),
    FORM(__glXForm4_2DW, Isa::Portable, 2, 4),   FORM(__glXForm2_2DNRW, Isa::Portable, 3, 2),
    FORM(__glXForm3_2DNRW, Isa::Portable, 3, 3), FORM(__glXForm4_2DNRW, Isa::Portable, 3, 4),
    FORM(__glI386XForm3, Isa::X87, 0, 3),        FORM(__glI386XForm4, Isa::X87, 0, 4),
    FORM(__glI386XForm3_W, Isa::X87, 1, 3),      FORM(__glI386XForm4_W, Isa::X87, 1, 4),
    FORM(__glK3DXForm2, Isa::K3D, 0, 2),         FORM(__glK3DXForm3, Isa::K3D, 0, 3),
    FORM(__glK3DXForm4, Isa::K3D, 0, 4),         FORM(__glK3DXForm2_W, Isa::K3D, 1, 2),
    FORM(__glK3DXForm3_W, Isa::K3D, 1, 3),       FORM(__glK3DXForm4_W, Isa::K3D, 1, 4),
    FORM(__glK3DXForm2_2DW, Isa::K3D, 2, 2),     FORM(__glK3DXForm3_2DW, Isa::K3D, 2, 3),
    FORM(__glK3DXForm4_2DW, Isa::K3D, 2, 4),     FORM(__glK3DXForm2_2DNRW, Isa::K3D, 3, 2),
    FORM(__glK3DXForm3_2DNRW, Isa::K3D, 3, 3),   FORM(__glK3DXForm4_2DNRW, Isa::K3D, 3, 4),
};
const int kXformFormCount = int(sizeof kXformForms / sizeof kXformForms[0]);

namespace {

struct Promise {
  uint32_t fromType;  // promised by this type and every higher one
  int element;
  float value;
};
const Promise kPromises[] = {
    {1, 3, 0}, {1, 7, 0}, {1, 11, 0}, {1, 15, 1}, {2, 2, 0},  {2, 6, 0},  {2, 8, 0},  {2, 9, 0},
    {3, 1, 0}, {3, 4, 0}, {4, 0, 1},  {4, 5, 1},  {4, 10, 1}, {4, 12, 0}, {4, 13, 0}, {4, 14, 0},
};

}  // namespace

void SetElement(TestMatrix *t, int i, float v) {
  t->m.matrix[i] = v;
  t->value[i] = v;
}

TestMatrix MakeMatrix(uint32_t type, uint32_t formType, std::mt19937 &rng) {
  std::uniform_real_distribution<float> d(-4, 4);
  TestMatrix t;
  memset(&t, 0, sizeof t);
  for (int i = 0; i < 16; ++i) SetElement(&t, i, d(rng));
  for (const Promise &p : kPromises) {
    if (type < p.fromType) continue;
    SetElement(&t, p.element, p.value);
    if (formType >= p.fromType) t.m.matrix[p.element] = nanf("");
  }
  t.m.matrixType = type;
  return t;
}

XformExpected ReferenceXform(const TestMatrix &t, const float *in, int size) {
  const double v[4] = {in[0], in[1], size > 2 ? in[2] : 0.0, size > 3 ? in[3] : 1.0};
  XformExpected e = {};
  for (int j = 0; j < 4; ++j) {
    for (int i = 0; i < 4; ++i) {
      double term = v[i] * t.value[4 * i + j];
      e.value[j] += term;
      e.magnitude[j] += fabs(term);
    }
  }
  return e;
}

double XformTolerance(Isa isa, double expected, double magnitude, float got) {
  double step = UlpOf(fmax(fabs(expected), fabs(double(got))));
  if (isa == Isa::K3D) return step / 2 + 5 * ldexp(magnitude, -24);
  return step / 2 + 8 * ldexp(magnitude, -53);
}
