// The colour-table entries: tables defined from client memory or the frame
// buffer, runs of entries replaced, tables read back and described.
#include <string.h>

#include "core/context.h"
#include "core/gl_entries.h"
#include "core/s_entry.h"
#include "core/s_error.h"
#include "pixels/px_color_table.h"
#include "pixels/px_image_paths.h"
#include "pixels/px_packer.h"
#include "pixels/px_read_pixels.h"
#include "pixels/px_span_procs.h"
#include "pixels/px_texture.h"

namespace {

// The calling thread's context outside glBegin/glEnd, validated when
// validation is pending (the chains read the picked span procedures and
// the pixel-transfer summary).
GlContext *ContextValidated() {
  GlContext *gc = __glContextOutsideBegin();
  if (gc != nullptr && gc->beginMode == __GL_VALIDATE_PENDING) {
    gc->procs.validate(gc);
    gc->beginMode = __GL_NOT_IN_BEGIN;
  }
  return gc;
}

// Records a check's error; true when there was one.
bool Refused(GLenum error) {
  if (error == 0) return false;
  __glSetError(error);
  return true;
}

// Reads the frame-buffer row `info` describes into the table, the read
// buffer locked around it (a buffer may have no address while unlocked).
void ReadIntoTable(GlContext *gc, GlTextureObject *tex, GlPixelSpanInfo *info) {
  const uint32_t mask = gc->readBufferMask;
  gc->lockBuffers(gc, mask);
  gc->procs.pickReadImage(gc, tex, info);
  gc->unlockBuffers(gc, mask);
}

}  // namespace

void GLENTRY __glim_ColorTableEXT(GLenum target, GLenum internalformat, GLsizei width,
                                  GLenum format, GLenum type, const GLvoid *table) {
  GlContext *gc = ContextValidated();
  if (gc == nullptr) return;
  if (Refused(__glCheckColorTableDefinition(gc, target, &internalformat, width, format, type)))
    return;
  gc->procs.colorTableEXT(gc, target, internalformat, width, format, type, table, 0);
  __glMarkColorTableChanged(gc);
}

void GLENTRY __glim_ColorSubTableEXT(GLenum target, GLsizei start, GLsizei count, GLenum format,
                                     GLenum type, const GLvoid *data) {
  GlContext *gc = ContextValidated();
  if (gc == nullptr) return;
  if (Refused(__glCheckColorSubTableArgs(gc, target, start, count, format, type))) return;
  gc->procs.colorSubTableEXT(gc, target, start, count, format, type, data, 0);
  __glMarkColorTableChanged(gc);
}

void GLENTRY __glim_CopyColorTableEXT(GLenum target, GLenum internalformat, GLint x, GLint y,
                                      GLsizei width) {
  GlContext *gc = ContextValidated();
  if (gc == nullptr) return;
  gc->procs.waitIdle(gc);
  GLenum error = __glCheckColorTableArgs(gc, target, internalformat, width, GL_RGBA, GL_FLOAT);
  if (error == 0 && __glIsProxyTableTarget(target)) error = GL_INVALID_ENUM;
  if (Refused(error)) return;
  GlTextureObject *tex = __glLookUpTexture(gc, target);
  if (tex == nullptr) return;
  GlColorTable *t = &tex->colorTable;
  GlPixelSpanInfo info;
  memset(&info, 0, sizeof info);
  GlSpanStorage storage;
  if (!__glReserveSpanStorage(gc, &info, &storage, width)) return;
  if (!__glDefineColorTable(gc, t, target, internalformat, width)) {
    __glReleaseSpanStorage(gc, &info);
    return;
  }
  // Redefined, whatever the read finds: the texture pickers read the
  // table's base format.
  __glMarkColorTableChanged(gc);
  __glInitReadImageSrcInfo(gc, &info, x, y, width, 1);
  __glInitColorTableStore(t, &info);
  // The clip first: what it cuts on the left moves the first entry
  // written, which the packer then takes into account.
  if (__glClipReadPixels(gc, &info) && info.width > 0 && __glInitUnpacker(gc, &info) &&
      __glInitPacker(gc, &info)) {
    ReadIntoTable(gc, tex, &info);
  }
  __glReleaseSpanStorage(gc, &info);
}

void GLENTRY __glim_GetColorTableEXT(GLenum target, GLenum format, GLenum type, GLvoid *table) {
  GlContext *gc = ContextValidated();
  if (gc == nullptr) return;
  if (__glCheckColorTableArgs(gc, target, GL_RGB, 0, format, type) != 0 ||
      __glIsProxyTableTarget(target)) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  GlTextureObject *tex = __glLookUpTexture(gc, target);
  if (tex == nullptr || table == nullptr) return;
  GlColorTable *t = &tex->colorTable;
  if (t->width == 0 || t->table == nullptr) return;
  GlPixelSpanInfo info;
  memset(&info, 0, sizeof info);
  // The entries as they are kept: dense unsigned bytes of the base format.
  __glInitMemGet(gc, &info, t->width, 1, t->baseFormat, t->table);
  info.srcType = t->type;
  info.srcAlignment = 1;
  __glInitMemPack(gc, &info, t->width, 1, 0, format, type, table);
  if (!__glInitUnpacker(gc, &info) || !__glInitPacker(gc, &info)) return;
  info.zeroFillAlpha = 1;
  info.applyScale = 0;
  GlSpanStorage storage;
  if (!__glReserveSpanStorage(gc, &info, &storage, t->width)) return;
  gc->procs.pickCopyImage(gc, &info, 0);
  __glReleaseSpanStorage(gc, &info);
}

const GLint *__glColorTableModifiers(GlContext *gc, GLenum target, GLenum pname) {
  GlTextureObject *tex = __glLookUpTexture(gc, target);
  if (tex == nullptr) return nullptr;
  const GlColorTable &t = tex->colorTable;
  switch (pname) {
    case GL_COLOR_TABLE_FORMAT_EXT:
      return reinterpret_cast<const GLint *>(&t.internalFormat);
    case GL_COLOR_TABLE_WIDTH_EXT: return &t.width;
    case GL_COLOR_TABLE_RED_SIZE_EXT: return &t.redSize;
    case GL_COLOR_TABLE_GREEN_SIZE_EXT: return &t.greenSize;
    case GL_COLOR_TABLE_BLUE_SIZE_EXT: return &t.blueSize;
    case GL_COLOR_TABLE_ALPHA_SIZE_EXT: return &t.alphaSize;
    case GL_COLOR_TABLE_LUMINANCE_SIZE_EXT: return &t.luminanceSize;
    case GL_COLOR_TABLE_INTENSITY_SIZE_EXT: return &t.intensitySize;
    default: return nullptr;
  }
}

void __glGetColorTableParameterv(GlContext *gc, GLenum target, GLenum pname, GLint *ints,
                                 GLfloat *floats) {
  const GLint *field = __glColorTableModifiers(gc, target, pname);
  if (field == nullptr) {
    __glSetError(GL_INVALID_ENUM);
    return;
  }
  if (ints != nullptr) *ints = *field;
  if (floats != nullptr) *floats = GLfloat(*field);
}

// Neither query looks at glBegin/glEnd.
void GLENTRY __glim_GetColorTableParameterivEXT(GLenum target, GLenum pname, GLint *params) {
  __glGetColorTableParameterv(__glGetTLSCXValue(), target, pname, params, nullptr);
}

void GLENTRY __glim_GetColorTableParameterfvEXT(GLenum target, GLenum pname, GLfloat *params) {
  __glGetColorTableParameterv(__glGetTLSCXValue(), target, pname, nullptr, params);
}
