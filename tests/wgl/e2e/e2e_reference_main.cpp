// The reference: the core draws the end-to-end scene into a drawable in
// plain memory, bound by hand, without the window-system layer's buffer
// kinds. It links the driver's static code, so it runs in a process of its
// own: the test process goes through the loader, which loads the driver
// library, and one process must not hold two copies of the driver.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "core/context.h"
#include "core/s_context.h"
#include "tests/wgl/e2e/e2e_reference.h"
#include "tests/wgl/e2e/e2e_scene.h"
#include "wgl/wgl_drawable.h"

namespace {

struct Reference {
  GlDrawable drawable;
  GlModes modes;
  GlRect visible;
  ReferenceRequest request;
};
Reference *gOpen = nullptr;

void *Malloc(GlContext *, size_t size) { return size ? calloc(1, size) : nullptr; }
void *Calloc(GlContext *, size_t count, size_t size) {
  return count && size ? calloc(count, size) : nullptr;
}
void *Realloc(GlContext *, void *block, size_t size) { return realloc(block, size); }
void Free(GlContext *, void *block) { free(block); }
void Report(GlContext *, const char *text) { fprintf(stderr, "reference: %s\n", text); }
GlDrawable *Drawable(GlContext *) { return gOpen ? &gOpen->drawable : nullptr; }
int Size(GlContext *, int32_t *x, int32_t *y, uint32_t *width, uint32_t *height) {
  *x = gOpen ? gOpen->request.originX : 0;
  *y = gOpen ? gOpen->request.originY : 0;
  *width = gOpen ? uint32_t(gOpen->drawable.width) : 0;
  *height = gOpen ? uint32_t(gOpen->drawable.height) : 0;
  return gOpen != nullptr;
}
const GlImports kImports = {Malloc, Calloc, Realloc, Free, Report, Report, Drawable, Size, nullptr};

// The modes the layer makes of the same pixel format.
void FillModes(GlModes *m, const ReferenceRequest &r) {
  memset(m, 0, sizeof *m);
  m->rgbMode = 1;
  m->doubleBufferMode = r.doubleBuffer ? 1 : 0;
  m->haveAccumBuffer = r.accumRedBits + r.accumGreenBits + r.accumBlueBits + r.accumAlphaBits > 0;
  m->haveDepthBuffer = r.depthBits > 0;
  m->haveStencilBuffer = r.stencilBits > 0;
  m->redBits = uint32_t(r.redBits), m->greenBits = uint32_t(r.greenBits);
  m->blueBits = uint32_t(r.blueBits), m->alphaBits = uint32_t(r.alphaBits);
  m->redMask = ComponentMask(r.redBits, r.redShift);
  m->greenMask = ComponentMask(r.greenBits, r.greenShift);
  m->blueMask = ComponentMask(r.blueBits, r.blueShift);
  m->alphaMask = ComponentMask(r.alphaBits, r.alphaShift);
  m->colorBits = m->indexBits = uint32_t(r.colorBits);
  m->accumRedBits = uint32_t(r.accumRedBits), m->accumGreenBits = uint32_t(r.accumGreenBits);
  m->accumBlueBits = uint32_t(r.accumBlueBits), m->accumAlphaBits = uint32_t(r.accumAlphaBits);
  m->depthBits = uint32_t(r.depthBits);
  m->stencilBits = uint32_t(r.stencilBits);
}

// Memory for one buffer with spare bytes on both sides, as the layer's
// memory kind keeps them; 3-byte rows are padded to 4 bytes.
// `phase`: bytes the first pixel lies past an 8-byte boundary. The MMX span
// routines step whole aligned groups of pixels, so the last unit of a colour
// may depend on where a row starts; the front buffer is the screen's, at the
// window's place on it, and rows there start 8-byte aligned.
bool Attach(GlDrawableBuffer *b, int width, int height, uint32_t bits, uint32_t elementSize,
            uint32_t phase = 0) {
  b->width = uint32_t(width), b->height = uint32_t(height);
  b->depth = bits;
  b->elementSize = elementSize;
  b->elementSizeLog2 = elementSize == 8 ? 3 : elementSize == 4 ? 2 : elementSize == 2 ? 1 : 0;
  b->pitch = width;
  // Rows 8-byte aligned as well, where whole pixels allow it.
  if (phase != 0 && 8 % elementSize == 0) {
    const int perGroup = int(8 / elementSize);
    b->pitch = (width + perGroup - 1) / perGroup * perGroup;
  }
  b->pitchBytes = b->pitch * int32_t(elementSize);
  if (elementSize == 3) b->pitchBytes = (b->pitchBytes + 3) & ~3;
  b->size = uint32_t(b->pitchBytes * height);
  uint8_t *block = static_cast<uint8_t *>(calloc(1, b->size + 64));
  b->handle = block;
  b->base = block ? block + 32 + phase : nullptr;
  return block != nullptr;
}

uint32_t ReadElement(const uint8_t *p, uint32_t elementSize) {
  uint32_t v = 0;
  for (uint32_t i = 0; i < elementSize && i < 4; i++) v |= uint32_t(p[i]) << (8 * i);
  return v;
}

}  // namespace

int main(int argc, char **argv) {
  static Reference ref;
  const char *names[] = {
#define E2E_REFERENCE_NAME(name) #name,
      E2E_REFERENCE_FIELDS(E2E_REFERENCE_NAME)
#undef E2E_REFERENCE_NAME
  };
  const int fieldCount = int(sizeof names / sizeof names[0]);
  if (argc != fieldCount + 1) {
    fprintf(stderr, "reference: %d arguments wanted:", fieldCount);
    for (const char *n : names) fprintf(stderr, " %s", n);
    fprintf(stderr, "\n");
    return 2;
  }
  int *fields = &ref.request.width;
  for (int i = 0; i < fieldCount; i++) fields[i] = atoi(argv[i + 1]);
  const ReferenceRequest &r = ref.request;
  if (r.width <= 0 || r.height <= 0 || r.colorBits <= 0) return 2;

  FillModes(&ref.modes, r);
  GlDrawable *d = &ref.drawable;
  d->modes = &ref.modes;
  d->width = r.width, d->height = r.height;
  d->x = r.originX, d->y = r.originY;
  d->yInverted = uint8_t(r.yInverted);
  d->mutex = __wglCreateDrawableMutex();
  d->lock = __wglGLLockDrawableMutex;
  d->unlock = __wglGLUnlockDrawableMutex;
  d->setCoreClipRect = __wglSetCoreClipRect;
  d->malloc = malloc, d->calloc = calloc, d->realloc = realloc, d->free = free;
  ref.visible = {0, 0, r.width, r.height};
  d->clipCount = 1;
  d->clipRects = &ref.visible;
  const uint32_t colorSize = uint32_t((r.colorBits - 1) / 8 + 1);
  const uint32_t depthSize = r.depthBits <= 16 ? 2 : 4;
  bool ok = d->mutex && Attach(&d->front, r.width, r.height, uint32_t(r.colorBits), colorSize,
                                 (uint32_t(r.originX) * colorSize) & 7);
  if (ok && r.doubleBuffer)
    ok = Attach(&d->back, r.width, r.height, uint32_t(r.colorBits), colorSize);
  if (ok && ref.modes.haveAccumBuffer) ok = Attach(&d->accum, r.width, r.height, 64, 8);
  if (ok && r.depthBits) ok = Attach(&d->depth, r.width, r.height, uint32_t(r.depthBits), depthSize);
  if (ok && r.stencilBits) ok = Attach(&d->stencil, r.width, r.height, 8, 1);
  if (!ok) return fprintf(stderr, "reference: no memory\n"), 3;

  gOpen = &ref;
  GlContext *gc = __glCoreCreateContext(&kImports, &ref.modes);
  if (!gc || !gc->exports.makeCurrent(gc)) return fprintf(stderr, "reference: no context\n"), 3;
  DrawE2eScene(r.viewportWidth, r.viewportHeight, r.dither != 0);

  const GlDrawableBuffer &shown = r.doubleBuffer ? d->back : d->front;
  for (int row = 0; row < r.height; row++) {
    // The window's top row is the first memory row of a top-down buffer.
    const int memoryRow = r.yInverted ? row : r.height - 1 - row;
    const uint8_t *src = shown.base + memoryRow * shown.pitchBytes;
    for (int x = 0; x < r.width; x++) {
      const uint32_t v = ReadElement(src + x * shown.elementSize, shown.elementSize);
      fwrite(&v, sizeof v, 1, stdout);
    }
  }
  gc->exports.loseCurrent(gc);
  gc->exports.destroyContext(gc);
  if (d->freePrivate) d->freePrivate(d);
  GlDrawableBuffer *buffers[] = {&d->front, &d->back, &d->accum, &d->depth, &d->stencil};
  for (GlDrawableBuffer *b : buffers) free(b->handle);
  __wglDestroyDrawableMutex(d->mutex);
  return fflush(stdout) == 0 ? 0 : 4;
}
