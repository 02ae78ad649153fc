// Client images as the image ops keep them: checked and sized at compile
// time and packed with the unpack modes then in force, so that a list
// never reads client memory again.
#pragma once

#include <stdint.h>

#include "core/gl_defs.h"
#include "dlist/dl_op.h"
#include "dlist/dl_op_layout.h"

struct GlContext;

// One client image of a compiled command.
struct DlImage {
  GLsizei width, height;
  GLenum format, type;  // as the application gave them
  const void *pixels;
};

// The format and type check of glDrawPixels (`texture` false) and the
// texture images: true when both pass; otherwise an InvalidEnum op has been
// compiled, or for a packed type with a format it does not fit
// GL_INVALID_OPERATION raised at once, and nothing else is to be recorded.
bool __glDlistImageFormatOk(GlContext *gc, GLenum format, GLenum type, bool texture);

// Bytes the packed image takes in an op, rounded up to 4 (0 for an empty
// image), in 64 bits.
int64_t __glDlistImageSize(const DlImage &image);
// The same into *bytes; false, with GL_OUT_OF_MEMORY recorded, when an op
// of `head` argument bytes and the image would pass a signed 32-bit size.
bool __glDlistImageBytes(const DlImage &image, uint32_t head, uint32_t *bytes);

// Packs the image into `dest` (`bytes` from __glDlistImageBytes), padding
// and all: zeros for a null pointer. False when the unpack modes put the
// client image out of reach (GL_INVALID_VALUE recorded by the fill).
bool __glDlistPackImage(GlContext *gc, const DlImage &image, GLubyte *dest, uint32_t bytes);

// The execute body of glPolygonStipple: the 32 x 32 pattern, packed,
// into the context; refused between glBegin and glEnd.
void __gllei_PolygonStipple(GlContext *gc, const GLubyte *stipple);

// Records op `code`: `head` argument bytes written by head(data, bytes),
// then the packed image. Nothing is recorded when the op cannot be had or
// the image cannot be read; the error is then recorded.
template <typename Head>
void __glDlistRecordImage(GlContext *gc, int16_t code, GlDlistExecProc execute, uint32_t head,
                          const DlImage &image, Head fillHead) {
  uint32_t bytes;
  if (!__glDlistImageBytes(image, head, &bytes)) return;
  GlDlistOp *op = __glDlistAllocOp2(gc, head + bytes);
  if (op == nullptr) return;
  op->opcode = code;
  GLubyte *data = reinterpret_cast<GLubyte *>(op->data);
  // An op never appended goes with the arena, like every other.
  if (!__glDlistPackImage(gc, image, data + head, bytes)) return;
  fillHead(data, bytes);
  __glDlistAppendOp(gc, op, execute);
}

// The head of an op whose argument words end in S: a writer for
// __glDlistRecordImage that stores the words, then S.
template <typename... A>
auto DlImageHead(A... a) {
  static_assert(((sizeof(A) == 4) && ...), "one word each");
  return [=](GLubyte *data, uint32_t bytes) {
    size_t at = 0;
    ((DlPut(data + at, a), at += 4), ...);
    DlPut(data + at, bytes);
  };
}

// Past an op of `head` bytes whose last head word is S and the image S.
inline const GLubyte *__glDlistPastImage(const GLubyte *data, uint32_t head) {
  return data + head + DlWord(data + head - 4);
}
