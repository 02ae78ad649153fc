// __glConvertResult on its own: what each source kind gives each result
// type, the colour kind's fixed four values, and the codes that write
// nothing.
#include <gtest/gtest.h>
#include <math.h>

#include "core/s_get.h"
#include "tests/core/queries/query_fixture.h"

namespace query_test {
namespace {

using Convert = QueryTest;

TEST_F(Convert, ReservedKindsAndUnknownTypesWriteNothing) {
  const GLfloat source[4] = {1, 2, 3, 4};
  for (int32_t kind : {1, 2, 7, -1, 100})
    for (int32_t type = __GL_FLOAT32; type <= __GL_BOOLEAN; ++type)
      ExpectUntouched<uint8_t>([&](uint8_t *p) { __glConvertResult(gc, kind, source, type, p, 4); },
                               "kind " + std::to_string(kind));
  for (int32_t kind : {__GL_FLOAT, __GL_INT, __GL_BOOL, __GL_NORMALIZED, __GL_SCALED_COLOR})
    for (int32_t type : {0, 5, -3})
      ExpectUntouched<uint8_t>([&](uint8_t *p) { __glConvertResult(gc, kind, source, type, p, 4); },
                               "type " + std::to_string(type));
}

TEST_F(Convert, EachKindToEachType) {
  const GLint ints[3] = {-7, 0, 2000000000};
  Staged i{Kind::kInt, {-7, 0, 2000000000}};
  ExpectWritten<GLfloat>(
      AsFloats(i), [&](GLfloat *p) { __glConvertResult(gc, __GL_INT, ints, __GL_FLOAT32, p, 3); },
      "int");
  ExpectWritten<GLdouble>(
      AsDoubles(i), [&](GLdouble *p) { __glConvertResult(gc, __GL_INT, ints, __GL_FLOAT64, p, 3); },
      "int");
  ExpectWritten<GLint>(
      AsInts(i), [&](GLint *p) { __glConvertResult(gc, __GL_INT, ints, __GL_INT32, p, 3); }, "int");
  ExpectWritten<GLboolean>(
      AsBools(i), [&](GLboolean *p) { __glConvertResult(gc, __GL_INT, ints, __GL_BOOLEAN, p, 3); },
      "int");

  // A flag byte keeps its value in the numeric types.
  const GLubyte bytes[3] = {0, 1, 200};
  ExpectWritten<GLint>(
      {0, 1, 200}, [&](GLint *p) { __glConvertResult(gc, __GL_BOOL, bytes, __GL_INT32, p, 3); },
      "bool");
  ExpectWritten<GLfloat>(
      {0, 1, 200}, [&](GLfloat *p) { __glConvertResult(gc, __GL_BOOL, bytes, __GL_FLOAT32, p, 3); },
      "bool");
  ExpectWritten<GLboolean>(
      {0, 1, 1}, [&](GLboolean *p) { __glConvertResult(gc, __GL_BOOL, bytes, __GL_BOOLEAN, p, 3); },
      "bool");

  const GLfloat floats[5] = {-2.5f, 2.5f, -0.4f, 1e10f, NAN};
  Staged f{Kind::kFloat, {-2.5, 2.5, -0.4f, 1e10f, NAN}};
  ExpectWritten<GLint>(
      {-3, 3, 0, INT32_MAX, 0},
      [&](GLint *p) { __glConvertResult(gc, __GL_FLOAT, floats, __GL_INT32, p, 5); }, "float");
  ExpectWritten<GLboolean>(
      AsBools(f),
      [&](GLboolean *p) { __glConvertResult(gc, __GL_FLOAT, floats, __GL_BOOLEAN, p, 5); },
      "float");

  const GLfloat normalized[4] = {1, -1, 0.5f, -0.25f};
  ExpectWritten<GLint>(
      {2147482496, -2147482496, 1073741248, -536870624},
      [&](GLint *p) { __glConvertResult(gc, __GL_NORMALIZED, normalized, __GL_INT32, p, 4); },
      "normalized");
  ExpectWritten<GLdouble>(
      {1, -1, 0.5, -0.25},
      [&](GLdouble *p) { __glConvertResult(gc, __GL_NORMALIZED, normalized, __GL_FLOAT64, p, 4); },
      "normalized");
}

// A scaled colour is always four values, whatever the count says, except
// to GLboolean, which tests count values as stored.
TEST_F(Convert, ScaledColourWritesFourValues) {
  const GlConstants &k = gc->constants;
  const GLfloat scaled[4] = {k.redScale, 0, k.blueScale * 0.5f, -k.alphaScale};
  Staged c{Kind::kColor, {scaled[0], scaled[1], scaled[2], scaled[3]}};
  Recips(c.recip);
  ExpectWritten<GLfloat>(
      AsFloats(c),
      [&](GLfloat *p) { __glConvertResult(gc, __GL_SCALED_COLOR, scaled, __GL_FLOAT32, p, 1); },
      "float");
  ExpectWritten<GLdouble>(
      AsDoubles(c),
      [&](GLdouble *p) { __glConvertResult(gc, __GL_SCALED_COLOR, scaled, __GL_FLOAT64, p, 2); },
      "double");
  ExpectWritten<GLint>(
      AsInts(c),
      [&](GLint *p) { __glConvertResult(gc, __GL_SCALED_COLOR, scaled, __GL_INT32, p, 0); }, "int");
  ExpectWritten<GLboolean>(
      {1, 0},
      [&](GLboolean *p) { __glConvertResult(gc, __GL_SCALED_COLOR, scaled, __GL_BOOLEAN, p, 2); },
      "bool");
}

}  // namespace
}  // namespace query_test
