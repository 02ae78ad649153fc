#include "tests/support/counting_imports.h"

#include <stdlib.h>
#include <string.h>

#include <atomic>

namespace {

std::atomic<int> gLive{0};
std::atomic<int> gAllocations{0};
std::atomic<int> gFailAt{0};
int32_t gX, gY;
uint32_t gWidth, gHeight;
bool gBound = true;

// Each block carries its size in front, for realloc; two words keep the
// block 8-byte aligned.
void *Allocate(size_t size) {
  int n = ++gAllocations;
  if (size == 0 || n == gFailAt) return nullptr;
  size_t *block = static_cast<size_t *>(calloc(1, size + sizeof(size_t) * 2));
  if (block == nullptr) return nullptr;
  block[0] = size;
  ++gLive;
  return block + 2;
}

void Free(GlContext *, void *p) {
  if (p == nullptr) return;
  --gLive;
  free(static_cast<size_t *>(p) - 2);
}

void *Malloc(GlContext *, size_t size) { return Allocate(size); }

void *Calloc(GlContext *, size_t count, size_t size) {
  if (count == 0 || size == 0 || count > SIZE_MAX / size) return nullptr;
  return Allocate(count * size);
}

void *Realloc(GlContext *gc, void *old, size_t size) {
  if (size == 0) {
    Free(gc, old);
    return nullptr;
  }
  void *block = Allocate(size);
  if (block == nullptr) return nullptr;
  if (old != nullptr) {
    size_t oldSize = static_cast<size_t *>(old)[-2];
    memcpy(block, old, oldSize < size ? oldSize : size);
    Free(gc, old);
  }
  return block;
}

void Warning(GlContext *, const char *) {}
[[noreturn]] void Fatal(GlContext *, const char *) { abort(); }
GlDrawable *GetDrawablePrivate(GlContext *) { return nullptr; }

int GetDrawableSize(GlContext *, int32_t *x, int32_t *y, uint32_t *width, uint32_t *height) {
  *x = gBound ? gX : 0;
  *y = gBound ? gY : 0;
  *width = gBound ? gWidth : 0;
  *height = gBound ? gHeight : 0;
  return gBound;
}

}  // namespace

const GlImports CountingImports::imports = {
    Malloc, Calloc, Realloc, Free, Warning, Fatal, GetDrawablePrivate, GetDrawableSize, nullptr,
};

int CountingImports::live() { return gLive; }
int CountingImports::allocations() { return gAllocations; }
void CountingImports::failAllocation(int n) { gFailAt = n == 0 ? 0 : gAllocations + n; }
void CountingImports::setDrawableSize(int32_t x, int32_t y, uint32_t width, uint32_t height,
                                      bool bound) {
  gX = x;
  gY = y;
  gWidth = width;
  gHeight = height;
  gBound = bound;
}
void CountingImports::reset() {
  gLive = 0;
  gAllocations = 0;
  gFailAt = 0;
  setDrawableSize(0, 0, 0, 0, true);
}

GlModes TestModes(bool rgba, bool doubleBuffer, uint32_t depthBits, uint32_t stencilBits,
                  bool accum) {
  GlModes m{};
  m.rgbMode = rgba;
  m.colorIndexMode = !rgba;
  m.doubleBufferMode = doubleBuffer;
  m.haveAccumBuffer = accum && rgba;
  m.haveDepthBuffer = depthBits != 0;
  m.haveStencilBuffer = stencilBits != 0;
  if (rgba) {
    m.redBits = 5, m.greenBits = 6, m.blueBits = 5;
    m.redMask = 0xF800, m.greenMask = 0x07E0, m.blueMask = 0x001F;
    m.colorBits = m.indexBits = 16;
    if (accum) m.accumRedBits = m.accumGreenBits = m.accumBlueBits = m.accumAlphaBits = 16;
  } else {
    m.colorBits = m.indexBits = 8;
  }
  m.depthBits = depthBits;
  m.stencilBits = stencilBits;
  return m;
}
