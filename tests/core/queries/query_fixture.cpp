#include "tests/core/queries/query_fixture.h"

#include "core/gl_api.h"

namespace query_test {

GLenum QueryTest::TakeError() {
  GLenum e = gc->error;
  gc->error = GL_NO_ERROR;
  return e;
}

void QueryTest::Recips(float out[4]) const {
  const GlConstants &k = gc->constants;
  out[0] = k.oneOverRedScale;
  out[1] = k.oneOverGreenScale;
  out[2] = k.oneOverBlueScale;
  out[3] = k.oneOverAlphaScale;
}

void QueryTest::ExpectGet(GLenum pname, const Staged &want, const std::string &what,
                          double tolerance) {
  ASSERT_EQ(TakeError(), GLenum(GL_NO_ERROR)) << what << ": error before the queries";
  ExpectWritten<GLboolean>(
      AsBools(want), [&](GLboolean *p) { glGetBooleanv(pname, p); }, what + " glGetBooleanv");
  ExpectWritten<GLint>(
      AsInts(want), [&](GLint *p) { glGetIntegerv(pname, p); }, what + " glGetIntegerv");
  ExpectWritten<GLfloat>(
      AsFloats(want), [&](GLfloat *p) { glGetFloatv(pname, p); }, what + " glGetFloatv", tolerance);
  ExpectWritten<GLdouble>(
      AsDoubles(want), [&](GLdouble *p) { glGetDoublev(pname, p); }, what + " glGetDoublev",
      tolerance);
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR)) << what;
}

void QueryTest::ExpectGetRefused(GLenum pname, GLenum error, const std::string &what) {
  gc->error = GL_NO_ERROR;
  ExpectUntouched<GLboolean>([&](GLboolean *p) { glGetBooleanv(pname, p); }, what);
  EXPECT_EQ(TakeError(), error) << what << " glGetBooleanv";
  ExpectUntouched<GLint>([&](GLint *p) { glGetIntegerv(pname, p); }, what);
  EXPECT_EQ(TakeError(), error) << what << " glGetIntegerv";
  ExpectUntouched<GLfloat>([&](GLfloat *p) { glGetFloatv(pname, p); }, what);
  EXPECT_EQ(TakeError(), error) << what << " glGetFloatv";
  ExpectUntouched<GLdouble>([&](GLdouble *p) { glGetDoublev(pname, p); }, what);
  EXPECT_EQ(TakeError(), error) << what << " glGetDoublev";
}

}  // namespace query_test
