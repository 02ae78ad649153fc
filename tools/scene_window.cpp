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

// Bytes kept before a buffer's first and after its last pixel, as every
// buffer kind keeps them: the MMX span body reads and writes back whole
// groups of depth elements that may reach a little past either end.
constexpr uint32_t kSlack = 16;

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
  uint8_t *block = static_cast<uint8_t *>(calloc(1, buffer->size + 2 * kSlack));
  buffer->base = block ? block + kSlack : nullptr;
  return buffer->base != nullptr;
}

void FreeBuffers(SceneWindow *window) {
  GlDrawable *d = &window->drawable;
  if (d->freePrivate) d->freePrivate(d);
  GlDrawableBuffer *buffers[] = {&d->front, &d->back, &d->depth, &d->stencil};
  for (GlDrawableBuffer *b : buffers)
    if (b->base) free(b->base - kSlack);
  if (d->mutex) __wglDestroyDrawableMutex(d->mutex);
  memset(window, 0, sizeof *window);
}

// Bits a pixel takes and its channel masks (the index bits in red).
struct ColorLayout {
  uint32_t bits, bytes, masks[3], channelBits[3];
  bool rgba;
};

const ColorLayout kLayouts[] = {
    {16, 2, {0xF800, 0x07E0, 0x001F}, {5, 6, 5}, true},
    {8, 1, {0xE0, 0x1C, 0x03}, {3, 3, 2}, true},
    {32, 4, {0xFF0000, 0xFF00, 0xFF}, {8, 8, 8}, true},
    {8, 1, {0, 0, 0}, {8, 0, 0}, false},
    {16, 2, {0x7C00, 0x03E0, 0x001F}, {5, 5, 5}, true},
};
static_assert(sizeof kLayouts / sizeof kLayouts[0] == kSceneColorCount, "a layout per SceneColor");

bool Open(SceneWindow *window, int32_t width, int32_t height, SceneColor color,
          uint32_t depthBits, uint32_t stencilBits, bool topDown) {
  if (width <= 0 || height <= 0 || depthBits == 0 || depthBits > 32 || stencilBits > 8 ||
      unsigned(color) >= kSceneColorCount)
    return false;
  const ColorLayout &c = kLayouts[color];
  const uint32_t depthBytes = depthBits <= 16 ? 2 : 4;
  memset(window, 0, sizeof *window);
  GlModes *m = &window->modes;
  m->rgbMode = c.rgba, m->doubleBufferMode = 1;
  m->haveDepthBuffer = 1, m->haveStencilBuffer = stencilBits != 0;
  if (c.rgba) {
    m->redBits = c.channelBits[0], m->greenBits = c.channelBits[1], m->blueBits = c.channelBits[2];
    m->redMask = c.masks[0], m->greenMask = c.masks[1], m->blueMask = c.masks[2];
    m->colorBits = m->indexBits = c.bits;
  } else {
    m->colorBits = c.bits;
    m->indexBits = c.channelBits[0];
  }
  m->depthBits = depthBits, m->stencilBits = stencilBits;

  GlDrawable *d = &window->drawable;
  d->modes = m;
  d->width = width, d->height = height;
  d->yInverted = topDown ? 1 : 0;
  window->visible = {0, 0, width, height};
  d->clipRects = &window->visible, d->clipCount = 1;
  d->mutex = __wglCreateDrawableMutex();
  d->lock = __wglGLLockDrawableMutex;
  d->unlock = __wglGLUnlockDrawableMutex;
  d->setCoreClipRect = __wglSetCoreClipRect;
  d->malloc = malloc, d->calloc = calloc, d->realloc = realloc, d->free = free;
  if (!d->mutex || !Attach(&d->front, width, height, c.bits, c.bytes) ||
      !Attach(&d->back, width, height, c.bits, c.bytes) ||
      !Attach(&d->depth, width, height, depthBits, depthBytes) ||
      (stencilBits && !Attach(&d->stencil, width, height, 8, 1))) {
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

}  // namespace

bool SceneWindowOpenColor(SceneWindow *window, int32_t width, int32_t height, SceneColor color,
                          uint32_t depthBits) {
  return Open(window, width, height, color, depthBits, 8, false);
}

bool SceneWindowOpenDepth(SceneWindow *window, int32_t width, int32_t height, uint32_t depthBits) {
  return SceneWindowOpenFormat(window, width, height, depthBits, 8, false);
}

bool SceneWindowOpenFormat(SceneWindow *window, int32_t width, int32_t height,
                           uint32_t depthBits, uint32_t stencilBits, bool topDown) {
  return Open(window, width, height, kSceneRgb565, depthBits, stencilBits, topDown);
}

void SceneWindowClose(SceneWindow *window) {
  if (window->gc) {
    window->gc->exports.loseCurrent(window->gc);
    window->gc->exports.destroyContext(window->gc);
  }
  gOpen = nullptr;
  FreeBuffers(window);
}

namespace {

void Read565(const SceneWindow *window, const GlDrawableBuffer *buffer, uint16_t *pixels) {
  const int32_t width = int32_t(buffer->width), height = int32_t(buffer->height);
  for (int32_t row = 0; row < height; row++) {
    const int32_t memoryRow = window->drawable.yInverted ? row : height - 1 - row;
    const uint8_t *src = buffer->base + memoryRow * buffer->pitchBytes;
    for (int32_t x = 0; x < width; x++)
      *pixels++ = uint16_t(src[2 * x] | src[2 * x + 1] << 8);
  }
}

}  // namespace

void SceneWindowRead565(const SceneWindow *window, uint16_t *pixels) {
  Read565(window, &window->drawable.back, pixels);
}

void SceneWindowReadFront565(const SceneWindow *window, uint16_t *pixels) {
  Read565(window, &window->drawable.front, pixels);
}
