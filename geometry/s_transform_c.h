// What the portable transform procedures share: sums in extended precision
// and the translation term of a four-component point.
#pragma once

#include "core/gl_defs.h"

namespace xform {

typedef long double Ext;

// w·m[12+j]; a w of exactly 1 adds the translation without the product.
inline Ext Translation(const GLfloat *m, int j, GLfloat w) {
  return w == 1.0f ? Ext(m[12 + j]) : Ext(w) * m[12 + j];
}

}  // namespace xform
