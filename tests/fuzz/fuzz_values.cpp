#include "tests/fuzz/fuzz_values.h"

#include <math.h>
#include <string.h>

#include <limits>
#include <string>

#include "tests/fuzz/fuzz_gl.h"

namespace {

const GLenum kPrimitives[] = {GL_POINTS, GL_LINES, GL_LINE_LOOP, GL_LINE_STRIP, GL_TRIANGLES,
                              GL_TRIANGLE_STRIP, GL_TRIANGLE_FAN, GL_QUADS, GL_QUAD_STRIP,
                              GL_POLYGON};
const GLenum kModes[] = {GL_POINT, GL_LINE, GL_FILL, GL_MODELVIEW, GL_PROJECTION, GL_TEXTURE,
                         GL_RENDER, GL_FEEDBACK, GL_SELECT, GL_FLAT, GL_SMOOTH, GL_CW, GL_CCW,
                         GL_FRONT, GL_BACK, GL_FRONT_AND_BACK, GL_LEFT, GL_RIGHT, GL_FRONT_LEFT,
                         GL_BACK_LEFT, GL_AUX0, GL_NONE, GL_COMPILE, GL_COMPILE_AND_EXECUTE,
                         GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR, GL_EMISSION, GL_AMBIENT_AND_DIFFUSE,
                         GL_FASTEST, GL_NICEST, GL_DONT_CARE, GL_COLOR_INDEXES};
const GLenum kCaps[] = {
    GL_ALPHA_TEST, GL_AUTO_NORMAL, GL_BLEND, GL_CLIP_PLANE0, GL_CLIP_PLANE5, GL_COLOR_LOGIC_OP,
    GL_COLOR_MATERIAL, GL_CULL_FACE, GL_DEPTH_TEST, GL_DITHER, GL_FOG, GL_INDEX_LOGIC_OP,
    GL_LIGHT0, GL_LIGHT1, GL_LIGHT7, GL_LIGHTING, GL_LINE_SMOOTH, GL_LINE_STIPPLE,
    GL_MAP1_COLOR_4, GL_MAP1_INDEX, GL_MAP1_NORMAL, GL_MAP1_TEXTURE_COORD_2, GL_MAP1_VERTEX_3,
    GL_MAP1_VERTEX_4, GL_MAP2_COLOR_4, GL_MAP2_NORMAL, GL_MAP2_TEXTURE_COORD_2, GL_MAP2_VERTEX_3,
    GL_MAP2_VERTEX_4, GL_NORMALIZE, GL_POINT_SMOOTH, GL_POLYGON_OFFSET_FILL,
    GL_POLYGON_OFFSET_LINE, GL_POLYGON_OFFSET_POINT, GL_POLYGON_SMOOTH, GL_POLYGON_STIPPLE,
    GL_SCISSOR_TEST, GL_STENCIL_TEST, GL_TEXTURE_1D, GL_TEXTURE_2D, GL_TEXTURE_GEN_Q,
    GL_TEXTURE_GEN_R, GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_CULL_VERTEX_VLX, GL_INDEX_TEST_VLX,
    GL_INDEX_MATERIAL_VLX, GL_VERTEX_ARRAY, GL_NORMAL_ARRAY, GL_COLOR_ARRAY, GL_INDEX_ARRAY,
    GL_TEXTURE_COORD_ARRAY, GL_EDGE_FLAG_ARRAY};
const GLenum kArrays[] = {GL_VERTEX_ARRAY, GL_NORMAL_ARRAY, GL_COLOR_ARRAY, GL_INDEX_ARRAY,
                          GL_TEXTURE_COORD_ARRAY, GL_EDGE_FLAG_ARRAY};
const GLenum kTargets[] = {
    GL_TEXTURE_1D, GL_TEXTURE_2D, GL_PROXY_TEXTURE_1D, GL_PROXY_TEXTURE_2D, GL_TEXTURE_ENV,
    GL_MAP1_COLOR_4, GL_MAP1_INDEX, GL_MAP1_NORMAL, GL_MAP1_TEXTURE_COORD_1,
    GL_MAP1_TEXTURE_COORD_2, GL_MAP1_TEXTURE_COORD_3, GL_MAP1_TEXTURE_COORD_4, GL_MAP1_VERTEX_3,
    GL_MAP1_VERTEX_4, GL_MAP2_COLOR_4, GL_MAP2_INDEX, GL_MAP2_NORMAL, GL_MAP2_TEXTURE_COORD_1,
    GL_MAP2_TEXTURE_COORD_2, GL_MAP2_TEXTURE_COORD_3, GL_MAP2_TEXTURE_COORD_4, GL_MAP2_VERTEX_3,
    GL_MAP2_VERTEX_4, GL_PERSPECTIVE_CORRECTION_HINT, GL_POINT_SMOOTH_HINT, GL_LINE_SMOOTH_HINT,
    GL_POLYGON_SMOOTH_HINT, GL_FOG_HINT};
const GLenum kPnames[] = {
    // glGet
    GL_ACCUM_ALPHA_BITS, GL_ACCUM_CLEAR_VALUE, GL_ALPHA_BIAS, GL_ALPHA_BITS, GL_ALPHA_TEST_FUNC,
    GL_ALPHA_TEST_REF, GL_ATTRIB_STACK_DEPTH, GL_BLEND_DST, GL_BLEND_SRC, GL_BLUE_BITS,
    GL_CLIENT_ATTRIB_STACK_DEPTH, GL_COLOR_CLEAR_VALUE, GL_COLOR_WRITEMASK, GL_CULL_FACE_MODE,
    GL_CURRENT_COLOR, GL_CURRENT_INDEX, GL_CURRENT_NORMAL, GL_CURRENT_RASTER_COLOR,
    GL_CURRENT_RASTER_DISTANCE, GL_CURRENT_RASTER_POSITION, GL_CURRENT_RASTER_POSITION_VALID,
    GL_CURRENT_RASTER_TEXTURE_COORDS, GL_CURRENT_TEXTURE_COORDS, GL_DEPTH_BITS,
    GL_DEPTH_CLEAR_VALUE, GL_DEPTH_FUNC, GL_DEPTH_RANGE, GL_DEPTH_WRITEMASK, GL_DOUBLEBUFFER,
    GL_DRAW_BUFFER, GL_EDGE_FLAG, GL_FOG_COLOR, GL_FOG_DENSITY, GL_FOG_END, GL_FOG_MODE,
    GL_FRONT_FACE, GL_INDEX_BITS, GL_INDEX_CLEAR_VALUE, GL_INDEX_WRITEMASK, GL_LIGHT_MODEL_AMBIENT,
    GL_LINE_STIPPLE_PATTERN, GL_LINE_WIDTH, GL_LINE_WIDTH_RANGE, GL_LIST_BASE, GL_LIST_INDEX,
    GL_LIST_MODE, GL_LOGIC_OP_MODE, GL_MAP1_GRID_DOMAIN, GL_MAP2_GRID_SEGMENTS, GL_MATRIX_MODE,
    GL_MAX_ATTRIB_STACK_DEPTH, GL_MAX_EVAL_ORDER, GL_MAX_LIGHTS, GL_MAX_LIST_NESTING,
    GL_MAX_MODELVIEW_STACK_DEPTH, GL_MAX_NAME_STACK_DEPTH, GL_MAX_PIXEL_MAP_TABLE,
    GL_MAX_TEXTURE_SIZE, GL_MAX_VIEWPORT_DIMS, GL_MODELVIEW_MATRIX, GL_MODELVIEW_STACK_DEPTH,
    GL_NAME_STACK_DEPTH, GL_PACK_ALIGNMENT, GL_PACK_ROW_LENGTH, GL_PACK_SKIP_ROWS,
    GL_PACK_SWAP_BYTES, GL_PIXEL_MAP_I_TO_I_SIZE, GL_PIXEL_MAP_R_TO_R_SIZE, GL_POINT_SIZE,
    GL_POINT_SIZE_RANGE, GL_POLYGON_MODE, GL_POLYGON_OFFSET_FACTOR, GL_PROJECTION_MATRIX,
    GL_READ_BUFFER, GL_RENDER_MODE, GL_SCISSOR_BOX, GL_SHADE_MODEL, GL_STENCIL_CLEAR_VALUE,
    GL_STENCIL_FUNC, GL_STENCIL_REF, GL_STENCIL_VALUE_MASK, GL_TEXTURE_BINDING_1D,
    GL_TEXTURE_BINDING_2D, GL_TEXTURE_MATRIX, GL_TEXTURE_STACK_DEPTH, GL_UNPACK_ALIGNMENT,
    GL_UNPACK_ROW_LENGTH, GL_UNPACK_SKIP_PIXELS, GL_UNPACK_SKIP_ROWS, GL_UNPACK_LSB_FIRST,
    GL_VIEWPORT, GL_ZOOM_X, GL_ZOOM_Y, GL_VERTEX_ARRAY_SIZE, GL_VERTEX_ARRAY_STRIDE,
    GL_COLOR_ARRAY_TYPE, GL_VERTEX_ARRAY_POINTER, GL_COLOR_ARRAY_POINTER,
    GL_FEEDBACK_BUFFER_POINTER, GL_SELECTION_BUFFER_POINTER, GL_INDEX_SHIFT, GL_INDEX_OFFSET,
    GL_RED_SCALE, GL_RED_BIAS, GL_DEPTH_SCALE, GL_DEPTH_BIAS, GL_MAP_COLOR, GL_MAP_STENCIL,
    GL_ARRAY_ELEMENT_LOCK_FIRST_VLX, GL_ARRAY_ELEMENT_LOCK_COUNT_VLX, GL_VERTEX_ARRAY_COUNT_EXT,
    GL_INDEX_TEST_FUNC_VLX, GL_INDEX_TEST_REF_VLX, GL_CULL_VERTEX_EYE_POSITION_VLX,
    GL_CULL_VERTEX_OBJECT_POSITION_VLX,
    // textures
    GL_TEXTURE_MAG_FILTER, GL_TEXTURE_MIN_FILTER, GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T,
    GL_TEXTURE_BORDER_COLOR, GL_TEXTURE_PRIORITY, GL_TEXTURE_RESIDENT, GL_TEXTURE_WIDTH,
    GL_TEXTURE_HEIGHT, GL_TEXTURE_COMPONENTS, GL_TEXTURE_BORDER, GL_TEXTURE_RED_SIZE,
    GL_TEXTURE_INTENSITY_SIZE, GL_TEXTURE_ENV_MODE, GL_TEXTURE_ENV_COLOR, GL_TEXTURE_GEN_MODE,
    GL_OBJECT_PLANE, GL_EYE_PLANE, GL_COLOR_TABLE_WIDTH_EXT, GL_COLOR_TABLE_FORMAT_EXT,
    GL_COLOR_TABLE_RED_SIZE_EXT, GL_TEXTURE_INDEX_SIZE_EXT,
    // lights, materials, fog, light model
    GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR, GL_POSITION, GL_SPOT_DIRECTION, GL_SPOT_EXPONENT,
    GL_SPOT_CUTOFF, GL_CONSTANT_ATTENUATION, GL_LINEAR_ATTENUATION, GL_QUADRATIC_ATTENUATION,
    GL_EMISSION, GL_SHININESS, GL_AMBIENT_AND_DIFFUSE, GL_COLOR_INDEXES, GL_FOG_INDEX,
    GL_FOG_START, GL_LIGHT_MODEL_LOCAL_VIEWER, GL_LIGHT_MODEL_TWO_SIDE,
    // pixel store and transfer
    GL_UNPACK_SWAP_BYTES, GL_PACK_LSB_FIRST, GL_PACK_SKIP_PIXELS, GL_MAP_COLOR,
    GL_GREEN_SCALE, GL_BLUE_BIAS, GL_ALPHA_SCALE,
    // map queries
    GL_COEFF, GL_ORDER, GL_DOMAIN};
const GLenum kFormats[] = {GL_COLOR_INDEX, GL_STENCIL_INDEX, GL_DEPTH_COMPONENT, GL_RED,
                           GL_GREEN, GL_BLUE, GL_ALPHA, GL_RGB, GL_RGBA, GL_LUMINANCE,
                           GL_LUMINANCE_ALPHA, GL_BGR_EXT, GL_BGRA_EXT, GL_ABGR_EXT};
const GLenum kTypes[] = {GL_UNSIGNED_BYTE, GL_BYTE, GL_UNSIGNED_SHORT, GL_SHORT, GL_UNSIGNED_INT,
                         GL_INT, GL_FLOAT, GL_DOUBLE, GL_BITMAP, GL_2_BYTES, GL_3_BYTES,
                         GL_4_BYTES, GL_UNSIGNED_BYTE_3_3_2_EXT, GL_UNSIGNED_SHORT_4_4_4_4_EXT,
                         GL_UNSIGNED_SHORT_5_5_5_1_EXT, GL_UNSIGNED_INT_8_8_8_8_EXT,
                         GL_UNSIGNED_INT_10_10_10_2_EXT};
const GLenum kInternalFormats[] = {
    GL_ALPHA, GL_ALPHA4, GL_ALPHA8, GL_ALPHA12, GL_LUMINANCE, GL_LUMINANCE8, GL_LUMINANCE_ALPHA,
    GL_LUMINANCE4_ALPHA4, GL_INTENSITY, GL_INTENSITY8, GL_RGB, GL_R3_G3_B2, GL_RGB4, GL_RGB5,
    GL_RGB8, GL_RGB10, GL_RGBA, GL_RGBA2, GL_RGBA4, GL_RGB5_A1, GL_RGBA8, GL_RGB10_A2,
    GL_RGBA16, GL_COLOR_INDEX1_EXT, GL_COLOR_INDEX8_EXT, GL_COLOR_INDEX16_EXT, GL_BGRA_EXT};
const GLenum kFuncs[] = {GL_NEVER, GL_LESS, GL_EQUAL, GL_LEQUAL, GL_GREATER, GL_NOTEQUAL,
                         GL_GEQUAL, GL_ALWAYS};
const GLenum kBlend[] = {GL_ZERO, GL_ONE, GL_SRC_COLOR, GL_ONE_MINUS_SRC_COLOR, GL_SRC_ALPHA,
                         GL_ONE_MINUS_SRC_ALPHA, GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA,
                         GL_DST_COLOR, GL_ONE_MINUS_DST_COLOR, GL_SRC_ALPHA_SATURATE};
const GLenum kStencilOps[] = {GL_KEEP, GL_ZERO, GL_REPLACE, GL_INCR, GL_DECR, GL_INVERT};
const GLenum kLogicOps[] = {GL_CLEAR, GL_AND, GL_AND_REVERSE, GL_COPY, GL_AND_INVERTED,
                            GL_NOOP, GL_XOR, GL_OR, GL_NOR, GL_EQUIV, GL_INVERT, GL_OR_REVERSE,
                            GL_COPY_INVERTED, GL_OR_INVERTED, GL_NAND, GL_SET};
const GLenum kLights[] = {GL_LIGHT0, GL_LIGHT1, GL_LIGHT2, GL_LIGHT7, GL_LIGHT0 + 8};
const GLenum kCoords[] = {GL_S, GL_T, GL_R, GL_Q};
const GLenum kPixelMaps[] = {GL_PIXEL_MAP_I_TO_I, GL_PIXEL_MAP_S_TO_S, GL_PIXEL_MAP_I_TO_R,
                             GL_PIXEL_MAP_I_TO_G, GL_PIXEL_MAP_I_TO_B, GL_PIXEL_MAP_I_TO_A,
                             GL_PIXEL_MAP_R_TO_R, GL_PIXEL_MAP_G_TO_G, GL_PIXEL_MAP_B_TO_B,
                             GL_PIXEL_MAP_A_TO_A};
const GLenum kPlanes[] = {GL_CLIP_PLANE0, GL_CLIP_PLANE1, GL_CLIP_PLANE5, GL_CLIP_PLANE0 + 6};
const GLenum kAccumOps[] = {GL_ACCUM, GL_LOAD, GL_RETURN, GL_MULT, GL_ADD};
const GLenum kStrings[] = {GL_VENDOR, GL_RENDERER, GL_VERSION, GL_EXTENSIONS};
const GLenum kInterleaved[] = {GL_V2F, GL_V3F, GL_C4UB_V2F, GL_C4UB_V3F, GL_C3F_V3F,
                               GL_N3F_V3F, GL_C4F_N3F_V3F, GL_T2F_V3F, GL_T4F_V4F,
                               GL_T2F_C4UB_V3F, GL_T2F_C3F_V3F, GL_T2F_N3F_V3F,
                               GL_T2F_C4F_N3F_V3F, GL_T4F_C4F_N3F_V4F, GL_IUI_V2F_EXT,
                               GL_IUI_V3F_EXT, GL_IUI_N3F_V2F_EXT, GL_IUI_N3F_V3F_EXT,
                               GL_T2F_IUI_V2F_EXT, GL_T2F_IUI_V3F_EXT, GL_T2F_IUI_N3F_V2F_EXT,
                               GL_T2F_IUI_N3F_V3F_EXT};
const GLenum kArrayTypes[] = {GL_SHORT, GL_INT, GL_FLOAT, GL_DOUBLE, GL_UNSIGNED_BYTE, GL_BYTE,
                              GL_UNSIGNED_SHORT, GL_UNSIGNED_INT};
const GLenum kElementTypes[] = {GL_UNSIGNED_BYTE, GL_UNSIGNED_SHORT, GL_UNSIGNED_INT};
const GLenum kListTypes[] = {GL_BYTE, GL_UNSIGNED_BYTE, GL_SHORT, GL_UNSIGNED_SHORT, GL_INT,
                             GL_UNSIGNED_INT, GL_FLOAT, GL_2_BYTES, GL_3_BYTES, GL_4_BYTES};
const GLenum kBuffers[] = {GL_NONE, GL_FRONT_LEFT, GL_FRONT_RIGHT, GL_BACK_LEFT, GL_BACK_RIGHT,
                           GL_FRONT, GL_BACK, GL_LEFT, GL_RIGHT, GL_FRONT_AND_BACK, GL_AUX0};
const GLenum kCopyTypes[] = {GL_COLOR, GL_DEPTH, GL_STENCIL};
const GLenum kParamValues[] = {GL_NEAREST, GL_LINEAR, GL_NEAREST_MIPMAP_NEAREST,
                               GL_LINEAR_MIPMAP_LINEAR, GL_CLAMP, GL_REPEAT, GL_MODULATE,
                               GL_DECAL, GL_BLEND, GL_REPLACE, GL_EYE_LINEAR, GL_OBJECT_LINEAR,
                               GL_SPHERE_MAP, GL_EXP, GL_EXP2, GL_LINEAR};

struct Pool {
  const GLenum *values;
  size_t count;
};
template <size_t N>
constexpr Pool P(const GLenum (&t)[N]) {
  return {t, N};
}

const Pool kAllPools[] = {P(kPrimitives), P(kModes), P(kCaps), P(kTargets), P(kPnames),
                          P(kFormats), P(kTypes), P(kInternalFormats), P(kFuncs), P(kBlend),
                          P(kStencilOps), P(kLogicOps), P(kLights), P(kCoords), P(kPixelMaps),
                          P(kPlanes), P(kAccumOps), P(kStrings), P(kInterleaved),
                          P(kBuffers), P(kParamValues)};

bool Has(const char *s, const char *part) { return strstr(s, part) != nullptr; }

// The set a parameter's values mostly come from.
Pool EnumPool(const FuzzEntry &e, const FuzzParam &p) {
  const std::string &n = p.name;
  const char *entry = e.name;
  if (n == "mode") {
    if (!strcmp(entry, "Begin") || Has(entry, "DrawArrays") || !strcmp(entry, "DrawElements"))
      return P(kPrimitives);
    if (Has(entry, "EvalMesh") || !strcmp(entry, "PolygonMode")) {
      static const GLenum m[] = {GL_POINT, GL_LINE, GL_FILL};
      return P(m);
    }
    if (!strcmp(entry, "MatrixMode")) {
      static const GLenum m[] = {GL_MODELVIEW, GL_PROJECTION, GL_TEXTURE};
      return P(m);
    }
    if (!strcmp(entry, "RenderMode")) {
      static const GLenum m[] = {GL_RENDER, GL_FEEDBACK, GL_SELECT};
      return P(m);
    }
    if (!strcmp(entry, "NewList")) {
      static const GLenum m[] = {GL_COMPILE, GL_COMPILE_AND_EXECUTE};
      return P(m);
    }
    if (Has(entry, "Buffer")) return P(kBuffers);
    return P(kModes);
  }
  if (n == "cap") return P(kCaps);
  if (n == "array") return P(kArrays);
  if (n == "target") return P(kTargets);
  if (n == "pname" || n == "query") return P(kPnames);
  if (n == "format") return Has(entry, "Interleaved") ? P(kInterleaved) : P(kFormats);
  if (n == "type") {
    if (Has(entry, "Pointer")) return P(kArrayTypes);
    if (Has(entry, "DrawElements")) return P(kElementTypes);
    if (Has(entry, "CallLists")) return P(kListTypes);
    if (!strcmp(entry, "CopyPixels")) return P(kCopyTypes);
    if (!strcmp(entry, "FeedbackBuffer")) {
      static const GLenum t[] = {GL_2D, GL_3D, GL_3D_COLOR, GL_3D_COLOR_TEXTURE,
                                 GL_4D_COLOR_TEXTURE};
      return P(t);
    }
    return P(kTypes);
  }
  if (n == "internalformat") return P(kInternalFormats);
  if (n == "func") return P(kFuncs);
  if (n == "sfactor" || n == "dfactor") return P(kBlend);
  if (n == "fail" || n == "zfail" || n == "zpass") return P(kStencilOps);
  if (n == "opcode") return P(kLogicOps);
  if (n == "light") return P(kLights);
  if (n == "coord") return P(kCoords);
  if (n == "map") return P(kPixelMaps);
  if (n == "plane") return P(kPlanes);
  if (n == "op") return P(kAccumOps);
  if (n == "name") return P(kStrings);
  if (n == "face") {
    static const GLenum f[] = {GL_FRONT, GL_BACK, GL_FRONT_AND_BACK};
    return P(f);
  }
  return P(kModes);
}

int64_t InterestingInt(FuzzRng &rng) {
  static const int64_t values[] = {0,  1,    2,    3,     4,     -1,        -2,      5,
                                   7,  8,    15,   16,    17,    31,        32,      33,
                                   63, 64,   65,   255,   256,   1023,      1024,    65535,
                                   65536, 0x7FFFFFFF, -0x7FFFFFFF - 1, 1 << 20};
  return rng.Pick(values);
}

// Sizes of images, counts and grids: mostly small, sometimes at the edges.
int64_t SizeValue(FuzzRng &rng) {
  if (rng.Percent(70)) return rng.Range(0, 70);
  return InterestingInt(rng);
}

}  // namespace

GLenum FuzzAnyEnum(FuzzRng &rng) {
  const Pool &pool = rng.Pick(kAllPools);
  return pool.values[rng.Below(uint32_t(pool.count))];
}

double FuzzFloat(FuzzRng &rng) {
  static const double values[] = {0.0,  -0.0, 1.0,   -1.0,  0.5,  2.0,  1e38, -1e38,
                                  NAN,  INFINITY, -INFINITY, 1e-40, 1.17549435e-38, 100.0,
                                  1e6,  -1e6, 3.5,   255.0, 65536.0, 0.25};
  if (rng.Percent(75)) return rng.Unit() * 4.0 - 2.0;
  return rng.Pick(values);
}

void FuzzDrawValue(FuzzRng &rng, const FuzzEntry &entry, const FuzzParam &param, FuzzArg *arg) {
  const std::string &n = param.name;
  switch (param.type) {
    case FuzzType::Enum: {
      const unsigned r = rng.Below(100);
      if (r < 85) {
        const Pool pool = EnumPool(entry, param);
        arg->i = pool.values[rng.Below(uint32_t(pool.count))];
      } else if (r < 95) {
        arg->i = FuzzAnyEnum(rng);
      } else {
        arg->i = int64_t(rng.Next() & 0xFFFFFFFFu);
      }
      return;
    }
    case FuzzType::Bitfield: {
      static const int64_t masks[] = {GL_COLOR_BUFFER_BIT, GL_DEPTH_BUFFER_BIT,
                                      GL_STENCIL_BUFFER_BIT, GL_ACCUM_BUFFER_BIT,
                                      GL_ALL_ATTRIB_BITS, GL_CLIENT_ALL_ATTRIB_BITS,
                                      GL_ENABLE_BIT, GL_TEXTURE_BIT, GL_LIGHTING_BIT,
                                      GL_PIXEL_MODE_BIT, GL_CLIENT_VERTEX_ARRAY_BIT, 0,
                                      0xFFFFFFFF, GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT};
      arg->i = rng.Percent(90) ? rng.Pick(masks) : int64_t(rng.Next() & 0xFFFFFFFFu);
      return;
    }
    case FuzzType::Boolean:
      arg->i = rng.Percent(95) ? rng.Below(2) : rng.Range(2, 255);
      return;
    case FuzzType::Float:
      arg->f = FuzzFloat(rng);
      return;
    case FuzzType::Pointer:
      return;  // placed by the extent rules
    case FuzzType::Int:
      break;
  }
  // Integers by what they name.
  if (n == "list" || n == "texture" || n == "base" || n == "name") {
    arg->i = rng.Percent(90) ? rng.Range(0, kFuzzNames - 1) : InterestingInt(rng);
  } else if (n == "level") {
    arg->i = rng.Percent(85) ? rng.Range(0, 10) : InterestingInt(rng);
  } else if (n == "border") {
    arg->i = rng.Percent(85) ? rng.Below(2) : InterestingInt(rng);
  } else if (n == "internalformat") {
    arg->i = rng.Percent(40) ? rng.Range(1, 4) : rng.Pick(kInternalFormats);
  } else if (n == "size" && Has(entry.name, "Pointer")) {
    arg->i = rng.Percent(90) ? rng.Range(1, 4) : InterestingInt(rng);
  } else if (n == "stride" || n == "ustride" || n == "vstride") {
    static const int64_t strides[] = {0, 0, 0, 4, 8, 12, 16, 24, 32, 64, 1, 3, -4, 255};
    arg->i = rng.Percent(90) ? rng.Pick(strides) : InterestingInt(rng);
  } else if (n == "order" || n == "uorder" || n == "vorder") {
    arg->i = rng.Percent(85) ? rng.Range(1, 8) : InterestingInt(rng);
  } else if (n == "i1" || n == "i2" || n == "j1" || n == "j2" || n == "i" || n == "j") {
    // Evaluator meshes walk every grid point between these: kept small.
    arg->i = rng.Range(-4, 40);
  } else if (n == "factor") {
    arg->i = rng.Percent(85) ? rng.Range(1, 256) : InterestingInt(rng);
  } else if (n == "x" || n == "y" || n == "xoffset" || n == "yoffset") {
    arg->i = rng.Percent(70) ? rng.Range(-20, 80) : InterestingInt(rng);
  } else if (n == "param") {
    arg->i = rng.Percent(50) ? int64_t(rng.Pick(kParamValues)) : SizeValue(rng);
  } else if (n == "ref" || n == "mask" || n == "pattern" || n == "c" ||
             n == "s") {
    arg->i = rng.Percent(50) ? rng.Range(0, 255) : InterestingInt(rng);
  } else {
    arg->i = SizeValue(rng);
  }
}
