#include "tests/core/attrib/attrib_groups.h"

#include <gtest/gtest.h>

#include "core/gl_api.h"
#include "core/gl_get_enums.h"
#include "core/s_names.h"
#include "geometry/s_varray.h"
#include "pixels/px_enums.h"
#include "pixels/px_texture.h"

namespace attrib_test {

uint8_t gArrayBytes[4096];

namespace {

float F(Rng &r, float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(r); }
int I(Rng &r, int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(r); }
bool B(Rng &r) { return r() & 1; }
template <size_t N>
GLenum Pick(Rng &r, const GLenum (&a)[N]) {
  return a[size_t(I(r, 0, int(N) - 1))];
}
void Color(Rng &r, GLfloat *c, float lo = 0, float hi = 1) {
  for (int i = 0; i < 4; ++i) c[i] = F(r, lo, hi);
}

// Every query writes at most 16 values; the rest keep the canary, the same
// in every snapshot.
void Get(GLenum pname, Values *out) {
  GLdouble v[16];
  for (GLdouble &d : v) d = -7777.0;
  glGetDoublev(pname, v);
  out->insert(out->end(), v, v + 16);
}
void GetAll(std::initializer_list<GLenum> pnames, Values *out) {
  for (GLenum p : pnames) Get(p, out);
}
template <typename Query>
void Floats(Values *out, Query query) {
  GLfloat v[4] = {-7777, -7777, -7777, -7777};
  query(v);
  out->insert(out->end(), v, v + 4);
}

const GLenum kFaces[] = {GL_FRONT, GL_BACK, GL_FRONT_AND_BACK};
const GLenum kFuncs[] = {GL_NEVER,  GL_LESS,    GL_EQUAL,  GL_LEQUAL,
                         GL_GREATER, GL_NOTEQUAL, GL_GEQUAL, GL_ALWAYS};
const GLenum kMaterialColors[] = {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR, GL_EMISSION};
const GLenum kLightColors[] = {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR};
const GLenum kLightScalars[] = {GL_SPOT_EXPONENT, GL_CONSTANT_ATTENUATION,
                                GL_LINEAR_ATTENUATION, GL_QUADRATIC_ATTENUATION};

void ChangeCurrent(GlContext *, Rng &r) {
  glColor4f(F(r, 0, 1), F(r, 0, 1), F(r, 0, 1), F(r, 0, 1));
  glIndexf(GLfloat(I(r, 0, 200)));
  glNormal3f(F(r, -1, 1), F(r, -1, 1), F(r, -1, 1));
  glTexCoord4f(F(r, -2, 2), F(r, -2, 2), F(r, -2, 2), F(r, 0.5f, 2));
  glEdgeFlag(GLboolean(B(r)));
  glRasterPos3f(F(r, -1.2f, 1.2f), F(r, -1.2f, 1.2f), F(r, -0.9f, 0.9f));
}
void ReadCurrent(GlContext *, Values *o) {
  GetAll({GL_CURRENT_COLOR, GL_CURRENT_INDEX, GL_CURRENT_NORMAL, GL_CURRENT_TEXTURE_COORDS,
          GL_EDGE_FLAG, GL_CURRENT_RASTER_POSITION, GL_CURRENT_RASTER_COLOR,
          GL_CURRENT_RASTER_INDEX, GL_CURRENT_RASTER_TEXTURE_COORDS, GL_CURRENT_RASTER_DISTANCE,
          GL_CURRENT_RASTER_POSITION_VALID},
         o);
}

void ChangePoint(GlContext *, Rng &r) { glPointSize(F(r, 0.5f, 8)); }
void ReadPoint(GlContext *, Values *o) { Get(GL_POINT_SIZE, o); }

void ChangeLine(GlContext *, Rng &r) {
  glLineWidth(F(r, 0.5f, 8));
  glLineStipple(I(r, 1, 256), GLushort(I(r, 0, 0xFFFF)));
}
void ReadLine(GlContext *, Values *o) {
  GetAll({GL_LINE_WIDTH, GL_LINE_STIPPLE_PATTERN, GL_LINE_STIPPLE_REPEAT}, o);
}

void ChangePolygon(GlContext *, Rng &r) {
  const GLenum modes[] = {GL_POINT, GL_LINE, GL_FILL};
  glPolygonMode(GL_FRONT, Pick(r, modes));
  glPolygonMode(GL_BACK, Pick(r, modes));
  glCullFace(Pick(r, kFaces));
  glFrontFace(B(r) ? GL_CW : GL_CCW);
  glPolygonOffset(F(r, -4, 4), F(r, -4, 4));
}
void ReadPolygon(GlContext *, Values *o) {
  GetAll({GL_POLYGON_MODE, GL_CULL_FACE_MODE, GL_FRONT_FACE, GL_POLYGON_OFFSET_FACTOR,
          GL_POLYGON_OFFSET_UNITS},
         o);
}

void ChangeStipple(GlContext *, Rng &r) {
  GLubyte mask[128];
  for (GLubyte &b : mask) b = GLubyte(r());
  glPolygonStipple(mask);
}
// The stored pattern itself: glGetPolygonStipple passes it through the pack
// modes and the index transfer, which belong to other groups.
void ReadStipple(GlContext *gc, Values *o) {
  const GLubyte *stored = gc->state.polygonStipple.stipple;
  o->insert(o->end(), stored, stored + sizeof gc->state.polygonStipple.stipple);
}

const GLenum kTransferFloats[] = {GL_RED_SCALE,   GL_GREEN_SCALE, GL_BLUE_SCALE, GL_ALPHA_SCALE,
                                  GL_DEPTH_SCALE, GL_RED_BIAS,    GL_GREEN_BIAS, GL_BLUE_BIAS,
                                  GL_ALPHA_BIAS,  GL_DEPTH_BIAS};
void ChangePixelMode(GlContext *, Rng &r) {
  for (GLenum p : kTransferFloats) glPixelTransferf(p, F(r, -2, 2));
  glPixelTransferi(GL_INDEX_SHIFT, I(r, -5, 5));
  glPixelTransferi(GL_INDEX_OFFSET, I(r, -50, 50));
  glPixelTransferi(GL_MAP_COLOR, B(r));
  glPixelTransferi(GL_MAP_STENCIL, B(r));
  glPixelZoom(F(r, 0.5f, 3), F(r, -3, -0.5f));
  glReadBuffer(B(r) ? GL_FRONT : GL_BACK);
}
void ReadPixelMode(GlContext *, Values *o) {
  for (GLenum p : kTransferFloats) Get(p, o);
  GetAll({GL_INDEX_SHIFT, GL_INDEX_OFFSET, GL_MAP_COLOR, GL_MAP_STENCIL, GL_ZOOM_X, GL_ZOOM_Y,
          GL_READ_BUFFER},
         o);
}

void ChangeLighting(GlContext *gc, Rng &r) {
  glShadeModel(B(r) ? GL_FLAT : GL_SMOOTH);
  const GLenum params[] = {GL_EMISSION, GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR,
                           GL_AMBIENT_AND_DIFFUSE};
  glColorMaterial(Pick(r, kFaces), Pick(r, params));
  GLfloat c[4];
  Color(r, c);
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, c);
  glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, B(r));
  glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, B(r));
  for (GLenum face : {GL_FRONT, GL_BACK}) {
    for (GLenum p : kMaterialColors) {
      Color(r, c);
      glMaterialfv(face, p, c);
    }
    glMaterialf(face, GL_SHININESS, F(r, 0, 128));
  }
  for (int i = 0; i < gc->constants.numberOfLights; ++i) {
    const GLenum light = GL_LIGHT0 + GLenum(i);
    for (GLenum p : kLightColors) {
      Color(r, c);
      glLightfv(light, p, c);
    }
    GLfloat position[4] = {F(r, -5, 5), F(r, -5, 5), F(r, -5, 5), GLfloat(B(r))};
    glLightfv(light, GL_POSITION, position);
    GLfloat direction[3] = {F(r, -1, 1), F(r, -1, 1), F(r, -1, 1)};
    glLightfv(light, GL_SPOT_DIRECTION, direction);
    glLightf(light, GL_SPOT_EXPONENT, F(r, 0, 128));
    glLightf(light, GL_SPOT_CUTOFF, B(r) ? 180.0f : F(r, 0, 90));
    glLightf(light, GL_CONSTANT_ATTENUATION, F(r, 0, 2));
    glLightf(light, GL_LINEAR_ATTENUATION, F(r, 0, 2));
    glLightf(light, GL_QUADRATIC_ATTENUATION, F(r, 0, 2));
  }
}
void ReadLighting(GlContext *gc, Values *o) {
  GetAll({GL_SHADE_MODEL, GL_COLOR_MATERIAL_FACE, GL_COLOR_MATERIAL_PARAMETER,
          GL_LIGHT_MODEL_AMBIENT, GL_LIGHT_MODEL_LOCAL_VIEWER, GL_LIGHT_MODEL_TWO_SIDE},
         o);
  for (GLenum face : {GL_FRONT, GL_BACK}) {
    for (GLenum p : kMaterialColors) Floats(o, [&](GLfloat *v) { glGetMaterialfv(face, p, v); });
    Floats(o, [&](GLfloat *v) { glGetMaterialfv(face, GL_SHININESS, v); });
  }
  for (int i = 0; i < gc->constants.numberOfLights; ++i) {
    const GLenum light = GL_LIGHT0 + GLenum(i);
    for (GLenum p : {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR, GL_POSITION, GL_SPOT_DIRECTION,
                     GL_SPOT_CUTOFF})
      Floats(o, [&](GLfloat *v) { glGetLightfv(light, p, v); });
    for (GLenum p : kLightScalars) Floats(o, [&](GLfloat *v) { glGetLightfv(light, p, v); });
  }
}

void ChangeFog(GlContext *, Rng &r) {
  const GLenum modes[] = {GL_LINEAR, GL_EXP, GL_EXP2};
  glFogi(GL_FOG_MODE, GLint(Pick(r, modes)));
  glFogf(GL_FOG_DENSITY, F(r, 0, 2));
  glFogf(GL_FOG_START, F(r, -1, 1));
  glFogf(GL_FOG_END, F(r, 1, 3));
  glFogi(GL_FOG_INDEX, I(r, 0, 255));
  GLfloat c[4];
  Color(r, c);
  glFogfv(GL_FOG_COLOR, c);
}
void ReadFog(GlContext *, Values *o) {
  GetAll({GL_FOG_MODE, GL_FOG_DENSITY, GL_FOG_START, GL_FOG_END, GL_FOG_INDEX, GL_FOG_COLOR}, o);
}

void ChangeDepth(GlContext *, Rng &r) {
  glDepthFunc(Pick(r, kFuncs));
  glDepthMask(GLboolean(B(r)));
  glClearDepth(F(r, 0, 1));
}
void ReadDepth(GlContext *, Values *o) {
  GetAll({GL_DEPTH_FUNC, GL_DEPTH_WRITEMASK, GL_DEPTH_CLEAR_VALUE}, o);
}

void ChangeAccum(GlContext *, Rng &r) {
  glClearAccum(F(r, -1, 1), F(r, -1, 1), F(r, -1, 1), F(r, -1, 1));
}
void ReadAccum(GlContext *, Values *o) { Get(GL_ACCUM_CLEAR_VALUE, o); }

void ChangeStencil(GlContext *, Rng &r) {
  const GLenum ops[] = {GL_KEEP, GL_ZERO, GL_REPLACE, GL_INCR, GL_DECR, GL_INVERT};
  glStencilFunc(Pick(r, kFuncs), I(r, 0, 255), GLuint(I(r, 0, 255)));
  glStencilOp(Pick(r, ops), Pick(r, ops), Pick(r, ops));
  glStencilMask(GLuint(I(r, 0, 255)));
  glClearStencil(I(r, 0, 255));
}
void ReadStencil(GlContext *, Values *o) {
  GetAll({GL_STENCIL_FUNC, GL_STENCIL_REF, GL_STENCIL_VALUE_MASK, GL_STENCIL_FAIL,
          GL_STENCIL_PASS_DEPTH_FAIL, GL_STENCIL_PASS_DEPTH_PASS, GL_STENCIL_WRITEMASK,
          GL_STENCIL_CLEAR_VALUE},
         o);
}

void ChangeViewport(GlContext *, Rng &r) {
  glViewport(I(r, -10, 20), I(r, -10, 20), I(r, 1, 80), I(r, 1, 60));
  glDepthRange(F(r, 0, 1), F(r, 0, 1));
}
void ReadViewport(GlContext *, Values *o) { GetAll({GL_VIEWPORT, GL_DEPTH_RANGE}, o); }

void ChangeTransform(GlContext *gc, Rng &r) {
  const GLenum modes[] = {GL_MODELVIEW, GL_PROJECTION, GL_TEXTURE};
  glMatrixMode(Pick(r, modes));
  for (int i = 0; i < gc->constants.numberOfClipPlanes; ++i) {
    const GLdouble plane[4] = {F(r, -1, 1), F(r, -1, 1), F(r, -1, 1), F(r, -5, 5)};
    glClipPlane(GL_CLIP_PLANE0 + GLenum(i), plane);
  }
}
void ReadTransform(GlContext *gc, Values *o) {
  Get(GL_MATRIX_MODE, o);
  for (int i = 0; i < gc->constants.numberOfClipPlanes; ++i) {
    GLdouble plane[4];
    glGetClipPlane(GL_CLIP_PLANE0 + GLenum(i), plane);
    o->insert(o->end(), plane, plane + 4);
  }
}

void ChangeColorBuffer(GlContext *, Rng &r) {
  const GLenum sources[] = {GL_ZERO,          GL_ONE,       GL_DST_COLOR,
                            GL_ONE_MINUS_DST_COLOR, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA,
                            GL_DST_ALPHA,     GL_ONE_MINUS_DST_ALPHA, GL_SRC_ALPHA_SATURATE};
  const GLenum dests[] = {GL_ZERO,      GL_ONE,       GL_SRC_COLOR,          GL_ONE_MINUS_SRC_COLOR,
                          GL_SRC_ALPHA, GL_DST_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE_MINUS_DST_ALPHA};
  const GLenum buffers[] = {GL_FRONT, GL_BACK, GL_FRONT_AND_BACK};
  glAlphaFunc(Pick(r, kFuncs), F(r, 0, 1));
  glBlendFunc(Pick(r, sources), Pick(r, dests));
  glLogicOp(GL_CLEAR + GLenum(I(r, 0, 15)));
  glClearColor(F(r, 0, 1), F(r, 0, 1), F(r, 0, 1), F(r, 0, 1));
  glClearIndex(GLfloat(I(r, 0, 255)));
  glColorMask(GLboolean(B(r)), GLboolean(B(r)), GLboolean(B(r)), GLboolean(B(r)));
  glIndexMask(GLuint(I(r, 0, 255)));
  glDrawBuffer(Pick(r, buffers));
}
void ReadColorBuffer(GlContext *, Values *o) {
  GetAll({GL_ALPHA_TEST_FUNC, GL_ALPHA_TEST_REF, GL_BLEND_SRC, GL_BLEND_DST, GL_LOGIC_OP_MODE,
          GL_COLOR_CLEAR_VALUE, GL_INDEX_CLEAR_VALUE, GL_COLOR_WRITEMASK, GL_INDEX_WRITEMASK,
          GL_DRAW_BUFFER},
         o);
}

const GLenum kHints[] = {GL_PERSPECTIVE_CORRECTION_HINT, GL_POINT_SMOOTH_HINT,
                         GL_LINE_SMOOTH_HINT, GL_POLYGON_SMOOTH_HINT, GL_FOG_HINT};
void ChangeHints(GlContext *, Rng &r) {
  const GLenum modes[] = {GL_DONT_CARE, GL_FASTEST, GL_NICEST};
  for (GLenum h : kHints) glHint(h, Pick(r, modes));
}
void ReadHints(GlContext *, Values *o) {
  for (GLenum h : kHints) Get(h, o);
}

void ChangeEval(GlContext *, Rng &r) {
  glMapGrid1f(I(r, 1, 50), F(r, -1, 1), F(r, -1, 1));
  glMapGrid2f(I(r, 1, 50), F(r, -1, 1), F(r, -1, 1), I(r, 1, 50), F(r, -1, 1), F(r, -1, 1));
}
void ReadEval(GlContext *, Values *o) {
  GetAll({GL_MAP1_GRID_DOMAIN, GL_MAP1_GRID_SEGMENTS, GL_MAP2_GRID_DOMAIN, GL_MAP2_GRID_SEGMENTS},
         o);
}

void ChangeList(GlContext *, Rng &r) { glListBase(GLuint(I(r, 0, 1000))); }
void ReadList(GlContext *, Values *o) { Get(GL_LIST_BASE, o); }

void ChangeScissor(GlContext *, Rng &r) {
  glScissor(I(r, -5, 30), I(r, -5, 30), I(r, 0, 64), I(r, 0, 48));
}
void ReadScissor(GlContext *, Values *o) { Get(GL_SCISSOR_BOX, o); }

// Names 1 and 2 are 1-D textures, 3 and 4 2-D ones.
void ChangeTexture(GlContext *gc, Rng &r) {
  const GLenum names1[] = {0, 1, 2}, names2[] = {0, 3, 4};
  glBindTexture(GL_TEXTURE_1D, Pick(r, names1));
  glBindTexture(GL_TEXTURE_2D, Pick(r, names2));
  const GLenum wraps[] = {GL_CLAMP, GL_REPEAT};
  const GLenum mins[] = {GL_NEAREST, GL_LINEAR, GL_NEAREST_MIPMAP_NEAREST,
                         GL_LINEAR_MIPMAP_NEAREST, GL_NEAREST_MIPMAP_LINEAR,
                         GL_LINEAR_MIPMAP_LINEAR};
  const GLenum mags[] = {GL_NEAREST, GL_LINEAR};
  GlTextureMachine &tx = gc->texture;
  for (int i = 0; i < 2; ++i) {
    GlTextureParams &p = tx.targets[i].params;
    p.wrapS = Pick(r, wraps);
    p.wrapT = Pick(r, wraps);
    p.minFilter = Pick(r, mins);
    p.magFilter = Pick(r, mags);
    Color(r, p.borderColor);
    __glLoadTextureParams(tx.bound[i], &p);
  }
  const GLenum envModes[] = {GL_MODULATE, GL_DECAL, GL_BLEND, GL_REPLACE};
  tx.env[0].mode = Pick(r, envModes);
  const GlConstants &k = gc->constants;
  tx.env[0].color = {F(r, 0, 1) * k.redScale, F(r, 0, 1) * k.greenScale, F(r, 0, 1) * k.blueScale,
                     F(r, 0, 1) * k.alphaScale};
  const GLenum genModes[] = {GL_EYE_LINEAR, GL_OBJECT_LINEAR, GL_SPHERE_MAP};
  for (GlTexCoordGen &g : tx.texCoordGen) {
    g.mode = Pick(r, genModes);
    g.eyePlane = {F(r, -1, 1), F(r, -1, 1), F(r, -1, 1), F(r, -1, 1)};
    g.objectPlane = {F(r, -1, 1), F(r, -1, 1), F(r, -1, 1), F(r, -1, 1)};
  }
}
void ReadTexture(GlContext *, Values *o) {
  GetAll({GL_TEXTURE_BINDING_1D, GL_TEXTURE_BINDING_2D}, o);
  for (GLenum target : {GL_TEXTURE_1D, GL_TEXTURE_2D}) {
    for (GLenum p : {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T, GL_TEXTURE_MIN_FILTER,
                     GL_TEXTURE_MAG_FILTER, GL_TEXTURE_BORDER_COLOR})
      Floats(o, [&](GLfloat *v) { glGetTexParameterfv(target, p, v); });
  }
  for (GLenum p : {GL_TEXTURE_ENV_MODE, GL_TEXTURE_ENV_COLOR})
    Floats(o, [&](GLfloat *v) { glGetTexEnvfv(GL_TEXTURE_ENV, p, v); });
  for (GLenum coord : {GL_S, GL_T, GL_R, GL_Q})
    for (GLenum p : {GL_TEXTURE_GEN_MODE, GL_OBJECT_PLANE, GL_EYE_PLANE})
      Floats(o, [&](GLfloat *v) { glGetTexGenfv(coord, p, v); });
}

const GLenum kStore[] = {GL_PACK_SWAP_BYTES,   GL_PACK_LSB_FIRST,    GL_PACK_ROW_LENGTH,
                         GL_PACK_SKIP_ROWS,    GL_PACK_SKIP_PIXELS,  GL_PACK_ALIGNMENT,
                         GL_UNPACK_SWAP_BYTES, GL_UNPACK_LSB_FIRST,  GL_UNPACK_ROW_LENGTH,
                         GL_UNPACK_SKIP_ROWS,  GL_UNPACK_SKIP_PIXELS, GL_UNPACK_ALIGNMENT};
void ChangeStore(GlContext *, Rng &r) {
  const GLenum alignments[] = {1, 2, 4, 8};
  for (int i = 0; i < 12; i += 6) {
    glPixelStorei(kStore[i], B(r));
    glPixelStorei(kStore[i + 1], B(r));
    glPixelStorei(kStore[i + 2], I(r, 0, 100));
    glPixelStorei(kStore[i + 3], I(r, 0, 10));
    glPixelStorei(kStore[i + 4], I(r, 0, 10));
    glPixelStorei(kStore[i + 5], GLint(Pick(r, alignments)));
  }
}
void ReadStore(GlContext *, Values *o) {
  for (GLenum p : kStore) Get(p, o);
}

const GLenum kArrays[] = {GL_VERTEX_ARRAY, GL_NORMAL_ARRAY,        GL_COLOR_ARRAY,
                          GL_INDEX_ARRAY,  GL_TEXTURE_COORD_ARRAY, GL_EDGE_FLAG_ARRAY};
const GLenum kPointers[] = {GL_VERTEX_ARRAY_POINTER, GL_NORMAL_ARRAY_POINTER,
                            GL_COLOR_ARRAY_POINTER,  GL_INDEX_ARRAY_POINTER,
                            GL_TEXTURE_COORD_ARRAY_POINTER, GL_EDGE_FLAG_ARRAY_POINTER};
void ChangeArrays(GlContext *, Rng &r) {
  auto where = [&] { return gArrayBytes + I(r, 0, 64); };
  auto stride = [&] { return 4 * I(r, 0, 8); };
  const GLenum coords[] = {GL_SHORT, GL_INT, GL_FLOAT, GL_DOUBLE};
  const GLenum normals[] = {GL_BYTE, GL_SHORT, GL_INT, GL_FLOAT, GL_DOUBLE};
  const GLenum colors[] = {GL_BYTE, GL_UNSIGNED_BYTE, GL_SHORT, GL_UNSIGNED_SHORT,
                           GL_INT,  GL_UNSIGNED_INT,  GL_FLOAT, GL_DOUBLE};
  const GLenum indexes[] = {GL_SHORT, GL_INT, GL_FLOAT, GL_DOUBLE};
  glVertexPointer(I(r, 2, 4), Pick(r, coords), stride(), where());
  glNormalPointer(Pick(r, normals), stride(), where());
  glColorPointer(I(r, 3, 4), Pick(r, colors), stride(), where());
  glIndexPointer(Pick(r, indexes), stride(), where());
  glTexCoordPointer(I(r, 1, 4), Pick(r, coords), stride(), where());
  glEdgeFlagPointer(stride(), where());
  for (GLenum a : kArrays) B(r) ? glEnableClientState(a) : glDisableClientState(a);
}
void ReadArrays(GlContext *, Values *o) {
  GetAll({GL_VERTEX_ARRAY_SIZE, GL_VERTEX_ARRAY_TYPE, GL_VERTEX_ARRAY_STRIDE,
          GL_NORMAL_ARRAY_TYPE, GL_NORMAL_ARRAY_STRIDE, GL_COLOR_ARRAY_SIZE, GL_COLOR_ARRAY_TYPE,
          GL_COLOR_ARRAY_STRIDE, GL_INDEX_ARRAY_TYPE, GL_INDEX_ARRAY_STRIDE,
          GL_TEXTURE_COORD_ARRAY_SIZE, GL_TEXTURE_COORD_ARRAY_TYPE,
          GL_TEXTURE_COORD_ARRAY_STRIDE, GL_EDGE_FLAG_ARRAY_STRIDE},
         o);
  for (GLenum p : kPointers) {
    GLvoid *v = nullptr;
    glGetPointerv(p, &v);
    o->push_back(double(reinterpret_cast<uintptr_t>(v)));
  }
  for (GLenum a : kArrays) o->push_back(glIsEnabled(a));
}

std::vector<Enable> MakeEnables() {
  std::vector<Enable> e = {
      {GL_ALPHA_TEST, GL_COLOR_BUFFER_BIT},     {GL_BLEND, GL_COLOR_BUFFER_BIT},
      {GL_INDEX_LOGIC_OP, GL_COLOR_BUFFER_BIT}, {GL_COLOR_LOGIC_OP, GL_COLOR_BUFFER_BIT},
      {GL_DITHER, GL_COLOR_BUFFER_BIT},         {GL_DEPTH_TEST, GL_DEPTH_BUFFER_BIT},
      {GL_FOG, GL_FOG_BIT},                     {GL_LIGHTING, GL_LIGHTING_BIT},
      {GL_COLOR_MATERIAL, GL_LIGHTING_BIT},     {GL_LINE_SMOOTH, GL_LINE_BIT},
      {GL_LINE_STIPPLE, GL_LINE_BIT},           {GL_POINT_SMOOTH, GL_POINT_BIT},
      {GL_POLYGON_SMOOTH, GL_POLYGON_BIT},      {GL_CULL_FACE, GL_POLYGON_BIT},
      {GL_POLYGON_STIPPLE, GL_POLYGON_BIT | GL_POLYGON_STIPPLE_BIT},
      {GL_POLYGON_OFFSET_POINT, GL_POLYGON_BIT}, {GL_POLYGON_OFFSET_LINE, GL_POLYGON_BIT},
      {GL_POLYGON_OFFSET_FILL, GL_POLYGON_BIT}, {GL_SCISSOR_TEST, GL_SCISSOR_BIT},
      {GL_STENCIL_TEST, GL_STENCIL_BUFFER_BIT}, {GL_NORMALIZE, GL_TRANSFORM_BIT},
      {GL_AUTO_NORMAL, GL_EVAL_BIT},            {GL_TEXTURE_1D, GL_TEXTURE_BIT},
      {GL_TEXTURE_2D, GL_TEXTURE_BIT},          {GL_TEXTURE_GEN_S, GL_TEXTURE_BIT},
      {GL_TEXTURE_GEN_T, GL_TEXTURE_BIT},       {GL_TEXTURE_GEN_R, GL_TEXTURE_BIT},
      {GL_TEXTURE_GEN_Q, GL_TEXTURE_BIT},
  };
  for (GLenum i = 0; i < 8; ++i) e.push_back({GL_LIGHT0 + i, GL_LIGHTING_BIT});
  for (GLenum i = 0; i < 6; ++i) e.push_back({GL_CLIP_PLANE0 + i, GL_TRANSFORM_BIT});
  for (GLenum i = 0; i < 9; ++i) {
    e.push_back({GL_MAP1_COLOR_4 + i, GL_EVAL_BIT});
    e.push_back({GL_MAP2_COLOR_4 + i, GL_EVAL_BIT});
  }
  return e;
}

}  // namespace

const std::vector<StateGroup> &ServerGroups() {
  static const std::vector<StateGroup> table = {
      {GL_ACCUM_BUFFER_BIT, "accum", ChangeAccum, ReadAccum},
      {GL_COLOR_BUFFER_BIT, "color buffer", ChangeColorBuffer, ReadColorBuffer},
      {GL_CURRENT_BIT, "current", ChangeCurrent, ReadCurrent},
      {GL_DEPTH_BUFFER_BIT, "depth", ChangeDepth, ReadDepth},
      {GL_EVAL_BIT, "eval", ChangeEval, ReadEval},
      {GL_FOG_BIT, "fog", ChangeFog, ReadFog},
      {GL_HINT_BIT, "hints", ChangeHints, ReadHints},
      {GL_LIGHTING_BIT, "lighting", ChangeLighting, ReadLighting},
      {GL_LINE_BIT, "line", ChangeLine, ReadLine},
      {GL_LIST_BIT, "list", ChangeList, ReadList},
      {GL_PIXEL_MODE_BIT, "pixel mode", ChangePixelMode, ReadPixelMode},
      {GL_POINT_BIT, "point", ChangePoint, ReadPoint},
      {GL_POLYGON_BIT, "polygon", ChangePolygon, ReadPolygon},
      {GL_POLYGON_STIPPLE_BIT, "polygon stipple", ChangeStipple, ReadStipple},
      {GL_SCISSOR_BIT, "scissor", ChangeScissor, ReadScissor},
      {GL_STENCIL_BUFFER_BIT, "stencil", ChangeStencil, ReadStencil},
      {GL_TEXTURE_BIT, "texture", ChangeTexture, ReadTexture},
      {GL_TRANSFORM_BIT, "transform", ChangeTransform, ReadTransform},
      {GL_VIEWPORT_BIT, "viewport", ChangeViewport, ReadViewport},
  };
  return table;
}

const std::vector<StateGroup> &ClientGroups() {
  static const std::vector<StateGroup> table = {
      {GL_CLIENT_PIXEL_STORE_BIT, "pixel store", ChangeStore, ReadStore},
      {GL_CLIENT_VERTEX_ARRAY_BIT, "vertex array", ChangeArrays, ReadArrays},
  };
  return table;
}

const std::vector<Enable> &Enables() {
  static const std::vector<Enable> table = MakeEnables();
  return table;
}

void ChangeEnables(Rng &rng) {
  for (const Enable &e : Enables()) {
    if (e.cap != GL_COLOR_MATERIAL && B(rng))
      glEnable(e.cap);
    else
      glDisable(e.cap);
  }
}

namespace {

Snapshot Take(GlContext *gc, const std::vector<StateGroup> &table, bool enables) {
  Snapshot s;
  for (const StateGroup &g : table) {
    s.groups.emplace_back();
    g.read(gc, &s.groups.back());
  }
  if (enables)
    for (const Enable &e : Enables()) s.enables.push_back(glIsEnabled(e.cap) != 0);
  return s;
}

}  // namespace

Snapshot TakeServer(GlContext *gc) { return Take(gc, ServerGroups(), true); }
Snapshot TakeClient(GlContext *gc) { return Take(gc, ClientGroups(), false); }

void ChangeServer(GlContext *gc, Rng &rng) {
  for (const StateGroup &g : ServerGroups()) g.change(gc, rng);
  ChangeEnables(rng);
}

void ChangeClient(GlContext *gc, Rng &rng) {
  for (const StateGroup &g : ClientGroups()) g.change(gc, rng);
}

void SetTexFilter(GlContext *gc, int targetIndex, GLenum pname, GLenum filter) {
  GlTextureParams &p = gc->texture.targets[targetIndex].params;
  (pname == GL_TEXTURE_MIN_FILTER ? p.minFilter : p.magFilter) = filter;
  __glLoadTextureParams(gc->texture.bound[targetIndex], &p);
}

void ExpectRestored(const std::vector<StateGroup> &table, uint32_t mask, const Snapshot &now,
                    const Snapshot &before, const Snapshot &after, const std::string &what) {
  for (size_t i = 0; i < table.size(); ++i) {
    const bool saved = mask & table[i].bit;
    EXPECT_EQ(now.groups[i], saved ? before.groups[i] : after.groups[i])
        << what << ": group " << table[i].name << (saved ? " (restored)" : " (kept)");
  }
  for (size_t i = 0; i < now.enables.size(); ++i) {
    const bool saved = mask & (GL_ENABLE_BIT | Enables()[i].owner);
    EXPECT_EQ(now.enables[i], saved ? before.enables[i] : after.enables[i])
        << what << ": enable 0x" << std::hex << Enables()[i].cap;
  }
}

}  // namespace attrib_test
