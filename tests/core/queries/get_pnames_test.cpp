// Every pname of glGet: a distinctive value set through its setter (or the
// state's own path where the setter does not exist yet), read through all
// four entries against the conversion model, exactly the pname's count
// written. The rows name the kind and count each pname stages.
#include <gtest/gtest.h>
#include <math.h>

#include <functional>
#include <string>
#include <vector>

#include "core/gl_api.h"
#include "core/gl_get_enums.h"
#include "pixels/px_enums.h"
#include "tests/core/queries/query_fixture.h"
#include "tests/support/counting_imports.h"

namespace query_test {
namespace {

using Values = std::vector<long double>;

struct Row {
  std::string name;
  GLenum pname;
  Kind kind;
  std::function<void(GlContext *)> set;
  std::function<Values(GlContext *)> values;
  std::function<void(GlContext *)> after;
  double tolerance = 0;
};

std::function<Values(GlContext *)> V(Values v) {
  return [v](GlContext *) { return v; };
}

void Nothing(GlContext *) {}

#define NAME(pname) std::string(#pname).substr(3)

Row R(std::string name, GLenum pname, Kind kind, std::function<void(GlContext *)> set,
      Values values) {
  return {name, pname, kind, set, V(values), Nothing};
}

// Buffers the pointers and buffer rows hand over; they outlive every test.
GLfloat gFeedback[64];
GLuint gSelect[64];
const GLshort gArray[64] = {};

const GLfloat kMatrix[16] = {1.5f, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16.25f};

Values MatrixValues(float scale) {
  Values v;
  for (GLfloat m : kMatrix) v.push_back(m * scale);
  return v;
}

std::function<void(GlContext *)> LoadMatrix(GLenum mode, float scale) {
  return [mode, scale](GlContext *) {
    GLfloat m[16];
    for (int i = 0; i < 16; ++i) m[i] = kMatrix[i] * scale;
    glMatrixMode(mode);
    glLoadMatrixf(m);
    glMatrixMode(GL_MODELVIEW);
  };
}

std::function<void(GlContext *)> Pushes(GLenum mode, int n) {
  return [mode, n](GlContext *) {
    glMatrixMode(mode);
    for (int i = 0; i < n; ++i) glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
  };
}

Values ColorOf(const GlColor &c) { return {c.r, c.g, c.b, c.a}; }

void AddEnableRows(std::vector<Row> &rows) {
  const GLenum caps[] = {GL_POINT_SMOOTH,
                         GL_LINE_SMOOTH,
                         GL_LINE_STIPPLE,
                         GL_POLYGON_SMOOTH,
                         GL_POLYGON_STIPPLE,
                         GL_CULL_FACE,
                         GL_LIGHTING,
                         GL_COLOR_MATERIAL,
                         GL_FOG,
                         GL_DEPTH_TEST,
                         GL_STENCIL_TEST,
                         GL_NORMALIZE,
                         GL_ALPHA_TEST,
                         GL_BLEND,
                         GL_INDEX_LOGIC_OP,
                         GL_COLOR_LOGIC_OP,
                         GL_SCISSOR_TEST,
                         GL_TEXTURE_GEN_S,
                         GL_TEXTURE_GEN_T,
                         GL_TEXTURE_GEN_R,
                         GL_TEXTURE_GEN_Q,
                         GL_AUTO_NORMAL,
                         GL_TEXTURE_1D,
                         GL_TEXTURE_2D,
                         GL_POLYGON_OFFSET_POINT,
                         GL_POLYGON_OFFSET_LINE,
                         GL_POLYGON_OFFSET_FILL,
                         GL_CULL_VERTEX_VLX,
                         GL_INDEX_TEST_VLX,
                         GL_INDEX_MATERIAL_VLX};
  for (GLenum cap : caps)
    rows.push_back(R("Enable_" + std::to_string(cap), cap, Kind::kBool,
                     [cap](GlContext *) { glEnable(cap); }, {1}));
  // GL_DITHER is on by default: turning it off is the distinctive value.
  rows.push_back(
      R("Disable_DITHER", GL_DITHER, Kind::kBool, [](GlContext *) { glDisable(GL_DITHER); }, {0}));
  for (GLenum cap = GL_MAP1_COLOR_4; cap <= GL_MAP1_VERTEX_4; ++cap)
    rows.push_back(R("Enable_MAP1_" + std::to_string(cap), cap, Kind::kBool,
                     [cap](GlContext *) { glEnable(cap); }, {1}));
  for (GLenum cap = GL_MAP2_COLOR_4; cap <= GL_MAP2_VERTEX_4; ++cap)
    rows.push_back(R("Enable_MAP2_" + std::to_string(cap), cap, Kind::kBool,
                     [cap](GlContext *) { glEnable(cap); }, {1}));
  for (GLenum i = 0; i < 6; ++i)
    rows.push_back(R("Enable_CLIP_PLANE" + std::to_string(i), GL_CLIP_PLANE0 + i, Kind::kBool,
                     [i](GlContext *) { glEnable(GL_CLIP_PLANE0 + i); }, {1}));
  for (GLenum i = 0; i < 8; ++i)
    rows.push_back(R("Enable_LIGHT" + std::to_string(i), GL_LIGHT0 + i, Kind::kBool,
                     [i](GlContext *) { glEnable(GL_LIGHT0 + i); }, {1}));
  const GLenum arrays[] = {GL_VERTEX_ARRAY, GL_NORMAL_ARRAY,        GL_COLOR_ARRAY,
                           GL_INDEX_ARRAY,  GL_TEXTURE_COORD_ARRAY, GL_EDGE_FLAG_ARRAY};
  for (GLenum a : arrays)
    rows.push_back(R("EnableClient_" + std::to_string(a), a, Kind::kBool,
                     [a](GlContext *) { glEnableClientState(a); }, {1}));
}

void AddFlagRows(std::vector<Row> &rows) {
  rows.push_back(R(NAME(GL_CURRENT_RASTER_POSITION_VALID), GL_CURRENT_RASTER_POSITION_VALID,
                   Kind::kBool, [](GlContext *) { glRasterPos3f(1e6f, 0, 0); }, {0}));
  rows.push_back(R(NAME(GL_EDGE_FLAG), GL_EDGE_FLAG, Kind::kBool,
                   [](GlContext *) { glEdgeFlag(GL_FALSE); }, {0}));
  rows.push_back(R(NAME(GL_LIGHT_MODEL_LOCAL_VIEWER), GL_LIGHT_MODEL_LOCAL_VIEWER, Kind::kBool,
                   [](GlContext *) { glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1); }, {1}));
  rows.push_back(R(NAME(GL_LIGHT_MODEL_TWO_SIDE), GL_LIGHT_MODEL_TWO_SIDE, Kind::kBool,
                   [](GlContext *) { glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1); }, {1}));
  rows.push_back(R(NAME(GL_DEPTH_WRITEMASK), GL_DEPTH_WRITEMASK, Kind::kBool,
                   [](GlContext *) { glDepthMask(GL_FALSE); }, {0}));
  rows.push_back(R(NAME(GL_COLOR_WRITEMASK), GL_COLOR_WRITEMASK, Kind::kBool,
                   [](GlContext *) { glColorMask(1, 0, 1, 0); }, {1, 0, 1, 0}));
  rows.push_back(R(NAME(GL_INDEX_MODE), GL_INDEX_MODE, Kind::kBool, Nothing, {0}));
  rows.push_back(R(NAME(GL_RGBA_MODE), GL_RGBA_MODE, Kind::kBool, Nothing, {1}));
  rows.push_back(R(NAME(GL_DOUBLEBUFFER), GL_DOUBLEBUFFER, Kind::kBool, Nothing, {1}));
  // Whatever the visual says.
  rows.push_back(R(NAME(GL_STEREO), GL_STEREO, Kind::kBool,
                   [](GlContext *gc) { gc->modes.stereoMode = 2; }, {0}));
  const GLenum store[] = {GL_UNPACK_SWAP_BYTES, GL_UNPACK_LSB_FIRST, GL_PACK_SWAP_BYTES,
                          GL_PACK_LSB_FIRST};
  for (GLenum p : store)
    rows.push_back(R("PixelStore_" + std::to_string(p), p, Kind::kBool,
                     [p](GlContext *) { glPixelStorei(p, 1); }, {1}));
  rows.push_back(R(NAME(GL_MAP_COLOR), GL_MAP_COLOR, Kind::kBool,
                   [](GlContext *) { glPixelTransferi(GL_MAP_COLOR, 1); }, {1}));
  rows.push_back(R(NAME(GL_MAP_STENCIL), GL_MAP_STENCIL, Kind::kBool,
                   [](GlContext *) { glPixelTransferi(GL_MAP_STENCIL, 1); }, {1}));
}

void AddIntegerRows(std::vector<Row> &rows) {
  auto I = [&rows](std::string name, GLenum pname, std::function<void(GlContext *)> set, Values v) {
    rows.push_back(R(name, pname, Kind::kInt, set, v));
  };
  I(NAME(GL_LINE_STIPPLE_PATTERN), GL_LINE_STIPPLE_PATTERN,
    [](GlContext *) { glLineStipple(3, 0xF0F1); }, {0xF0F1});
  I(NAME(GL_LINE_STIPPLE_REPEAT), GL_LINE_STIPPLE_REPEAT,
    [](GlContext *) { glLineStipple(3, 0xF0F1); }, {3});
  rows.push_back({NAME(GL_LIST_MODE), GL_LIST_MODE, Kind::kInt,
                  [](GlContext *) { glNewList(7, GL_COMPILE); }, V({GL_COMPILE}),
                  [](GlContext *) { glEndList(); }});
  rows.push_back({NAME(GL_LIST_INDEX), GL_LIST_INDEX, Kind::kInt,
                  [](GlContext *) { glNewList(7, GL_COMPILE_AND_EXECUTE); }, V({7}),
                  [](GlContext *) { glEndList(); }});
  I(NAME(GL_MAX_LIST_NESTING), GL_MAX_LIST_NESTING, Nothing, {64});
  I(NAME(GL_LIST_BASE), GL_LIST_BASE, [](GlContext *) { glListBase(42); }, {42});
  I(NAME(GL_POLYGON_MODE), GL_POLYGON_MODE,
    [](GlContext *) {
      glPolygonMode(GL_FRONT, GL_LINE);
      glPolygonMode(GL_BACK, GL_POINT);
    },
    {GL_LINE, GL_POINT});
  I(NAME(GL_CULL_FACE_MODE), GL_CULL_FACE_MODE, [](GlContext *) { glCullFace(GL_FRONT_AND_BACK); },
    {GL_FRONT_AND_BACK});
  I(NAME(GL_FRONT_FACE), GL_FRONT_FACE, [](GlContext *) { glFrontFace(GL_CW); }, {GL_CW});
  I(NAME(GL_SHADE_MODEL), GL_SHADE_MODEL, [](GlContext *) { glShadeModel(GL_FLAT); }, {GL_FLAT});
  I(NAME(GL_COLOR_MATERIAL_FACE), GL_COLOR_MATERIAL_FACE,
    [](GlContext *) { glColorMaterial(GL_BACK, GL_EMISSION); }, {GL_BACK});
  I(NAME(GL_COLOR_MATERIAL_PARAMETER), GL_COLOR_MATERIAL_PARAMETER,
    [](GlContext *) { glColorMaterial(GL_BACK, GL_EMISSION); }, {GL_EMISSION});
  I(NAME(GL_FOG_MODE), GL_FOG_MODE, [](GlContext *) { glFogi(GL_FOG_MODE, GL_LINEAR); },
    {GL_LINEAR});
  I(NAME(GL_DEPTH_FUNC), GL_DEPTH_FUNC, [](GlContext *) { glDepthFunc(GL_GEQUAL); }, {GL_GEQUAL});
  auto stencilFunc = [](GlContext *) { glStencilFunc(GL_NOTEQUAL, 5, 0x3C); };
  I(NAME(GL_STENCIL_FUNC), GL_STENCIL_FUNC, stencilFunc, {GL_NOTEQUAL});
  I(NAME(GL_STENCIL_REF), GL_STENCIL_REF, stencilFunc, {5});
  I(NAME(GL_STENCIL_VALUE_MASK), GL_STENCIL_VALUE_MASK, stencilFunc, {0x3C});
  auto stencilOp = [](GlContext *) { glStencilOp(GL_INCR, GL_DECR, GL_INVERT); };
  I(NAME(GL_STENCIL_FAIL), GL_STENCIL_FAIL, stencilOp, {GL_INCR});
  I(NAME(GL_STENCIL_PASS_DEPTH_FAIL), GL_STENCIL_PASS_DEPTH_FAIL, stencilOp, {GL_DECR});
  I(NAME(GL_STENCIL_PASS_DEPTH_PASS), GL_STENCIL_PASS_DEPTH_PASS, stencilOp, {GL_INVERT});
  I(NAME(GL_STENCIL_CLEAR_VALUE), GL_STENCIL_CLEAR_VALUE, [](GlContext *) { glClearStencil(9); },
    {9});
  I(NAME(GL_STENCIL_WRITEMASK), GL_STENCIL_WRITEMASK, [](GlContext *) { glStencilMask(0xA5); },
    {0xA5});
  I(NAME(GL_MATRIX_MODE), GL_MATRIX_MODE, [](GlContext *) { glMatrixMode(GL_TEXTURE); },
    {GL_TEXTURE});
  I(NAME(GL_VIEWPORT), GL_VIEWPORT, [](GlContext *) { glViewport(3, 4, 50, 40); }, {3, 4, 50, 40});
  I(NAME(GL_MODELVIEW_STACK_DEPTH), GL_MODELVIEW_STACK_DEPTH, Pushes(GL_MODELVIEW, 2), {3});
  I(NAME(GL_PROJECTION_STACK_DEPTH), GL_PROJECTION_STACK_DEPTH, Pushes(GL_PROJECTION, 1), {2});
  I(NAME(GL_TEXTURE_STACK_DEPTH), GL_TEXTURE_STACK_DEPTH, Pushes(GL_TEXTURE, 3), {4});
  // glPushAttrib does not exist yet: the stack tops are moved by hand.
  rows.push_back({NAME(GL_ATTRIB_STACK_DEPTH), GL_ATTRIB_STACK_DEPTH, Kind::kInt,
                  [](GlContext *gc) { gc->attributeStackTop = gc->attributeStack + 2; }, V({2}),
                  [](GlContext *gc) { gc->attributeStackTop = gc->attributeStack; }});
  rows.push_back({NAME(GL_CLIENT_ATTRIB_STACK_DEPTH), GL_CLIENT_ATTRIB_STACK_DEPTH, Kind::kInt,
                  [](GlContext *gc) { gc->clientAttributeStackTop = gc->clientAttributeStack + 3; },
                  V({3}),
                  [](GlContext *gc) { gc->clientAttributeStackTop = gc->clientAttributeStack; }});
  rows.push_back({NAME(GL_NAME_STACK_DEPTH), GL_NAME_STACK_DEPTH, Kind::kInt,
                  [](GlContext *) {
                    glSelectBuffer(64, gSelect);
                    glRenderMode(GL_SELECT);
                    glInitNames();
                    glPushName(1);
                    glPushName(2);
                  },
                  V({2}), [](GlContext *) { glRenderMode(GL_RENDER); }});
  I(NAME(GL_ALPHA_TEST_FUNC), GL_ALPHA_TEST_FUNC,
    [](GlContext *) { glAlphaFunc(GL_GREATER, 0.25f); }, {GL_GREATER});
  auto blend = [](GlContext *) { glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA); };
  I(NAME(GL_BLEND_SRC), GL_BLEND_SRC, blend, {GL_SRC_ALPHA});
  I(NAME(GL_BLEND_DST), GL_BLEND_DST, blend, {GL_ONE_MINUS_SRC_ALPHA});
  I(NAME(GL_LOGIC_OP_MODE), GL_LOGIC_OP_MODE, [](GlContext *) { glLogicOp(GL_INVERT); },
    {GL_INVERT});
  I(NAME(GL_AUX_BUFFERS), GL_AUX_BUFFERS, Nothing, {0});
  // The buffer as the application named it.
  I(NAME(GL_DRAW_BUFFER), GL_DRAW_BUFFER, [](GlContext *) { glDrawBuffer(GL_FRONT_LEFT); },
    {GL_FRONT_LEFT});
  I(NAME(GL_READ_BUFFER), GL_READ_BUFFER, [](GlContext *) { glReadBuffer(GL_FRONT); }, {GL_FRONT});
  I(NAME(GL_SCISSOR_BOX), GL_SCISSOR_BOX, [](GlContext *) { glScissor(1, 2, 30, 20); },
    {1, 2, 30, 20});
  rows.push_back(
      {NAME(GL_INDEX_WRITEMASK), GL_INDEX_WRITEMASK, Kind::kInt,
       [](GlContext *) { glIndexMask(0x5A); },
       [](GlContext *gc) { return Values{(long double)(0x5A & gc->drawBuffer->redMax)}; },
       Nothing});
  rows.push_back({NAME(GL_RENDER_MODE), GL_RENDER_MODE, Kind::kInt,
                  [](GlContext *) {
                    glFeedbackBuffer(64, GL_3D, gFeedback);
                    glRenderMode(GL_FEEDBACK);
                  },
                  V({GL_FEEDBACK}), [](GlContext *) { glRenderMode(GL_RENDER); }});
  const GLenum hints[] = {GL_PERSPECTIVE_CORRECTION_HINT, GL_POINT_SMOOTH_HINT, GL_LINE_SMOOTH_HINT,
                          GL_POLYGON_SMOOTH_HINT, GL_FOG_HINT};
  for (GLenum h : hints)
    I("Hint_" + std::to_string(h), h, [h](GlContext *) { glHint(h, GL_NICEST); }, {GL_NICEST});
  // Index maps take powers of two; the colour maps any size.
  const GLsizei mapSizes[10] = {8, 16, 32, 4, 2, 64, 3, 5, 6, 7};
  for (GLenum i = 0; i < 10; ++i) {
    const GLsizei size = mapSizes[i];
    I("PixelMapSize_" + std::to_string(i), GL_PIXEL_MAP_I_TO_I_SIZE + i,
      [i, size](GlContext *) {
        std::vector<GLfloat> values(size, 0.5f);
        glPixelMapfv(GL_PIXEL_MAP_I_TO_I + i, size, values.data());
      },
      {(long double)(size)});
  }
  const std::pair<GLenum, GLint> store[] = {{GL_UNPACK_ROW_LENGTH, 17}, {GL_UNPACK_SKIP_ROWS, 3},
                                            {GL_UNPACK_SKIP_PIXELS, 5}, {GL_UNPACK_ALIGNMENT, 2},
                                            {GL_PACK_ROW_LENGTH, 19},   {GL_PACK_SKIP_ROWS, 4},
                                            {GL_PACK_SKIP_PIXELS, 6},   {GL_PACK_ALIGNMENT, 8}};
  for (auto [p, v] : store)
    I("PixelStore_" + std::to_string(p), p, [p = p, v = v](GlContext *) { glPixelStorei(p, v); },
      {(long double)(v)});
  I(NAME(GL_INDEX_SHIFT), GL_INDEX_SHIFT, [](GlContext *) { glPixelTransferi(GL_INDEX_SHIFT, -3); },
    {-3});
  I(NAME(GL_INDEX_OFFSET), GL_INDEX_OFFSET,
    [](GlContext *) { glPixelTransferi(GL_INDEX_OFFSET, 7); }, {7});
  const std::pair<GLenum, GLint> limits[] = {{GL_MAX_EVAL_ORDER, 30},
                                             {GL_MAX_LIGHTS, 8},
                                             {GL_MAX_CLIP_PLANES, 6},
                                             {GL_MAX_TEXTURE_SIZE, 1024},
                                             {GL_MAX_PIXEL_MAP_TABLE, 65536},
                                             {GL_MAX_ATTRIB_STACK_DEPTH, 16},
                                             {GL_MAX_CLIENT_ATTRIB_STACK_DEPTH, 16},
                                             {GL_MAX_MODELVIEW_STACK_DEPTH, 32},
                                             {GL_MAX_NAME_STACK_DEPTH, 128},
                                             {GL_MAX_PROJECTION_STACK_DEPTH, 2},
                                             {GL_MAX_TEXTURE_STACK_DEPTH, 10},
                                             {GL_SUBPIXEL_BITS, 3}};
  for (auto [p, v] : limits) I("Limit_" + std::to_string(p), p, Nothing, {(long double)(v)});
  I(NAME(GL_MAX_VIEWPORT_DIMS), GL_MAX_VIEWPORT_DIMS, Nothing, {2048, 2048});
  // The visual of the fixture.
  const GlModes m = TestModes();
  const std::pair<GLenum, uint32_t> bits[] = {{GL_INDEX_BITS, m.indexBits},
                                              {GL_RED_BITS, m.redBits},
                                              {GL_GREEN_BITS, m.greenBits},
                                              {GL_BLUE_BITS, m.blueBits},
                                              {GL_ALPHA_BITS, m.alphaBits},
                                              {GL_DEPTH_BITS, m.depthBits},
                                              {GL_STENCIL_BITS, m.stencilBits},
                                              {GL_ACCUM_RED_BITS, m.accumRedBits},
                                              {GL_ACCUM_GREEN_BITS, m.accumGreenBits},
                                              {GL_ACCUM_BLUE_BITS, m.accumBlueBits},
                                              {GL_ACCUM_ALPHA_BITS, m.accumAlphaBits}};
  for (auto [p, v] : bits) I("Bits_" + std::to_string(p), p, Nothing, {(long double)(v)});
  I(NAME(GL_MAP1_GRID_SEGMENTS), GL_MAP1_GRID_SEGMENTS,
    [](GlContext *) { glMapGrid1f(7, 0.5f, 2.5f); }, {7});
  I(NAME(GL_MAP2_GRID_SEGMENTS), GL_MAP2_GRID_SEGMENTS,
    [](GlContext *) { glMapGrid2f(3, -1, 1, 9, 2, 4); }, {3, 9});
  auto feedback = [](GlContext *) { glFeedbackBuffer(40, GL_3D_COLOR, gFeedback); };
  I(NAME(GL_FEEDBACK_BUFFER_SIZE), GL_FEEDBACK_BUFFER_SIZE, feedback, {40});
  I(NAME(GL_FEEDBACK_BUFFER_TYPE), GL_FEEDBACK_BUFFER_TYPE, feedback, {GL_3D_COLOR});
  I(NAME(GL_SELECTION_BUFFER_SIZE), GL_SELECTION_BUFFER_SIZE,
    [](GlContext *) { glSelectBuffer(33, gSelect); }, {33});
  I(NAME(GL_TEXTURE_BINDING_1D), GL_TEXTURE_BINDING_1D,
    [](GlContext *) { glBindTexture(GL_TEXTURE_1D, 12); }, {12});
  I(NAME(GL_TEXTURE_BINDING_2D), GL_TEXTURE_BINDING_2D,
    [](GlContext *) { glBindTexture(GL_TEXTURE_2D, 13); }, {13});

  auto vertex = [](GlContext *) { glVertexPointerEXT(3, GL_SHORT, 12, 21, gArray); };
  I(NAME(GL_VERTEX_ARRAY_SIZE), GL_VERTEX_ARRAY_SIZE, vertex, {3});
  I(NAME(GL_VERTEX_ARRAY_TYPE), GL_VERTEX_ARRAY_TYPE, vertex, {GL_SHORT});
  I(NAME(GL_VERTEX_ARRAY_STRIDE), GL_VERTEX_ARRAY_STRIDE, vertex, {12});
  I(NAME(GL_VERTEX_ARRAY_COUNT_EXT), GL_VERTEX_ARRAY_COUNT_EXT, vertex, {21});
  auto normal = [](GlContext *) { glNormalPointerEXT(GL_BYTE, 9, 22, gArray); };
  I(NAME(GL_NORMAL_ARRAY_TYPE), GL_NORMAL_ARRAY_TYPE, normal, {GL_BYTE});
  I(NAME(GL_NORMAL_ARRAY_STRIDE), GL_NORMAL_ARRAY_STRIDE, normal, {9});
  I(NAME(GL_NORMAL_ARRAY_COUNT_EXT), GL_NORMAL_ARRAY_COUNT_EXT, normal, {22});
  auto color = [](GlContext *) { glColorPointerEXT(3, GL_UNSIGNED_BYTE, 7, 23, gArray); };
  I(NAME(GL_COLOR_ARRAY_SIZE), GL_COLOR_ARRAY_SIZE, color, {3});
  I(NAME(GL_COLOR_ARRAY_TYPE), GL_COLOR_ARRAY_TYPE, color, {GL_UNSIGNED_BYTE});
  I(NAME(GL_COLOR_ARRAY_STRIDE), GL_COLOR_ARRAY_STRIDE, color, {7});
  I(NAME(GL_COLOR_ARRAY_COUNT_EXT), GL_COLOR_ARRAY_COUNT_EXT, color, {23});
  auto index = [](GlContext *) { glIndexPointerEXT(GL_INT, 8, 24, gArray); };
  I(NAME(GL_INDEX_ARRAY_TYPE), GL_INDEX_ARRAY_TYPE, index, {GL_INT});
  I(NAME(GL_INDEX_ARRAY_STRIDE), GL_INDEX_ARRAY_STRIDE, index, {8});
  I(NAME(GL_INDEX_ARRAY_COUNT_EXT), GL_INDEX_ARRAY_COUNT_EXT, index, {24});
  auto tex = [](GlContext *) { glTexCoordPointerEXT(2, GL_DOUBLE, 20, 25, gArray); };
  I(NAME(GL_TEXTURE_COORD_ARRAY_SIZE), GL_TEXTURE_COORD_ARRAY_SIZE, tex, {2});
  I(NAME(GL_TEXTURE_COORD_ARRAY_TYPE), GL_TEXTURE_COORD_ARRAY_TYPE, tex, {GL_DOUBLE});
  I(NAME(GL_TEXTURE_COORD_ARRAY_STRIDE), GL_TEXTURE_COORD_ARRAY_STRIDE, tex, {20});
  I(NAME(GL_TEXTURE_COORD_ARRAY_COUNT_EXT), GL_TEXTURE_COORD_ARRAY_COUNT_EXT, tex, {25});
  auto edge = [](GlContext *) {
    glEdgeFlagPointerEXT(5, 26, reinterpret_cast<const GLboolean *>(gArray));
  };
  I(NAME(GL_EDGE_FLAG_ARRAY_STRIDE), GL_EDGE_FLAG_ARRAY_STRIDE, edge, {5});
  I(NAME(GL_EDGE_FLAG_ARRAY_COUNT_EXT), GL_EDGE_FLAG_ARRAY_COUNT_EXT, edge, {26});
  rows.push_back({NAME(GL_ARRAY_ELEMENT_LOCK_FIRST_VLX), GL_ARRAY_ELEMENT_LOCK_FIRST_VLX,
                  Kind::kInt, [](GlContext *) { glLockArraysVLX(2, 9); }, V({2}),
                  [](GlContext *) { glUnlockArraysVLX(); }});
  rows.push_back({NAME(GL_ARRAY_ELEMENT_LOCK_COUNT_VLX), GL_ARRAY_ELEMENT_LOCK_COUNT_VLX,
                  Kind::kInt, [](GlContext *) { glLockArraysVLX(2, 9); }, V({9}),
                  [](GlContext *) { glUnlockArraysVLX(); }});
  I(NAME(GL_INDEX_TEST_FUNC_VLX), GL_INDEX_TEST_FUNC_VLX,
    [](GlContext *) { glIndexFuncVLX(GL_LEQUAL, 6.5f); }, {GL_LEQUAL});
  auto indexMaterial = [](GlContext *) { glIndexMaterialVLX(GL_BACK, GL_INDEX_OFFSET); };
  I(NAME(GL_INDEX_MATERIAL_PARAMETER_VLX), GL_INDEX_MATERIAL_PARAMETER_VLX, indexMaterial,
    {GL_INDEX_OFFSET});
  I(NAME(GL_INDEX_MATERIAL_FACE_VLX), GL_INDEX_MATERIAL_FACE_VLX, indexMaterial, {GL_BACK});
}

void AddFloatRows(std::vector<Row> &rows) {
  auto F = [&rows](std::string name, GLenum pname, std::function<void(GlContext *)> set, Values v) {
    rows.push_back(R(name, pname, Kind::kFloat, set, v));
  };
  F(NAME(GL_CURRENT_INDEX), GL_CURRENT_INDEX, [](GlContext *) { glIndexf(3.75f); }, {3.75});
  F(NAME(GL_CURRENT_TEXTURE_COORDS), GL_CURRENT_TEXTURE_COORDS,
    [](GlContext *) { glTexCoord4f(1, -2.5f, 3, 4); }, {1, -2.5, 3, 4});
  F(NAME(GL_CURRENT_RASTER_INDEX), GL_CURRENT_RASTER_INDEX, Nothing, {1});
  auto raster = [](GlContext *) {
    glTexCoord4f(0.25f, 0.5f, 0.75f, 2);
    glRasterPos3f(0.5f, -0.25f, -0.5f);
  };
  F(NAME(GL_CURRENT_RASTER_TEXTURE_COORDS), GL_CURRENT_RASTER_TEXTURE_COORDS, raster,
    {0.25, 0.5, 0.75, 2});
  // The default viewport of the 64 x 48 window, identity matrices.
  rows.push_back({NAME(GL_CURRENT_RASTER_POSITION), GL_CURRENT_RASTER_POSITION, Kind::kFloat,
                  raster, V({48, 18, 0.25, 1}), Nothing, 1e-6});
  // A distance: eye z is -0.5.
  F(NAME(GL_CURRENT_RASTER_DISTANCE), GL_CURRENT_RASTER_DISTANCE, raster, {0.5});
  F(NAME(GL_POINT_SIZE), GL_POINT_SIZE, [](GlContext *) { glPointSize(2.5f); }, {2.5});
  F(NAME(GL_POINT_SIZE_RANGE), GL_POINT_SIZE_RANGE, Nothing, {0.5, 10});
  F(NAME(GL_POINT_SIZE_GRANULARITY), GL_POINT_SIZE_GRANULARITY, Nothing, {0.125});
  F(NAME(GL_LINE_WIDTH), GL_LINE_WIDTH, [](GlContext *) { glLineWidth(3.5f); }, {3.5});
  F(NAME(GL_LINE_WIDTH_RANGE), GL_LINE_WIDTH_RANGE, Nothing, {0.5, 10});
  F(NAME(GL_LINE_WIDTH_GRANULARITY), GL_LINE_WIDTH_GRANULARITY, Nothing, {0.125});
  F(NAME(GL_FOG_INDEX), GL_FOG_INDEX, [](GlContext *) { glFogf(GL_FOG_INDEX, 6); }, {6});
  F(NAME(GL_FOG_DENSITY), GL_FOG_DENSITY, [](GlContext *) { glFogf(GL_FOG_DENSITY, 0.25f); },
    {0.25});
  F(NAME(GL_FOG_START), GL_FOG_START, [](GlContext *) { glFogf(GL_FOG_START, -2.5f); }, {-2.5});
  F(NAME(GL_FOG_END), GL_FOG_END, [](GlContext *) { glFogf(GL_FOG_END, 7.25f); }, {7.25});
  F(NAME(GL_DEPTH_RANGE), GL_DEPTH_RANGE, [](GlContext *) { glDepthRange(0.25, 0.75); },
    {0.25, 0.75});
  // Narrowed to float on the way.
  F(NAME(GL_DEPTH_CLEAR_VALUE), GL_DEPTH_CLEAR_VALUE, [](GlContext *) { glClearDepth(0.1); },
    {float(0.1)});
  F(NAME(GL_MODELVIEW_MATRIX), GL_MODELVIEW_MATRIX, LoadMatrix(GL_MODELVIEW, 1), MatrixValues(1));
  F(NAME(GL_PROJECTION_MATRIX), GL_PROJECTION_MATRIX, LoadMatrix(GL_PROJECTION, -2),
    MatrixValues(-2));
  F(NAME(GL_TEXTURE_MATRIX), GL_TEXTURE_MATRIX, LoadMatrix(GL_TEXTURE, 0.5f), MatrixValues(0.5f));
  F(NAME(GL_ALPHA_TEST_REF), GL_ALPHA_TEST_REF, [](GlContext *) { glAlphaFunc(GL_GREATER, 0.75f); },
    {0.75});
  F(NAME(GL_INDEX_CLEAR_VALUE), GL_INDEX_CLEAR_VALUE, [](GlContext *) { glClearIndex(5.0625f); },
    {5.0625});
  const std::pair<GLenum, float> transfer[] = {{GL_RED_SCALE, 1.5f},    {GL_RED_BIAS, -0.25f},
                                               {GL_GREEN_SCALE, 2.5f},  {GL_GREEN_BIAS, 0.125f},
                                               {GL_BLUE_SCALE, 0.75f},  {GL_BLUE_BIAS, -1.5f},
                                               {GL_ALPHA_SCALE, 3.5f},  {GL_ALPHA_BIAS, 0.5f},
                                               {GL_DEPTH_SCALE, -2.5f}, {GL_DEPTH_BIAS, 4.25f}};
  for (auto [p, v] : transfer)
    F("PixelTransfer_" + std::to_string(p), p,
      [p = p, v = v](GlContext *) { glPixelTransferf(p, v); }, {v});
  F(NAME(GL_ZOOM_X), GL_ZOOM_X, [](GlContext *) { glPixelZoom(2.5f, -1.5f); }, {2.5});
  F(NAME(GL_ZOOM_Y), GL_ZOOM_Y, [](GlContext *) { glPixelZoom(2.5f, -1.5f); }, {-1.5});
  F(NAME(GL_MAP1_GRID_DOMAIN), GL_MAP1_GRID_DOMAIN, [](GlContext *) { glMapGrid1f(7, 0.5f, 2.5f); },
    {0.5, 2.5});
  F(NAME(GL_MAP2_GRID_DOMAIN), GL_MAP2_GRID_DOMAIN,
    [](GlContext *) { glMapGrid2f(3, -1, 1, 9, 2, 4); }, {-1, 1, 2, 4});
  auto offset = [](GlContext *) { glPolygonOffset(1.5f, -2.25f); };
  F(NAME(GL_POLYGON_OFFSET_FACTOR), GL_POLYGON_OFFSET_FACTOR, offset, {1.5});
  F(NAME(GL_POLYGON_OFFSET_UNITS), GL_POLYGON_OFFSET_UNITS, offset, {-2.25});
  F(NAME(GL_CULL_VERTEX_EYE_POSITION_VLX), GL_CULL_VERTEX_EYE_POSITION_VLX,
    [](GlContext *) {
      GLfloat p[4] = {1, 2.5f, -3, 0.5f};
      glCullParameterfvVLX(GL_CULL_VERTEX_EYE_POSITION_VLX, p);
    },
    {1, 2.5, -3, 0.5});
  F(NAME(GL_CULL_VERTEX_OBJECT_POSITION_VLX), GL_CULL_VERTEX_OBJECT_POSITION_VLX,
    [](GlContext *) {
      GLfloat p[4] = {-4, 0.25f, 6, 1};
      glCullParameterfvVLX(GL_CULL_VERTEX_OBJECT_POSITION_VLX, p);
    },
    {-4, 0.25, 6, 1});
  F(NAME(GL_INDEX_TEST_REF_VLX), GL_INDEX_TEST_REF_VLX,
    [](GlContext *) { glIndexFuncVLX(GL_LEQUAL, 6.5f); }, {6.5});
}

void AddColorRows(std::vector<Row> &rows) {
  auto N = [&rows](std::string name, GLenum pname, std::function<void(GlContext *)> set, Values v) {
    rows.push_back(R(name, pname, Kind::kNormalized, set, v));
  };
  N(NAME(GL_CURRENT_COLOR), GL_CURRENT_COLOR, [](GlContext *) { glColor4f(1, 0.5f, 0, -1); },
    {1, 0.5, 0, -1});
  N(NAME(GL_CURRENT_NORMAL), GL_CURRENT_NORMAL, [](GlContext *) { glNormal3f(0.6f, -0.8f, 0); },
    {0.6f, -0.8f, 0});
  N(NAME(GL_ACCUM_CLEAR_VALUE), GL_ACCUM_CLEAR_VALUE,
    [](GlContext *) { glClearAccum(-0.5f, 0.25f, 0.75f, -1); }, {-0.5, 0.25, 0.75, -1});
  N(NAME(GL_COLOR_CLEAR_VALUE), GL_COLOR_CLEAR_VALUE,
    [](GlContext *) { glClearColor(0.1f, 0.2f, 0.3f, 0.4f); }, {0.1f, 0.2f, 0.3f, 0.4f});
  // Kept scaled; the query unscales it in single precision, then
  // normalizes.
  rows.push_back({NAME(GL_LIGHT_MODEL_AMBIENT), GL_LIGHT_MODEL_AMBIENT, Kind::kNormalized,
                  [](GlContext *) {
                    const GLfloat c[4] = {0.1f, 0.3f, 0.5f, 0.7f};
                    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, c);
                  },
                  [](GlContext *gc) {
                    const GlColor &c = gc->state.light.model.ambient;
                    const GlConstants &k = gc->constants;
                    return Values{c.r * k.oneOverRedScale, c.g * k.oneOverGreenScale,
                                  c.b * k.oneOverBlueScale, c.a * k.oneOverAlphaScale};
                  },
                  Nothing});
  rows.push_back({NAME(GL_FOG_COLOR), GL_FOG_COLOR, Kind::kColor,
                  [](GlContext *) {
                    const GLfloat c[4] = {0.25f, 0.5f, 0.75f, 1};
                    glFogfv(GL_FOG_COLOR, c);
                  },
                  [](GlContext *gc) { return ColorOf(gc->state.fog.color); }, Nothing});
  rows.push_back({NAME(GL_CURRENT_RASTER_COLOR), GL_CURRENT_RASTER_COLOR, Kind::kColor,
                  [](GlContext *) {
                    glColor4f(0.2f, 0.4f, 0.6f, 0.8f);
                    glRasterPos2f(0, 0);
                  },
                  [](GlContext *gc) { return ColorOf(gc->state.current.rasterPos.colors[0]); },
                  Nothing});
}

std::vector<Row> AllRows() {
  std::vector<Row> rows;
  AddEnableRows(rows);
  AddFlagRows(rows);
  AddIntegerRows(rows);
  AddFloatRows(rows);
  AddColorRows(rows);
  return rows;
}

class GetPname : public QueryTest, public testing::WithParamInterface<Row> {};

TEST_P(GetPname, WritesItsValuesInEveryType) {
  const Row &row = GetParam();
  row.set(gc);
  ASSERT_EQ(TakeError(), GLenum(GL_NO_ERROR)) << "setting " << row.name;
  Staged want{row.kind, row.values(gc)};
  Recips(want.recip);
  ExpectGet(row.pname, want, row.name, row.tolerance);
  row.after(gc);
}

INSTANTIATE_TEST_SUITE_P(Rows, GetPname, testing::ValuesIn(AllRows()),
                         [](const testing::TestParamInfo<Row> &info) { return info.param.name; });

// The rows are every pname the entries take: any other value of the 16-bit
// range is refused.
TEST_F(QueryTest, TakesExactlyThePnamesOfTheRows) {
  std::vector<bool> listed(0x10000);
  for (const Row &row : AllRows()) listed[row.pname] = true;
  GLboolean buffer[kRoom];
  for (GLenum pname = 0; pname < 0x10000; ++pname) {
    glGetBooleanv(pname, buffer);
    const bool refused = TakeError() == GL_INVALID_ENUM;
    EXPECT_EQ(refused, !listed[pname]) << "pname 0x" << std::hex << pname;
  }
}

}  // namespace
}  // namespace query_test
