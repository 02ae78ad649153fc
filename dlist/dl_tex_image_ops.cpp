// The list ops of glTexImage1D/2D and glTexSubImage1D/2D: the texels
// packed into the op at compile time and defined through the texture
// bodies, which read them as packed, when the list runs. Proxies are
// defined at once and never recorded.
#include "core/context.h"
#include "core/current.h"
#include "core/gl_entries.h"
#include "dlist/dl_error_ops.h"
#include "dlist/dl_image.h"
#include "dlist/dl_op_layout.h"
#include "dlist/dl_opcodes.h"
#include "dlist/dl_ops.h"
#include "pixels/px_tex_image.h"

namespace {

constexpr uint32_t kTexImage1DHead = 32, kTexImage2DHead = 36;
constexpr uint32_t kTexSubImage1DHead = 28, kTexSubImage2DHead = 36;

// Checks both texture-image commands make: border and sizes, then format
// and type. False when an error op was compiled or an error raised.
bool TexImageArgsOk(GlContext *gc, GLint border, GLsizei width, GLsizei height, GLenum format,
                    GLenum type) {
  if (border < 0 || border > 1 || width < 0 || height < 0) {
    __gllc_InvalidValue(gc);
    return false;
  }
  return __glDlistImageFormatOk(gc, format, type, true);
}

bool TexSubImageArgsOk(GlContext *gc, GLsizei width, GLsizei height, GLenum format,
                       GLenum type) {
  if (width < 0 || height < 0) {
    __gllc_InvalidValue(gc);
    return false;
  }
  return __glDlistImageFormatOk(gc, format, type, true);
}

const GLubyte *Texels(const GLubyte *data, uint32_t head) { return data + head; }

}  // namespace

void GLENTRY __gllc_TexImage1D(GLenum target, GLint level, GLint components, GLsizei width,
                               GLint border, GLenum format, GLenum type, const GLvoid *pixels) {
  GlContext *gc = __glGetTLSCXValue();
  if (target == GL_PROXY_TEXTURE_1D) {
    gc->dispatchState->TexImage1D(target, level, components, width, border, format, type, pixels);
    return;
  }
  if (!TexImageArgsOk(gc, border, width, 0, format, type)) return;
  __glDlistRecordImage(gc, GL_DLOP_TexImage1D, __glle_TexImage1D, kTexImage1DHead,
                       {width, 1, format, type, pixels},
                       DlImageHead(target, level, components, width, border, format, type));
}

void GLENTRY __gllc_TexImage2D(GLenum target, GLint level, GLint components, GLsizei width,
                               GLsizei height, GLint border, GLenum format, GLenum type,
                               const GLvoid *pixels) {
  GlContext *gc = __glGetTLSCXValue();
  if (target == GL_PROXY_TEXTURE_2D) {
    gc->dispatchState->TexImage2D(target, level, components, width, height, border, format,
                                  type, pixels);
    return;
  }
  if (!TexImageArgsOk(gc, border, width, height, format, type)) return;
  __glDlistRecordImage(gc, GL_DLOP_TexImage2D, __glle_TexImage2D, kTexImage2DHead,
                       {width, height, format, type, pixels},
                       DlImageHead(target, level, components, width, height, border, format, type));
}

void GLENTRY __gllc_TexSubImage1D(GLenum target, GLint level, GLint xoffset, GLsizei width,
                                  GLenum format, GLenum type, const GLvoid *pixels) {
  GlContext *gc = __glGetTLSCXValue();
  if (!TexSubImageArgsOk(gc, width, 0, format, type)) return;
  __glDlistRecordImage(gc, GL_DLOP_TexSubImage1D, __glle_TexSubImage1D, kTexSubImage1DHead,
                       {width, 1, format, type, pixels},
                       DlImageHead(target, level, xoffset, width, format, type));
}

void GLENTRY __gllc_TexSubImage2D(GLenum target, GLint level, GLint xoffset, GLint yoffset,
                                  GLsizei width, GLsizei height, GLenum format, GLenum type,
                                  const GLvoid *pixels) {
  GlContext *gc = __glGetTLSCXValue();
  if (!TexSubImageArgsOk(gc, width, height, format, type)) return;
  __glDlistRecordImage(gc, GL_DLOP_TexSubImage2D, __glle_TexSubImage2D, kTexSubImage2DHead,
                       {width, height, format, type, pixels},
                       DlImageHead(target, level, xoffset, yoffset, width, height, format, type));
}

const GLubyte *__glle_TexImage1D(const GLubyte *data) {
  auto w = [data](int i) { return DlWord(data + 4 * i); };
  __gllei_TexImage1D(__glGetTLSCXValue(), w(0), GLint(w(1)), GLint(w(2)), GLsizei(w(3)),
                     GLint(w(4)), w(5), w(6), Texels(data, kTexImage1DHead));
  return __glDlistPastImage(data, kTexImage1DHead);
}

const GLubyte *__glle_TexImage2D(const GLubyte *data) {
  auto w = [data](int i) { return DlWord(data + 4 * i); };
  __gllei_TexImage2D(__glGetTLSCXValue(), w(0), GLint(w(1)), GLint(w(2)), GLsizei(w(3)),
                     GLsizei(w(4)), GLint(w(5)), w(6), w(7), Texels(data, kTexImage2DHead));
  return __glDlistPastImage(data, kTexImage2DHead);
}

const GLubyte *__glle_TexSubImage1D(const GLubyte *data) {
  auto w = [data](int i) { return DlWord(data + 4 * i); };
  __gllei_TexSubImage1D(__glGetTLSCXValue(), w(0), GLint(w(1)), GLint(w(2)), GLsizei(w(3)),
                        w(4), w(5), Texels(data, kTexSubImage1DHead));
  return __glDlistPastImage(data, kTexSubImage1DHead);
}

const GLubyte *__glle_TexSubImage2D(const GLubyte *data) {
  auto w = [data](int i) { return DlWord(data + 4 * i); };
  __gllei_TexSubImage2D(__glGetTLSCXValue(), w(0), GLint(w(1)), GLint(w(2)), GLint(w(3)),
                        GLsizei(w(4)), GLsizei(w(5)), w(6), w(7),
                        Texels(data, kTexSubImage2DHead));
  return __glDlistPastImage(data, kTexSubImage2DHead);
}
