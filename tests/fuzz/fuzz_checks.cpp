#include "tests/fuzz/fuzz_checks.h"

#include <math.h>

#include "tests/fuzz/fuzz_gl.h"

namespace {

struct IntRange {
  GLenum pname;
  const char *name;
  GLint low, high;  // high 0: bounded by `limit`
  GLenum limit;
};

const IntRange kIntRanges[] = {
    {GL_MODELVIEW_STACK_DEPTH, "modelview depth", 1, 0, GL_MAX_MODELVIEW_STACK_DEPTH},
    {GL_PROJECTION_STACK_DEPTH, "projection depth", 1, 0, GL_MAX_PROJECTION_STACK_DEPTH},
    {GL_TEXTURE_STACK_DEPTH, "texture depth", 1, 0, GL_MAX_TEXTURE_STACK_DEPTH},
    {GL_ATTRIB_STACK_DEPTH, "attribute depth", 0, 0, GL_MAX_ATTRIB_STACK_DEPTH},
    {GL_CLIENT_ATTRIB_STACK_DEPTH, "client attribute depth", 0, 0,
     GL_MAX_CLIENT_ATTRIB_STACK_DEPTH},
    {GL_NAME_STACK_DEPTH, "name depth", 0, 0, GL_MAX_NAME_STACK_DEPTH},
    {GL_PACK_ALIGNMENT, "pack alignment", 1, 8, 0},
    {GL_UNPACK_ALIGNMENT, "unpack alignment", 1, 8, 0},
    {GL_STENCIL_CLEAR_VALUE, "stencil clear", -0x7FFFFFFF - 1, 0x7FFFFFFF, 0},
    {GL_MAX_LIGHTS, "lights", 8, 64, 0},
    {GL_MAX_TEXTURE_SIZE, "texture size", 64, 65536, 0},
};

struct EnumSet {
  GLenum pname;
  const char *name;
  GLenum values[12];
};

const EnumSet kEnumSets[] = {
    {GL_MATRIX_MODE, "matrix mode", {GL_MODELVIEW, GL_PROJECTION, GL_TEXTURE}},
    {GL_RENDER_MODE, "render mode", {GL_RENDER, GL_FEEDBACK, GL_SELECT}},
    {GL_SHADE_MODEL, "shade model", {GL_FLAT, GL_SMOOTH}},
    {GL_FRONT_FACE, "front face", {GL_CW, GL_CCW}},
    {GL_CULL_FACE_MODE, "cull face", {GL_FRONT, GL_BACK, GL_FRONT_AND_BACK}},
    {GL_DEPTH_FUNC,
     "depth func",
     {GL_NEVER, GL_LESS, GL_EQUAL, GL_LEQUAL, GL_GREATER, GL_NOTEQUAL, GL_GEQUAL, GL_ALWAYS}},
    {GL_LIST_MODE, "list mode", {0, GL_COMPILE, GL_COMPILE_AND_EXECUTE}},
};

struct FloatRange {
  GLenum pname;
  const char *name;
  int count;
  float low, high;
};

const FloatRange kFloatRanges[] = {
    {GL_COLOR_CLEAR_VALUE, "clear colour", 4, 0.0f, 1.0f},
    {GL_DEPTH_CLEAR_VALUE, "clear depth", 1, 0.0f, 1.0f},
    {GL_DEPTH_RANGE, "depth range", 2, 0.0f, 1.0f},
    {GL_ALPHA_TEST_REF, "alpha reference", 1, 0.0f, 1.0f},
    {GL_LINE_WIDTH, "line width", 1, 0.0f, INFINITY},
    {GL_POINT_SIZE, "point size", 1, 0.0f, INFINITY},
    {GL_ACCUM_CLEAR_VALUE, "accumulation clear", 4, -1.0f, 1.0f},
};

bool IsErrorValue(GLenum e) {
  switch (e) {
    case GL_INVALID_ENUM: case GL_INVALID_VALUE: case GL_INVALID_OPERATION:
    case GL_STACK_OVERFLOW: case GL_STACK_UNDERFLOW: case GL_OUT_OF_MEMORY:
    case GL_TABLE_TOO_LARGE_EXT:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool FuzzCheckErrors(std::string *problem) {
  for (int i = 0; i < 16; i++) {
    const GLenum e = glGetError();
    if (e == GL_NO_ERROR) return true;
    if (!IsErrorValue(e)) {
      *problem = "glGetError gave " + std::to_string(e) + ", no OpenGL error value";
      return false;
    }
  }
  *problem = "glGetError never gave GL_NO_ERROR";
  return false;
}

bool FuzzCheckRanges(std::string *problem) {
  // Inside glBegin/glEnd every query (glGetError too) is an error and
  // answers nothing.
  GLint probe = -12345;
  glGetIntegerv(GL_MATRIX_MODE, &probe);
  if (probe == -12345) return true;

  for (const IntRange &r : kIntRanges) {
    GLint v = -12345, high = r.high;
    glGetIntegerv(r.pname, &v);
    if (r.limit != 0) glGetIntegerv(r.limit, &high);
    if (v < r.low || v > high) {
      *problem = std::string(r.name) + " is " + std::to_string(v) + ", outside [" +
                 std::to_string(r.low) + ", " + std::to_string(high) + "]";
      return false;
    }
  }
  for (const EnumSet &s : kEnumSets) {
    GLint v = -12345;
    glGetIntegerv(s.pname, &v);
    bool found = false;
    for (GLenum value : s.values) found = found || GLenum(v) == value;
    if (!found) {
      *problem = std::string(s.name) + " is " + std::to_string(v) + ", no value it may take";
      return false;
    }
  }
  for (const FloatRange &r : kFloatRanges) {
    GLfloat v[4] = {-7, -7, -7, -7};
    glGetFloatv(r.pname, v);
    for (int i = 0; i < r.count; i++) {
      if (!(v[i] >= r.low && v[i] <= r.high)) {
        *problem = std::string(r.name) + " is " + std::to_string(v[i]) + ", outside its range";
        return false;
      }
    }
  }
  GLint viewport[4], most[2];
  glGetIntegerv(GL_VIEWPORT, viewport);
  glGetIntegerv(GL_MAX_VIEWPORT_DIMS, most);
  if (viewport[2] < 0 || viewport[3] < 0 || viewport[2] > most[0] || viewport[3] > most[1]) {
    *problem = "viewport " + std::to_string(viewport[2]) + "x" + std::to_string(viewport[3]) +
               " outside the largest " + std::to_string(most[0]) + "x" + std::to_string(most[1]);
    return false;
  }
  return FuzzCheckErrors(problem);
}
