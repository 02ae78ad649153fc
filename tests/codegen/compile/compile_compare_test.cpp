// The generated routine against the C compile and clip check, vertex by
// vertex, over a table of states: every vertex type, size and stride, the
// matrix types with sizes 2, 3 and 4, user planes, the cull-vertex test,
// lighting, colour index and the vertex-cache mode, with vertices whose w is
// below or at zero, exactly one, or not a number. By design the routine never
// sets the window-valid bit; the comparison looks at the codes, the culled
// bit and the size class.
#include <gtest/gtest.h>

#include <math.h>

#include <functional>
#include <string>

#include "tests/codegen/compile/compile_fixture.h"
#include "tests/support/counting_imports.h"

namespace compile_test {
namespace {

constexpr int kCount = 30;

const char *TypeName(GLenum t) {
  switch (t) {
    case GL_BYTE: return "byte";
    case GL_UNSIGNED_BYTE: return "ubyte";
    case GL_SHORT: return "short";
    case GL_UNSIGNED_SHORT: return "ushort";
    case GL_INT: return "int";
    case GL_UNSIGNED_INT: return "uint";
    case GL_FLOAT: return "float";
    case GL_DOUBLE: return "double";
  }
  return "?";
}

bool Integer(GLenum t) { return t != GL_FLOAT && t != GL_DOUBLE; }

// Positions: mostly inside, some outside, and at the end (size 4) w = 1,
// w = 0 and w < 0, and (floats) NaNs in x and w.
std::vector<float> Positions(GLenum type, int32_t size, uint32_t seed) {
  const float k = Integer(type) ? 100.0f : 1.0f;
  std::vector<float> v = Values(seed, size_t(kCount * size), -1.4f * k, 1.4f * k);
  for (int e = 0; e < kCount; e++) {
    if (size == 4) v[size_t(e * 4 + 3)] = (Values(seed + e, 1, 0.6f, 1.5f)[0]) * k;
  }
  if (size == 4) {
    v[size_t((kCount - 6) * 4 + 3)] = 1.0f * k;
    v[size_t((kCount - 5) * 4 + 3)] = 0.0f;
    v[size_t((kCount - 4) * 4 + 3)] = -0.5f * k;
  }
  if (!Integer(type)) {
    v[size_t((kCount - 3) * size)] = NAN;
    v[size_t((kCount - 2) * size)] = -NAN;
    if (size == 4) v[size_t((kCount - 1) * 4 + 3)] = NAN;
  }
  return v;
}

// The modelview (and for type 0 the projection) of a matrix type; integer
// vertices are scaled down by a further 0.01.
void Matrices(int type, bool integer) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  if (type == 0) {
    const GLfloat m[16] = {1.0f, 0.1f, 0.05f, 0.2f, -0.1f, 0.9f, 0.0f, -0.1f,
                           0.05f, 0.1f, 0.8f, 0.15f, 0.02f, -0.03f, 0.1f, 1.1f};
    glLoadMatrixf(m);
  }
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  if (type == 3 || type == 2 || type == 0) glTranslatef(0.1f, -0.2f, 0.3f);
  if (type == 3) glScalef(1.1f, 0.9f, 0.8f);
  if (type == 2) glRotatef(25.0f, 0.0f, 0.0f, 1.0f);
  if (type == 1) glRotatef(25.0f, 1.0f, 0.5f, 0.0f);
  if (integer) glScalef(0.01f, 0.01f, 0.01f);
}

void Planes(int count) {
  const GLdouble planes[6][4] = {{1, 0, 0, 0.8},  {-1, 0.2, 0, 0.9}, {0, 1, 0, 0.7},
                                 {0.3, -1, 0, 1}, {0, 0, 1, 0.9},    {0.5, 0.5, -1, 1}};
  for (int i = 0; i < 6; i++) {
    glClipPlane(GL_CLIP_PLANE0 + GLenum(i), planes[i]);
    if (i < count)
      glEnable(GL_CLIP_PLANE0 + GLenum(i));
    else
      glDisable(GL_CLIP_PLANE0 + GLenum(i));
  }
}

void Lights(int count) {
  if (count < 0) {
    glDisable(GL_LIGHTING);
    return;
  }
  glEnable(GL_LIGHTING);
  const GLfloat ambient[] = {0.1f, 0.15f, 0.2f, 1.0f};
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
  const GLfloat diffuse[] = {0.6f, 0.5f, 0.4f, 0.7f}, specular[] = {0.3f, 0.3f, 0.5f, 1.0f};
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
  glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 20.0f);
  for (int i = 0; i < 8; i++) {
    const GLenum l = GL_LIGHT0 + GLenum(i);
    const GLfloat dir[] = {0.3f * float(i) - 1.0f, 0.5f, 1.0f, 0.0f};
    const GLfloat d[] = {0.5f, 0.3f + 0.05f * float(i), 0.2f, 1.0f};
    glLightfv(l, GL_POSITION, dir);
    glLightfv(l, GL_DIFFUSE, d);
    glLightfv(l, GL_SPECULAR, d);
    if (i < count)
      glEnable(l);
    else
      glDisable(l);
  }
}

struct Case {
  std::string name;
  GLenum vertexType = GL_FLOAT;
  int32_t size = 3;
  int32_t pad = 0;       // bytes of stride beyond the packed size
  int matrix = 4;
  int planes = 0;
  GLenum cull = 0;       // 0: cull-vertex test off
  int lights = -1;       // -1: lighting off
  GLenum normalType = 0; // 0: the current normal
  GLenum colorType = 0;  // 0: the current colour
  int32_t colorSize = 4;
  GLenum texType = 0;    // 0: texturing off
  int32_t texSize = 2;
  bool depth = false;
  bool alpha = false;    // blending on: alpha in use
};

class CompileCompare : public CompileTest {
 protected:
  void Check(const Case &c) {
    SCOPED_TRACE(c.name);
    const bool integer = Integer(c.vertexType);
    Vertices(MakeArray(c.vertexType, c.size, c.pad ? c.size * int32_t(TypeBytes(c.vertexType)) + c.pad : 0,
                       Positions(c.vertexType, c.size, uint32_t(c.matrix * 7 + c.size))));
    Matrices(c.matrix, integer);
    Planes(c.planes);
    Lights(c.lights);
    if (c.cull) {
      glEnable(GL_CULL_VERTEX_VLX);
      glCullFace(c.cull);
    } else {
      glDisable(GL_CULL_VERTEX_VLX);
    }
    const GLfloat current[3] = {0.2f, -0.4f, 0.9f};
    glNormal3fv(current);
    if (c.normalType) {
      std::vector<float> n = Values(3, kCount * 3, -1.0f, 1.0f);
      const float k = c.normalType == GL_BYTE ? 127.0f
                      : c.normalType == GL_SHORT ? 32767.0f
                      : c.normalType == GL_INT  ? 2147483000.0f
                                                : 1.0f;
      for (float &x : n) x *= k;
      Normals(MakeArray(c.normalType, 3, 0, n));
    } else {
      glDisableClientState(GL_NORMAL_ARRAY);
    }
    glColor4f(0.3f, 0.6f, 0.9f, 0.5f);
    if (c.colorType) {
      std::vector<float> v = Values(5, size_t(kCount * c.colorSize), -0.2f, 1.2f);
      float k = 1.0f;
      switch (c.colorType) {
        case GL_BYTE: k = 127.0f; break;
        case GL_UNSIGNED_BYTE: k = 255.0f; break;
        case GL_SHORT: k = 32767.0f; break;
        case GL_UNSIGNED_SHORT: k = 65535.0f; break;
        case GL_INT: k = 2147483000.0f; break;
        case GL_UNSIGNED_INT: k = 4294967000.0f; break;
      }
      for (float &x : v) {
        x *= k;
        if (c.colorType == GL_UNSIGNED_BYTE || c.colorType == GL_UNSIGNED_SHORT ||
            c.colorType == GL_UNSIGNED_INT)
          x = fminf(fmaxf(x, 0.0f), k);
        if (c.colorType == GL_BYTE || c.colorType == GL_SHORT || c.colorType == GL_INT)
          x = fminf(x, k);
      }
      Colors(MakeArray(c.colorType, c.colorSize, 0, v));
    } else {
      glDisableClientState(GL_COLOR_ARRAY);
    }
    glTexCoord4f(0.25f, 0.5f, 0.75f, 1.0f);
    if (c.texType) {
      glEnable(GL_TEXTURE_2D);
      std::vector<float> t = Values(9, size_t(kCount * c.texSize), -3.0f, 3.0f);
      if (Integer(c.texType))
        for (float &x : t) x = roundf(x * 20.0f);
      TexCoords(MakeArray(c.texType, c.texSize, 0, t));
    } else {
      glDisable(GL_TEXTURE_2D);
      glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    if (c.depth)
      glEnable(GL_DEPTH_TEST);
    else
      glDisable(GL_DEPTH_TEST);
    if (c.alpha) {
      glEnable(GL_BLEND);
      glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    } else {
      glDisable(GL_BLEND);
    }
    Ready();
    SCOPED_TRACE(testing::Message() << "composite type " << gc->transform.modelView->mvp.matrixType);
    Compare what;
    what.windowZ = c.depth;
    what.alpha = c.alpha;
    what.lit = c.lights >= 0;
    what.colorTolerance = what.lit ? 0.02f * gc->constants.redScale : 2e-4f * gc->constants.redScale;
    const Records cRun = RunC(2, 3, kCount - 3);
    const Records gRun = RunGenerated(2, 3, kCount - 3);
    EXPECT_TRUE(Same(cRun, gRun, what));
  }
};

TEST_F(CompileCompare, EveryVertexTypeSizeAndStrideThroughEveryMatrixType) {
  int row = 0;
  for (GLenum type : {GL_SHORT, GL_INT, GL_FLOAT, GL_DOUBLE})
    for (int32_t size = 2; size <= 4; size++)
      for (int matrix = 0; matrix <= 4; matrix++) {
        Case c;
        c.vertexType = type;
        c.size = size;
        c.matrix = matrix;
        c.pad = row % 3 == 1 ? 4 : 0;
        c.depth = row % 2 == 0;
        c.name = std::string(TypeName(type)) + " x" + std::to_string(size) + " matrix " +
                 std::to_string(matrix) + (c.pad ? " padded" : "");
        Check(c);
        row++;
      }
}

TEST_F(CompileCompare, UserPlanesZeroToSix) {
  for (int planes = 0; planes <= 6; planes++)
    for (int32_t size : {2, 3, 4}) {
      Case c;
      c.size = size;
      c.planes = planes;
      c.matrix = planes % 2 ? 1 : 3;
      c.depth = true;
      c.name = std::to_string(planes) + " planes, size " + std::to_string(size);
      Check(c);
    }
}

TEST_F(CompileCompare, CullVertexOffFrontAndBack) {
  for (GLenum cull : {GLenum(0), GLenum(GL_FRONT), GLenum(GL_BACK), GLenum(GL_FRONT_AND_BACK)})
    for (GLenum normal : {GLenum(0), GLenum(GL_FLOAT), GLenum(GL_SHORT)}) {
      Case c;
      c.cull = cull;
      c.normalType = normal;
      c.size = 4;
      c.matrix = 1;
      c.name = "cull " + std::to_string(cull) + ", normal " + (normal ? TypeName(normal) : "current");
      Check(c);
    }
}

TEST_F(CompileCompare, LightingWithZeroToEightInfiniteLights) {
  for (int lights = 0; lights <= 8; lights++)
    for (GLenum normal : {GLenum(0), GLenum(GL_FLOAT), GLenum(GL_BYTE)}) {
      Case c;
      c.lights = lights;
      c.normalType = normal;
      c.matrix = lights % 3 == 0 ? 4 : 1;
      c.alpha = lights % 2 == 1;
      c.name = std::to_string(lights) + " lights, normal " + (normal ? TypeName(normal) : "current");
      Check(c);
    }
}

TEST_F(CompileCompare, EveryNormalType) {
  for (GLenum normal : {GL_BYTE, GL_SHORT, GL_INT, GL_FLOAT, GL_DOUBLE}) {
    Case c;
    c.normalType = normal;
    c.cull = GL_BACK;  // the test reads the normal
    c.name = std::string("normal ") + TypeName(normal);
    Check(c);
  }
}

TEST_F(CompileCompare, EveryColourTypeAndSize) {
  for (GLenum type : {GL_BYTE, GL_UNSIGNED_BYTE, GL_SHORT, GL_UNSIGNED_SHORT, GL_INT,
                      GL_UNSIGNED_INT, GL_FLOAT, GL_DOUBLE})
    for (int32_t size : {3, 4})
      for (bool alpha : {false, true}) {
        Case c;
        c.colorType = type;
        c.colorSize = size;
        c.alpha = alpha;
        c.name = std::string("colour ") + TypeName(type) + " x" + std::to_string(size) +
                 (alpha ? " alpha" : "");
        Check(c);
      }
}

TEST_F(CompileCompare, EveryTextureCoordinateTypeAndSize) {
  for (GLenum type : {GL_SHORT, GL_INT, GL_FLOAT, GL_DOUBLE})
    for (int32_t size = 1; size <= 4; size++) {
      Case c;
      c.texType = type;
      c.texSize = size;
      c.colorType = GL_UNSIGNED_BYTE;
      c.name = std::string("texture ") + TypeName(type) + " x" + std::to_string(size);
      Check(c);
    }
}

TEST_F(CompileCompare, ColourIndexTakesTheCurrentIndex) {
  Use(TestModes(false));
  glIndexf(5.0f);
  for (int lights : {-1, 0, 2}) {
    Case c;
    c.lights = lights;
    c.matrix = 3;
    c.normalType = lights >= 0 ? GL_FLOAT : 0;
    c.name = "colour index, lights " + std::to_string(lights);
    Check(c);
  }
}

// Records already in the buffer, completed in place as the vertex cache's
// C compile completes them.
TEST_F(CompileCompare, VertexCacheModeCompletesRecordsInPlace) {
  for (uint32_t n = 2; n <= 4; n++)
    for (int matrix : {0, 1, 3})
      for (int planes : {0, 2})
        for (int lights : {-1, 1, 2}) {
          // Two lights: with colour material, which the C path lights.
          const bool material = lights == 2;
          SCOPED_TRACE(testing::Message() << "size " << n << ", matrix " << matrix << ", planes "
                                          << planes << ", lights " << lights);
          Matrices(matrix, false);
          Planes(planes);
          Lights(lights);
          if (material)
            glEnable(GL_COLOR_MATERIAL);
          else
            glDisable(GL_COLOR_MATERIAL);
          glEnable(GL_DEPTH_TEST);
          std::vector<GlVertex> start(kCount);
          const std::vector<float> p = Values(n * 11 + uint32_t(matrix), kCount * 4, -1.4f, 1.4f);
          const std::vector<float> nv = Values(17, kCount * 3, -1.0f, 1.0f);
          for (int i = 0; i < kCount; i++) {
            GlVertex &v = start[size_t(i)];
            memset(&v, 0, sizeof v);
            v.obj = {p[size_t(4 * i)], p[size_t(4 * i + 1)], n > 2 ? p[size_t(4 * i + 2)] : 0.0f,
                     n > 3 ? 1.0f + 0.4f * p[size_t(4 * i + 3)] : 1.0f};
            v.normal = {nv[size_t(3 * i)], nv[size_t(3 * i + 1)], nv[size_t(3 * i + 2)], 0.0f};
            v.colors[0] = {10.0f + float(i), 20.0f, 30.0f - float(i), 40.0f};
            // A size-3 record among size-4 ones keeps its own size class.
            if (n == 4 && i % 5 == 2) v.obj.w = 1.0f;
            v.texture = {0.5f, 0.25f, 0.0f, 1.0f};
            // Earlier bits stay: the routine ORs its word in.
            const uint32_t size = n == 4 && i % 5 == 2 ? 3 : n;
            v.has = (size - 1) << 14 | (i % 4 == 0 ? __GL_HAS_EDGEFLAG_BOUNDARY : 0);
          }
          start[3].obj.w = n > 3 ? -0.5f : start[3].obj.w;
          start[5].obj.x = NAN;
          const Records cRun = RunCacheC(start, n);
          const Records gRun = RunCacheGenerated(start, n);
          Compare what;
          what.lit = lights >= 0;
          what.alpha = false;  // not in use without blending
          // The C check of user planes gives every record the batch's size
          // class; the routine leaves each its own.
          what.sizeClass = planes == 0;
          what.colorTolerance = 0.02f * gc->constants.redScale;
          EXPECT_TRUE(Same(cRun, gRun, what));
          const uint32_t kept = __GL_HAS_EDGEFLAG_BOUNDARY | __GL_HAS_SIZE_MASK;
          for (size_t i = 0; i < start.size(); i++)
            EXPECT_EQ(gRun.records[i].has & kept, start[i].has & kept) << "vertex " << i;
        }
}

}  // namespace
}  // namespace compile_test

namespace compile_test {
namespace {

// What differs by design: the routine never sets the window-valid bit (the
// clippers recompute such vertices), and a facing value of -0.0 counts as
// facing the eye, where the C test's d > 0 counts it as facing away.
class CompileDifferences : public CompileTest {};

TEST_F(CompileDifferences, WindowValidBitAndNegativeZeroFacing) {
  Vertices(MakeArray(GL_FLOAT, 3, 0, {0.1f, 0.2f, 0.3f, -0.2f, 0.1f, 0.0f, 0.3f, -0.3f, 0.1f}));
  Normals(MakeArray(GL_FLOAT, 3, 0, {-0.0f, -0.0f, -0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f}));
  GLfloat eye[4] = {0.0f, 0.0f, 1.0f, 0.0f};  // a direction: facing = N . E
  glCullParameterfvVLX(GL_CULL_VERTEX_EYE_POSITION_VLX, eye);
  glEnable(GL_CULL_VERTEX_VLX);
  glCullFace(GL_BACK);
  const Records c = RunC(0, 0, 3), g = RunGenerated(0, 0, 3);
  ASSERT_FALSE(gc->vertexArray.flags & __GL_VARRAY_CULL_POSITION);
  struct Row {
    const char *what;
    bool cCulled, generatedCulled;
  };
  const Row rows[] = {{"-0.0 facing", true, false}, {"+0.0 facing", true, true},
                      {"facing the eye", false, false}};
  for (int i = 0; i < 3; i++) {
    SCOPED_TRACE(rows[i].what);
    EXPECT_EQ(bool(c.records[size_t(i)].has & __GL_HAS_CULLED), rows[i].cCulled);
    EXPECT_EQ(bool(g.records[size_t(i)].has & __GL_HAS_CULLED), rows[i].generatedCulled);
    EXPECT_FALSE(g.records[size_t(i)].has & __GL_HAS_CLIP) << "window-valid bit";
  }
  EXPECT_TRUE(c.records[2].has & __GL_HAS_CLIP);
}

}  // namespace
}  // namespace compile_test
