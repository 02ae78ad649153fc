// The double-precision reference the matrix tests compare with.
#pragma once

#include <array>

#include "geometry/s_xform.h"

// 4x4 matrices in double precision, in the storage order of GlMatrix:
// a point (x, y, z, w) goes to out[j] = x·m[j] + y·m[4+j] + z·m[8+j] + w·m[12+j].
typedef std::array<double, 16> Ref;

Ref RefIdentity();
Ref RefOf(const GlMatrix &m);
// a x b in storage order: a point goes through a, then b.
Ref RefProduct(const Ref &a, const Ref &b);
Ref RefInverse(const Ref &m);  // by Gauss-Jordan with partial pivoting
Ref RefTranspose(const Ref &m);
// OpenGL's matrices for the commands, from their textbook definitions.
Ref RefRotate(double degrees, double x, double y, double z);
Ref RefScale(double x, double y, double z);
Ref RefTranslate(double x, double y, double z);
Ref RefFrustum(double l, double r, double b, double t, double n, double f);
Ref RefOrtho(double l, double r, double b, double t, double n, double f);
std::array<double, 4> RefApply(const Ref &m, const std::array<double, 4> &v);

// Largest |got - want| / (1 + |want|) over the elements.
double RelativeError(const GlMatrix &got, const Ref &want);
