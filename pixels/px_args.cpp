// The argument checks of the pixel-rectangle entries: size, then format,
// then type, the first error recorded.
#include "pixels/px_args.h"

#include "core/context.h"
#include "core/s_error.h"
#include "pixels/px_enums.h"

namespace {

// Texture images take bitmaps of colour indices only.
enum class Direction { kDraw, kRead, kTexture };

bool IsColorFormat(GLenum format) {
  return (format >= GL_RED && format <= GL_LUMINANCE_ALPHA) || format == GL_ABGR_EXT ||
         format == GL_BGR_EXT || format == GL_BGRA_EXT;
}

// The error the format raises in this context, or GL_NO_ERROR.
GLenum FormatError(const GlContext *gc, GLenum format, Direction direction) {
  const bool reading = direction == Direction::kRead;
  switch (format) {
    case GL_COLOR_INDEX:
      return reading && gc->modes.rgbMode ? GL_INVALID_OPERATION : GL_NO_ERROR;
    case GL_STENCIL_INDEX:
      return gc->modes.haveStencilBuffer ? GL_NO_ERROR : GL_INVALID_OPERATION;
    case GL_DEPTH_COMPONENT:
      return reading && !gc->modes.haveDepthBuffer ? GL_INVALID_OPERATION : GL_NO_ERROR;
    default:
      if (!IsColorFormat(format)) return GL_INVALID_ENUM;
      return !reading && gc->modes.colorIndexMode ? GL_INVALID_OPERATION : GL_NO_ERROR;
  }
}

// The error the type raises with an accepted format, or GL_NO_ERROR.
GLenum TypeError(GLenum format, GLenum type, Direction direction) {
  if (type >= GL_BYTE && type <= GL_FLOAT) return GL_NO_ERROR;
  switch (type) {
    case GL_BITMAP:
      if (format == GL_COLOR_INDEX) return GL_NO_ERROR;
      if (format == GL_STENCIL_INDEX && direction != Direction::kTexture) return GL_NO_ERROR;
      return direction == Direction::kRead ? GL_INVALID_OPERATION : GL_INVALID_ENUM;
    case GL_UNSIGNED_BYTE_3_3_2_EXT:
      return format == GL_RGB || format == GL_BGR_EXT ? GL_NO_ERROR : GL_INVALID_OPERATION;
    case GL_UNSIGNED_SHORT_4_4_4_4_EXT:
    case GL_UNSIGNED_SHORT_5_5_5_1_EXT:
    case GL_UNSIGNED_INT_8_8_8_8_EXT:
    case GL_UNSIGNED_INT_10_10_10_2_EXT:
      return format == GL_RGBA || format == GL_ABGR_EXT || format == GL_BGRA_EXT
                 ? GL_NO_ERROR
                 : GL_INVALID_OPERATION;
    default:
      return GL_INVALID_ENUM;
  }
}

GLbool8 Check(GlContext *gc, GLsizei width, GLsizei height, GLenum format, GLenum type,
              Direction direction) {
  GLenum error = GL_NO_ERROR;
  if (width < 0 || height < 0)
    error = GL_INVALID_VALUE;
  else if ((error = FormatError(gc, format, direction)) == GL_NO_ERROR)
    error = TypeError(format, type, direction);
  if (error == GL_NO_ERROR) return 1;
  __glSetError(error);
  return 0;
}

}  // namespace

GLbool8 __glCheckDrawPixelArgs(GlContext *gc, GLsizei width, GLsizei height, GLenum format,
                               GLenum type) {
  return Check(gc, width, height, format, type, Direction::kDraw);
}

GLbool8 __glCheckReadPixelArgs(GlContext *gc, GLsizei width, GLsizei height, GLenum format,
                               GLenum type) {
  return Check(gc, width, height, format, type, Direction::kRead);
}

GLbool8 __glCheckGetTexImageArgs(GlContext *gc, GLenum format, GLenum type) {
  GLenum error = IsColorFormat(format) ? TypeError(format, type, Direction::kDraw)
                                       : GLenum(GL_INVALID_ENUM);
  if (error == GL_NO_ERROR) return 1;
  __glSetError(error);
  return 0;
}

GLenum __glTexImageFormatError(GLenum format, GLenum type) {
  const GLenum error = TypeError(format, type, Direction::kTexture);
  if (error != GL_NO_ERROR) return error;
  return format == GL_COLOR_INDEX || IsColorFormat(format) ? GL_NO_ERROR : GLenum(GL_INVALID_ENUM);
}
