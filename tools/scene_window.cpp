#include "tools/scene_window.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "core/s_context.h"

namespace {

// The core asks for the drawable through its imports, which carry no window
// of their own: the tool has one window open at a time.
SceneWindow *gOpen = nullptr;

void *Malloc(GlContext *, size_t size) { return size ? calloc(1, size) : nullptr; }
void *Calloc(GlContext *, size_t count, size_t size) {
  return count && size ? calloc(count, size) : nullptr;
}
void *Realloc(GlContext *, void *block, size_t size) { return realloc(block, size); }
void Free(GlContext *, void *block) { free(block); }
void Report(GlContext *, const char *text) { fprintf(stderr, "vlx_scenes: %s\n", text); }

GlDrawable *OpenDrawable(GlContext *) { return gOpen ? &gOpen->drawable : nullptr; }

int OpenSize(GlContext *, int32_t *x, int32_t *y, uint32_t *width, uint32_t *height) {
  const GlDrawable *d = gOpen ? &gOpen->drawable : nullptr;
  *x = 0, *y = 0;
  *width = d ? uint32_t(d->width) : 0;
  *height = d ? uint32_t(d->height) : 0;
  return d != nullptr;
}

const GlImports kImports = {Malloc, Calloc, Realloc, Free, Report,
                            Report, OpenDrawable, OpenSize, nullptr};

// Memory for one buffer, rows bottom-up; false when it cannot be had.
bool Attach(GlDrawableBuffer *buffer, int32_t width, int32_t height, uint32_t bits,
            uint32_t elementSize) {
  buffer->width = uint32_t(width);
  buffer->height = uint32_t(height);
  buffer->depth = bits;
  buffer->elementSize = elementSize;
  buffer->elementSizeLog2 = elementSize == 4 ? 2 : elementSize == 2 ? 1 : 0;
  buffer->pitch = width;
  buffer->pitchBytes = width * int32_t(elementSize);
  buffer->size = uint32_t(buffer->pitchBytes * height);
  buffer->base = static_cast<uint8_t *>(calloc(1, buffer->size));
  return buffer->base != nullptr;
}

void FreeBuffers(SceneWindow *window) {
  GlDrawable *d = &window->drawable;
  if (d->freePrivate) d->freePrivate(d);
  GlDrawableBuffer *buffers[] = {&d->front, &d->back, &d->depth, &d->stencil};
  for (GlDrawableBuffer *b : buffers) free(b->base);
  if (d->mutex) __wglDestroyDrawableMutex(d->mutex);
  memset(window, 0, sizeof *window);
}

}  // namespace

bool SceneWindowOpen(SceneWindow *window, int32_t width, int32_t height) {
  return SceneWindowOpenDepth(window, width, height, 24);
}

bool SceneWindowOpenDepth(SceneWindow *window, int32_t width, int32_t height, uint32_t depthBits) {
  const uint32_t depthBytes = depthBits <= 16 ? 2 : 4;
  memset(window, 0, sizeof *window);
  GlModes *m = &window->modes;
  m->rgbMode = 1, m->doubleBufferMode = 1;
  m->haveDepthBuffer = 1, m->haveStencilBuffer = 1;
  m->redBits = 5, m->greenBits = 6, m->blueBits = 5;
  m->redMask = 0xF800, m->greenMask = 0x07E0, m->blueMask = 0x001F;
  m->colorBits = m->indexBits = 16;
  m->depthBits = depthBits, m->stencilBits = 8;

  GlDrawable *d = &window->drawable;
  d->modes = m;
  d->width = width, d->height = height;
  d->mutex = __wglCreateDrawableMutex();
  d->lock = __wglGLLockDrawableMutex;
  d->unlock = __wglGLUnlockDrawableMutex;
  d->setCoreClipRect = __wglSetCoreClipRect;
  d->malloc = malloc, d->calloc = calloc, d->realloc = realloc, d->free = free;
  if (!d->mutex || !Attach(&d->front, width, height, 16, 2) ||
      !Attach(&d->back, width, height, 16, 2) ||
      !Attach(&d->depth, width, height, depthBits, depthBytes) ||
      !Attach(&d->stencil, width, height, 8, 1)) {
    FreeBuffers(window);
    return false;
  }

  gOpen = window;
  window->gc = __glCoreCreateContext(&kImports, m);
  if (!window->gc || !window->gc->exports.makeCurrent(window->gc)) {
    if (window->gc) window->gc->exports.destroyContext(window->gc);
    gOpen = nullptr;
    FreeBuffers(window);
    return false;
  }
  return true;
}

void SceneWindowClose(SceneWindow *window) {
  if (window->gc) {
    window->gc->exports.loseCurrent(window->gc);
    window->gc->exports.destroyContext(window->gc);
  }
  gOpen = nullptr;
  FreeBuffers(window);
}

void SceneWindowReadRgb(const SceneWindow *window, uint8_t *rgb) {
  const GlDrawableBuffer *back = &window->drawable.back;
  const int32_t width = int32_t(back->width), height = int32_t(back->height);
  for (int32_t row = 0; row < height; row++) {
    // Memory rows run bottom-up; the image's top-down.
    const uint8_t *src = back->base + (height - 1 - row) * back->pitchBytes;
    for (int32_t x = 0; x < width; x++, rgb += 3) {
      const uint32_t v = uint32_t(src[2 * x] | src[2 * x + 1] << 8);
      const uint32_t r = v >> 11, g = (v >> 5) & 0x3F, b = v & 0x1F;
      rgb[0] = uint8_t(r << 3 | r >> 2);
      rgb[1] = uint8_t(g << 2 | g >> 4);
      rgb[2] = uint8_t(b << 3 | b >> 2);
    }
  }
}
