// glPixelStore: the pack and unpack modes.
#include "core/context.h"
#include "core/gl_entries.h"
#include "core/s_entry.h"
#include "core/s_error.h"
#include "pixels/px_enums.h"
#include "pixels/px_round.h"

namespace {

bool IsFlag(GLenum pname) {
  return pname == GL_UNPACK_SWAP_BYTES || pname == GL_UNPACK_LSB_FIRST ||
         pname == GL_PACK_SWAP_BYTES || pname == GL_PACK_LSB_FIRST;
}

bool IsStoreName(GLenum pname) {
  return (pname >= GL_UNPACK_SWAP_BYTES && pname <= GL_UNPACK_ALIGNMENT) ||
         (pname >= GL_PACK_SWAP_BYTES && pname <= GL_PACK_ALIGNMENT);
}

}  // namespace

void GLENTRY __glim_PixelStorei(GLenum pname, GLint param) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  if (!IsStoreName(pname)) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  GlPixelStoreModes &m =
      pname >= GL_PACK_SWAP_BYTES ? gc->pixel.packModes : gc->pixel.unpackModes;
  switch (pname & 0xF) {
    case 0: m.swapBytes = param != 0; break;
    case 1: m.lsbFirst = param != 0; break;
    case 5:
      if (param != 1 && param != 2 && param != 4 && param != 8) {
        __glSetError(GL_INVALID_VALUE);
        return;
      }
      m.alignment = param;
      break;
    default: {
      if (param < 0) {
        __glSetError(GL_INVALID_VALUE);
        return;
      }
      GLint &field = (pname & 0xF) == 2 ? m.rowLength
                     : (pname & 0xF) == 3 ? m.skipRows
                                          : m.skipPixels;
      field = param;
      break;
    }
  }
  __glDelayValidate(gc, __GL_DIRTY_PIXEL);
}

void GLENTRY __glim_PixelStoref(GLenum pname, GLfloat param) {
  GLint value;
  if (IsFlag(pname))
    value = param != 0.0f;
  else if (IsStoreName(pname))
    value = __glPixelRound(param);
  else
    value = __glTruncateToInt(param);  // refused as an unknown name
  __glim_PixelStorei(pname, value);
}
