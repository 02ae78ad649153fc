// The ops whose data is not simply the call's arguments in order:
// glClipPlane (the doubles first), the pixel maps and texture priorities
// (counted arrays, with size guards), and glBegin (one code per mode).
#include "core/gl_entries.h"
#include "dlist/dl_op_kinds.h"
#include "dlist/dl_opcodes.h"
#include "dlist/dl_ops.h"
#include "pixels/px_map.h"

namespace {

// The equation's doubles, then the plane, then a pad word: 40 bytes.
struct ClipPlaneData {
  GLdouble equation[4];
  GLenum plane;
  uint32_t pad;
};
static_assert(sizeof(ClipPlaneData) == 40, "doubles first keeps them 8-aligned");

// Bytes of `count` values of `size` bytes, rounded up to 4, plus `head`;
// -1 when the op could not hold them (a negative count or a size beyond a
// signed 32-bit size).
int64_t CountedSize(GLsizei count, uint32_t size, uint32_t head) {
  if (count < 0) return -1;
  const int64_t bytes = head + ((int64_t(count) * size + 3) & ~int64_t(3));
  return bytes > INT32_MAX ? -1 : bytes;
}

template <typename T>
void PixelMap(int16_t code, GlDlistExecProc execute, GLenum map, GLsizei mapsize,
              const T *values) {
  GlContext *gc = __glGetTLSCXValue();
  const int64_t size = CountedSize(mapsize, sizeof(T), 8);
  if (size < 0) {
    __gllc_InvalidValue(gc);
    return;
  }
  // A map larger than any the command accepts is refused when run; its
  // values are not read, as the command would not read them either.
  if (mapsize > gc->constants.maxPixelMapTable) {
    __gllc_Error(gc, __glPixelMapError(gc, map, mapsize));
    return;
  }
  if (mapsize > 0 && values == nullptr) return;  // nothing to read
  __glDlistRecord(gc, code, uint32_t(size), false, 0, execute, [&](GLubyte *data) {
    DlPut(data, map);
    DlPut(data + 4, mapsize);
    const size_t bytes = size_t(mapsize) * sizeof(T);
    if (bytes) memcpy(data + 8, values, bytes);
    memset(data + 8 + bytes, 0, size_t(size) - 8 - bytes);
  });
}

template <typename T, typename Proc>
const GLubyte *ReplayPixelMap(const GLubyte *data, Proc GlDispatchState::*slot) {
  GlContext *gc = __glGetTLSCXValue();
  const GLsizei mapsize = DlGet<GLsizei>(data + 4);
  (gc->dispatch.*slot)(DlWord(data), mapsize, reinterpret_cast<const T *>(data + 8));
  return data + 8 + ((uint32_t(mapsize) * sizeof(T) + 3) & ~uint32_t(3));
}

}  // namespace

void GLENTRY __gllc_ClipPlane(GLenum plane, const GLdouble *equation) {
  if (equation == nullptr) return;  // the immediate entry does nothing either
  __glDlistRecord(__glGetTLSCXValue(), GL_DLOP_ClipPlane, sizeof(ClipPlaneData), true, 0,
                  __glle_ClipPlane, [&](GLubyte *data) {
                    ClipPlaneData op = {};
                    memcpy(op.equation, equation, sizeof op.equation);
                    op.plane = plane;
                    memcpy(data, &op, sizeof op);
                  });
}

const GLubyte *__glle_ClipPlane(const GLubyte *data) {
  const auto *op = reinterpret_cast<const ClipPlaneData *>(data);
  __glGetTLSCXValue()->dispatch.ClipPlane(op->plane, op->equation);
  return data + sizeof(ClipPlaneData);
}

void GLENTRY __gllc_PixelMapfv(GLenum map, GLsizei mapsize, const GLfloat *values) {
  PixelMap(GL_DLOP_PixelMapfv, __glle_PixelMapfv, map, mapsize, values);
}
void GLENTRY __gllc_PixelMapuiv(GLenum map, GLsizei mapsize, const GLuint *values) {
  PixelMap(GL_DLOP_PixelMapuiv, __glle_PixelMapuiv, map, mapsize, values);
}
void GLENTRY __gllc_PixelMapusv(GLenum map, GLsizei mapsize, const GLushort *values) {
  PixelMap(GL_DLOP_PixelMapusv, __glle_PixelMapusv, map, mapsize, values);
}

const GLubyte *__glle_PixelMapfv(const GLubyte *data) {
  return ReplayPixelMap<GLfloat>(data, &GlDispatchState::PixelMapfv);
}
const GLubyte *__glle_PixelMapuiv(const GLubyte *data) {
  return ReplayPixelMap<GLuint>(data, &GlDispatchState::PixelMapuiv);
}
const GLubyte *__glle_PixelMapusv(const GLubyte *data) {
  return ReplayPixelMap<GLushort>(data, &GlDispatchState::PixelMapusv);
}

// n, the n names, the n priorities.
void GLENTRY __gllc_PrioritizeTextures(GLsizei n, const GLuint *textures,
                                       const GLclampf *priorities) {
  GlContext *gc = __glGetTLSCXValue();
  const int64_t size = CountedSize(n, 8, 4);
  if (size < 0) {
    __gllc_InvalidValue(gc);
    return;
  }
  if (n > 0 && (textures == nullptr || priorities == nullptr)) return;  // nothing to read
  __glDlistRecord(gc, GL_DLOP_PrioritizeTextures, uint32_t(size), false, 0,
                  __glle_PrioritizeTextures, [&](GLubyte *data) {
                    DlPut(data, n);
                    const size_t bytes = size_t(n) * 4;
                    if (bytes) {
                      memcpy(data + 4, textures, bytes);
                      memcpy(data + 4 + bytes, priorities, bytes);
                    }
                  });
}

const GLubyte *__glle_PrioritizeTextures(const GLubyte *data) {
  const GLsizei n = DlGet<GLsizei>(data);
  const GLubyte *names = data + 4;
  const GLubyte *priorities = names + 4 * uint32_t(n);
  __glGetTLSCXValue()->dispatch.PrioritizeTextures(n, reinterpret_cast<const GLuint *>(names),
                                                   reinterpret_cast<const GLclampf *>(priorities));
  return priorities + 4 * uint32_t(n);
}

// A data-less op per mode; any other mode makes the same op an InvalidEnum
// op, without the contents flag.
void GLENTRY __gllc_Begin(GLenum mode) {
  GlContext *gc = __glGetTLSCXValue();
  GlDlistOp *op = __glDlistAllocOp2(gc, 0);
  if (op == nullptr) return;
#define DL_MODE_ROW(code, kind, ...) DL_MODE_##kind(code, __VA_ARGS__)
#define DL_MODE_MODE(code, Name, glMode) {glMode, int16_t(code), __glle_##Name},
#define DL_MODE_VALUE(...)
#define DL_MODE_ORDERED(...)
#define DL_MODE_VECTOR(...)
#define DL_MODE_ARRAY(...)
#define DL_MODE_RECT(...)
#define DL_MODE_PNAME(...)
#define DL_MODE_SCALAR(...)
#define DL_MODE_CUSTOM(...)
#define DL_MODE_SHARED(...)
#define DL_MODE_EXPANDED(...)
#define DL_MODE_BEGIN(...)
#define DL_MODE_ERROR(...)
#define DL_MODE_MATERIAL(...)
  static constexpr struct {
    GLenum mode;
    int16_t code;
    GlDlistExecProc execute;
  } kModes[] = {GL_DLIST_OPS(DL_MODE_ROW)};
  for (const auto &m : kModes) {
    if (m.mode != mode) continue;
    op->opcode = m.code;
    gc->dlist.listRec.contents |= 0x80;
    __glDlistAppendOp(gc, op, m.execute);
    return;
  }
  op->opcode = GL_DLOP_InvalidEnum;
  __glDlistAppendOp(gc, op, __glle_InvalidEnum);
}
