// What every query does between glBegin and glEnd (records
// GL_INVALID_OPERATION, writes nothing), glGetError there, and
// glGetPointerv.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/gl_api.h"
#include "core/gl_get_enums.h"
#include "pixels/px_enums.h"
#include "tests/core/queries/query_fixture.h"

namespace query_test {
namespace {

using Call = std::function<void(uint8_t *)>;

struct Entry {
  const char *name;
  Call call;
};

template <typename T>
T *As(uint8_t *p) {
  return reinterpret_cast<T *>(p);
}

const Entry kEntries[] = {
    {"GetBooleanv", [](uint8_t *p) { glGetBooleanv(GL_CURRENT_COLOR, As<GLboolean>(p)); }},
    {"GetIntegerv", [](uint8_t *p) { glGetIntegerv(GL_VIEWPORT, As<GLint>(p)); }},
    {"GetFloatv", [](uint8_t *p) { glGetFloatv(GL_MODELVIEW_MATRIX, As<GLfloat>(p)); }},
    {"GetDoublev", [](uint8_t *p) { glGetDoublev(GL_FOG_COLOR, As<GLdouble>(p)); }},
    {"GetPointerv", [](uint8_t *p) { glGetPointerv(GL_VERTEX_ARRAY_POINTER, As<GLvoid *>(p)); }},
    {"GetPointervEXT",
     [](uint8_t *p) { glGetPointervEXT(GL_FEEDBACK_BUFFER_POINTER, As<GLvoid *>(p)); }},
    {"GetClipPlane", [](uint8_t *p) { glGetClipPlane(GL_CLIP_PLANE0, As<GLdouble>(p)); }},
    {"GetLightfv", [](uint8_t *p) { glGetLightfv(GL_LIGHT0, GL_DIFFUSE, As<GLfloat>(p)); }},
    {"GetLightiv", [](uint8_t *p) { glGetLightiv(GL_LIGHT0, GL_POSITION, As<GLint>(p)); }},
    {"GetMaterialfv", [](uint8_t *p) { glGetMaterialfv(GL_FRONT, GL_AMBIENT, As<GLfloat>(p)); }},
    {"GetMaterialiv", [](uint8_t *p) { glGetMaterialiv(GL_BACK, GL_SHININESS, As<GLint>(p)); }},
    {"GetMapfv", [](uint8_t *p) { glGetMapfv(GL_MAP1_VERTEX_3, GL_COEFF, As<GLfloat>(p)); }},
    {"GetMapdv", [](uint8_t *p) { glGetMapdv(GL_MAP2_VERTEX_3, GL_DOMAIN, As<GLdouble>(p)); }},
    {"GetMapiv", [](uint8_t *p) { glGetMapiv(GL_MAP1_INDEX, GL_ORDER, As<GLint>(p)); }},
    {"GetPixelMapfv", [](uint8_t *p) { glGetPixelMapfv(GL_PIXEL_MAP_I_TO_R, As<GLfloat>(p)); }},
    {"GetPixelMapuiv", [](uint8_t *p) { glGetPixelMapuiv(GL_PIXEL_MAP_I_TO_I, As<GLuint>(p)); }},
    {"GetPixelMapusv", [](uint8_t *p) { glGetPixelMapusv(GL_PIXEL_MAP_S_TO_S, As<GLushort>(p)); }},
    {"GetPolygonStipple", [](uint8_t *p) { glGetPolygonStipple(p); }},
    {"GetTexEnvfv",
     [](uint8_t *p) { glGetTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, As<GLfloat>(p)); }},
    {"GetTexEnviv",
     [](uint8_t *p) { glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, As<GLint>(p)); }},
    {"GetTexGenfv", [](uint8_t *p) { glGetTexGenfv(GL_S, GL_EYE_PLANE, As<GLfloat>(p)); }},
    {"GetTexGendv", [](uint8_t *p) { glGetTexGendv(GL_T, GL_OBJECT_PLANE, As<GLdouble>(p)); }},
    {"GetTexGeniv", [](uint8_t *p) { glGetTexGeniv(GL_Q, GL_TEXTURE_GEN_MODE, As<GLint>(p)); }},
    {"GetTexParameterfv",
     [](uint8_t *p) {
       glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, As<GLfloat>(p));
     }},
    {"GetTexParameteriv",
     [](uint8_t *p) { glGetTexParameteriv(GL_TEXTURE_1D, GL_TEXTURE_WRAP_S, As<GLint>(p)); }},
    {"GetTexLevelParameterfv",
     [](uint8_t *p) {
       glGetTexLevelParameterfv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, As<GLfloat>(p));
     }},
    {"GetTexLevelParameteriv",
     [](uint8_t *p) {
       glGetTexLevelParameteriv(GL_TEXTURE_1D, 0, GL_TEXTURE_COMPONENTS, As<GLint>(p));
     }},
    {"GetTexImage",
     [](uint8_t *p) { glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, p); }},
};

class InsideBegin : public QueryTest, public testing::WithParamInterface<Entry> {};

TEST_P(InsideBegin, RecordsInvalidOperationAndWritesNothing) {
  gc->beginMode = __GL_IN_BEGIN;
  ExpectUntouched<uint8_t>([](uint8_t *p) { GetParam().call(p); }, GetParam().name);
  gc->beginMode = __GL_NOT_IN_BEGIN;
  EXPECT_EQ(TakeError(), GLenum(GL_INVALID_OPERATION));
}

INSTANTIATE_TEST_SUITE_P(Entries, InsideBegin, testing::ValuesIn(kEntries),
                         [](const testing::TestParamInfo<Entry> &i) { return i.param.name; });

// Validation pending is not inside glBegin.
TEST_F(QueryTest, ValidationPendingAnswers) {
  gc->beginMode = __GL_VALIDATE_PENDING;
  ExpectGet(GL_MAX_LIGHTS, {Kind::kInt, {8}}, "pending");
}

TEST_F(QueryTest, GetErrorInsideBeginReturnsZeroAndKeepsTheErrorForLater) {
  gc->beginMode = __GL_IN_BEGIN;
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  gc->beginMode = __GL_NOT_IN_BEGIN;
  EXPECT_EQ(glGetError(), GLenum(GL_INVALID_OPERATION));
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  // An error recorded before stays the one read.
  glGetIntegerv(0, nullptr);
  gc->beginMode = __GL_IN_BEGIN;
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  gc->beginMode = __GL_NOT_IN_BEGIN;
  EXPECT_EQ(glGetError(), GLenum(GL_INVALID_ENUM));
}

// The same through glBegin and glEnd themselves.
TEST_F(QueryTest, GetErrorBetweenBeginAndEnd) {
  glBegin(GL_POINTS);
  GLint viewport[4] = {-1, -1, -1, -1};
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  glEnd();
  EXPECT_EQ(viewport[0], -1);
  EXPECT_EQ(glGetError(), GLenum(GL_INVALID_OPERATION));
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(QueryTest, UnknownPnamesAreRefusedByEveryGetter) {
  const GLenum unknown[] = {0,
                            GL_CURRENT_COLOR - 1,
                            GL_CURRENT_RASTER_DISTANCE + 1,
                            GL_PIXEL_MAP_A_TO_A_SIZE + 1,
                            GL_LIGHT0 + 8,
                            GL_CLIP_PLANE0 + 6,
                            GL_VERTEX_ARRAY_POINTER,
                            GL_TEXTURE_ENV_COLOR,
                            0x81B4,
                            0xFFFFFFFF};
  for (GLenum pname : unknown)
    ExpectGetRefused(pname, GL_INVALID_ENUM, "pname " + std::to_string(pname));
}

struct PointerRow {
  GLenum pname;
  std::function<void()> set;
  const void *want;
};

GLshort gData[8];
GLfloat gFeedback[8];
GLuint gSelect[8];

TEST_F(QueryTest, GetPointervGivesEachArrayAndBuffer) {
  const PointerRow rows[] = {
      {GL_VERTEX_ARRAY_POINTER, [] { glVertexPointer(2, GL_SHORT, 0, gData); }, gData},
      {GL_NORMAL_ARRAY_POINTER, [] { glNormalPointer(GL_SHORT, 0, gData + 1); }, gData + 1},
      {GL_COLOR_ARRAY_POINTER, [] { glColorPointer(3, GL_SHORT, 0, gData + 2); }, gData + 2},
      {GL_INDEX_ARRAY_POINTER, [] { glIndexPointer(GL_SHORT, 0, gData + 3); }, gData + 3},
      {GL_TEXTURE_COORD_ARRAY_POINTER, [] { glTexCoordPointer(1, GL_SHORT, 0, gData + 4); },
       gData + 4},
      {GL_EDGE_FLAG_ARRAY_POINTER,
       [] { glEdgeFlagPointer(0, reinterpret_cast<const GLboolean *>(gData + 5)); }, gData + 5},
      {GL_FEEDBACK_BUFFER_POINTER, [] { glFeedbackBuffer(8, GL_2D, gFeedback); }, gFeedback},
      {GL_SELECTION_BUFFER_POINTER, [] { glSelectBuffer(8, gSelect); }, gSelect},
  };
  for (const PointerRow &row : rows) {
    row.set();
    ExpectWritten<GLvoid *>(
        {const_cast<void *>(row.want)}, [&](GLvoid **p) { glGetPointerv(row.pname, p); },
        "pname " + std::to_string(row.pname));
    ExpectWritten<GLvoid *>(
        {const_cast<void *>(row.want)}, [&](GLvoid **p) { glGetPointervEXT(row.pname, p); },
        "EXT pname " + std::to_string(row.pname));
    EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  }
  ExpectUntouched<GLvoid *>([](GLvoid **p) { glGetPointerv(GL_VERTEX_ARRAY_POINTER - 1, p); },
                            "unknown");
  EXPECT_EQ(TakeError(), GLenum(GL_INVALID_ENUM));
  ExpectUntouched<GLvoid *>([](GLvoid **p) { glGetPointerv(GL_SELECTION_BUFFER_SIZE, p); },
                            "unknown");
  EXPECT_EQ(TakeError(), GLenum(GL_INVALID_ENUM));
}

}  // namespace
}  // namespace query_test
