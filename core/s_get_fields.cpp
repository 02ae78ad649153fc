// The glGet rows that copy stored fields of the context: one table of
// (pname, kind, count, field width, place). Rows whose value is computed
// are in s_get.cpp.
#include <stddef.h>
#include <string.h>

#include <utility>

#include "core/context.h"
#include "core/gl_get_enums.h"
#include "core/s_get.h"
#include "core/s_get_stage.h"
#include "pixels/px_enums.h"

namespace {

// How one stored element is read.
enum class Field : uint8_t {
  kF32,      // float
  kF64,      // double, narrowed to float
  kI32,      // 32-bit integer or enum
  kU16,      // zero-extended
  kS16,      // sign-extended
  kU8,       // a flag byte
  kNonZero,  // a 32-bit word; staged as 1 when any bit is set
};

struct Row {
  GLenum pname;
  uint8_t kind;
  uint8_t count;
  Field field;
  uint32_t offset;
};

constexpr uint32_t Size(Field f) {
  switch (f) {
    case Field::kF64: return 8;
    case Field::kU16:
    case Field::kS16: return 2;
    case Field::kU8: return 1;
    default: return 4;
  }
}

// The offset of a member read as `count` fields of width `f`: the member is
// one such field, or all of them. Anything else stops the build.
constexpr uint32_t Place(size_t offset, size_t size, Field f, int count) {
  return size == Size(f) || size == Size(f) * size_t(count) ? uint32_t(offset)
                                                            : throw "field width";
}

#define ROW(pname, kind, count, field, member)                                         \
  Row {                                                                                \
    pname, kind, count, Field::field,                                                  \
        Place(offsetof(GlContext, member), sizeof(std::declval<GlContext &>().member), \
              Field::field, count)                                                     \
  }
#define B(pname, member) ROW(pname, __GL_BOOL, 1, kU8, member)
#define I(pname, member) ROW(pname, __GL_INT, 1, kI32, member)
#define F(pname, member) ROW(pname, __GL_FLOAT, 1, kF32, member)
#define ARRAY(n, pname)                                    \
  I(pname##_TYPE, vertexArray.arrays[n].type),             \
      I(pname##_STRIDE, vertexArray.arrays[n].userStride), \
      I(pname##_COUNT_EXT, vertexArray.arrays[n].count)
#define MAP_SIZE(n) I(GL_PIXEL_MAP_I_TO_I_SIZE + n, pixel.pixelMap[n].size)

constexpr Row kRows[] = {
    // Flags
    B(GL_CURRENT_RASTER_POSITION_VALID, state.current.validRasterPos),
    ROW(GL_EDGE_FLAG, __GL_BOOL, 1, kNonZero, state.current.edgeFlag),
    B(GL_LIGHT_MODEL_LOCAL_VIEWER, state.light.model.localViewer),
    B(GL_LIGHT_MODEL_TWO_SIDE, state.light.model.twoSided),
    B(GL_DEPTH_WRITEMASK, state.depth.writeEnable),
    ROW(GL_COLOR_WRITEMASK, __GL_BOOL, 4, kU8, state.raster.rMask),
    B(GL_INDEX_MODE, modes.colorIndexMode),
    B(GL_RGBA_MODE, modes.rgbMode),
    B(GL_DOUBLEBUFFER, modes.doubleBufferMode),
    B(GL_UNPACK_SWAP_BYTES, pixel.unpackModes.swapBytes),
    B(GL_UNPACK_LSB_FIRST, pixel.unpackModes.lsbFirst),
    B(GL_PACK_SWAP_BYTES, pixel.packModes.swapBytes),
    B(GL_PACK_LSB_FIRST, pixel.packModes.lsbFirst),
    B(GL_MAP_COLOR, pixel.transferMode.mapColor),
    B(GL_MAP_STENCIL, pixel.transferMode.mapStencil),

    // Integers and enums
    ROW(GL_LINE_STIPPLE_PATTERN, __GL_INT, 1, kU16, state.line.stipple),
    ROW(GL_LINE_STIPPLE_REPEAT, __GL_INT, 1, kS16, state.line.stippleRepeat),
    I(GL_LIST_MODE, dlist.mode),
    I(GL_LIST_INDEX, dlist.currentList),
    I(GL_LIST_BASE, state.list.listBase),
    ROW(GL_POLYGON_MODE, __GL_INT, 2, kI32, state.polygon.frontMode),
    I(GL_CULL_FACE_MODE, state.polygon.cull),
    I(GL_FRONT_FACE, state.polygon.frontFaceDirection),
    I(GL_SHADE_MODEL, state.light.shadingModel),
    I(GL_COLOR_MATERIAL_FACE, state.light.colorMaterialFace),
    I(GL_COLOR_MATERIAL_PARAMETER, state.light.colorMaterialParam),
    I(GL_FOG_MODE, state.fog.mode),
    I(GL_DEPTH_FUNC, state.depth.testFunc),
    I(GL_STENCIL_FUNC, state.stencil.testFunc),
    I(GL_STENCIL_FAIL, state.stencil.fail),
    I(GL_STENCIL_PASS_DEPTH_FAIL, state.stencil.depthFail),
    I(GL_STENCIL_PASS_DEPTH_PASS, state.stencil.depthPass),
    ROW(GL_STENCIL_CLEAR_VALUE, __GL_INT, 1, kS16, state.stencil.clear),
    ROW(GL_STENCIL_VALUE_MASK, __GL_INT, 1, kS16, state.stencil.mask),
    ROW(GL_STENCIL_REF, __GL_INT, 1, kS16, state.stencil.reference),
    ROW(GL_STENCIL_WRITEMASK, __GL_INT, 1, kS16, state.stencil.writeMask),
    I(GL_MATRIX_MODE, state.transform.matrixMode),
    ROW(GL_VIEWPORT, __GL_INT, 4, kI32, state.viewport.x),
    I(GL_ALPHA_TEST_FUNC, state.raster.alphaFunction),
    I(GL_BLEND_DST, state.raster.blendDst),
    I(GL_BLEND_SRC, state.raster.blendSrc),
    I(GL_LOGIC_OP_MODE, state.raster.logicOp),
    I(GL_DRAW_BUFFER, state.raster.drawBufferReturn),
    I(GL_READ_BUFFER, pixel.readBufferReturn),
    ROW(GL_SCISSOR_BOX, __GL_INT, 4, kI32, state.scissor.x),
    I(GL_INDEX_WRITEMASK, state.raster.writeMask),
    I(GL_RENDER_MODE, renderMode),
    I(GL_PERSPECTIVE_CORRECTION_HINT, state.hints.perspectiveCorrection),
    I(GL_POINT_SMOOTH_HINT, state.hints.pointSmooth),
    I(GL_LINE_SMOOTH_HINT, state.hints.lineSmooth),
    I(GL_POLYGON_SMOOTH_HINT, state.hints.polygonSmooth),
    I(GL_FOG_HINT, state.hints.fog),
    MAP_SIZE(0),
    MAP_SIZE(1),
    MAP_SIZE(2),
    MAP_SIZE(3),
    MAP_SIZE(4),
    MAP_SIZE(5),
    MAP_SIZE(6),
    MAP_SIZE(7),
    MAP_SIZE(8),
    MAP_SIZE(9),
    I(GL_UNPACK_ROW_LENGTH, pixel.unpackModes.rowLength),
    I(GL_UNPACK_SKIP_ROWS, pixel.unpackModes.skipRows),
    I(GL_UNPACK_SKIP_PIXELS, pixel.unpackModes.skipPixels),
    I(GL_UNPACK_ALIGNMENT, pixel.unpackModes.alignment),
    I(GL_PACK_ROW_LENGTH, pixel.packModes.rowLength),
    I(GL_PACK_SKIP_ROWS, pixel.packModes.skipRows),
    I(GL_PACK_SKIP_PIXELS, pixel.packModes.skipPixels),
    I(GL_PACK_ALIGNMENT, pixel.packModes.alignment),
    I(GL_INDEX_SHIFT, pixel.transferMode.indexShift),
    I(GL_INDEX_OFFSET, pixel.transferMode.indexOffset),
    I(GL_MAX_EVAL_ORDER, constants.maxEvalOrder),
    I(GL_MAX_LIGHTS, constants.numberOfLights),
    I(GL_MAX_CLIP_PLANES, constants.numberOfClipPlanes),
    I(GL_MAX_TEXTURE_SIZE, constants.maxTextureSize),
    I(GL_MAX_PIXEL_MAP_TABLE, constants.maxPixelMapTable),
    I(GL_MAX_ATTRIB_STACK_DEPTH, constants.maxAttribStackDepth),
    I(GL_MAX_CLIENT_ATTRIB_STACK_DEPTH, constants.maxClientAttribStackDepth),
    I(GL_MAX_MODELVIEW_STACK_DEPTH, constants.maxModelViewStackDepth),
    I(GL_MAX_NAME_STACK_DEPTH, constants.maxNameStackDepth),
    I(GL_MAX_PROJECTION_STACK_DEPTH, constants.maxProjectionStackDepth),
    I(GL_MAX_TEXTURE_STACK_DEPTH, constants.maxTextureStackDepth),
    ROW(GL_MAX_VIEWPORT_DIMS, __GL_INT, 2, kI32, constants.maxViewportWidth),
    I(GL_SUBPIXEL_BITS, constants.subpixelBits),
    I(GL_INDEX_BITS, modes.indexBits),
    I(GL_RED_BITS, modes.redBits),
    I(GL_GREEN_BITS, modes.greenBits),
    I(GL_BLUE_BITS, modes.blueBits),
    I(GL_ALPHA_BITS, modes.alphaBits),
    I(GL_DEPTH_BITS, modes.depthBits),
    I(GL_STENCIL_BITS, modes.stencilBits),
    I(GL_ACCUM_RED_BITS, modes.accumRedBits),
    I(GL_ACCUM_GREEN_BITS, modes.accumGreenBits),
    I(GL_ACCUM_BLUE_BITS, modes.accumBlueBits),
    I(GL_ACCUM_ALPHA_BITS, modes.accumAlphaBits),
    I(GL_MAP1_GRID_SEGMENTS, state.evaluator.grid1.n),
    I(GL_FEEDBACK_BUFFER_SIZE, feedback.size),
    I(GL_FEEDBACK_BUFFER_TYPE, feedback.type),
    I(GL_SELECTION_BUFFER_SIZE, select.bufferSize),
    I(GL_VERTEX_ARRAY_SIZE, vertexArray.arrays[__GL_VARRAY_VERTEX].size),
    ARRAY(__GL_VARRAY_VERTEX, GL_VERTEX_ARRAY),
    ARRAY(__GL_VARRAY_NORMAL, GL_NORMAL_ARRAY),
    I(GL_COLOR_ARRAY_SIZE, vertexArray.arrays[__GL_VARRAY_COLOR].size),
    ARRAY(__GL_VARRAY_COLOR, GL_COLOR_ARRAY),
    ARRAY(__GL_VARRAY_INDEX, GL_INDEX_ARRAY),
    I(GL_TEXTURE_COORD_ARRAY_SIZE, vertexArray.arrays[__GL_VARRAY_TEXCOORD].size),
    ARRAY(__GL_VARRAY_TEXCOORD, GL_TEXTURE_COORD_ARRAY),
    I(GL_EDGE_FLAG_ARRAY_STRIDE, vertexArray.arrays[__GL_VARRAY_EDGEFLAG].userStride),
    I(GL_EDGE_FLAG_ARRAY_COUNT_EXT, vertexArray.arrays[__GL_VARRAY_EDGEFLAG].count),
    I(GL_ARRAY_ELEMENT_LOCK_FIRST_VLX, vertexArray.lockFirst),
    I(GL_ARRAY_ELEMENT_LOCK_COUNT_VLX, vertexArray.lockCount),
    I(GL_INDEX_TEST_FUNC_VLX, state.raster.indexFunction),
    I(GL_INDEX_MATERIAL_PARAMETER_VLX, state.light.indexMaterialParam),
    I(GL_INDEX_MATERIAL_FACE_VLX, state.light.indexMaterialFace),

    // Plain floats
    F(GL_CURRENT_INDEX, state.current.index),
    ROW(GL_CURRENT_TEXTURE_COORDS, __GL_FLOAT, 4, kF32, state.current.texture),
    ROW(GL_CURRENT_RASTER_TEXTURE_COORDS, __GL_FLOAT, 4, kF32, state.current.rasterPos.texture),
    F(GL_POINT_SIZE, state.point.requestedSize),
    ROW(GL_POINT_SIZE_RANGE, __GL_FLOAT, 2, kF32, constants.pointSizeMinimum),
    F(GL_POINT_SIZE_GRANULARITY, constants.pointSizeGranularity),
    F(GL_LINE_WIDTH, state.line.requestedWidth),
    ROW(GL_LINE_WIDTH_RANGE, __GL_FLOAT, 2, kF32, constants.lineWidthMinimum),
    F(GL_LINE_WIDTH_GRANULARITY, constants.lineWidthGranularity),
    F(GL_FOG_INDEX, state.fog.index),
    F(GL_FOG_DENSITY, state.fog.density),
    F(GL_FOG_START, state.fog.start),
    F(GL_FOG_END, state.fog.end),
    // Kept as doubles; staged as floats, so glGetIntegerv rounds them.
    ROW(GL_DEPTH_RANGE, __GL_FLOAT, 2, kF64, state.viewport.zNear),
    ROW(GL_DEPTH_CLEAR_VALUE, __GL_FLOAT, 1, kF64, state.depth.clear),
    F(GL_ALPHA_TEST_REF, state.raster.alphaReference),
    F(GL_INDEX_CLEAR_VALUE, state.raster.clearIndex),
    F(GL_RED_SCALE, pixel.transferMode.redScale),
    F(GL_RED_BIAS, pixel.transferMode.redBias),
    F(GL_GREEN_SCALE, pixel.transferMode.greenScale),
    F(GL_GREEN_BIAS, pixel.transferMode.greenBias),
    F(GL_BLUE_SCALE, pixel.transferMode.blueScale),
    F(GL_BLUE_BIAS, pixel.transferMode.blueBias),
    F(GL_ALPHA_SCALE, pixel.transferMode.alphaScale),
    F(GL_ALPHA_BIAS, pixel.transferMode.alphaBias),
    F(GL_DEPTH_SCALE, pixel.transferMode.depthScale),
    F(GL_DEPTH_BIAS, pixel.transferMode.depthBias),
    F(GL_ZOOM_X, pixel.transferMode.zoomX),
    F(GL_ZOOM_Y, pixel.transferMode.zoomY),
    ROW(GL_MAP1_GRID_DOMAIN, __GL_FLOAT, 2, kF32, state.evaluator.grid1.u1),
    F(GL_POLYGON_OFFSET_FACTOR, state.polygon.factor),
    F(GL_POLYGON_OFFSET_UNITS, state.polygon.units),
    ROW(GL_CULL_VERTEX_EYE_POSITION_VLX, __GL_FLOAT, 4, kF32, transform.cullEyePos),
    ROW(GL_CULL_VERTEX_OBJECT_POSITION_VLX, __GL_FLOAT, 4, kF32, transform.cullObjPos),
    F(GL_INDEX_TEST_REF_VLX, state.raster.indexReference),

    // Values in [-1, 1] as the application gave them
    ROW(GL_CURRENT_COLOR, __GL_NORMALIZED, 4, kF32, state.current.userColor),
    ROW(GL_CURRENT_NORMAL, __GL_NORMALIZED, 3, kF32, state.current.normal),
    ROW(GL_ACCUM_CLEAR_VALUE, __GL_NORMALIZED, 4, kF32, state.accum.clear),
    ROW(GL_COLOR_CLEAR_VALUE, __GL_NORMALIZED, 4, kF32, state.raster.clear),

    // Colours at the colour scales
    ROW(GL_FOG_COLOR, __GL_SCALED_COLOR, 4, kF32, state.fog.color),
};

#undef ROW
#undef B
#undef I
#undef F
#undef ARRAY
#undef MAP_SIZE

// Every row's fields lie inside the context; no pname appears twice.
constexpr bool RowsSound() {
  for (size_t i = 0; i < sizeof kRows / sizeof kRows[0]; ++i) {
    const Row &r = kRows[i];
    if (r.count < 1 || r.offset + r.count * Size(r.field) > sizeof(GlContext)) return false;
    for (size_t j = 0; j < i; ++j)
      if (kRows[j].pname == r.pname) return false;
  }
  return true;
}
static_assert(RowsSound(), "glGet field rows");

template <typename T>
T Load(const uint8_t *p) {
  T v;
  memcpy(&v, p, sizeof v);
  return v;
}

void Stage(const Row &row, const uint8_t *p, GlGetStage *stage) {
  for (uint32_t i = 0; i < row.count; ++i, p += Size(row.field)) {
    switch (row.field) {
      case Field::kF32: {
        GLfloat v = Load<GLfloat>(p);
        if (row.kind == __GL_NORMALIZED)
          stage->Normalized(v);
        else if (row.kind == __GL_SCALED_COLOR)
          stage->Color(v);
        else
          stage->Float(v);
        break;
      }
      case Field::kF64: stage->Float(GLfloat(Load<GLdouble>(p))); break;
      case Field::kI32: stage->Int(Load<GLint>(p)); break;
      case Field::kU16: stage->Int(Load<uint16_t>(p)); break;
      case Field::kS16: stage->Int(Load<int16_t>(p)); break;
      case Field::kU8: stage->Bool(*p); break;
      case Field::kNonZero: stage->Bool(Load<uint32_t>(p) != 0); break;
    }
  }
}

}  // namespace

bool __glStageStoredField(const GlContext *gc, GLenum pname, GlGetStage *stage) {
  for (const Row &row : kRows) {
    if (row.pname != pname) continue;
    Stage(row, reinterpret_cast<const uint8_t *>(gc) + row.offset, stage);
    return true;
  }
  return false;
}
