// Defining a level of a texture object: its description from the storage
// format, its image in memory, and the proxy form that only describes.
#include <string.h>

#include "core/context.h"
#include "core/device.h"
#include "core/s_error.h"
#include "pixels/px_texformat.h"
#include "pixels/px_texture.h"
#include "pixels/px_texture_manager.h"

namespace {

// floor(log2 n), 0 for n = 0.
int32_t Log2(int32_t n) {
  int32_t log = 0;
  while (n > 1) {
    n >>= 1;
    ++log;
  }
  return log;
}

const GlTexFormat *LookupFormat(GLenum internalFormat, GLenum *base) {
  if (__glDevice != nullptr && __glDevice->lookupTextureFormat != nullptr) {
    return __glDevice->lookupTextureFormat(internalFormat, base);
  }
  return __glLookupTextureFormat(internalFormat, base);
}

// Whether the level's interior, scaled up to level 0, fits the maximum
// size. The maximum is scaled down instead, so that no size can wrap.
bool Fits(const GlContext *gc, GLint level, GLint width, GLint height, GLint border) {
  if (level < 0 || level >= gc->constants.maxMipMapLevel || level > 30) return false;
  if (border < 0 || border > 1) return false;
  int32_t limit = gc->constants.maxTextureSize >> level;
  int32_t w = width - 2 * border, h = height - 2 * border;
  return w >= 0 && h >= 0 && w <= limit && h <= limit;
}

void Describe(GlTextureLevel *l, const GlTexFormat *format, GLenum internalFormat, GLenum base,
              GLint width, GLint height, GLint depth, GLint border) {
  l->width = width;
  l->height = height;
  l->depth = depth;
  l->area = width * height;
  l->width2 = width - 2 * border;
  l->height2 = height - 2 * border;
  l->depth2 = depth - 2 * border;
  l->width2f = GLfloat(l->width2);
  l->height2f = GLfloat(l->height2);
  l->depth2f = GLfloat(l->depth2);
  l->widthLog2 = Log2(l->width2);
  l->heightLog2 = Log2(l->height2);
  l->depthLog2 = Log2(l->depth2);
  l->border = border;
  l->requestedFormat = internalFormat;
  l->baseFormat = base;
  l->texFormatId = format->id;
  l->texFormat = format;
  l->redBits = format->redBits;
  l->greenBits = format->greenBits;
  l->blueBits = format->blueBits;
  l->alphaBits = format->alphaBits;
  l->luminanceBits = format->luminanceBits;
  l->intensityBits = format->intensityBits;
  l->extract = border ? format->extractWithBorder : format->extract;
}

}  // namespace

uint8_t *__glTextureCreateLevel(GlContext *gc, GlTextureObject *tex, GLint level,
                                GLenum internalFormat, GLint width, GLint height, GLint depth,
                                GLint border, GLint dim) {
  if (!Fits(gc, level, width, height, border) || depth < 0) {
    __glSetError(GL_INVALID_VALUE);
    return nullptr;
  }
  GLenum base = 0;
  const GlTexFormat *format = LookupFormat(internalFormat, &base);
  GlTextureLevel *l = tex->levels[level];
  // Fits keeps this product within the maximum size squared.
  size_t size = size_t((format->bitsPerTexel + 7) / 8) * size_t(width) * size_t(height) + 1;
  auto *image = static_cast<uint8_t *>(gc->imports.realloc(gc, l->image, size));
  if (image == nullptr) {
    // The old image is still ours: drop it and leave the level empty.
    __glTextureDeleteLevel(gc, tex, level);
    __glEmptyTextureLevel(l);
    __glSetError(GL_OUT_OF_MEMORY);
    return nullptr;
  }
  l->image = image;
  // The cooked copy shows the old texels.
  gc->imports.free(gc, l->auxImage);
  l->auxImage = nullptr;
  Describe(l, format, internalFormat, base, width, height, depth, border);
  int32_t largest = l->width2 > l->height2 ? l->width2 : l->height2;
  tex->chainLength = largest > 0 ? Log2(largest << level) + 1 : 0;
  tex->texFormat = format;
  if (level == 0) {
    int32_t m = l->widthLog2 > l->heightLog2 ? l->widthLog2 : l->heightLog2;
    tex->maxLog2 = m > l->depthLog2 ? m : l->depthLog2;
  }
  return image;
}

uint8_t *__glTextureCreateProxyLevel(GlContext *gc, GlTextureObject *tex, GLint level,
                                     GLenum internalFormat, GLint width, GLint height,
                                     GLint depth, GLint border, GLint dim) {
  if (level < 0 || level >= gc->constants.maxMipMapLevel) return nullptr;
  GlTextureLevel *l = tex->levels[level];
  GLenum base = 0;
  const GlTexFormat *format = LookupFormat(internalFormat, &base);
  GLubyte *image = l->image, *aux = l->auxImage;
  *l = GlTextureLevel{};
  l->image = image;
  l->auxImage = aux;
  if (Fits(gc, level, width, height, border) && depth >= 0) {
    Describe(l, format, internalFormat, base, width, height, depth, border);
  }
  l->extract = __glExtractTexelNone;
  return nullptr;
}

void __glTextureDeleteLevel(GlContext *gc, GlTextureObject *tex, GLint level) {
  GlTextureLevel *l = tex->levels[level];
  gc->imports.free(gc, l->image);
  gc->imports.free(gc, l->auxImage);
  l->image = nullptr;
  l->auxImage = nullptr;
}

void __glCopyTexImage(GlContext *gc, GlPixelSpanInfo *info, GlTextureObject *tex, GLint level) {
  gc->procs.pickCopyImage(gc, info, 1);
  tex->removeResident(gc, tex);
}

void __glReadTexImage(GlContext *gc, GlPixelSpanInfo *info, GlTextureObject *tex, GLint level) {
  uint32_t mask = gc->readBufferMask;
  gc->lockBuffers(gc, mask);
  gc->procs.pickReadImage(gc, tex, info);
  gc->unlockBuffers(gc, mask);
  tex->removeResident(gc, tex);
}
