// What the colour-table commands accept: the internal formats with what
// each loads into a table, and the argument checks in their fixed order.
#include "core/context.h"
#include "pixels/px_color_table.h"
#include "pixels/px_enums.h"
#include "pixels/px_texformat.h"
#include "pixels/px_unpack.h"

namespace {

// Sizes: red, green, blue, alpha, luminance, intensity. Every entry is
// stored as unsigned bytes, whatever size the format asks for.
constexpr GlColorTableFormat kFormats[] = {
    {GL_ALPHA, GL_ALPHA, GL_ALPHA, {0, 0, 0, 8, 0, 0}, 1},
    {GL_ALPHA4, GL_ALPHA16, GL_ALPHA, {0, 0, 0, 8, 0, 0}, 1},
    {GL_LUMINANCE, GL_LUMINANCE, GL_LUMINANCE, {0, 0, 0, 0, 8, 0}, 1},
    {GL_LUMINANCE4, GL_LUMINANCE16, GL_LUMINANCE, {0, 0, 0, 0, 8, 0}, 1},
    {GL_LUMINANCE_ALPHA, GL_LUMINANCE_ALPHA, GL_LUMINANCE_ALPHA, {0, 0, 0, 8, 8, 0}, 2},
    {GL_LUMINANCE4_ALPHA4, GL_LUMINANCE16_ALPHA16, GL_LUMINANCE_ALPHA, {0, 0, 0, 8, 8, 0}, 2},
    {GL_INTENSITY, GL_INTENSITY16, GL_INTENSITY, {0, 0, 0, 0, 0, 8}, 1},
    {GL_RGB, GL_RGB, GL_RGB, {8, 8, 8, 0, 0, 0}, 3},
    {GL_R3_G3_B2, GL_R3_G3_B2, GL_RGB, {8, 8, 8, 0, 0, 0}, 3},
    {GL_RGB4, GL_RGB16, GL_RGB, {8, 8, 8, 0, 0, 0}, 3},
    {GL_RGBA, GL_RGBA, GL_RGBA, {8, 8, 8, 8, 0, 0}, 4},
    {GL_RGBA2, GL_RGBA16, GL_RGBA, {8, 8, 8, 8, 0, 0}, 4},
};

bool IsTarget(GLenum target) {
  return target == GL_TEXTURE_1D || target == GL_TEXTURE_2D || target == GL_PROXY_TEXTURE_1D ||
         target == GL_PROXY_TEXTURE_2D;
}

bool IsFormat(GLenum format) {
  return (format >= GL_RED && format <= GL_LUMINANCE_ALPHA) || format == GL_ABGR_EXT ||
         format == GL_BGR_EXT || format == GL_BGRA_EXT;
}

bool IsType(GLenum type) { return type >= GL_BYTE && type <= GL_FLOAT; }

// The format and type steps both checks end with.
GLenum FormatAndTypeError(GLenum format, GLenum type) {
  if (!IsFormat(format)) return GL_INVALID_ENUM;
  if (!IsType(type)) return GL_INVALID_ENUM;
  return 0;
}

}  // namespace

const GlColorTableFormat *__glColorTableFormat(GLenum internalFormat) {
  for (const GlColorTableFormat &row : kFormats)
    if (internalFormat >= row.first && internalFormat <= row.last) return &row;
  return nullptr;
}

GLenum __glCheckColorTableArgs(GlContext *, GLenum target, GLenum internalFormat,
                               GLsizei width, GLenum format, GLenum type) {
  if (!IsTarget(target)) return GL_INVALID_ENUM;
  const GlColorTableFormat *row = __glColorTableFormat(internalFormat);
  if (row == nullptr) return GL_INVALID_ENUM;
  if (width < 0 || (width & (width - 1)) != 0) return GL_INVALID_VALUE;
  const int32_t element = __glBytesPerElement(type);
  if (element == 0) return GL_INVALID_ENUM;
  const int32_t group = element * __glElementsPerGroup(row->baseFormat, type);
  if (width > __GL_MAX_COLOR_TABLE_BYTES / group) return GL_TABLE_TOO_LARGE_EXT;
  return FormatAndTypeError(format, type);
}

GLenum __glCheckColorTableDefinition(GlContext *gc, GLenum target, GLenum *internalFormat,
                                     GLsizei width, GLenum format, GLenum type) {
  const GLenum error = __glCheckColorTableArgs(gc, target, *internalFormat, width, format, type);
  if (error != GL_TABLE_TOO_LARGE_EXT || !__glIsProxyTableTarget(target)) return error;
  const GLenum later = __glCheckColorTableArgs(gc, target, *internalFormat, 0, format, type);
  if (later == 0) *internalFormat = 0;
  return later;
}

GLenum __glCheckColorSubTableArgs(GlContext *, GLenum target, GLsizei start, GLsizei count,
                                  GLenum format, GLenum type) {
  if (target != GL_TEXTURE_1D && target != GL_TEXTURE_2D) return GL_INVALID_ENUM;
  if (start < 0 || count < 0) return GL_INVALID_VALUE;
  return FormatAndTypeError(format, type);
}
